#pragma once

#include "DatosSerieTemporal.h"
#include "ListasAtributos.h"
#include "TWGraficaGenerica.h"

#include <cstdint>
#include <memory>
#include <vector>

// Base of the time-series windows (multigraphic, RMS, THD, power factor, flicker, per-event
// RMS): series against time on stacked vertical axes, cut into intervals, regrouped by months,
// weeks, days or hours, with the cursor read-out and the saved level and interval restored.
// A window of the family gives its titles, its axis rule and, where it has one, its own
// colouring of points; the rest is here.
class TWSerieTemporal : public TWGraficaGenerica {
    Q_OBJECT

public:
    // Takes lists 1-6, 9 and 10 of the window's lists.
    TWSerieTemporal(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                    const ListasAtributos& listas, DrivFlex* fuente);
    ~TWSerieTemporal() override;

    // reimplemented virtual methods:
    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void Agrupar(int nivel) override;
    int DameNumeroEjes() override { return NumEjes; }
    void MostrarIntervalo() override;
    QJsonObject Describir() override;

    // getters:
    int DameNivelAgrupacion() const { return NivelAgrupacion; }
    int DameNumIntervalos() const { return NumIntervalos; }
    const DatosSerieTemporal& Datos() const { return *m_datos; }
    // The read-out for the subset and point under the chart cursor; `filas` gets its rows.
    virtual QString TextoCursor(int* filas = nullptr);

protected:
    // Steps a window of the family may change:
    // the main title when the window holds several series (one series shows its name);
    virtual QString TituloVarias() const;
    // whether only equal unit texts share an axis (otherwise percentages of one reference do);
    virtual bool UnidadExacta() const { return false; }
    // the colour of every point shown (default: its series' colour, nulls in the back colour);
    virtual void ColorearPuntos();
    // whether the main title and the names' subtitle stay the same for one series as for several;
    virtual bool TituloFijo() const { return false; }
    // the interval title (default: the level's name with the interval number and count);
    virtual QString TituloIntervalo() const;
    // whether the read-out writes dates in the time's own text form whatever the period;
    virtual bool FechasComoTexto() const { return false; }
    // whether a regrouping to `nivel` puts the cursor back on the time it was on;
    virtual bool SeguirCursor(int nivel) const { return nivel >= 0; }
    // a drawn value as the read-out writes it (a window drawing on a transformed scale undoes it).
    virtual double ValorLectura(double valor) const { return valor; }

    // reimplemented virtual methods:
    void Construir() override;
    void Cargar() override;
    void RestaurarVista() override;
    void PonerLectura() override;
    void LiberarDatos() override;
    QStringList NombresSeries() const override;
    QStringList UnidadesSeries() const override;
    int NivelActual() const override { return NivelAgrupacion; }

    void RotularGrafica();
    void CargarIntervalo(int intervalo);
    // New data for the same series and times (a window whose values are computed recomputes
    // them); the interval cutting is kept.
    void CambiarDatos(const ListasAtributos& listas);

    std::unique_ptr<DatosSerieTemporal> m_datos;
    int NivelAgrupacion = Agrupacion::NIVEL_DEFECTO;
    int PuntoCursor = -1;
    int NumEjes = 0;

private:
    // What the chart was last given: the chart, the data (a new generation for each
    // CambiarDatos), and the points of the interval.
    struct Cargado {
        HPE grafica = nullptr;
        std::uint64_t generacion = 0;
        int primero = -1;
        int puntos = -1;
        bool operator==(const Cargado&) const = default;
    };
    Cargado m_cargado;
    std::uint64_t m_generacion = 0;
};
