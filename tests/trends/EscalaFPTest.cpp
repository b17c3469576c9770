#include "EscalaFP.h"
#include "Contrato.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace EscalaFP;

namespace {

std::vector<double> valores(const std::vector<Linea>& l) {
    std::vector<double> v;
    for (const Linea& x : l)
        v.push_back(x.valor);
    return v;
}

} // namespace

TEST(EscalaPlegada, UnityOfEitherSignSitsOnTheZeroLineAndNoValuePassesUnchanged) {
    for (auto [v, plegado] : {std::pair{0.98, 0.02}, {-0.98, -0.02}, {1.0, 0.0}, {-1.0, 0.0}, {0.0, 1.0}})
        EXPECT_NEAR(Plegar(v), plegado, 1e-12) << v << " (zero counts as lagging)";
    for (double v : {0.5, -0.97, 0.0})
        EXPECT_NEAR(Desplegar(Plegar(v)), v, 1e-12) << v;
    EXPECT_EQ(Plegar(kValorNulo), kValorNulo);
    EXPECT_EQ(Desplegar(12345678900000.0), 12345678900000.0);
}

TEST(LineasReferencia, ElevenLinesATenthOfTheRangeApartLabelledAsFactorsAndTheZeroLineApart) {
    // clang-format off
    const struct { double desde, hasta; const char* primera; const char* ultima; } casos[] = {
        {0.02, 0.12, "0.9800", "0.8800"},
        {-0.12, -0.02, "-0.8800", "-0.9800"}, // leading factors below zero
        {0.9, 1.9, "0.1000", ""},             // beyond one a line stands for no power factor
    };
    // clang-format on
    for (const auto& c : casos) {
        const std::vector<Linea> l = Lineas(c.desde, c.hasta);
        ASSERT_EQ(l.size(), 11u) << c.desde;
        for (size_t i = 0; i < l.size(); ++i)
            EXPECT_NEAR(l[i].valor, c.desde + (c.hasta - c.desde) / 10 * static_cast<double>(i), 1e-12);
        EXPECT_EQ(l.front().etiqueta, QString::fromLatin1(c.primera));
        EXPECT_EQ(l.back().etiqueta, QString::fromLatin1(c.ultima));
    }

    // A range across zero: five steps below, the zero line drawn apart, five above.
    const std::vector<Linea> l = Lineas(-0.05, 0.05);
    ASSERT_EQ(l.size(), 11u);
    EXPECT_EQ(l[5].valor, 0.0);
    EXPECT_EQ(l[5].etiqueta, QStringLiteral("1.0000"));
    EXPECT_NE(l[5].color, l[4].color);

    // An uneven range: steps stop at its ends.
    const std::vector<double> d = valores(Lineas(-0.03, 0.1));
    EXPECT_EQ(d.size(), 2u + 1u + 7u);
    EXPECT_GE(*std::min_element(d.begin(), d.end()), -0.03);
    EXPECT_LE(*std::max_element(d.begin(), d.end()), 0.1);
    // Empty or broken ranges have no lines.
    for (auto [a, b] : {std::pair{0.0, 0.0}, {0.05, 0.05}, {0.1, 0.05}, {std::nan(""), 0.1}})
        EXPECT_TRUE(Lineas(a, b).empty()) << a << " " << b;
}

TEST(RangoPlegado, SeriesWithoutValuesAreLeftOut) {
    double a = 0, b = 0;
    EXPECT_TRUE(Rango({12345678900000.0, -0.02, 0.01}, {-12345678900000.0, 0.1, 0.03}, a, b));
    EXPECT_DOUBLE_EQ(a, -0.02);
    EXPECT_DOUBLE_EQ(b, 0.1);
    EXPECT_FALSE(Rango({12345678900000.0}, {-12345678900000.0}, a, b));
}
