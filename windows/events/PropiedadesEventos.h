#pragma once

#include "IntervalosDuracion.h"
#include "NivelesEventos.h"

#include <QString>

#include <array>
#include <vector>

// The settings records of the events windows, each under its own subkey of the product key.
// Fields 0 to 20 are common: the three thresholds with their see flags, line types and colours,
// then the three phases with their paint flags, point types and colours. The thresholds are
// never stored: every window starts from its instrument's levels.
enum class TipoPropiedades { EH, ED, CBEMA, TES };

enum CampoEventos : int {
    EV_VERS = 0,
    EV_UMBRALS,
    EV_TIPOLS,
    EV_COLORLS,
    EV_VERH,
    EV_UMBRALH,
    EV_TIPOLH,
    EV_COLORLH,
    EV_VERI,
    EV_UMBRALI,
    EV_TIPOLI,
    EV_COLORLI,
    EV_RESALTAR1,
    EV_TIPOP1,
    EV_COLORP1,
    EV_RESALTAR2,
    EV_TIPOP2,
    EV_COLORP2,
    EV_RESALTAR3,
    EV_TIPOP3,
    EV_COLORP3,
    EV_NUM_COMUNES
};
// Paint flag, point type and colour of phase `f` (0..2).
constexpr int CampoResaltar(int f) {
    return EV_RESALTAR1 + 3 * f;
}
constexpr int CampoTipoPunto(int f) {
    return EV_TIPOP1 + 3 * f;
}
constexpr int CampoColorPunto(int f) {
    return EV_COLORP1 + 3 * f;
}

// The events windows' 17 colours (0x00BBGGRR) and their names, by the index the records store.
inline constexpr int kNumPaleta = 17;
unsigned int ColorPaleta(int indice);
QString NombrePaleta(int indice);
// The line types and point symbols offered by the dialogs, by the chart's code.
inline constexpr int kNumTiposLinea = 6;
inline constexpr int kNumSimbolos = 12;
QString NombreTipoLinea(int codigo);
QString NombreSimbolo(int codigo);

class PropiedadesEventos {
public:
    // getters:
    static QString Subclave(TipoPropiedades tipo);
    static int NumeroValores(TipoPropiedades tipo);
    // The stored name of field `campo` (empty for the thresholds, which are not stored).
    static QString NombreValor(TipoPropiedades tipo, int campo);

    // The defaults: thresholds at the instrument's levels, point types the chart's own.
    static PropiedadesEventos Defecto(TipoPropiedades tipo, const NivelesInstrumento& niveles,
                                      const std::array<int, 3>& tiposPuntoGrafica);
    // Read from the settings store. A missing value, one of the wrong type, or one outside
    // its range is written back with its default.
    static PropiedadesEventos Leer(TipoPropiedades tipo, const NivelesInstrumento& niveles,
                                   const std::array<int, 3>& tiposPuntoGrafica);

    TipoPropiedades Tipo() const { return m_tipo; }
    int Valor(int campo) const;
    const std::vector<int>& Valores() const { return m_valores; }

    // Fields whose position depends on the record.
    bool VerDuraciones() const; // events historic only
    bool Compactar() const;
    int Histeresis() const;
    bool VerTrifasicos() const;
    int Curva() const; // event curves only (-1 for the others)
    bool VerOk() const;
    bool VerNoOk() const;
    int CampoCompactar() const;
    int CampoHisteresis() const;
    int CampoVerTrifasicos() const;

    UmbralesMostrados Umbrales() const;
    // The row handed to the table and export modules: the data object's three integers, the
    // grouping level, the interval, the three thresholds, compact, hysteresis, three-phase (and
    // the curve for the event curves).
    std::vector<int> FilaLista(const std::array<int, 3>& objeto, int nivelAgrupacion, int intervalo) const;

    // setters:
    void PonerValor(int campo, int valor);
    // Writes every stored value; false when the store cannot be written.
    bool Guardar() const;

    friend bool operator==(const PropiedadesEventos&, const PropiedadesEventos&) = default;

private:
    explicit PropiedadesEventos(TipoPropiedades tipo);

    TipoPropiedades m_tipo;
    std::vector<int> m_valores;
};
