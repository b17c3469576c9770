#include "TiposGrafica.h"

#include "TValor.h"

#include <array>

namespace {

using R = ReglaReparto;
using F = FamiliaGrafica;
using S = ReglaSeries;

constexpr int T = TV_TIEMPO;
constexpr int D = TV_DOUBLE;

// clang-format off
constexpr std::array<RasgosTipo, 18> kTabla = {{
    //  kind               class                 distribution       family             rows extra group  events legend cursor series          intervals extras conAdic
    {TG_MULTIGRAFICA,   "TWMiGrafica",        R::Multigrafica,   F::SerieTemporal,  1,   0,   true,  false, 0, 0, S::Escritas,      T, D,        false},
    {TG_FP,             "TWMiGraficaFP",      R::TodasEnUna,     F::SerieTemporal,  1,   0,   true,  false, 0, 0, S::Escritas,      T, D,        false},
    {TG_FO,             "TWMiGraficaFO",      R::PorVariable,    F::Registro,       6,   12,  false, false, 1, 0, S::Escritas,      D, D,        true},
    {TG_ARM,            "TWMiGraficaARM",     R::PorVariable,    F::Registro,       6,   1,   false, false, 0, 0, S::Escritas,      D, D,        true},
    {TG_THD,            "TWMiGraficaTHD",     R::PorVariable,    F::SerieTemporal,  6,   0,   true,  false, 0, 0, S::Escritas,      T, D,        false},
    {TG_RMS,            "TWMiGraficaRMS",     R::PorVariable,    F::SerieTemporal,  6,   0,   true,  false, 0, 0, S::Escritas,      T, D,        false},
    {TG_PER,            "TWMiGraficaPER",     R::Perturbaciones, F::Registro,       1,   2,   false, false, 0, 0, S::Escritas,      D, D,        true},
    {TG_EH,             "TWMiGraficaEH",      R::RangoTiempo,    F::Eventos,        1,   4,   true,  true,  0, 0, S::Tres,          T, D,        true},
    {TG_ED,             "TWMiGraficaED",      R::RangoTiempo,    F::Eventos,        1,   4,   true,  true,  0, 0, S::Tres,          T, D,        true},
    {TG_ARMH24,         "TWMiGraficaARMH24",  R::PorVariable,    F::Registro,       1,   0,   false, false, 0, 0, S::Escritas,      D, D,        false},
    {TG_PLT,            "TWMiGraficaPLT",     R::TodasEnUna,     F::SerieTemporal,  1,   1,   true,  false, 0, 0, S::Escritas,      T, TV_BYTE,  true},
    {TG_FOAN,           "TWMiGraficaFOAN",    R::PorVariable,    F::Registro,       6,   12,  false, false, 1, 0, S::Escritas,      D, D,        true},
    {TG_ARMAN,          "TWMiGraficaARMAN",   R::PorVariable,    F::Registro,       6,   1,   false, false, 0, 0, S::Escritas,      D, D,        true},
    {TG_ARMH24_BANDAS,  "TWMiGraficaARMH24",  R::PorVariable,    F::Registro,       1,   0,   false, false, 0, 0, S::Escritas,      D, D,        true},
    {TG_TES,            "TWMiGraficaTES",     R::RangoTiempo,    F::Eventos,        1,   6,   false, true,  0, 0, S::FilasOpciones, T, D,        true},
    {TG_CBEMA,          "TWMiGraficaCBEMA",   R::RangoTiempo,    F::Eventos,        1,   4,   true,  true,  0, 2, S::Tres,          T, D,        true},
    {TG_VEF,            "TWMiGraficaVEF",     R::Emparejado,     F::SerieTemporal,  1,   0,   false, false, 0, 0, S::Escritas,      T, D,        false},
    {TG_IARM,           "TWMiGraficaIARM",    R::PorVariable,    F::Registro,       6,   1,   false, false, 0, 0, S::Escritas,      D, D,        true},
}};
// clang-format on

} // namespace

const RasgosTipo* Rasgos(int tipo) {
    for (const RasgosTipo& r : kTabla) {
        if (r.tipo == tipo)
            return &r;
    }
    return nullptr;
}

std::span<const RasgosTipo> TodosLosTipos() {
    return kTabla;
}
