#pragma once

#include "ListasAtributos.h"

#include <cstdint>
#include <vector>

class DrivFlex;

// Gathering of the chosen variables' attributes from their data drivers, for the three
// factory paths. Each fills the ten lists (LV_OBJETOS included) and the number of
// LV_OBJETOS rows that belong to each variable, in order.
namespace Intake {

// Sends 10001, 10002, 10002 with -1, 10003, 10004, 10013, 10014, 10015 and 10021 for one
// variable, appending each answer to its list.
void PedirAtributos(DrivFlex* datos, int clave1, int clave2, ListasAtributos& listas);

// The graph selector's result: one block of integers, three per variable (data-driver
// index, first key, second key).
void IngresoDialogo(DrivFlex* fuente, const TValorMultiple& resultado, ListasAtributos& listas,
                    std::vector<int>& entradasPorVariable);

// The host's selection, one row of integers per variable (first key, second key, data-driver
// handle, ...); keys are translated with 10022 and written back into the caller's rows.
void IngresoLista(TValorMultiple& seleccion, ListasAtributos& listas, std::vector<int>& entradasPorVariable);

// The same rows, catalogued through the source driver.
void IngresoCatalogado(DrivFlex* fuente, const TValorMultiple& seleccion, ListasAtributos& listas,
                       std::vector<int>& entradasPorVariable);

// A variable as the catalogue keeps it: first key, second key, data-driver handle.
struct Referencia {
    int clave1;
    int clave2;
    std::int32_t driver;
};

// Rows of LV_OBJETOS that belong to each of the catalogue's representatives: each owns the
// rows from its own (found searching on from the previous match) up to the next one's.
std::vector<int> EntradasPorRepresentante(const std::vector<Referencia>& representantes,
                                          const TValorMultiple& objetos);

} // namespace Intake
