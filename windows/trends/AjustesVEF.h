#pragma once

#include <array>
#include <cstdint>

class TValorMultiple;

// Display settings of the per-event RMS window, kept under PROPIEDADESVEF (and three values
// under the product key), with the event thresholds they are drawn at. Plain code with no
// window.
namespace AjustesVEF {

struct Umbral {
    bool ver = false; // the line is drawn
    int tipo = 0;     // line type option (Thin ... Dash-Dot-Dot)
    int color = 0;    // index into the window's colour table
    int nivel = 0;    // tenths of a percent of nominal
};

struct Ajustes {
    Umbral sobretension{false, 0, 1, 0};
    Umbral hueco{false, 3, 2, 0};
    Umbral interrupcion{false, 4, 3, 0};
    // Per phase: drawn in its own colour, which colour, and its point type (-1: the usual one).
    std::array<bool, 3> resaltar{true, true, true};
    std::array<int, 3> colorFase{0, 1, 2};
    std::array<int, 3> tipoPunto{-1, -1, -1};
    bool verDuraciones = false;
    int compactar = 1;
    int histeresis = 20;
    int verTrifasicos = 0;
};

// Writes every missing setting with its default and reads them. The thresholds come from the
// first options row (interruption, sag, overvoltage at 6, 7, 8); a saved view whose first data
// reference holds more than ten values replaces them with its sixth to eighth values
// (overvoltage, sag, interruption) and whether each line is drawn with its ninth to eleventh.
Ajustes Leer(const TValorMultiple& opciones, const TValorMultiple& objetos);

// The window's own 17-colour table (0x00BBGGRR); -1 for an index outside it.
std::int64_t Color(int indice);

} // namespace AjustesVEF
