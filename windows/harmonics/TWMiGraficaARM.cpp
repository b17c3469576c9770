#include "TWMiGraficaARM.h"

#include "Textos.h"

QString TWMiGraficaARM::PalabraTitulo() const {
    return Texto(TXT_HARMONICS);
}
