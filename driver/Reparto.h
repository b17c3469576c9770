#pragma once

#include "ListasAtributos.h"

#include <functional>
#include <vector>

class QWidget;

// Sorting of the gathered variables into graph windows by their graph kind.
namespace Reparto {

// Called once per window, in the order the windows appear, with the window's graph kind and
// its ten lists. An exception thrown by it leaves the distribution.
using CrearVentana = std::function<void(int tipoGrafica, ListasAtributos& listasVentana)>;

void RepartirGraficas(const ListasAtributos& listas, const std::vector<int>& entradasPorVariable,
                      QWidget* padre, const CrearVentana& crear);

// The voltage-levels check run before a time-range window with more than one row is created:
// true when the window opens, false when the user cancelled.
bool ComprobarNiveles(TValorMultiple& opciones, QWidget* padre);

// Whether any record's instrument levels (options 6, 7 and 8) differ from the first record's.
bool NivelesIncompatibles(const TValorMultiple& opciones);

// The levels dialog, run by ComprobarNiveles when the levels are incompatible; it may rewrite
// the first record's levels and answers true for OK, false for cancel. By default it is the
// levels dialog TTWLevels; an empty function puts that one back.
using DialogoNiveles = std::function<bool(TValorMultiple& opciones, QWidget* padre)>;
void PonerDialogoNiveles(DialogoNiveles dialogo);

// Whether a graph kind has a window class (codes 7, 8, 9, 12 and above 21 have none).
bool TieneVentana(int tipoGrafica);

} // namespace Reparto
