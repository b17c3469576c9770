#include "FicheroNormas.h"

#include "HostDirectory.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace normas;

namespace {

const QString kFichero = QString::fromLatin1(kNombreFicheroDefecto);

QByteArray LeerDisco(const QString& nombre) {
    QFile f(QDir(testsupport::dataDirectory()).filePath(nombre));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void EscribirDisco(const QString& nombre, const QByteArray& datos) {
    QFile f(QDir(testsupport::dataDirectory()).filePath(nombre));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(datos);
}

RegistroTexto Registro(const char* nombre, const char* thd) {
    RegistroTexto r;
    r.nombre = nombre;
    r.thdTension = thd;
    r.tension = {"1", "2"};
    r.thdCorriente = "5";
    return r;
}

class GuardadoNormas : public ::testing::Test {
protected:
    void TearDown() override { PonerInterrupcion({}); }
};

const QByteArray kViejo = "Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n0,8,2\r\n0,5,\r\nTres\r\n1,1,\r\n1,1,\r\n";

} // namespace

TEST_F(GuardadoNormas, MissingFileReadsAsMissingAndSavingCreatesItWithCrLf) {
    EXPECT_EQ(LeerFichero(kFichero).estado, EstadoLectura::NoExiste);
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Nuevo", "")));
    EXPECT_EQ(LeerDisco(kFichero), QByteArray("Nuevo\r\n1,101,1,2\r\n1,5,\r\n"));
    EXPECT_EQ(LeerDisco(NombreTemporal(kFichero)), QByteArray("<missing>"));
}

TEST_F(GuardadoNormas, EmptyFileGetsTheOneNewRecord) {
    EscribirDisco(kFichero, QByteArray());
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Solo", "3")));
    const ListaNormas l = LeerNombres(LeerFichero(kFichero).contenido);
    ASSERT_EQ(l.entradas.size(), 1u);
    EXPECT_EQ(l.entradas[0].nombre, QByteArray("Solo"));
}

TEST_F(GuardadoNormas, TheFileLivesInTheHostDirectoryNotTheCurrentOne) {
    const QString antes = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(testsupport::scratchDirectory()));
    const bool ok = GuardarRegistro(kFichero, Registro("Aqui", "1"));
    const bool enCwd = QFile::exists(QDir(testsupport::scratchDirectory()).filePath(kFichero));
    QDir::setCurrent(antes);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(enCwd);
    EXPECT_EQ(Ruta(kFichero), QDir(testsupport::dataDirectory()).filePath(kFichero));
    EXPECT_TRUE(QFile::exists(Ruta(kFichero)));
}

TEST_F(GuardadoNormas, ReplacingAndRemovingRewriteTheWholeFileInOrder) {
    EscribirDisco(kFichero, kViejo);
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Dos", "9")));
    EXPECT_EQ(LeerDisco(kFichero),
              QByteArray("Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n1,9,1,2\r\n1,5,\r\nTres\r\n1,1,\r\n1,1,\r\n"));
    ASSERT_TRUE(EliminarRegistro(kFichero, "Uno"));
    EXPECT_EQ(LeerDisco(kFichero), QByteArray("Dos\r\n1,9,1,2\r\n1,5,\r\nTres\r\n1,1,\r\n1,1,\r\n"));
}

TEST_F(GuardadoNormas, RemovingFromAMissingFileCreatesNothing) {
    EXPECT_TRUE(EliminarRegistro(kFichero, "Uno"));
    EXPECT_FALSE(QFile::exists(Ruta(kFichero)));
}

TEST_F(GuardadoNormas, CtrlZAndItsTailAreNotCopied) {
    EscribirDisco(kFichero, QByteArray("Uno\r\n1,8,1\r\n1,5,\r\n\x1a"
                                       "basura"));
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Dos", "9")));
    EXPECT_EQ(LeerDisco(kFichero), QByteArray("Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n1,9,1,2\r\n1,5,\r\n"));
}

// A save stopped at any step, as if the process died there, leaves the old file or the new
// one on the disk, whole; never none and never a mix.
TEST_F(GuardadoNormas, StoppedAtEveryStepTheFileIsOldOrNewAndWhole) {
    EscribirDisco(kFichero, kViejo);
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Cuatro", "4")));
    const QByteArray nuevo = LeerDisco(kFichero);
    ASSERT_NE(nuevo, kViejo);

    // Count the steps of an uninterrupted save.
    int pasos = 0;
    EscribirDisco(kFichero, kViejo);
    PonerInterrupcion([&pasos](PasoGuardado) {
        ++pasos;
        return true;
    });
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Cuatro", "4")));
    // Created, four records, flushed, closed, renamed.
    ASSERT_EQ(pasos, 8);

    for (int paradaEn = 1; paradaEn <= pasos; ++paradaEn) {
        EscribirDisco(kFichero, kViejo);
        int paso = 0;
        PasoGuardado ultimo = PasoGuardado::TemporalCreado;
        PonerInterrupcion([&](PasoGuardado p) {
            ultimo = p;
            return ++paso < paradaEn;
        });
        GuardarRegistro(kFichero, Registro("Cuatro", "4"));
        PonerInterrupcion({});
        const QByteArray enDisco = LeerDisco(kFichero);
        if (ultimo == PasoGuardado::Renombrado)
            EXPECT_EQ(enDisco, nuevo) << "stopped at step " << paradaEn;
        else
            EXPECT_EQ(enDisco, kViejo) << "stopped at step " << paradaEn;
        EXPECT_TRUE(LeerNombres(LeerFichero(kFichero).contenido).completa);
    }
}

TEST_F(GuardadoNormas, LeftoverTemporaryFromAStoppedSaveDoesNotLeakIntoTheNextOne) {
    EscribirDisco(kFichero, kViejo);
    PonerInterrupcion([](PasoGuardado p) { return p != PasoGuardado::Cerrado; });
    GuardarRegistro(kFichero, Registro("Cuatro", "4"));
    PonerInterrupcion({});
    ASSERT_NE(LeerDisco(NombreTemporal(kFichero)), QByteArray("<missing>"));
    ASSERT_TRUE(EliminarRegistro(kFichero, "Tres"));
    EXPECT_EQ(LeerDisco(kFichero), QByteArray("Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n0,8,2\r\n0,5,\r\n"));
}

TEST_F(GuardadoNormas, UnreadableFileIsNeverRewrittenFromNothing) {
    // A folder where the file should be cannot be read as a file.
    ASSERT_TRUE(QDir(testsupport::dataDirectory()).mkdir(kFichero));
    EXPECT_EQ(LeerFichero(kFichero).estado, EstadoLectura::Ilegible);
    QString motivo;
    EXPECT_FALSE(GuardarRegistro(kFichero, Registro("Nuevo", "1"), &motivo));
    EXPECT_FALSE(motivo.isEmpty());
    EXPECT_TRUE(QFileInfo(Ruta(kFichero)).isDir());
}

TEST_F(GuardadoNormas, HostDirectoryThatCannotBeWrittenGivesAReasonAndNoFile) {
    host::HostDirectory::setDataDirectory(
        QDir(testsupport::dataDirectory()).filePath(QStringLiteral("no/such")));
    QString motivo;
    EXPECT_FALSE(GuardarRegistro(kFichero, Registro("Nuevo", "1"), &motivo));
    EXPECT_FALSE(motivo.isEmpty());
    EXPECT_FALSE(QFile::exists(Ruta(kFichero)));
}
