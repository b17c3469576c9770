#pragma once

#include "TWSerieTemporal.h"

// The power-factor trend: factors drawn on the folded scale (unity of either sign on the zero
// line), with reference lines labelled with the power factor they stand for.
class TWMiGraficaFP : public TWSerieTemporal {
    Q_OBJECT

public:
    TWMiGraficaFP(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                  ListasAtributos& listas, DrivFlex* fuente);

    // reimplemented virtual methods:
    void ZoomOut() override;
    void ZoomOutParcial() override;
    void AtenderGrafica(int codigo) override;

protected:
    // reimplemented virtual methods:
    void Construir() override;
    // Every load ends here: the reference lines follow what is shown.
    void ColorearPuntos() override;
    double ValorLectura(double valor) const override;

private:
    void PonerLineas();
};
