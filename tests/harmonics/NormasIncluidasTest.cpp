#include "FicheroNormas.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace normas;

namespace {

QByteArray Incluidas() {
    QFile f(QStringLiteral(NORMAS_INCLUIDAS));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// Current limits of the shipped IEEE set from its table of order ranges: odd orders at the
// range's limit, even orders at a quarter of it.
double LimiteCorrienteIeee(int orden) {
    const double rango = orden < 11 ? 4.0 : orden < 17 ? 2.0 : orden < 23 ? 1.5 : orden < 35 ? 0.6 : 0.3;
    return orden % 2 == 1 ? rango : rango * 0.25;
}

const QByteArray kEn50160 = "EN 50160 LV/MV";
const QByteArray kIeee519 = "IEEE 519-2014 V<=1kV, Isc/IL<20";

} // namespace

TEST(NormasIncluidas, TwoFixedRecordsWrittenWithCrLf) {
    const QByteArray bruto = Incluidas();
    EXPECT_EQ(bruto.count("\r\n"), 6);
    EXPECT_EQ(bruto.count('\n'), 6);
    const ListaNormas l = LeerNombres(Normalizar(bruto));
    ASSERT_TRUE(l.completa);
    ASSERT_EQ(l.entradas.size(), 2u);
    EXPECT_EQ(l.entradas[0].nombre, kEn50160);
    EXPECT_EQ(l.entradas[1].nombre, kIeee519);
    EXPECT_EQ(l.entradas[0].bandera, kBanderaFija);
    EXPECT_EQ(l.entradas[1].bandera, kBanderaFija);
}

TEST(NormasIncluidas, En50160VoltageLimitsForOrdersTwoToTwentyFiveAndNoCurrentLimits) {
    const ResultadoUso r = CargarParaUso(Normalizar(Incluidas()), kEn50160);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.tension.thd, 8.0);
    const std::vector<double> esperado{2,   5,   1,   6, 0.5, 5,   0.5, 1.5, 0.5, 3.5, 0.5, 3,
                                       0.5, 0.5, 0.5, 2, 0.5, 1.5, 0.5, 0.5, 0.5, 1.5, 0.5, 1.5};
    EXPECT_EQ(r.filtro.tension.valores, esperado);
    EXPECT_EQ(r.filtro.corriente.thd, kCampoVacio);
    EXPECT_TRUE(r.filtro.corriente.valores.empty());
}

TEST(NormasIncluidas, Ieee519LimitsForOrdersTwoToFifty) {
    const ResultadoUso r = CargarParaUso(Normalizar(Incluidas()), kIeee519);
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

TEST(NormasIncluidas, EditorShowsEveryValueOfTheShippedSets) {
    const ResultadoEditor r = CargarParaEditor(Normalizar(Incluidas()), kIeee519);
    ASSERT_EQ(r.estado, EstadoEditor::Cargado);
    EXPECT_EQ(r.corriente.valores.size(), 49u);
    const ResultadoEditor en = CargarParaEditor(Normalizar(Incluidas()), kEn50160);
    EXPECT_FALSE(en.corriente.hayThd);
}

// The build puts the shipped file beside the host only where there is none.
class CopiaIncluidas : public ::testing::Test {
protected:
    int Copiar(const QString& destino) {
        QProcess p;
        p.start(QStringLiteral(NORMAS_CMAKE),
                {QStringLiteral("-DORIGEN=%1").arg(QStringLiteral(NORMAS_INCLUIDAS)),
                 QStringLiteral("-DDESTINO=%1").arg(destino), QStringLiteral("-P"),
                 QStringLiteral(NORMAS_COPIAR_SI_FALTA)});
        EXPECT_TRUE(p.waitForFinished(60000));
        return p.exitCode();
    }
};

TEST_F(CopiaIncluidas, MissingFileIsInstalled) {
    const QString destino = QDir(testsupport::dataDirectory()).filePath(QStringLiteral("bin/FILTROS.NRM"));
    ASSERT_EQ(Copiar(destino), 0);
    QFile f(destino);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), Incluidas());
}

TEST_F(CopiaIncluidas, UsersFileIsNeverOverwritten) {
    const QString destino = QDir(testsupport::dataDirectory()).filePath(QStringLiteral("FILTROS.NRM"));
    const QByteArray suyo = "Mio\r\n1,1,\r\n1,1,\r\n";
    {
        QFile f(destino);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(suyo);
    }
    ASSERT_EQ(Copiar(destino), 0);
    QFile f(destino);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), suyo);
}
