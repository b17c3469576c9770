#pragma once

#include "Agrupacion.h"
#include "CListaEventos.h"
#include "ListasAtributos.h"
#include "NivelesEventos.h"
#include "PropiedadesEventos.h"
#include "PuntosEventos.h"
#include "TWGraficaGenerica.h"

#include <QJsonObject>
#include <QString>

#include <vector>

// Base of the voltage-events windows (events against time, against duration, against the
// tolerance curves, and their samples). It owns what they share:
// - the recorded events of the data objects and their event list (classified against the
//   instrument's levels, the first options row's), re-viewed raw, compacted or three-phase;
// - the settings record of the window's kind, read from the settings store once the chart
//   exists (the default point types are the chart's), or taken from a saved view's row;
// - the properties-dialog pattern: Propiedades hands a copy of the record to the window's dialog
//   (EjecutarDialogo); only an accepted, changed record re-derives the views and redraws;
// - the point slots (one per recorded event, three phase series) cut into intervals by the
//   grouping levels, the threshold lines, the painted phases, the three-phase labels, the
//   read-out lines and the rows handed to the table and export modules.
// A window of the family gives its dialog, its axes and how a slot becomes a chart point.
class TWEventos : public TWGraficaGenerica {
    Q_OBJECT

public:
    // Takes lists 1-6, 8 and 9 of the window's lists.
    TWEventos(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
              const ListasAtributos& listas, DrivFlex* fuente, TipoPropiedades tipo);
    // For a window whose lists hold the recorded events in another layout (the event samples
    // window): the events as read by the window, in time order.
    TWEventos(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
              const ListasAtributos& listas, DrivFlex* fuente, TipoPropiedades tipo,
              std::vector<EventoRegistrado> muestras);
    ~TWEventos() override;

    // reimplemented virtual methods:
    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void Agrupar(int nivel) override;
    int DameNumeroEjes() override { return 1; }
    void MostrarIntervalo() override;
    void Propiedades() override;
    QJsonObject Describir() override;

    // getters:
    const CListaEventos& DameListaEventos() const { return m_eventos; }
    const PropiedadesEventos& DamePropiedades() const { return m_propiedades; }
    const NivelesInstrumento& DameNiveles() const { return m_niveles; }
    const std::vector<EventoRegistrado>& DameMuestras() const { return m_muestras; }
    const PuntosEventos& DamePuntos() const { return m_puntos; }
    int DameNivelAgrupacion() const { return NivelAgrupacion; }
    // First and last sample of the interval shown (last < first when there are none).
    Agrupacion::Intervalo RangoMostrado() const;
    // The read-out for the subset and point under the chart cursor.
    virtual QString TextoCursor();

    // setters:
    // What an accepted dialog does with a changed record: keep it, re-derive the views, redraw.
    void AplicarPropiedades(const PropiedadesEventos& propiedades);

protected:
    // Steps a window of the family gives:
    // runs its properties dialog over `propiedades`; true when the user accepted a change (the
    // dialog has stored it);
    virtual bool EjecutarDialogo(PropiedadesEventos& propiedades) = 0;
    // the axes and scales of its chart (called once, after the shared settings);
    virtual void ConstruirEjes() = 0;
    // the chart's x and y of the samples [primero, ultimo] of every series, series-major;
    virtual void PuntosIntervalo(int primero, int ultimo, std::vector<double>& x, std::vector<double>& y) = 0;
    // the value drawn for an event (its extreme by default);
    virtual double ValorPunto(const CEvento& evento) const { return evento.ValorExtremo; }
    // whatever else it draws over the points (annotations), after the points are loaded;
    virtual void Anotaciones() {}
    // its main title (the first data object's name by default).
    virtual QString TituloPrincipal() const;

    // reimplemented virtual methods:
    void Construir() override;
    void Cargar() override;
    void RestaurarVista() override;
    void PonerLectura() override;
    TValorMultiple RegistrosLista() override;
    QStringList NombresSeries() const override;
    QStringList UnidadesSeries() const override;
    int NivelActual() const override { return NivelAgrupacion; }
    void LiberarDatos() override;

    // Services for the family:
    // the points of the current view placed on their samples (after the views changed);
    void RecalcularPuntos();
    // the current interval into the chart with the lines, phases and labels; no redraw;
    void CargarIntervalo();
    void PonerUmbrales();
    void PonerFasesPintadas();
    void PonerEtiquetas();
    void Rotular();
    // The sample under the chart cursor, -1 when none.
    int MuestraCursor() const;

    CListaEventos m_eventos;
    PropiedadesEventos m_propiedades;
    NivelesInstrumento m_niveles;
    std::vector<EventoRegistrado> m_muestras;
    std::vector<TTiempo> m_tiempos;
    PuntosEventos m_puntos;
    // The points of the interval shown, as the chart holds them.
    std::vector<double> m_x;
    std::vector<double> m_y;
    QString m_unidad;
    QStringList m_nombres;
    int NivelAgrupacion = Agrupacion::NIVEL_DEFECTO;

private:
    void Reagrupar(int nivel);
    // A saved view's row (five integers and the settings, at least 12 values) gives the
    // thresholds and the compact, hysteresis and three-phase options.
    void TomarFilaGuardada();

    std::vector<TTiempo> m_intervalosEntregados;
    std::vector<Agrupacion::Intervalo> m_rangos;
    double m_periodo = 0.0;
};
