#pragma once

#include "ListasAtributos.h"

#include <QString>

#include <cstdint>
#include <vector>

// The folded power-factor scale: unity of either sign sits on the zero line, lagging factors
// above it and leading ones below, so that the distance from the line is the distance from
// unity. Plain code with no window.
namespace EscalaFP {

// A power factor v drawn as 1 - v (v >= 0) or -1 - v (v < 0). What is no value (the null
// value, the reset extremes of a series without values) passes unchanged, both ways.
double Plegar(double v);
// The power factor a drawn value stands for.
double Desplegar(double t);

// The window's lists with every power factor folded. The window takes no units: every series
// shares one unlabelled axis and the read-out writes no unit.
ListasAtributos Plegadas(const ListasAtributos& listas);

// Smallest and largest drawn value over the series' extremes, leaving out series that had no
// value (their extremes keep the reset sentinels). False when no series had one.
bool Rango(const std::vector<double>& minimos, const std::vector<double>& maximos, double& a, double& b);

struct Linea {
    double valor = 0.0;
    int tipo = 0;           // chart line type
    std::int32_t color = 0; // 0x00BBGGRR
    QString etiqueta;       // the power factor, with 4 decimals
};

// Reference lines over the drawn range [a, b]: ten steps of a tenth of the range from a when the
// range does not hold zero; otherwise the zero line and lines a tenth apart on each side of it.
// No lines for an empty range.
std::vector<Linea> Lineas(double a, double b);

} // namespace EscalaFP
