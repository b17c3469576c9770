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

TEST(CalcularPlt, TwelveTenMinuteValuesFillATwoHourWindow) {
    EXPECT_EQ(ValoresPorVentana(kVentana, 600), 12);
    const Pst p(30);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(CalcularPlt(i, p.serie(), 12, 0, kVentana, 0).estado, PLT_POCOS_VALORES) << i;
    const Resultado r = CalcularPlt(11, p.serie(), 12, 0, kVentana, 0);
    EXPECT_EQ(r.estado, PLT_VALIDO);
    EXPECT_NEAR(r.plt, p.esperado(0, 11), 1e-12);
    // The window slides: the oldest value leaves as a new one comes.
    const Resultado siguiente = CalcularPlt(12, p.serie(), 12, 0, kVentana, 0);
    EXPECT_EQ(siguiente.estado, PLT_VALIDO);
    EXPECT_NEAR(siguiente.plt, p.esperado(1, 12), 1e-12);
}

TEST(CalcularPlt, AGapLeavesTheWindowsThatHoldItWithoutPlt) {
    const Pst p(40, {15}); // the value of 02:30 is missing
    // Point 14 is 02:20; point 15 is 02:40, its window 00:40..02:40 holds 11 values.
    EXPECT_EQ(CalcularPlt(14, p.serie(), 12, 0, kVentana, 0).estado, PLT_VALIDO);
    EXPECT_EQ(CalcularPlt(15, p.serie(), 12, 0, kVentana, 0).estado, PLT_INCOMPLETO);
    const SeriePlt serie = CalcularSerie(p.serie(), 12, 0, kVentana, 0);
    EXPECT_EQ(serie.valores[15], kValorNulo);
    EXPECT_NE(serie.valores[14], kValorNulo);
    // Twelve points after the gap the window is whole again.
    EXPECT_EQ(CalcularPlt(26, p.serie(), 12, 0, kVentana, 0).estado, PLT_VALIDO);
    EXPECT_EQ(serie.validos, 40 - 11 - 11);
}

TEST(CalcularPlt, AMissingPstMakesTheWindowIncomplete) {
    Pst p(20);
    p.valores[5] = kValorNulo;
    EXPECT_EQ(CalcularPlt(11, p.serie(), 12, 0, kVentana, 0).estado, PLT_INCOMPLETO);
    EXPECT_EQ(CalcularPlt(17, p.serie(), 12, 0, kVentana, 0).estado, PLT_VALIDO);
}

TEST(CalcularPlt, AFlaggedValueBlanksThePltOnlyWithDiscardingOn) {
    Pst p(20);
    p.flags[5] = 0x01; // an interruption: bad for every phase
    for (int selector : {0, 1, 2}) {
        EXPECT_EQ(CalcularPlt(11, p.serie(), 12, 1, kVentana, selector).estado, PLT_DESCARTADO) << selector;
        EXPECT_EQ(CalcularPlt(11, p.serie(), 12, 0, kVentana, selector).estado, PLT_VALIDO) << selector;
    }
    // Once the flagged value has left the window the Plt is back.
    EXPECT_EQ(CalcularPlt(17, p.serie(), 12, 1, kVentana, 0).estado, PLT_VALIDO);
    EXPECT_EQ(CalcularPlt(16, p.serie(), 12, 1, kVentana, 0).estado, PLT_DESCARTADO);
}

TEST(CalcularPlt, EachSelectorReadsItsOwnPhaseBit) {
    Pst p(12);
    const struct {
        std::uint8_t bit;
        int malo;
    } casos[] = {{0x02, 0}, {0x04, 1}, {0x08, 2}};
    for (const auto& c : casos) {
        p.flags[3] = c.bit;
        for (int selector : {0, 1, 2}) {
            const int estado = CalcularPlt(11, p.serie(), 12, 1, kVentana, selector).estado;
            EXPECT_EQ(estado, selector == c.malo ? PLT_DESCARTADO : PLT_VALIDO)
                << "bit " << int(c.bit) << " selector " << selector;
        }
    }
}

TEST(CalcularPlt, MissingFlagsAndWindowsThatCannotHoldAValue) {
    Pst p(14);
    SeriePst sinFlags = p.serie();
    sinFlags.flags = nullptr;
    sinFlags.numFlags = 0;
    EXPECT_EQ(CalcularPlt(11, sinFlags, 12, 1, kVentana, 0).estado, PLT_VALIDO);
    EXPECT_EQ(ValoresPorVentana(0, 600), 0);
    EXPECT_EQ(ValoresPorVentana(7200, 0), 0);
    EXPECT_EQ(ValoresPorVentana(7200, -600), 0);
    const SeriePlt nada = CalcularSerie(p.serie(), 0, 0, 0, 0);
    EXPECT_EQ(nada.validos, 0);
    EXPECT_EQ(nada.valores.size(), 14u);
    // A point outside the series has no Plt.
    EXPECT_EQ(CalcularPlt(20, p.serie(), 12, 0, kVentana, 0).estado, PLT_POCOS_VALORES);
}

TEST(AjustesFlicker, MissingValuesAreWrittenWithTheirDefaults) {
    const Ajustes a = LeerAjustes();
    EXPECT_EQ(a, Ajustes{});
    auto clave = host::SettingsKey::openOrCreate(QStringLiteral("FLICKER"));
    ASSERT_TRUE(clave.has_value());
    EXPECT_EQ(clave->readInt(QStringLiteral("MAXIMO")), -1);
    EXPECT_EQ(clave->readInt(QStringLiteral("VENTANA")), 7200);
    EXPECT_EQ(clave->readInt(QStringLiteral("IGNORAR")), 0);
}

TEST(AjustesFlicker, StoredValuesRoundTripAndWrongOnesReadAsDefaults) {
    GuardarAjustes(Ajustes{1500, 3600, 1});
    EXPECT_EQ(LeerAjustes(), (Ajustes{1500, 3600, 1}));
    auto clave = host::SettingsKey::openOrCreate(QStringLiteral("FLICKER"));
    ASSERT_TRUE(clave.has_value());
    clave->writeInt(QStringLiteral("MAXIMO"), -7);
    clave->writeInt(QStringLiteral("VENTANA"), 0);
    clave->writeInt(QStringLiteral("IGNORAR"), 5);
    clave->sync();
    EXPECT_EQ(LeerAjustes(), (Ajustes{-1, 7200, 1}));
}

TEST(MaximoPlt, PointOrCommaAsDecimalSeparator) {
    int m = 0;
    EXPECT_TRUE(LeerMaximo(QStringLiteral("1.000"), m));
    EXPECT_EQ(m, 1000);
    EXPECT_TRUE(LeerMaximo(QStringLiteral("0,25"), m));
    EXPECT_EQ(m, 250);
    EXPECT_TRUE(LeerMaximo(QStringLiteral("2"), m));
    EXPECT_EQ(m, 2000);
    EXPECT_TRUE(LeerMaximo(QStringLiteral("1.001"), m)) << "not truncated to 1000 by binary rounding";
    EXPECT_EQ(m, 1001);
    EXPECT_TRUE(LeerMaximo(QStringLiteral("0.0009"), m));
    EXPECT_EQ(m, 0);
}

TEST(MaximoPlt, AnythingElseIsNotANumber) {
    int m = 77;
    for (const char* t : {"1.2.3", "1,2.3", "1e3", "-1", " 1", "abc", ".", ""})
        EXPECT_FALSE(LeerMaximo(QString::fromLatin1(t), m)) << t;
    EXPECT_EQ(m, 77);
}
