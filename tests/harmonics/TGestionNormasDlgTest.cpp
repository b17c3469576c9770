#include "TGestionNormasDlg.h"

#include "ApoyoNormas.h"
#include "TWFiltrosNormas.h"

#include <QCheckBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

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

} // namespace

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

TEST_F(GestionNormas, FilterAppliedByNameWithoutADialogAndKeptByABatchRun) {
    EXPECT_FALSE(m_normas.AplicarFiltro(QStringLiteral("Nadie")));
    ASSERT_TRUE(m_normas.AplicarFiltro(kEn50160));
    testsupport::Dialogs::handleNext([](QDialog& d) { return host::BatchMode::dialogResult(d); });
    EXPECT_FALSE(m_normas.Execute());
    EXPECT_EQ(m_normas.GetNormaSeleccionada(), kEn50160);
    EXPECT_TRUE(m_normas.AplicarFiltro(QString()));
    EXPECT_EQ(m_normas.GetNFiltrosVn(), 0);
}
