#include "FabricaVentanas.h"

#include "TWGraficaGenerica.h"
#include "TWMiGrafica.h"
#include "TWMiGraficaARM.h"
#include "TWMiGraficaARMAN.h"
#include "TWMiGraficaARMH24.h"
#include "TWMiGraficaCBEMA.h"
#include "TWMiGraficaED.h"
#include "TWMiGraficaEH.h"
#include "TWMiGraficaFO.h"
#include "TWMiGraficaFOAN.h"
#include "TWMiGraficaFP.h"
#include "TWMiGraficaIARM.h"
#include "TWMiGraficaPER.h"
#include "TWMiGraficaPLT.h"
#include "TWMiGraficaRMS.h"
#include "TWMiGraficaTES.h"
#include "TWMiGraficaTHD.h"
#include "TWMiGraficaVEF.h"
#include "TiposGrafica.h"

#include <map>
#include <memory>

namespace FabricaVentanas {
namespace {

// Window classes read the lists they need from the whole set.
template <class Clase>
TWGraficaGenerica* ConTodas(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                            ListasAtributos& listas, DrivFlex* fuente) {
    return new Clase(propietario, driver, servidor, listas, fuente);
}

// One line per window class; every kind here has its row in the graph-kind table.
std::map<int, Constructor> Incorporadas() {
    return {
        {TG_MULTIGRAFICA, ConTodas<TWMiGrafica>}, {TG_FP, ConTodas<TWMiGraficaFP>},
        {TG_RMS, ConTodas<TWMiGraficaRMS>},       {TG_PLT, ConTodas<TWMiGraficaPLT>},
        {TG_VEF, ConTodas<TWMiGraficaVEF>},       {TG_ARM, ConTodas<TWMiGraficaARM>},
        {TG_THD, ConTodas<TWMiGraficaTHD>},       {TG_ARMH24, ConTodas<TWMiGraficaARMH24>},
        {TG_ARMAN, ConTodas<TWMiGraficaARMAN>},   {TG_ARMH24_BANDAS, ConTodas<TWMiGraficaARMH24>},
        {TG_IARM, ConTodas<TWMiGraficaIARM>},     {TG_EH, ConTodas<TWMiGraficaEH>},
        {TG_CBEMA, ConTodas<TWMiGraficaCBEMA>},   {TG_FO, ConTodas<TWMiGraficaFO>},
        {TG_FOAN, ConTodas<TWMiGraficaFOAN>},     {TG_PER, ConTodas<TWMiGraficaPER>},
        {TG_ED, ConTodas<TWMiGraficaED>},         {TG_TES, ConTodas<TWMiGraficaTES>},
    };
}

std::map<int, Constructor>& Tabla() {
    static std::map<int, Constructor> tabla = Incorporadas();
    return tabla;
}

} // namespace

TWGraficaGenerica* Crear(int tipoGrafica, QWidget* propietario, TDriverVentana* driver,
                         ServidorMonitores* servidor, ListasAtributos& listas, DrivFlex* fuente) {
    const auto it = Tabla().find(tipoGrafica);
    if (it == Tabla().end() || !it->second)
        return nullptr;
    std::unique_ptr<TWGraficaGenerica> ventana(it->second(propietario, driver, servidor, listas, fuente));
    if (!ventana)
        return nullptr;
    ventana->PonerTipoGrafica(tipoGrafica);
    ventana->Iniciar();
    return ventana.release();
}

bool TieneClase(int tipoGrafica) {
    const auto it = Tabla().find(tipoGrafica);
    return it != Tabla().end() && static_cast<bool>(it->second);
}

void Sustituir(int tipoGrafica, Constructor constructor) {
    if (constructor)
        Tabla()[tipoGrafica] = std::move(constructor);
    else
        Tabla().erase(tipoGrafica);
}

void Restablecer() {
    Tabla() = Incorporadas();
}

} // namespace FabricaVentanas
