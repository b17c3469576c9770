#pragma once

#include "AjustesVEF.h"
#include "TWSerieTemporal.h"

// The per-event RMS window: the half-cycle RMS values around each recorded event, one event
// per interval, with the event thresholds drawn as lines. No regrouping.
class TWMiGraficaVEF : public TWSerieTemporal {
    Q_OBJECT

public:
    TWMiGraficaVEF(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                   ListasAtributos& listas, DrivFlex* fuente);

    // getters:
    const AjustesVEF::Ajustes& DameAjustes() const { return m_ajustes; }

    // reimplemented virtual methods:
    void PintarGrafica(const std::int32_t*) override {}
    void Agrupar(int) override {}
    void MostrarIntervalo() override;
    QJsonObject Describir() override;

protected:
    // reimplemented virtual methods:
    void Cargar() override;
    void RestaurarVista() override;
    QString TituloIntervalo() const override { return QString(); }

private:
    void PonerFases();
    void PonerUmbrales();
    void MoverCursor();

    AjustesVEF::Ajustes m_ajustes;
};
