#pragma once

#include "CalculoPlt.h"
#include "TWSerieTemporal.h"

#include <vector>

// The flicker window: the long-term severity Plt of each channel, computed from its Pst values
// over a sliding window, with an optional maximum drawn as a limit line. Properties opens the
// Plt settings.
class TWMiGraficaPLT : public TWSerieTemporal {
    Q_OBJECT

public:
    TWMiGraficaPLT(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                   ListasAtributos& listas, DrivFlex* fuente);

    // getters:
    const CalculoPlt::Ajustes& DameAjustes() const { return m_ajustes; }

    // reimplemented virtual methods:
    void Propiedades() override;
    QJsonObject Describir() override;

protected:
    // reimplemented virtual methods:
    // Every load ends here: the limit line is set with the points' colours.
    void ColorearPuntos() override;
    TValorMultiple RegistrosLista() override;

private:
    void CalcularPlts();

    // The Pst lists as delivered: the Plt is recomputed from them when the settings change.
    ListasAtributos m_pst;
    CalculoPlt::Ajustes m_ajustes;
    std::vector<CalculoPlt::SeriePlt> m_plt;
};
