#include "GraficaPrueba.h"
#include "HistorialZoom.h"

#include "ChartProperties.h"
#include "HostDirectory.h"
#include "SettingsStore.h"
#include "TGrafica.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class VentanaGenerica : public testing::Test {
protected:
    void SetUp() override {
        host::HostDirectory::setModuleDirectory(QStringLiteral(MODULOS_PRUEBA));
        prueba::UsarGraficaPrueba();
        ListasAtributos listas = prueba::Listas(0, 3);
        driver = new TGrafica(&servidor, listas, nullptr);
        ventana = static_cast<TWGraficaPrueba*>(driver->Ventana());
        ASSERT_NE(ventana, nullptr);
        falsa = prueba::LibreriaFalsa(ventana->DameLibreria());
        grafica = ventana->DameGrafica();
        ASSERT_NE(grafica, nullptr);
    }
    void TearDown() override {
        if (ventana)
            ventana->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FabricaVentanas::Restablecer();
    }

    bool Activo(const char* nombre) { return ventana->Accion(QString::fromLatin1(nombre))->isEnabled(); }
    QString Hint(const char* nombre) { return ventana->Accion(QString::fromLatin1(nombre))->toolTip(); }
    void Disparar(const char* nombre) { ventana->Accion(QString::fromLatin1(nombre))->trigger(); }
    void Zoom(double x0, double x1, double y0, double y1) {
        falsa.nset(grafica, PEP_ZOOMED, 1);
        const double v[4] = {x0, x1, y0, y1};
        const int p[4] = {PEP_ZOOMXMIN, PEP_ZOOMXMAX, PEP_ZOOMYMIN, PEP_ZOOMYMAX};
        for (int i = 0; i < 4; ++i)
            falsa.vset(grafica, p[i], &v[i], 1);
        PENotifyEvent aviso(grafica, PEN_ZOOMDONE);
        QApplication::sendEvent(ventana, &aviso);
    }
    std::array<double, 4> Extremos() {
        return {Doble(PEP_ZOOMXMIN), Doble(PEP_ZOOMXMAX), Doble(PEP_ZOOMYMIN), Doble(PEP_ZOOMYMAX)};
    }
    void Aceptar(const QString& fichero) {
        testsupport::Dialogs::handleNext([fichero](QDialog& d) {
            static_cast<QFileDialog&>(d).selectFile(fichero);
            return static_cast<int>(QDialog::Accepted);
        });
    }
    double Doble(int propiedad) {
        double v = 0;
        falsa.vget(grafica, propiedad, &v, 1);
        return v;
    }
    QString Fichero(const QString& nombre) { return QDir(testsupport::scratchDirectory()).filePath(nombre); }

    ServidorMonitores servidor;
    TGrafica* driver = nullptr;
    QPointer<TWGraficaPrueba> ventana;
    prueba::Falsa falsa;
    HPE grafica = nullptr;
};

TEST_F(VentanaGenerica, ToolbarButtonsSeparatorsAndIconsInOrder) {
    QStringList nombres;
    for (QAction* a : ventana->DameBotones()->actions())
        nombres << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    EXPECT_EQ(nombres.join(' '),
              "ExportBMP Portapapeles | Configure | PreviousPlus Previous Next NextPlus | Group "
              "Ungroup | ZoomOut ZoomOutParcial | MegaConfig Lista Exportar");
    for (QAction* a : ventana->DameBotones()->actions()) {
        if (a->isSeparator())
            continue;
        const QImage imagen = a->icon().pixmap(19, 19).toImage();
        ASSERT_FALSE(imagen.isNull()) << a->objectName().toStdString();
        int pintados = 0;
        for (int y = 0; y < imagen.height(); ++y)
            for (int x = 0; x < imagen.width(); ++x)
                pintados += qAlpha(imagen.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(pintados, 20) << a->objectName().toStdString();
        EXPECT_EQ(ventana->DameBotones()->widgetForAction(a)->objectName(), a->objectName());
    }
}

TEST_F(VentanaGenerica, HandlersCallTheirOperations) {
    for (const char* accion :
         {"Configure", "configurar1", "MegaConfig", "megaconfigurar1", "Lista", "ListaPopUp", "Exportar"})
        Disparar(accion);
    EXPECT_EQ(ventana->configurados, 2);
    EXPECT_EQ(ventana->propiedades, 2);
    EXPECT_EQ(ventana->listas, 2);
    EXPECT_EQ(ventana->exportados, 1);
    PENotifyEvent aviso(grafica, PEN_RIGHTCLICK);
    QApplication::sendEvent(ventana, &aviso);
    EXPECT_EQ(ventana->notificaciones, std::vector<int>{PEN_RIGHTCLICK});
}

TEST_F(VentanaGenerica, NavigationButtonsAndFastStepsStopAtTheEdges) {
    EXPECT_FALSE(Activo("Next") || Activo("Previous") || Activo("NextPlus") || Activo("PreviousPlus"));
    ventana->PonerIntervalos(3, 0);
    EXPECT_TRUE(Activo("Next") && Activo("NextPlus"));
    EXPECT_FALSE(Activo("Previous") || Activo("PreviousPlus"));
    Disparar("Next");
    EXPECT_EQ(ventana->mostrados, std::vector<int>{1});
    EXPECT_TRUE(Activo("Next") && Activo("Previous"));
    Disparar("Next");
    EXPECT_FALSE(Activo("Next") || Activo("NextPlus"));
    EXPECT_TRUE(Activo("Previous") && Activo("PreviousPlus"));
    Disparar("Previous");
    EXPECT_EQ(ventana->mostrados, (std::vector<int>{1, 2, 1}));

    // Fast steps are clamped to the first and last interval.
    ventana->PonerIntervalos(100, 95);
    Disparar("NextPlus");
    EXPECT_EQ(ventana->mostrados.back(), 99);
    EXPECT_FALSE(Activo("NextPlus"));
    ventana->PonerIntervalos(100, 3);
    Disparar("PreviousPlus");
    EXPECT_EQ(ventana->mostrados.back(), 0);
    EXPECT_FALSE(Activo("PreviousPlus"));
    ventana->PonerIntervalos(100, 50);
    Disparar("PreviousPlus");
    EXPECT_EQ(ventana->mostrados.back(), 40);

    // Ctrl+End and Ctrl+Home reach the ends; at an end the key does nothing.
    EXPECT_EQ(ventana->Accion(QStringLiteral("LastInterval"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_End));
    Disparar("LastInterval");
    EXPECT_EQ(ventana->mostrados.back(), 99);
    const size_t pasos = ventana->mostrados.size();
    Disparar("LastInterval");
    EXPECT_EQ(ventana->mostrados.size(), pasos);
    Disparar("FirstInterval");
    EXPECT_EQ(ventana->mostrados.back(), 0);
    EXPECT_FALSE(Activo("Previous"));
}

TEST_F(VentanaGenerica, LargeStepAcceptsUpToThreeDigitsAndPersists) {
    ventana->PonerPasos("25");
    EXPECT_EQ(ventana->DamePasos(), 25);
    EXPECT_EQ(Hint("NextPlus"), "Fast go forward (+25)");
    EXPECT_EQ(host::SettingsKey::openOrCreate()->readInt(QStringLiteral("PASOS")), 25);
    for (const char* malo : {"1234", "1a", "-5", " 7"}) {
        ventana->PonerPasos(malo);
        EXPECT_EQ(ventana->DamePasos(), 25) << malo;
    }
    ventana->PonerPasos("");
    EXPECT_EQ(ventana->DamePasos(), 0);
    ventana->PonerPasos("7");
    ListasAtributos listas = prueba::Listas(0, 1);
    TGrafica* otro = new TGrafica(&servidor, listas, nullptr);
    EXPECT_EQ(otro->Ventana()->DamePasos(), 7); // read back from the store
    otro->Ventana()->close();
}

TEST_F(VentanaGenerica, MinimumHeightGrowsWithTheWidth) {
    for (auto [ancho, alto] : {std::pair{100, 150}, {200, 150}, {600, 235}, {1000, 320}, {3000, 320}})
        EXPECT_EQ(TWGraficaGenerica::AlturaMinima(ancho), alto) << ancho;
    for (auto [ancho, alto] : {std::pair{600, 235}, {1200, 320}}) {
        ventana->resize(ancho, 100);
        QApplication::processEvents();
        EXPECT_EQ(ventana->height(), alto);
    }
}

TEST_F(VentanaGenerica, HidingTheToolbarGivesItsHeightToTheChart) {
    const QRect con = grafica->geometry();
    const int barra = ventana->DameBotones()->height();
    ASSERT_GT(barra, 0);
    EXPECT_EQ(con.top(), barra);
    EXPECT_EQ(con.height(), ventana->height() - barra);
    Disparar("VerToolBar");
    EXPECT_FALSE(ventana->Accion("VerToolBar")->isChecked());
    EXPECT_FALSE(ventana->DameBotones()->isVisible());
    EXPECT_EQ(grafica->geometry().top(), 0);
    EXPECT_EQ(grafica->geometry().height(), con.height() + barra);
    EXPECT_EQ(grafica->geometry().width(), ventana->width());
    Disparar("VerToolBar");
    EXPECT_EQ(grafica->geometry(), con);
}

TEST_F(VentanaGenerica, GroupButtonsAndHintsAtEveryLevelAndTheirWayThroughTheDriver) {
    struct Caso {
        int nivel;
        bool agrupar, desagrupar;
        const char* hintAgrupar;
        const char* hintDesagrupar;
    };
    const Caso casos[] = {
        {0, true, true, "Divide by Weeks", "No group"},
        {1, true, true, "Divide by Days", "Group by Months"},
        {2, true, true, "Divide by Hours", "Group by Weeks"},
        {3, false, true, "", "Group by Days"},
        {4, true, false, "Divide by Months", ""},
        {5, true, false, "Divide by Months", ""},
        {-10, false, false, "", ""},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(ventana->ActualizarBotonesAgrupar(c.nivel, c.nivel), c.nivel);
        EXPECT_EQ(Activo("Group"), c.agrupar) << c.nivel;
        EXPECT_EQ(Activo("Ungroup"), c.desagrupar) << c.nivel;
        EXPECT_EQ(Hint("Group"), c.hintAgrupar) << c.nivel;
        EXPECT_EQ(Hint("Ungroup"), c.hintDesagrupar) << c.nivel;
    }
    // The buttons go through the driver.
    ventana->Agrupar(3);
    Disparar("Ungroup"); // hours to days
    EXPECT_EQ(driver->DameAgrupar(), 2);
    EXPECT_EQ(driver->Guardadas().agrupar, 2);
    EXPECT_EQ(ventana->niveles.back(), 2);
    ventana->Agrupar(5);
    Disparar("Group"); // default to months
    EXPECT_EQ(ventana->Nivel(), 0);
    EXPECT_EQ(driver->DameAgrupar(), 0);
}

TEST_F(VentanaGenerica, ZoomHistoryStepsBackOnlyWhileZoomedAndZoomOutForgetsIt) {
    EXPECT_FALSE(Activo("ZoomOut") || Activo("ZoomOutParcial") || Activo("zoomout1"));
    Zoom(10, 20, 1, 2);
    Zoom(12, 15, 1.5, 1.8);
    EXPECT_EQ(ventana->DameHistorialZoom().Cuenta(), 2);
    EXPECT_TRUE(Activo("ZoomOut") && Activo("ZoomOutParcial") && Activo("zoomoutparcial1"));
    Disparar("ZoomOutParcial");
    EXPECT_EQ(Extremos(), (std::array<double, 4>{10, 20, 1, 2}));
    EXPECT_EQ(ventana->DameHistorialZoom().Cuenta(), 1);
    Disparar("zoomoutparcial1");
    EXPECT_EQ(falsa.nget(grafica, PEP_ZOOMED), 0);
    EXPECT_TRUE(ventana->DameHistorialZoom().Vacio());
    EXPECT_FALSE(Activo("ZoomOut") || Activo("ZoomOutParcial"));

    Zoom(1, 2, 3, 4);
    Disparar("ZoomOut");
    EXPECT_EQ(falsa.nget(grafica, PEP_ZOOMED), 0);
    EXPECT_TRUE(ventana->DameHistorialZoom().Vacio());
    EXPECT_FALSE(Activo("ZoomOut") || Activo("zoomoutparcial1"));

    // Last zoom does nothing when the chart is not zoomed.
    Zoom(10, 20, 1, 2);
    Zoom(12, 15, 1.5, 1.8);
    falsa.nset(grafica, PEP_ZOOMED, 0);
    const int antes = falsa.Reinicios();
    Disparar("ZoomOutParcial");
    EXPECT_EQ(ventana->DameHistorialZoom().Cuenta(), 2);
    EXPECT_EQ(falsa.Reinicios(), antes);
    EXPECT_EQ(Doble(PEP_ZOOMXMIN), 12);
    // A zoom notice while unzoomed records nothing.
    PENotifyEvent aviso(grafica, PEN_ZOOMDONE);
    QApplication::sendEvent(ventana, &aviso);
    EXPECT_EQ(ventana->DameHistorialZoom().Cuenta(), 2);
}

TEST_F(VentanaGenerica, ExportToBmpAddsTheExtensionAndAsksBeforeReplacingAndCopyGoesToTheClipboard) {
    const QString base = Fichero(QStringLiteral("grafica"));
    Aceptar(base);
    Disparar("ExportBMP");
    const QString bmp = base + ".BMP";
    QImage leida;
    ASSERT_TRUE(leida.load(bmp, "BMP"));
    EXPECT_EQ(leida.size(), grafica->size());
    EXPECT_TRUE(testsupport::Messages::shown().empty());

    QFile viejo(bmp);
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly) && viejo.write("user data") == 9);
    viejo.close();
    for (host::MessageAnswer respuesta : {host::MessageAnswer::No, host::MessageAnswer::Yes}) {
        Aceptar(bmp);
        testsupport::Messages::answerNext(respuesta);
        Disparar("Exportar1");
        QFile f(bmp);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray contenido = f.readAll();
        if (respuesta == host::MessageAnswer::No)
            EXPECT_EQ(contenido, "user data");
        else
            EXPECT_TRUE(contenido.startsWith("BM"));
    }
    EXPECT_EQ(testsupport::Messages::count("File already exists\nDo tou want to replace it?"), 2);
    EXPECT_EQ(testsupport::Messages::shown().back().buttons, host::MessageButtons::YesNo);
    EXPECT_EQ(testsupport::Messages::shown().back().title, "Warning");

    const QString cancelado = Fichero(QStringLiteral("nunca"));
    Disparar("ExportBMP"); // no handler: the dialog is cancelled
    EXPECT_FALSE(QFile::exists(cancelado + ".BMP"));

    QApplication::clipboard()->clear();
    Disparar("Portapapeles");
    EXPECT_EQ(QApplication::clipboard()->image().size(), grafica->size());
}

TEST_F(VentanaGenerica, PrintsLandscapeToAnInjectedPrinterWithTheCursorMark) {
    const QString pdf = Fichero(QStringLiteral("grafica.pdf"));
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(pdf);
    ventana->PonerImpresora(&impresora);
    falsa.nset(grafica, PEP_CURSORMODE, 2);
    testsupport::Dialogs::handleNext([](QDialog&) { return static_cast<int>(QDialog::Accepted); });
    Disparar("imprimir1");
    EXPECT_EQ(impresora.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_GT(QFile(pdf).size(), 500);
    int marcas[4] = {};
    ASSERT_EQ(falsa.historial(grafica, PEP_MARKSIZE, marcas, 4), 2);
    EXPECT_EQ(marcas[0], 25);
    EXPECT_EQ(marcas[1], 0);

    QFile::remove(pdf);
    Disparar("imprimir1"); // print dialog cancelled
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(VentanaGenerica, WithoutAPrinterThePrintGoesToAPdfFileTheUserNames) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    const QString pdf = Fichero(QStringLiteral("sin-impresora.pdf"));
    testsupport::Dialogs::chooseFile(pdf);
    Disparar("imprimir1");
    EXPECT_EQ(testsupport::Dialogs::runs(), 1);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(4) == "%PDF");
    f.close();

    // Cancelled: nothing is written and an existing file stays as it was.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("user data");
    f.close();
    Disparar("imprimir1");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "user data");
}

TEST_F(VentanaGenerica, SerialDatesAddMillisecondsAndWidenTheRange) {
    TTiempo primera = TTiempo::Maximo();
    TTiempo ultima = TTiempo::Minimo();
    EXPECT_DOUBLE_EQ(ventana->FechaSerie(TTiempo(1900, 1, 1, 12, 0, 0, -1), &primera, &ultima), 2.5);
    EXPECT_DOUBLE_EQ(ventana->FechaSerie(TTiempo(1900, 1, 1, 0, 0, 0, 500)), 2.0 + 500 / 86400000.0);
    EXPECT_EQ(primera, TTiempo(1900, 1, 1, 12, 0, 0, -1));
    EXPECT_EQ(ultima, primera);
}

TEST_F(VentanaGenerica, ClosingDeletesHarmonicsKeysAndFreesTheChart) {
    host::SettingsKey thd = *host::SettingsKey::openOrCreate(QStringLiteral("THD"));
    thd.writeInt(QStringLiteral("NORMA"), 3);
    thd.sync();
    const int destruidas = falsa.contador(3);
    ventana->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ventana.isNull());
    EXPECT_EQ(falsa.contador(3), destruidas + 1);
    EXPECT_FALSE(host::SettingsKey::openOrCreate()->contains(QStringLiteral("THD/NORMA")));
}

TEST_F(VentanaGenerica, RendersToPng) {
    driver->SetPropertyText(0, 2, "Test graph");
    driver->SetPropertyText(0, 1, "Days (1/3)");
    ventana->PonerIntervalos(3, 1);
    ventana->Agrupar(2);
    const QImage imagen = ventana->grab().toImage();
    const QString destino = qEnvironmentVariable("PLOTCORE_CAPTURAS", testsupport::scratchDirectory());
    ASSERT_TRUE(imagen.save(QDir(destino).filePath(QStringLiteral("ventana-generica.png"))));
    // The toolbar stands above the chart, which paints its white back colour.
    EXPECT_NE(imagen.pixel(imagen.width() - 3, 3), imagen.pixel(imagen.width() / 2, imagen.height() / 2));
    EXPECT_EQ(imagen.pixel(imagen.width() / 2, imagen.height() - 3), qRgb(255, 255, 255));
}

// Popping to an earlier zoom is checked through the window; these are the edges it cannot reach.
TEST(HistorialZoom, PoppingTheLastRecordLeavesTheOutRecordUntouchedAndThereIsNoUpperBound) {
    HistorialZoom h;
    h.ApilarZoom(1, 2, 3, 4);
    RegistroZoom r;
    r.xMin = 42;
    EXPECT_TRUE(h.DesapilarZoom(r));
    EXPECT_EQ(r.xMin, 42);
    EXPECT_TRUE(h.Vacio());
    EXPECT_FALSE(h.DesapilarZoom(r));
    for (int i = 0; i < 40; ++i)
        h.ApilarZoom(i, i, i, i);
    EXPECT_EQ(h.Cuenta(), 40);
    EXPECT_EQ(h.Ultimo().xMax, 39);
    h.LimpiarZoom();
    EXPECT_TRUE(h.Vacio());
}

} // namespace
