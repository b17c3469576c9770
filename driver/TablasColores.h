#pragma once

#include <cstdint>

// Colour tables and code mappings of the appearance settings. Colours are 0x00BBGGRR.

// The 17 back colours (desk, graph back, text): black, red, green, blue, dark grey, grey,
// light grey, white, yellow, purple, light blue, dark purple, dark green, dark light blue,
// dark yellow, dark red, dark blue.
constexpr int kNumColoresFondo = 17;
// The 16 series colours: the same table without dark grey.
constexpr int kNumColoresSerie = 16;

// Colour of an index, or -1 when the index is outside the table.
std::int64_t ColorFondo(int indice);
std::int64_t ColorSerie(int indice);

// Line-type option ("Thin" ... "Dash-Dot-Dot") to chart line type; -1 outside 0..6.
int TipoLineaGrafica(int opcion);
// Plotting type option ("Line" ... "Area") to the chart's per-axis method, and back
// (-1 when unknown).
int MetodoGrafica(int tipo);
int TipoDesdeMetodo(int metodo);
// Cursor option ("Data cross", "Vertical line", "Data square", "No cursor") to chart cursor
// mode, and back.
int ModoCursor(int opcion);
int OpcionDesdeModoCursor(int modo);

// Defaults of the twelve series.
extern const int kColoresSerieDefecto[12];
extern const int kTiposLineaDefecto[12];
extern const int kTiposPuntoDefecto[12];
