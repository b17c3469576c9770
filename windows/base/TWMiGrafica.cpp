#include "TWMiGrafica.h"

#include "Agrupacion.h"
#include "ChartProperties.h"
#include "Comando.h"
#include "LecturaCursor.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "ObjGen.h"
#include "TGrafica.h"
#include "Textos.h"
#include "UserInteraction.h"
#include "VTXExcepcion.h"

#include <QLibrary>

#include <algorithm>

namespace {

// Help context of the multigraphic window (F1).
constexpr int kContextoAyuda = 50;
constexpr int kTeclaF1 = 112;
constexpr int kTeclaZ = 90;

} // namespace

TWMiGrafica::TWMiGrafica(QWidget* propietario, TGrafica* driver, ServidorMonitores* servidor,
                         ListasAtributos& listas, DrivFlex* fuente)
    : TWGraficaGenerica(propietario, driver, servidor, fuente) {
    ResolverEntradas();

    m_datos = std::make_unique<DatosMultigrafica>(
        listas[LV_VALORES], listas[LV_TIEMPOS], listas[LV_UNIDADES], listas[LV_NOMBRES], listas[LV_OPCIONES],
        listas[LV_INTERVALOS], listas[LV_DECIMALES], [this](const TTiempo& t) { return FechaSerie(t); });
    ObjetosGrafica = listas[LV_OBJETOS];
    NumSeries = m_datos->NumSeries();
    NumPuntos = m_datos->NumPuntos();
    NumIntervalos = static_cast<int>(m_datos->IntervalosEntregados().size()) / 2;
    NivelAgrupacion = ActualizarBotonesAgrupar(Agrupacion::NIVEL_DEFECTO, Agrupacion::NIVEL_DEFECTO);

    // The delivered intervals are the starting view.
    const Agrupacion::Agrupamiento inicial = Agrupacion::CalcularAgrupacion(
        Agrupacion::NIVEL_DEFECTO, m_datos->Tiempos().data(), NumPuntos,
        m_datos->IntervalosEntregados().data(), static_cast<int>(m_datos->IntervalosEntregados().size()),
        m_datos->PeriodoRegistro(), nullptr);
    m_datos->PonerRangos(inicial.rangos);
    NumIntervalos = inicial.numIntervalos;
    UltimoIntervalo = NumIntervalos - 1;
    TomarReferencias(ObjetosGrafica);

    const QRect r = rect();
    const PERect rectangulo{r.left(), r.top(), r.right(), r.bottom()};
    Grafica = PEcreate(304, 0, &rectangulo, this, 1);
    if (Grafica == nullptr)
        VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), 1000, CargarTexto(TXT_NO_CREA_GRAFICA),
                                      CargarTexto(TXT_CTX_TWMIGRAFICA));

    AjustesIniciales();
    ConstruirEjes();
    AplicarColoresSeries();
    AplicarTiposLinea();
    AplicarColoresFondo();
    AplicarTiposPunto();
    CargarIntervalo(NumIntervalos > 1 ? IntervaloActual : -1);
    RotularGrafica();
    ColorearPuntos();
    RestaurarVista();

    ActualizarBotonesIntervalo();
    Redibujar();
    ColocarGrafica();
}

TWMiGrafica::~TWMiGrafica() = default;

void TWMiGrafica::ResolverEntradas() {
    if (!LibreriaGrafica)
        VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), 11, CargarTexto(TXT_FALLA_LIBRERIA),
                                      CargarTexto(TXT_CTX_TWMIGRAFICA));
    QLibrary* lib = LibreriaGrafica.get();
    PEcreate = reinterpret_cast<PEcreateFn>(host::resolveEntry(lib, "PEcreate"));
    PEszset = reinterpret_cast<PEszsetFn>(host::resolveEntry(lib, "PEszset"));
    PEszget = reinterpret_cast<PEszgetFn>(host::resolveEntry(lib, "PEszget"));
    PEprintgraph = reinterpret_cast<PEprintgraphFn>(host::resolveEntry(lib, "PEprintgraph"));
    PEgetmeta = reinterpret_cast<PEgetmetaFn>(host::resolveEntry(lib, "PEgetmeta"));
    PEvgetcellEx = reinterpret_cast<PEvgetcellExFn>(host::resolveEntry(lib, "PEvgetcellEx"));
    PEvsetcell = reinterpret_cast<PEvsetcellFn>(host::resolveEntry(lib, "PEvsetcell"));
    PEvgetcell = reinterpret_cast<PEvgetcellFn>(host::resolveEntry(lib, "PEvgetcell"));
    PEsavetofile = reinterpret_cast<PEsavetofileFn>(host::resolveEntry(lib, "PEsavetofile"));
    PElaunchprintdialog =
        reinterpret_cast<PElaunchprintdialogFn>(host::resolveEntry(lib, "PElaunchprintdialog"));
    PEstorepartial = reinterpret_cast<PEstorepartialFn>(host::resolveEntry(lib, "PEstorepartial"));
    // The base entry points are needed as much as these eight.
    const bool faltaBase = !PEnset || !PEnget || !PEvset || !PEvget || !PEreinitialize || !PEresetimage ||
                           !PEcreateserialdate || !PEdecipherserialdate || !PEdestroy;
    if (faltaBase || !PEcreate || !PEszset || !PEszget || !PEprintgraph || !PEgetmeta || !PEvgetcellEx ||
        !PEvsetcell || !PEvgetcell)
        VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), 1000, CargarTexto(TXT_NO_CREA_GRAFICA),
                                      CargarTexto(TXT_CTX_TWMIGRAFICA));
}

void TWMiGrafica::ponerDouble(int propiedad, double valor) {
    PEvset(Grafica, propiedad, &valor, 1);
}

void TWMiGrafica::ponerTexto(int propiedad, const QString& texto) {
    PEszset(Grafica, propiedad, texto.toUtf8().constData());
}

void TWMiGrafica::AjustesIniciales() {
    PEnset(Grafica, PEP_SUBSETS, NumSeries);
    PEnset(Grafica, PEP_POINTS, NumPuntos);
    // Chart behaviour the window relies on: table, grid, cursor and zoom settings.
    const int enteros[][2] = {
        {PEP_2155, 1},         {PEP_3269, 0}, {PEP_2335, 0},       {PEP_3242, 80}, {PEP_XLABELSIZE, 80},
        {PEP_3243, 80},        {PEP_2435, 1}, {PEP_2240, 0},       {PEP_2165, 0},  {PEP_2180, 0},
        {PEP_2632, 0},         {PEP_3282, 3}, {PEP_3652, 1},       {PEP_3069, 1},  {PEP_3057, 0},
        {PEP_3642, 0},         {PEP_3210, 1}, {PEP_2605, 0},       {PEP_3231, 0},  {PEP_3232, 0},
        {PEP_3205, 0},         {PEP_2170, 0}, {PEP_2600, 0},       {PEP_3233, 0},  {PEP_3234, 0},
        {PEP_2622, 1},         {PEP_2620, 0}, {PEP_CURSORMODE, 2}, {PEP_3064, 0},  {PEP_2623, 0},
        {PEP_3290, 0},         {PEP_3223, 0}, {PEP_3227, 0},       {PEP_3226, 0},  {PEP_3016, 1},
        {PEP_3017, 1},         {PEP_3018, 2}, {PEP_3100, 3},       {PEP_3032, 2},  {PEP_3046, 3},
        {PEP_XSERIALDATES, 1},
    };
    for (const auto& p : enteros)
        PEnset(Grafica, p[0], p[1]);
    // More series leave less room to the graph and more to the read-out.
    ponerDouble(PEP_GRAPHSHARE, std::max(0.6, 0.95 - 0.04 * (NumSeries - 1)));
    ponerDouble(PEP_NULLX, DatosMultigrafica::kNulo);
    ponerDouble(PEP_NULLY, DatosMultigrafica::kNulo);
}

void TWMiGrafica::ConstruirEjes() {
    const std::vector<DatosMultigrafica::Eje> ejes = m_datos->Ejes();
    std::vector<std::int32_t> porEje;
    std::vector<double> partes;
    for (size_t i = 0; i < ejes.size(); ++i) {
        PEnset(Grafica, PEP_WORKINGAXIS, static_cast<int>(i));
        PEnset(Grafica, PEP_3045, 1);
        PEnset(Grafica, PEP_PLOTMETHOD, m_datos->Metodo());
        ponerTexto(PEP_YAXISLABEL, ejes[i].etiqueta);
        porEje.push_back(ejes[i].series);
        partes.push_back(NumSeries > 0 ? static_cast<double>(ejes[i].series) / NumSeries : 1.0);
    }
    PEvset(Grafica, PEP_SUBSETSPERAXIS, porEje.data(), static_cast<int>(porEje.size()));
    PEvset(Grafica, PEP_AXISSHARES, partes.data(), static_cast<int>(partes.size()));
    NumEjes = static_cast<int>(ejes.size());
}

void TWMiGrafica::RotularGrafica() {
    const QString titulo = m_datos->TituloPrincipal(Texto(TXT_MULTIGRAPHIC));
    setWindowTitle(titulo);
    ponerTexto(PEP_MAINTITLE, titulo);
    if (NumSeries > 1)
        ponerTexto(PEP_MULTISUBTITLES, m_datos->Subtitulos());
    ponerTexto(PEP_SUBTITLE,
               DatosMultigrafica::TituloIntervalo(NivelAgrupacion, IntervaloActual, NumIntervalos));
    ponerTexto(PEP_XAXISLABEL, m_datos->EtiquetaX());
}

void TWMiGrafica::CargarIntervalo(int intervalo) {
    m_datos->CargarIntervalo(m_datos->Rangos().empty() ? -1 : intervalo, m_x, m_y);
    PEnset(Grafica, PEP_POINTS, m_datos->PuntosMostrados());
    PEvset(Grafica, PEP_XDATA, m_x.data(), static_cast<int>(m_x.size()));
    PEvset(Grafica, PEP_YDATA, m_y.data(), static_cast<int>(m_y.size()));
}

void TWMiGrafica::ColorearPuntos() {
    std::vector<std::int32_t> subsets(static_cast<size_t>(std::max(0, NumSeries)));
    const int n = PEvget(Grafica, PEP_SUBSETCOLORS, subsets.data(), static_cast<int>(subsets.size()));
    subsets.resize(static_cast<size_t>(std::clamp(n, 0, NumSeries)));
    const std::vector<std::int32_t> colores =
        DatosMultigrafica::ColoresPuntos(m_y, NumSeries, subsets, static_cast<std::int32_t>(ColorFondo));
    PEvset(Grafica, PEP_POINTCOLORS, colores.data(), static_cast<int>(colores.size()));
    // A single point per series is drawn as a marker big enough to be seen.
    PEnset(Grafica, PEP_FORCEDMETHOD, m_datos->PuntosMostrados() == 1 ? 4 : 0);
}

QString TWMiGrafica::TextoCursor(int* filas) {
    if (NumSeries <= 0 || m_datos->PuntosMostrados() <= 0) {
        if (filas)
            *filas = 0;
        return QString();
    }
    const int serie = std::clamp(PEnget(Grafica, PEP_CURSORSUBSET), 0, NumSeries - 1);
    int punto = std::max(0, PEnget(Grafica, PEP_CURSORPOINT));
    if (punto >= m_datos->PuntosMostrados()) {
        punto = m_datos->PuntosMostrados() - 1;
        PEnset(Grafica, PEP_CURSORPOINT, punto);
    }
    const int periodo = m_datos->PeriodoMinimo();
    const bool cierra = m_datos->Opcion(serie, OPC_CIERRA_PERIODO) != 0.0;
    LecturaCursor::Lectura l;
    l.valor = m_y[static_cast<size_t>(serie) * static_cast<size_t>(m_datos->PuntosMostrados()) +
                  static_cast<size_t>(punto)];
    l.maximo = m_datos->Maximo(serie);
    l.minimo = m_datos->Minimo(serie);
    l.decimales = m_datos->Decimales(serie);
    l.unidad = m_datos->Unidad(serie);
    l.fecha = LecturaCursor::FormatearFecha(m_datos->TiempoMostrado(punto), periodo, cierra);
    l.desde = LecturaCursor::FormatearFecha(m_datos->PrimeraFecha(), periodo, cierra);
    l.hasta = LecturaCursor::FormatearFecha(m_datos->UltimaFecha(), periodo, cierra);
    l.mostrarVariable = NumSeries > 1 && PEnget(Grafica, PEP_CURSORMODE) != 0;
    l.nombreVariable = m_datos->Nombre(serie);
    return LecturaCursor::Texto(l, filas);
}

void TWMiGrafica::PonerLectura() {
    ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWMiGrafica::Redibujar() {
    PEreinitialize(Grafica);
    PEresetimage(Grafica, 0, 0);
    Grafica->update();
    Grafica->setFocus();
}

void TWMiGrafica::MostrarIntervalo() {
    host::WaitCursor espera;
    if (NumIntervalos > 1) {
        Ocupado = true;
        CargarIntervalo(IntervaloActual);
        PEnset(Grafica, PEP_ZOOMED, 0);
        ActualizarBotonesZoom(false, false);
        PonerLectura();
        Ocupado = false;
    }
    ColorearPuntos();
    RotularGrafica();
    Redibujar();
}

void TWMiGrafica::PintarGrafica(const std::int32_t* colores) {
    if (colores != nullptr && NumSeries > 0)
        PEvset(Grafica, PEP_SUBSETCOLORS, colores, NumSeries);
    CargarIntervalo(NumIntervalos < 2 ? -1 : IntervaloActual);
    if (PuntoCursor >= 0) {
        PEnset(Grafica, PEP_CURSORPOINT, PuntoCursor);
        PuntoCursor = -1;
    }
    PEnset(Grafica, PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    ColorearPuntos();
    Redibujar();
}

void TWMiGrafica::Agrupar(int nivel) {
    if (nivel < 0) {
        // The driver hears of the new level and calls back with it when it changed.
        ActualizarBotonesAgrupar(nivel, NivelAgrupacion);
        return;
    }
    if (nivel > Agrupacion::NIVEL_DEFECTO)
        return;
    host::WaitCursor espera;
    NivelAgrupacion = ActualizarBotonesAgrupar(nivel, nivel);

    // Keep the user's place: the time under the cursor before the cut.
    const bool conCursor = m_datos->PuntosMostrados() > 0;
    const TTiempo cursor = m_datos->TiempoMostrado(std::max(0, PEnget(Grafica, PEP_CURSORPOINT)));
    const std::vector<TTiempo>& entregados = m_datos->IntervalosEntregados();
    const Agrupacion::Agrupamiento a = Agrupacion::CalcularAgrupacion(
        nivel, m_datos->Tiempos().data(), NumPuntos, entregados.data(), static_cast<int>(entregados.size()),
        m_datos->PeriodoRegistro(), conCursor ? &cursor : nullptr);
    m_datos->PonerRangos(a.rangos);
    NumIntervalos = a.numIntervalos;
    PrimerIntervalo = 0;
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::clamp(a.intervaloActual, 0, std::max(0, UltimoIntervalo));
    PuntoCursor = a.puntoCursor;
    // Only the ungrouped view limits how far apart joined points may be.
    ponerDouble(PEP_MAXGAP, a.conEspaciado ? a.espaciado : 0.0);

    RotularGrafica();
    ActualizarBotonesIntervalo();
    PintarGrafica(nullptr);
    RotularGrafica();
    ColocarGrafica();
}

void TWMiGrafica::RestaurarVista() {
    TGrafica* driver = Driver();
    if (ObjetosGrafica.Cuenta() == 0 || ObjetosGrafica.Elementos(0) < 4) {
        int nivel = Agrupacion::NIVEL_DEFECTO;
        if (driver != nullptr)
            driver->GetPropertyValue(0, 3, &nivel);
        if (nivel >= 0 && nivel <= Agrupacion::NIVEL_DEFECTO)
            Agrupar(nivel);
        return;
    }
    const int nivel = ObjetosGrafica.Entero(0, 3);
    if (nivel < 0 || nivel > Agrupacion::NIVEL_DEFECTO)
        return;
    ActualizarBotonesAgrupar(nivel, nivel);
    if (driver != nullptr)
        driver->SetPropertyValue(0, 3, nivel);
    Agrupar(nivel);
    const int intervalo = ObjetosGrafica.Elementos(0) >= 5 ? ObjetosGrafica.Entero(0, 4) : 0;
    IntervaloActual = std::clamp(intervalo, 0, std::max(0, NumIntervalos - 1));
    MostrarIntervalo();
}

void TWMiGrafica::AtenderGrafica(int codigo) {
    switch (codigo) {
    case PEN_CURSORMOVED:
        if (!Ocupado) {
            PonerLectura();
            PEresetimage(Grafica, 0, 0);
            Grafica->update();
        }
        break;
    case PEN_3956:
        PEnset(Grafica, PEP_3205, 0);
        break;
    case PEN_3957:
        PEnset(Grafica, PEP_3205, 1);
        break;
    case PEN_ZOOMDONE:
        ActualizarBotonesZoom(true, true);
        break;
    case PEN_RIGHTCLICK:
        MostrarMenuEmergente();
        break;
    case PEN_KEY: {
        const int tecla = PEnget(Grafica, PEP_LASTKEY);
        if (tecla == kTeclaF1)
            host::HelpService::show(kContextoAyuda);
        else if (tecla == kTeclaZ)
            ZoomOut();
        break;
    }
    default:
        break;
    }
}

void TWMiGrafica::Configurar() {
    if (!ModuloConfiguracion) {
        ModuloConfiguracion = host::loadModule(QStringLiteral("ViewerSetup.vlk"));
        if (!ModuloConfiguracion)
            VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), 11, CargarTexto(TXT_FALLA_VIEWERSETUP),
                                          CargarTexto(TXT_CTX_CONFIGURAR));
    }
    auto dameObjeto =
        reinterpret_cast<ViewerSetupFn>(host::resolveEntry(ModuloConfiguracion.get(), "_DameObjeto"));
    if (dameObjeto == nullptr)
        return;
    ConfiguradorGrafica = dameObjeto(nullptr, this, 5, Driver());
    if (ConfiguradorGrafica == nullptr)
        return;
    Comando titulo(402);
    const TValor texto = TValor::Texto(CargarTexto(TXT_GRAPH_CONFIGURATOR));
    titulo.EntrarParam(&texto);
    TValorMultiple vacia;
    if (auto* driver = dynamic_cast<DrivFlex*>(ConfiguradorGrafica))
        driver->ProgCom(&titulo, &vacia, 0, nullptr);
    ObjetosPropios.push_back(ConfiguradorGrafica);
}

void TWMiGrafica::EnviarRegistros(std::unique_ptr<QLibrary>& modulo, const char* fichero) {
    if (!modulo)
        modulo = host::loadModule(QString::fromLatin1(fichero));
    auto dameObjeto2 = reinterpret_cast<ModuloRegistrosFn>(host::resolveEntry(modulo.get(), "_DameObjeto2"));
    if (dameObjeto2 == nullptr)
        return;
    TValorMultiple registros;
    for (int i = 0; i < ObjetosGrafica.Cuenta(); ++i)
        registros.EntrarEnteros({ObjetosGrafica.Entero(i, 0), ObjetosGrafica.Entero(i, 1),
                                 ObjetosGrafica.Entero(i, 2), NivelAgrupacion, IntervaloActual});
    ObjGen* objeto = dameObjeto2(0, m_servidor, m_fuente, &registros);
    if (objeto != nullptr && objeto->DecRef() != 0)
        delete objeto;
}

void TWMiGrafica::Lista() {
    EnviarRegistros(ModuloTablas, "TableViewer.vlk");
}

void TWMiGrafica::ExportarTXT() {
    EnviarRegistros(ModuloExportar, "DataExport.vlk");
}

void TWMiGrafica::LiberarDatos() {
    m_x.clear();
    m_y.clear();
    ObjetosGrafica.DeleteAll();
}
