#pragma once

#include "ListasAtributos.h"
#include "TTiempo.h"

#include <utility>
#include <vector>

// The registers (or records) a data driver hands to the windows that show one at a time.
namespace registros {

// First and last point of each register, from the pairs of the interval rows read one after
// another (only the first row with `soloPrimeraFila`). A pair that names no point of the data
// is no register; with none left the whole data is one.
std::vector<std::pair<int, int>> Leer(const TValorMultiple& intervalos, int numPuntos,
                                      bool soloPrimeraFila = false);

// The time each register was taken: the first row of the general times.
std::vector<TTiempo> Tiempos(const ListasAtributos& listas);

} // namespace registros
