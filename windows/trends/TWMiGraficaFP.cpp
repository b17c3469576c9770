#include "TWMiGraficaFP.h"

#include "ChartProperties.h"
#include "EscalaFP.h"

TWMiGraficaFP::TWMiGraficaFP(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                             ListasAtributos& listas, DrivFlex* fuente)
    : TWSerieTemporal(propietario, driver, servidor, EscalaFP::Plegadas(listas), fuente) {}

void TWMiGraficaFP::Construir() {
    TWSerieTemporal::Construir();
    // Room right of the graph for the power-factor labels of the reference lines.
    Pe.ponerTexto(PEP_RIGHTMARGIN, QStringLiteral("xxxxxxx"));
}

void TWMiGraficaFP::ColorearPuntos() {
    TWSerieTemporal::ColorearPuntos();
    PonerLineas();
}

double TWMiGraficaFP::ValorLectura(double valor) const {
    return EscalaFP::Desplegar(valor);
}

void TWMiGraficaFP::PonerLineas() {
    double a = 0.0;
    double b = 0.0;
    bool hay = false;
    if (Pe.dameEntero(PEP_ZOOMED) != 0) {
        a = Pe.dameDouble(PEP_ZOOMYMIN);
        b = Pe.dameDouble(PEP_ZOOMYMAX);
        hay = true;
    } else {
        std::vector<double> minimos;
        std::vector<double> maximos;
        for (int s = 0; s < NumSeries; ++s) {
            minimos.push_back(m_datos->Minimo(s));
            maximos.push_back(m_datos->Maximo(s));
        }
        hay = EscalaFP::Rango(minimos, maximos, a, b);
    }
    const std::vector<EscalaFP::Linea> lineas = hay ? EscalaFP::Lineas(a, b) : std::vector<EscalaFP::Linea>();
    std::vector<double> valores;
    std::vector<std::int32_t> ejes;
    std::vector<std::int32_t> colores;
    std::vector<std::int32_t> tipos;
    QStringList etiquetas;
    QStringList marcas;
    for (const EscalaFP::Linea& l : lineas) {
        valores.push_back(l.valor);
        ejes.push_back(0);
        colores.push_back(l.color);
        tipos.push_back(l.tipo);
        // Written in the margin right of the line's end.
        etiquetas << (l.etiqueta.isEmpty() ? QString() : QStringLiteral("|R") + l.etiqueta);
        marcas << l.etiqueta;
    }
    Pe.ponerArray(PEP_HLINEY, valores);
    Pe.ponerArray(PEP_HLINEAXIS, ejes);
    Pe.ponerArray(PEP_HLINECOLORS, colores);
    Pe.ponerArray(PEP_HLINETYPES, tipos);
    Pe.ponerTextos(PEP_HLINELABELS, etiquetas);
    // The axis ticks sit on the lines and read as power factors, not as drawn values.
    Pe.ponerEntero(PEP_WORKINGAXIS, 0);
    Pe.ponerArray(PEP_YTICKVALUES, valores);
    Pe.ponerTextos(PEP_YTICKLABELS, marcas);
}

void TWMiGraficaFP::AtenderGrafica(int codigo) {
    TWSerieTemporal::AtenderGrafica(codigo);
    if (codigo == PEN_ZOOMDONE) {
        PonerLineas();
        Redibujar();
    }
}

void TWMiGraficaFP::ZoomOut() {
    TWSerieTemporal::ZoomOut();
    PonerLineas();
    Redibujar();
}

void TWMiGraficaFP::ZoomOutParcial() {
    TWSerieTemporal::ZoomOutParcial();
    PonerLineas();
    Redibujar();
}
