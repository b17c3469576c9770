#include "TWMiGraficaIARM.h"

#include "Textos.h"

QString TWMiGraficaIARM::PalabraTitulo() const {
    return Texto(TXT_INTERHARMONICS);
}

void TWMiGraficaIARM::RotularPuntos(int primero, int ultimo) {
    std::vector<double> x;
    QStringList etiquetas;
    const int puntos = ultimo - primero + 1;
    for (int p = primero; p <= ultimo && NumSeries > 0; ++p) {
        x.push_back(m_datos->X(0, p));
        etiquetas << armonicos::EtiquetaInterarmonico(p - primero, puntos);
    }
    PonerEtiquetasPuntos(x, etiquetas);
}
