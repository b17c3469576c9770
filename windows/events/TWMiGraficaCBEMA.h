#pragma once

#include "TWConfigurarEventos.h"
#include "TWEventos.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;

// Properties of the event-curves window: the family's dialog (without durations) and the curve
// with the OK / not-OK filter.
class TWConfigurarCBEMA : public TWConfigurarEventos {
    Q_OBJECT

public:
    TWConfigurarCBEMA(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                      QWidget* padre = nullptr);

    QGroupBox* GBCurves;
    QRadioButton* RBCBEMA;
    QRadioButton* RBITIC;
    QRadioButton* RBSEMIF47;
    QCheckBox* CBVerOk;
    QCheckBox* CBVerNoOk;

protected:
    // reimplemented virtual methods:
    void LeerExtra(PropiedadesEventos& p) const override;
};

// Voltage events against a tolerance curve: a point per event at its duration (seconds, on a
// logarithmic axis) and its extreme voltage, judged OK or not OK against ITIC or SEMI F47; the
// chosen curve drawn as polylines.
class TWMiGraficaCBEMA : public TWEventos {
    Q_OBJECT

public:
    TWMiGraficaCBEMA(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                     ListasAtributos& listas, DrivFlex* fuente);

    // Range of the duration axis, seconds.
    static constexpr double kDuracionMinima = 0.0001;
    static constexpr double kDuracionMaxima = 10000.0;

    // reimplemented virtual methods:
    QString TextoCursor() override;
    QJsonObject Describir() override;

protected:
    // reimplemented virtual methods:
    bool EjecutarDialogo(PropiedadesEventos& propiedades) override;
    void ConstruirEjes() override;
    void PuntosIntervalo(int primero, int ultimo, std::vector<double>& x, std::vector<double>& y) override;
    double ValorPunto(const CEvento& evento) const override;
    void Anotaciones() override;
};
