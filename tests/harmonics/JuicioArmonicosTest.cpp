#include "JuicioArmonicos.h"

#include <gtest/gtest.h>

#include <vector>

using namespace juicio;

using V = std::vector<double>;

TEST(JuicioArmonicos, StrictComparisonByPositionWithinTheRegister) {
    const V v{2.0, 5.0, 1.0, 6.0, 1.0, 9.0, 1.0, 50.0};
    // Equal is good, above is bad.
    EXPECT_FALSE(SerieRompe(v, {0, 3}, V{2.0, 5.0, 1.0, 6.0}));
    EXPECT_TRUE(SerieRompe(v, {0, 3}, V{2.0, 5.0, 0.99, 6.0}));
    // Limit j meets the j-th point of the register: point 5 is judged by limit 1.
    EXPECT_TRUE(SerieRompe(v, {4, 7}, V{5.0, 5.0}));
    EXPECT_FALSE(SerieRompe(v, {4, 7}, V{5.0, 9.0}));
    // Three limits judge only the first three points.
    EXPECT_FALSE(SerieRompe(v, {4, 7}, V{2.0, 9.0, 2.0}));
}

TEST(JuicioArmonicos, LimitsBeyondTheRegisterOrTheDataAreNotUsed) {
    const V v{1.0, 1.0, 9.0, 9.0};
    EXPECT_FALSE(SerieRompe(v, {0, 1}, V(10, 2.0)));
    EXPECT_FALSE(SerieRompe(V{1.0}, {0, 5}, V(10, 2.0)));
    EXPECT_FALSE(SerieRompe({}, {0, 5}, V(10, 2.0)));
    EXPECT_FALSE(SerieRompe(v, {3, 1}, V(10, 0.0)));
    EXPECT_FALSE(SerieRompe(V{kSinDato, kSinDato}, {0, 1}, V{0.0, 0.0}));
}

TEST(JuicioArmonicos, EachKindIsJudgedByItsOwnLimits) {
    const V tension(8, 1.0);
    const V corriente(8, 3.0);
    const std::vector<Serie> ambas{{Tipo::Tension, tension}, {Tipo::Corriente, corriente}};
    EXPECT_FALSE(RegistroRompe(ambas, {0, 3}, V{2.0}, V{4.0}));
    EXPECT_TRUE(RegistroRompe(ambas, {0, 3}, V{2.0}, V{2.5}));
    EXPECT_TRUE(RegistroRompe(ambas, {0, 3}, V{0.5}, V{4.0}));
    // Only current channels: voltage limits that the values would break do not count.
    const std::vector<Serie> soloCorriente{{TipoDeRanura(3), corriente}};
    EXPECT_FALSE(RegistroRompe(soloCorriente, {0, 3}, V{1.0}, V{3.0}));
    EXPECT_TRUE(RegistroRompe(soloCorriente, {0, 3}, V{9.0}, V{2.0}));
}

TEST(JuicioArmonicos, VisibleRegisters) {
    const V v{9, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0};
    const std::vector<Serie> s{{Tipo::Tension, v}};
    const std::vector<Registro> tres{{0, 3}, {4, 7}, {8, 11}};
    EXPECT_EQ(RecalcularVisibles(s, tres, false, V{1.0}, {}, {}).indices, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(RecalcularVisibles(s, tres, true, V{1.0, 1.0}, {}, {}).indices, (std::vector<int>{0, 2}));
    // "None" applied with only bad registers asked for: nothing to judge, everything shown.
    const Visibles sinLimites = RecalcularVisibles(s, tres, true, {}, {}, {1});
    EXPECT_EQ(sinLimites.indices, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(sinLimites.ningunoMalo);
    // No register breaks the limits: the previous list stays and the caller says so.
    const Visibles ninguno = RecalcularVisibles(s, tres, true, V{10.0}, {}, {1});
    EXPECT_TRUE(ninguno.ningunoMalo);
    EXPECT_EQ(ninguno.indices, (std::vector<int>{1}));
    for (auto [actual, visibles, ajustado] : {std::array{9, 2, 1}, {1, 3, 1}, {4, 0, 0}})
        EXPECT_EQ(AjustarActual(actual, visibles), ajustado) << actual << " of " << visibles;
}

TEST(JuicioArmonicos, HighlightAndLimitLineColours) {
    std::vector<int> colores{7, 7, kColorBlanco, 7, 7};
    ColorearPuntos(V{1.0, 5.0, 2.0, 9.0, 9.0}, V{1.0, 2.0, 1.0, 10.0}, 3, 0x00FFFF, colores);
    // Equal is good; white stays white; point 4 has no limit and keeps its colour.
    EXPECT_EQ(colores, (std::vector<int>{3, 0x00FFFF, kColorBlanco, 3, 7}));
    EXPECT_EQ(ColorLineaLimite(2.0, 5.0, kColorNegro), kColorBlanco);
    EXPECT_EQ(ColorLineaLimite(5.0, 5.0, 0xC0C0C0), kColorNegro);
    EXPECT_EQ(ColorLineaLimite(6.0, 5.0, 0xC0C0C0), 0xC0C0C0);
}

TEST(JuicioArmonicos, ThdStrictlyAboveAnExistingLimitAndTheLimitRecord) {
    EXPECT_TRUE(SuperaThd(8.01, 8.0));
    EXPECT_FALSE(SuperaThd(8.0, 8.0));
    EXPECT_FALSE(SuperaThd(50.0, normas::kSinLimite));
    EXPECT_TRUE(SuperaThd(101.5, normas::kCampoVacio));
    const RegistroLimites r{Tipo::Corriente, true, 65535, 5.0, {4.0, 1.0}};
    EXPECT_EQ(r.ComoArray(), (V{1.0, 1.0, 65535.0, 2.0, 5.0, 4.0, 1.0}));
}
