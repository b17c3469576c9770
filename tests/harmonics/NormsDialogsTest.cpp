// The norms dialogs: the filter editor, the list of filters and the component that runs the
// list for a window.

#include "ApoyoNormas.h"
#include "HostDirectory.h"
#include "TGestionNormasDlg.h"
#include "TTFiltroIn.h"
#include "TWFiltrosNormas.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kFaltan = QStringLiteral("There are missing or incorrect texts");

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
    EXPECT_EQ(Aceptar(*e), QStringLiteral("Text too long"));
    Poner(e->ENombre, "Uno");
    EXPECT_EQ(Aceptar(*e), QStringLiteral("Filter name already exists"));
    Poner(e->ENombre, "Nueva");
    Celda(e->StringGrid2, 1, "x");
    EXPECT_EQ(Aceptar(*e),
              QStringLiteral("Some values for lower or intermediate harmonics are missed to be entered!!!"));
    Celda(e->StringGrid1, 1, "2,,5");
    Celda(e->StringGrid1, 2, "1");
    EXPECT_EQ(Aceptar(*e), QStringLiteral("There are missing or incorrect texts in lists"));
    EXPECT_EQ(apoyo::Leer(), kFichero);
    Celda(e->StringGrid1, 1, "1");
    Celda(e->StringGrid2, 1, "2");
    // Everything else valid: a name that a single-byte file cannot hold is still refused.
    e->ENombre->setText(QStringLiteral("Norma \u20ac"));
    EXPECT_EQ(Aceptar(*e), kFaltan);
    Poner(e->ENombre, "Nueva");
    EXPECT_EQ(Aceptar(*e), QString());
}

TEST_F(FiltroIn, ModifyShowsTheRecordWithAHundredAndOneEmptyAndReplacesItInPlaceAsAUserFilter) {
    auto e = Abrir(TTFiltroIn::MODIFICAR, "Fija", 'x');
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ((QStringList{e->ETHDVn->text(), e->ETHDIn->text()}), (QStringList{"8", ""}));
    EXPECT_EQ((QStringList{Celda(e->StringGrid1, 1), Celda(e->StringGrid1, 2), Celda(e->StringGrid1, 3)}),
              (QStringList{"2.5", "5", ""}));
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

const QString kEn50160 = QStringLiteral("EN 50160 LV/MV");
const QString kIeee519 = QStringLiteral("IEEE 519-2014 V<=1kV, Isc/IL<20");

// The next list dialog that Execute runs is handed to `accion`.
void AlAbrirLista(std::function<int(TWFiltrosNormas&)> accion) {
    testsupport::Dialogs::handleNext(
        [accion](QDialog& d) { return accion(dynamic_cast<TWFiltrosNormas&>(d)); });
}

int Aplicar(TWFiltrosNormas& d, int fila) {
    d.ListaNormas->setCurrentCell(fila, 0);
    d.BAplicarClick();
    return d.result();
}

int Cancelar(TWFiltrosNormas& d) {
    d.BCancelarClick();
    return d.result();
}

class GestionNormas : public ::testing::Test {
protected:
    void SetUp() override {
        apoyo::CopiarIncluidas();
        // As the harmonics graph sets it.
        m_normas.SetFicheroNormas(apoyo::Fichero());
        m_normas.SetHayVerSoloMalos(true);
        m_normas.SetHayResaltarMalos(true);
    }
    TGestionNormasDlg m_normas;
};

TEST_F(GestionNormas, AppliedFilterIsCopiedIntoTheComponentAndNoneClearsIt) {
    AlAbrirLista([](TWFiltrosNormas& d) {
        d.CHKResaltarMalos->setChecked(true);
        return Aplicar(d, 2);
    });
    ASSERT_TRUE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), kIeee519);
    EXPECT_TRUE(m_normas.GetResaltarMalos());
    EXPECT_EQ(
        (std::vector<double>{m_normas.GetTHDVn(), m_normas.GetTHDIn(), m_normas.GetFiltroIn(1),
                             m_normas.GetFiltroIn(48), m_normas.GetFiltroIn(49), m_normas.GetFiltroIn(-1)}),
        (std::vector<double>{8.0, 5.0, 4.0, 0.075, -1.0, -1.0}));
    const juicio::RegistroLimites r = m_normas.Limites(juicio::Tipo::Corriente);
    EXPECT_EQ(r.Numero(), 49);
    EXPECT_TRUE(r.resaltar);

    AlAbrirLista([](TWFiltrosNormas& d) { return Aplicar(d, 0); });
    EXPECT_TRUE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetTHDVn(), -1.0) << "None clears the limits";
}

TEST_F(GestionNormas, CancelReturnsFalseAndTakesTheLastLoadOfThatDialog) {
    AlAbrirLista([](TWFiltrosNormas& d) { return Aplicar(d, 1); });
    ASSERT_TRUE(m_normas.Execute());
    AlAbrirLista([](TWFiltrosNormas& d) { return Cancelar(d); });
    EXPECT_FALSE(m_normas.Execute());
    // Nothing was loaded while that dialog was open.
    EXPECT_EQ(m_normas.GetNFiltrosVn(), 0);
    EXPECT_EQ(m_normas.GetFiltroSeleccionado(), 1);
}

// Applying by name is tested through the harmonics windows, which apply filters that way.
TEST_F(GestionNormas, FilterAppliedByNameIsKeptByABatchRun) {
    ASSERT_TRUE(m_normas.AplicarFiltro(kEn50160));
    testsupport::Dialogs::handleNext([](QDialog& d) { return host::BatchMode::dialogResult(d); });
    EXPECT_FALSE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), kEn50160);
}

} // namespace
