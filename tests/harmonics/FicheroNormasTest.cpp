#include "FicheroNormas.h"

#include "ApoyoNormas.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

using namespace normas;

namespace {

// Three records with the three kinds of flag.
const QByteArray kTres = "Fija\n0,8,2,5\n0,101,\n"
                         "Lectura\n2,4,1\n2,3,0.5,0.25\n"
                         "Mia\n1,5,,3,\n1,6,\n";

std::vector<QByteArray> Nombres(const ListaNormas& l) {
    std::vector<QByteArray> n;
    for (const EntradaNorma& e : l.entradas)
        n.push_back(e.nombre + '/' + e.bandera);
    return n;
}

QByteArray Repetido(const char* valor, int veces) {
    QByteArray t;
    for (int i = 0; i < veces; ++i)
        t.append(i > 0 ? "," : "").append(valor);
    return t;
}

const QString kFichero = QString::fromLatin1(kNombreFicheroDefecto);
const QByteArray kViejo = "Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n0,8,2\r\n0,5,\r\nTres\r\n1,1,\r\n1,1,\r\n";

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray Disco(const QString& nombre = kFichero) {
    return Leer(Ruta(nombre));
}

RegistroTexto Registro(const char* nombre, const char* thd) {
    return RegistroTexto{nombre, thd, {"1", "2"}, "5", {}};
}

class GuardadoNormas : public ::testing::Test {
protected:
    void TearDown() override { PonerInterrupcion({}); }
};

const QByteArray kIncluidas = Leer(QStringLiteral(NORMAS_INCLUIDAS));

} // namespace

TEST(NormasLectura, NamesAndFlagsInFileOrderAndAFormatErrorKeepsTheRecordsBeforeIt) {
    const std::vector<QByteArray> tres{"Fija/0", "Lectura/2", "Mia/1"};
    for (const QByteArray& f : {kTres + "\n\n", kTres.chopped(1)}) {
        const ListaNormas l = LeerNombres(f);
        EXPECT_TRUE(l.completa) << f.toStdString();
        EXPECT_EQ(Nombres(l), tres);
    }
    EXPECT_TRUE(LeerNombres(QByteArray(40, 'n') + "\n1,1,\n1,1,\n").completa);
    // A name too long, a record without its current line, a blank name.
    for (const QByteArray& cola : {QByteArray(41, 'n') + "\n1,1,\n1,1,\nTras\n1,1,\n1,1,\n",
                                   QByteArray("Corta\n1,1,2"), QByteArray("\nB\n1,1,\n1,1,\n")}) {
        const ListaNormas l = LeerNombres(kTres + cola);
        EXPECT_FALSE(l.completa) << cola.toStdString();
        EXPECT_EQ(l.entradas.size(), 3u) << cola.toStdString();
    }
}

TEST(NormasLectura, ForUseValueJIsTheLimitForOrderJPlusTwo) {
    const ResultadoUso lectura = CargarParaUso(kTres, "Lectura");
    ASSERT_TRUE(lectura.ok);
    EXPECT_EQ(lectura.filtro.tension.thd, 4.0);
    EXPECT_EQ(lectura.filtro.tension.valores, (std::vector<double>{1.0}));
    EXPECT_EQ(lectura.filtro.corriente.valores, (std::vector<double>{0.5, 0.25}));
    // An empty field before a "," is 0; a trailing "," ends the list; 101 is a plain limit.
    const ResultadoUso mia = CargarParaUso(kTres, "Mia");
    ASSERT_TRUE(mia.ok);
    EXPECT_EQ(mia.filtro.tension.valores, (std::vector<double>{0.0, 3.0}));
    EXPECT_TRUE(mia.filtro.corriente.valores.empty());
    EXPECT_EQ(CargarParaUso(kTres, "Fija").filtro.corriente.thd, 101.0);
}

TEST(NormasLectura, LineEndingRightAfterItsThdIsBadForUseButLoadsInTheEditor) {
    const QByteArray f = "Solo\n1,8\n1,5,1\n";
    EXPECT_FALSE(CargarParaUso(f, "Solo").ok);
    const ResultadoEditor e = CargarParaEditor(f, "Solo");
    ASSERT_EQ(e.estado, EstadoEditor::Cargado);
    EXPECT_EQ(e.tension.thd, 8.0);
    EXPECT_TRUE(e.tension.valores.empty());
    EXPECT_EQ(e.corriente.valores, (std::vector<double>{1.0}));
}

TEST(NormasLectura, FieldsAndLineLengths) {
    // Sixty values for use, forty-nine in the editor, and the next line still reads.
    const QByteArray f = "Larga\n1,8," + Repetido("1", 65) + "\n1,5,2,2\n";
    const ResultadoUso u = CargarParaUso(f, "Larga");
    ASSERT_TRUE(u.ok);
    EXPECT_EQ(u.filtro.tension.valores.size(), 60u);
    EXPECT_EQ(u.filtro.corriente.valores, (std::vector<double>{2.0, 2.0}));
    EXPECT_EQ(CargarParaEditor(f, "Larga").tension.valores.size(), 49u);

    // A field of nineteen characters reads; twenty is bad.
    const QByteArray diecinueve = "1234567890.12345678";
    const ResultadoUso bien = CargarParaUso("A\n1,1," + diecinueve + "\n1,1,\n", "A");
    ASSERT_TRUE(bien.ok);
    EXPECT_DOUBLE_EQ(bien.filtro.tension.valores.at(0), 1234567890.12345678);
    EXPECT_FALSE(CargarParaUso("A\n1,1," + diecinueve + "9\n1,1,\n", "A").ok);

    // Anything but digits and one point makes the record bad, and so does a short record.
    for (const char* registro : {"A\n1,8,-1\n1,5,\n", "A\n1,8,2.5.1\n1,5,\n", "A\n1,x,\n1,5,\n"}) {
        const ResultadoUso r = CargarParaUso(registro, "A");
        EXPECT_FALSE(r.ok) << registro;
        EXPECT_EQ(r.filtro.tension.thd, -1.0) << registro;
    }
    EXPECT_FALSE(CargarParaUso("A\n1,8,\n", "A").ok);
    EXPECT_TRUE(CargarParaUso("A\n1,8,.5,2.\n1,5,\n", "A").ok);
}

TEST(NormasLectura, NamesAreComparedExactlyAndOnlyOnNameLines) {
    for (const char* nombre : {"mia", "Mia ", "0,101,"}) {
        EXPECT_FALSE(CargarParaUso(kTres, nombre).ok) << nombre;
        EXPECT_FALSE(ExisteNombre(kTres, nombre)) << nombre;
        EXPECT_EQ(CargarParaEditor(kTres, nombre).estado, EstadoEditor::NoEncontrado) << nombre;
    }
    EXPECT_TRUE(ExisteNombre(kTres, "Mia"));
}

TEST(NormasLectura, EditorShowsAHundredAndOneThdEmptyAndKeepsWhatItReadBeforeAnError) {
    const ResultadoEditor fija = CargarParaEditor(kTres, "Fija");
    ASSERT_EQ(fija.estado, EstadoEditor::Cargado);
    EXPECT_TRUE(fija.tension.hayThd && !fija.corriente.hayThd);
    const ResultadoEditor rota = CargarParaEditor("A\n1,8,1,2,x,4\n1,5,\n", "A");
    EXPECT_EQ(rota.estado, EstadoEditor::Fallo);
    EXPECT_EQ(rota.tension.valores, (std::vector<double>{1.0, 2.0}));
}

TEST(NormasEscritura, RecordLinesWithDecimalPointsAndHundredAndOneForEmptyFields) {
    RegistroTexto vacio;
    vacio.nombre = "Vacio";
    EXPECT_EQ(EscribirRegistro(vacio), QByteArray("Vacio\n1,101,\n1,101,\n"));
    RegistroTexto r{"N", "8,5", {"2,5", "3", ""}, "", {"1.5"}};
    EXPECT_EQ(EscribirRegistro(r), QByteArray("N\n1,8.5,2.5,3,101\n1,101,1.5\n"));
    const ResultadoUso leido = CargarParaUso(EscribirRegistro(r), "N");
    ASSERT_TRUE(leido.ok);
    EXPECT_EQ(leido.filtro.tension.valores, (std::vector<double>{2.5, 3.0, 101.0}));
    EXPECT_EQ(ConFinesCRLF("A\n1,1,\n"), QByteArray("A\r\n1,1,\r\n"));
}

TEST(NormasEscritura, ReplaceInPlaceAppendOrRemoveKeepingTheOtherRecordsAligned) {
    const QByteArray nuevo = "Lectura\n1,9,\n1,9,\n";
    EXPECT_EQ(Reemplazar(kTres, "Lectura", &nuevo),
              "Fija\n0,8,2,5\n0,101,\n" + nuevo + "Mia\n1,5,,3,\n1,6,\n");
    const QByteArray otra = "Otra\n1,1,\n1,1,\n";
    EXPECT_EQ(Reemplazar(kTres, "Otra", &otra), kTres + otra);
    EXPECT_EQ(Reemplazar(QByteArray(), "Otra", &otra), otra);
    // Blank lines at the end or a missing last line end must not shift an appended record.
    EXPECT_EQ(Reemplazar(kTres + "\n\n", "Otra", &otra), kTres + otra);
    EXPECT_EQ(Reemplazar(kTres.chopped(1), "Otra", &otra), kTres + otra);
    EXPECT_EQ(Reemplazar(kTres, "Fija", nullptr), "Lectura\n2,4,1\n2,3,0.5,0.25\nMia\n1,5,,3,\n1,6,\n");
    EXPECT_EQ(Reemplazar(kTres, "Nadie", nullptr), kTres);
}

TEST(NormasTextos, EditorNumbersSeparatorsAndTheTemporaryName) {
    for (const char* si : {"", "2,5", ",5", "5."})
        EXPECT_TRUE(EsNumeroEditor(QString::fromLatin1(si))) << si;
    // A lone separator would be written as a field that no reader accepts.
    for (const char* no : {",", "2,,5", "2,5.1", "-1"})
        EXPECT_FALSE(EsNumeroEditor(QString::fromLatin1(no))) << no;
    EXPECT_EQ(ConPuntoDecimal(QStringLiteral("2,5,1")), QStringLiteral("2.5,1"));
    EXPECT_EQ(NombreTemporal(QStringLiteral("FILTROS.NRM")), QStringLiteral("FILTROS.NR1"));
}

TEST_F(GuardadoNormas, SavesAndRemovesInTheHostDirectoryWithCrLf) {
    EXPECT_EQ(LeerFichero(kFichero).estado, EstadoLectura::NoExiste);
    EXPECT_TRUE(EliminarRegistro(kFichero, "Uno"));
    EXPECT_FALSE(QFile::exists(Ruta(kFichero)));
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Nuevo", "")));
    EXPECT_EQ(Ruta(kFichero), QDir(testsupport::dataDirectory()).filePath(kFichero));
    EXPECT_EQ(Disco(), QByteArray("Nuevo\r\n1,101,1,2\r\n1,5,\r\n"));
    EXPECT_EQ(Disco(NombreTemporal(kFichero)), QByteArray("<missing>"));

    apoyo::Escribir(kViejo + "\x1a" + "tail");
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Dos", "9")));
    ASSERT_TRUE(EliminarRegistro(kFichero, "Uno"));
    EXPECT_EQ(Disco(), QByteArray("Dos\r\n1,9,1,2\r\n1,5,\r\nTres\r\n1,1,\r\n1,1,\r\n"));
}

// A save stopped at any step, as if the process died there, leaves the old file or the new
// one on the disk, whole; never none and never a mix.
TEST_F(GuardadoNormas, StoppedAtEveryStepTheFileIsOldOrNewAndWhole) {
    apoyo::Escribir(kViejo);
    int pasos = 0;
    PonerInterrupcion([&pasos](PasoGuardado) { return ++pasos > 0; });
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Cuatro", "4")));
    const QByteArray nuevo = Disco();
    ASSERT_EQ(nuevo, kViejo + "Cuatro\r\n1,4,1,2\r\n1,5,\r\n");
    // Created, four records written, flushed, closed, renamed.
    ASSERT_EQ(pasos, 8);

    for (int parada = 1; parada <= pasos; ++parada) {
        apoyo::Escribir(kViejo);
        int paso = 0;
        PasoGuardado ultimo = PasoGuardado::TemporalCreado;
        PonerInterrupcion([&](PasoGuardado p) {
            ultimo = p;
            // While the save runs, too, the disk holds one whole file or the other.
            const QByteArray ahora = Disco();
            EXPECT_TRUE(ahora == kViejo || ahora == nuevo) << "during step " << paso;
            return ++paso < parada;
        });
        GuardarRegistro(kFichero, Registro("Cuatro", "4"));
        PonerInterrupcion({});
        EXPECT_EQ(Disco(), ultimo == PasoGuardado::Renombrado ? nuevo : kViejo)
            << "stopped at step " << parada;
    }
    // The temporary file a stopped save left behind does not leak into the next save.
    apoyo::Escribir(kViejo);
    PonerInterrupcion([](PasoGuardado p) { return p != PasoGuardado::Cerrado; });
    GuardarRegistro(kFichero, Registro("Cuatro", "4"));
    PonerInterrupcion({});
    ASSERT_NE(Disco(NombreTemporal(kFichero)), QByteArray("<missing>"));
    ASSERT_TRUE(EliminarRegistro(kFichero, "Tres"));
    EXPECT_EQ(Disco(), QByteArray("Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n0,8,2\r\n0,5,\r\n"));
}

TEST_F(GuardadoNormas, FileThatCannotBeReadIsNotReplacedAndTheSaveSaysWhy) {
    // A folder where the file should be cannot be read as a file, and must not be replaced.
    ASSERT_TRUE(QDir(testsupport::dataDirectory()).mkdir(kFichero));
    EXPECT_EQ(LeerFichero(kFichero).estado, EstadoLectura::Ilegible);
    QString motivo;
    EXPECT_FALSE(GuardarRegistro(kFichero, Registro("Nuevo", "1"), &motivo));
    EXPECT_FALSE(motivo.isEmpty());
    EXPECT_TRUE(QFileInfo(Ruta(kFichero)).isDir());
}

// Spot values of both records are checked where the harmonics component loads them.
TEST(NormasIncluidas, TwoFixedRecordsWithCrLfThatLoadForUse) {
    EXPECT_EQ(kIncluidas.count("\r\n"), 6);
    EXPECT_EQ(kIncluidas.count('\n'), 6);
    const ListaNormas l = LeerNombres(Normalizar(kIncluidas));
    ASSERT_TRUE(l.completa);
    ASSERT_EQ(l.entradas.size(), 2u);
    for (const EntradaNorma& e : l.entradas) {
        EXPECT_EQ(e.bandera, kBanderaFija) << e.nombre.toStdString();
        EXPECT_TRUE(CargarParaUso(Normalizar(kIncluidas), e.nombre).ok) << e.nombre.toStdString();
    }
    // EN 50160 gives no current limits: its current THD is empty.
    EXPECT_FALSE(CargarParaEditor(Normalizar(kIncluidas), "EN 50160 LV/MV").corriente.hayThd);
}

// The build puts the shipped file beside the host only where the user has none.
TEST(NormasIncluidas, InstalledWhereMissingAndNeverOverTheUsersFile) {
    const auto copiar = [](const QString& destino) {
        QProcess p;
        p.start(QStringLiteral(NORMAS_CMAKE),
                {QStringLiteral("-DORIGEN=" NORMAS_INCLUIDAS), "-DDESTINO=" + destino, QStringLiteral("-P"),
                 QStringLiteral(NORMAS_COPIAR_SI_FALTA)});
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0);
    };
    const QString nuevo = QDir(testsupport::dataDirectory()).filePath(QStringLiteral("bin/FILTROS.NRM"));
    copiar(nuevo);
    EXPECT_EQ(Leer(nuevo), kIncluidas);

    const QString suyo = QDir(testsupport::dataDirectory()).filePath(QStringLiteral("FILTROS.NRM"));
    QFile f(suyo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Mio\r\n1,1,\r\n1,1,\r\n");
    f.close();
    copiar(suyo);
    EXPECT_EQ(Leer(suyo), QByteArray("Mio\r\n1,1,\r\n1,1,\r\n"));
}
