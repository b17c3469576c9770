#include "FabricaVentanas.h"

#include "TWGraficaGenerica.h"
#include "TWMiGrafica.h"

#include <map>

namespace FabricaVentanas {
namespace {

// Window classes take the driver's lists by their 1-based position, in list order, between the
// monitor server and the source driver.
template <class Clase, int... Lista>
TWGraficaGenerica* ConListas(QWidget* propietario, TGrafica* driver, ServidorMonitores* servidor,
                             ListasAtributos& listas, DrivFlex* fuente) {
    return new Clase(propietario, driver, servidor, listas[Lista - 1]..., fuente);
}

// Window classes that read the lists they need from the whole set.
template <class Clase>
TWGraficaGenerica* ConTodas(QWidget* propietario, TGrafica* driver, ServidorMonitores* servidor,
                            ListasAtributos& listas, DrivFlex* fuente) {
    return new Clase(propietario, driver, servidor, listas, fuente);
}

// One line per window class.
std::map<int, Constructor> Incorporadas() {
    return {
        {0, ConTodas<TWMiGrafica>},
    };
}

std::map<int, Constructor>& Tabla() {
    static std::map<int, Constructor> tabla = Incorporadas();
    return tabla;
}

} // namespace

TWGraficaGenerica* Crear(int tipoGrafica, QWidget* propietario, TGrafica* driver, ServidorMonitores* servidor,
                         ListasAtributos& listas, DrivFlex* fuente) {
    const auto it = Tabla().find(tipoGrafica);
    if (it == Tabla().end() || !it->second)
        return nullptr;
    return it->second(propietario, driver, servidor, listas, fuente);
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
