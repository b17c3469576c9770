#pragma once

#include "CListaEventos.h"
#include "EventosRegistrados.h"
#include "IntervalosDuracion.h"
#include "ListasAtributos.h"
#include "NivelesEventos.h"
#include "PropiedadesEventos.h"
#include "PuntosEventos.h"
#include "TWGraficaGenerica.h"

#include "Agrupacion.h"

#include <vector>

// Voltage events by duration: each event a point at its extreme voltage over a duration axis cut
// into the user's intervals (INTERVALS.PVI), each interval taking its share of the width and the
// events placed proportionally inside it. One series per phase (one in the three-phase view),
// threshold lines, the interval boundaries labelled in seconds, and time grouping of the events
// shown.
class TWMiGraficaED : public TWGraficaGenerica {
    Q_OBJECT

public:
    TWMiGraficaED(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                  ListasAtributos& listas, DrivFlex* fuente);
    ~TWMiGraficaED() override;

    // getters:
    const PropiedadesEventos& DamePropiedades() const { return m_propiedades; }
    const ListaIntervalos& DameIntervalos() const { return m_intervalos; }
    const CListaEventos& DameEventos() const { return m_eventos; }
    const PuntosDuracion& DamePuntos() const { return m_puntos; }
    const NivelesInstrumento& DameNiveles() const { return m_niveles; }
    int DameNivelAgrupacion() const { return NivelAgrupacion; }
    // The read-out of the point under the chart cursor.
    QString TextoCursor() const;

    // reimplemented virtual methods:
    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void Agrupar(int nivel) override;
    int DameNumeroEjes() override { return 1; }
    void MostrarIntervalo() override;
    void Propiedades() override;
    void Lista() override;
    void ExportarTXT() override;
    QJsonObject Describir() override;

protected:
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

private:
    // Views of the event list from the settings (creation and accepted dialog).
    void AplicarAjustes();
    // Reads the intervals file and places every event of the current view.
    void CalcularPuntos();
    void CargarIntervalo();
    void PonerUmbrales();
    void PonerLimites();
    void PonerFases();
    void Rotular();
    // Writes the thresholds file the table and export modules read.
    void EscribirUmbrales();
    std::pair<int, int> Rango() const;

    NivelesInstrumento m_niveles;
    PropiedadesEventos m_propiedades;
    CListaEventos m_eventos;
    // One slot per recorded event: its time and recorded phase.
    std::vector<TTiempo> m_tiempos;
    std::vector<int> m_fases;
    std::vector<TTiempo> m_entregados;
    ListaIntervalos m_intervalos;
    PuntosDuracion m_puntos;
    std::vector<Agrupacion::Intervalo> m_rangos;
    std::vector<double> m_x;
    std::vector<double> m_y;
    QString m_nombre;
    QString m_unidad;
    int NivelAgrupacion = Agrupacion::NIVEL_DEFECTO;
};
