#include "DatosArmonicos.h"

#include "Contrato.h"
#include "TiposGrafica.h"

#include <gtest/gtest.h>

using armonicos::DatosArmonicos;
using armonicos::OrigenX;

namespace {

constexpr double N = kValorNulo;

TTiempo registro(int r) {
    TTiempo t(2026, 12, 1, 10, 0, 0, -1);
    t.SumarSegundos(600 * r);
    return t;
}

// The lists of one harmonics variable: six slot rows, the register pairs in the first
// intervals row, the X values as one extra row.
struct Espectro {
    std::vector<std::vector<double>> ranuras; // up to six
    std::vector<std::string> nombres;
    std::vector<std::string> unidades;
    std::vector<std::vector<double>> pares{{0, 3, 4, 7}};
    std::vector<double> x{2, 3, 4, 5, 2, 3, 4, 5};
    std::vector<double> opciones{1, 3, 600, 0, 0, 0, 0, 0, 0, 0, 0, 0, 37268};
    int registros = 2;

    ListasAtributos listas() const {
        ListasAtributos l;
        for (size_t s = 0; s < ranuras.size(); ++s) {
            l[LV_VALORES].EntrarDoubles(ranuras[s]);
            l[LV_UNIDADES].EntrarTexto(s < unidades.size() ? unidades[s] : (s < 3 ? "%V" : "%A"));
            l[LV_NOMBRES].EntrarTexto(s < nombres.size()
                                          ? nombres[s]
                                          : (s < 3 ? "V" : "I") + std::to_string(s % 3 + 1) + " (Harmonics)");
            l[LV_OPCIONES].EntrarDoubles(opciones);
            l[LV_INTERVALOS].EntrarDoubles(s < pares.size() ? pares[s] : std::vector<double>{});
            l[LV_DECIMALES].EntrarDoubles({2});
        }
        std::vector<TTiempo> t;
        for (int r = 0; r < registros; ++r)
            t.push_back(registro(r));
        l[LV_TIEMPOSGENERALES].EntrarTiempos(t);
        if (!x.empty())
            l[LV_ADICIONALES].EntrarDoubles(x);
        return l;
    }
    DatosArmonicos datos(OrigenX origen = OrigenX::Adicionales) const {
        ListasAtributos l = listas();
        return DatosArmonicos(l, origen);
    }
};

const std::vector<double> kVacio(8, N);

juicio::Tipo porRanura(int ranura) {
    return juicio::TipoDeRanura(ranura);
}

} // namespace

TEST(HarmonicsPresence, ASlotHoldingOnlyNoDataIsNoSubset) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}, kVacio, {N, N, N, 0.5, N, N, N, N}, {}, kVacio,
                 {9, 9, 9, 9, 9, 9, 9, 9}};
    const DatosArmonicos d = e.datos();
    ASSERT_EQ(d.NumSeries(), 3);
    EXPECT_EQ(d.CanalDe(0).ranura, 0);
    EXPECT_EQ(d.CanalDe(1).ranura, 2);
    EXPECT_EQ(d.CanalDe(2).ranura, 5);
    EXPECT_EQ(d.NumPuntos(), 8);
}

TEST(HarmonicsPresence, PointsComeFromTheFirstSlotAndShortSlotsArePadded) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
    const DatosArmonicos d = e.datos();
    ASSERT_EQ(d.NumSeries(), 3);
    EXPECT_EQ(d.NumPuntos(), 8);
    EXPECT_DOUBLE_EQ(d.Y(1, 2), 3);
    EXPECT_DOUBLE_EQ(d.Y(1, 3), N);
    EXPECT_DOUBLE_EQ(d.Y(1, 7), N);
    EXPECT_DOUBLE_EQ(d.Y(2, 7), 8);
}

TEST(HarmonicsPresence, NoSlotPresentGivesNoSeriesAndOneEmptyAxis) {
    Espectro e;
    e.ranuras = {kVacio, kVacio};
    const DatosArmonicos d = e.datos();
    EXPECT_EQ(d.NumSeries(), 0);
    ASSERT_EQ(d.Ejes().size(), 1u);
    EXPECT_EQ(d.Ejes()[0].series, 0);
}

TEST(HarmonicsRegisters, PairsOfEveryIntervalsRowAreConcatenated) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}};
    e.pares = {{0, 2}, {3, 5, 6, 7}};
    e.registros = 3;
    const DatosArmonicos d = e.datos();
    ASSERT_EQ(d.Registros().size(), 3u);
    EXPECT_EQ(d.Registros()[1], std::make_pair(3, 5));
    EXPECT_EQ(d.Registros()[2], std::make_pair(6, 7));
    EXPECT_EQ(d.TiempoRegistro(2).Texto(), registro(2).Texto());
}

TEST(HarmonicsRegisters, PairsNamingNoPointAreDroppedAndLongOnesCut) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}};
    // Reversed, negative, beyond the data, a dangling first index; then one running past the end.
    e.pares = {{3, 1, -2, 4, 8, 9, 5, 20, 6}};
    const DatosArmonicos d = e.datos();
    ASSERT_EQ(d.Registros().size(), 1u);
    EXPECT_EQ(d.Registros()[0], std::make_pair(5, 7));
}

TEST(HarmonicsRegisters, DataWithoutPairsIsOneRegister) {
    Espectro e;
    e.ranuras = {{1, 2, 3}};
    e.pares = {};
    const DatosArmonicos d = e.datos();
    ASSERT_EQ(d.Registros().size(), 1u);
    EXPECT_EQ(d.Registros()[0], std::make_pair(0, 2));
    // A register beyond the times handed over has the largest time, not a crash.
    EXPECT_EQ(d.TiempoRegistro(5).Texto(), TTiempo::Maximo().Texto());
}

TEST(HarmonicsXValues, ExtraRowGivesTheOrderOfEveryPoint) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}};
    e.x = {1.5, 2.5, 3.5, 4.5, 1.5, 2.5, 3.5, 4.5};
    const DatosArmonicos d = e.datos();
    EXPECT_DOUBLE_EQ(d.X(0, 0), 1.5);
    EXPECT_DOUBLE_EQ(d.X(0, 7), 4.5);
}

TEST(HarmonicsXValues, OptionsGiveTheXOfOneRegisterRepeatedForEach) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}};
    e.x = {};
    e.opciones.insert(e.opciones.end(), {3, 209, 211, 213});
    const DatosArmonicos d = e.datos(OrigenX::Opciones);
    EXPECT_DOUBLE_EQ(d.X(0, 0), 209);
    EXPECT_DOUBLE_EQ(d.X(0, 2), 213);
    EXPECT_DOUBLE_EQ(d.X(0, 4), 209);
    EXPECT_DOUBLE_EQ(d.X(0, 6), 213);
    // Past the m values a point stands at its order.
    EXPECT_DOUBLE_EQ(d.X(0, 7), 5);
}

TEST(HarmonicsXValues, ACountLargerThanTheOptionsRowReadsOnlyWhatIsThere) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4}};
    e.pares = {{0, 3}};
    e.x = {};
    e.opciones.insert(e.opciones.end(), {1000, 7});
    const DatosArmonicos d = e.datos(OrigenX::Opciones);
    EXPECT_DOUBLE_EQ(d.X(0, 0), 7);
    EXPECT_DOUBLE_EQ(d.X(0, 1), 3);
}

TEST(HarmonicsAxesAndTitles, UnitChangesStartAxesLabelledByKind) {
    Espectro e;
    e.ranuras = {{1}, {1}, kVacio, {1}, {1}, {1}};
    e.unidades = {"%V", "%V", "%V", "%A", "%A", "kW"};
    e.pares = {{0, 0}};
    const std::vector<armonicos::Eje> ejes = e.datos().Ejes();
    ASSERT_EQ(ejes.size(), 3u);
    EXPECT_EQ(ejes[0].etiqueta, QStringLiteral("%Vn"));
    EXPECT_EQ(ejes[0].series, 2);
    EXPECT_EQ(ejes[1].etiqueta, QStringLiteral("%In"));
    EXPECT_EQ(ejes[1].series, 2);
    EXPECT_EQ(ejes[2].etiqueta, QStringLiteral("kW"));
}

TEST(HarmonicsAxesAndTitles, TitleIsTheWordWithTheFirstNamesTailOrTheOnlyName) {
    Espectro e;
    e.ranuras = {kVacio, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}};
    e.nombres = {"V1 (Harmonics)", "V2 (Harmonics)", "V3 (Harmonics)"};
    const DatosArmonicos d = e.datos();
    EXPECT_EQ(d.Titulo(QStringLiteral("HARMONICS")), QStringLiteral("HARMONICS (Harmonics)"));
    EXPECT_EQ(d.Etiqueta(0), QStringLiteral("V2"));

    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}};
    e.nombres = {"V1 (24-hour harmonics)"};
    EXPECT_EQ(e.datos().Titulo(QStringLiteral("HARMONICS")), QStringLiteral("V1 (24-hour harmonics)"));

    e.ranuras = {{1}, {1}};
    e.nombres = {"V1", "V2"};
    e.pares = {{0, 0}};
    EXPECT_EQ(e.datos().Titulo(QStringLiteral("HARMONICS")), QStringLiteral("HARMONICS"));
    EXPECT_EQ(e.datos().Etiqueta(1), QStringLiteral("V2"));
}

TEST(HarmonicsJudging, AValueEqualToItsLimitIsNotBadAndOneAboveIs) {
    Espectro e;
    e.ranuras = {{2.0, 1.0, 0.5, 0.1, 2.0, 1.5, 0.5, 0.1}};
    const DatosArmonicos d = e.datos();
    EXPECT_TRUE(d.RegistrosMalos(porRanura, {2.0, 1.5}, {}).empty());
    EXPECT_EQ(d.RegistrosMalos(porRanura, {2.0, 1.4}, {}), std::vector<int>{1});
}

TEST(HarmonicsJudging, OnlyAsManyPointsAsLimitsAreJudged) {
    Espectro e;
    // The fourth point of each register is far above anything, but there are three limits.
    e.ranuras = {{1, 1, 1, 50, 1, 1, 1.2, 50}};
    const DatosArmonicos d = e.datos();
    EXPECT_EQ(d.RegistrosMalos(porRanura, {1.1, 1.1, 1.1}, {}), std::vector<int>{1});
}

TEST(HarmonicsJudging, CurrentSlotsAreJudgedAgainstTheCurrentLimits) {
    Espectro e;
    e.ranuras = {kVacio, kVacio, kVacio, {10, 1, 1, 1, 1, 1, 1, 1}, kVacio, {1, 1, 1, 1, 1, 1, 9, 1}};
    const DatosArmonicos d = e.datos();
    // Voltage limits that every current breaks do not count.
    EXPECT_TRUE(d.RegistrosMalos(porRanura, {0.1, 0.1, 0.1, 0.1}, {}).empty());
    EXPECT_EQ(d.RegistrosMalos(porRanura, {}, {8, 8, 8}), (std::vector<int>{0, 1}));
}

TEST(HarmonicsJudging, AWindowOfCurrentsJudgesEverySlotAsCurrent) {
    Espectro e;
    e.ranuras = {{10, 1, 1, 1, 1, 1, 1, 1}};
    const DatosArmonicos d = e.datos();
    const auto corriente = [](int) { return juicio::Tipo::Corriente; };
    EXPECT_TRUE(d.RegistrosMalos(corriente, {0.5}, {}).empty());
    EXPECT_EQ(d.RegistrosMalos(corriente, {}, {5}), std::vector<int>{0});
}

TEST(HarmonicsJudging, NoLimitsBreakNothingAndNoDataNeverBreaks) {
    Espectro e;
    e.ranuras = {{N, N, 5, N, N, N, N, N}};
    const DatosArmonicos d = e.datos();
    EXPECT_TRUE(d.RegistrosMalos(porRanura, {}, {}).empty());
    EXPECT_TRUE(d.RegistrosMalos(porRanura, {1, 1}, {}).empty());
    EXPECT_EQ(d.RegistrosMalos(porRanura, {1, 1, 1}, {}), std::vector<int>{0});
}

TEST(HarmonicsLabels, TwentyFourHourOrdersStartAtTwo) {
    EXPECT_EQ(armonicos::EtiquetaOrden(0), QStringLiteral("|h2"));
    EXPECT_EQ(armonicos::EtiquetaOrden(23), QStringLiteral("|h25"));
}

TEST(HarmonicsLabels, BandDecimalsFollowTheBandWidth) {
    EXPECT_EQ(armonicos::DecimalesBanda(0.05), 2);
    EXPECT_EQ(armonicos::DecimalesBanda(5), 1);
    EXPECT_EQ(armonicos::DecimalesBanda(0.1), 1);
    EXPECT_EQ(armonicos::DecimalesBanda(0.001), 3);
    // A width of nothing does not loop for ever.
    EXPECT_GE(armonicos::DecimalesBanda(0), 1);
    EXPECT_EQ(armonicos::EtiquetaBanda(211, 2), QStringLiteral("|B209.0 - 211.0 V"));
    EXPECT_EQ(armonicos::EtiquetaBanda(1.05, 0.05), QStringLiteral("|B1.00 - 1.05 V"));
}

TEST(HarmonicsLabels, InterharmonicsBeyondFortyPointsLabelEveryOtherPoint) {
    EXPECT_EQ(armonicos::EtiquetaInterarmonico(0, 41), QStringLiteral("|h1.5"));
    EXPECT_EQ(armonicos::EtiquetaInterarmonico(1, 41), QStringLiteral("|h"));
    EXPECT_EQ(armonicos::EtiquetaInterarmonico(2, 41), QStringLiteral("|h3.5"));
    EXPECT_EQ(armonicos::EtiquetaInterarmonico(40, 41), QStringLiteral("|h41.5"));
    EXPECT_EQ(armonicos::EtiquetaInterarmonico(1, 40), QStringLiteral("|h2.5"));
    EXPECT_EQ(armonicos::EtiquetaInterarmonico(39, 40), QStringLiteral("|h40.5"));
}

TEST(ThdJudging, OnlyValuesStrictlyAboveAnExistingLimitCount) {
    EXPECT_EQ(armonicos::PuntosSobreThd({4.9, 5.0, 5.1, N, 8}, 5.0), 2);
    EXPECT_EQ(armonicos::PuntosSobreThd({4.9, 5.0, 5.1}, -1.0), 0);
    // An empty THD field is stored as 101 and is an ordinary limit.
    EXPECT_EQ(armonicos::PuntosSobreThd({100, 101, 101.5}, 101.0), 1);
    EXPECT_EQ(armonicos::PuntosSobreThd({}, 5.0), 0);
}
