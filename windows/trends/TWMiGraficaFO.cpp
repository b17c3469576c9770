#include "TWMiGraficaFO.h"

#include "TWMiGraficaFOAN.h"

#include "ChartProperties.h"
#include "Contrato.h"
#include "LecturaCursor.h"
#include "TMenuRang.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QJsonArray>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

TWMiGraficaFO::TWMiGraficaFO(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                             ListasAtributos& listas, DrivFlex* fuente)
    : TWRegistro(propietario, driver, servidor, listas, fuente) {
    m_datos = std::make_unique<formaonda::DatosFormaOnda>(listas);
    NumSeries = m_datos->NumCanales();
    NumPuntos = m_datos->NumPuntos();
    PonerRegistros(m_datos->Registros());
    m_formato = formaonda::FormatoDistorsion::Leer();
}

TWMiGraficaFO::~TWMiGraficaFO() = default;

int TWMiGraficaFO::TituloVentana() const {
    return TXT_WAVEFORMS;
}

int TWMiGraficaFOAN::TituloVentana() const {
    return TXT_WAVEFORMS_AN;
}

QString TWMiGraficaFO::Etiqueta(int serie) const {
    if (serie < 0 || serie >= NumSeries)
        return QString();
    return formaonda::EtiquetaCanal(m_datos->CanalDe(serie).fila, ConAnalogico());
}

void TWMiGraficaFO::Construir() {
    PonerDimensiones();
    // Neighbouring channels of one unit share an axis: voltages above, currents below.
    std::vector<std::pair<QString, int>> ejes;
    QString unidad;
    for (int s = 0; s < NumSeries; ++s) {
        const QString u = m_datos->CanalDe(s).unidad;
        if (ejes.empty() || !LecturaCursor::MismoEje(u, unidad)) {
            ejes.emplace_back(LecturaCursor::EtiquetaEje(u), 0);
            unidad = u;
        }
        ++ejes.back().second;
    }
    NumEjes = PonerEjes(ejes, PEMD_LINE);
}

void TWMiGraficaFO::Cargar() {
    QStringList etiquetas;
    for (int s = 0; s < NumSeries; ++s)
        etiquetas << Etiqueta(s) + QStringLiteral(" ") + m_datos->CanalDe(s).nombre;
    PonerTitulos(Texto(TituloVentana()), etiquetas);
    Pe.ponerTexto(PEP_XAXISLABEL, Texto(TXT_WAVE_SAMPLE));
    // Records have no properties dialog.
    MegaConfig->setVisible(false);
    megaconfigurar1->setVisible(false);
}

void TWMiGraficaFO::PonerLineasReferencia(int primero, int ultimo) {
    const formaonda::LineasReferencia l = formaonda::Lineas(primero, ultimo, ColorFondo);
    Pe.ponerArray(PEP_VLINEX, l.x);
    Pe.ponerArray(PEP_VLINETYPES, l.tipos);
    Pe.ponerArray(PEP_VLINECOLORS, l.colores);
}

void TWMiGraficaFO::MostrarRegistro(int registro) {
    if (registro < 0 || registro >= NumRegistros())
        return;
    const int primero = Registro(registro).first;
    const auto [a, b] = CargarMuestras(registro, [this, primero](int s, int j) {
        return std::pair{static_cast<double>(j), m_datos->Valor(s, primero + j)};
    });
    PonerLineasReferencia(a, b);
    Pe.ponerTexto(PEP_TABLETITLE, m_datos->TituloRegistro(registro, ConAnalogico(), m_formato));
}

void TWMiGraficaFO::MostrarIntervalo() {
    if (Visibles().empty())
        return;
    host::WaitCursor espera;
    formaonda::ZoomGuardado zoom;
    if (Pe.dameEntero(PEP_ZOOMED) != 0) {
        zoom.ymin = Pe.dameDouble(PEP_ZOOMYMIN);
        zoom.ymax = Pe.dameDouble(PEP_ZOOMYMAX);
        zoom.xmin = Pe.dameDouble(PEP_ZOOMXMIN);
        zoom.xmax = Pe.dameDouble(PEP_ZOOMXMAX);
    }
    Ocupado = true;
    MostrarRegistro(RegistroMostrado());
    PonerLectura();
    Ocupado = false;
    PonerHintsRegistro();
    // The same stretch of the next record: the user compares records at one zoom.
    if (zoom.Valido()) {
        Pe.ponerDouble(PEP_ZOOMXMIN, zoom.xmin);
        Pe.ponerDouble(PEP_ZOOMXMAX, zoom.xmax);
        Pe.ponerDouble(PEP_ZOOMYMIN, zoom.ymin);
        Pe.ponerDouble(PEP_ZOOMYMAX, zoom.ymax);
        Pe.ponerEntero(PEP_ZOOMED, 1);
    }
    Redibujar();
    if (Grafica != nullptr)
        Grafica->setFocus();
}

QString TWMiGraficaFO::TextoCursor() {
    int serie = 0;
    int punto = 0;
    if (!PosicionCursor(serie, punto))
        return QString();
    const formaonda::Canal& c = m_datos->CanalDe(serie);
    LecturaCursor::Lectura l = LecturaMuestra(serie, punto);
    l.decimales = c.decimales;
    l.unidad = c.unidad;
    l.fecha = QString::number(punto);
    l.desde = QStringLiteral("0");
    l.hasta = QString::number(m_puntosMostrados - 1);
    l.nombreVariable = Etiqueta(serie) + QStringLiteral(" ") + c.nombre;
    QString texto = LecturaCursor::Texto(l);
    for (const QStringList& grupo :
         m_datos->TextosDistorsion(RegistroMostrado(), ConAnalogico(), m_formato)) {
        if (!grupo.isEmpty())
            texto += grupo.join(QLatin1Char('|')) + QStringLiteral("\t");
    }
    return texto;
}

void TWMiGraficaFO::PonerLectura() {
    Pe.ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWMiGraficaFO::ImprimirPaginas(QPrinter& impresora) {
    if (Visibles().empty())
        return;
    // The records to print, offered from the one shown; a run without a person takes that one.
    int primero = IntervaloActual;
    int ultimo = IntervaloActual;
    std::vector<TTiempo> tiempos;
    for (int r : Visibles())
        tiempos.push_back(m_datos->TiempoRegistro(r));
    TMenuRang rango(this, tiempos.data(), static_cast<int>(tiempos.size()), &primero, &ultimo);
    if (host::DialogRunner::exec(rango) != QDialog::Accepted)
        return;
    primero = std::clamp(primero, 0, UltimoIntervalo);
    ultimo = std::clamp(ultimo, primero, UltimoIntervalo);

    // One painter for every page: each record goes on a page of its own.
    QPainter* const fijado = PintorFijado();
    QPainter propio;
    const bool compartido = fijado != nullptr && fijado->isActive() && fijado->device() == &impresora;
    if (!compartido && !propio.begin(&impresora))
        return;
    PonerPintor(compartido ? fijado : &propio);
    const int actual = IntervaloActual;
    const int visibles = static_cast<int>(Visibles().size());
    Grafica->setUpdatesEnabled(false);
    for (int i = primero; i <= ultimo && i < visibles; ++i) {
        if (i > primero)
            impresora.newPage();
        IntervaloActual = i;
        Ocupado = true;
        MostrarRegistro(RegistroMostrado());
        PonerLectura();
        Ocupado = false;
        ImprimirEn(impresora);
        Grafica->setUpdatesEnabled(false);
    }
    if (!compartido)
        propio.end();
    PonerPintor(fijado);
    IntervaloActual = actual;
    Grafica->setUpdatesEnabled(true);
    MostrarIntervalo();
}

QJsonObject TWMiGraficaFO::Describir() {
    QJsonObject r = TWRegistro::Describir();
    r.insert(QStringLiteral("records"), NumRegistros());
    QJsonArray thd;
    const int registro = RegistroMostrado();
    for (int s = 0; s < NumSeries; ++s) {
        QJsonObject c;
        c.insert(QStringLiteral("label"), Etiqueta(s));
        c.insert(QStringLiteral("name"), m_datos->CanalDe(s).nombre);
        c.insert(QStringLiteral("thd"), m_formato.Numero(m_datos->Thd(s, registro)));
        c.insert(QStringLiteral("d"), m_formato.Numero(m_datos->D(s, registro)));
        thd.append(c);
    }
    r.insert(QStringLiteral("record_thd"), thd);
    return r;
}

QString TWMiGraficaFO::NombreSerie(int serie) const {
    return m_datos->CanalDe(serie).nombre;
}

QString TWMiGraficaFO::UnidadSerie(int serie) const {
    return m_datos->CanalDe(serie).unidad;
}
