#include "NivelesEventos.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

namespace {

// One level record (options row) per data object: elements 6, 7, 8 are the levels.
std::vector<std::int32_t> Registro(int li, int lh, int ls) {
    return {10, 1, 0, 0, 0, 0, li, lh, ls, 0, 0};
}

// Counts the times the dialog would have been shown and answers it.
struct Dialogo {
    int veces = 0;
    bool respuesta = true;
    bool operator()(TValorMultiple&) {
        ++veces;
        return respuesta;
    }
};

} // namespace

TEST(ComprobarNiveles, EqualLevelsNeverAskDifferentOnesAskAndCancelDropsTheWindow) {
    TValorMultiple r;
    r.EntrarEnteros(Registro(100, 900, 1100));
    r.EntrarDoubles({1, 2, 3, 4, 5, 6, 100, 900, 1100}); // the same levels as numbers
    Dialogo nunca;
    EXPECT_TRUE(ComprobarNiveles(r, std::ref(nunca)));
    EXPECT_EQ(nunca.veces, 0);
    r.EntrarEnteros(Registro(100, 850, 1100));
    Dialogo acepta;
    EXPECT_TRUE(ComprobarNiveles(r, std::ref(acepta)));
    EXPECT_EQ(acepta.veces, 1);
    Dialogo cancela{0, false};
    EXPECT_FALSE(ComprobarNiveles(r, std::ref(cancela)));
    EXPECT_EQ(cancela.veces, 1);
}

TEST(ComprobarNiveles, ShortRecordReadsAsZeroLevelsAndAsks) {
    TValorMultiple r;
    r.EntrarEnteros(Registro(100, 900, 1100));
    r.EntrarEnteros({1, 2, 3});
    EXPECT_EQ(LeerNiveles(r, 1), (NivelesInstrumento{0, 0, 0}));
    EXPECT_TRUE(NivelesIncompatibles(r));
    EXPECT_FALSE(EscribirNiveles(r, 1, {1, 2, 3}));
}

TEST(ElegirNiveles, ChosenRecordIsCopiedIntoTheFirst) {
    TValorMultiple r;
    r.EntrarEnteros(Registro(100, 900, 1100));
    r.EntrarEnteros(Registro(50, 850, 1150));
    TValorMultiple copia = r; // rows are shared until written
    ASSERT_TRUE(ElegirNivelesDeRegistro(r, 1));
    EXPECT_EQ(LeerNiveles(r, 0), (NivelesInstrumento{50, 850, 1150}));
    EXPECT_EQ(r.Entero(0, 0), 10); // the rest of the record is untouched
    EXPECT_EQ(LeerNiveles(copia, 0), (NivelesInstrumento{100, 900, 1100}));
    EXPECT_FALSE(NivelesIncompatibles(r));
    EXPECT_FALSE(ElegirNivelesDeRegistro(r, 2));
}

TEST(ElegirNiveles, NewLevelsAsTypedAreStoredInTenths) {
    // clang-format off
    const struct { const char* texto; int minimo, maximo; std::optional<int> nivel; } casos[] = {
        {" 95,5 ", kMinHueco, kMaxHueco, 955}, {"95.59", kMinHueco, kMaxHueco, 955}, // truncated
        {"90.3", kMinHueco, kMaxHueco, 903},
        {"250", kMinSobretension, kMaxSobretension, 2000}, {"50", kMinSobretension, kMaxSobretension, 1001}, // held to the range
        {"abc", kMinHueco, kMaxHueco, std::nullopt}, {"", kMinHueco, kMaxHueco, std::nullopt},
        {"inf", kMinHueco, kMaxHueco, std::nullopt},
    };
    // clang-format on
    for (const auto& c : casos)
        EXPECT_EQ(NivelTecleado(c.texto, c.minimo, c.maximo), c.nivel) << c.texto;

    // Taken as typed: a sag level above the overvoltage level is not corrected.
    TValorMultiple r;
    r.EntrarDoubles({0, 0, 0, 0, 0, 0, 100, 900, 1100});
    ASSERT_TRUE(EscribirNiveles(r, 0, {400, 999, 1001}));
    EXPECT_EQ(LeerNiveles(r, 0), (NivelesInstrumento{400, 999, 1001}));
}
