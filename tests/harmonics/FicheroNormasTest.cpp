#include "FicheroNormas.h"

#include <gtest/gtest.h>

#include <vector>

using namespace normas;

namespace {

QByteArray B(const char* texto) {
    return QByteArray(texto);
}

// Three records with the three kinds of flag.
const QByteArray kTres = B("Fija\n0,8,2,5\n0,101,\n"
                           "Lectura\n2,4,1\n2,3,0.5,0.25\n"
                           "Mia\n1,5,,3,\n1,6,\n");

std::vector<QByteArray> Nombres(const ListaNormas& l) {
    std::vector<QByteArray> n;
    for (const EntradaNorma& e : l.entradas)
        n.push_back(e.nombre);
    return n;
}

QByteArray Repetido(const char* valor, int veces) {
    QByteArray t;
    for (int i = 0; i < veces; ++i)
        t.append(i > 0 ? "," : "").append(valor);
    return t;
}

} // namespace

// --- bytes as they come from the disk

TEST(NormasBytes, CrIsDroppedEverywhereSoBothLineEndsReadTheSame) {
    QByteArray crlf = kTres;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(Normalizar(crlf), kTres);
    EXPECT_EQ(Normalizar(B("A\rb\n0,1\r,2\n")), B("Ab\n0,1,2\n"));
}

TEST(NormasBytes, CtrlZEndsTheFile) {
    const QByteArray conFin = kTres + '\x1a' + B("Oculta\n1,1,1\n1,1,1\n");
    EXPECT_EQ(Normalizar(conFin), kTres);
    const ListaNormas l = LeerNombres(Normalizar(B("A\n0,1,\n\x1a") + B("0,1,\nB\n1,1,\n1,1,\n")));
    // The record is cut by the Ctrl-Z before its current line.
    EXPECT_TRUE(l.entradas.empty());
    EXPECT_FALSE(l.completa);
}

// --- the name list

TEST(NormasNombres, NamesAndFlagsInFileOrder) {
    const ListaNormas l = LeerNombres(kTres);
    ASSERT_TRUE(l.completa);
    ASSERT_EQ(l.entradas.size(), 3u);
    EXPECT_EQ(Nombres(l), (std::vector<QByteArray>{"Fija", "Lectura", "Mia"}));
    EXPECT_EQ(l.entradas[0].bandera, '0');
    EXPECT_EQ(l.entradas[1].bandera, '2');
    EXPECT_EQ(l.entradas[2].bandera, '1');
}

TEST(NormasNombres, EmptyContentIsAnEmptyCompleteList) {
    const ListaNormas l = LeerNombres(QByteArray());
    EXPECT_TRUE(l.completa);
    EXPECT_TRUE(l.entradas.empty());
}

TEST(NormasNombres, NameOfFortyCharactersReadsAndFortyOneIsAFormatErrorKeepingEarlierRows) {
    const QByteArray cuarenta(40, 'n');
    EXPECT_TRUE(LeerNombres(cuarenta + B("\n1,1,\n1,1,\n")).completa);
    const ListaNormas l = LeerNombres(kTres + QByteArray(41, 'n') + B("\n1,1,\n1,1,\nTras\n1,1,\n1,1,\n"));
    EXPECT_FALSE(l.completa);
    EXPECT_EQ(Nombres(l), (std::vector<QByteArray>{"Fija", "Lectura", "Mia"}));
}

TEST(NormasNombres, RecordWithoutItsCurrentLineIsAFormatError) {
    const ListaNormas l = LeerNombres(kTres + B("Corta\n1,1,2"));
    EXPECT_FALSE(l.completa);
    EXPECT_EQ(l.entradas.size(), 3u);
}

TEST(NormasNombres, NameWithoutAnyDataLineIsAFormatError) {
    EXPECT_FALSE(LeerNombres(B("Sola\n")).completa);
    EXPECT_FALSE(LeerNombres(B("Sola\n\n1,1,\n")).completa);
}

TEST(NormasNombres, BlankLinesCloseTheFileButNotARecord) {
    EXPECT_TRUE(LeerNombres(kTres + B("\n\n")).completa);
    const ListaNormas medio = LeerNombres(B("A\n1,1,\n1,1,\n\nB\n1,1,\n1,1,\n"));
    EXPECT_FALSE(medio.completa);
    EXPECT_EQ(medio.entradas.size(), 1u);
}

TEST(NormasNombres, LastLineWithoutLineEndCounts) {
    const ListaNormas l = LeerNombres(B("A\n1,1,\n1,1,"));
    EXPECT_TRUE(l.completa);
    EXPECT_EQ(l.entradas.size(), 1u);
}

// --- loading a filter for a graph

TEST(NormasUso, ValueJIsTheLimitForOrderJPlusTwo) {
    const ResultadoUso r = CargarParaUso(kTres, "Lectura");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.tension.thd, 4.0);
    EXPECT_EQ(r.filtro.tension.valores, (std::vector<double>{1.0}));
    EXPECT_EQ(r.filtro.corriente.thd, 3.0);
    EXPECT_EQ(r.filtro.corriente.valores, (std::vector<double>{0.5, 0.25}));
}

TEST(NormasUso, EmptyFieldBeforeACommaIsZeroAndTheTrailingCommaEndsTheList) {
    const ResultadoUso r = CargarParaUso(kTres, "Mia");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.tension.valores, (std::vector<double>{0.0, 3.0}));
    EXPECT_TRUE(r.filtro.corriente.valores.empty());
    EXPECT_EQ(r.filtro.corriente.thd, 6.0);
}

TEST(NormasUso, HundredAndOneIsAnOrdinaryLimitForAGraph) {
    const ResultadoUso r = CargarParaUso(kTres, "Fija");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.corriente.thd, 101.0);
}

TEST(NormasUso, LineEndingRightAfterTheThdIsABadFilter) {
    const QByteArray f = B("Solo\n1,8\n1,5,\n");
    const ResultadoUso r = CargarParaUso(f, "Solo");
    EXPECT_FALSE(r.ok);
    const ResultadoUso corriente = CargarParaUso(B("Solo\n1,8,\n1,5\n"), "Solo");
    EXPECT_FALSE(corriente.ok);
}

TEST(NormasUso, AtMostSixtyValuesAndTheNextLineStillReads) {
    const QByteArray f = B("Larga\n1,8,") + Repetido("1", 65) + B("\n1,5,") + Repetido("2", 3) + B("\n");
    const ResultadoUso r = CargarParaUso(f, "Larga");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.tension.valores.size(), 60u);
    EXPECT_EQ(r.filtro.corriente.valores, (std::vector<double>{2.0, 2.0, 2.0}));
}

TEST(NormasUso, FieldOfNineteenCharactersReadsAndTwentyIsBad) {
    const QByteArray diecinueve = B("1234567890.12345678");
    ASSERT_EQ(diecinueve.size(), 19);
    const ResultadoUso bien = CargarParaUso(B("A\n1,1,") + diecinueve + B("\n1,1,\n"), "A");
    ASSERT_TRUE(bien.ok);
    EXPECT_DOUBLE_EQ(bien.filtro.tension.valores.at(0), 1234567890.12345678);
    const ResultadoUso mal = CargarParaUso(B("A\n1,1,") + diecinueve + B("9\n1,1,\n"), "A");
    EXPECT_FALSE(mal.ok);
}

TEST(NormasUso, OnlyDigitsAndPointMakeANumber) {
    for (const char* campo : {"-1", "1e3", " 5", "5 ", "+2", "1,5;", "2.5.1", ".", "0x10", "\t3"}) {
        const ResultadoUso r = CargarParaUso(B("A\n1,8,") + B(campo) + B("\n1,5,\n"), "A");
        EXPECT_FALSE(r.ok) << campo;
        // The line that broke loses its THD; nothing of a bad record is usable.
        EXPECT_EQ(r.filtro.tension.thd, -1.0) << campo;
    }
    EXPECT_TRUE(CargarParaUso(B("A\n1,8,.5,2.\n1,5,\n"), "A").ok);
}

TEST(NormasUso, BadThdOrMissingLinesFail) {
    EXPECT_FALSE(CargarParaUso(B("A\n1,x,\n1,5,\n"), "A").ok);
    EXPECT_FALSE(CargarParaUso(B("A\n1,8,\n"), "A").ok);
    EXPECT_FALSE(CargarParaUso(B("A\n1,8,\n1"), "A").ok);
    EXPECT_FALSE(CargarParaUso(B("A\n1;8,\n1,5,\n"), "A").ok);
    EXPECT_FALSE(CargarParaUso(B("A\n1,\n1,5,\n"), "A").ok);
}

TEST(NormasUso, NamesAreComparedExactly) {
    EXPECT_FALSE(CargarParaUso(kTres, "mia").ok);
    EXPECT_FALSE(CargarParaUso(kTres, "Mia ").ok);
    EXPECT_FALSE(CargarParaUso(kTres, "Otra").ok);
    // A data line is never taken for a name.
    EXPECT_FALSE(CargarParaUso(kTres, "0,101,").ok);
}

// --- loading a filter into the editor

TEST(NormasEditor, ThdOfHundredAndOneShowsEmpty) {
    const ResultadoEditor r = CargarParaEditor(kTres, "Fija");
    ASSERT_EQ(r.estado, EstadoEditor::Cargado);
    EXPECT_TRUE(r.tension.hayThd);
    EXPECT_EQ(r.tension.thd, 8.0);
    EXPECT_EQ(r.tension.valores, (std::vector<double>{2.0, 5.0}));
    EXPECT_FALSE(r.corriente.hayThd);
    EXPECT_TRUE(r.corriente.valores.empty());
}

TEST(NormasEditor, LineEndingRightAfterTheThdLoads) {
    const ResultadoEditor r = CargarParaEditor(B("Solo\n1,8\n1,5,1\n"), "Solo");
    ASSERT_EQ(r.estado, EstadoEditor::Cargado);
    EXPECT_EQ(r.tension.thd, 8.0);
    EXPECT_TRUE(r.tension.valores.empty());
    EXPECT_EQ(r.corriente.valores, (std::vector<double>{1.0}));
}

TEST(NormasEditor, AtMostFortyNineValuesAndTheNextLineStillReads) {
    const QByteArray f = B("Larga\n1,8,") + Repetido("1", 55) + B("\n1,5,7\n");
    const ResultadoEditor r = CargarParaEditor(f, "Larga");
    ASSERT_EQ(r.estado, EstadoEditor::Cargado);
    EXPECT_EQ(r.tension.valores.size(), 49u);
    EXPECT_EQ(r.corriente.valores, (std::vector<double>{7.0}));
}

TEST(NormasEditor, FailureKeepsWhatWasRead) {
    const ResultadoEditor r = CargarParaEditor(B("A\n1,8,1,2,x,4\n1,5,\n"), "A");
    EXPECT_EQ(r.estado, EstadoEditor::Fallo);
    EXPECT_EQ(r.tension.valores, (std::vector<double>{1.0, 2.0}));
}

TEST(NormasEditor, UnknownNameLeavesTheEditorEmpty) {
    const ResultadoEditor r = CargarParaEditor(kTres, "Nadie");
    EXPECT_EQ(r.estado, EstadoEditor::NoEncontrado);
    EXPECT_TRUE(r.tension.valores.empty());
}

// --- writing

TEST(NormasEscritura, EmptyNewFilterIsItsNameAndTwoLinesOfHundredAndOne) {
    RegistroTexto r;
    r.nombre = "Vacio";
    EXPECT_EQ(EscribirRegistro(r), B("Vacio\n1,101,\n1,101,\n"));
}

TEST(NormasEscritura, ValuesAreSeparatedByCommasWithDecimalPoints) {
    RegistroTexto r;
    r.nombre = "N";
    r.thdTension = "8,5";
    r.tension = {"2,5", "3", ""};
    r.thdCorriente = "";
    r.corriente = {"1.5"};
    EXPECT_EQ(EscribirRegistro(r), B("N\n1,8.5,2.5,3,101\n1,101,1.5\n"));
}

TEST(NormasEscritura, WrittenRecordReadsBack) {
    RegistroTexto r;
    r.nombre = "Ida y vuelta";
    r.thdTension = "8";
    r.tension = {"2", "5,5"};
    r.thdCorriente = "5";
    r.corriente = {"4"};
    const ResultadoUso u = CargarParaUso(EscribirRegistro(r), r.nombre);
    ASSERT_TRUE(u.ok);
    EXPECT_EQ(u.filtro.tension.valores, (std::vector<double>{2.0, 5.5}));
    EXPECT_EQ(u.filtro.corriente.thd, 5.0);
}

TEST(NormasEscritura, ReplacingKeepsTheRecordsInTheirOrder) {
    const QByteArray nuevo = B("Lectura\n1,9,\n1,9,\n");
    const QByteArray salida = Reemplazar(kTres, "Lectura", &nuevo);
    EXPECT_EQ(salida, B("Fija\n0,8,2,5\n0,101,\n") + nuevo + B("Mia\n1,5,,3,\n1,6,\n"));
}

TEST(NormasEscritura, UnknownNameIsAppendedAndRemovingDropsTheRecord) {
    const QByteArray nuevo = B("Otra\n1,1,\n1,1,\n");
    EXPECT_EQ(Reemplazar(kTres, "Otra", &nuevo), kTres + nuevo);
    EXPECT_EQ(Reemplazar(kTres, "Fija", nullptr), B("Lectura\n2,4,1\n2,3,0.5,0.25\nMia\n1,5,,3,\n1,6,\n"));
    EXPECT_EQ(Reemplazar(kTres, "Nadie", nullptr), kTres);
    EXPECT_EQ(Reemplazar(QByteArray(), "Otra", &nuevo), nuevo);
}

TEST(NormasEscritura, AppendingAfterBlankLinesOrAMissingLineEndKeepsRecordsAligned) {
    const QByteArray nuevo = B("Otra\n1,1,\n1,1,\n");
    const QByteArray sinFin = B("A\n1,1,\n1,2,");
    EXPECT_EQ(Reemplazar(sinFin, "Otra", &nuevo), sinFin + B("\n") + nuevo);
    EXPECT_EQ(Reemplazar(kTres + B("\n\n"), "Otra", &nuevo), kTres + nuevo);
    EXPECT_TRUE(LeerNombres(Reemplazar(kTres + B("\n\n"), "Otra", &nuevo)).completa);
}

TEST(NormasEscritura, LinesEndInCrLfOnDisk) {
    EXPECT_EQ(ConFinesCRLF(B("A\n1,1,\n")), B("A\r\n1,1,\r\n"));
}

// --- texts typed into the editor

TEST(NormasTextos, NumberIsDigitsWithAtMostOneSeparator) {
    for (const char* si : {"", "2", "2,5", "2.5", ",5", "5.", "007"})
        EXPECT_TRUE(EsNumeroEditor(QString::fromLatin1(si))) << si;
    for (const char* no : {",", ".", "2,,5", "2,5.1", "1.2.3", "-1", "1e3", " 2", "2 ", "abc"})
        EXPECT_FALSE(EsNumeroEditor(QString::fromLatin1(no))) << no;
}

TEST(NormasTextos, OnlyTheFirstCommaBecomesAPoint) {
    EXPECT_EQ(ConPuntoDecimal(QStringLiteral("2,5")), QStringLiteral("2.5"));
    EXPECT_EQ(ConPuntoDecimal(QStringLiteral("2,5,1")), QStringLiteral("2.5,1"));
    EXPECT_EQ(ConPuntoDecimal(QStringLiteral("25")), QStringLiteral("25"));
}

TEST(NormasTextos, TemporaryNameReplacesTheLastCharacter) {
    EXPECT_EQ(NombreTemporal(QStringLiteral("FILTROS.NRM")), QStringLiteral("FILTROS.NR1"));
    EXPECT_EQ(NombreTemporal(QStringLiteral("MIOS.NR1")), QStringLiteral("MIOS.NR11"));
}
