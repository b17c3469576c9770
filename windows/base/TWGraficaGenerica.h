#pragma once

#include "HistorialZoom.h"
#include "PEApi.h"
#include "TTiempo.h"

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
class TGrafica;
class TValorMultiple;

// Base form of every graph window: the toolbar and popup menu with their captions and hints,
// the interval navigation, the group and zoom button states, the zoom history, chart placement
// and minimum height, bitmap capture, printing, the appearance preferences applied to the chart,
// and the release of everything at close. The window frees itself when closed.
//
// Every toolbar button and menu item calls one virtual operation; graph classes implement the
// pure ones. The base gives the common behaviour of export, copy, print and the two zoom-outs.
class TWGraficaGenerica : public QWidget {
    Q_OBJECT

public:
    TWGraficaGenerica(QWidget* propietario, TGrafica* driver, ServidorMonitores* servidor, DrivFlex* fuente);
    ~TWGraficaGenerica() override;

    // Virtual operations, in slot order.
    virtual TGrafica* DameDriver();
    // Loads the current interval into the chart and redraws; with `colores` (NumSeries
    // 0x00BBGGRR values) every point first takes its series' new colour.
    virtual void PintarGrafica(const std::int32_t* colores = nullptr) = 0;
    // -2 Group, -1 Ungroup, 0..5 a level.
    virtual void Agrupar(int nivel) = 0;
    virtual void Imprimir();
    virtual void ExportarBMP();
    virtual void CopiarPortapapeles();
    virtual void Configurar() = 0;
    virtual void ZoomOut();
    virtual void ZoomOutParcial();
    virtual HPE DameGrafica() { return Grafica; }
    virtual QLibrary* DameLibreria() { return LibreriaGrafica.get(); }
    virtual int DameNumeroEjes() = 0;
    virtual void MostrarIntervalo() = 0;
    virtual void PonerColorFondo(std::uint32_t color) { ColorFondo = color; }
    virtual void Propiedades() = 0;
    virtual void AtenderGrafica(int codigo) = 0;
    virtual void Lista() = 0;
    virtual void ExportarTXT() = 0;

    // getters:
    int DamePasos() const { return Pasos; }
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

    // Minimum window height for a width: grows with the width from 150 to 320.
    static int AlturaMinima(int ancho);

    // Handlers of the toolbar buttons and menu items.
    void ExportBMPClick();
    void PortapapelesClick();
    void ConfigureClick();
    void PreviousPlusClick();
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
    // Services for the graph classes.
    void ActualizarBotonesIntervalo();
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
    // A reference on every distinct data object of the rows (third integer: its handle), held
    // until the window closes.
    void TomarReferencias(const TValorMultiple& objetosGrafica);
    // The graph class frees its own data here; called by the close sequence.
    virtual void LiberarDatos() {}
    TGrafica* Driver() const;

    // reimplemented virtual methods:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    // Objects obtained from sibling modules, destroyed newest first at close.
    std::vector<ObjGen*> ObjetosPropios;
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

    PEdestroyFn PEdestroy = nullptr;
    PEngetFn PEnget = nullptr;
    PEnsetFn PEnset = nullptr;
    PEvgetFn PEvget = nullptr;
    PEvsetFn PEvset = nullptr;
    PEreinitializeFn PEreinitialize = nullptr;
    PEresetimageFn PEresetimage = nullptr;
    PEresetimageExFn PEresetimageEx = nullptr;
    PEcreateserialdateFn PEcreateserialdate = nullptr;
    PEdecipherserialdateFn PEdecipherserialdate = nullptr;
    // Used for printing when the library has them.
    PEgetmetaFn PEgetmeta = nullptr;
    PEvgetcellExFn PEvgetcellEx = nullptr;

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
    void CargarLibreria();
    void SoltarReferencias();
    void ImprimirEn(QPrinter& impresora);
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
};
