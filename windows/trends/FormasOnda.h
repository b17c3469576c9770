#pragma once

#include "ListasAtributos.h"
#include "TTiempo.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// What the waveform windows show, without a window: the channels of a waveform variable, the
// records they are cut into, each record's distortion figures, the channel labels, the two
// reference lines and the read-out texts. The windows draw what this computes; the tests
// check it directly.
namespace formaonda {

// Line type and colours of the two reference lines.
constexpr int kTipoLineaReferencia = 6;
constexpr std::uint32_t kBlanco = 0xFFFFFF;
constexpr std::uint32_t kNegro = 0x000000;

// Label of channel `canal` (its row in the variable): "F1:" to "F3:" by (canal mod 3) + 1, so
// the voltage and the current of one phase share it; with `conAnalogico` (the window with a
// further channel) every channel from 3 on is "An:".
QString EtiquetaCanal(int canal, bool conAnalogico);

// The two vertical reference lines of a record of samples primero..ultimo, in the record's
// own sample positions: at 2n/3 and n/3 (integer division), n = ultimo - primero; white on a
// black background, black on any other.
struct LineasReferencia {
    std::array<double, 2> x = {0.0, 0.0};
    std::array<std::int32_t, 2> tipos = {kTipoLineaReferencia, kTipoLineaReferencia};
    std::array<std::int32_t, 2> colores = {0, 0};
};
LineasReferencia Lineas(int primero, int ultimo, std::uint32_t colorFondo);

// How distortion figures are written: UNIDADDISTORSION 0 in percent of the fundamental ("%"),
// 1 per unit (the fraction, no unit); DECIMALESDISTORSION 0 the default of two decimals, n > 0
// n - 1 decimals. Values out of range read as the default.
struct FormatoDistorsion {
    int unidad = 0;
    int decimales = 0;

    static FormatoDistorsion Leer(); // from the registry, writing the defaults when absent
    QString Numero(double porcentaje) const;
};

// The zoom window to keep while stepping through records; -1 in every extent until taken.
struct ZoomGuardado {
    double ymin = -1.0;
    double ymax = -1.0;
    double xmin = -1.0;
    double xmax = -1.0;
    // The zoom is put back only when all four extents were taken.
    bool Valido() const { return ymin != -1.0 && ymax != -1.0 && xmin != -1.0 && xmax != -1.0; }
};

struct Canal {
    int fila = 0; // row of the variable, which gives the label
    QString nombre;
    QString unidad;
    int decimales = 1;
};

// A waveform variable (kinds 2 and 15): one row of samples per channel, every record's
// samples one after another; (first, last) sample pairs per record; the time of every record;
// per channel c and record, THD and d in rows 2c and 2c + 1 of the extra rows. Channels with
// no sample at all in any record are not shown (a recorder without currents, an unused row).
class DatosFormaOnda {
public:
    explicit DatosFormaOnda(const ListasAtributos& listas);

    int NumCanales() const { return static_cast<int>(m_canales.size()); }
    const Canal& CanalDe(int serie) const { return m_canales[static_cast<size_t>(serie)]; }
    const std::vector<Canal>& Canales() const { return m_canales; }
    int NumPuntos() const { return m_numPuntos; }
    // Sample `punto` of shown channel `serie` (kValorNulo when missing).
    double Valor(int serie, int punto) const;
    const std::vector<std::pair<int, int>>& Registros() const { return m_registros; }
    // The record's time (a zero time when the data give none).
    TTiempo TiempoRegistro(int registro) const;
    // The time of every record, for the print-range dialog.
    const std::vector<TTiempo>& TiemposRegistros() const { return m_tiempos; }
    // THD and d of a shown channel in a record, in percent; kValorNulo when not given.
    double Thd(int serie, int registro) const;
    double D(int serie, int registro) const;

    // The distortion figures of a record, per shown channel "F1: THD: 2.65 % d: 2.65 %", in two
    // groups: the first three channels and the rest.
    std::array<QStringList, 2> TextosDistorsion(int registro, bool conAnalogico,
                                                const FormatoDistorsion& formato) const;
    // The record title: a one-row table with the record's time, then a row per group of
    // distortion figures.
    QString TituloRegistro(int registro, bool conAnalogico, const FormatoDistorsion& formato) const;

private:
    double Figura(int fila, int registro) const;

    std::vector<Canal> m_canales;
    std::vector<std::vector<double>> m_valores; // per shown channel
    int m_numPuntos = 0;
    std::vector<std::pair<int, int>> m_registros;
    std::vector<TTiempo> m_tiempos;
    std::vector<std::vector<double>> m_figuras; // extra rows
};

} // namespace formaonda
