#include "FicheroNormas.h"

#include "HostDirectory.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace normas;

namespace {

const QString kFichero = QString::fromLatin1(kNombreFicheroDefecto);
const QByteArray kViejo = "Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n0,8,2\r\n0,5,\r\nTres\r\n1,1,\r\n1,1,\r\n";

QByteArray Disco(const QString& nombre = kFichero) {
    QFile f(Ruta(nombre));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Escribir(const QByteArray& datos) {
    QFile f(Ruta(kFichero));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(datos);
}

RegistroTexto Registro(const char* nombre, const char* thd) {
    return RegistroTexto{nombre, thd, {"1", "2"}, "5", {}};
}

class GuardadoNormas : public ::testing::Test {
protected:
    void TearDown() override { PonerInterrupcion({}); }
};

} // namespace

TEST_F(GuardadoNormas, SavesAndRemovesInTheHostDirectoryWithCrLf) {
    EXPECT_EQ(LeerFichero(kFichero).estado, EstadoLectura::NoExiste);
    EXPECT_TRUE(EliminarRegistro(kFichero, "Uno"));
    EXPECT_FALSE(QFile::exists(Ruta(kFichero)));
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Nuevo", "")));
    EXPECT_EQ(Ruta(kFichero), QDir(testsupport::dataDirectory()).filePath(kFichero));
    EXPECT_EQ(Disco(), QByteArray("Nuevo\r\n1,101,1,2\r\n1,5,\r\n"));
    EXPECT_EQ(Disco(NombreTemporal(kFichero)), QByteArray("<missing>"));

    Escribir(kViejo + "\x1a" + "tail");
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Dos", "9")));
    ASSERT_TRUE(EliminarRegistro(kFichero, "Uno"));
    EXPECT_EQ(Disco(), QByteArray("Dos\r\n1,9,1,2\r\n1,5,\r\nTres\r\n1,1,\r\n1,1,\r\n"));
}

// A save stopped at any step, as if the process died there, leaves the old file or the new
// one on the disk, whole; never none and never a mix.
TEST_F(GuardadoNormas, StoppedAtEveryStepTheFileIsOldOrNewAndWhole) {
    Escribir(kViejo);
    int pasos = 0;
    PonerInterrupcion([&pasos](PasoGuardado) { return ++pasos > 0; });
    ASSERT_TRUE(GuardarRegistro(kFichero, Registro("Cuatro", "4")));
    const QByteArray nuevo = Disco();
    ASSERT_EQ(nuevo, kViejo + "Cuatro\r\n1,4,1,2\r\n1,5,\r\n");
    // Created, four records written, flushed, closed, renamed.
    ASSERT_EQ(pasos, 8);

    for (int parada = 1; parada <= pasos; ++parada) {
        Escribir(kViejo);
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
    Escribir(kViejo);
    PonerInterrupcion([](PasoGuardado p) { return p != PasoGuardado::Cerrado; });
    GuardarRegistro(kFichero, Registro("Cuatro", "4"));
    PonerInterrupcion({});
    ASSERT_NE(Disco(NombreTemporal(kFichero)), QByteArray("<missing>"));
    ASSERT_TRUE(EliminarRegistro(kFichero, "Tres"));
    EXPECT_EQ(Disco(), QByteArray("Uno\r\n1,8,1\r\n1,5,\r\nDos\r\n0,8,2\r\n0,5,\r\n"));
}

TEST_F(GuardadoNormas, FileThatCannotBeReadOrWrittenIsLeftAsItIsWithAReason) {
    // A folder where the file should be cannot be read as a file, and must not be replaced.
    ASSERT_TRUE(QDir(testsupport::dataDirectory()).mkdir(kFichero));
    EXPECT_EQ(LeerFichero(kFichero).estado, EstadoLectura::Ilegible);
    QString motivo;
    EXPECT_FALSE(GuardarRegistro(kFichero, Registro("Nuevo", "1"), &motivo));
    EXPECT_FALSE(motivo.isEmpty());
    EXPECT_TRUE(QFileInfo(Ruta(kFichero)).isDir());

    host::HostDirectory::setDataDirectory(
        QDir(testsupport::dataDirectory()).filePath(QStringLiteral("no/such")));
    motivo.clear();
    EXPECT_FALSE(GuardarRegistro(kFichero, Registro("Nuevo", "1"), &motivo));
    EXPECT_FALSE(motivo.isEmpty());
    EXPECT_FALSE(QFile::exists(Ruta(kFichero)));
}
