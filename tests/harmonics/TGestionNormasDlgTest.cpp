#include "TGestionNormasDlg.h"

#include "ApoyoNormas.h"
#include "TTFiltroIn.h"
#include "TWFiltrosNormas.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QByteArray kEn50160 = "EN 50160 LV/MV";

// The list dialog as Execute hands it to the test: select a row, then act.
void AlAbrirLista(std::function<int(TWFiltrosNormas&)> accion) {
    testsupport::Dialogs::handleNext(
        [accion](QDialog& dlg) { return accion(dynamic_cast<TWFiltrosNormas&>(dlg)); });
}

int Aplicar(TWFiltrosNormas& d, int fila) {
    d.ListaNormas->setCurrentCell(fila, 0);
    d.BAplicarClick();
    return d.result();
}

class GestionNormas : public ::testing::Test {
protected:
    void SetUp() override {
        apoyo::CopiarIncluidas();
        // The harmonics graph's settings.
        m_normas.SetFicheroNormas(apoyo::Fichero());
        m_normas.SetHayVerSoloMalos(true);
        m_normas.SetHayResaltarMalos(true);
    }
    TGestionNormasDlg m_normas;
};

} // namespace

TEST_F(GestionNormas, StartsWithoutAFilter) {
    EXPECT_EQ(m_normas.GetTHDVn(), -1.0);
    EXPECT_EQ(m_normas.GetNFiltrosVn(), 0);
    EXPECT_EQ(m_normas.GetFiltroVn(0), -1.0);
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), QString());
    EXPECT_EQ(m_normas.GetColorMalos(), 0);
    EXPECT_EQ(m_normas.property("ficheroNormas").toString(), apoyo::Fichero());
}

TEST_F(GestionNormas, AppliedFilterIsCopiedIntoTheComponent) {
    AlAbrirLista([](TWFiltrosNormas& d) {
        d.CHKResaltarMalos->setChecked(true);
        return Aplicar(d, 2);
    });
    ASSERT_TRUE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), QStringLiteral("IEEE 519-2014 V<=1kV, Isc/IL<20"));
    EXPECT_EQ(m_normas.GetFiltroSeleccionado(), 2);
    EXPECT_TRUE(m_normas.GetResaltarMalos());
    EXPECT_FALSE(m_normas.GetVerSoloMalos());
    EXPECT_EQ(m_normas.GetTHDVn(), 8.0);
    EXPECT_EQ(m_normas.GetTHDIn(), 5.0);
    EXPECT_EQ(m_normas.GetNFiltrosVn(), 49);
    EXPECT_EQ(m_normas.GetNFiltrosIn(), 49);
    EXPECT_EQ(m_normas.GetFiltroIn(0), 1.0);
    EXPECT_EQ(m_normas.GetFiltroIn(1), 4.0);
    EXPECT_EQ(m_normas.GetFiltroIn(48), 0.075);
    EXPECT_EQ(m_normas.GetFiltroIn(49), -1.0);
    EXPECT_EQ(m_normas.GetFiltroIn(-1), -1.0);
    const juicio::RegistroLimites r = m_normas.Limites(juicio::Tipo::Corriente);
    EXPECT_EQ(r.Numero(), 49);
    EXPECT_TRUE(r.resaltar);
    EXPECT_EQ(r.thd, 5.0);
}

TEST_F(GestionNormas, TheComponentsValuesOverrideTheSettings) {
    m_normas.SetVerSoloMalos(true);
    m_normas.SetColorMalos(0x0000FF);
    m_normas.SetFiltroSeleccionado(1);
    AlAbrirLista([](TWFiltrosNormas& d) {
        EXPECT_TRUE(d.CHKRegistrosBuenos->isChecked());
        EXPECT_EQ(d.ColorPanel(), 0x0000FF);
        EXPECT_EQ(d.ListaNormas->currentRow(), 1);
        EXPECT_EQ(d.NumFilas(), 3);
        return Aplicar(d, d.ListaNormas->currentRow());
    });
    ASSERT_TRUE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), QString::fromLatin1(kEn50160));
    EXPECT_EQ(m_normas.GetNFiltrosVn(), 24);
    EXPECT_EQ(m_normas.GetNFiltrosIn(), 0);
    EXPECT_EQ(m_normas.GetTHDIn(), 101.0);
    EXPECT_EQ(m_normas.GetColorMalos(), 0x0000FF);
}

TEST_F(GestionNormas, ApplyingNoneLeavesNoLimits) {
    AlAbrirLista([](TWFiltrosNormas& d) { return Aplicar(d, 1); });
    ASSERT_TRUE(m_normas.Execute());
    ASSERT_EQ(m_normas.GetNFiltrosVn(), 24);
    AlAbrirLista([](TWFiltrosNormas& d) { return Aplicar(d, 0); });
    EXPECT_TRUE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), QString());
    EXPECT_EQ(m_normas.GetNFiltrosVn(), 0);
    EXPECT_EQ(m_normas.GetNFiltrosIn(), 0);
    EXPECT_EQ(m_normas.GetTHDVn(), -1.0);
}

TEST_F(GestionNormas, CancelReturnsFalseAndTakesTheDialogsLastLoad) {
    AlAbrirLista([](TWFiltrosNormas& d) { return Aplicar(d, 1); });
    ASSERT_TRUE(m_normas.Execute());
    // Cancelled at once: nothing was loaded while this dialog was open.
    AlAbrirLista([](TWFiltrosNormas& d) {
        d.BCancelarClick();
        return d.result();
    });
    EXPECT_FALSE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetNFiltrosVn(), 0);
    EXPECT_EQ(m_normas.GetFiltroSeleccionado(), 1);
}

TEST_F(GestionNormas, BadFilterThenCancelKeepsNothingApplicable) {
    apoyo::Escribir("Rota\r\n1,8,1,2,x\r\n1,5,\r\n");
    AlAbrirLista([](TWFiltrosNormas& d) {
        EXPECT_NE(Aplicar(d, 1), QDialog::Accepted);
        d.BCancelarClick();
        return d.result();
    });
    EXPECT_FALSE(m_normas.Execute());
    EXPECT_EQ(apoyo::UnicoError(), QStringLiteral("Bad filter"));
    EXPECT_EQ(m_normas.GetTHDVn(), -1.0);
    EXPECT_EQ(m_normas.GetFiltroSeleccionado(), 0);
}

TEST_F(GestionNormas, ThdWindowOffersNoViewOnlyBadRegisters) {
    m_normas.SetHayVerSoloMalos(false);
    AlAbrirLista([](TWFiltrosNormas& d) {
        d.show();
        EXPECT_FALSE(d.CHKRegistrosBuenos->isVisible());
        EXPECT_TRUE(d.CHKResaltarMalos->isVisible());
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(m_normas.Execute());
}

TEST_F(GestionNormas, BatchRunKeepsTheFilterThatWasApplied) {
    ASSERT_TRUE(m_normas.AplicarFiltro(QString::fromLatin1(kEn50160)));
    testsupport::Dialogs::handleNext([](QDialog& d) { return host::BatchMode::dialogResult(d); });
    EXPECT_FALSE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetFiltroSeleccionado(), 1);
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), QString::fromLatin1(kEn50160));
}

TEST_F(GestionNormas, FilterAppliedByNameWithoutADialog) {
    ASSERT_TRUE(m_normas.AplicarFiltro(QStringLiteral("IEEE 519-2014 V<=1kV, Isc/IL<20")));
    EXPECT_EQ(m_normas.GetFiltroSeleccionado(), 2);
    EXPECT_EQ(m_normas.GetNFiltrosIn(), 49);
    EXPECT_FALSE(m_normas.AplicarFiltro(QStringLiteral("Nadie")));
    EXPECT_EQ(m_normas.GetNFiltrosIn(), 49);
    EXPECT_TRUE(m_normas.AplicarFiltro(QString()));
    EXPECT_EQ(m_normas.GetNFiltrosIn(), 0);
    EXPECT_EQ(m_normas.GetFiltroSeleccionado(), 0);
    EXPECT_EQ(testsupport::Dialogs::runs(), 0);
}

// --- how the dialogs look: rendered to PNG for a person to check, and sanity-checked here

namespace {

QImage Pintar(QWidget& w, const char* nombre) {
    w.show();
    QImage imagen = w.grab().toImage();
    const QString carpeta = QStringLiteral(NORMAS_PNG);
    QDir().mkpath(carpeta);
    imagen.save(QDir(carpeta).filePath(QString::fromLatin1(nombre)));
    return imagen;
}

// Rows of the image that differ from its first row: a dialog with visible content has many.
int FilasConContenido(const QImage& imagen) {
    int filas = 0;
    for (int y = 1; y < imagen.height(); ++y) {
        for (int x = 0; x < imagen.width(); ++x) {
            if (imagen.pixel(x, y) != imagen.pixel(x, 0)) {
                ++filas;
                break;
            }
        }
    }
    return filas;
}

} // namespace

TEST_F(GestionNormas, ListWithTheShippedSetsAndAUserFilterRendersAtAnySize) {
    apoyo::Escribir(apoyo::Leer() + "Mi filtro de planta\r\n1,6,3,4,1\r\n1,12,6,8\r\n");
    TWFiltrosNormas d(nullptr);
    d.PonerFicheroNormas(apoyo::Fichero());
    d.PonerOpciones(true, true);
    d.PonerEstado(true, true, 65535, 3);
    d.RellenarSiVacia();
    ASSERT_EQ(d.NumFilas(), 4);
    const QImage normal = Pintar(d, "lista.png");
    EXPECT_GT(FilasConContenido(normal), normal.height() / 2);
    d.resize(d.minimumSizeHint());
    const QImage pequena = Pintar(d, "lista-minima.png");
    // Every control keeps a place inside the dialog at its smallest.
    for (QWidget* w :
         std::initializer_list<QWidget*>{d.ListaNormas, d.BCancelar, d.PanelColor, d.CHKResaltarMalos})
        EXPECT_TRUE(d.rect().contains(w->geometry())) << w->objectName().toStdString();
    d.resize(900, 600);
    Pintar(d, "lista-grande.png");
    EXPECT_GT(d.ListaNormas->height(), 400);
}

TEST_F(GestionNormas, EditorRendersInBothModesAndLocked) {
    {
        TTFiltroIn e(nullptr, apoyo::Fichero(), QLatin1Char('1'), QString(), TTFiltroIn::NUEVO);
        const QImage i = Pintar(e, "editor-nuevo.png");
        EXPECT_GT(FilasConContenido(i), i.height() / 2);
    }
    apoyo::Escribir(apoyo::Leer() + "Mi filtro de planta\r\n1,6,3,4,1\r\n1,12,6,8\r\n"
                                    "Solo lectura\r\n2,5,3,3\r\n2,8,2\r\n");
    {
        TTFiltroIn e(nullptr, apoyo::Fichero(), QLatin1Char('1'), QStringLiteral("Mi filtro de planta"),
                     TTFiltroIn::MODIFICAR);
        Pintar(e, "editor-modificar.png");
        EXPECT_EQ(TTFiltroIn::Celda(e.StringGrid2, 2), QStringLiteral("8"));
    }
    {
        TTFiltroIn e(nullptr, apoyo::Fichero(), QLatin1Char('2'), QStringLiteral("Solo lectura"),
                     TTFiltroIn::MODIFICAR);
        Pintar(e, "editor-bloqueado.png");
        EXPECT_FALSE(e.ETHDVn->isEnabled());
        e.resize(e.minimumSizeHint());
        Pintar(e, "editor-minimo.png");
        EXPECT_TRUE(e.rect().contains(e.BCancelar->geometry()));
    }
}
