#include "Apariencia.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

namespace {

host::SettingsKey Clave() {
    return *host::SettingsKey::openOrCreate();
}

// Every bad form of every value is covered by the settings robustness suite; these are the
// bounds of each table.
TEST(AparienciaLectura, FirstRunWritesTheDefaultsAndOnePastEachTableFallsBack) {
    std::optional<host::SettingsKey> clave;
    const Apariencia::Preferencias d = Apariencia::Leer(clave, 10);
    ASSERT_TRUE(clave.has_value());
    for (int i = 0; i < Apariencia::kMaxSeries; ++i) {
        EXPECT_EQ(Clave().readInt(Apariencia::NombreColorSerie(i)), d.colores[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(Clave().readInt(Apariencia::NombreTipoLinea(i)), d.tipos[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(Clave().readInt(Apariencia::kMainFont), -1);

    host::SettingsKey k = Clave();
    k.writeInt(QStringLiteral("Color2"), 16);     // one past the series table
    k.writeInt(QStringLiteral("Tipo4"), 7);       // one past the line types
    k.writeInt(QStringLiteral("Desk Color"), 16); // dark blue: valid for the back table
    k.writeInt(QStringLiteral("Back Color"), 17);
    k.sync();
    const Apariencia::Preferencias p = Apariencia::Leer(clave, 10);
    EXPECT_EQ(p.colores[1], d.colores[1]);
    EXPECT_EQ(p.tipos[3], d.tipos[3]);
    EXPECT_EQ(p.escritorio, 16);
    EXPECT_EQ(p.fondo, d.fondo);
    EXPECT_EQ(Clave().readInt(QStringLiteral("Color2")), d.colores[1]);
}

TEST(AparienciaFuentes, ArialThenTimesNewRomanThenTheFirstForAllThreeWhenAnyIsUnresolved) {
    struct Caso {
        std::vector<std::string> lista;
        std::array<int, 3> guardadas, esperadas;
    };
    const Caso casos[] = {
        {{"DejaVu Sans", "Times New Roman", "Arial", "arial"}, {-1, 1, 0}, {2, 2, 2}},
        {{"DejaVu Sans", "TIMES NEW ROMAN", "Courier"}, {2, -1, 0}, {1, 1, 1}},
        {{"DejaVu Sans", "Courier"}, {-1, -1, -1}, {0, 0, 0}},
        {{"Arial", "Courier"}, {1, 0, 1}, {1, 0, 1}}, // all known: kept
    };
    for (const Caso& c : casos) {
        std::array<int, 3> f = c.guardadas;
        Apariencia::ResolverFuentes(f, c.lista);
        EXPECT_EQ(f, c.esperadas) << c.lista[1];
    }
    // Families fit the option texts and are named without Qt's "[Foundry]" suffix.
    for (const std::string& f : Apariencia::FuentesInstaladas()) {
        EXPECT_LE(f.size(), static_cast<size_t>(Apariencia::kLargoNombreFuente));
        EXPECT_EQ(f.find(" ["), std::string::npos) << f;
    }
}

} // namespace
