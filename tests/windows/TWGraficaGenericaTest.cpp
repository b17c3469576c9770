#include "GraficaPrueba.h"

#include "ChartProperties.h"
#include "HostDirectory.h"
#include "SettingsStore.h"
#include "TGrafica.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>

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

TEST_F(VentanaGenerica, NavigationButtonsAndFastStepsStopAtTheEdgesAndTheStepHasThreeDigits) {
    ventana->PonerIntervalos(3, 0);
    for (const char* paso : {"Previous", "Next", "Next", "Next", "Previous"}) // beyond the ends: nothing
        Disparar(paso);
    EXPECT_EQ(ventana->mostrados, (std::vector<int>{1, 2, 1}));

    // Fast steps are clamped to the first and last interval.
    ventana->PonerIntervalos(100, 95);
    Disparar("NextPlus");
    EXPECT_EQ(ventana->mostrados.back(), 99);
    ventana->PonerIntervalos(100, 3);
    Disparar("PreviousPlus");
    EXPECT_EQ(ventana->mostrados.back(), 0);
    ventana->PonerIntervalos(100, 50);
    Disparar("PreviousPlus");
    EXPECT_EQ(ventana->mostrados.back(), 40);

    // Last and first interval; at an end they do nothing.
    Disparar("LastInterval");
    EXPECT_EQ(ventana->mostrados.back(), 99);
    const size_t pasos = ventana->mostrados.size();
    Disparar("LastInterval");
    EXPECT_EQ(ventana->mostrados.size(), pasos);
    Disparar("FirstInterval");
    EXPECT_EQ(ventana->mostrados.back(), 0);

    // The large step takes up to three digits.
    ventana->PonerPasos("25");
    EXPECT_EQ(ventana->DamePasos(), 25);
    for (const char* malo : {"1234", "1a", "-5", " 7"}) {
        ventana->PonerPasos(malo);
        EXPECT_EQ(ventana->DamePasos(), 25) << malo;
    }
    ventana->PonerPasos("");
    EXPECT_EQ(ventana->DamePasos(), 0);
}

TEST_F(VentanaGenerica, GroupButtonsGoThroughTheDriver) {
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
    Zoom(10, 20, 1, 2);
    Zoom(12, 15, 1.5, 1.8);
    EXPECT_EQ(ventana->DameHistorialZoom().Cuenta(), 2);
    Disparar("ZoomOutParcial");
    EXPECT_EQ(Extremos(), (std::array<double, 4>{10, 20, 1, 2}));
    EXPECT_EQ(ventana->DameHistorialZoom().Cuenta(), 1);
    Disparar("zoomoutparcial1");
    EXPECT_EQ(falsa.nget(grafica, PEP_ZOOMED), 0);
    EXPECT_TRUE(ventana->DameHistorialZoom().Vacio());

    Zoom(1, 2, 3, 4);
    Disparar("ZoomOut");
    EXPECT_EQ(falsa.nget(grafica, PEP_ZOOMED), 0);
    EXPECT_TRUE(ventana->DameHistorialZoom().Vacio());

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

TEST_F(VentanaGenerica, ExportToBmpAddsTheExtensionAndAsksBeforeReplacing) {
    const QString base = Fichero(QStringLiteral("grafica"));
    Aceptar(base);
    Disparar("ExportBMP");
    const QString bmp = base + ".BMP";
    QImage leida;
    ASSERT_TRUE(leida.load(bmp, "BMP"));
    EXPECT_EQ(leida.size(), grafica->size());
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    // A name with an extension is written in the format it names.
    for (const auto& [nombre, inicio] : {std::pair{"grafica.png", "\x89PNG"}, {"grafica.svg", "<?xml"}}) {
        Aceptar(Fichero(QString::fromLatin1(nombre)));
        Disparar("ExportBMP");
        QFile f(Fichero(QString::fromLatin1(nombre)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nombre;
        EXPECT_TRUE(f.readAll().startsWith(inicio)) << nombre;
    }

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

    const QString cancelado = Fichero(QStringLiteral("nunca"));
    Disparar("ExportBMP"); // no handler: the dialog is cancelled
    EXPECT_FALSE(QFile::exists(cancelado + ".BMP"));
}

TEST_F(VentanaGenerica, PrintsToAnInjectedPrinterWithTheCursorMark) {
    const QString pdf = Fichero(QStringLiteral("grafica.pdf"));
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(pdf);
    ventana->PonerImpresora(&impresora);
    falsa.nset(grafica, PEP_CURSORMODE, 2);
    testsupport::Dialogs::handleNext([](QDialog&) { return static_cast<int>(QDialog::Accepted); });
    Disparar("imprimir1");
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

} // namespace
