#pragma once

#include "TWSerieTemporal.h"

#include <vector>

// The "GRAPHIC RMS" window: the RMS trend of the present channels of one analyser (three
// voltage phases, three current phases). Slots without any value are left out; only equal unit
// texts share an axis.
class TWMiGraficaRMS : public TWSerieTemporal {
    Q_OBJECT

public:
    TWMiGraficaRMS(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                   ListasAtributos& listas, DrivFlex* fuente);

    // getters:
    // The channel slot of each series.
    const std::vector<int>& Ranuras() const { return m_ranuras; }

protected:
    // reimplemented virtual methods:
    void Construir() override;
    QString TituloVarias() const override;
    bool TituloFijo() const override { return true; }
    bool UnidadExacta() const override { return true; }
    bool FechasComoTexto() const override { return true; }
    bool SeguirCursor(int nivel) const override;
    // The channels keep the subset colours.
    void ColorearPuntos() override {}
    TValorMultiple RegistrosLista() override;

private:
    std::vector<int> m_ranuras;
};
