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

TEST(AjustesVEF, ANewKeyGetsTheDefaultsButNotThePointTypesAndTheLevelsComeFromTheInstrument) {
    const AjustesVEF::Ajustes a = AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3}));
    auto k = clave();
    ASSERT_TRUE(k.has_value());
    EXPECT_EQ(k->readInt(QStringLiteral("TIPOLH")), 3);
    EXPECT_FALSE(k->contains(QStringLiteral("TIPOP1")));
    EXPECT_EQ(clave(QString())->readInt(QStringLiteral("HISTERESIS")), 20);
    EXPECT_EQ(a.tipoPunto, (std::array<int, 3>{-1, -1, -1}));
    EXPECT_EQ((std::array<int, 3>{a.sobretension.nivel, a.hueco.nivel, a.interrupcion.nivel}),
              (std::array<int, 3>{1100, 900, 100}));
    // A colour index outside the private table gives no colour.
    EXPECT_EQ(AjustesVEF::Color(17), -1);
}

TEST(AjustesVEF, ASavedViewWritesNoProductValuesAndWithElevenValuesCarriesItsThresholds) {
    AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3, 5, 0}));
    EXPECT_FALSE(clave(QString())->contains(QStringLiteral("HISTERESIS")));
    const AjustesVEF::Ajustes a =
        AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3, 5, 0, 1150, 850, 50, 1, 0, 1}));
    EXPECT_EQ((std::array<int, 3>{a.sobretension.nivel, a.hueco.nivel, a.interrupcion.nivel}),
              (std::array<int, 3>{1150, 850, 50}));
    EXPECT_TRUE(a.sobretension.ver && !a.hueco.ver);
    // Ten values are not enough.
    EXPECT_EQ(AjustesVEF::Leer(opciones(100, 900, 1100), objetos({1, 2, 3, 5, 0, 1150, 850, 50, 1, 0}))
                  .sobretension.nivel,
              1100);
}
