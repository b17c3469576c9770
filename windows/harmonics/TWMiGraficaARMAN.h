#pragma once

#include "TWArmonicos.h"

// The current harmonics window: the three phase currents and the neutral. It carries the
// filter component, but offers no button for it.
class TWMiGraficaARMAN : public TWArmonicos {
    Q_OBJECT

public:
    using TWArmonicos::TWArmonicos;

protected:
    // reimplemented virtual methods:
    QString PalabraTitulo() const override;
    QString EtiquetaCanal(int ranura) const override;
    // Every channel here is a current.
    juicio::Tipo TipoCanal(int /*ranura*/) const override { return juicio::Tipo::Corriente; }
    bool BotonFiltro() const override { return false; }
};
