#include "JuicioArmonicos.h"

#include <gtest/gtest.h>

#include <vector>

using namespace juicio;

namespace {

// Two registers of four points per series: points 0-3 and 4-7.
const std::vector<Registro> kRegistros{{0, 3}, {4, 7}};

std::vector<Serie> Series(const std::vector<double>& tension, const std::vector<double>& corriente) {
    std::vector<Serie> s;
    if (!tension.empty())
        s.push_back({Tipo::Tension, tension});
    if (!corriente.empty())
        s.push_back({Tipo::Corriente, corriente});
    return s;
}

} // namespace

TEST(JuicioRegistro, ValueEqualToItsLimitIsGoodAndAboveIsBad) {
    const std::vector<double> v{2.0, 5.0, 1.0, 6.0};
    EXPECT_FALSE(SerieRompe(v, {0, 3}, std::vector<double>{2.0, 5.0, 1.0, 6.0}));
    EXPECT_TRUE(SerieRompe(v, {0, 3}, std::vector<double>{2.0, 5.0, 0.99, 6.0}));
}

TEST(JuicioRegistro, LimitJMeetsTheJthPointOfTheRegister) {
    const std::vector<double> v{0, 0, 0, 0, 1.0, 9.0, 1.0, 1.0};
    const std::vector<double> limites{5.0, 5.0};
    EXPECT_FALSE(SerieRompe(v, {0, 3}, limites));
    EXPECT_TRUE(SerieRompe(v, {4, 7}, limites));
    // Point 5 is the second point of the second register: judged by limit 1, not limit 5.
    EXPECT_FALSE(SerieRompe(v, {4, 7}, std::vector<double>{5.0, 9.0}));
}

TEST(JuicioRegistro, ThreeLimitsJudgeOnlyTheFirstThreePoints) {
    const std::vector<double> v{1.0, 1.0, 1.0, 50.0};
    EXPECT_FALSE(SerieRompe(v, {0, 3}, std::vector<double>{2.0, 2.0, 2.0}));
}

TEST(JuicioRegistro, LimitsBeyondTheRegisterAreNotUsed) {
    const std::vector<double> v{1.0, 1.0, 9.0, 9.0};
    // The register is points 0-1; points 2 and 3 belong to the next one.
    EXPECT_FALSE(SerieRompe(v, {0, 1}, std::vector<double>(10, 2.0)));
    // A register that claims more points than the series has stops at the series' end.
    EXPECT_FALSE(SerieRompe(std::vector<double>{1.0}, {0, 5}, std::vector<double>(10, 2.0)));
    EXPECT_FALSE(SerieRompe({}, {0, 5}, std::vector<double>(10, 2.0)));
    EXPECT_FALSE(SerieRompe(v, {3, 1}, std::vector<double>(10, 0.0)));
}

TEST(JuicioRegistro, NoDataPointsNeverBreakALimit) {
    const std::vector<double> v{kSinDato, kSinDato};
    EXPECT_FALSE(SerieRompe(v, {0, 1}, std::vector<double>{0.0, 0.0}));
}

TEST(JuicioRegistro, EachKindIsJudgedByItsOwnLimits) {
    const std::vector<double> tension{1, 1, 1, 1, 1, 1, 1, 1};
    const std::vector<double> corriente{3, 3, 3, 3, 3, 3, 3, 3};
    const auto s = Series(tension, corriente);
    EXPECT_FALSE(RegistroRompe(s, {0, 3}, std::vector<double>{2.0}, std::vector<double>{4.0}));
    EXPECT_TRUE(RegistroRompe(s, {0, 3}, std::vector<double>{2.0}, std::vector<double>{2.5}));
    EXPECT_TRUE(RegistroRompe(s, {0, 3}, std::vector<double>{0.5}, std::vector<double>{4.0}));
}

TEST(JuicioRegistro, OnlyCurrentChannelsUseTheCurrentLimits) {
    const std::vector<double> corriente{3, 3, 3, 3};
    const auto s = Series({}, corriente);
    // Voltage limits that the values break are not the ones that count here.
    EXPECT_FALSE(RegistroRompe(s, {0, 3}, std::vector<double>{1.0}, std::vector<double>{3.0}));
    EXPECT_TRUE(RegistroRompe(s, {0, 3}, std::vector<double>{9.0}, std::vector<double>{2.0}));
    EXPECT_EQ(TipoDeRanura(2), Tipo::Tension);
    EXPECT_EQ(TipoDeRanura(3), Tipo::Corriente);
}

TEST(JuicioVisibles, AllRegistersWithoutTheOptionOrWithoutLimits) {
    const std::vector<double> v{9, 9, 9, 9, 0, 0, 0, 0};
    const auto s = Series(v, {});
    const std::vector<double> limites{1.0};
    EXPECT_EQ(RecalcularVisibles(s, kRegistros, false, limites, {}, {}).indices, (std::vector<int>{0, 1}));
    // "None" applied with only bad registers asked for: nothing to judge, everything shown.
    const Visibles sinLimites = RecalcularVisibles(s, kRegistros, true, {}, {}, {7});
    EXPECT_EQ(sinLimites.indices, (std::vector<int>{0, 1}));
    EXPECT_FALSE(sinLimites.ningunoMalo);
}

TEST(JuicioVisibles, OnlyBadRegistersInOrder) {
    const std::vector<double> v{9, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0};
    const std::vector<Registro> tres{{0, 3}, {4, 7}, {8, 11}};
    const Visibles r = RecalcularVisibles(Series(v, {}), tres, true, std::vector<double>{1.0, 1.0}, {}, {});
    EXPECT_EQ(r.indices, (std::vector<int>{0, 2}));
    EXPECT_FALSE(r.ningunoMalo);
}

TEST(JuicioVisibles, NoBadRegisterKeepsThePreviousListAndSaysSo) {
    const std::vector<double> v{0, 0, 0, 0, 0, 0, 0, 0};
    const Visibles r = RecalcularVisibles(Series(v, {}), kRegistros, true, std::vector<double>{1.0}, {}, {1});
    EXPECT_TRUE(r.ningunoMalo);
    EXPECT_EQ(r.indices, (std::vector<int>{1}));
}

TEST(JuicioVisibles, CurrentIndexMovesToTheLastVisibleRegister) {
    EXPECT_EQ(AjustarActual(9, 3), 2);
    EXPECT_EQ(AjustarActual(1, 3), 1);
    EXPECT_EQ(AjustarActual(4, 0), 0);
}

TEST(JuicioColores, PointsAboveTheirLimitTakeTheHighlightColour) {
    const std::vector<double> v{1.0, 5.0, 2.0, 9.0, 9.0};
    std::vector<int> colores{7, 7, kColorBlanco, 7, 7};
    ColorearPuntos(v, std::vector<double>{1.0, 2.0, 1.0, 10.0}, 3, 0x00FFFF, colores);
    // Equal is good; white stays white; point 4 has no limit and keeps its colour.
    EXPECT_EQ(colores, (std::vector<int>{3, 0x00FFFF, kColorBlanco, 3, 7}));
}

TEST(JuicioColores, LimitLinesContrastWithTheBackAndHideAboveTheData) {
    EXPECT_EQ(ColorLineaLimite(2.0, 5.0, kColorNegro), kColorBlanco);
    EXPECT_EQ(ColorLineaLimite(2.0, 5.0, 0xC0C0C0), kColorNegro);
    EXPECT_EQ(ColorLineaLimite(6.0, 5.0, 0xC0C0C0), 0xC0C0C0);
    EXPECT_EQ(ColorLineaLimite(5.0, 5.0, kColorNegro), kColorBlanco);
}

TEST(JuicioThd, StrictlyAboveAnExistingLimit) {
    EXPECT_TRUE(SuperaThd(8.01, 8.0));
    EXPECT_FALSE(SuperaThd(8.0, 8.0));
    EXPECT_FALSE(SuperaThd(50.0, normas::kSinLimite));
    // An empty THD field is stored as 101 and judged as 101 %.
    EXPECT_TRUE(SuperaThd(101.5, normas::kCampoVacio));
}

TEST(JuicioThd, LimitRecordLayout) {
    RegistroLimites r;
    r.tipo = Tipo::Corriente;
    r.resaltar = true;
    r.colorResaltado = 65535;
    r.thd = 5.0;
    r.limites = {4.0, 1.0};
    EXPECT_EQ(r.ComoArray(), (std::vector<double>{1.0, 1.0, 65535.0, 2.0, 5.0, 4.0, 1.0}));
}
