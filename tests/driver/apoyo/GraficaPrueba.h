#pragma once

#include "FabricaVentanas.h"
#include "ListasAtributos.h"
#include "ServidorMonitores.h"
#include "TWGraficaGenerica.h"

#include <QLibrary>

#include <string>
#include <vector>

// The smallest graph class: it creates its chart, applies the appearance and records every call
// of its graph operations, so the tests can drive the generic window and the driver through it.
class TWGraficaPrueba : public TWGraficaGenerica {
public:
    TWGraficaPrueba(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                    ListasAtributos& listas, DrivFlex* fuente);

    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void Agrupar(int nivel) override;
    void Configurar() override { ++configurados; }
    int DameNumeroEjes() override { return ejes; }
    void MostrarIntervalo() override { mostrados.push_back(IntervaloActual); }
    void Propiedades() override { ++propiedades; }
    void AtenderGrafica(int codigo) override;
    void Lista() override { ++listas; }
    void ExportarTXT() override { ++exportados; }

    void PonerIntervalos(int numero, int actual);
    int Nivel() const { return m_nivel; }

    using TWGraficaGenerica::ActualizarBotonesAgrupar;
    using TWGraficaGenerica::FechaSerie;

    int ejes = 2;
    int configurados = 0;
    int propiedades = 0;
    int listas = 0;
    int exportados = 0;
    std::vector<int> mostrados;
    std::vector<int> niveles;
    std::vector<int> notificaciones;
    static int liberadas;

protected:
    void LiberarDatos() override { ++liberadas; }

private:
    int m_nivel = 5;
};

namespace prueba {

// Opens every graph kind with TWGraficaPrueba; Restablecer puts the real classes back.
void UsarGraficaPrueba();

// Lists of one window of a graph kind with `series` series; each data-reference row names
// `datos` (a live host object) when given.
ListasAtributos Listas(int tipoGrafica, int series, ObjGen* datos = nullptr, int nivelGuardado = -1);

// The chart library the windows loaded, for reading what they set.
struct Falsa {
    int (*contador)(int) = nullptr;
    int (*historial)(HPE, int, int*, int) = nullptr;
    PEngetFn nget = nullptr;
    PEnsetFn nset = nullptr;
    PEszgetFn szget = nullptr;
    PEvgetFn vget = nullptr;
    PEvsetFn vset = nullptr;
    int Reinicios() const { return contador(0); }
    std::vector<std::int32_t> Enteros(HPE g, int propiedad) const;
    std::string Texto(HPE g, int propiedad) const;
};
Falsa LibreriaFalsa(QLibrary* libreria);

} // namespace prueba
