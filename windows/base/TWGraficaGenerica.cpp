#include "TWGraficaGenerica.h"

#include "Agrupacion.h"
#include "Apariencia.h"
#include "ChartProperties.h"
#include "Comando.h"
#include "Contrato.h"
#include "DrivFlex.h"
#include "Feedback.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "ObjGen.h"
#include "SettingsStore.h"
#include "TDriverVentana.h"
#include "TValorMultiple.h"
#include "TablasColores.h"
#include "Textos.h"
#include "UserInteraction.h"
#include "VTXExcepcion.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QJsonArray>
#include <QLibrary>
#include <QMenu>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTemporaryFile>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

// Resources of a static library are registered by hand, outside any namespace.
static void RegistrarIconos() {
    Q_INIT_RESOURCE(iconos);
}

namespace {

// Toolbar buttons are 25 by 25 pixels.
constexpr int kLadoIcono = 19;

QIcon Icono(int indice) {
    return QIcon(QStringLiteral(":/icons/%1.png").arg(indice));
}

QString Hint(int numero, const char* texto, int pasos) {
    return QString::asprintf(CargarTexto(numero), texto, pasos);
}

} // namespace

TWGraficaGenerica::TWGraficaGenerica(QWidget* propietario, TDriverVentana* driver,
                                     ServidorMonitores* servidor, DrivFlex* fuente)
    : QWidget(propietario, Qt::Window), m_servidor(servidor), m_fuente(fuente),
      m_driver(driver != nullptr && driver->ComoDrivFlex() != nullptr ? driver->ComoDrivFlex()->Manejador()
                                                                      : 0) {
    RegistrarIconos();
    // The host finds the window's driver by this handle: it does not link the engine.
    setProperty("driverHandle", m_driver);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(650, 380);
    setBackgroundRole(QPalette::Midlight);
    setAutoFillBackground(true);

    CrearControles();
    PonerTextos();
    Pasos = Apariencia::LeerPasos();
    PonerHintsPasos();
    ActualizarBotonesZoom(false, false);
    LibreriaGrafica = EnlaceGrafica::CargarLibreria();
    Pe = EnlaceGrafica(LibreriaGrafica.get());
}

void TWGraficaGenerica::Iniciar() {
    Pe.ExigirVentana(LibreriaGrafica != nullptr, ContextoExcepcion());
    Grafica = Pe.Crear(this);
    if (Grafica == nullptr)
        VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), EXC_GRAFICA, CargarTexto(TXT_NO_CREA_GRAFICA),
                                      CargarTexto(ContextoExcepcion()));
    Pe.PonerGrafica(Grafica);
    AjustesComunes();
    Construir();
    AplicarColoresSeries();
    AplicarTiposLinea();
    AplicarColoresFondo();
    AplicarTiposPunto();
    Cargar();
    RestaurarVista();
    ActualizarBotonesIntervalo();
    Redibujar();
    ColocarGrafica();
}

int TWGraficaGenerica::ContextoExcepcion() const {
    return TXT_CTX_TWMIGRAFICA;
}

int TWGraficaGenerica::PonerEjes(const std::vector<std::pair<QString, int>>& ejes, int metodo) {
    std::vector<std::int32_t> porEje;
    std::vector<double> partes;
    for (size_t i = 0; i < ejes.size(); ++i) {
        Pe.ponerEntero(PEP_WORKINGAXIS, static_cast<int>(i));
        Pe.ponerEntero(PEP_3045, 1);
        Pe.ponerEntero(PEP_PLOTMETHOD, metodo);
        Pe.ponerTexto(PEP_YAXISLABEL, ejes[i].first);
        porEje.push_back(ejes[i].second);
        partes.push_back(NumSeries > 0 ? static_cast<double>(ejes[i].second) / NumSeries : 1.0);
    }
    Pe.ponerArray(PEP_SUBSETSPERAXIS, porEje);
    Pe.ponerArray(PEP_AXISSHARES, partes);
    return static_cast<int>(ejes.size());
}

void TWGraficaGenerica::AjustesComunes() {
    // Chart behaviour every window relies on: table, grid, cursor and zoom settings.
    const int enteros[][2] = {
        {PEP_2155, 1},         {PEP_3269, 0},           {PEP_2335, 0}, {PEP_YLABELSIZE, 80},
        {PEP_XLABELSIZE, 80},  {PEP_TABLETEXTSIZE, 80}, {PEP_2435, 1}, {PEP_2240, 0},
        {PEP_2165, 0},         {PEP_2180, 0},           {PEP_2632, 0}, {PEP_3282, 3},
        {PEP_3652, 1},         {PEP_3069, 1},           {PEP_3057, 0}, {PEP_3642, 0},
        {PEP_3210, 1},         {PEP_2605, 0},           {PEP_3231, 0}, {PEP_3232, 0},
        {PEP_3205, 0},         {PEP_2170, 0},           {PEP_2600, 0}, {PEP_3233, 0},
        {PEP_3234, 0},         {PEP_2622, 1},           {PEP_2620, 0}, {PEP_CURSORMODE, 2},
        {PEP_3064, 0},         {PEP_2623, 0},           {PEP_3290, 0}, {PEP_3223, 0},
        {PEP_3227, 0},         {PEP_3226, 0},           {PEP_3016, 1}, {PEP_3017, 1},
        {PEP_3018, 2},         {PEP_3100, 3},           {PEP_3032, 2}, {PEP_3046, 3},
        {PEP_XSERIALDATES, 1},
    };
    for (const auto& p : enteros)
        Pe.ponerEntero(p[0], p[1]);
    Pe.ponerDouble(PEP_NULLX, kValorNulo);
    Pe.ponerDouble(PEP_NULLY, kValorNulo);
}

void TWGraficaGenerica::Redibujar() {
    if (Grafica == nullptr)
        return;
    Pe.Redibujar();
    Grafica->setFocus();
}

void TWGraficaGenerica::Protegido(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const VTXExcepcion& e) {
        host::MessageService::show(this, QString::fromStdString(e.Titulo()),
                                   QString::fromStdString(e.Mensaje()), host::MessageIcon::Error);
    }
}

void TWGraficaGenerica::AtenderGrafica(int codigo) {
    switch (codigo) {
    case PEN_CURSORMOVED:
        if (!Ocupado && Grafica != nullptr) {
            PonerLectura();
            Pe.PEresetimage(Grafica, 0, 0);
            Grafica->update();
        }
        break;
    case PEN_3956:
        Pe.ponerEntero(PEP_3205, 0);
        break;
    case PEN_3957:
        Pe.ponerEntero(PEP_3205, 1);
        break;
    case PEN_ZOOMDONE:
        ActualizarBotonesZoom(true, true);
        break;
    case PEN_RIGHTCLICK:
        MostrarMenuEmergente();
        break;
    case PEN_KEY: {
        const int tecla = Pe.dameEntero(PEP_LASTKEY);
        if (tecla == kTeclaF1)
            host::HelpService::show(ContextoAyuda());
        else if (tecla == kTeclaZ)
            ZoomOut();
        break;
    }
    default:
        break;
    }
}

void TWGraficaGenerica::Configurar() {
    if (!ModuloConfiguracion) {
        ModuloConfiguracion = host::loadModule(QStringLiteral("ViewerSetup.vlk"));
        if (!ModuloConfiguracion)
            VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), EXC_MODULO,
                                          CargarTexto(TXT_FALLA_VIEWERSETUP),
                                          CargarTexto(TXT_CTX_CONFIGURAR));
    }
    auto dameObjeto =
        reinterpret_cast<ViewerSetupFn>(host::resolveEntry(ModuloConfiguracion.get(), "_DameObjeto"));
    TDriverVentana* driver = Driver();
    if (dameObjeto == nullptr || driver == nullptr)
        return;
    RefObj configurador(dameObjeto(nullptr, this, kTipoObjetoGrafica, driver->ComoDrivFlex()));
    if (!configurador)
        return;
    Comando titulo(CMD_TITULO);
    const TValor texto = TValor::Texto(CargarTexto(TXT_GRAPH_CONFIGURATOR));
    titulo.EntrarParam(&texto);
    TValorMultiple vacia;
    if (auto* d = dynamic_cast<DrivFlex*>(configurador.get()))
        d->ProgCom(&titulo, &vacia, 0, nullptr);
    ObjetosPropios.push_back(std::move(configurador));
}

TValorMultiple TWGraficaGenerica::RegistrosLista() {
    TValorMultiple registros;
    for (int i = 0; i < ObjetosGrafica.Cuenta(); ++i)
        registros.EntrarEnteros({ObjetosGrafica.Entero(i, OBJ_CLAVE1), ObjetosGrafica.Entero(i, OBJ_CLAVE2),
                                 ObjetosGrafica.Entero(i, OBJ_DRIVER), NivelActual(), IntervaloActual});
    return registros;
}

void TWGraficaGenerica::EnviarRegistros(std::unique_ptr<QLibrary>& modulo, const char* fichero) {
    if (!modulo)
        modulo = host::loadModule(QString::fromLatin1(fichero));
    auto dameObjeto2 = reinterpret_cast<ModuloRegistrosFn>(host::resolveEntry(modulo.get(), "_DameObjeto2"));
    if (dameObjeto2 == nullptr)
        return;
    TValorMultiple registros = RegistrosLista();
    RefObj objeto(dameObjeto2(0, m_servidor, m_fuente, &registros));
}

void TWGraficaGenerica::Lista() {
    EnviarRegistros(ModuloTablas, "TableViewer.vlk");
}

void TWGraficaGenerica::ExportarTXT() {
    EnviarRegistros(ModuloExportar, "DataExport.vlk");
}

QJsonObject TWGraficaGenerica::Describir() {
    QJsonObject r;
    r.insert(QStringLiteral("caption"), windowTitle());
    r.insert(QStringLiteral("kind"), m_tipoGrafica);
    QJsonArray series;
    const QStringList nombres = NombresSeries();
    const QStringList unidades = UnidadesSeries();
    for (qsizetype i = 0; i < nombres.size(); ++i) {
        QJsonObject s;
        s.insert(QStringLiteral("name"), nombres[i]);
        s.insert(QStringLiteral("unit"), i < unidades.size() ? unidades[i] : QString());
        series.append(s);
    }
    r.insert(QStringLiteral("series"), series);
    r.insert(QStringLiteral("intervals"), NumIntervalos);
    r.insert(QStringLiteral("interval"), IntervaloActual);
    r.insert(QStringLiteral("level"), NivelActual());
    if (Grafica != nullptr)
        r.insert(QStringLiteral("subtitle"), Pe.dameTexto(PEP_SUBTITLE));
    return r;
}

TWGraficaGenerica::~TWGraficaGenerica() {
    if (!m_cerrada)
        SoltarReferencias();
    if (!m_liberada)
        LiberarRecursos();
}

void TWGraficaGenerica::CrearControles() {
    Botones = new QToolBar(this);
    Botones->setObjectName(QStringLiteral("Botones"));
    Botones->setIconSize(QSize(kLadoIcono, kLadoIcono));
    Botones->setMovable(false);
    Botones->setFloatable(false);

    const auto boton = [this](const char* nombre, int imagen, void (TWGraficaGenerica::*manejador)()) {
        QAction* a = Botones->addAction(Icono(imagen), QString());
        a->setObjectName(QString::fromLatin1(nombre));
        connect(a, &QAction::triggered, this, manejador);
        if (QWidget* w = Botones->widgetForAction(a))
            w->setObjectName(QString::fromLatin1(nombre));
        return a;
    };
    ExportBMP = boton("ExportBMP", 1, &TWGraficaGenerica::ExportBMPClick);
    Portapapeles = boton("Portapapeles", 2, &TWGraficaGenerica::PortapapelesClick);
    Botones->addSeparator();
    Configure = boton("Configure", 3, &TWGraficaGenerica::ConfigureClick);
    Botones->addSeparator();
    PreviousPlus = boton("PreviousPlus", 10, &TWGraficaGenerica::PreviousPlusClick);
    Previous = boton("Previous", 4, &TWGraficaGenerica::PreviousClick);
    Next = boton("Next", 5, &TWGraficaGenerica::NextClick);
    NextPlus = boton("NextPlus", 11, &TWGraficaGenerica::NextPlusClick);
    Botones->addSeparator();
    Group = boton("Group", 6, &TWGraficaGenerica::GroupClick);
    Ungroup = boton("Ungroup", 7, &TWGraficaGenerica::UngroupClick);
    Botones->addSeparator();
    ZoomOutBoton = boton("ZoomOut", 8, &TWGraficaGenerica::ZoomOutClick);
    ZoomOutParcialBoton = boton("ZoomOutParcial", 12, &TWGraficaGenerica::ZoomOutParcialClick);
    Botones->addSeparator();
    MegaConfig = boton("MegaConfig", 9, &TWGraficaGenerica::MegaConfigClick);
    // These two run their menu twins.
    ListaBoton = boton("Lista", 13, &TWGraficaGenerica::ListaPopUpClick);
    Exportar = boton("Exportar", 14, &TWGraficaGenerica::ExportarTXTClick);
    // Keys act on the graph window that has the focus, not on every window of the host.
    const auto tecla = [this](QAction* a, const QKeySequence& teclas) {
        a->setShortcut(teclas);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    };
    tecla(Previous, QKeySequence(Qt::Key_PageUp));
    tecla(Next, QKeySequence(Qt::Key_PageDown));
    tecla(Group, QKeySequence(Qt::CTRL | Qt::Key_Up));
    tecla(Ungroup, QKeySequence(Qt::CTRL | Qt::Key_Down));
    tecla(ExportBMP, QKeySequence(Qt::CTRL | Qt::Key_E));
    // First and last interval have keys only, no button: they act as the stepping buttons would.
    for (const bool ultimo : {false, true}) {
        auto* a = new QAction(this);
        a->setObjectName(ultimo ? QStringLiteral("LastInterval") : QStringLiteral("FirstInterval"));
        tecla(a, QKeySequence(Qt::CTRL | (ultimo ? Qt::Key_End : Qt::Key_Home)));
        connect(a, &QAction::triggered, this, [this, ultimo] { IrAlExtremo(ultimo); });
    }

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const char* nombre, int imagen, void (TWGraficaGenerica::*manejador)()) {
        QAction* a = PopupMenu1->addAction(QString());
        a->setObjectName(QString::fromLatin1(nombre));
        if (imagen >= 0)
            a->setIcon(Icono(imagen));
        connect(a, &QAction::triggered, this, manejador);
        return a;
    };
    zoomout1 = item("zoomout1", 8, &TWGraficaGenerica::zoomout1Click);
    zoomoutparcial1 = item("zoomoutparcial1", 12, &TWGraficaGenerica::zoomoutparcial1Click);
    configurar1 = item("configurar1", 3, &TWGraficaGenerica::configurar1Click);
    megaconfigurar1 = item("megaconfigurar1", 9, &TWGraficaGenerica::megaconfigurar1Click);
    ListaPopUp = item("ListaPopUp", 13, &TWGraficaGenerica::ListaPopUpClick);
    ExportarTXTItem = item("ExportarTXT", 14, &TWGraficaGenerica::ExportarTXTClick);
    PopupMenu1->addSeparator();
    VerToolBar = item("VerToolBar", -1, &TWGraficaGenerica::VerToolBarClick);
    VerToolBar->setCheckable(true);
    VerToolBar->setChecked(true);
    PopupMenu1->addSeparator();
    Portapapeles1 = item("Portapapeles1", 2, &TWGraficaGenerica::Portapapeles1Click);
    Exportar1 = item("Exportar1", 1, &TWGraficaGenerica::Exportar1Click);
    PopupMenu1->addSeparator();
    imprimir1 = item("imprimir1", 0, &TWGraficaGenerica::imprimir1Click);
}

void TWGraficaGenerica::PonerTextos() {
    MegaConfig->setToolTip(Texto(TXT_HINT_PROPERTIES));
    ListaBoton->setToolTip(Texto(TXT_HINT_LIST));
    Exportar->setToolTip(Texto(TXT_HINT_EXPORT_TXT));
    ExportBMP->setToolTip(Texto(TXT_HINT_EXPORT_BMP));
    Portapapeles->setToolTip(Texto(TXT_HINT_CLIPBOARD));
    Configure->setToolTip(Texto(TXT_HINT_SETUP));
    Previous->setToolTip(Texto(TXT_HINT_PREVIOUS));
    Next->setToolTip(Texto(TXT_HINT_NEXT));
    ZoomOutBoton->setToolTip(Texto(TXT_HINT_ZOOMOUT));
    ZoomOutParcialBoton->setToolTip(Texto(TXT_HINT_LASTZOOM));
    zoomout1->setText(Texto(TXT_MENU_ZOOMOUT));
    zoomoutparcial1->setText(Texto(TXT_MENU_LASTZOOM));
    configurar1->setText(Texto(TXT_MENU_CONFIGURE));
    Portapapeles1->setText(Texto(TXT_MENU_CLIPBOARD));
    Exportar1->setText(Texto(TXT_MENU_EXPORT_BMP));
    imprimir1->setText(Texto(TXT_MENU_PRINT));
    VerToolBar->setText(Texto(TXT_MENU_SEE_TOOLBAR));
    ListaPopUp->setText(Texto(TXT_MENU_LIST));
    ExportarTXTItem->setText(Texto(TXT_MENU_EXPORT_TXT));
    megaconfigurar1->setText(Texto(TXT_MENU_PROPERTIES));
}

void TWGraficaGenerica::PonerHintsPasos() {
    PreviousPlus->setToolTip(Hint(TXT_FMT_FAST_BACK, CargarTexto(TXT_FAST_BACK), Pasos));
    NextPlus->setToolTip(Hint(TXT_FMT_FAST_FORWARD, CargarTexto(TXT_FAST_FORWARD), Pasos));
}

QAction* TWGraficaGenerica::Accion(const QString& nombre) const {
    return findChild<QAction*>(nombre);
}

TDriverVentana* TWGraficaGenerica::Driver() const {
    return dynamic_cast<TDriverVentana*>(ObjGen::DesdeManejador(m_driver));
}

DrivFlex* TWGraficaGenerica::DameDriver() {
    TDriverVentana* driver = Driver();
    DrivFlex* d = driver != nullptr ? driver->ComoDrivFlex() : nullptr;
    if (d != nullptr)
        d->IncRef();
    return d;
}

// Handlers -----------------------------------------------------------------------------------

void TWGraficaGenerica::ExportBMPClick() {
    Protegido([this] { ExportarBMP(); });
}
void TWGraficaGenerica::PortapapelesClick() {
    Protegido([this] { CopiarPortapapeles(); });
}
void TWGraficaGenerica::ConfigureClick() {
    Protegido([this] { Configurar(); });
}
void TWGraficaGenerica::GroupClick() {
    Protegido([this] { Agrupar(Agrupacion::MODO_AGRUPAR); });
}
void TWGraficaGenerica::UngroupClick() {
    Protegido([this] { Agrupar(Agrupacion::MODO_DESAGRUPAR); });
}
void TWGraficaGenerica::ZoomOutClick() {
    Protegido([this] { ZoomOut(); });
}
void TWGraficaGenerica::ZoomOutParcialClick() {
    Protegido([this] { ZoomOutParcial(); });
}
void TWGraficaGenerica::MegaConfigClick() {
    Protegido([this] { Propiedades(); });
}
void TWGraficaGenerica::zoomout1Click() {
    Protegido([this] { ZoomOut(); });
}
void TWGraficaGenerica::zoomoutparcial1Click() {
    Protegido([this] { ZoomOutParcial(); });
}
void TWGraficaGenerica::configurar1Click() {
    Protegido([this] { Configurar(); });
}
void TWGraficaGenerica::megaconfigurar1Click() {
    Protegido([this] { Propiedades(); });
}
void TWGraficaGenerica::ListaPopUpClick() {
    Protegido([this] { Lista(); });
}
void TWGraficaGenerica::ExportarTXTClick() {
    Protegido([this] { ExportarTXT(); });
}
void TWGraficaGenerica::Portapapeles1Click() {
    Protegido([this] { CopiarPortapapeles(); });
}
void TWGraficaGenerica::Exportar1Click() {
    Protegido([this] { ExportarBMP(); });
}
void TWGraficaGenerica::imprimir1Click() {
    Protegido([this] { Imprimir(); });
}

// The button states keep Previous and Next from leaving the interval range.
void TWGraficaGenerica::PreviousClick() {
    Protegido([this] {
        IntervaloActual -= 1;
        ActualizarBotonesIntervalo();
        MostrarIntervalo();
    });
}

void TWGraficaGenerica::NextClick() {
    Protegido([this] {
        IntervaloActual += 1;
        ActualizarBotonesIntervalo();
        MostrarIntervalo();
    });
}

void TWGraficaGenerica::PreviousPlusClick() {
    Protegido([this] {
        IntervaloActual = std::max(IntervaloActual - Pasos, PrimerIntervalo);
        ActualizarBotonesIntervalo();
        MostrarIntervalo();
    });
}

void TWGraficaGenerica::NextPlusClick() {
    Protegido([this] {
        IntervaloActual = std::min(IntervaloActual + Pasos, UltimoIntervalo);
        ActualizarBotonesIntervalo();
        MostrarIntervalo();
    });
}

void TWGraficaGenerica::IrAlExtremo(bool ultimo) {
    QAction* paso = ultimo ? Next : Previous;
    if (!paso->isEnabled())
        return;
    Protegido([this, ultimo] {
        IntervaloActual = ultimo ? UltimoIntervalo : PrimerIntervalo;
        ActualizarBotonesIntervalo();
        MostrarIntervalo();
    });
}

void TWGraficaGenerica::VerToolBarClick() {
    // The item is checkable: the click has already toggled its tick.
    Botones->setVisible(VerToolBar->isChecked());
    ColocarGrafica();
}

// Services -----------------------------------------------------------------------------------

void TWGraficaGenerica::ActualizarBotonesIntervalo() {
    for (QAction* a : {Next, Previous, NextPlus, PreviousPlus})
        a->setEnabled(true);
    if (NumIntervalos < 2) {
        for (QAction* a : {Next, Previous, NextPlus, PreviousPlus})
            a->setEnabled(false);
    } else if (IntervaloActual == 0) {
        Previous->setEnabled(false);
        PreviousPlus->setEnabled(false);
    }
    if (IntervaloActual == UltimoIntervalo) {
        Next->setEnabled(false);
        NextPlus->setEnabled(false);
    }
}

void TWGraficaGenerica::PonerHintsRegistro() {
    const auto hint = [this](QAction* boton, int texto, int posicion) {
        boton->setToolTip(boton->isEnabled()
                              ? QString::asprintf(CargarTexto(TXT_FMT_REGISTER_HINT), CargarTexto(texto),
                                                  posicion, UltimoIntervalo + 1)
                              : Texto(texto));
    };
    hint(Previous, TXT_HINT_PREVIOUS, IntervaloActual);
    hint(Next, TXT_HINT_NEXT, IntervaloActual + 2);
}

int TWGraficaGenerica::ActualizarBotonesAgrupar(int modo, int nivelActual) {
    const int nivel = Agrupacion::NuevoNivel(modo, nivelActual);
    if (modo == Agrupacion::MODO_AGRUPAR || modo == Agrupacion::MODO_DESAGRUPAR) {
        // The driver keeps the level and asks this window to regroup when it changed.
        if (TDriverVentana* driver = Driver())
            driver->PedirNivel(nivel);
    }
    const Agrupacion::EstadoBotones estado = Agrupacion::Botones(nivel);
    Group->setEnabled(estado.agruparHabilitado);
    Ungroup->setEnabled(estado.desagruparHabilitado);
    Group->setToolTip(estado.hintAgrupar);
    Ungroup->setToolTip(estado.hintDesagrupar);
    return nivel;
}

void TWGraficaGenerica::ActualizarBotonesZoom(bool zoomOut, bool ultimoZoom) {
    ZoomOutBoton->setEnabled(zoomOut);
    zoomout1->setEnabled(zoomOut);
    ZoomOutParcialBoton->setEnabled(ultimoZoom);
    zoomoutparcial1->setEnabled(ultimoZoom);
    if (!zoomOut || !ultimoZoom) {
        m_historialZoom.LimpiarZoom();
        return;
    }
    if (Grafica == nullptr || Pe.dameEntero(PEP_ZOOMED) == 0)
        return;
    m_historialZoom.ApilarZoom(Pe.dameDouble(PEP_ZOOMXMIN), Pe.dameDouble(PEP_ZOOMXMAX),
                               Pe.dameDouble(PEP_ZOOMYMIN), Pe.dameDouble(PEP_ZOOMYMAX));
}

void TWGraficaGenerica::ZoomOut() {
    if (Grafica != nullptr) {
        Pe.ponerEntero(PEP_ZOOMED, 0);
        Grafica->update();
    }
    ActualizarBotonesZoom(false, false);
    m_historialZoom.LimpiarZoom();
    if (Grafica != nullptr)
        Grafica->setFocus();
}

void TWGraficaGenerica::ZoomOutParcial() {
    if (m_historialZoom.Vacio() || Grafica == nullptr || Pe.dameEntero(PEP_ZOOMED) == 0)
        return;
    if (m_historialZoom.Cuenta() == 1) {
        Pe.ponerEntero(PEP_ZOOMED, 0);
        ActualizarBotonesZoom(false, false);
    } else {
        RegistroZoom r;
        m_historialZoom.DesapilarZoom(r);
        Pe.ponerDouble(PEP_ZOOMYMIN, r.yMin);
        Pe.ponerDouble(PEP_ZOOMYMAX, r.yMax);
        Pe.ponerDouble(PEP_ZOOMXMIN, r.xMin);
        Pe.ponerDouble(PEP_ZOOMXMAX, r.xMax);
    }
    Redibujar();
}

int TWGraficaGenerica::AlturaMinima(int ancho) {
    if (ancho < 200)
        return 150;
    if (ancho > 1000)
        return 320;
    return 150 + (170 * (ancho - 200)) / 800;
}

void TWGraficaGenerica::ColocarGrafica() {
    if (Grafica == nullptr)
        return;
    const QRect cliente = rect();
    const int arriba = VerToolBar->isChecked() ? Botones->height() : 0;
    Grafica->setGeometry(0, arriba, cliente.width(), cliente.height() - arriba);
    Grafica->update();
    Grafica->setFocus();
}

void TWGraficaGenerica::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The minimum depends on the width being proposed, so it is enforced on each resize
    // rather than as a fixed minimum size. Inside an MDI area the frame is what grows.
    const int falta = AlturaMinima(width()) - height();
    if (falta > 0) {
        QWidget* marco = isWindow() || parentWidget() == nullptr ? this : parentWidget();
        marco->resize(marco->width(), marco->height() + falta);
        if (height() < AlturaMinima(width()))
            return; // the raised size comes back through here
    }
    Botones->setGeometry(0, 0, width(), Botones->sizeHint().height());
    ColocarGrafica();
}

bool TWGraficaGenerica::CapturarGrafica(int modo, const QString& fichero) {
    if (Grafica == nullptr)
        return false;
    if (modo == 0 && QFileInfo(fichero).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0)
        return GuardarSvg(fichero);
    const QImage imagen = Grafica->grab().toImage().convertToFormat(QImage::Format_RGB888);
    if (imagen.isNull())
        return false;
    if (modo == 1) {
        QGuiApplication::clipboard()->setImage(imagen);
        return true;
    }
    if (modo != 0)
        return false;
    // The file is in the format its name says; anything but PNG is a bitmap.
    const bool png = QFileInfo(fichero).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
    // Written beside the target and renamed over it: an existing file is never lost half-way.
    QSaveFile fichero_(fichero);
    if (!fichero_.open(QIODevice::WriteOnly))
        return false;
    if (!imagen.save(&fichero_, png ? "PNG" : "BMP")) {
        fichero_.cancelWriting();
        return false;
    }
    return fichero_.commit();
}

bool TWGraficaGenerica::GuardarSvg(const QString& fichero) {
    if (Pe.PEresetimageEx == nullptr || Pe.PEgetmeta == nullptr)
        return false;
    // The chart's own drawing, so lines and texts stay vectors.
    const PERect destino{0, 0, Grafica->width(), Grafica->height()};
    Pe.PEresetimageEx(Grafica, &destino);
    const QPicture* meta = Pe.PEgetmeta(Grafica);
    if (meta == nullptr)
        return false;
    QSaveFile salida(fichero);
    if (!salida.open(QIODevice::WriteOnly))
        return false;
    QSvgGenerator svg;
    svg.setOutputDevice(&salida);
    svg.setResolution(meta->logicalDpiX());
    svg.setSize(Grafica->size());
    svg.setViewBox(QRect(QPoint(0, 0), Grafica->size()));
    svg.setTitle(Grafica->windowTitle());
    QPainter pintor;
    if (!pintor.begin(&svg)) {
        salida.cancelWriting();
        return false;
    }
    pintor.drawPicture(0, 0, *meta);
    pintor.end();
    return salida.commit();
}

void TWGraficaGenerica::ExportarBMP() {
    QFileDialog Salvar(this);
    Salvar.setObjectName(QStringLiteral("Salvar"));
    Salvar.setOption(QFileDialog::DontUseNativeDialog);
    // The overwrite question is asked below, in the system's own words.
    Salvar.setOption(QFileDialog::DontConfirmOverwrite);
    Salvar.setAcceptMode(QFileDialog::AcceptSave);
    Salvar.setFileMode(QFileDialog::AnyFile);
    Salvar.setDefaultSuffix(QStringLiteral("BMP"));
    const QStringList filtros = {QStringLiteral("BMP (*.BMP)"), QStringLiteral("PNG (*.png)"),
                                 QStringLiteral("SVG (*.svg)")};
    Salvar.setNameFilters(filtros);
    const int resultado = host::DialogRunner::exec(Salvar);
    const QString elegido = Salvar.selectedFiles().value(0);
    if (resultado == QDialog::Accepted && !elegido.isEmpty()) {
        QString nombre = elegido;
        if (!QFileInfo(nombre).fileName().contains(QLatin1Char('.'))) {
            const qsizetype filtro = filtros.indexOf(Salvar.selectedNameFilter());
            nombre += filtro == 1   ? QStringLiteral(".png")
                      : filtro == 2 ? QStringLiteral(".svg")
                                    : QStringLiteral(".BMP");
        }
        const bool existe = QFileInfo::exists(nombre);
        if (!existe || host::MessageService::show(this, Texto(TXT_WARNING), Texto(TXT_FILE_EXISTS),
                                                  host::MessageIcon::Warning,
                                                  host::MessageButtons::YesNo) == host::MessageAnswer::Yes) {
            bool guardada = false;
            {
                host::WaitCursor espera; // a large chart as SVG takes a moment
                guardada = CapturarGrafica(0, nombre);
            }
            const QString mostrado = QDir::toNativeSeparators(nombre);
            if (guardada)
                host::showStatus(this, Texto(TXT_IMAGE_SAVED).arg(mostrado));
            else
                host::MessageService::show(this, Texto(TXT_ERROR), Texto(TXT_IMAGE_FAILED).arg(mostrado),
                                           host::MessageIcon::Error);
        }
    }
    if (Grafica != nullptr)
        Grafica->setFocus();
}

void TWGraficaGenerica::CopiarPortapapeles() {
    if (CapturarGrafica(1, QString()))
        host::showStatus(this, Texto(TXT_IMAGE_COPIED));
}

void TWGraficaGenerica::Imprimir() {
    QPrinter* impresora = m_impresora;
    std::unique_ptr<QPrinter> delSistema;
    if (impresora == nullptr) {
        delSistema = std::make_unique<QPrinter>(QPrinter::HighResolution);
        impresora = delSistema.get();
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            ImprimirAPdf(*impresora);
            return;
        }
    }
    // A document already being printed keeps the layout it was begun with.
    if (!impresora->paintingActive())
        impresora->setPageOrientation(QPageLayout::Landscape);
    QPrintDialog PrintDialog1(impresora, this);
    PrintDialog1.setObjectName(QStringLiteral("PrintDialog1"));
    PrintDialog1.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange);
    if (host::DialogRunner::exec(PrintDialog1) != QDialog::Accepted)
        return;
    ImprimirPaginas(*impresora);
}

void TWGraficaGenerica::ImprimirEnDocumento(void* impresora, void* pintor) {
    QPrinter* const anterior = m_impresora;
    QPainter* const anteriorPintor = m_pintor;
    PonerImpresora(static_cast<QPrinter*>(impresora), static_cast<QPainter*>(pintor));
    Protegido([this] { Imprimir(); });
    PonerImpresora(anterior, anteriorPintor);
}

void TWGraficaGenerica::ImprimirAPdf(QPrinter& impresora) {
    // Without a printer the page goes to a PDF file the user names.
    QFileDialog Salvar(this);
    Salvar.setObjectName(QStringLiteral("SalvarPdf"));
    Salvar.setOption(QFileDialog::DontUseNativeDialog);
    Salvar.setOption(QFileDialog::DontConfirmOverwrite);
    Salvar.setAcceptMode(QFileDialog::AcceptSave);
    Salvar.setFileMode(QFileDialog::AnyFile);
    Salvar.setDefaultSuffix(QStringLiteral("pdf"));
    Salvar.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    const int resultado = host::DialogRunner::exec(Salvar);
    const QString nombre = Salvar.selectedFiles().value(0);
    if (resultado != QDialog::Accepted || nombre.isEmpty() || QFileInfo(nombre).isDir())
        return;
    if (QFileInfo::exists(nombre) &&
        host::MessageService::show(this, Texto(TXT_WARNING), Texto(TXT_FILE_EXISTS),
                                   host::MessageIcon::Warning,
                                   host::MessageButtons::YesNo) != host::MessageAnswer::Yes)
        return;
    // Printed beside the target and renamed over it: an existing file is never lost half-way.
    QTemporaryFile temporal(nombre + QStringLiteral(".XXXXXX"));
    if (!temporal.open())
        return;
    temporal.close();
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(temporal.fileName());
    impresora.setPageOrientation(QPageLayout::Landscape);
    ImprimirPaginas(impresora);
    std::error_code error;
    std::filesystem::rename(temporal.fileName().toStdString(), nombre.toStdString(), error);
    if (!error)
        temporal.setAutoRemove(false);
}

void TWGraficaGenerica::ImprimirEn(QPrinter& impresora) {
    if (Grafica == nullptr || Pe.PEresetimageEx == nullptr || Pe.PEgetmeta == nullptr)
        return;
    Grafica->setUpdatesEnabled(false);
    const bool conCursor = Pe.dameEntero(PEP_CURSORMODE) != 0;
    if (conCursor && Pe.PEvgetcellEx != nullptr) {
        const int serie = Pe.dameEntero(PEP_CURSORSUBSET);
        const int punto = Pe.dameEntero(PEP_CURSORPOINT);
        double x = 0;
        double y = 0;
        Pe.PEvgetcellEx(Grafica, PEP_XDATA, serie, punto, &x);
        Pe.PEvgetcellEx(Grafica, PEP_YDATA, serie, punto, &y);
        Pe.ponerDouble(PEP_MARKX, x);
        Pe.ponerDouble(PEP_MARKY, y);
        Pe.ponerEntero(PEP_MARKSIZE, 25);
        Pe.ponerEntero(PEP_MARKSHAPE, 0);
    }
    Pe.PEreinitialize(Grafica);
    QPainter propio;
    const bool compartido = m_pintor != nullptr && m_pintor->isActive() && m_pintor->device() == &impresora;
    QPainter& pintor = compartido ? *m_pintor : propio;
    if (compartido || pintor.begin(&impresora)) {
        // The chart's picture is recorded at the picture's own resolution and scaled to the
        // printer's when played, so the target is given in the picture's units.
        const QPicture referencia;
        const double escalaX = static_cast<double>(referencia.logicalDpiX()) / impresora.logicalDpiX();
        const double escalaY = static_cast<double>(referencia.logicalDpiY()) / impresora.logicalDpiY();
        const int ancho = static_cast<int>(impresora.width() * escalaX);
        const int alto = static_cast<int>(impresora.height() * escalaY);
        // 84 % of the page, 8 % margin on every side.
        PERect destino;
        destino.left = ancho * 8 / 100;
        destino.top = alto * 8 / 100;
        destino.right = destino.left + ancho * 84 / 100;
        destino.bottom = destino.top + alto * 84 / 100;
        Pe.PEresetimageEx(Grafica, &destino);
        if (const QPicture* meta = Pe.PEgetmeta(Grafica))
            pintor.drawPicture(0, 0, *meta);
        if (!compartido)
            pintor.end();
    }
    // The mark is only for paper: the screen goes back to the cursor and its read-out.
    Pe.ponerEntero(PEP_MARKSIZE, 0);
    if (conCursor)
        AtenderGrafica(PEN_CURSORMOVED);
    Pe.PEreinitialize(Grafica);
    Pe.PEresetimage(Grafica, 0, 0);
    Grafica->setUpdatesEnabled(true);
    Grafica->update();
    Grafica->setFocus();
}

void TWGraficaGenerica::MostrarMenuEmergente() {
    PopupMenu1->popup(QCursor::pos());
}

double TWGraficaGenerica::FechaSerie(const TTiempo& tiempo, TTiempo* primera, TTiempo* ultima) {
    if (primera != nullptr && ultima != nullptr) {
        if (tiempo < *primera)
            *primera = tiempo;
        if (tiempo > *ultima)
            *ultima = tiempo;
    }
    PETM tm;
    tm.nYear = tiempo.Anio - 1900;
    tm.nMonth = tiempo.Mes;
    tm.nDay = tiempo.Dia;
    tm.nHour = tiempo.Hora;
    tm.nMinute = tiempo.Minuto;
    tm.nSecond = tiempo.Segundo;
    double serie = Pe.FechaSerie(tm);
    if (tiempo.Milesima != -1)
        serie += tiempo.Milesima / 86400000.0;
    return serie;
}

void TWGraficaGenerica::PonerPasos(const char* texto) {
    const std::string t = texto ? texto : "";
    if (t.size() > 3 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return;
    Pasos = t.empty() ? 0 : std::stoi(t);
    PonerHintsPasos();
    Apariencia::GuardarPasos(Pasos);
}

// Appearance ---------------------------------------------------------------------------------

namespace {
Apariencia::Preferencias PreferenciasActuales() {
    std::optional<host::SettingsKey> clave;
    // Fonts are the driver's business; any stored index is acceptable here.
    return Apariencia::Leer(clave, Apariencia::kMaxFuentes);
}
} // namespace

void TWGraficaGenerica::AplicarColoresFondo() {
    const Apariencia::Preferencias p = PreferenciasActuales();
    ColorFondo = static_cast<std::uint32_t>(::ColorFondo(p.fondo));
    Pe.ponerEntero(PEP_DESKCOLOR, static_cast<int>(::ColorFondo(p.escritorio)));
    Pe.ponerEntero(PEP_GRAPHBACKCOLOR, static_cast<int>(ColorFondo));
    Pe.ponerEntero(PEP_TEXTCOLOR, static_cast<int>(::ColorFondo(p.texto)));
}

void TWGraficaGenerica::PonerPorSerie(int propiedad, const std::function<std::int32_t(int)>& valor) {
    const int n = std::clamp(NumSeries, 0, Apariencia::kMaxSeries);
    std::int32_t valores[Apariencia::kMaxSeries] = {};
    for (int i = 0; i < n; ++i)
        valores[i] = valor(i);
    Pe.ponerArray(propiedad, std::span<const std::int32_t>(valores, static_cast<size_t>(n)));
}

void TWGraficaGenerica::AplicarColoresSeries() {
    const Apariencia::Preferencias p = PreferenciasActuales();
    PonerPorSerie(PEP_SUBSETCOLORS, [&](int i) {
        return static_cast<std::int32_t>(ColorSerie(p.colores[static_cast<size_t>(i)]));
    });
}

void TWGraficaGenerica::AplicarTiposLinea() {
    const Apariencia::Preferencias p = PreferenciasActuales();
    PonerPorSerie(PEP_LINETYPES, [&](int i) { return TipoLineaGrafica(p.tipos[static_cast<size_t>(i)]); });
}

void TWGraficaGenerica::AplicarTiposPunto() {
    PonerPorSerie(PEP_POINTTYPES, [](int i) { return kTiposPuntoDefecto[i]; });
}

void TWGraficaGenerica::BorrarClavesArmonicos() {
    std::optional<host::SettingsKey> clave = host::SettingsKey::openOrCreate();
    if (!clave)
        return;
    clave->deleteSubKey(QStringLiteral("THD"));
    clave->deleteSubKey(QStringLiteral("ARMONICOS"));
    clave->sync();
}

// Release ------------------------------------------------------------------------------------

void TWGraficaGenerica::TomarReferencias(const TValorMultiple& objetosGrafica) {
    ObjetosGrafica = objetosGrafica;
    for (int fila = 0; fila < objetosGrafica.Cuenta(); ++fila) {
        if (objetosGrafica.Elementos(fila) < 3)
            continue;
        const std::int32_t manejador = objetosGrafica.Entero(fila, 2);
        if (std::find(m_referencias.begin(), m_referencias.end(), manejador) != m_referencias.end())
            continue;
        if (ObjGen* objeto = ObjGen::DesdeManejador(manejador)) {
            objeto->IncRef();
            m_referencias.push_back(manejador);
        }
    }
}

void TWGraficaGenerica::SoltarReferencias() {
    for (std::int32_t manejador : m_referencias) {
        ObjGen* objeto = ObjGen::DesdeManejador(manejador);
        if (objeto != nullptr && objeto->DecRef() != 0)
            delete objeto;
    }
    m_referencias.clear();
}

void TWGraficaGenerica::LiberarRecursos() {
    while (!ObjetosPropios.empty())
        ObjetosPropios.pop_back();
    if (Grafica != nullptr && Pe.PEdestroy != nullptr)
        Pe.PEdestroy(Grafica);
    Grafica = nullptr;
    for (std::unique_ptr<QLibrary>* modulo :
         {&LibreriaGrafica, &ModuloConfiguracion, &ModuloTablas, &ModuloExtra, &ModuloExportar}) {
        if (*modulo)
            (*modulo)->unload();
        modulo->reset();
    }
    Pe = EnlaceGrafica();
    m_liberada = true;
}

void TWGraficaGenerica::closeEvent(QCloseEvent* e) {
    if (!m_cerrada) {
        m_cerrada = true;
        BorrarClavesArmonicos();
        if (TDriverVentana* driver = Driver(); driver != nullptr && driver->ComoDrivFlex() != nullptr) {
            Comando cierre(SRV_CIERRE);
            TValorMultiple vacia;
            driver->ComoDrivFlex()->ProgCom(&cierre, &vacia, 0, nullptr);
        }
        m_driver = 0;
        LiberarDatos();
        SoltarReferencias();
        LiberarRecursos();
    }
    e->accept();
}

bool TWGraficaGenerica::event(QEvent* e) {
    if (e->type() == PENotifyEvent::kType) {
        const int codigo = static_cast<PENotifyEvent*>(e)->code();
        Protegido([this, codigo] { AtenderGrafica(codigo); });
        return true;
    }
    return QWidget::event(e);
}

int TWGraficaGenerica::IntervaloGuardado() const {
    return ObjetosGrafica.Cuenta() > 0 && ObjetosGrafica.Elementos(0) > OBJ_INTERVALO
               ? ObjetosGrafica.Entero(0, OBJ_INTERVALO)
               : 0;
}

void TWGraficaGenerica::RestaurarIntervalo() {
    IntervaloActual = std::clamp(IntervaloGuardado(), 0, std::max(0, NumIntervalos - 1));
    ActualizarBotonesIntervalo();
    MostrarIntervalo();
}

void TWGraficaGenerica::RestaurarAgrupada(bool soloSiCambia) {
    TDriverVentana* driver = Driver();
    if (ObjetosGrafica.Cuenta() == 0 || ObjetosGrafica.Elementos(0) <= OBJ_NIVEL) {
        const int nivel = driver != nullptr ? driver->NivelGuardado() : Agrupacion::NIVEL_DEFECTO;
        if (nivel >= 0 && nivel <= Agrupacion::NIVEL_DEFECTO && (!soloSiCambia || nivel != NivelActual()))
            Agrupar(nivel);
        return;
    }
    const int nivel = ObjetosGrafica.Entero(0, OBJ_NIVEL);
    if (nivel < 0 || nivel > Agrupacion::NIVEL_DEFECTO)
        return;
    ActualizarBotonesAgrupar(nivel, nivel);
    if (driver != nullptr)
        driver->PedirNivel(nivel);
    Agrupar(nivel);
    RestaurarIntervalo();
}
