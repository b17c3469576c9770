#pragma once

#include "TWConfigurarEventos.h"
#include "TWEventos.h"

class QCheckBox;

// Properties of the events-against-time window: the family's dialog and the durations box.
class TWConfigurarEH : public TWConfigurarEventos {
    Q_OBJECT

public:
    TWConfigurarEH(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                   QWidget* padre = nullptr);

    QCheckBox* VerDuraciones;

protected:
    // reimplemented virtual methods:
    void LeerExtra(PropiedadesEventos& p) const override;
};

// Voltage events against time: a point per event at its start, at the height of its extreme
// voltage, one series per phase; threshold lines, and optionally a segment as long as each event.
class TWMiGraficaEH : public TWEventos {
    Q_OBJECT

public:
    TWMiGraficaEH(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                  ListasAtributos& listas, DrivFlex* fuente);

    // One duration segment as drawn: from the event's start to its end (chart dates, days).
    struct Segmento {
        double desde;
        double hasta;
        double valor;
        std::int32_t color;
    };
    // The segments of the interval shown (none unless the durations are to be seen).
    std::vector<Segmento> Segmentos() const;

protected:
    // reimplemented virtual methods:
    bool EjecutarDialogo(PropiedadesEventos& propiedades) override;
    void ConstruirEjes() override;
    void PuntosIntervalo(int primero, int ultimo, std::vector<double>& x, std::vector<double>& y) override;
    void Anotaciones() override;

private:
    // The chart date of every sample.
    std::vector<double> m_fechas;
};
