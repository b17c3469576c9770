#pragma once

#include "TWSerieTemporal.h"

// The "MULTIGRAPHIC" window: up to twelve time series against time, on stacked vertical axes
// (one per run of consecutive series sharing a unit).
class TWMiGrafica : public TWSerieTemporal {
    Q_OBJECT

public:
    using TWSerieTemporal::TWSerieTemporal;

protected:
    // reimplemented virtual methods:
    QString TituloVarias() const override;
    int ContextoAyuda() const override;
};
