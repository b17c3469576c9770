#include "FicheroNormas.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace normas;

namespace {

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QByteArray kIncluidas = Leer(QStringLiteral(NORMAS_INCLUIDAS));

} // namespace

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
