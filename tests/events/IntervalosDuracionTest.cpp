#include "IntervalosDuracion.h"
#include "ApoyoEventos.h"
#include "FicheroAtomico.h"
#include "HostDirectory.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// 0 ms to 1 s (50 %) and 1 s to 1 min (50 %).
const ListaIntervalos kDos = {{0, UNIDAD_MS, 1, UNIDAD_S, 50}, {1, UNIDAD_S, 1, UNIDAD_MIN, 50}};

using apoyo::Contenido;
using apoyo::Poner;

QStringList Etiquetas(const std::vector<LimiteEje>& l) {
    QStringList e;
    for (const LimiteEje& x : l)
        e << x.etiqueta;
    return e;
}

} // namespace

TEST(PosicionDuracion, EventsArePlacedInsideTheirIntervalWhoseLastEndsJustPastTheLongestEvent) {
    // clang-format off
    const struct { double duracion, mayor; ListaIntervalos intervalos; double posicion; } casos[] = {
        {500, 60000, kDos, 250}, {1000, 60000, kDos, 500}, {0, 60000, kDos, 0}, {30500, 60000, kDos, 750},
        // An interval holds its start but not its end.
        {60000, 60000, kDos, kSinPosicion}, {-1, 60000, kDos, kSinPosicion}, {500, 60000, {}, kSinPosicion},
        // The longest event lasts 20 s: the last interval runs from 1 s to 20.001 s.
        {20000, 20000, kDos, 500 + 500 * 19000.0 / 19001.0}, {10500.5, 20000, kDos, 750},
        {20001, 20000, kDos, kSinPosicion}, {500, 20000, kDos, 250},
        // A longest event before the last interval leaves it empty, without dividing by nothing.
        {1000, 400, kDos, kSinPosicion},
    };
    // clang-format on
    for (const auto& c : casos)
        EXPECT_DOUBLE_EQ(PosicionDuracion(c.duracion, c.mayor, c.intervalos), c.posicion)
            << c.duracion << " " << c.mayor;
}

TEST(LimitesEje, BoundaryLabelsInSeconds) {
    const ListaIntervalos tres = {
        {10, UNIDAD_MS, 1, UNIDAD_S, 30}, {2, UNIDAD_S, 1, UNIDAD_MIN, 30}, {1, UNIDAD_MIN, 1, UNIDAD_H, 40}};
    const auto l = LimitesEje(tres, 7200000);
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(Etiquetas(l),
              (QStringList{"|h[0.01\t", "|h1.00) [2.00\t", "|h60.00) [60.00\t", "|h3600.00)\t"}));
    EXPECT_EQ(l[2].posicion, 600);
    // The longest event inside the last interval: the last label shows where it now ends.
    EXPECT_EQ(LimitesEje(tres, 90000).back().etiqueta, QStringLiteral("|h90.00)\t"));
    EXPECT_TRUE(LimitesEje({}, 0).empty());
}

TEST(IntervalosFichero, WriterAndReaderRoundTrip) {
    const ListaIntervalos sesenta = {{10, UNIDAD_MS, 1, UNIDAD_S, 60}, {1, UNIDAD_S, 1, UNIDAD_MIN, 40}};
    EXPECT_EQ(FormatearIntervalos(sesenta), QByteArray("2,10,0,1,1,60,1,1,1,2,40\n"));
    ASSERT_TRUE(GuardarIntervalos(sesenta));
    EXPECT_EQ(Contenido(kFicheroIntervalos), QByteArray("2,10,0,1,1,60,1,1,1,2,40\n"));
    EXPECT_EQ(CargarIntervalos(), std::optional<ListaIntervalos>(sesenta));
}

// Every refusal reads as one error, the file's warning; the fuzz target covers the rest.
TEST(IntervalosFichero, ReaderAcceptsWhatTheFormatAllowsAndRefusesTheRest) {
    const std::optional<ListaIntervalos> diez({{10, 0, 1, 1, 100}});
    // No final newline, written on Windows, fractions dropped, a 20-character number.
    for (const char* bueno : {"1,10,0,1,1,100", "1,10,0,1,1,100\r\n", "1.0,10.9,0,1,1,100\n",
                              "1,00000000000000000010,0,1,1,100\n"})
        EXPECT_EQ(LeerIntervalos(QByteArray(bueno)), diez) << bueno;
    // Empty, fields short or left over, unit out of range, sign, trailing text, other separator,
    // overflow, absurd count.
    for (const char* malo :
         {"", "1,10,0,1,1\n", "1,10,0,1,1,100,5\n", "1,10,5,1,1,100\n", "1,-10,0,1,1,100\n",
          "1,10,0,1,1,100\nx", "1;10;0;1;1;100\n", "1,99999999999,0,1,1,100\n", "2147483647,1,0,1,1,100\n"})
        EXPECT_EQ(LeerIntervalos(QByteArray(malo)), std::nullopt) << malo;
}

TEST(IntervalosFichero, UnreadableFileWarnsAndLeavesNoIntervals) {
    EXPECT_TRUE(CargarIntervalosAvisando(nullptr).empty()); // missing
    Poner(kFicheroIntervalos, "2,10,0,1,1,60\n");           // corrupt
    EXPECT_TRUE(CargarIntervalosAvisando(nullptr).empty());
    EXPECT_EQ(testsupport::Messages::count("Error reading intervals file. No intervals loaded."), 2);
    // A good file is read without a word.
    Poner(kFicheroIntervalos, "1,10,0,1,1,100\n");
    EXPECT_EQ(CargarIntervalosAvisando(nullptr).size(), 1u);
    EXPECT_EQ(testsupport::Messages::shown().size(), 2u);
}

TEST(FicheroAtomico, AProcessDyingWhileSavingLeavesTheOldFileWhole) {
    ASSERT_TRUE(GuardarIntervalos(kDos));
    const QByteArray antes = Contenido(kFicheroIntervalos);
    const pid_t hijo = fork();
    ASSERT_GE(hijo, 0);
    if (hijo == 0) {
        // The child dies after writing the new content, before it replaces the old file.
        FicheroAtomico::PonerAntesDeRenombrar([] { _exit(7); });
        GuardarIntervalos({{0, UNIDAD_MS, 5, UNIDAD_S, 100}});
        _exit(0);
    }
    int estado = 0;
    ASSERT_EQ(waitpid(hijo, &estado, 0), hijo);
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(WEXITSTATUS(estado), 7);
    EXPECT_EQ(Contenido(kFicheroIntervalos), antes);
    EXPECT_EQ(CargarIntervalos(), std::optional<ListaIntervalos>(kDos));
}

TEST(FicheroAtomico, FailureKeepsTheOldFileAndSaysWhy) {
    ASSERT_TRUE(GuardarIntervalos(kDos));
    QString error;
    EXPECT_FALSE(
        FicheroAtomico::Escribir(testsupport::scratchDirectory() + "/no/such/folder/X.PVI", "x", &error));
    EXPECT_FALSE(error.isEmpty());
    // Writing to a folder's name fails at the rename: the temporary is cleaned away.
    const QString carpeta = host::HostDirectory::resolveData("CARPETA");
    ASSERT_TRUE(QDir().mkpath(carpeta + "/dentro"));
    EXPECT_FALSE(FicheroAtomico::Escribir(carpeta, "x", &error));
    EXPECT_EQ(QDir(host::HostDirectory::dataDirectory()).entryList(QDir::Files),
              QStringList{kFicheroIntervalos});
}

TEST(ValidarIntervalos, TheThreeRefusals) {
    using R = ResultadoValidacion;
    // clang-format off
    const struct { ListaIntervalos l; R esperado; } casos[] = {
        {{}, R::SinIntervalos},
        // Equal start and end is refused; so is an end before the start in other units.
        {{{1, UNIDAD_S, 1000, UNIDAD_MS, 100}}, R::Incorrecto},
        {{{0, UNIDAD_MS, 1, UNIDAD_S, 50}, {2, UNIDAD_MIN, 100, UNIDAD_S, 50}}, R::Incorrecto},
        // A start before the previous end is refused; a start at the previous end is accepted.
        {{{0, UNIDAD_MS, 1, UNIDAD_S, 50}, {999, UNIDAD_MS, 1, UNIDAD_MIN, 50}}, R::Incompatibles},
        {{{0, UNIDAD_MS, 1, UNIDAD_S, 50}, {1000, UNIDAD_MS, 1, UNIDAD_MIN, 50}}, R::Valido},
        {kDos, R::Valido},
    };
    // clang-format on
    for (const auto& c : casos)
        EXPECT_EQ(ValidarIntervalos(c.l), c.esperado) << FormatearIntervalos(c.l).toStdString();
}

TEST(ValorTecleado, NotANumberIsZeroAndDaysAreCapped) {
    // A sign would make the file unreadable.
    // clang-format off
    const struct { const char* texto; int unidad, valor; } casos[] = {
        {"250", UNIDAD_MS, 250}, {"abc", UNIDAD_S, 0}, {"-5", UNIDAD_S, 0},
        {"12000", UNIDAD_DIAS, 9999}, {"12000", UNIDAD_H, 12000}};
    // clang-format on
    for (const auto& c : casos)
        EXPECT_EQ(ValorTecleado(c.texto, c.unidad), c.valor) << c.texto;
}

TEST(ReescalarPorcentajes, SharesAddUpToOneHundred) {
    ListaIntervalos t = {{0, 0, 1, 0, 1}, {1, 0, 2, 0, 1}, {2, 0, 3, 0, 1}};
    EXPECT_TRUE(ReescalarPorcentajes(t));
    EXPECT_EQ((std::vector<int>{t[0].porcentaje, t[1].porcentaje, t[2].porcentaje}),
              (std::vector<int>{33, 33, 34}));
    EXPECT_FALSE(ReescalarPorcentajes(t)); // already 100
    ListaIntervalos ceros = {{0, 0, 1, 0, 0}, {1, 0, 2, 0, 0}, {2, 0, 3, 0, 0}};
    EXPECT_TRUE(ReescalarPorcentajes(ceros));
    EXPECT_EQ(ceros[0].porcentaje + ceros[1].porcentaje + ceros[2].porcentaje, 100);
    ListaIntervalos enorme = {{0, 0, 1, 0, 2000000000}, {1, 0, 2, 0, 2000000000}};
    EXPECT_TRUE(ReescalarPorcentajes(enorme));
    EXPECT_EQ(enorme[0].porcentaje, 50);
}

// The file they are written to is checked by the duration window's test.
TEST(Umbrales, BandsForEveryCombinationOfShownThresholds) {
    // clang-format off
    const struct { bool s, h, i; std::vector<int> valores; } casos[] = {
        {false, false, false, {1, 0, 99990}},
        {false, false, true, {2, 1000, 99990, 0, 1000}},
        {true, false, true, {3, 11000, 99990, 1000, 11000, 0, 1000}},
        {true, true, true, {4, 11000, 99990, 9000, 11000, 1000, 9000, 0, 1000}},
    };
    // clang-format on
    for (const auto& c : casos) {
        const UmbralesMostrados u{c.s, c.h, c.i, 1100, 900, 100};
        EXPECT_EQ(ValoresUmbrales(u), c.valores) << c.s << c.h << c.i;
    }
}
