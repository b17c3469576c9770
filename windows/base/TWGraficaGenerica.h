#pragma once

#include "EnlaceGrafica.h"
#include "HistorialZoom.h"
#include "RefObj.h"
#include "TTiempo.h"
#include "TValorMultiple.h"

#include <QJsonObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class DrivFlex;
class ObjGen;
class QAction;
class QLibrary;
class QMenu;
class QPainter;
class QPrinter;
class QToolBar;
class ServidorMonitores;
class TDriverVentana;

// Base form of every graph window: the toolbar and popup menu with their captions and hints,
// the interval navigation, the group and zoom button states, the zoom history, chart placement
// and minimum height, bitmap capture, printing, the appearance preferences applied to the chart,
// and the release of everything at close. The window frees itself when closed.
//
// Every toolbar button and menu item calls one virtual operation; graph classes implement the
// pure ones. The base gives the common behaviour of export, copy, print, the two zoom-outs, the
// chart notifications, the configurator and the record list and export.
//
// A window is built in two steps: its constructor copies its data, then Iniciar (called by the
// window factory) runs the fixed sequence: create the chart, the settings every window shares,
// the window's own Construir step, the appearance preferences, its Cargar step, RestaurarVista,
// and the first redraw.
class TWGraficaGenerica : public QWidget {
    Q_OBJECT

public:
    TWGraficaGenerica(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                      DrivFlex* fuente);
    ~TWGraficaGenerica() override;

    // The build sequence; raises the host exception when the chart cannot be made.
    void Iniciar();

    // Virtual operations, in slot order.
    // The window driver, with a new reference for the caller (nullptr once it is gone).
    virtual DrivFlex* DameDriver();
    // Loads the current interval into the chart and redraws; with `colores` (NumSeries
    // 0x00BBGGRR values) every point first takes its series' new colour.
    virtual void PintarGrafica(const std::int32_t* colores = nullptr) = 0;
    // -2 Group, -1 Ungroup, 0..5 a level.
    virtual void Agrupar(int nivel) = 0;
    virtual void Imprimir();
    virtual void ExportarBMP();
    virtual void CopiarPortapapeles();
    // Runs the graph configurator of ViewerSetup over the window driver.
    virtual void Configurar();
    virtual void ZoomOut();
    virtual void ZoomOutParcial();
    virtual HPE DameGrafica() { return Grafica; }
    virtual QLibrary* DameLibreria() { return LibreriaGrafica.get(); }
    virtual int DameNumeroEjes() = 0;
    virtual void MostrarIntervalo() = 0;
    virtual void PonerColorFondo(std::uint32_t color) { ColorFondo = color; }
    virtual void Propiedades() {}
    // Cursor moves, zoom, right click, F1 and Z.
    virtual void AtenderGrafica(int codigo);
    // The window's records, as a table (TableViewer) or a text file (DataExport).
    virtual void Lista();
    virtual void ExportarTXT();

    // A summary of what the window shows, without pixels: caption, graph kind, series names
    // and units, intervals and the interval shown, grouping level, plus each family's figures.
    // The host reads it by name (no link to the engine).
    Q_INVOKABLE virtual QJsonObject Describir();
    // Prints through the window's own print path onto the current page of a document the host
    // is printing (`impresora` a QPrinter, `pintor` a QPainter active on it); the host calls it
    // by name.
    Q_INVOKABLE void ImprimirEnDocumento(void* impresora, void* pintor);

    // getters:
    int DamePasos() const { return Pasos; }
    int DameTipoGrafica() const { return m_tipoGrafica; }
    int DameIntervaloActual() const { return IntervaloActual; }
    const HistorialZoom& DameHistorialZoom() const { return m_historialZoom; }
    QToolBar* DameBotones() const { return Botones; }
    QMenu* DameMenu() const { return PopupMenu1; }
    // The tool button or menu item with that control name (nullptr when none).
    QAction* Accion(const QString& nombre) const;

    // setters:
    // The large step from its text: at most three decimal digits (empty means 0); anything
    // else is ignored. Stored under PASOS.
    void PonerPasos(const char* texto);
    // Prints on this printer instead of the system's (tests and batch runs print to PDF); not
    // owned. With a painter already active on it, the page goes on that painter's current page,
    // so a batch run can put one graph per page of one document.
    void PonerImpresora(QPrinter* impresora, QPainter* pintor = nullptr) {
        m_impresora = impresora;
        m_pintor = pintor;
    }
    // The graph kind the window was made for (set by the window factory).
    void PonerTipoGrafica(int tipo) { m_tipoGrafica = tipo; }

    // Minimum window height for a width: grows with the width from 150 to 320.
    static int AlturaMinima(int ancho);

    // Handlers of the toolbar buttons and menu items.
    void ExportBMPClick();
    void PortapapelesClick();
    void ConfigureClick();
    void PreviousPlusClick();
    // Ctrl+Home / Ctrl+End: the first or the last interval.
    void IrAlExtremo(bool ultimo);
    void PreviousClick();
    void NextClick();
    void NextPlusClick();
    void GroupClick();
    void UngroupClick();
    void ZoomOutClick();
    void ZoomOutParcialClick();
    void MegaConfigClick();
    void zoomout1Click();
    void zoomoutparcial1Click();
    void configurar1Click();
    void megaconfigurar1Click();
    void ListaPopUpClick();
    void ExportarTXTClick();
    void VerToolBarClick();
    void Portapapeles1Click();
    void Exportar1Click();
    void imprimir1Click();

protected:
    // Steps of Iniciar for the graph classes: the chart's shape (series, points, axes) before
    // the appearance preferences are applied, then the data and titles after them.
    virtual void Construir() {}
    virtual void Cargar() {}
    // Puts back the grouping level and interval a saved view holds.
    virtual void RestaurarVista() {}
    // The interval a saved view holds (0 without one).
    int IntervaloGuardado() const;
    // Shows the saved interval, within the intervals there are.
    void RestaurarIntervalo();
    // A grouped window's saved view: its level, also asked of the driver, then its interval. A
    // window without one takes the level the driver saved; `soloSiCambia` leaves the window
    // as it is when that is the level it already shows.
    void RestaurarAgrupada(bool soloSiCambia);
    // The cursor read-out text for the point under the cursor.
    virtual void PonerLectura() {}
    // Help context on F1, and the context string of the exceptions raised while building.
    virtual int ContextoAyuda() const { return 0; }
    virtual int ContextoExcepcion() const;
    // The rows handed to TableViewer and DataExport: first key, second key, data driver,
    // grouping level, interval.
    virtual TValorMultiple RegistrosLista();
    // Series names and units for Describir.
    virtual QStringList NombresSeries() const { return {}; }
    virtual QStringList UnidadesSeries() const { return {}; }
    virtual int NivelActual() const { return -10; }

    // Runs a handler and reports a host exception through the message service instead of
    // letting it cross the event loop.
    void Protegido(const std::function<void()>& accion);

    // Services for the graph classes.
    void ActualizarBotonesIntervalo();
    // Previous and Next hints of windows that step through records or events: the position
    // each leads to and the count.
    void PonerHintsRegistro();
    // New level for a mode (-1, -2) or a level; -1 and -2 are also written to the driver.
    int ActualizarBotonesAgrupar(int modo, int nivelActual);
    void ActualizarBotonesZoom(bool zoomOut, bool ultimoZoom);
    void ColocarGrafica();
    // Mode 0 writes a file in the format its extension names (PNG, SVG, else BMP), mode 1
    // copies to the clipboard; false when nothing was captured.
    bool CapturarGrafica(int modo, const QString& fichero);
    void MostrarMenuEmergente();
    // The chart's serial date of a time; widens [primera, ultima] to include it when both given.
    double FechaSerie(const TTiempo& tiempo, TTiempo* primera = nullptr, TTiempo* ultima = nullptr);
    void AplicarColoresFondo();
    void AplicarColoresSeries();
    void AplicarTiposLinea();
    void AplicarTiposPunto();
    // Sets a per-series array property from one value per series.
    void PonerPorSerie(int propiedad, const std::function<std::int32_t(int)>& valor);
    void BorrarClavesArmonicos();
    void LiberarRecursos();
    // Re-initialises the chart, resets its image and invalidates it.
    void Redibujar();
    // The settings every graph window gives its chart first.
    void AjustesComunes();
    // Stacked vertical axes, top first: each with its label and its number of consecutive
    // subsets, drawn with `metodo`, its share of the height by that number. Answers the count.
    int PonerEjes(const std::vector<std::pair<QString, int>>& ejes, int metodo);
    // Keeps the data references and a reference on every distinct data object of the rows
    // (third integer: its handle), held until the window closes.
    void TomarReferencias(const TValorMultiple& objetosGrafica);
    // The graph class frees its own data here; called by the close sequence.
    virtual void LiberarDatos() {}
    // Prints once the printer is chosen: one page of the chart as it is. Windows that print
    // several pages (one per record) put theirs here, each page through ImprimirEn.
    virtual void ImprimirPaginas(QPrinter& impresora) { ImprimirEn(impresora); }
    // Plays the chart on the current page of `impresora` (on the painter given with
    // PonerImpresora when it is active there, else on a painter of its own).
    void ImprimirEn(QPrinter& impresora);
    // The painter a host printing several graphs into one document gave (nullptr when none).
    QPainter* PintorFijado() const { return m_pintor; }
    void PonerPintor(QPainter* pintor) { m_pintor = pintor; }

    // The window's data references (list 9): first key, second key, data driver[, level,
    // interval].
    TValorMultiple ObjetosGrafica;
    TDriverVentana* Driver() const;

    // reimplemented virtual methods:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    // Objects obtained from sibling modules, released newest first at close.
    std::vector<RefObj> ObjetosPropios;
    std::unique_ptr<QLibrary> ModuloConfiguracion;
    std::unique_ptr<QLibrary> ModuloTablas;
    std::unique_ptr<QLibrary> ModuloExtra;
    std::unique_ptr<QLibrary> ModuloExportar;
    HPE Grafica = nullptr;
    std::unique_ptr<QLibrary> LibreriaGrafica;
    int NumSeries = 0;
    int NumPuntos = 0;
    std::uint32_t ColorFondo = 0;
    int NumIntervalos = 0;
    int IntervaloActual = 0;
    int PrimerIntervalo = 0;
    int UltimoIntervalo = 0;
    int Pasos = 10;

    ServidorMonitores* m_servidor = nullptr;
    DrivFlex* m_fuente = nullptr;

    // The charting library's entry points, bound to this window's chart.
    EnlaceGrafica Pe;
    // While a window reloads its chart, cursor notifications are not answered.
    bool Ocupado = false;

    QToolBar* Botones = nullptr;
    QAction* ExportBMP = nullptr;
    QAction* Portapapeles = nullptr;
    QAction* Configure = nullptr;
    QAction* PreviousPlus = nullptr;
    QAction* Previous = nullptr;
    QAction* Next = nullptr;
    QAction* NextPlus = nullptr;
    QAction* Group = nullptr;
    QAction* Ungroup = nullptr;
    QAction* ZoomOutBoton = nullptr;
    QAction* ZoomOutParcialBoton = nullptr;
    QAction* MegaConfig = nullptr;
    QAction* ListaBoton = nullptr;
    QAction* Exportar = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* zoomout1 = nullptr;
    QAction* zoomoutparcial1 = nullptr;
    QAction* configurar1 = nullptr;
    QAction* megaconfigurar1 = nullptr;
    QAction* ListaPopUp = nullptr;
    QAction* ExportarTXTItem = nullptr;
    QAction* VerToolBar = nullptr;
    QAction* Portapapeles1 = nullptr;
    QAction* Exportar1 = nullptr;
    QAction* imprimir1 = nullptr;

private:
    void CrearControles();
    void PonerTextos();
    void PonerHintsPasos();
    void EnviarRegistros(std::unique_ptr<QLibrary>& modulo, const char* fichero);
    void SoltarReferencias();
    void ImprimirAPdf(QPrinter& impresora);
    bool GuardarSvg(const QString& fichero);

    // The driver is reached through its handle: the host may destroy it first.
    std::int32_t m_driver = 0;
    HistorialZoom m_historialZoom;
    std::vector<std::int32_t> m_referencias;
    QPrinter* m_impresora = nullptr;
    QPainter* m_pintor = nullptr;
    bool m_liberada = false;
    bool m_cerrada = false;
    int m_tipoGrafica = -1;
};
