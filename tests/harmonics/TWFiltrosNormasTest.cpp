#include "TWFiltrosNormas.h"

#include "ApoyoNormas.h"
#include "TTFiltroIn.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Five filters: user, fixed, user, read-only, other flag (a user filter).
const QByteArray kCinco = "A\r\n1,8,1\r\n1,5,\r\n"
                          "B\r\n0,8,2\r\n0,5,\r\n"
                          "C\r\n1,8,3\r\n1,5,\r\n"
                          "D\r\n2,8,4\r\n2,5,\r\n"
                          "E\r\nx,8,5\r\nx,5,\r\n";

class FiltrosNormas : public ::testing::Test {
protected:
    void SetUp() override { apoyo::Escribir(kCinco); }

    static std::unique_ptr<TWFiltrosNormas> Abrir(bool verSoloMalos = true, bool resaltar = true) {
        auto d = std::make_unique<TWFiltrosNormas>(nullptr);
        d->PonerFicheroNormas(apoyo::Fichero());
        d->PonerOpciones(verSoloMalos, resaltar);
        d->RellenarSiVacia();
        return d;
    }
    // Each row's text followed by its flag.
    static QString Filas(const TWFiltrosNormas& d) {
        QStringList f;
        for (int i = 0; i < d.NumFilas(); ++i)
            f << d.ListaNormas->item(i, 0)->text() + QLatin1Char(d.Bandera(i));
        return f.join(QLatin1Char(' '));
    }
};

} // namespace

TEST_F(FiltrosNormas, ListOfNoneAndTheRecordsOrWhatAMalformedFileHolds) {
    auto d = Abrir();
    EXPECT_EQ(Filas(*d), QStringLiteral("None0 A1 B0 C1 D2 Ex"));
    // A remembered row beyond the list selects None.
    d->PonerEstado(false, false, 0, 9);
    d->RellenarLista();
    EXPECT_EQ(d->ListaNormas->currentRow(), 0);
    // A malformed file is said to be so, and the rows read before the fault stay.
    apoyo::Escribir("A\r\n1,8,1\r\n1,5,\r\n" + QByteArray(41, 'n') + "\r\n1,1,\r\n1,1,\r\n");
    d->RellenarLista();
    EXPECT_EQ(apoyo::UnicoMensaje(), QStringLiteral("Bad harmonics filters file"));
    EXPECT_EQ(Filas(*d), QStringLiteral("None0 A1"));
}

TEST_F(FiltrosNormas, ApplyLoadsTheSelectedFilterOrNoneAndRecordsTheOptions) {
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(3, 0);
    d->CHKRegistrosBuenos->setChecked(true);
    QTest::keyClick(d->ListaNormas, Qt::Key_Return);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->NombreSeleccionado(), QStringLiteral("C"));
    EXPECT_TRUE(d->VerSoloMalos() && !d->ResaltarMalos());
    EXPECT_EQ(d->FiltroCargado().tension.valores, (std::vector<double>{3.0}));
    auto ninguno = Abrir();
    emit ninguno->ListaNormas->cellDoubleClicked(0, 0);
    EXPECT_EQ(ninguno->result(), QDialog::Accepted);
    EXPECT_EQ(ninguno->FiltroCargado().tension.thd, -1.0);
}

TEST_F(FiltrosNormas, FilterThatFailsToLoadIsNeverAppliedAndTheDialogStaysOpen) {
    apoyo::Escribir("Rota\r\n1,8\r\n1,5,\r\nBien\r\n1,1,\r\n1,1,\r\n");
    auto d = Abrir();
    d->show();
    d->ListaNormas->setCurrentCell(1, 0);
    d->BAplicarClick();
    EXPECT_EQ(apoyo::UnicoMensaje(), QStringLiteral("Bad filter"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->Seleccionado(), 0);
}

TEST_F(FiltrosNormas, FixedAndReadOnlyFiltersAreKeptAndAUserFilterIsDeletedAfterAsking) {
    auto d = Abrir();
    for (int fila : {0, 2, 4}) {
        d->ListaNormas->setCurrentCell(fila, 0);
        d->BEliminarClick();
        EXPECT_EQ(apoyo::UnicoMensaje(), QStringLiteral("This filter can't be removed")) << fila;
    }
    d->ListaNormas->setCurrentCell(2, 0);
    d->BModificarNormaClick();
    EXPECT_EQ(apoyo::UnicoMensaje(), QStringLiteral("Filter can not be modified"));
    EXPECT_EQ(apoyo::Leer(), kCinco);

    // A user filter: the question defaults to No; then the record and its row go.
    d->ListaNormas->setCurrentCell(3, 0);
    testsupport::Messages::answerNext(host::MessageAnswer::No);
    QTest::keyClick(d->ListaNormas, Qt::Key_Delete);
    ASSERT_EQ(testsupport::Messages::shown().size(), 1u);
    EXPECT_EQ(testsupport::Messages::shown().front().defaultAnswer, host::MessageAnswer::No);
    EXPECT_EQ(apoyo::Leer(), kCinco);

    testsupport::Messages::answerNext(host::MessageAnswer::Yes);
    d->BEliminarClick();
    EXPECT_EQ(Filas(*d), QStringLiteral("None0 A1 B0 D2 Ex"));
    EXPECT_EQ(apoyo::Leer(), QByteArray("A\r\n1,8,1\r\n1,5,\r\nB\r\n0,8,2\r\n0,5,\r\n"
                                        "D\r\n2,8,4\r\n2,5,\r\nE\r\nx,8,5\r\nx,5,\r\n"));
}

TEST_F(FiltrosNormas, EditorOpensOnTheSelectedRowAndASavedFilterIsListedAndSelected) {
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(4, 0);
    testsupport::Dialogs::handleNext([](QDialog& dlg) {
        EXPECT_EQ(dynamic_cast<TTFiltroIn&>(dlg).ENombre->text(), QStringLiteral("D"));
        return static_cast<int>(QDialog::Rejected);
    });
    d->BModificarNormaClick();
    testsupport::Dialogs::handleNext([](QDialog& dlg) {
        auto& editor = dynamic_cast<TTFiltroIn&>(dlg);
        editor.ENombre->setText(QStringLiteral("F"));
        editor.BAceptarClick();
        return editor.result();
    });
    d->BNuevaNormaClick();
    EXPECT_EQ(Filas(*d), QStringLiteral("None0 A1 B0 C1 D2 Ex F1"));
    EXPECT_EQ(d->ListaNormas->currentRow(), 6);
}
