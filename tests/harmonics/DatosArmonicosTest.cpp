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
            l[LV_NOMBRES].EntrarTexto((s < 3 ? "V" : "I") + std::to_string(s % 3 + 1) + " (Harmonics)");
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

} // namespace

TEST(HarmonicsPresence, ASlotHoldingOnlyNoDataIsNoSubsetShortSlotsArePaddedAndUnitsMakeTheAxes) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8},       kVacio, {N, N, N, 0.5, N, N, N, N}, {}, {1, 2, 3},
                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
    const DatosArmonicos d = e.datos();
    ASSERT_EQ(d.NumSeries(), 4);
    EXPECT_EQ((std::vector<int>{d.CanalDe(0).ranura, d.CanalDe(1).ranura, d.CanalDe(3).ranura}),
              (std::vector<int>{0, 2, 5}));
    // The points come from the first slot.
    EXPECT_EQ(d.NumPuntos(), 8);
    EXPECT_EQ((std::vector<double>{d.Y(2, 2), d.Y(2, 3), d.Y(2, 7), d.Y(3, 7)}),
              (std::vector<double>{3, N, N, 8}));
    e.ranuras = {kVacio, kVacio};
    EXPECT_EQ(e.datos().Ejes().size(), 1u) << "no series: one empty axis";

    // Unit changes start axes, labelled by kind.
    e.ranuras = {{1}, {1}, kVacio, {1}, {1}, {1}};
    e.unidades = {"%V", "%V", "%V", "%A", "%A", "kW"};
    e.pares = {{0, 0}};
    const std::vector<armonicos::Eje> ejes = e.datos().Ejes();
    ASSERT_EQ(ejes.size(), 3u);
    EXPECT_EQ((QStringList{ejes[0].etiqueta, ejes[1].etiqueta, ejes[2].etiqueta}),
              (QStringList{"%Vn", "%In", "kW"}));
    EXPECT_EQ((std::vector<int>{ejes[0].series, ejes[1].series}), (std::vector<int>{2, 2}));
}

TEST(HarmonicsRegisters, PairsOfEveryIntervalsRowAreConcatenatedAndBadOnesDropped) {
    using P = std::vector<std::pair<int, int>>;
    // clang-format off
    const struct { std::vector<std::vector<double>> ranuras, pares; P registros; } casos[] = {
        {{{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}}, {{0, 2}, {3, 5, 6, 7}}, {{0, 2}, {3, 5}, {6, 7}}},
        // Reversed, negative, beyond the data, a dangling first index; then one running past the end.
        {{{1, 2, 3, 4, 5, 6, 7, 8}}, {{3, 1, -2, 4, 8, 9, 5, 20, 6}}, {{5, 7}}},
        // Data without pairs is one register.
        {{{1, 2, 3}}, {}, {{0, 2}}},
    };
    // clang-format on
    for (const auto& c : casos) {
        Espectro e;
        e.ranuras = c.ranuras;
        e.pares = c.pares;
        e.registros = 3;
        EXPECT_EQ(e.datos().Registros(), c.registros);
    }
    // A register beyond the times handed over has the largest time, not a crash.
    Espectro e;
    e.ranuras = {{1, 2, 3}};
    EXPECT_EQ(e.datos().TiempoRegistro(5).Texto(), TTiempo::Maximo().Texto());
}

TEST(HarmonicsXValues, FromTheExtraRowOrFromTheOptionsRepeatedForEveryRegister) {
    Espectro e;
    e.ranuras = {{1, 2, 3, 4, 5, 6, 7, 8}};
    e.x.back() = 4.5;
    EXPECT_DOUBLE_EQ(e.datos().X(0, 7), 4.5);
    e.x = {};
    e.opciones.insert(e.opciones.end(), {3, 209, 211, 213});
    const DatosArmonicos d = e.datos(OrigenX::Opciones);
    // Past the m values a point stands at its order.
    EXPECT_EQ((std::vector<double>{d.X(0, 0), d.X(0, 2), d.X(0, 4), d.X(0, 6), d.X(0, 7)}),
              (std::vector<double>{209, 213, 209, 213, 5}));

    // A count larger than the options row reads only what is there.
    e.ranuras = {{1, 2, 3, 4}};
    e.pares = {{0, 3}};
    e.opciones.resize(13);
    e.opciones.insert(e.opciones.end(), {1000, 7});
    const DatosArmonicos corto = e.datos(OrigenX::Opciones);
    EXPECT_EQ((std::vector<double>{corto.X(0, 0), corto.X(0, 1)}), (std::vector<double>{7, 3}));
}

TEST(HarmonicsLabels, OrdersBandsAndInterharmonics) {
    // Band decimals follow the band width; a width of nothing does not loop for ever.
    for (auto [ancho, decimales] : {std::pair{0.05, 2}, {5.0, 1}, {0.001, 3}})
        EXPECT_EQ(armonicos::DecimalesBanda(ancho), decimales) << ancho;
    EXPECT_GE(armonicos::DecimalesBanda(0), 1);
    EXPECT_EQ(armonicos::EtiquetaBanda(1.05, 0.05), QStringLiteral("|B1.00 - 1.05 V"));
    // Beyond forty points every other interharmonic is labelled.
    // clang-format off
    const struct { int punto, puntos; const char* etiqueta; } inter[] = {{1, 41, "|h"}, {40, 41, "|h41.5"}, {1, 40, "|h2.5"}};
    // clang-format on
    for (const auto& c : inter)
        EXPECT_EQ(armonicos::EtiquetaInterarmonico(c.punto, c.puntos), QString::fromLatin1(c.etiqueta))
            << c.punto;
}

// The limit itself is judged with the harmonics; here, which points count.
TEST(ThdJudging, OnlyValuesStrictlyAboveAnExistingLimitCount) {
    EXPECT_EQ(armonicos::PuntosSobreThd({4.9, 5.0, 5.1, N, 8}, 5.0), 2);
    EXPECT_EQ(armonicos::PuntosSobreThd({4.9, 5.0, 5.1}, -1.0), 0);
}
