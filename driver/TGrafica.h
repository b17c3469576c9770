#pragma once

#include "Apariencia.h"
#include "DrivFlex.h"
#include "EnlaceGrafica.h"
#include "ListasAtributos.h"
#include "TDriverVentana.h"
#include "TWGraficaGenerica.h"

#include <QPointer>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ServidorMonitores;
class TPaginaSalidas;
class TValorMultiple;

// The graph driver. A selection driver is what a factory returns: it gathers the chosen
// variables and creates one window driver per graph window. A window driver owns one graph
// window's property pages, appearance values and chart entry points; the host edits and
// prints the graph through it.
class TGrafica : public DrivFlex, public TDriverVentana {
public:
    // Everything the host's property editor can change, kept twice: current and saved.
    struct Propiedades {
        std::string descripcion;
        std::string subtitulo;
        std::string titulo;
        std::string pasoGrande;
        int tipo = 0;   // plotting type: line, line with points, points, bars, area
        int cursor = 0; // data cross, vertical line, data square, no cursor
        int agrupar = -1;
        int leyenda = 0; // 1 shows the series labels
        int escritorio = 7;
        int fondo = 7;
        int texto = 0;
        std::array<int, 3> fuentes{0, 0, 0};
        std::vector<int> colores;
        std::vector<int> tipos;
        bool operator==(const Propiedades&) const = default;
    };

    // Selection drivers, one per factory: the graph selector dialog over the source driver,
    // the host's selection, and the host's selection catalogued through the source driver.
    TGrafica(ServidorMonitores* servidor, DrivFlex* fuente);
    TGrafica(ServidorMonitores* servidor, TValorMultiple* seleccion);
    TGrafica(ServidorMonitores* servidor, DrivFlex* fuente, TValorMultiple* seleccion);
    // Window driver: pages, appearance, the window for the lists' graph kind and its chart.
    TGrafica(ServidorMonitores* servidor, ListasAtributos& listas, DrivFlex* fuente);
    ~TGrafica() override;

    // ObjGen: the subtitle and description setters.
    ObjGen* IncRef() override;
    void PonerAlias(const char* texto) override;
    void PonerDescripcion(const char* texto) override;

    // DrivFlex property access.
    void SetPropertyText(int pagina, int propiedad, const char* texto) override;
    void GetPropertyText(int pagina, int propiedad, char* buffer) override;
    void SetPropertyValue(int pagina, int propiedad, int valor) override;
    void GetPropertyValue(int pagina, int propiedad, int* valor) override;
    int RegistrarServicios() override;
    void GuardarPropiedades() override;
    void RestaurarPropiedades() override;
    int EjecutarServicio(int numero) override;

    // TDriverVentana: what the window asks of its driver.
    void PedirNivel(int nivel) override;
    int NivelGuardado() override;
    DrivFlex* ComoDrivFlex() override { return this; }

    // Slots the host's interface reserves; they answer 0.
    virtual int Reservado1() { return 0; }
    virtual int Reservado2() { return 0; }
    virtual int Reservado3() { return 0; }
    virtual void CrearPaginas();

    // Text getters and setters.
    virtual std::string DameDescripcion();
    virtual std::string DameSubtitulo();
    virtual std::string DameTitulo();
    virtual void PonerTitulo(const char* texto);
    virtual std::string DamePasoGrande();
    virtual void PonerPasoGrande(const char* texto);
    // Value getters.
    virtual int DameTipo() { return m_actual.tipo; }
    virtual int DameModoCursor() { return m_actual.cursor; }
    virtual int DameColorSerie(int serie);
    virtual int DameAgrupar() { return m_actual.agrupar; }
    virtual int DameTipoLinea(int serie);
    virtual int DameLeyenda() { return m_actual.leyenda; }
    virtual int DameColorEscritorio() { return m_actual.escritorio; }
    virtual int DameColorFondo() { return m_actual.fondo; }
    virtual int DameColorTexto() { return m_actual.texto; }
    virtual int DameFuentePrincipal() { return m_actual.fuentes[Apariencia::FUENTE_PRINCIPAL]; }
    virtual int DameFuenteSubtitulo() { return m_actual.fuentes[Apariencia::FUENTE_SUBTITULO]; }
    virtual int DameFuenteEtiquetas() { return m_actual.fuentes[Apariencia::FUENTE_ETIQUETAS]; }
    // Value setters: each ignores the current value and values outside its options.
    virtual void PonerTipo(int tipo);
    virtual void PonerModoCursor(int opcion);
    // A value of 100 or more is a window's own request: 100 off, and it also becomes the saved
    // value.
    virtual void PonerAgrupar(int modo);
    virtual void PonerColorSerie(int serie, int color);
    virtual void PonerTipoLinea(int serie, int tipo);
    virtual void PonerLeyenda(int leyenda);
    virtual void PonerColorEscritorio(int color);
    virtual void PonerColorFondo(int color);
    virtual void PonerColorTexto(int color);
    virtual void PonerFuentePrincipal(int fuente);
    virtual void PonerFuenteSubtitulo(int fuente);
    virtual void PonerFuenteEtiquetas(int fuente);

    // getters:
    ServidorMonitores* Servidor() const { return m_servidor; }
    DrivFlex* Fuente() const { return m_fuente; }
    TWGraficaGenerica* Ventana() const { return m_ventana; }
    int NumSeries() const { return m_numSeries; }
    bool MuestraTipo() const { return m_mostrarTipo; }
    const Propiedades& Actuales() const { return m_actual; }
    const Propiedades& Guardadas() const { return m_guardado; }
    // Window drivers made by this selection driver, in creation order; a driver whose window
    // has closed since reads as nullptr.
    int NumDriversVentana() const { return static_cast<int>(m_driversVentana.size()); }
    TGrafica* DriverVentana(int indice) const;

    // setters:
    // Creates a window driver for one window's lists and appends it to the list. Errors
    // raised while the window is built leave through here.
    TGrafica* CrearDriverVentana(ListasAtributos& listas);

private:
    void RegistrarImprimir();
    void LanzarViewerVARM(TValorMultiple& resultado, DrivFlex* fuente, ServidorMonitores* servidor);
    // Intake of the graph selector's result, then the window distribution.
    void IngresarDialogo(const TValorMultiple& resultado);
    // Intake of the host's selection, then the window distribution.
    void IngresarLista(TValorMultiple* seleccion);
    // Catalogued intake of the host's selection, then the window distribution.
    void IngresarCatalogado(TValorMultiple* seleccion);
    // Sorts the gathered variables into graph windows, one window driver each.
    void Repartir();

    void LeerApariencia();
    void EnlazarGrafica();
    HPE Grafica() const;
    bool GraficaLista() const;
    void Redibujar();
    // Sets every appearance value on the chart, without redrawing.
    void AplicarApariencia();
    void AplicarTipo();
    void AplicarLeyenda();
    void AplicarColoresSerie();
    void AplicarTiposLinea();
    void Escribir(const QString& nombre, int valor);
    bool SerieValida(int serie) const { return serie >= 0 && serie < m_numSeries; }
    // Page-1 property index as stored: the event kinds hide "Type".
    int PropiedadSalidas(int propiedad) const { return m_mostrarTipo ? propiedad : propiedad + 1; }

    ServidorMonitores* m_servidor = nullptr;
    DrivFlex* m_fuente = nullptr;
    ListasAtributos m_listas;
    std::vector<int> m_entradasPorVariable;
    std::vector<std::int32_t> m_driversVentana;
    QPointer<TWGraficaGenerica> m_ventana;
    // The chart entry points, looked up in the window's library.
    EnlaceGrafica m_pe;
    Propiedades m_actual;
    Propiedades m_guardado;
    int m_numSeries = 0;
    int m_tipoGrafica = -1;
    bool m_mostrarTipo = true;
    // Titles edited through the pages since the last snapshot.
    bool m_tituloEditado = false;
    bool m_subtituloEditado = false;
    std::optional<host::SettingsKey> m_clave;
    TPaginaSalidas* m_paginaSalidas = nullptr; // owned by the page list
};
