#include "FabricaVentanas.h"

#include "TWGraficaGenerica.h"

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

// One line per window class, e.g.
//   {0, ConListas<TWMiGrafica, 1, 2, 3, 4, 5, 6, 9, 10>},
std::map<int, Constructor> Incorporadas() {
    return {};
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
