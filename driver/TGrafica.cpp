#include "TGrafica.h"

#include "ChartProperties.h"
#include "Comando.h"
#include "FabricaVentanas.h"
#include "Intake.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "PaginasGrafica.h"
#include "Reparto.h"
#include "ServidorMonitores.h"
#include "TValor.h"
#include "TValorMultiple.h"
#include "TWGraficaGenerica.h"
#include "TablasColores.h"
#include "Textos.h"
#include "TiposGrafica.h"
#include "UserInteraction.h"
#include "VTXExcepcion.h"

#include <QLibrary>

#include <algorithm>
#include <cstring>

namespace {

enum Pagina : int { PAG_GENERAL = 0, PAG_SALIDAS = 1, PAG_COLORES = 2, PAG_TIPOS_LINEA = 3 };

// The graph selector's mode of the configuration module.
constexpr int kModoSelector = -3;

constexpr size_t kMaxDescripcion = 255;
constexpr size_t kMaxSubtitulo = 99;
constexpr size_t kMaxTitulo = 46;
constexpr size_t kMaxPasoGrande = 15;

// Keeps at most `maximo` bytes, backing off so a UTF-8 character is never split.
std::string Recortar(const char* texto, size_t maximo) {
    if (texto == nullptr)
        return std::string();
    size_t largo = std::strlen(texto);
    if (largo > maximo) {
        largo = maximo;
        while (largo > 0 && (static_cast<unsigned char>(texto[largo]) & 0xC0) == 0x80)
            --largo;
    }
    return std::string(texto, largo);
}

void Copiar(const std::string& texto, char* buffer) {
    if (buffer == nullptr)
        return;
    const size_t n = std::min(texto.size(), static_cast<size_t>(DrivFlex::kTextoPropiedad - 1));
    std::memcpy(buffer, texto.data(), n);
    buffer[n] = '\0';
}

[[noreturn]] void Lanzar(int codigo, int mensaje, int contexto) {
    VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), codigo, CargarTexto(mensaje),
                                  CargarTexto(contexto));
}

} // namespace

// Selection drivers ------------------------------------------------------------------------

TGrafica::TGrafica(ServidorMonitores* servidor, DrivFlex* fuente) : m_servidor(servidor), m_fuente(fuente) {
    TValorMultiple resultado;
    LanzarViewerVARM(resultado, fuente, servidor);
    host::WaitCursor espera;
    RegistrarImprimir();
    if (resultado.Cuenta() > 0 && resultado.Elementos(0) > 0)
        IngresarDialogo(resultado);
}

TGrafica::TGrafica(ServidorMonitores* servidor, TValorMultiple* seleccion) : m_servidor(servidor) {
    host::WaitCursor espera;
    RegistrarImprimir();
    IngresarLista(seleccion);
}

TGrafica::TGrafica(ServidorMonitores* servidor, DrivFlex* fuente, TValorMultiple* seleccion)
    : m_servidor(servidor), m_fuente(fuente) {
    host::WaitCursor espera;
    RegistrarImprimir();
    IngresarCatalogado(seleccion);
}

void TGrafica::IngresarDialogo(const TValorMultiple& resultado) {
    Intake::IngresoDialogo(m_fuente, resultado, m_listas, m_entradasPorVariable);
    Repartir();
}

void TGrafica::IngresarLista(TValorMultiple* seleccion) {
    if (seleccion != nullptr)
        Intake::IngresoLista(*seleccion, m_listas, m_entradasPorVariable);
    Repartir();
}

void TGrafica::IngresarCatalogado(TValorMultiple* seleccion) {
    if (seleccion != nullptr)
        Intake::IngresoCatalogado(m_fuente, *seleccion, m_listas, m_entradasPorVariable);
    Repartir();
}

void TGrafica::Repartir() {
    Reparto::RepartirGraficas(m_listas, m_entradasPorVariable,
                              m_servidor != nullptr ? m_servidor->VentanaPrincipal() : nullptr,
                              [this](int, ListasAtributos& listas) { CrearDriverVentana(listas); });
}

void TGrafica::LanzarViewerVARM(TValorMultiple& resultado, DrivFlex* fuente, ServidorMonitores* servidor) {
    std::unique_ptr<QLibrary> modulo = host::loadModule(QStringLiteral("ViewerSetup.vlk"));
    if (!modulo)
        Lanzar(EXC_MODULO, TXT_FALLA_VIEWERSETUP, TXT_CTX_LANZARVIEWER);

    bool hayFicheros = false;
    for (int p = 0; fuente != nullptr && p < fuente->GetPagesNumber() && !hayFicheros; ++p)
        hayFicheros = fuente->GetPageCat(p) == kCategoriaFicheros && fuente->GetPropertyNumber(p) > 0;
    if (!hayFicheros) {
        host::MessageService::show(servidor ? servidor->VentanaPrincipal() : nullptr, Texto(TXT_WARNING),
                                   Texto(TXT_NO_ELEMENTOS), host::MessageIcon::Warning);
        modulo->unload();
        return;
    }

    auto dameObjeto = reinterpret_cast<ViewerSetupFn>(host::resolveEntry(modulo.get(), "_DameObjeto"));
    if (dameObjeto == nullptr)
        Lanzar(EXC_MODULO, TXT_FALLA_VIEWERSETUP, TXT_CTX_LANZARVIEWER);
    ObjGen* dialogo =
        dameObjeto(m_servidor, servidor ? servidor->VentanaPrincipal() : nullptr, kModoSelector, fuente);
    auto* driverDialogo = dynamic_cast<DrivFlex*>(dialogo);
    if (driverDialogo != nullptr) {
        const std::string titulo = CargarTexto(TXT_GRAPH_SELECTOR);
        const TValor valorTitulo = TValor::Texto(titulo.c_str());
        Comando comandoTitulo(CMD_TITULO);
        comandoTitulo.EntrarParam(&valorTitulo);
        TValorMultiple borrador;
        driverDialogo->ProgCom(&comandoTitulo, &borrador, 0, this);
        driverDialogo->Iniciar();
        Comando comandoSeleccion(CMD_EJECUTAR);
        driverDialogo->ProgCom(&comandoSeleccion, &resultado, 0, this);
    }
    if (dialogo != nullptr && dialogo->DecRef() != 0)
        delete dialogo;
    modulo->unload();
}

TGrafica* TGrafica::CrearDriverVentana(ListasAtributos& listas) {
    auto* driver = new TGrafica(m_servidor, listas, m_fuente);
    // A window driver lives as long as its window: a graph kind without a window class
    // leaves nothing behind.
    if (driver->Ventana() == nullptr) {
        delete driver;
        return nullptr;
    }
    m_driversVentana.push_back(driver->Manejador());
    return driver;
}

TGrafica* TGrafica::DriverVentana(int indice) const {
    if (indice < 0 || indice >= NumDriversVentana())
        return nullptr;
    return dynamic_cast<TGrafica*>(ObjGen::DesdeManejador(m_driversVentana[static_cast<size_t>(indice)]));
}

// Window driver ----------------------------------------------------------------------------

TGrafica::TGrafica(ServidorMonitores* servidor, ListasAtributos& listas, DrivFlex* fuente)
    : m_servidor(servidor), m_fuente(fuente) {
    PonerTipoObjeto(kTipoObjetoGrafica);
    RegistrarImprimir();
    m_actual.descripcion = CargarTexto(TXT_DESCRIPTION);
    m_guardado.descripcion = m_actual.descripcion;
    RegistrarServicios();
    CrearPaginas();

    const TValorMultiple& opciones = listas[LV_OPCIONES];
    for (int fila = 0; fila < opciones.Cuenta(); ++fila)
        m_tipoGrafica = static_cast<int>(opciones.Numero(fila, OPC_TIPO));
    const int tipo = m_tipoGrafica;
    // A kind without a window gets no window below; its pages keep their plain defaults.
    static const RasgosTipo kSinVentana{TG_MULTIGRAFICA,
                                        "",
                                        ReglaReparto::PorVariable,
                                        FamiliaGrafica::Registro,
                                        1,
                                        0,
                                        false,
                                        false,
                                        0,
                                        0,
                                        ReglaSeries::Escritas,
                                        0,
                                        0,
                                        false};
    const RasgosTipo& rasgos = Rasgos(tipo) != nullptr ? *Rasgos(tipo) : kSinVentana;
    m_actual.leyenda = rasgos.leyenda;

    auto* general = static_cast<TPaginaGeneral*>(DameTabla(PAG_GENERAL));
    if (rasgos.agrupable) {
        const TValorMultiple& objetos = listas[LV_OBJETOS];
        int nivel = 4;
        if (objetos.Cuenta() > 0 && objetos.Elementos(0) > OBJ_NIVEL)
            nivel = objetos.Entero(0, OBJ_NIVEL);
        // A saved level outside the six options shows every point.
        m_actual.agrupar = nivel >= 0 && nivel <= 5 ? nivel : 4;
    } else {
        m_actual.agrupar = -1;
        general->QuitarOpcionesAgrupar();
    }

    int seriesEscritas = 0;
    if (!rasgos.eventos) {
        seriesEscritas = std::min(listas[LV_VALORES].Cuenta(), Apariencia::kMaxSeries);
        static_cast<TPaginaColores*>(DameTabla(PAG_COLORES))->PonerSeries(seriesEscritas);
        static_cast<TPaginaTiposLinea*>(DameTabla(PAG_TIPOS_LINEA))->PonerSeries(seriesEscritas);
    } else {
        m_paginaSalidas->QuitarTipo();
        DeleteTabla(PAG_TIPOS_LINEA);
        DeleteTabla(PAG_COLORES);
        m_mostrarTipo = false;
    }

    m_actual.cursor = rasgos.cursor;
    switch (rasgos.series) {
    case ReglaSeries::Tres:
        m_numSeries = 3;
        break;
    case ReglaSeries::FilasOpciones:
        m_numSeries = std::min(opciones.Cuenta(), Apariencia::kMaxSeries);
        break;
    case ReglaSeries::Escritas:
        m_numSeries = seriesEscritas;
        break;
    }
    m_actual.colores.assign(static_cast<size_t>(m_numSeries), 0);
    m_actual.tipos.assign(static_cast<size_t>(m_numSeries), 0);

    LeerApariencia();
    GuardarPropiedades();

    m_ventana = FabricaVentanas::Crear(tipo, servidor ? servidor->VentanaPrincipal() : nullptr, this,
                                       servidor, listas, fuente);
    if (m_ventana == nullptr)
        return;
    try {
        EnlazarGrafica();
    } catch (...) {
        // The window must not outlive a driver that was never made.
        delete m_ventana.data();
        throw;
    }
    if (servidor != nullptr)
        servidor->MostrarVentana(m_ventana);
    else
        m_ventana->show();
}

TGrafica::~TGrafica() = default;

void TGrafica::RegistrarImprimir() {
    EntrarServicio(SRV_IMPRIMIR, CargarTexto(TXT_SRV_IMPRIMIR), CargarTexto(TXT_SRV_IMPRIMIR_DESC), 1, 1);
}

int TGrafica::RegistrarServicios() {
    EntrarServicio(SRV_CIERRE, CargarTexto(TXT_SRV_CIERRE), CargarTexto(TXT_SRV_CIERRE_DESC), 4, 1);
    return 0;
}

void TGrafica::CrearPaginas() {
    AddTabla(new TPaginaGeneral);
    m_paginaSalidas = new TPaginaSalidas(Apariencia::FuentesInstaladas());
    AddTabla(m_paginaSalidas);
    AddTabla(new TPaginaColores);
    AddTabla(new TPaginaTiposLinea);
}

void TGrafica::LeerApariencia() {
    const Apariencia::Preferencias p =
        Apariencia::Leer(m_clave, static_cast<int>(m_paginaSalidas->Fuentes().size()));
    for (int i = 0; i < m_numSeries; ++i) {
        m_actual.colores[static_cast<size_t>(i)] = p.colores[static_cast<size_t>(i)];
        m_actual.tipos[static_cast<size_t>(i)] = p.tipos[static_cast<size_t>(i)];
    }
    m_actual.escritorio = p.escritorio;
    m_actual.fondo = p.fondo;
    m_actual.texto = p.texto;
    std::array<int, 3> fuentes = p.fuentes;
    Apariencia::ResolverFuentes(fuentes, m_paginaSalidas->Fuentes());
    m_actual.fuentes = fuentes;
}

void TGrafica::EnlazarGrafica() {
    EnlaceGrafica pe(m_ventana->DameLibreria());
    pe.ExigirDriver();
    m_pe = pe;
    m_pe.PonerGrafica(Grafica());

    // The large step lives in the window; its saved copy must hold it for Cancel to restore.
    m_actual.pasoGrande = std::to_string(m_ventana->DamePasos());
    m_guardado.pasoGrande = m_actual.pasoGrande;
    const HPE g = Grafica();
    if (g == nullptr)
        return;
    char buffer[kTextoPropiedad] = {};
    m_pe.PEszget(g, PEP_MAINTITLE, buffer, sizeof buffer);
    m_actual.titulo = Recortar(buffer, kMaxTitulo);
    m_pe.PEszget(g, PEP_SUBTITLE, buffer, sizeof buffer);
    m_actual.subtitulo = Recortar(buffer, kMaxSubtitulo);
    const int tipo = TipoDesdeMetodo(m_pe.PEnget(g, PEP_PLOTMETHOD));
    if (tipo >= 0)
        m_actual.tipo = tipo;
    m_pe.PEszset(g, PEP_MAINTITLEFONT, m_paginaSalidas->NombreFuente(DameFuentePrincipal()));
    m_pe.PEszset(g, PEP_SUBTITLEFONT, m_paginaSalidas->NombreFuente(DameFuenteSubtitulo()));
    m_pe.PEszset(g, PEP_LABELFONT, m_paginaSalidas->NombreFuente(DameFuenteEtiquetas()));
    m_pe.PEreinitialize(g);
    m_pe.PEresetimage(g, 0, 0);
}

HPE TGrafica::Grafica() const {
    return m_ventana ? m_ventana->DameGrafica() : nullptr;
}

bool TGrafica::GraficaLista() const {
    return m_pe.PEnset != nullptr && Grafica() != nullptr;
}

void TGrafica::Redibujar() {
    const HPE g = Grafica();
    if (g == nullptr || m_pe.PEreinitialize == nullptr)
        return;
    m_pe.PEreinitialize(g);
    m_pe.PEresetimage(g, 0, 0);
    g->update();
}

void TGrafica::Escribir(const QString& nombre, int valor) {
    if (!m_clave)
        return;
    m_clave->writeInt(nombre, valor);
    m_clave->sync();
}

// What the window asks -------------------------------------------------------------------------

void TGrafica::PedirNivel(int nivel) {
    // A value of 100 or more is the window's own request (see PonerAgrupar).
    SetPropertyValue(PAG_GENERAL, TPaginaGeneral::AGRUPAR, nivel + 100);
}

int TGrafica::NivelGuardado() {
    int nivel = -1;
    GetPropertyValue(PAG_GENERAL, TPaginaGeneral::AGRUPAR, &nivel);
    return nivel;
}

// Reference counting and services -----------------------------------------------------------

ObjGen* TGrafica::IncRef() {
    return ObjGen::IncRef();
}

int TGrafica::EjecutarServicio(int numero) {
    if (numero == SRV_IMPRIMIR) {
        if (m_ventana)
            m_ventana->Imprimir();
    } else if (numero == SRV_CIERRE) {
        m_ventana = nullptr;
        if (DecRef() != 0 && m_servidor != nullptr)
            m_servidor->Destruyeme(this, false); // this driver is gone from here on
    }
    return 0;
}

// Saving and restoring ---------------------------------------------------------------------

void TGrafica::GuardarPropiedades() {
    // The chart's titles are the current ones: the window retitles it as the user steps.
    DameTitulo();
    DameSubtitulo();
    m_guardado = m_actual;
    m_tituloEditado = false;
    m_subtituloEditado = false;
}

void TGrafica::RestaurarPropiedades() {
    const bool pasoDistinto = m_actual.pasoGrande != m_guardado.pasoGrande;
    Propiedades sinPaso = m_actual;
    sinPaso.pasoGrande = m_guardado.pasoGrande;
    const bool otroDistinto = !(sinPaso == m_guardado);
    const bool nivelDistinto = m_actual.agrupar != m_guardado.agrupar;
    const bool coloresDistintos =
        m_actual.colores != m_guardado.colores || m_actual.fondo != m_guardado.fondo;
    m_actual = m_guardado;
    if (pasoDistinto && m_ventana)
        m_ventana->PonerPasos(m_actual.pasoGrande.c_str());
    // The titles go back to the chart only when they were edited: the subtitle follows the
    // interval shown, which may have moved on since the snapshot.
    const bool titulos = m_tituloEditado || m_subtituloEditado;
    if ((!otroDistinto && !titulos) || !GraficaLista())
        return;
    if (m_tituloEditado)
        m_pe.PEszset(Grafica(), PEP_MAINTITLE, m_actual.titulo.c_str());
    if (m_subtituloEditado)
        m_pe.PEszset(Grafica(), PEP_SUBTITLE, m_actual.subtitulo.c_str());
    m_tituloEditado = false;
    m_subtituloEditado = false;
    AplicarApariencia();
    // One redraw: regrouping and repainting both redraw the chart themselves.
    if (nivelDistinto && m_actual.agrupar >= 0) {
        m_ventana->Agrupar(m_actual.agrupar);
    } else if (coloresDistintos) {
        std::vector<std::int32_t> rgb;
        for (int c : m_actual.colores)
            rgb.push_back(static_cast<std::int32_t>(ColorSerie(c)));
        m_ventana->PintarGrafica(rgb.empty() ? nullptr : rgb.data());
    } else {
        Redibujar();
    }
}

void TGrafica::AplicarApariencia() {
    const HPE g = Grafica();
    AplicarTipo();
    m_pe.PEnset(g, PEP_CURSORMODE, ModoCursor(m_actual.cursor));
    AplicarLeyenda();
    m_pe.PEnset(g, PEP_DESKCOLOR, static_cast<int>(ColorFondo(m_actual.escritorio)));
    const auto fondo = static_cast<std::uint32_t>(ColorFondo(m_actual.fondo));
    m_pe.PEnset(g, PEP_GRAPHBACKCOLOR, static_cast<int>(fondo));
    m_ventana->PonerColorFondo(fondo);
    m_pe.PEnset(g, PEP_TEXTCOLOR, static_cast<int>(ColorFondo(m_actual.texto)));
    m_pe.PEszset(g, PEP_MAINTITLEFONT, m_paginaSalidas->NombreFuente(DameFuentePrincipal()));
    m_pe.PEszset(g, PEP_SUBTITLEFONT, m_paginaSalidas->NombreFuente(DameFuenteSubtitulo()));
    m_pe.PEszset(g, PEP_LABELFONT, m_paginaSalidas->NombreFuente(DameFuenteEtiquetas()));
    AplicarColoresSerie();
    AplicarTiposLinea();
}

void TGrafica::AplicarTipo() {
    const HPE g = Grafica();
    // Per-axis settings go through the working axis; the last axis is set first so the
    // first one is left selected.
    for (int eje = m_ventana->DameNumeroEjes() - 1; eje >= 0; --eje) {
        m_pe.PEnset(g, PEP_WORKINGAXIS, eje);
        m_pe.PEnset(g, PEP_PLOTMETHOD, MetodoGrafica(m_actual.tipo));
    }
}

void TGrafica::AplicarLeyenda() {
    if (m_actual.leyenda == 1) {
        const std::vector<std::int32_t> todas(static_cast<size_t>(m_numSeries), -1);
        m_pe.PEvset(Grafica(), PEP_LABELSUBSETS, todas.data(), m_numSeries);
    } else {
        m_pe.PEvset(Grafica(), PEP_LABELSUBSETS, nullptr, 0);
    }
}

void TGrafica::AplicarColoresSerie() {
    if (m_numSeries == 0)
        return;
    std::vector<std::int32_t> rgb(static_cast<size_t>(m_numSeries));
    m_pe.PEvget(Grafica(), PEP_SUBSETCOLORS, rgb.data(), m_numSeries);
    for (int i = 0; i < m_numSeries; ++i)
        rgb[static_cast<size_t>(i)] =
            static_cast<std::int32_t>(ColorSerie(m_actual.colores[static_cast<size_t>(i)]));
    m_pe.PEvset(Grafica(), PEP_SUBSETCOLORS, rgb.data(), m_numSeries);
}

void TGrafica::AplicarTiposLinea() {
    if (m_numSeries == 0)
        return;
    std::vector<std::int32_t> tipos(static_cast<size_t>(m_numSeries));
    for (int i = 0; i < m_numSeries; ++i)
        tipos[static_cast<size_t>(i)] = TipoLineaGrafica(m_actual.tipos[static_cast<size_t>(i)]);
    m_pe.PEvset(Grafica(), PEP_LINETYPES, tipos.data(), m_numSeries);
}

// Property dispatch --------------------------------------------------------------------------

void TGrafica::SetPropertyText(int pagina, int propiedad, const char* texto) {
    if (pagina != PAG_GENERAL || propiedad < 0 || propiedad >= GetPropertyNumber(pagina))
        return;
    switch (propiedad) {
    case TPaginaGeneral::DESCRIPCION:
        PonerDescripcion(texto);
        break;
    case TPaginaGeneral::SUBTITULO:
        PonerAlias(texto);
        break;
    case TPaginaGeneral::TITULO:
        PonerTitulo(texto);
        break;
    case TPaginaGeneral::PASO_GRANDE:
        PonerPasoGrande(texto);
        break;
    default:
        break;
    }
}

void TGrafica::GetPropertyText(int pagina, int propiedad, char* buffer) {
    Copiar(std::string(), buffer);
    if (pagina < 0) {
        EditarPropiedades(propiedad, nullptr);
        return;
    }
    if (pagina != PAG_GENERAL || propiedad < 0 || propiedad >= GetPropertyNumber(pagina))
        return;
    switch (propiedad) {
    case TPaginaGeneral::DESCRIPCION:
        Copiar(DameDescripcion(), buffer);
        break;
    case TPaginaGeneral::SUBTITULO:
        Copiar(DameSubtitulo(), buffer);
        break;
    case TPaginaGeneral::TITULO:
        Copiar(DameTitulo(), buffer);
        break;
    case TPaginaGeneral::PASO_GRANDE:
        Copiar(DamePasoGrande(), buffer);
        break;
    default:
        break;
    }
}

void TGrafica::SetPropertyValue(int pagina, int propiedad, int valor) {
    if (pagina < 0 || propiedad < 0 || propiedad >= GetPropertyNumber(pagina))
        return;
    switch (pagina) {
    case PAG_GENERAL:
        if (propiedad == TPaginaGeneral::AGRUPAR)
            PonerAgrupar(valor);
        break;
    case PAG_SALIDAS:
        switch (PropiedadSalidas(propiedad)) {
        case TPaginaSalidas::TIPO:
            PonerTipo(valor);
            break;
        case TPaginaSalidas::CURSOR:
            PonerModoCursor(valor);
            break;
        case TPaginaSalidas::LEYENDA:
            PonerLeyenda(valor);
            break;
        case TPaginaSalidas::COLOR_ESCRITORIO:
            PonerColorEscritorio(valor);
            break;
        case TPaginaSalidas::COLOR_FONDO:
            PonerColorFondo(valor);
            break;
        case TPaginaSalidas::COLOR_TEXTO:
            PonerColorTexto(valor);
            break;
        case TPaginaSalidas::FUENTE_PRINCIPAL:
            PonerFuentePrincipal(valor);
            break;
        case TPaginaSalidas::FUENTE_SUBTITULO:
            PonerFuenteSubtitulo(valor);
            break;
        case TPaginaSalidas::FUENTE_ETIQUETAS:
            PonerFuenteEtiquetas(valor);
            break;
        default:
            break;
        }
        break;
    case PAG_COLORES:
        PonerColorSerie(propiedad, valor);
        break;
    case PAG_TIPOS_LINEA:
        PonerTipoLinea(propiedad, valor);
        break;
    default:
        break;
    }
}

void TGrafica::GetPropertyValue(int pagina, int propiedad, int* valor) {
    if (valor == nullptr)
        return;
    *valor = -1;
    if (pagina < 0) {
        EditarPropiedades(propiedad, valor);
        return;
    }
    if (propiedad < 0 || propiedad >= GetPropertyNumber(pagina))
        return;
    switch (pagina) {
    case PAG_GENERAL:
        if (propiedad == TPaginaGeneral::AGRUPAR)
            *valor = DameAgrupar();
        break;
    case PAG_SALIDAS:
        switch (PropiedadSalidas(propiedad)) {
        case TPaginaSalidas::TIPO:
            *valor = DameTipo();
            break;
        case TPaginaSalidas::CURSOR:
            *valor = DameModoCursor();
            break;
        case TPaginaSalidas::LEYENDA:
            *valor = DameLeyenda();
            break;
        case TPaginaSalidas::COLOR_ESCRITORIO:
            *valor = DameColorEscritorio();
            break;
        case TPaginaSalidas::COLOR_FONDO:
            *valor = DameColorFondo();
            break;
        case TPaginaSalidas::COLOR_TEXTO:
            *valor = DameColorTexto();
            break;
        case TPaginaSalidas::FUENTE_PRINCIPAL:
            *valor = DameFuentePrincipal();
            break;
        case TPaginaSalidas::FUENTE_SUBTITULO:
            *valor = DameFuenteSubtitulo();
            break;
        case TPaginaSalidas::FUENTE_ETIQUETAS:
            *valor = DameFuenteEtiquetas();
            break;
        default:
            break;
        }
        break;
    case PAG_COLORES:
        *valor = DameColorSerie(propiedad);
        break;
    case PAG_TIPOS_LINEA:
        *valor = DameTipoLinea(propiedad);
        break;
    default:
        break;
    }
}

// Texts --------------------------------------------------------------------------------------

void TGrafica::PonerDescripcion(const char* texto) {
    m_actual.descripcion = Recortar(texto, kMaxDescripcion);
}

void TGrafica::PonerAlias(const char* texto) {
    const std::string nuevo = Recortar(texto, kMaxSubtitulo);
    if (nuevo == m_actual.subtitulo)
        return;
    m_actual.subtitulo = nuevo;
    m_subtituloEditado = true;
    if (!GraficaLista())
        return;
    m_pe.PEszset(Grafica(), PEP_SUBTITLE, nuevo.c_str());
    Redibujar();
}

void TGrafica::PonerTitulo(const char* texto) {
    const std::string nuevo = Recortar(texto, kMaxTitulo);
    if (nuevo == m_actual.titulo)
        return;
    m_actual.titulo = nuevo;
    m_tituloEditado = true;
    if (!GraficaLista())
        return;
    m_pe.PEszset(Grafica(), PEP_MAINTITLE, nuevo.c_str());
    Redibujar();
}

void TGrafica::PonerPasoGrande(const char* texto) {
    const std::string nuevo = Recortar(texto, kMaxPasoGrande);
    if (nuevo == m_actual.pasoGrande)
        return;
    m_actual.pasoGrande = nuevo;
    if (m_ventana)
        m_ventana->PonerPasos(nuevo.c_str());
}

std::string TGrafica::DameDescripcion() {
    return m_actual.descripcion;
}

std::string TGrafica::DameSubtitulo() {
    if (GraficaLista()) {
        char buffer[kTextoPropiedad] = {};
        m_pe.PEszget(Grafica(), PEP_SUBTITLE, buffer, sizeof buffer);
        m_actual.subtitulo = Recortar(buffer, kMaxSubtitulo);
    }
    return m_actual.subtitulo;
}

std::string TGrafica::DameTitulo() {
    if (GraficaLista()) {
        char buffer[kTextoPropiedad] = {};
        m_pe.PEszget(Grafica(), PEP_MAINTITLE, buffer, sizeof buffer);
        m_actual.titulo = Recortar(buffer, kMaxTitulo);
    }
    return m_actual.titulo;
}

std::string TGrafica::DamePasoGrande() {
    if (m_ventana)
        return std::to_string(m_ventana->DamePasos());
    return m_actual.pasoGrande;
}

// Values -------------------------------------------------------------------------------------

int TGrafica::DameColorSerie(int serie) {
    return SerieValida(serie) ? m_actual.colores[static_cast<size_t>(serie)] : -1;
}

int TGrafica::DameTipoLinea(int serie) {
    return SerieValida(serie) ? m_actual.tipos[static_cast<size_t>(serie)] : -1;
}

void TGrafica::PonerTipo(int tipo) {
    if (tipo == m_actual.tipo || MetodoGrafica(tipo) < 0)
        return;
    m_actual.tipo = tipo;
    if (!GraficaLista())
        return;
    AplicarTipo();
    Redibujar();
}

void TGrafica::PonerModoCursor(int opcion) {
    if (opcion == m_actual.cursor || ModoCursor(opcion) < 0)
        return;
    m_actual.cursor = opcion;
    if (!GraficaLista())
        return;
    m_pe.PEnset(Grafica(), PEP_CURSORMODE, ModoCursor(opcion));
    Redibujar();
}

void TGrafica::PonerAgrupar(int modo) {
    if (m_actual.agrupar < 0)
        return; // this graph kind has no grouping
    const bool propio = modo >= 100;
    if (propio)
        modo -= 100;
    if (modo < 0 || modo > 5)
        return;
    if (propio)
        m_guardado.agrupar = modo;
    if (modo == m_actual.agrupar)
        return;
    m_actual.agrupar = modo;
    if (m_ventana)
        m_ventana->Agrupar(modo);
}

void TGrafica::PonerColorSerie(int serie, int color) {
    if (!SerieValida(serie) || ColorSerie(color) < 0 || m_actual.colores[static_cast<size_t>(serie)] == color)
        return;
    m_actual.colores[static_cast<size_t>(serie)] = color;
    Escribir(Apariencia::NombreColorSerie(serie), color);
    if (!GraficaLista())
        return;
    std::vector<std::int32_t> rgb(static_cast<size_t>(m_numSeries));
    m_pe.PEvget(Grafica(), PEP_SUBSETCOLORS, rgb.data(), m_numSeries);
    rgb[static_cast<size_t>(serie)] = static_cast<std::int32_t>(ColorSerie(color));
    m_pe.PEvset(Grafica(), PEP_SUBSETCOLORS, rgb.data(), m_numSeries);
    // The points carry their own colours: the window repaints them in the new ones.
    m_ventana->PintarGrafica(rgb.data());
}

void TGrafica::PonerTipoLinea(int serie, int tipo) {
    if (!SerieValida(serie) || TipoLineaGrafica(tipo) < 0 ||
        m_actual.tipos[static_cast<size_t>(serie)] == tipo)
        return;
    m_actual.tipos[static_cast<size_t>(serie)] = tipo;
    Escribir(Apariencia::NombreTipoLinea(serie), tipo);
    if (!GraficaLista())
        return;
    std::vector<std::int32_t> tipos(static_cast<size_t>(m_numSeries));
    m_pe.PEvget(Grafica(), PEP_LINETYPES, tipos.data(), m_numSeries);
    tipos[static_cast<size_t>(serie)] = TipoLineaGrafica(tipo);
    m_pe.PEvset(Grafica(), PEP_LINETYPES, tipos.data(), m_numSeries);
    Redibujar();
}

void TGrafica::PonerLeyenda(int leyenda) {
    if (leyenda == m_actual.leyenda)
        return;
    m_actual.leyenda = leyenda;
    if (!GraficaLista())
        return;
    AplicarLeyenda();
    Redibujar();
}

void TGrafica::PonerColorEscritorio(int color) {
    if (color == m_actual.escritorio || ColorFondo(color) < 0)
        return;
    m_actual.escritorio = color;
    Escribir(Apariencia::kDeskColor, color);
    if (!GraficaLista())
        return;
    m_pe.PEnset(Grafica(), PEP_DESKCOLOR, static_cast<int>(ColorFondo(color)));
    Redibujar();
}

void TGrafica::PonerColorFondo(int color) {
    if (color == m_actual.fondo || ColorFondo(color) < 0)
        return;
    m_actual.fondo = color;
    Escribir(Apariencia::kBackColor, color);
    if (!GraficaLista())
        return;
    const auto rgb = static_cast<std::uint32_t>(ColorFondo(color));
    m_pe.PEnset(Grafica(), PEP_GRAPHBACKCOLOR, static_cast<int>(rgb));
    m_ventana->PonerColorFondo(rgb);
    m_ventana->PintarGrafica();
}

void TGrafica::PonerColorTexto(int color) {
    if (color == m_actual.texto || ColorFondo(color) < 0)
        return;
    m_actual.texto = color;
    Escribir(Apariencia::kTextColor, color);
    if (!GraficaLista())
        return;
    m_pe.PEnset(Grafica(), PEP_TEXTCOLOR, static_cast<int>(ColorFondo(color)));
    Redibujar();
}

void TGrafica::PonerFuentePrincipal(int fuente) {
    const int n = static_cast<int>(m_paginaSalidas->Fuentes().size());
    if (fuente == DameFuentePrincipal() || fuente < 0 || fuente >= n)
        return;
    m_actual.fuentes[Apariencia::FUENTE_PRINCIPAL] = fuente;
    Escribir(Apariencia::kMainFont, fuente);
    if (!GraficaLista())
        return;
    m_pe.PEszset(Grafica(), PEP_MAINTITLEFONT, m_paginaSalidas->NombreFuente(fuente));
    Redibujar();
}

void TGrafica::PonerFuenteSubtitulo(int fuente) {
    const int n = static_cast<int>(m_paginaSalidas->Fuentes().size());
    if (fuente == DameFuenteSubtitulo() || fuente < 0 || fuente >= n)
        return;
    m_actual.fuentes[Apariencia::FUENTE_SUBTITULO] = fuente;
    Escribir(Apariencia::kSubtitleFont, fuente);
    if (!GraficaLista())
        return;
    m_pe.PEszset(Grafica(), PEP_SUBTITLEFONT, m_paginaSalidas->NombreFuente(fuente));
    Redibujar();
}

void TGrafica::PonerFuenteEtiquetas(int fuente) {
    const int n = static_cast<int>(m_paginaSalidas->Fuentes().size());
    if (fuente == DameFuenteEtiquetas() || fuente < 0 || fuente >= n)
        return;
    m_actual.fuentes[Apariencia::FUENTE_ETIQUETAS] = fuente;
    Escribir(Apariencia::kLabelFont, fuente);
    if (!GraficaLista())
        return;
    m_pe.PEszset(Grafica(), PEP_LABELFONT, m_paginaSalidas->NombreFuente(fuente));
    Redibujar();
}
