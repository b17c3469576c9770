#include "TWFiltrosNormas.h"

#include "ApoyoNormas.h"
#include "SettingsStore.h"
#include "TTFiltroIn.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Five filters: user, fixed, user, read-only, user.
const QByteArray kCinco = "A\r\n1,8,1\r\n1,5,\r\n"
                          "B\r\n0,8,2\r\n0,5,\r\n"
                          "C\r\n1,8,3\r\n1,5,\r\n"
                          "D\r\n2,8,4\r\n2,5,\r\n"
                          "E\r\nx,8,5\r\nx,5,\r\n";

class FiltrosNormas : public ::testing::Test {
protected:
    std::unique_ptr<TWFiltrosNormas> Abrir(bool verSoloMalos = true, bool resaltar = true) {
        auto d = std::make_unique<TWFiltrosNormas>(nullptr);
        d->PonerFicheroNormas(apoyo::Fichero());
        d->PonerOpciones(verSoloMalos, resaltar);
        d->RellenarSiVacia();
        return d;
    }
    static std::optional<qint32> Valor(const char* nombre) {
        auto clave = host::SettingsKey::openOrCreate(QString::fromLatin1(TWFiltrosNormas::kClave));
        return clave ? clave->readInt(QString::fromLatin1(nombre)) : std::nullopt;
    }
    static QStringList Filas(const TWFiltrosNormas& d) {
        QStringList f;
        for (int i = 0; i < d.NumFilas(); ++i)
            f << d.ListaNormas->item(i, 0)->text();
        return f;
    }
};

} // namespace

TEST_F(FiltrosNormas, CaptionsAndControlTexts) {
    auto d = Abrir();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Harmonics filter"));
    EXPECT_EQ(d->LTituloNormas->text(), QStringLiteral("Filters list"));
    EXPECT_EQ(d->CHKRegistrosBuenos->text(), QStringLiteral("View only bad registers"));
    EXPECT_EQ(d->CHKResaltarMalos->text(), QStringLiteral("Remark bad values"));
    EXPECT_EQ(d->BAplicar->text(), QStringLiteral("&Apply"));
    EXPECT_EQ(d->BNuevaNorma->text(), QStringLiteral("&New"));
    EXPECT_EQ(d->BModificarNorma->text(), QStringLiteral("&Modify"));
    EXPECT_EQ(d->BEliminar->text(), QStringLiteral("&Delete"));
    EXPECT_EQ(d->BCancelar->text(), QStringLiteral("&Cancel"));
}

// --- the list

TEST_F(FiltrosNormas, MissingFileGivesOnlyNone) {
    auto d = Abrir();
    EXPECT_EQ(Filas(*d), QStringList{QStringLiteral("None")});
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_FALSE(d->BModificarNorma->isEnabled());
}

TEST_F(FiltrosNormas, MalformedFileSaysSoAndKeepsTheRowsRead) {
    apoyo::Escribir(QByteArray("A\r\n1,8,1\r\n1,5,\r\n") + QByteArray(41, 'n') + "\r\n1,1,\r\n1,1,\r\n");
    auto d = Abrir();
    EXPECT_EQ(apoyo::UnicoError(), QStringLiteral("Bad harmonics filters file"));
    EXPECT_EQ(Filas(*d), (QStringList{QStringLiteral("None"), QStringLiteral("A")}));
}

TEST_F(FiltrosNormas, ModifyButtonFollowsTheFlagOfTheSelectedRow) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    const bool esperado[] = {false, true, false, true, true, true};
    for (int fila = 0; fila < 6; ++fila) {
        d->ListaNormas->setCurrentCell(fila, 0);
        EXPECT_EQ(d->BModificarNorma->isEnabled(), esperado[fila]) << "row " << fila;
    }
}

TEST_F(FiltrosNormas, RememberedRowBeyondTheListSelectsNone) {
    apoyo::Escribir(kCinco);
    auto d = std::make_unique<TWFiltrosNormas>(nullptr);
    d->PonerFicheroNormas(apoyo::Fichero());
    d->PonerEstado(false, false, 0, 9);
    d->RellenarSiVacia();
    EXPECT_EQ(d->ListaNormas->currentRow(), 0);
    d->PonerEstado(false, false, 0, 3);
    d->RellenarLista();
    EXPECT_EQ(d->ListaNormas->currentRow(), 3);
}

TEST_F(FiltrosNormas, ThdWindowHasNoViewOnlyBadRegisters) {
    auto d = Abrir(false, true);
    d->show();
    EXPECT_FALSE(d->CHKRegistrosBuenos->isVisible());
    EXPECT_TRUE(d->CHKResaltarMalos->isVisible());
    EXPECT_TRUE(d->PanelColor->isVisible());
    auto sinNada = Abrir(false, false);
    sinNada->show();
    EXPECT_FALSE(sinNada->CHKResaltarMalos->isVisible());
    EXPECT_FALSE(sinNada->PanelColor->isVisible());
}

// --- apply

TEST_F(FiltrosNormas, ApplyingNoneClosesWithNoLimits) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->BAplicarClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Seleccionado(), 0);
    EXPECT_EQ(d->NombreSeleccionado(), QString());
    EXPECT_EQ(d->FiltroCargado().tension.thd, -1.0);
    EXPECT_TRUE(d->FiltroCargado().tension.valores.empty());
}

TEST_F(FiltrosNormas, ApplyingAFilterLoadsItAndRecordsTheOptions) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(3, 0);
    d->CHKRegistrosBuenos->setChecked(true);
    d->BAplicarClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Seleccionado(), 3);
    EXPECT_EQ(d->NombreSeleccionado(), QStringLiteral("C"));
    EXPECT_TRUE(d->VerSoloMalos());
    EXPECT_FALSE(d->ResaltarMalos());
    EXPECT_EQ(d->FiltroCargado().tension.valores, (std::vector<double>{3.0}));
}

TEST_F(FiltrosNormas, BadFilterIsNeverAppliedAndTheDialogStaysOpen) {
    apoyo::Escribir("Rota\r\n1,8\r\n1,5,\r\n");
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(1, 0);
    d->BAplicarClick();
    EXPECT_EQ(apoyo::UnicoError(), QStringLiteral("Bad filter"));
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Seleccionado(), 0);
}

TEST_F(FiltrosNormas, FileChangedUnderTheListMakesABadFilter) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(1, 0);
    QFile::remove(QDir(testsupport::dataDirectory()).filePath(apoyo::Fichero()));
    d->BAplicarClick();
    EXPECT_EQ(apoyo::UnicoError(), QStringLiteral("Bad filter"));
    EXPECT_NE(d->result(), QDialog::Accepted);
}

TEST_F(FiltrosNormas, EnterInTheListAppliesAndDoubleClickToo) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(2, 0);
    QTest::keyClick(d->ListaNormas, Qt::Key_Return);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Seleccionado(), 2);
    auto otro = Abrir();
    emit otro->ListaNormas->cellDoubleClicked(1, 0);
    EXPECT_EQ(otro->result(), QDialog::Accepted);
}

TEST_F(FiltrosNormas, EscapeCancels) {
    auto d = Abrir();
    d->show();
    QTest::keyClick(d->ListaNormas, Qt::Key_Escape);
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_FALSE(d->isVisible());
}

// --- delete and modify

TEST_F(FiltrosNormas, FixedAndReadOnlyFiltersCannotBeRemoved) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    for (int fila : {0, 2, 4}) {
        d->ListaNormas->setCurrentCell(fila, 0);
        d->BEliminarClick();
        EXPECT_EQ(apoyo::UnicoAviso(), QStringLiteral("This filter can't be removed")) << fila;
    }
    EXPECT_EQ(apoyo::Leer(), kCinco);
}

TEST_F(FiltrosNormas, DeleteAsksAndNoKeepsTheFilter) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(1, 0);
    testsupport::Messages::answerNext(host::MessageAnswer::No);
    QTest::keyClick(d->ListaNormas, Qt::Key_Delete);
    const auto& m = testsupport::Messages::shown();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].text, QStringLiteral("Filter will be deleted. Are you sure?"));
    EXPECT_EQ(m[0].buttons, host::MessageButtons::YesNo);
    EXPECT_EQ(m[0].icon, host::MessageIcon::Warning);
    EXPECT_EQ(apoyo::Leer(), kCinco);
    EXPECT_EQ(d->NumFilas(), 6);
}

TEST_F(FiltrosNormas, DeletingTheThirdOfFiveKeepsEachRowsOwnFlag) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(3, 0);
    testsupport::Messages::answerNext(host::MessageAnswer::Yes);
    d->BEliminarClick();
    EXPECT_EQ(Filas(*d), (QStringList{QStringLiteral("None"), QStringLiteral("A"), QStringLiteral("B"),
                                      QStringLiteral("D"), QStringLiteral("E")}));
    EXPECT_EQ(apoyo::Leer(), QByteArray("A\r\n1,8,1\r\n1,5,\r\nB\r\n0,8,2\r\n0,5,\r\n"
                                        "D\r\n2,8,4\r\n2,5,\r\nE\r\nx,8,5\r\nx,5,\r\n"));
    const bool esperado[] = {false, true, false, true, true};
    for (int fila = 0; fila < 5; ++fila) {
        d->ListaNormas->setCurrentCell(fila, 0);
        EXPECT_EQ(d->BModificarNorma->isEnabled(), esperado[fila]) << "row " << fila;
    }
    d->ListaNormas->setCurrentCell(3, 0);
    d->BEliminarClick();
    EXPECT_EQ(testsupport::Messages::shown().back().text, QStringLiteral("This filter can't be removed"));
}

TEST_F(FiltrosNormas, FixedFilterCannotBeModified) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(2, 0);
    d->BModificarNormaClick();
    EXPECT_EQ(apoyo::UnicoAviso(), QStringLiteral("Filter can not be modified"));
    EXPECT_EQ(testsupport::Dialogs::runs(), 0);
}

TEST_F(FiltrosNormas, NewFilterSavedByTheEditorAppearsSelected) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(2, 0);
    testsupport::Dialogs::handleNext([](QDialog& dlg) {
        auto& editor = dynamic_cast<TTFiltroIn&>(dlg);
        EXPECT_EQ(editor.Modo(), TTFiltroIn::NUEVO);
        editor.ENombre->setText(QStringLiteral("F"));
        editor.BAceptarClick();
        return editor.result();
    });
    d->BNuevaNormaClick();
    ASSERT_EQ(d->NumFilas(), 7);
    EXPECT_EQ(d->ListaNormas->item(6, 0)->text(), QStringLiteral("F"));
    EXPECT_EQ(d->ListaNormas->currentRow(), 6);
    EXPECT_TRUE(d->BModificarNorma->isEnabled());
}

TEST_F(FiltrosNormas, ModifyOpensTheEditorOnTheSelectedFilter) {
    apoyo::Escribir(kCinco);
    auto d = Abrir();
    d->ListaNormas->setCurrentCell(4, 0);
    testsupport::Dialogs::handleNext([](QDialog& dlg) {
        auto& editor = dynamic_cast<TTFiltroIn&>(dlg);
        EXPECT_EQ(editor.Modo(), TTFiltroIn::MODIFICAR);
        EXPECT_EQ(editor.ENombre->text(), QStringLiteral("D"));
        // Read-only: nothing can be saved.
        EXPECT_FALSE(editor.BAceptar->isEnabled());
        return static_cast<int>(QDialog::Rejected);
    });
    d->BModificarNormaClick();
    EXPECT_EQ(testsupport::Dialogs::runs(), 1);
    EXPECT_EQ(apoyo::Leer(), kCinco);
}

// --- colour

TEST_F(FiltrosNormas, ConfirmedColourIsTheOneAnApplyRecords) {
    auto d = Abrir();
    d->PonerEstado(false, true, 0x0000FF, 0);
    testsupport::Dialogs::handleNext([](QDialog& dlg) {
        auto& c = dynamic_cast<QColorDialog&>(dlg);
        EXPECT_EQ(c.currentColor(), QColor(255, 0, 0));
        c.setCurrentColor(QColor(0, 128, 255));
        return static_cast<int>(QDialog::Accepted);
    });
    d->PanelColorClick();
    EXPECT_EQ(d->ColorPanel(), 0xFF8000);
    EXPECT_EQ(d->ColorMalos(), 0x0000FF);
    d->BAplicarClick();
    EXPECT_EQ(d->ColorMalos(), 0xFF8000);
}

TEST_F(FiltrosNormas, CancelledColourChangesNothing) {
    auto d = Abrir();
    d->PonerEstado(false, true, 0x00FF00, 0);
    testsupport::Dialogs::handleNext([](QDialog& dlg) {
        dynamic_cast<QColorDialog&>(dlg).setCurrentColor(Qt::red);
        return static_cast<int>(QDialog::Rejected);
    });
    d->PanelColorClick();
    EXPECT_EQ(d->ColorPanel(), 0x00FF00);
    d->BAplicarClick();
    EXPECT_EQ(d->ColorMalos(), 0x00FF00);
}

TEST(ColorRef, RedIsTheLowByte) {
    EXPECT_EQ(ColorDeColorRef(65535), QColor(255, 255, 0));
    EXPECT_EQ(ColorRefDeColor(QColor(255, 0, 0)), 0x0000FF);
    EXPECT_EQ(ColorRefDeColor(ColorDeColorRef(0x123456)), 0x123456);
}

// --- settings

TEST_F(FiltrosNormas, NewKeyGetsTheFourDefaults) {
    auto d = Abrir();
    EXPECT_EQ(Valor(TWFiltrosNormas::kSeleccionado), 0);
    EXPECT_EQ(Valor(TWFiltrosNormas::kMalos), 0);
    EXPECT_EQ(Valor(TWFiltrosNormas::kResaltar), 0);
    EXPECT_EQ(Valor(TWFiltrosNormas::kIndexColor), 65535);
    EXPECT_EQ(d->ColorPanel(), 65535);
}

TEST_F(FiltrosNormas, StoredValuesAreReadBackAndWrongTypesGetTheirDefault) {
    apoyo::Escribir(kCinco);
    {
        auto clave = host::SettingsKey::openOrCreate(QString::fromLatin1(TWFiltrosNormas::kClave));
        ASSERT_TRUE(clave);
        clave->writeInt(QString::fromLatin1(TWFiltrosNormas::kSeleccionado), 2);
        clave->writeInt(QString::fromLatin1(TWFiltrosNormas::kMalos), 1);
        clave->writeString(QString::fromLatin1(TWFiltrosNormas::kResaltar), QStringLiteral("si"));
        clave->writeInt(QString::fromLatin1(TWFiltrosNormas::kIndexColor), 0x00FF00);
        clave->sync();
    }
    auto d = Abrir();
    EXPECT_TRUE(d->CHKRegistrosBuenos->isChecked());
    EXPECT_FALSE(d->CHKResaltarMalos->isChecked());
    EXPECT_EQ(d->ColorPanel(), 0x00FF00);
    EXPECT_EQ(d->ListaNormas->currentRow(), 2);
    EXPECT_EQ(Valor(TWFiltrosNormas::kResaltar), 0);
    EXPECT_EQ(Valor(TWFiltrosNormas::kSeleccionado), 2);
}

TEST_F(FiltrosNormas, SettingsAreWrittenOnOkOnly) {
    apoyo::Escribir(kCinco);
    {
        auto d = Abrir();
        d->ListaNormas->setCurrentCell(3, 0);
        d->CHKResaltarMalos->setChecked(true);
        d->BCancelarClick();
    }
    EXPECT_EQ(Valor(TWFiltrosNormas::kSeleccionado), 0);
    EXPECT_EQ(Valor(TWFiltrosNormas::kResaltar), 0);
    {
        auto d = Abrir();
        d->ListaNormas->setCurrentCell(3, 0);
        d->CHKResaltarMalos->setChecked(true);
        d->BAplicarClick();
    }
    EXPECT_EQ(Valor(TWFiltrosNormas::kSeleccionado), 3);
    EXPECT_EQ(Valor(TWFiltrosNormas::kResaltar), 1);
    EXPECT_EQ(Valor(TWFiltrosNormas::kMalos), 0);
}

TEST_F(FiltrosNormas, BatchRunCancels) {
    auto d = Abrir();
    EXPECT_EQ(host::BatchMode::dialogResult(*d), QDialog::Rejected);
    EXPECT_EQ(host::BatchMode::dialogResult(*d->ColorDialog1), QDialog::Rejected);
}
