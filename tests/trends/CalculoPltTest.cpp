#include "CalculoPlt.h"
#include "Contrato.h"
#include "SettingsStore.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace CalculoPlt;

namespace {

// Pst values every ten minutes from 1 December 2026 00:00, with optional gaps and flags.
struct Pst {
    std::vector<double> valores;
    std::vector<TTiempo> tiempos;
    std::vector<std::uint8_t> flags;

    explicit Pst(int n, std::vector<int> huecos = {}) {
        int paso = 0;
        for (int i = 0; i < n; ++i, ++paso) {
            while (std::find(huecos.begin(), huecos.end(), paso) != huecos.end())
                ++paso;
            TTiempo t(2026, 12, 1, 0, 0, 0, -1);
            t.SumarSegundos(600LL * paso);
            tiempos.push_back(t);
            valores.push_back(0.3 + 0.05 * (i % 7));
            flags.push_back(0);
        }
    }
    SeriePst serie() const {
        return SeriePst{valores.data(), tiempos.data(), flags.data(), static_cast<int>(valores.size()),
                        static_cast<int>(flags.size())};
    }
    double esperado(int desde, int hasta) const {
        double suma = 0;
        for (int j = desde; j <= hasta; ++j)
            suma += std::pow(valores[static_cast<size_t>(j)], 3);
        return std::cbrt(suma / (hasta - desde + 1));
    }
};

constexpr int kVentana = 7200;

} // namespace

// The state of the Plt at a point: valid, too few values, incomplete or discarded.
int EstadoEn(const Pst& p, int punto, int descartar = 0, int selector = 0) {
    return CalcularPlt(punto, p.serie(), 12, descartar, kVentana, selector).estado;
}

TEST(CalcularPlt, TwelveTenMinuteValuesFillATwoHourWindowThatSlides) {
    EXPECT_EQ(ValoresPorVentana(kVentana, 600), 12);
    const Pst p(30);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(EstadoEn(p, i), PLT_POCOS_VALORES) << i;
    EXPECT_EQ(EstadoEn(p, 40), PLT_POCOS_VALORES) << "a point outside the series has no Plt";
    for (int i : {11, 12}) {
        const Resultado r = CalcularPlt(i, p.serie(), 12, 0, kVentana, 0);
        EXPECT_EQ(r.estado, PLT_VALIDO);
        EXPECT_NEAR(r.plt, p.esperado(i - 11, i), 1e-12);
    }
}

TEST(CalcularPlt, AGapOrAMissingPstLeavesTheWindowsThatHoldItWithoutPlt) {
    const Pst p(40, {15}); // the value of 02:30 is missing
    // Point 14 is 02:20; point 15 is 02:40, its window 00:40..02:40 holds 11 values; twelve
    // points after the gap the window is whole again.
    EXPECT_EQ(EstadoEn(p, 14), PLT_VALIDO);
    EXPECT_EQ(EstadoEn(p, 15), PLT_INCOMPLETO);
    EXPECT_EQ(EstadoEn(p, 26), PLT_VALIDO);
    const SeriePlt serie = CalcularSerie(p.serie(), 12, 0, kVentana, 0);
    EXPECT_EQ(serie.valores[15], kValorNulo);
    EXPECT_NE(serie.valores[14], kValorNulo);
    EXPECT_EQ(serie.validos, 40 - 11 - 11);

    Pst nulo(20);
    nulo.valores[5] = kValorNulo;
    EXPECT_EQ(EstadoEn(nulo, 11), PLT_INCOMPLETO);
    EXPECT_EQ(EstadoEn(nulo, 17), PLT_VALIDO);
}

TEST(CalcularPlt, AFlaggedValueBlanksThePltOnlyWithDiscardingOnAndForItsPhase) {
    Pst p(20);
    p.flags[5] = 0x01; // an interruption: bad for every phase
    for (int selector : {0, 1, 2}) {
        EXPECT_EQ(EstadoEn(p, 11, 1, selector), PLT_DESCARTADO) << selector;
        EXPECT_EQ(EstadoEn(p, 11, 0, selector), PLT_VALIDO) << selector;
    }
    // Once the flagged value has left the window the Plt is back.
    EXPECT_EQ(EstadoEn(p, 16, 1), PLT_DESCARTADO);
    EXPECT_EQ(EstadoEn(p, 17, 1), PLT_VALIDO);
    // Each selector reads its own phase bit.
    for (auto [bit, malo] : {std::pair{0x02, 0}, {0x04, 1}, {0x08, 2}}) {
        p.flags[5] = static_cast<std::uint8_t>(bit);
        for (int selector : {0, 1, 2})
            EXPECT_EQ(EstadoEn(p, 11, 1, selector), selector == malo ? PLT_DESCARTADO : PLT_VALIDO)
                << "bit " << bit << " selector " << selector;
    }
}

TEST(CalcularPlt, MissingFlagsAndWindowsThatCannotHoldAValue) {
    Pst p(14);
    SeriePst sinFlags = p.serie();
    sinFlags.flags = nullptr;
    sinFlags.numFlags = 0;
    EXPECT_EQ(CalcularPlt(11, sinFlags, 12, 1, kVentana, 0).estado, PLT_VALIDO);
    for (auto [ventana, paso] : {std::pair{0, 600}, {7200, 0}, {7200, -600}})
        EXPECT_EQ(ValoresPorVentana(ventana, paso), 0) << ventana << " " << paso;
    const SeriePlt nada = CalcularSerie(p.serie(), 0, 0, 0, 0);
    EXPECT_EQ(nada.validos, 0);
    EXPECT_EQ(nada.valores.size(), 14u);
}

TEST(AjustesFlicker, MissingValuesAreWrittenWithTheirDefaultsAndWrongOnesAreDefaults) {
    EXPECT_EQ(LeerAjustes(), Ajustes{});
    auto clave = host::SettingsKey::openOrCreate(QStringLiteral("FLICKER"));
    ASSERT_TRUE(clave.has_value());
    EXPECT_EQ(clave->readInt(QStringLiteral("VENTANA")), 7200);
    clave->writeInt(QStringLiteral("MAXIMO"), -7);
    clave->writeInt(QStringLiteral("VENTANA"), 0);
    clave->writeInt(QStringLiteral("IGNORAR"), 5);
    clave->sync();
    EXPECT_EQ(LeerAjustes(), (Ajustes{-1, 7200, 1}));
}

TEST(MaximoPlt, PointOrCommaAsDecimalSeparatorAndAnythingElseIsNotANumber) {
    // 1.001 is not truncated to 1000 by binary rounding.
    for (auto [texto, milesimas] : {std::pair{"0,25", 250}, {"2", 2000}, {"1.001", 1001}, {"0.0009", 0}}) {
        int m = -1;
        EXPECT_TRUE(LeerMaximo(QString::fromLatin1(texto), m)) << texto;
        EXPECT_EQ(m, milesimas) << texto;
    }
    int m = 77;
    for (const char* t : {"1,2.3", "1e3", "-1", " 1", ".", ""})
        EXPECT_FALSE(LeerMaximo(QString::fromLatin1(t), m)) << t;
    EXPECT_EQ(m, 77);
}
