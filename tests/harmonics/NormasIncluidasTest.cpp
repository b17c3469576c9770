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

// The values themselves reach the harmonics filter dialog's tests, which load both records.
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
    EXPECT_EQ(CargarParaUso(Normalizar(kIncluidas), "EN 50160 LV/MV").filtro.tension.valores,
              (std::vector<double>{2,   5,   1,   6, 0.5, 5,   0.5, 1.5, 0.5, 3.5, 0.5, 3,
                                   0.5, 0.5, 0.5, 2, 0.5, 1.5, 0.5, 0.5, 0.5, 1.5, 0.5, 1.5}));
    // IEEE 519 current limits by order range: odd orders at the range's limit, even at a quarter.
    const ResultadoUso ieee = CargarParaUso(Normalizar(kIncluidas), "IEEE 519-2014 V<=1kV, Isc/IL<20");
    ASSERT_EQ(ieee.filtro.corriente.valores.size(), 49u);
    for (int orden = 2; orden <= 50; ++orden) {
        const double rango = orden < 11 ? 4.0 : orden < 17 ? 2.0 : orden < 23 ? 1.5 : orden < 35 ? 0.6 : 0.3;
        EXPECT_DOUBLE_EQ(ieee.filtro.corriente.valores[static_cast<size_t>(orden - kPrimerOrden)],
                         orden % 2 == 1 ? rango : rango / 4)
            << "order " << orden;
    }
    EXPECT_EQ(ieee.filtro.tension.valores, std::vector<double>(49, 5.0));
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
