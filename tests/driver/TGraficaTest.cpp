#include "GraficaPrueba.h"
#include "ObjGen.h"

#include "ChartProperties.h"
#include "HostDirectory.h"
#include "SettingsStore.h"
#include "TGrafica.h"
#include "TablasColores.h"
#include "TestEnvironment.h"
#include "VTXExcepcion.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DriverVentana : public testing::Test {
protected:
    void SetUp() override {
        host::HostDirectory::setModuleDirectory(QStringLiteral(MODULOS_PRUEBA));
        prueba::UsarGraficaPrueba();
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (dynamic_cast<TWGraficaGenerica*>(w) != nullptr)
                w->close();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FabricaVentanas::Restablecer();
    }

    TGrafica* Abrir(int tipo, int series, ObjGen* datos = nullptr, int nivel = -1) {
        ListasAtributos listas = prueba::Listas(tipo, series, datos, nivel);
        auto* driver = new TGrafica(&servidor, listas, nullptr);
        ventana = static_cast<TWGraficaPrueba*>(driver->Ventana());
        if (ventana != nullptr) {
            falsa = prueba::LibreriaFalsa(ventana->DameLibreria());
            grafica = ventana->DameGrafica();
        }
        return driver;
    }

    int Valor(TGrafica* d, int pagina, int propiedad) {
        int v = -99;
        d->GetPropertyValue(pagina, propiedad, &v);
        return v;
    }

    std::string Texto(TGrafica* d, int pagina, int propiedad) {
        char buffer[DrivFlex::kTextoPropiedad];
        std::memset(buffer, 'x', sizeof buffer);
        d->GetPropertyText(pagina, propiedad, buffer);
        return buffer;
    }

    ServidorMonitores servidor;
    TWGraficaPrueba* ventana = nullptr;
    prueba::Falsa falsa;
    HPE grafica = nullptr;
};

TEST_F(DriverVentana, GroupByModeComesFromTheSavedViewOrIsUnavailableAnd102IsKeptOnRestore) {
    EXPECT_EQ(Valor(Abrir(0, 1, nullptr, 9), 0, 3), 4); // a saved level outside the options
    TGrafica* armonicos = Abrir(3, 1);
    EXPECT_EQ(Valor(armonicos, 0, 3), -1);
    EXPECT_EQ(armonicos->GetPropertyOptionsNumber(0, 3), 0);
    armonicos->SetPropertyValue(0, 3, 102);
    EXPECT_EQ(armonicos->DameAgrupar(), -1);
    EXPECT_EQ(Abrir(2, 1)->DameLeyenda(), 1);

    // 102 sets the mode and the saved value, so a restore keeps it.
    TGrafica* d = Abrir(0, 1);
    d->SetPropertyValue(0, 3, 102);
    EXPECT_EQ(d->DameAgrupar(), 2);
    EXPECT_EQ(d->Guardadas().agrupar, 2);
    EXPECT_EQ(ventana->niveles, std::vector<int>{2});
    d->SetPropertyValue(0, 3, 3);
    EXPECT_EQ(d->Guardadas().agrupar, 2);
    Valor(d, -1, 1);
    EXPECT_EQ(d->DameAgrupar(), 2);
    EXPECT_EQ(ventana->niveles, (std::vector<int>{2, 3, 2}));
    d->SetPropertyValue(0, 3, 106); // no level 6
    EXPECT_EQ(d->DameAgrupar(), 2);
}

TEST_F(DriverVentana, TextsAreCutToTheirLimitsAndTheLargeStepMustSuitTheWindow) {
    TGrafica* d = Abrir(0, 2);
    const std::string largo(300, 's');
    for (auto [propiedad, limite] : {std::pair{0, 255}, std::pair{1, 99}, std::pair{2, 46}}) {
        d->SetPropertyText(0, propiedad, largo.c_str());
        EXPECT_EQ(Texto(d, 0, propiedad), std::string(static_cast<size_t>(limite), 's')) << propiedad;
    }
    EXPECT_EQ(falsa.Texto(grafica, PEP_MAINTITLE), std::string(46, 's'));
    d->SetPropertyText(0, 2, nullptr);
    EXPECT_EQ(falsa.Texto(grafica, PEP_MAINTITLE), "");
    d->SetPropertyText(0, 4, "25");
    d->SetPropertyText(0, 4, "12345678901234567890"); // cut to 15, then refused by the window
    EXPECT_EQ(d->Actuales().pasoGrande.size(), 15u);
    EXPECT_EQ(ventana->DamePasos(), 25);
    EXPECT_EQ(Texto(d, 0, 3), ""); // group-by is not a text
}

TEST_F(DriverVentana, PageMinusOneSavesAndRestoresRedrawingOnlyOnChange) {
    TGrafica* d = Abrir(0, 2);
    EXPECT_EQ(Valor(d, -1, 0), 1);
    int antes = falsa.Reinicios();
    EXPECT_EQ(Valor(d, -1, 1), 1); // nothing changed
    EXPECT_EQ(falsa.Reinicios(), antes);

    d->SetPropertyValue(1, 3, 1); // desk red
    d->SetPropertyValue(3, 0, 4); // series 1 dotted
    EXPECT_EQ(falsa.nget(grafica, PEP_DESKCOLOR), static_cast<int>(ColorFondo(1)));
    antes = falsa.Reinicios();
    EXPECT_EQ(Texto(d, -1, 1), ""); // the text reader restores too
    EXPECT_EQ(falsa.Reinicios(), antes + 1);
    EXPECT_EQ(d->DameColorEscritorio(), 7);
    EXPECT_EQ(d->DameTipoLinea(0), 0);
    EXPECT_EQ(falsa.nget(grafica, PEP_DESKCOLOR), static_cast<int>(ColorFondo(7)));
    EXPECT_EQ(falsa.Enteros(grafica, PEP_LINETYPES)[0], 0);

    // Cancelling an edited large step puts back the window's step.
    EXPECT_EQ(Valor(d, -1, 0), 1);
    d->SetPropertyText(0, 4, "25");
    EXPECT_EQ(ventana->DamePasos(), 25);
    EXPECT_EQ(Valor(d, -1, 1), 1);
    EXPECT_EQ(ventana->DamePasos(), 10);
    EXPECT_EQ(host::SettingsKey::openOrCreate()->readInt(QStringLiteral("PASOS")), 10);
}

TEST_F(DriverVentana, OutOfRangePagesAndPropertiesYieldMinusOneAndChangeNothing) {
    TGrafica* d = Abrir(0, 2);
    EXPECT_EQ(Valor(d, 4, 0), -1);
    EXPECT_EQ(Valor(d, 1, 9), -1);
    EXPECT_EQ(Valor(d, 2, 2), -1); // two series only
    EXPECT_EQ(Texto(d, 7, 0), "");
    const TGrafica::Propiedades antes = d->Actuales();
    d->SetPropertyValue(5, 0, 1);
    d->SetPropertyValue(2, 2, 1);
    d->SetPropertyValue(1, 3, 17); // outside the 17 colours
    d->SetPropertyValue(3, 1, 7);  // outside the 7 line types
    d->SetPropertyText(1, 0, "x");
    EXPECT_TRUE(d->Actuales() == antes);
}

TEST_F(DriverVentana, PlottingTypeCursorAndLegendReachTheChart) {
    TGrafica* d = Abrir(0, 2);
    ventana->ejes = 3;
    d->SetPropertyValue(1, 0, 3); // bars
    EXPECT_EQ(falsa.nget(grafica, PEP_PLOTMETHOD), 1);
    int ejes[8] = {};
    const int n = falsa.historial(grafica, PEP_WORKINGAXIS, ejes, 8);
    ASSERT_GE(n, 3);
    EXPECT_EQ(ejes[n - 3], 2);
    EXPECT_EQ(ejes[n - 1], 0); // last axis first, first axis last
    d->SetPropertyValue(1, 1, 3);
    EXPECT_EQ(falsa.nget(grafica, PEP_CURSORMODE), 0);
    d->SetPropertyValue(1, 2, 1);
    EXPECT_EQ(falsa.Enteros(grafica, PEP_LABELSUBSETS), (std::vector<std::int32_t>{-1, -1}));
    d->SetPropertyValue(1, 2, 0);
    EXPECT_TRUE(falsa.Enteros(grafica, PEP_LABELSUBSETS).empty());
    // Series colours come from the table without dark grey, and are kept.
    d->SetPropertyValue(2, 1, 4);
    EXPECT_EQ(falsa.Enteros(grafica, PEP_SUBSETCOLORS)[1], static_cast<std::int32_t>(ColorSerie(4)));
    EXPECT_EQ(host::SettingsKey::openOrCreate()->readInt(QStringLiteral("Color2")), 4);
}

TEST_F(DriverVentana, MissingChartLibraryRaisesCode11AndLeavesNoWindow) {
    QTemporaryDir vacia;
    host::HostDirectory::setModuleDirectory(vacia.path());
    ListasAtributos listas = prueba::Listas(0, 1);
    try {
        TGrafica driver(&servidor, listas, nullptr);
        FAIL() << "no exception";
    } catch (const VTXExcepcion& e) {
        EXPECT_EQ(e.Codigo(), 11);
        EXPECT_EQ(e.Mensaje(), "Imposible making a graphic: It fails Pegrap32.dll");
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<TWGraficaGenerica*>(w), nullptr);
}

TEST_F(DriverVentana, ClosingTheWindowDestroysTheDriverUnlessTheWindowTookItAndReleasesDataReferences) {
    DrivFlex datos;
    TGrafica* d = Abrir(0, 2, &datos);
    EXPECT_EQ(datos.Referencias(), 2); // one reference however many rows name it
    const std::int32_t manejador = d->Manejador();
    ASSERT_NE(d->DameServicio(1234), nullptr); // how it hears of its window closing
    TWGraficaPrueba::liberadas = 0;
    ventana->close();
    EXPECT_EQ(servidor.Destruidos(), 1);
    EXPECT_EQ(ObjGen::DesdeManejador(manejador), nullptr);
    EXPECT_EQ(datos.Referencias(), 1);
    EXPECT_EQ(TWGraficaPrueba::liberadas, 1);

    // A driver the window took for itself outlives the close notice.
    TGrafica* tomado = Abrir(0, 1);
    EXPECT_EQ(ventana->DameDriver(), tomado);
    ventana->close();
    EXPECT_EQ(servidor.Destruidos(), 1);
    EXPECT_EQ(tomado->Referencias(), 1);
    delete tomado;
}

TEST_F(DriverVentana, SelectionDriverListsItsWindowDriversInCreationOrder) {
    TValorMultiple vacia;
    TGrafica seleccion(&servidor, &vacia);
    ListasAtributos primera = prueba::Listas(0, 1);
    ListasAtributos segunda = prueba::Listas(5, 6);
    ListasAtributos sinClase = prueba::Listas(7, 1);
    TGrafica* a = seleccion.CrearDriverVentana(primera);
    TGrafica* b = seleccion.CrearDriverVentana(segunda);
    const int vivos = ObjGen::ObjetosVivos();
    // A kind without a window class leaves no driver behind.
    EXPECT_EQ(seleccion.CrearDriverVentana(sinClase), nullptr);
    EXPECT_EQ(ObjGen::ObjetosVivos(), vivos);
    ASSERT_EQ(seleccion.NumDriversVentana(), 2);
    EXPECT_EQ(seleccion.DriverVentana(0), a);
    EXPECT_EQ(seleccion.DriverVentana(1), b);
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    a->Ventana()->close();
    EXPECT_EQ(seleccion.DriverVentana(0), nullptr);
    EXPECT_EQ(seleccion.DriverVentana(1), b);
    EXPECT_EQ(seleccion.DriverVentana(3), nullptr);
}

} // namespace
