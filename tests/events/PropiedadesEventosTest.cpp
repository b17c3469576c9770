#include "PropiedadesEventos.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

namespace {

const NivelesInstrumento kNiveles{100, 900, 1100};
const std::array<int, 3> kPuntos{4, 6, 8};

std::optional<qint32> Leido(TipoPropiedades t, const char* nombre) {
    auto clave = host::SettingsKey::openOrCreate(PropiedadesEventos::Subclave(t));
    return clave ? clave->readInt(QString::fromLatin1(nombre)) : std::nullopt;
}

} // namespace

TEST(PropiedadesEventos, StoredValuesWinBadOnesAreRewrittenAndAFirstReadWritesTheDefaults) {
    {
        auto clave = host::SettingsKey::openOrCreate(QStringLiteral("PROPIEDADESEH"));
        ASSERT_TRUE(clave);
        clave->writeInt(QStringLiteral("HISTERESIS"), 500);
        clave->writeInt(QStringLiteral("VERTRIFASICOS"), 1);
        clave->writeInt(QStringLiteral("COLORLS"), 17);                        // no such colour
        clave->writeString(QStringLiteral("COMPACTAR"), QStringLiteral("si")); // wrong type
        clave->writeInt(QStringLiteral("TIPOLH"), -3);
        clave->sync();
    }
    const auto p = PropiedadesEventos::Leer(TipoPropiedades::EH, kNiveles, kPuntos);
    EXPECT_TRUE(p.VerTrifasicos() && p.Compactar());
    for (auto [nombre, valor] :
         {std::pair{"COLORLS", 1}, {"COMPACTAR", 1}, {"TIPOLH", 3}, {"HISTERESIS", 500}})
        EXPECT_EQ(Leido(TipoPropiedades::EH, nombre), valor) << nombre;

    // Another window's record is its own: a first read writes the defaults; the thresholds come
    // from the instrument's levels, the point types from the caller.
    const auto q = PropiedadesEventos::Leer(TipoPropiedades::CBEMA, kNiveles, kPuntos);
    EXPECT_EQ((std::array<int, 3>{q.Valor(EV_UMBRALS), q.Valor(EV_UMBRALH), q.Valor(EV_UMBRALI)}),
              (std::array<int, 3>{1100, 900, 100}));
    EXPECT_EQ(q.Valor(CampoTipoPunto(1)), 6);
    for (auto [nombre, valor] : {std::pair{"TIPOP2", 6}, {"HISTERESIS", 20}, {"VERNOOK", 1}})
        EXPECT_EQ(Leido(TipoPropiedades::CBEMA, nombre), valor) << nombre;
}

TEST(PropiedadesEventos, SaveAndReadBackExceptTheThresholds) {
    auto p = PropiedadesEventos::Leer(TipoPropiedades::ED, kNiveles, kPuntos);
    p.PonerValor(EV_VERH, 1);
    p.PonerValor(EV_UMBRALH, 850);
    p.PonerValor(p.CampoHisteresis(), 1234);
    p.PonerValor(CampoResaltar(2), 0);
    ASSERT_TRUE(p.Guardar());
    const auto q = PropiedadesEventos::Leer(TipoPropiedades::ED, NivelesInstrumento{50, 800, 1150}, kPuntos);
    EXPECT_EQ(q.Histeresis(), 1234);
    EXPECT_EQ(q.Valor(CampoResaltar(2)), 0);
    EXPECT_EQ(q.Valor(EV_UMBRALH), 800); // from the new instrument, not the saved 850
    EXPECT_TRUE(q.Umbrales().verHueco);
}

TEST(PropiedadesEventos, RowForTheTableAndExportModules) {
    auto cb = PropiedadesEventos::Defecto(TipoPropiedades::CBEMA, kNiveles, kPuntos);
    cb.PonerValor(cb.CampoVerTrifasicos(), 1);
    cb.PonerValor(EV_NUM_COMUNES + 3, 2);
    EXPECT_EQ(cb.FilaLista({7, 8, 9}, 4, 0), (std::vector<int>{7, 8, 9, 4, 0, 1100, 900, 100, 1, 20, 1, 2}));
}
