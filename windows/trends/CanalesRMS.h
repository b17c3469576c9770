#pragma once

#include "ListasAtributos.h"

#include <vector>

// The channel slots of an RMS-style variable (three voltage phases, three current phases): a
// slot is present when it holds at least one value other than the null value, and only present
// slots are drawn. Plain code with no window.
namespace CanalesRMS {

std::vector<bool> Presentes(const TValorMultiple& valores);
// The numbers of the present slots, in slot order.
std::vector<int> RanurasPresentes(const TValorMultiple& valores);

// The lists of the present slots only, in slot order: the per-slot lists (values, times,
// units, names, options, intervals, decimals) lose the rows of absent slots; the data
// references and the other lists are kept whole.
ListasAtributos SoloPresentes(const ListasAtributos& listas);

} // namespace CanalesRMS
