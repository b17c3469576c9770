#include "GraficaPrueba.h"

#include "Agrupacion.h"
#include "ChartProperties.h"
#include "ModuleLoader.h"
#include "ObjGen.h"
#include "TTiempo.h"
#include "TiposGrafica.h"

int TWGraficaPrueba::liberadas = 0;

TWGraficaPrueba::TWGraficaPrueba(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                                 ListasAtributos& listas, DrivFlex* fuente)
    : TWGraficaGenerica(propietario, driver, servidor, fuente) {
    NumSeries = std::min(listas[LV_VALORES].Cuenta(), 12);
    TomarReferencias(listas[LV_OBJETOS]);
    m_nivel = ActualizarBotonesAgrupar(m_nivel, m_nivel);
    PonerIntervalos(1, 0);
}

void TWGraficaPrueba::PintarGrafica(const std::int32_t*) {
    if (Grafica != nullptr) {
        Pe.PEreinitialize(Grafica);
        Pe.PEresetimage(Grafica, 0, 0);
    }
}

void TWGraficaPrueba::Agrupar(int nivel) {
    if (nivel < 0) {
        ActualizarBotonesAgrupar(nivel, m_nivel);
        return;
    }
    m_nivel = ActualizarBotonesAgrupar(nivel, m_nivel);
    niveles.push_back(nivel);
    PintarGrafica();
}

void TWGraficaPrueba::AtenderGrafica(int codigo) {
    notificaciones.push_back(codigo);
    if (codigo == PEN_ZOOMDONE)
        ActualizarBotonesZoom(true, true);
}

void TWGraficaPrueba::PonerIntervalos(int numero, int actual) {
    NumIntervalos = numero;
    PrimerIntervalo = 0;
    UltimoIntervalo = numero - 1;
    IntervaloActual = actual;
    ActualizarBotonesIntervalo();
}

namespace prueba {

void UsarGraficaPrueba() {
    for (const RasgosTipo& r : TodosLosTipos())
        FabricaVentanas::Sustituir(r.tipo,
                                   [](QWidget* p, TDriverVentana* d, ServidorMonitores* s, ListasAtributos& l,
                                      DrivFlex* f) { return new TWGraficaPrueba(p, d, s, l, f); });
}

ListasAtributos Listas(int tipoGrafica, int series, ObjGen* datos, int nivelGuardado) {
    ListasAtributos l;
    for (int i = 0; i < series; ++i) {
        l[LV_VALORES].EntrarDoubles({1.0 + i, 2.0 + i, 3.0 + i});
        l[LV_TIEMPOS].EntrarTiempos({TTiempo(2024, 1, 1, 0, 0, 0, -1), TTiempo(2024, 1, 1, 0, 1, 0, -1),
                                     TTiempo(2024, 1, 1, 0, 2, 0, -1)});
        l[LV_UNIDADES].EntrarTexto("V");
        l[LV_NOMBRES].EntrarTexto("Serie " + std::to_string(i + 1));
        std::vector<double> opciones(13, 0.0);
        opciones[OPC_TIPO] = tipoGrafica;
        opciones[OPC_PERIODO] = 60;
        l[LV_OPCIONES].EntrarDoubles(opciones);
        l[LV_DECIMALES].EntrarEnteros({2});
        std::vector<std::int32_t> objeto = {1, i, datos ? datos->Manejador() : 0};
        if (nivelGuardado >= 0)
            objeto.insert(objeto.end(), {nivelGuardado, 0});
        l[LV_OBJETOS].EntrarEnteros(objeto);
    }
    return l;
}

std::vector<std::int32_t> Falsa::Enteros(HPE g, int propiedad) const {
    std::vector<std::int32_t> v(static_cast<size_t>(vget(g, propiedad, nullptr, 0)));
    vget(g, propiedad, v.data(), static_cast<int>(v.size()));
    return v;
}

std::string Falsa::Texto(HPE g, int propiedad) const {
    char buffer[512] = {};
    szget(g, propiedad, buffer, sizeof buffer);
    return buffer;
}

Falsa LibreriaFalsa(QLibrary* libreria) {
    Falsa f;
    f.contador = reinterpret_cast<int (*)(int)>(host::resolveEntry(libreria, "FalsaContador"));
    f.historial =
        reinterpret_cast<int (*)(HPE, int, int*, int)>(host::resolveEntry(libreria, "FalsaHistorial"));
    f.nget = reinterpret_cast<PEngetFn>(host::resolveEntry(libreria, "PEnget"));
    f.nset = reinterpret_cast<PEnsetFn>(host::resolveEntry(libreria, "PEnset"));
    f.szget = reinterpret_cast<PEszgetFn>(host::resolveEntry(libreria, "PEszget"));
    f.vget = reinterpret_cast<PEvgetFn>(host::resolveEntry(libreria, "PEvget"));
    f.vset = reinterpret_cast<PEvsetFn>(host::resolveEntry(libreria, "PEvset"));
    return f;
}

} // namespace prueba
