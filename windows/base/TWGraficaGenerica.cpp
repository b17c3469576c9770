#include "TWGraficaGenerica.h"

#include "Agrupacion.h"
#include "Apariencia.h"
#include "ChartProperties.h"
#include "Comando.h"
#include "ModuleLoader.h"
#include "ObjGen.h"
#include "SettingsStore.h"
#include "TGrafica.h"
#include "TValorMultiple.h"
#include "TablasColores.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
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

constexpr int kComandoCierre = 1234;
// Toolbar buttons are 25 by 25 pixels.
constexpr int kLadoIcono = 19;

QIcon Icono(int indice) {
    return QIcon(QStringLiteral(":/icons/%1.png").arg(indice));
}

QString Hint(int numero, const char* texto, int pasos) {
    return QString::asprintf(CargarTexto(numero), texto, pasos);
}

} // namespace

TWGraficaGenerica::TWGraficaGenerica(QWidget* propietario, TGrafica* driver, ServidorMonitores* servidor,
                                     DrivFlex* fuente)
    : QWidget(propietario, Qt::Window), m_servidor(servidor), m_fuente(fuente),
      m_driver(driver ? driver->Manejador() : 0) {
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
    CargarLibreria();
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

void TWGraficaGenerica::CargarLibreria() {
    LibreriaGrafica = host::loadModule(QString::fromLatin1(kChartingLibrary));
    if (!LibreriaGrafica)
        return;
    QLibrary* l = LibreriaGrafica.get();
    PEdestroy = reinterpret_cast<PEdestroyFn>(host::resolveEntry(l, "PEdestroy"));
    PEvget = reinterpret_cast<PEvgetFn>(host::resolveEntry(l, "PEvget"));
    PEvset = reinterpret_cast<PEvsetFn>(host::resolveEntry(l, "PEvset"));
    PEnget = reinterpret_cast<PEngetFn>(host::resolveEntry(l, "PEnget"));
    PEnset = reinterpret_cast<PEnsetFn>(host::resolveEntry(l, "PEnset"));
    PEreinitialize = reinterpret_cast<PEreinitializeFn>(host::resolveEntry(l, "PEreinitialize"));
    PEresetimage = reinterpret_cast<PEresetimageFn>(host::resolveEntry(l, "PEresetimage"));
    PEresetimageEx = reinterpret_cast<PEresetimageExFn>(host::resolveEntry(l, "PEresetimageEx"));
    PEcreateserialdate = reinterpret_cast<PEcreateserialdateFn>(host::resolveEntry(l, "PEcreateserialdate"));
    PEdecipherserialdate =
        reinterpret_cast<PEdecipherserialdateFn>(host::resolveEntry(l, "PEdecipherserialdate"));
    PEgetmeta = reinterpret_cast<PEgetmetaFn>(host::resolveEntry(l, "PEgetmeta"));
    PEvgetcellEx = reinterpret_cast<PEvgetcellExFn>(host::resolveEntry(l, "PEvgetcellEx"));
}

QAction* TWGraficaGenerica::Accion(const QString& nombre) const {
    return findChild<QAction*>(nombre);
}

TGrafica* TWGraficaGenerica::Driver() const {
    return dynamic_cast<TGrafica*>(ObjGen::DesdeManejador(m_driver));
}

TGrafica* TWGraficaGenerica::DameDriver() {
    TGrafica* driver = Driver();
    if (driver != nullptr)
        driver->IncRef();
    return driver;
}

// Handlers -----------------------------------------------------------------------------------

void TWGraficaGenerica::ExportBMPClick() {
    ExportarBMP();
}
void TWGraficaGenerica::PortapapelesClick() {
    CopiarPortapapeles();
}
void TWGraficaGenerica::ConfigureClick() {
    Configurar();
}
void TWGraficaGenerica::GroupClick() {
    Agrupar(Agrupacion::MODO_AGRUPAR);
}
void TWGraficaGenerica::UngroupClick() {
    Agrupar(Agrupacion::MODO_DESAGRUPAR);
}
void TWGraficaGenerica::ZoomOutClick() {
    ZoomOut();
}
void TWGraficaGenerica::ZoomOutParcialClick() {
    ZoomOutParcial();
}
void TWGraficaGenerica::MegaConfigClick() {
    Propiedades();
}
void TWGraficaGenerica::zoomout1Click() {
    ZoomOut();
}
void TWGraficaGenerica::zoomoutparcial1Click() {
    ZoomOutParcial();
}
void TWGraficaGenerica::configurar1Click() {
    Configurar();
}
void TWGraficaGenerica::megaconfigurar1Click() {
    Propiedades();
}
void TWGraficaGenerica::ListaPopUpClick() {
    Lista();
}
void TWGraficaGenerica::ExportarTXTClick() {
    ExportarTXT();
}
void TWGraficaGenerica::Portapapeles1Click() {
    CopiarPortapapeles();
}
void TWGraficaGenerica::Exportar1Click() {
    ExportarBMP();
}
void TWGraficaGenerica::imprimir1Click() {
    Imprimir();
}

// The button states keep Previous and Next from leaving the interval range.
void TWGraficaGenerica::PreviousClick() {
    IntervaloActual -= 1;
    ActualizarBotonesIntervalo();
    MostrarIntervalo();
}

void TWGraficaGenerica::NextClick() {
    IntervaloActual += 1;
    ActualizarBotonesIntervalo();
    MostrarIntervalo();
}

void TWGraficaGenerica::PreviousPlusClick() {
    IntervaloActual = std::max(IntervaloActual - Pasos, PrimerIntervalo);
    ActualizarBotonesIntervalo();
    MostrarIntervalo();
}

void TWGraficaGenerica::NextPlusClick() {
    IntervaloActual = std::min(IntervaloActual + Pasos, UltimoIntervalo);
    ActualizarBotonesIntervalo();
    MostrarIntervalo();
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

int TWGraficaGenerica::ActualizarBotonesAgrupar(int modo, int nivelActual) {
    const int nivel = Agrupacion::NuevoNivel(modo, nivelActual);
    if (modo == Agrupacion::MODO_AGRUPAR || modo == Agrupacion::MODO_DESAGRUPAR) {
        // The driver keeps the level and asks this window to regroup when it changed.
        if (TGrafica* driver = Driver())
            driver->SetPropertyValue(0, 3, nivel + 100);
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
    if (Grafica == nullptr || PEnget == nullptr || PEvget == nullptr || PEnget(Grafica, PEP_ZOOMED) == 0)
        return;
    double extremos[4] = {0, 0, 0, 0};
    const int propiedades[4] = {PEP_ZOOMXMIN, PEP_ZOOMXMAX, PEP_ZOOMYMIN, PEP_ZOOMYMAX};
    for (int i = 0; i < 4; ++i)
        PEvget(Grafica, propiedades[i], &extremos[i], 1);
    m_historialZoom.ApilarZoom(extremos[0], extremos[1], extremos[2], extremos[3]);
}

void TWGraficaGenerica::ZoomOut() {
    if (Grafica != nullptr && PEnset != nullptr) {
        PEnset(Grafica, PEP_ZOOMED, 0);
        Grafica->update();
    }
    ActualizarBotonesZoom(false, false);
    m_historialZoom.LimpiarZoom();
    if (Grafica != nullptr)
        Grafica->setFocus();
}

void TWGraficaGenerica::ZoomOutParcial() {
    if (m_historialZoom.Vacio() || Grafica == nullptr || PEnget == nullptr ||
        PEnget(Grafica, PEP_ZOOMED) == 0)
        return;
    if (m_historialZoom.Cuenta() == 1) {
        PEnset(Grafica, PEP_ZOOMED, 0);
        ActualizarBotonesZoom(false, false);
    } else {
        RegistroZoom r;
        m_historialZoom.DesapilarZoom(r);
        PEvset(Grafica, PEP_ZOOMYMIN, &r.yMin, 1);
        PEvset(Grafica, PEP_ZOOMYMAX, &r.yMax, 1);
        PEvset(Grafica, PEP_ZOOMXMIN, &r.xMin, 1);
        PEvset(Grafica, PEP_ZOOMXMAX, &r.xMax, 1);
    }
    PEreinitialize(Grafica);
    PEresetimage(Grafica, 0, 0);
    Grafica->update();
    Grafica->setFocus();
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
    if (PEresetimageEx == nullptr || PEgetmeta == nullptr)
        return false;
    // The chart's own drawing, so lines and texts stay vectors.
    const PERect destino{0, 0, Grafica->width(), Grafica->height()};
    PEresetimageEx(Grafica, &destino);
    const QPicture* meta = PEgetmeta(Grafica);
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
                                                  host::MessageButtons::YesNo) == host::MessageAnswer::Yes)
            CapturarGrafica(0, nombre);
    }
    if (Grafica != nullptr)
        Grafica->setFocus();
}

void TWGraficaGenerica::CopiarPortapapeles() {
    CapturarGrafica(1, QString());
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
    ImprimirEn(*impresora);
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
    ImprimirEn(impresora);
    std::error_code error;
    std::filesystem::rename(temporal.fileName().toStdString(), nombre.toStdString(), error);
    if (!error)
        temporal.setAutoRemove(false);
}

void TWGraficaGenerica::ImprimirEn(QPrinter& impresora) {
    if (Grafica == nullptr || PEnget == nullptr || PEresetimageEx == nullptr || PEgetmeta == nullptr)
        return;
    Grafica->setUpdatesEnabled(false);
    const bool conCursor = PEnget(Grafica, PEP_CURSORMODE) != 0;
    if (conCursor && PEvgetcellEx != nullptr) {
        const int serie = PEnget(Grafica, PEP_CURSORSUBSET);
        const int punto = PEnget(Grafica, PEP_CURSORPOINT);
        double x = 0;
        double y = 0;
        PEvgetcellEx(Grafica, PEP_XDATA, serie, punto, &x);
        PEvgetcellEx(Grafica, PEP_YDATA, serie, punto, &y);
        PEvset(Grafica, PEP_MARKX, &x, 1);
        PEvset(Grafica, PEP_MARKY, &y, 1);
        PEnset(Grafica, PEP_MARKSIZE, 25);
        PEnset(Grafica, PEP_3236, 0);
    }
    PEreinitialize(Grafica);
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
        PEresetimageEx(Grafica, &destino);
        if (const QPicture* meta = PEgetmeta(Grafica))
            pintor.drawPicture(0, 0, *meta);
        if (!compartido)
            pintor.end();
    }
    // The mark is only for paper: the screen goes back to the cursor and its read-out.
    PEnset(Grafica, PEP_MARKSIZE, 0);
    if (conCursor)
        AtenderGrafica(PEN_CURSORMOVED);
    PEreinitialize(Grafica);
    PEresetimage(Grafica, 0, 0);
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
    double serie = 0.0;
    if (PEcreateserialdate != nullptr)
        PEcreateserialdate(&serie, &tm, 2);
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
    if (Grafica == nullptr || PEnset == nullptr)
        return;
    PEnset(Grafica, PEP_DESKCOLOR, static_cast<int>(::ColorFondo(p.escritorio)));
    PEnset(Grafica, PEP_GRAPHBACKCOLOR, static_cast<int>(ColorFondo));
    PEnset(Grafica, PEP_TEXTCOLOR, static_cast<int>(::ColorFondo(p.texto)));
}

void TWGraficaGenerica::PonerPorSerie(int propiedad, const std::function<std::int32_t(int)>& valor) {
    if (Grafica == nullptr || PEvset == nullptr)
        return;
    const int n = std::clamp(NumSeries, 0, Apariencia::kMaxSeries);
    std::int32_t valores[Apariencia::kMaxSeries] = {};
    for (int i = 0; i < n; ++i)
        valores[i] = valor(i);
    PEvset(Grafica, propiedad, valores, n);
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
    while (!ObjetosPropios.empty()) {
        delete ObjetosPropios.back();
        ObjetosPropios.pop_back();
    }
    if (Grafica != nullptr && PEdestroy != nullptr)
        PEdestroy(Grafica);
    Grafica = nullptr;
    for (std::unique_ptr<QLibrary>* modulo :
         {&LibreriaGrafica, &ModuloConfiguracion, &ModuloTablas, &ModuloExtra, &ModuloExportar}) {
        if (*modulo)
            (*modulo)->unload();
        modulo->reset();
    }
    PEdestroy = nullptr;
    PEnget = nullptr;
    PEnset = nullptr;
    PEvget = nullptr;
    PEvset = nullptr;
    PEreinitialize = nullptr;
    PEresetimage = nullptr;
    PEresetimageEx = nullptr;
    PEcreateserialdate = nullptr;
    PEdecipherserialdate = nullptr;
    PEgetmeta = nullptr;
    PEvgetcellEx = nullptr;
    m_liberada = true;
}

void TWGraficaGenerica::closeEvent(QCloseEvent* e) {
    if (!m_cerrada) {
        m_cerrada = true;
        BorrarClavesArmonicos();
        if (TGrafica* driver = Driver()) {
            Comando cierre(kComandoCierre);
            TValorMultiple vacia;
            driver->ProgCom(&cierre, &vacia, 0, nullptr);
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
        AtenderGrafica(static_cast<PENotifyEvent*>(e)->code());
        return true;
    }
    return QWidget::event(e);
}
