#include "TTFiltroIn.h"

#include "ApoyoNormas.h"
#include "HostDirectory.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kFaltan = QStringLiteral("There are missing or incorrect texts");
const QString kLargo = QStringLiteral("Text too long");
const QString kExiste = QStringLiteral("Filter name already exists");
const QString kHuecos =
    QStringLiteral("Some values for lower or intermediate harmonics are missed to be entered!!!");
const QString kListas = QStringLiteral("There are missing or incorrect texts in lists");

const QByteArray kFichero = "Uno\r\n1,8,1,2\r\n1,5,\r\n"
                            "Fija\r\n0,8,2.5,5\r\n0,101,\r\n"
                            "Bloqueada\r\n2,4,1\r\n2,3,0.5\r\n"
                            "Rota\r\n1,8,1,2,x\r\n1,5,\r\n"
                            "Corta\r\n1,8\r\n1,5,3\r\n";

class FiltroIn : public ::testing::Test {
protected:
    void SetUp() override { apoyo::Escribir(kFichero); }

    static std::unique_ptr<TTFiltroIn> Abrir(int modo, const char* nombre = "", char bandera = '1') {
        return std::make_unique<TTFiltroIn>(nullptr, apoyo::Fichero(), QLatin1Char(bandera),
                                            QString::fromLatin1(nombre), modo);
    }
    // OK on the editor: the error it shows, or "" when it saved.
    static QString Aceptar(TTFiltroIn& e) {
        testsupport::Messages::clear();
        e.BAceptarClick();
        if (testsupport::Messages::shown().empty())
            return e.Aceptado() ? QString() : QStringLiteral("neither saved nor refused");
        EXPECT_FALSE(e.Aceptado());
        return apoyo::UnicoMensaje();
    }
    static void Poner(QLineEdit* e, const char* t) { e->setText(QString::fromLatin1(t)); }
    static void Celda(QTableWidget* g, int fila, const char* t) {
        TTFiltroIn::PonerCelda(g, fila, QString::fromLatin1(t));
    }
    static QString Celda(QTableWidget* g, int fila) { return TTFiltroIn::Celda(g, fila); }
};

} // namespace

TEST_F(FiltroIn, ModifyShowsTheRecordWithAHundredAndOneThdEmpty) {
    auto e = Abrir(TTFiltroIn::MODIFICAR, "Fija");
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ((QStringList{e->ETHDVn->text(), e->ETHDIn->text()}), (QStringList{"8", ""}));
    EXPECT_EQ((QStringList{Celda(e->StringGrid1, 1), Celda(e->StringGrid1, 2), Celda(e->StringGrid1, 3)}),
              (QStringList{"2.5", "5", ""}));
}

TEST_F(FiltroIn, BadRecordSaysBadFilterAndShowsWhatWasRead) {
    auto e = Abrir(TTFiltroIn::MODIFICAR, "Rota");
    EXPECT_EQ(apoyo::UnicoMensaje(), QStringLiteral("Bad filter"));
    EXPECT_EQ(Celda(e->StringGrid1, 2), QStringLiteral("2"));
}

// Each step sets up the failure of one check while later checks would fail too.
TEST_F(FiltroIn, ValidationReportsTheFirstFailingCheckInOrder) {
    auto e = Abrir(TTFiltroIn::NUEVO);
    Poner(e->ETHDVn, "2,,5");
    Celda(e->StringGrid1, 3, "1");
    e->ENombre->setText(QString(41, QLatin1Char('n')));
    EXPECT_EQ(Aceptar(*e), kFaltan);
    Poner(e->ETHDVn, "");
    EXPECT_EQ(Aceptar(*e), kLargo);
    Poner(e->ENombre, "Uno");
    EXPECT_EQ(Aceptar(*e), kExiste);
    Poner(e->ENombre, "Nueva");
    Celda(e->StringGrid2, 1, "x");
    EXPECT_EQ(Aceptar(*e), kHuecos);
    Celda(e->StringGrid1, 1, "2,,5");
    Celda(e->StringGrid1, 2, "1");
    EXPECT_EQ(Aceptar(*e), kListas);
    EXPECT_EQ(apoyo::Leer(), kFichero);
    Celda(e->StringGrid1, 1, "1");
    Celda(e->StringGrid2, 1, "2");
    // Everything else valid: a name that a single-byte file cannot hold is still refused.
    e->ENombre->setText(QStringLiteral("Norma \u20ac"));
    EXPECT_EQ(Aceptar(*e), kFaltan);
    Poner(e->ENombre, "Nueva");
    EXPECT_EQ(Aceptar(*e), QString());
}

TEST_F(FiltroIn, ModifyReplacesTheRecordInPlaceAsAUserFilter) {
    auto e = Abrir(TTFiltroIn::MODIFICAR, "Fija", 'x');
    Poner(e->ETHDVn, "9");
    Celda(e->StringGrid1, 3, "7");
    ASSERT_EQ(Aceptar(*e), QString());
    QByteArray esperado = kFichero;
    esperado.replace("Fija\r\n0,8,2.5,5\r\n0,101,\r\n", "Fija\r\n1,9,2.5,5,7\r\n1,101,\r\n");
    EXPECT_EQ(apoyo::Leer(), esperado);
}

TEST_F(FiltroIn, FailedWriteIsReportedAndCancelOrABatchRunSavesNothing) {
    host::HostDirectory::setDataDirectory(
        QDir(testsupport::dataDirectory()).filePath(QStringLiteral("gone")));
    auto e = Abrir(TTFiltroIn::NUEVO);
    Poner(e->ENombre, "Nueva");
    EXPECT_TRUE(Aceptar(*e).startsWith(QStringLiteral("The harmonics filters file")));
    EXPECT_EQ(host::BatchMode::dialogResult(*e), QDialog::Rejected);
}
