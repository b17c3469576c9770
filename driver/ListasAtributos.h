#pragma once

#include "Contrato.h"
#include "TValorMultiple.h"

#include <array>

// The ten attribute lists of a selection or of one graph window (positions in Contrato.h).
struct ListasAtributos {
    std::array<TValorMultiple, kNumListas> listas;

    TValorMultiple& operator[](int posicion) { return listas[static_cast<size_t>(posicion)]; }
    const TValorMultiple& operator[](int posicion) const { return listas[static_cast<size_t>(posicion)]; }
};
