#pragma once

#include "TWArmonicos.h"

// The harmonics window: voltage and current spectra per register, judged against a filter.
class TWMiGraficaARM : public TWArmonicos {
    Q_OBJECT

public:
    using TWArmonicos::TWArmonicos;

protected:
    // reimplemented virtual methods:
    QString PalabraTitulo() const override;
};
