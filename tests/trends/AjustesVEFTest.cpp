#include "AjustesVEF.h"
#include "Contrato.h"
#include "SettingsStore.h"
#include "TValorMultiple.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

TValorMultiple opciones(int interrupcion, int hueco, int sobretension) {
    TValorMultiple o;
    o.EntrarDoubles({0, 20, 0.01, 0, 0, 0, static_cast<double>(interrupcion), static_cast<double>(hueco),
                     static_cast<double>(sobretension), 0, 0, 0, 39030});
    return o;
}

TValorMultiple objetos(std::vector<std::int32_t> fila) {
    TValorMultiple o;
    o.EntrarEnteros(fila);
    return o;
}

std::optional<host::SettingsKey> clave(const QString& ruta = QStringLiteral("PROPIEDADESVEF")) {
    return host::SettingsKey::openOrCreate(ruta);
}

} // namespace

TEST(AjustesVEF, ANewKeyGetsEveryDefaultButThePointTypes) {
    const AjustesVEF::Ajustes a = AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3}));
    auto k = clave();
    ASSERT_TRUE(k.has_value());
    const std::pair<const char*, int> esperados[] = {
        {"VERS", 0},    {"TIPOLS", 0},    {"COLORLS", 1}, {"VERH", 0},
        {"TIPOLH", 3},  {"COLORLH", 2},   {"VERI", 0},    {"TIPOLI", 4},
        {"COLORLI", 3}, {"RESALTAR1", 1}, {"COLORP1", 0}, {"RESALTAR2", 1},
        {"COLORP2", 1}, {"RESALTAR3", 1}, {"COLORP3", 2}, {"VERDURACIONES", 0}};
    for (const auto& [nombre, valor] : esperados)
        EXPECT_EQ(k->readInt(QString::fromLatin1(nombre)), valor) << nombre;
    for (const char* n : {"TIPOP1", "TIPOP2", "TIPOP3"})
        EXPECT_FALSE(k->contains(QString::fromLatin1(n))) << n;
    auto producto = clave(QString());
    EXPECT_EQ(producto->readInt(QStringLiteral("COMPACTAR")), 1);
    EXPECT_EQ(producto->readInt(QStringLiteral("HISTERESIS")), 20);
    EXPECT_EQ(producto->readInt(QStringLiteral("VERTRIFASICOS")), 0);

    EXPECT_FALSE(a.sobretension.ver);
    EXPECT_EQ(a.hueco.tipo, 3);
    EXPECT_EQ(a.interrupcion.color, 3);
    EXPECT_EQ(a.tipoPunto, (std::array<int, 3>{-1, -1, -1}));
    EXPECT_EQ(a.sobretension.nivel, 1100);
    EXPECT_EQ(a.hueco.nivel, 900);
    EXPECT_EQ(a.interrupcion.nivel, 100);
}

TEST(AjustesVEF, AnExistingKeyKeepsItsValuesAndGainsTheMissingOnes) {
    {
        auto k = clave();
        k->writeInt(QStringLiteral("VERS"), 1);
        k->writeInt(QStringLiteral("COLORP2"), 9);
        k->writeInt(QStringLiteral("TIPOP2"), 5);
        k->sync();
    }
    const AjustesVEF::Ajustes a = AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3}));
    EXPECT_TRUE(a.sobretension.ver);
    EXPECT_EQ(a.colorFase[1], 9);
    EXPECT_EQ(a.tipoPunto, (std::array<int, 3>{-1, 5, -1}));
    auto k = clave();
    EXPECT_EQ(k->readInt(QStringLiteral("VERS")), 1);
    EXPECT_EQ(k->readInt(QStringLiteral("TIPOP1")), -1);
    EXPECT_EQ(k->readInt(QStringLiteral("TIPOP3")), -1);
    EXPECT_EQ(k->readInt(QStringLiteral("VERH")), 0);
}

TEST(AjustesVEF, ASavedViewWritesNoProductValues) {
    AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3, 5, 0}));
    auto producto = clave(QString());
    EXPECT_FALSE(producto->contains(QStringLiteral("COMPACTAR")));
    EXPECT_FALSE(producto->contains(QStringLiteral("HISTERESIS")));
}

TEST(AjustesVEF, ASavedViewWithElevenValuesCarriesItsThresholds) {
    const AjustesVEF::Ajustes a =
        AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3, 5, 0, 1150, 850, 50, 1, 0, 1}));
    EXPECT_EQ(a.sobretension.nivel, 1150);
    EXPECT_EQ(a.hueco.nivel, 850);
    EXPECT_EQ(a.interrupcion.nivel, 50);
    EXPECT_TRUE(a.sobretension.ver);
    EXPECT_FALSE(a.hueco.ver);
    EXPECT_TRUE(a.interrupcion.ver);
    // Ten values are not enough.
    const AjustesVEF::Ajustes b =
        AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3, 5, 0, 1150, 850, 50, 1, 0}));
    EXPECT_EQ(b.sobretension.nivel, 1100);
}

// The colours themselves reach the chart in the window tests.
TEST(AjustesVEF, ThePrivateColourTableEndsWithWhite) {
    EXPECT_EQ(AjustesVEF::Color(16), 0xFFFFFF);
    EXPECT_EQ(AjustesVEF::Color(-1), -1);
    EXPECT_EQ(AjustesVEF::Color(17), -1);
}
