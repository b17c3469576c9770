#pragma once

#include "TWMiGraficaFO.h"

// The waveform window of captures with a further channel beside the three phases: the same
// window, with every channel from the fourth on labelled "An:".
class TWMiGraficaFOAN : public TWMiGraficaFO {
    Q_OBJECT

public:
    using TWMiGraficaFO::TWMiGraficaFO;

protected:
    // reimplemented virtual methods:
    bool ConAnalogico() const override { return true; }
    int TituloVentana() const override;
};
