#include "TTFiltroIn.h"

#include "ApoyoNormas.h"
#include "HostDirectory.h"

#include <QLabel>
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
const QString kMalo = QStringLiteral("Bad filter");

const QByteArray kFichero = "Uno\r\n1,8,1,2\r\n1,5,\r\n"
                            "Fija\r\n0,8,2.5,5\r\n0,101,\r\n"
                            "Bloqueada\r\n2,4,1\r\n2,3,0.5\r\n"
                            "Rota\r\n1,8,1,2,x\r\n1,5,\r\n"
                            "Corta\r\n1,8\r\n1,5,3\r\n";

class FiltroIn : public ::testing::Test {
protected:
    void SetUp() override { apoyo::Escribir(kFichero); }

    std::unique_ptr<TTFiltroIn> Nuevo() {
        return std::make_unique<TTFiltroIn>(nullptr, apoyo::Fichero(), QLatin1Char('1'), QString(),
                                            TTFiltroIn::NUEVO);
    }
    std::unique_ptr<TTFiltroIn> Modificar(const char* nombre, char bandera) {
        return std::make_unique<TTFiltroIn>(nullptr, apoyo::Fichero(), QLatin1Char(bandera),
                                            QString::fromLatin1(nombre), TTFiltroIn::MODIFICAR);
    }
    // OK on the editor: the error it shows, or "" when it saved.
    static QString Aceptar(TTFiltroIn& e) {
        testsupport::Messages::clear();
        e.BAceptarClick();
        if (testsupport::Messages::shown().empty())
            return e.Aceptado() ? QString() : QStringLiteral("neither saved nor refused");
        EXPECT_FALSE(e.Aceptado());
        return apoyo::UnicoError();
    }
    static void Poner(QLineEdit* e, const char* t) { e->setText(QString::fromLatin1(t)); }
    static void Celda(QTableWidget* g, int fila, const char* t) {
        TTFiltroIn::PonerCelda(g, fila, QString::fromLatin1(t));
    }
};

} // namespace

// --- what the editor shows

TEST_F(FiltroIn, CaptionsLabelsAndTheOrderColumn) {
    auto e = Nuevo();
    EXPECT_EQ(e->windowTitle(), QStringLiteral("New filter"));
    EXPECT_EQ(e->LNombre->text(), QStringLiteral("Filter name"));
    EXPECT_EQ(e->LTHDVn->text(), QStringLiteral("THD/d Vn"));
    EXPECT_EQ(e->LTHDIn->text(), QStringLiteral("THD/d In"));
    EXPECT_EQ(e->LArmonicosVn->text(), QStringLiteral("Harmonics Vn"));
    EXPECT_EQ(e->LArmonicosIn->text(), QStringLiteral("Harmonics In"));
    EXPECT_EQ(e->BAceptar->text(), QStringLiteral("&OK"));
    EXPECT_EQ(e->BCancelar->text(), QStringLiteral("&Cancel"));
    for (QTableWidget* g : {e->StringGrid1, e->StringGrid2}) {
        EXPECT_EQ(g->horizontalHeaderItem(0)->text(), QStringLiteral("Number"));
        EXPECT_EQ(g->horizontalHeaderItem(1)->text(), QStringLiteral("Value (%)"));
        ASSERT_EQ(g->rowCount(), 49);
        EXPECT_EQ(g->item(0, 0)->text(), QStringLiteral("2"));
        EXPECT_EQ(g->item(48, 0)->text(), QStringLiteral("50"));
        EXPECT_FALSE(g->item(0, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_NE(g->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    EXPECT_TRUE(e->ENombre->isEnabled());
}

TEST_F(FiltroIn, ModifyLoadsTheRecordWithAHundredAndOneThdShownEmpty) {
    auto e = Modificar("Fija", '1');
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Modify filter"));
    EXPECT_FALSE(e->ENombre->isEnabled());
    EXPECT_EQ(e->ENombre->text(), QStringLiteral("Fija"));
    EXPECT_EQ(e->ETHDVn->text(), QStringLiteral("8"));
    EXPECT_EQ(TTFiltroIn::Celda(e->StringGrid1, 1), QStringLiteral("2.5"));
    EXPECT_EQ(TTFiltroIn::Celda(e->StringGrid1, 2), QStringLiteral("5"));
    EXPECT_EQ(TTFiltroIn::Celda(e->StringGrid1, 3), QString());
    EXPECT_EQ(e->ETHDIn->text(), QString());
}

TEST_F(FiltroIn, ReadOnlyFilterLocksEveryInput) {
    auto e = Modificar("Bloqueada", '2');
    EXPECT_FALSE(e->ENombre->isEnabled());
    EXPECT_FALSE(e->ETHDVn->isEnabled());
    EXPECT_FALSE(e->ETHDIn->isEnabled());
    EXPECT_FALSE(e->BAceptar->isEnabled());
    EXPECT_EQ(e->StringGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(e->StringGrid2->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(e->BCancelar->isEnabled());
    EXPECT_EQ(TTFiltroIn::Celda(e->StringGrid2, 1), QStringLiteral("0.5"));
}

TEST_F(FiltroIn, DataLineEndingAfterItsThdLoadsInTheEditor) {
    auto e = Modificar("Corta", '1');
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ(e->ETHDVn->text(), QStringLiteral("8"));
    EXPECT_EQ(TTFiltroIn::Celda(e->StringGrid1, 1), QString());
    EXPECT_EQ(TTFiltroIn::Celda(e->StringGrid2, 1), QStringLiteral("3"));
}

TEST_F(FiltroIn, BadRecordSaysBadFilterAndShowsWhatWasRead) {
    auto e = Modificar("Rota", '1');
    EXPECT_EQ(apoyo::UnicoError(), kMalo);
    EXPECT_EQ(TTFiltroIn::Celda(e->StringGrid1, 2), QStringLiteral("2"));
    EXPECT_FALSE(e->Aceptado());
}

TEST_F(FiltroIn, MissingFileIsABadFilterForModify) {
    QFile::remove(QDir(testsupport::dataDirectory()).filePath(apoyo::Fichero()));
    auto e = Modificar("Uno", '1');
    EXPECT_EQ(apoyo::UnicoError(), kMalo);
}

// --- validation, in its order

TEST_F(FiltroIn, EmptyNameComesFirst) {
    auto e = Nuevo();
    Poner(e->ETHDVn, "x");
    Celda(e->StringGrid1, 2, "1");
    EXPECT_EQ(Aceptar(*e), kFaltan);
}

TEST_F(FiltroIn, ThdThatIsNotANumberComesBeforeLengths) {
    auto e = Nuevo();
    e->ENombre->setText(QString(41, QLatin1Char('n')));
    Poner(e->ETHDIn, "2,,5");
    EXPECT_EQ(Aceptar(*e), kFaltan);
    Poner(e->ETHDIn, "2,5.1");
    EXPECT_EQ(Aceptar(*e), kFaltan);
    Poner(e->ETHDIn, "");
    EXPECT_EQ(Aceptar(*e), kLargo);
}

TEST_F(FiltroIn, NameThatCannotGoIntoTheFileIsRefused) {
    auto e = Nuevo();
    e->ENombre->setText(QStringLiteral("Norma \u20ac"));
    EXPECT_EQ(Aceptar(*e), kFaltan);
}

TEST_F(FiltroIn, LengthsComeBeforeTheNameCheck) {
    auto e = Nuevo();
    Poner(e->ENombre, "Uno");
    // Twenty characters: one more than a number field of the file can hold.
    Poner(e->ETHDVn, "12345678901234567890");
    EXPECT_EQ(Aceptar(*e), kLargo);
    Poner(e->ETHDVn, "1234567890123456789");
    EXPECT_EQ(Aceptar(*e), kExiste);
    e->ENombre->setText(QString(40, QLatin1Char('n')));
    EXPECT_EQ(Aceptar(*e), QString());
}

TEST_F(FiltroIn, ExistingNameIsRefusedBeforeTheGrids) {
    auto e = Nuevo();
    Poner(e->ENombre, "Fija");
    Celda(e->StringGrid1, 3, "1");
    EXPECT_EQ(Aceptar(*e), kExiste);
    EXPECT_EQ(apoyo::Leer(), kFichero);
}

TEST_F(FiltroIn, GapInAGridIsRefused) {
    auto e = Nuevo();
    Poner(e->ENombre, "Hueco");
    Celda(e->StringGrid1, 1, "1");
    Celda(e->StringGrid1, 3, "3");
    EXPECT_EQ(Aceptar(*e), kHuecos);
    EXPECT_EQ(apoyo::Leer(), kFichero);
}

TEST_F(FiltroIn, VoltageGridIsCheckedBeforeCurrentAndRowsInOrder) {
    auto e = Nuevo();
    Poner(e->ENombre, "Orden");
    Celda(e->StringGrid1, 2, "1");
    Celda(e->StringGrid2, 1, "x");
    EXPECT_EQ(Aceptar(*e), kHuecos);
    Celda(e->StringGrid1, 1, "a");
    EXPECT_EQ(Aceptar(*e), kListas);
    Celda(e->StringGrid1, 1, "1");
    EXPECT_EQ(Aceptar(*e), kListas);
}

TEST_F(FiltroIn, CellWithTwoCommasOrTooLongIsNotANumber) {
    auto e = Nuevo();
    Poner(e->ENombre, "Comas");
    Celda(e->StringGrid1, 1, "2,,5");
    EXPECT_EQ(Aceptar(*e), kListas);
    Celda(e->StringGrid1, 1, "12345678901234567890");
    EXPECT_EQ(Aceptar(*e), kListas);
}

// --- saving

TEST_F(FiltroIn, EmptyNewFilterIsSavedWithHundredAndOneThds) {
    apoyo::Escribir(QByteArray());
    auto e = Nuevo();
    Poner(e->ENombre, "Vacio");
    EXPECT_EQ(Aceptar(*e), QString());
    EXPECT_TRUE(e->Aceptado());
    EXPECT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(apoyo::Leer(), QByteArray("Vacio\r\n1,101,\r\n1,101,\r\n"));
}

TEST_F(FiltroIn, DecimalCommasAreSavedAsPoints) {
    auto e = Nuevo();
    Poner(e->ENombre, "Comas");
    Poner(e->ETHDVn, "8,5");
    Poner(e->ETHDIn, ",5");
    Celda(e->StringGrid1, 1, "2,5");
    Celda(e->StringGrid1, 2, "3");
    Celda(e->StringGrid2, 1, "0.75");
    ASSERT_EQ(Aceptar(*e), QString());
    EXPECT_EQ(apoyo::Leer(), kFichero + QByteArray("Comas\r\n1,8.5,2.5,3\r\n1,.5,0.75\r\n"));
    const normas::ResultadoUso r = normas::CargarParaUso(normas::Normalizar(apoyo::Leer()), "Comas");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.filtro.corriente.thd, 0.5);
}

TEST_F(FiltroIn, ModifyReplacesTheRecordInPlace) {
    auto e = Modificar("Uno", '1');
    Poner(e->ETHDVn, "9");
    Celda(e->StringGrid1, 3, "7");
    ASSERT_EQ(Aceptar(*e), QString());
    QByteArray esperado = kFichero;
    esperado.replace("Uno\r\n1,8,1,2\r\n", "Uno\r\n1,9,1,2,7\r\n");
    EXPECT_EQ(apoyo::Leer(), esperado);
}

TEST_F(FiltroIn, ModifyingAFixedOrOtherFlagWritesAUserFilter) {
    auto e = Modificar("Fija", 'x');
    ASSERT_EQ(Aceptar(*e), QString());
    const normas::ListaNormas l = normas::LeerNombres(normas::Normalizar(apoyo::Leer()));
    ASSERT_EQ(l.entradas.size(), 5u);
    EXPECT_EQ(l.entradas[1].nombre, QByteArray("Fija"));
    EXPECT_EQ(l.entradas[1].bandera, '1');
}

TEST_F(FiltroIn, FailedWriteIsReportedAndTheEditorStaysOpen) {
    host::HostDirectory::setDataDirectory(
        QDir(testsupport::dataDirectory()).filePath(QStringLiteral("gone")));
    auto e = Nuevo();
    Poner(e->ENombre, "Nueva");
    const QString error = Aceptar(*e);
    EXPECT_TRUE(error.startsWith(QStringLiteral("The harmonics filters file"))) << error.toStdString();
    EXPECT_FALSE(e->Aceptado());
}

TEST_F(FiltroIn, CancelSavesNothing) {
    auto e = Nuevo();
    Poner(e->ENombre, "Nunca");
    e->BCancelarClick();
    EXPECT_EQ(e->result(), QDialog::Rejected);
    EXPECT_FALSE(e->Aceptado());
    EXPECT_EQ(apoyo::Leer(), kFichero);
}

TEST_F(FiltroIn, BatchRunSavesNothing) {
    auto e = Nuevo();
    EXPECT_EQ(host::BatchMode::dialogResult(*e), QDialog::Rejected);
}
