#include "GraficaPrueba.h"

#include "HostDirectory.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "TGrafica.h"
#include "TestEnvironment.h"
#include "VTXExcepcion.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A source driver whose pages may list open recordings (category 4).
class FuenteFalsa : public DrivFlex {
public:
    FuenteFalsa(int categoria, int propiedades) {
        auto* pagina = new Tabla;
        pagina->EntrarPagina("Files", propiedades, categoria, true);
        AddTabla(pagina);
    }
};

class Fabricas : public testing::Test {
protected:
    void SetUp() override {
        host::HostDirectory::setModuleDirectory(QStringLiteral(MODULOS_PRUEBA));
        viewer = host::loadModule(QStringLiteral("ViewerSetup.vlk"));
        ASSERT_NE(viewer, nullptr);
        preparar = reinterpret_cast<void (*)()>(host::resolveEntry(viewer.get(), "FalsoViewerPreparar"));
        registro =
            reinterpret_cast<const char* (*)()>(host::resolveEntry(viewer.get(), "FalsoViewerRegistro"));
        preparar();
        servidor.PonerVentanaPrincipal(&principal);
    }

    QWidget principal;
    ServidorMonitores servidor;
    std::unique_ptr<QLibrary> viewer;
    void (*preparar)() = nullptr;
    const char* (*registro)() = nullptr;
};

TEST_F(Fabricas, ViewerSetupMissingRaisesCode11WithItsMessageAndContext) {
    QTemporaryDir vacia;
    host::HostDirectory::setModuleDirectory(vacia.path());
    FuenteFalsa fuente(4, 1);
    try {
        TGrafica driver(&servidor, &fuente);
        FAIL() << "no exception";
    } catch (const VTXExcepcion& e) {
        EXPECT_EQ(e.Codigo(), 11);
        EXPECT_EQ(e.Mensaje(), "Imposible configure: It fails ViewerSetup.dll");
        EXPECT_EQ(e.Contexto(), "LanzarViewerVARM(TVM*,DF*,SM*)");
    }
}

// A source with nothing to show warns and gives an empty driver; one with files drives the
// graph selector by 402, Iniciar, 400 and releases it.
TEST_F(Fabricas, SourceDecidesBetweenAWarningAndTheGraphSelector) {
    for (const auto& [categoria, propiedades] : {std::pair{3, 2}, std::pair{4, 0}}) {
        FuenteFalsa fuente(categoria, propiedades);
        testsupport::Messages::clear();
        TGrafica driver(&servidor, &fuente);
        ASSERT_EQ(testsupport::Messages::shown().size(), 1u);
        EXPECT_EQ(testsupport::Messages::shown()[0].text, "There are not open elements to show");
        EXPECT_EQ(driver.NumDriversVentana(), 0);
        EXPECT_NE(driver.DameServicio(800), nullptr);
        EXPECT_STREQ(registro(), ""); // the dialog never ran
    }
    testsupport::Messages::clear();
    TGrafica sinFuente(&servidor, static_cast<DrivFlex*>(nullptr));
    EXPECT_EQ(testsupport::Messages::count("There are not open elements to show"), 1);

    testsupport::Messages::clear();
    FuenteFalsa fuente(4, 1);
    const int vivos = ObjGen::ObjetosVivos();
    TGrafica driver(&servidor, &fuente);
    EXPECT_STREQ(registro(), "modo -3 con ventana;402:Graph Selector;Iniciar;400;destruido;");
    EXPECT_EQ(driver.NumDriversVentana(), 0); // cancelled: nothing chosen
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ(ObjGen::ObjetosVivos(), vivos + 1); // only the driver itself
    EXPECT_EQ(driver.Fuente(), &fuente);
}

TEST_F(Fabricas, ModuleExportsTheThreeFactories) {
    std::unique_ptr<QLibrary> plotcore = host::loadModule(QStringLiteral(MODULO_PLOTCORE));
    ASSERT_NE(plotcore, nullptr);
    auto f0 = reinterpret_cast<DameObjetoFn>(host::resolveEntry(plotcore.get(), "_DameObjeto"));
    auto f1 = reinterpret_cast<DameObjeto1Fn>(host::resolveEntry(plotcore.get(), "_DameObjeto1"));
    ASSERT_TRUE(f0 && f1 && host::resolveEntry(plotcore.get(), "_DameObjeto2"));

    TValorMultiple seleccion;
    DrivFlex* d1 = f1(12345, &servidor, &seleccion);
    ASSERT_NE(d1, nullptr);
    EXPECT_NE(d1->DameServicio(800), nullptr);
    EXPECT_EQ(d1->DameServicio(1234), nullptr); // only window drivers hear of closing windows
    delete d1;
}

} // namespace
