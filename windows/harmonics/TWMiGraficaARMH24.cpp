#include "TWMiGraficaARMH24.h"

#include "ChartProperties.h"
#include "Textos.h"
#include "TiposGrafica.h"

namespace {

// Label sizes (percent): orders fit at 90, the longer band labels need 80 and room below.
constexpr int kTamanoOrdenes = 90;
constexpr int kTamanoBandas = 80;

} // namespace

TWMiGraficaARMH24::TWMiGraficaARMH24(QWidget* propietario, TDriverVentana* driver,
                                     ServidorMonitores* servidor, ListasAtributos& listas, DrivFlex* fuente)
    : TWArmonicos(propietario, driver, servidor, listas, fuente, armonicos::OrigenX::Opciones) {}

QString TWMiGraficaARMH24::PalabraTitulo() const {
    return Texto(TXT_HARMONICS);
}

void TWMiGraficaARMH24::RotularPuntos(int primero, int ultimo) {
    const bool bandas = DameTipoGrafica() == TG_ARMH24_BANDAS;
    std::vector<double> x;
    QStringList etiquetas;
    const double ancho = ultimo > primero ? m_datos->X(0, primero + 1) - m_datos->X(0, primero) : 1.0;
    for (int p = primero; p <= ultimo && NumSeries > 0; ++p) {
        x.push_back(m_datos->X(0, p));
        etiquetas << (bandas ? armonicos::EtiquetaBanda(m_datos->X(0, p), ancho)
                             : armonicos::EtiquetaOrden(p - primero));
    }
    Pe.ponerEntero(PEP_XLABELSIZE, bandas ? kTamanoBandas : kTamanoOrdenes);
    if (bandas)
        Pe.ponerTexto(PEP_BOTTOMMARGIN, QStringLiteral("xxxxxxxxxx"));
    PonerEtiquetasPuntos(x, etiquetas);
}
