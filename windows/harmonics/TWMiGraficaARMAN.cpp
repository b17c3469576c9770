#include "TWMiGraficaARMAN.h"

#include "Textos.h"

QString TWMiGraficaARMAN::PalabraTitulo() const {
    return Texto(TXT_CURRENT_HARMONICS);
}

QString TWMiGraficaARMAN::EtiquetaCanal(int ranura) const {
    // Slots 0 to 2 hold the phase currents; the others the neutral.
    if (ranura < 3)
        return Texto(TXT_LABEL_IN) + QString::asprintf(CargarTexto(TXT_FMT_PHASE), ranura + 1);
    return Texto(TXT_LABEL_AN);
}
