#pragma once

#include "TTiempo.h"

#include <QString>

#include <cstdint>
#include <vector>

// Long-term flicker severity (Plt) from short-term values (Pst), and the three Plt settings
// kept under FLICKER. Plain code with no window.
namespace CalculoPlt {

enum Estado : int {
    PLT_POCOS_VALORES = 0, // the window is not full yet
    PLT_VALIDO = 1,
    PLT_DESCARTADO = 2, // a flagged Pst in the window, with discarding on
    PLT_INCOMPLETO = 3, // the window holds another number of values than it should
};

struct Resultado {
    int estado = PLT_POCOS_VALORES;
    double plt = 0.0;
};

// One series' Pst values, their times and their flag bytes (flags may be shorter or absent:
// a missing byte is no flag).
struct SeriePst {
    const double* pst = nullptr;
    const TTiempo* tiempos = nullptr;
    const std::uint8_t* flags = nullptr;
    int numValores = 0;
    int numFlags = 0;
};

// Plt at point i over the `ventana` seconds that end there: `n` is the number of Pst values a
// full window holds, `ignorar` 1 makes a flagged value invalidate the Plt, `selector` (0, 1, 2)
// says which phase's event bit marks a value bad for this series.
Resultado CalcularPlt(int i, const SeriePst& serie, int n, int ignorar, int ventana, int selector);

// Pst values a full window holds: the window length over the Pst period (0 when either is not
// positive).
int ValoresPorVentana(int ventana, double periodo);

// The Plt of every point of a series (the null value where there is none) and how many points
// got one.
struct SeriePlt {
    std::vector<double> valores;
    int validos = 0;
};
SeriePlt CalcularSerie(const SeriePst& serie, int n, int ignorar, int ventana, int selector);

// Settings: the maximum in thousandths (-1 none), the window in seconds, and whether flagged
// values are discarded.
struct Ajustes {
    int maximo = -1;
    int ventana = 7200;
    int ignorar = 0;
    bool operator==(const Ajustes&) const = default;
};
// Reads FLICKER, writing the default of every value that is missing. A value the settings
// cannot hold (a window that is not positive, a maximum below -1) reads as its default.
Ajustes LeerAjustes();
void GuardarAjustes(const Ajustes& a);

// The maximum as typed in the settings dialog: digits with at most one decimal separator,
// point or comma. Returns false for anything else (and for a text without any digit);
// `milesimas` receives the value in thousandths, truncated.
bool LeerMaximo(const QString& texto, int& milesimas);

} // namespace CalculoPlt
