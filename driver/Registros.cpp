#include "Registros.h"

#include <algorithm>
#include <cmath>

namespace registros {

std::vector<std::pair<int, int>> Leer(const TValorMultiple& intervalos, int numPuntos, bool soloPrimeraFila) {
    std::vector<double> pares;
    const int filas = soloPrimeraFila ? std::min(1, intervalos.Cuenta()) : intervalos.Cuenta();
    for (int f = 0; f < filas; ++f) {
        // A row of texts or times holds no pairs.
        if (intervalos.Doubles(f) == nullptr && intervalos.Enteros(f) == nullptr)
            continue;
        for (int i = 0; i < intervalos.Elementos(f); ++i)
            pares.push_back(intervalos.Numero(f, i));
    }
    std::vector<std::pair<int, int>> r;
    for (size_t i = 0; i + 1 < pares.size(); i += 2) {
        const double a = pares[i];
        const double b = pares[i + 1];
        if (!std::isfinite(a) || !std::isfinite(b) || a < 0 || b < a || a >= numPuntos)
            continue;
        r.emplace_back(static_cast<int>(a), static_cast<int>(std::min<double>(b, numPuntos - 1)));
    }
    if (r.empty() && numPuntos > 0)
        r.emplace_back(0, numPuntos - 1);
    return r;
}

std::vector<TTiempo> Tiempos(const ListasAtributos& listas) {
    const TValorMultiple& generales = listas[LV_TIEMPOSGENERALES];
    if (generales.Cuenta() == 0 || generales.Tiempos(0) == nullptr)
        return {};
    const TTiempo* t = generales.Tiempos(0);
    return std::vector<TTiempo>(t, t + generales.Elementos(0));
}

} // namespace registros
