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

// The IEEE current limits from the standard's table of order ranges: odd orders at the
// range's limit, even orders at a quarter of it.
double LimiteCorrienteIeee(int orden) {
    const double rango = orden < 11 ? 4.0 : orden < 17 ? 2.0 : orden < 23 ? 1.5 : orden < 35 ? 0.6 : 0.3;
    return orden % 2 == 1 ? rango : rango * 0.25;
}

} // namespace

TEST(NormasIncluidas, TwoFixedRecordsWithCrLf) {
    EXPECT_EQ(kIncluidas.count("\r\n"), 6);
    EXPECT_EQ(kIncluidas.count('\n'), 6);
    const ListaNormas l = LeerNombres(Normalizar(kIncluidas));
    ASSERT_TRUE(l.completa);
    ASSERT_EQ(l.entradas.size(), 2u);
    EXPECT_EQ(l.entradas[0].nombre, QByteArray("EN 50160 LV/MV"));
    EXPECT_EQ(l.entradas[1].nombre, QByteArray("IEEE 519-2014 V<=1kV, Isc/IL<20"));
    EXPECT_EQ(l.entradas[0].bandera, kBanderaFija);
    EXPECT_EQ(l.entradas[1].bandera, kBanderaFija);
}

TEST(NormasIncluidas, En50160HasVoltageLimitsForOrdersTwoToTwentyFiveOnly) {
    const ResultadoUso r = CargarParaUso(Normalizar(kIncluidas), "EN 50160 LV/MV");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.tension.thd, 8.0);
    EXPECT_EQ(r.filtro.tension.valores,
              (std::vector<double>{2,   5,   1,   6, 0.5, 5,   0.5, 1.5, 0.5, 3.5, 0.5, 3,
                                   0.5, 0.5, 0.5, 2, 0.5, 1.5, 0.5, 0.5, 0.5, 1.5, 0.5, 1.5}));
    EXPECT_EQ(r.filtro.corriente.thd, kCampoVacio);
    EXPECT_TRUE(r.filtro.corriente.valores.empty());
    EXPECT_FALSE(CargarParaEditor(Normalizar(kIncluidas), "EN 50160 LV/MV").corriente.hayThd);
}

TEST(NormasIncluidas, Ieee519HasLimitsForOrdersTwoToFifty) {
    const ResultadoUso r = CargarParaUso(Normalizar(kIncluidas), "IEEE 519-2014 V<=1kV, Isc/IL<20");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.tension.thd, 8.0);
    EXPECT_EQ(r.filtro.tension.valores, std::vector<double>(49, 5.0));
    EXPECT_EQ(r.filtro.corriente.thd, 5.0);
    ASSERT_EQ(r.filtro.corriente.valores.size(), 49u);
    for (int orden = 2; orden <= 50; ++orden)
        EXPECT_DOUBLE_EQ(r.filtro.corriente.valores[static_cast<size_t>(orden - kPrimerOrden)],
                         LimiteCorrienteIeee(orden))
            << "order " << orden;
    EXPECT_EQ(r.filtro.corriente.valores[0], 1.0);
    EXPECT_EQ(r.filtro.corriente.valores[10], 0.5);
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
