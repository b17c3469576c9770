#pragma once

#include "ListasAtributos.h"

#include <functional>

class DrivFlex;
class QWidget;
class ServidorMonitores;
class TDriverVentana;
class TWGraficaGenerica;

// The one place that maps a graph kind (TipoGrafica) to the constructor of its window class.
namespace FabricaVentanas {

// Builds the window of one graph kind: owner window, window driver, monitor server, the
// window's ten lists (each class takes the ones it needs) and the source driver.
using Constructor =
    std::function<TWGraficaGenerica*(QWidget* propietario, TDriverVentana* driver,
                                     ServidorMonitores* servidor, ListasAtributos& listas, DrivFlex* fuente)>;

// The window for a graph kind, built and drawn, or nullptr (and no message) for a kind without
// a window class. An exception raised while it is built leaves no window behind.
TWGraficaGenerica* Crear(int tipoGrafica, QWidget* propietario, TDriverVentana* driver,
                         ServidorMonitores* servidor, ListasAtributos& listas, DrivFlex* fuente);

// Whether a graph kind currently has a window class.
bool TieneClase(int tipoGrafica);

// Puts another constructor in place of a kind's class (an empty one removes the kind); a
// harness uses it to open its own graph class.
void Sustituir(int tipoGrafica, Constructor constructor);
// Back to the built-in classes.
void Restablecer();

} // namespace FabricaVentanas
