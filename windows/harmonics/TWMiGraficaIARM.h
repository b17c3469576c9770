#pragma once

#include "TWArmonicos.h"

// The interharmonics window: the spectra between the harmonic orders (1.5, 2.5, ...). No
// filter.
class TWMiGraficaIARM : public TWArmonicos {
    Q_OBJECT

public:
    using TWArmonicos::TWArmonicos;

protected:
    // reimplemented virtual methods:
    QString PalabraTitulo() const override;
    bool ConFiltro() const override { return false; }
    void RotularPuntos(int primero, int ultimo) override;
};
