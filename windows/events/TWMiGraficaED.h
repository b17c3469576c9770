#pragma once

#include "IntervalosDuracion.h"
#include "TWEventos.h"

#include <vector>

// Voltage events by duration: each event a point at its extreme voltage over a duration axis cut
// into the user's intervals (INTERVALS.PVI, read at every redraw), each interval taking its
// share of the width and its events placed proportionally inside it. The interval boundaries are
// drawn as labelled vertical lines; the rest (phases, thresholds, views, grouping, read-out,
// table rows) is the events family's.
class TWMiGraficaED : public TWEventos {
    Q_OBJECT

public:
    TWMiGraficaED(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                  ListasAtributos& listas, DrivFlex* fuente);

    // getters:
    const ListaIntervalos& DameIntervalos() const { return m_intervalos; }
    // Events of the current view with a place on the axis.
    int EventosColocados() const;

    // reimplemented virtual methods:
    QString TextoCursor() override;
    void Propiedades() override;
    void Lista() override;
    void ExportarTXT() override;
    QJsonObject Describir() override;

protected:
    // reimplemented virtual methods:
    bool EjecutarDialogo(PropiedadesEventos& propiedades) override;
    void ConstruirEjes() override;
    void PuntosIntervalo(int primero, int ultimo, std::vector<double>& x, std::vector<double>& y) override;
    void Anotaciones() override;

private:
    // Writes the thresholds file the table and export modules read.
    void EscribirUmbrales();

    ListaIntervalos m_intervalos;
};
