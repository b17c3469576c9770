#pragma once

#include "FicheroNormas.h"

#include <span>
#include <utility>
#include <vector>

// Judging measured harmonics against an applied filter, without any window: the harmonics
// and THD windows compute with these and only draw the result.
//
// Values and limits are in percent. Limits are compared by position: limit j meets the j-th
// point of a register, whatever harmonic order the data put there. Comparisons are strict
// (a value equal to its limit is good) and the per-order judging ignores the THD limits.
namespace juicio {

// Colours are Windows COLORREF values (0x00BBGGRR), as the registry and the chart keep them.
constexpr int kColorBlanco = 0xFFFFFF;
constexpr int kColorNegro = 0x000000;
constexpr double kSinDato = -9999.9;

enum class Tipo { Tension = 0, Corriente = 1 };

// The channel slots of a harmonics window: 0 to 2 voltage phases, 3 to 5 current phases.
constexpr Tipo TipoDeRanura(int ranura) {
    return ranura < 3 ? Tipo::Tension : Tipo::Corriente;
}

// The limit record a window keeps per kind: [kind, highlight on, highlight colour, n, THD,
// limit for order 2, ..., limit for order n + 1].
struct RegistroLimites {
    Tipo tipo = Tipo::Tension;
    bool resaltar = false;
    int colorResaltado = 0;
    double thd = normas::kSinLimite;
    std::vector<double> limites;

    int Numero() const { return static_cast<int>(limites.size()); }
    // The flat array of doubles in the order above.
    std::vector<double> ComoArray() const;
};

// One series of a window: its kind and its values, a register being the point range
// [primero, ultimo] of those values.
struct Serie {
    Tipo tipo = Tipo::Tension;
    std::span<const double> valores;
};
using Registro = std::pair<int, int>; // first and last point index, inclusive

// Some point j of [primero, ultimo] (j below the limit count) lies above limite[j].
bool SerieRompe(std::span<const double> valores, Registro registro, std::span<const double> limites);
// Some series of the register breaks the limits of its kind.
bool RegistroRompe(std::span<const Serie> series, Registro registro, std::span<const double> limitesTension,
                   std::span<const double> limitesCorriente);

struct Visibles {
    std::vector<int> indices; // into the full register list, in order
    // Limits exist, only bad registers were asked for and none breaks them: the caller shows
    // "There aren't any bad register" and `indices` keeps the previous list.
    bool ningunoMalo = false;
};
// The registers the interval buttons step through.
Visibles RecalcularVisibles(std::span<const Serie> series, std::span<const Registro> registros,
                            bool verSoloMalos, std::span<const double> limitesTension,
                            std::span<const double> limitesCorriente, std::vector<int> anteriores);
// The current index kept inside the visible list.
int AjustarActual(int actual, int numVisibles);

// The colour of each point of a register's series under its kind's limits: the highlight
// colour above the limit, the series colour otherwise; white points and points beyond the
// limits keep the colour they have.
void ColorearPuntos(std::span<const double> valoresRegistro, std::span<const double> limites, int colorSerie,
                    int colorResaltado, std::span<int> colores);

// A limit line is white on a black graph and black otherwise; a limit above everything
// measured of its kind takes the back colour, so it does not draw a line over nothing.
int ColorLineaLimite(double limite, double maximoMedido, int colorFondo);

// The THD judging: a value strictly above a limit that exists (-1 is no limit).
bool SuperaThd(double valor, double limite);

} // namespace juicio
