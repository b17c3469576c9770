#include "Apariencia.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

namespace {

host::SettingsKey Clave() {
    return *host::SettingsKey::openOrCreate();
}

TEST(AparienciaLectura, FirstRunWritesEveryDefault) {
    std::optional<host::SettingsKey> clave;
    const Apariencia::Preferencias p = Apariencia::Leer(clave, 10);
    ASSERT_TRUE(clave.has_value());
    const host::SettingsKey otra = Clave();
    const int colores[12] = {3, 1, 12, 15, 14, 13, 11, 10, 5, 2, 4, 7};
    const int tipos[12] = {0, 2, 1, 3, 4, 0, 2, 1, 3, 4, 0, 2};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(otra.readInt(Apariencia::NombreColorSerie(i)), colores[i]) << i;
        EXPECT_EQ(otra.readInt(Apariencia::NombreTipoLinea(i)), tipos[i]) << i;
        EXPECT_EQ(p.colores[static_cast<size_t>(i)], colores[i]);
    }
    EXPECT_EQ(otra.readInt(QStringLiteral("Desk Color")), 7);
    EXPECT_EQ(otra.readInt(QStringLiteral("Back Color")), 7);
    EXPECT_EQ(otra.readInt(QStringLiteral("Text Color")), 0);
    EXPECT_EQ(otra.readInt(QStringLiteral("Main Font")), -1);
    EXPECT_EQ(otra.readInt(QStringLiteral("Label Font")), -1);
}

TEST(AparienciaLectura, WrongValuesFallBackToTheirDefaults) {
    host::SettingsKey clave = Clave();
    clave.writeInt(QStringLiteral("Color2"), 16);     // one past the series table
    clave.writeInt(QStringLiteral("Tipo4"), -3);      // no such line type
    clave.writeInt(QStringLiteral("Desk Color"), 16); // dark blue: valid for the back table
    clave.writeString(QStringLiteral("Back Color"), QStringLiteral("white")); // wrong type
    clave.writeInt(QStringLiteral("Main Font"), 40);                          // past the installed fonts
    clave.sync();
    std::optional<host::SettingsKey> abierta;
    const Apariencia::Preferencias p = Apariencia::Leer(abierta, 10);
    EXPECT_EQ(p.colores[1], 1);
    EXPECT_EQ(p.tipos[3], 3);
    EXPECT_EQ(p.escritorio, 16);
    EXPECT_EQ(p.fondo, 7);
    EXPECT_EQ(p.fuentes[0], -1);
    EXPECT_EQ(Clave().readInt(QStringLiteral("Color2")), 1);
    EXPECT_EQ(Clave().readInt(QStringLiteral("Back Color")), 7);
    // A profile shared with a machine that has more fonts keeps its choice.
    EXPECT_EQ(Clave().readInt(QStringLiteral("Main Font")), 40);
}

TEST(AparienciaFuentes, ArialWinsForAllThreeWhenAnyIsUnresolved) {
    const std::vector<std::string> lista = {"DejaVu Sans", "Times New Roman", "Arial", "arial"};
    std::array<int, 3> f{-1, 1, 0};
    Apariencia::ResolverFuentes(f, lista);
    EXPECT_EQ(f, (std::array<int, 3>{2, 2, 2}));
}

TEST(AparienciaFuentes, TimesNewRomanWhenThereIsNoArialEvenOverStoredOnes) {
    const std::vector<std::string> lista = {"DejaVu Sans", "TIMES NEW ROMAN", "Courier"};
    std::array<int, 3> f{2, -1, 0};
    Apariencia::ResolverFuentes(f, lista);
    EXPECT_EQ(f, (std::array<int, 3>{1, 1, 1}));
}

TEST(AparienciaFuentes, FirstFontWhenNeitherIsInstalledAndStoredOnesKeptWhenAllKnown) {
    std::array<int, 3> f{-1, -1, -1};
    Apariencia::ResolverFuentes(f, {"DejaVu Sans", "Courier"});
    EXPECT_EQ(f, (std::array<int, 3>{0, 0, 0}));
    std::array<int, 3> g{1, 0, 1};
    Apariencia::ResolverFuentes(g, {"Arial", "Courier"});
    EXPECT_EQ(g, (std::array<int, 3>{1, 0, 1}));
}

TEST(AparienciaFuentes, InstalledListIsScalableCutAndBounded) {
    const std::vector<std::string> lista = Apariencia::FuentesInstaladas();
    EXPECT_LE(lista.size(), static_cast<size_t>(Apariencia::kMaxFuentes));
    for (const std::string& f : lista) {
        EXPECT_LE(f.size(), static_cast<size_t>(Apariencia::kLargoNombreFuente));
        // Families are named without Qt's "[Foundry]" suffix.
        EXPECT_EQ(f.find(" ["), std::string::npos) << f;
    }
}

TEST(AparienciaPasos, DefaultIsWrittenAndOutOfRangeIsReplaced) {
    EXPECT_EQ(Apariencia::LeerPasos(), 10);
    EXPECT_EQ(Clave().readInt(QStringLiteral("PASOS")), 10);
    Apariencia::GuardarPasos(999);
    EXPECT_EQ(Apariencia::LeerPasos(), 999);
    host::SettingsKey clave = Clave();
    clave.writeInt(QStringLiteral("PASOS"), 1000);
    clave.sync();
    EXPECT_EQ(Apariencia::LeerPasos(), 10);
}

} // namespace
