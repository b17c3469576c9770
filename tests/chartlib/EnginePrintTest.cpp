#include "ChartProperties.h"
#include "TWMiGrafica.h"
#include "TestEnvironment.h"
#include "VentanaPrueba.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <qcustomplot.h>

#include <gtest/gtest.h>

// A multigraphic window printed through its own print path on the real charting library, the
// PDF page rendered back to pixels.

namespace {

ListasAtributos dosSeries(ObjGen* datos) {
    ListasAtributos l;
    for (int s = 0; s < 2; ++s) {
        std::vector<double> valores;
        std::vector<TTiempo> tiempos;
        for (int i = 0; i < 120; ++i) {
            valores.push_back(230 + s * 5 + (i % 20));
            TTiempo t(2026, 12, 1, 10, 0, 0, -1);
            t.SumarSegundos(i);
            tiempos.push_back(t);
        }
        l[LV_VALORES].EntrarDoubles(valores);
        l[LV_TIEMPOS].EntrarTiempos(tiempos);
        l[LV_UNIDADES].EntrarTexto("V");
        l[LV_NOMBRES].EntrarTexto(s == 0 ? "V1" : "V2");
        l[LV_OPCIONES].EntrarDoubles({0, 0, 1, 0, 0, 0, 100, 900, 1100, 0, 0, 0, 1000});
        l[LV_INTERVALOS].EntrarTiempos({tiempos.front(), tiempos.back()});
        l[LV_TIEMPOSGENERALES].EntrarTiempos({tiempos.front(), tiempos.back()});
        l[LV_DECIMALES].EntrarEnteros({1});
        l[LV_OBJETOS].EntrarEnteros({1, 1, datos->Manejador()});
    }
    return l;
}

// The page of a one-page PDF as an image, through poppler's renderer.
QImage renderPage(const QString& pdf) {
    const QString base = pdf + QStringLiteral("-page");
    QProcess process;
    process.start(QStringLiteral("pdftoppm"), {"-r", "40", "-png", "-singlefile", pdf, base});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QImage();
    return QImage(base + QStringLiteral(".png"));
}

class EnginePrint : public testsupport::VentanaPrueba {
protected:
    void SetUp() override {
        VentanaPrueba::SetUp();
        ventana = abrir<TWMiGrafica>(dosSeries(datos));
    }
    // A PDF printer writing to a file of the scratch folder.
    static QString pdfPrinter(QPrinter& impresora, const char* name) {
        const QString pdf = QDir(testsupport::scratchDirectory()).filePath(QString::fromLatin1(name));
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(pdf);
        return pdf;
    }
    static void acceptNext() {
        testsupport::Dialogs::handleNext([](QDialog&) { return static_cast<int>(QDialog::Accepted); });
    }
    TWMiGrafica* ventana = nullptr;
};

TEST_F(EnginePrint, ThePageShowsTheChartInsideItsMarginsAndTheScreenLosesThePrintMark) {
    QPrinter impresora(QPrinter::HighResolution);
    const QString pdf = pdfPrinter(impresora, "ventana.pdf");
    ventana->PonerImpresora(&impresora);
    ASSERT_NE(ent(ventana, PEP_CURSORMODE), 0) << "the print marks the cursor";
    acceptNext();
    ventana->Accion(QStringLiteral("imprimir1"))->trigger();

    const QImage page = renderPage(pdf);
    ASSERT_FALSE(page.isNull()) << "pdftoppm (poppler-utils) must be installed";
    ASSERT_GT(page.width(), page.height()) << "landscape";
    // The box of everything drawn on the page.
    QRect drawn;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y).lightness() < 200)
                drawn |= QRect(x, y, 1, 1);
    ASSERT_FALSE(drawn.isEmpty()) << "a blank page";
    const double w = page.width(), h = page.height();
    // Inside the 8 % margins (a pixel of rounding), and filling most of the 84 % between them.
    EXPECT_GE(drawn.left(), 0.08 * w - 2);
    EXPECT_GE(drawn.top(), 0.08 * h - 2);
    EXPECT_LE(drawn.right(), 0.92 * w + 2);
    EXPECT_LE(drawn.bottom(), 0.92 * h + 2);
    EXPECT_GT(drawn.width(), 0.7 * w);
    EXPECT_GT(drawn.height(), 0.6 * h);

    EXPECT_EQ(ent(ventana, PEP_MARKSIZE), 0);
    auto* plot = qobject_cast<QCustomPlot*>(ventana->DameGrafica());
    ASSERT_NE(plot, nullptr);
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto* tracer = qobject_cast<QCPItemTracer*>(plot->item(i));
        EXPECT_FALSE(tracer != nullptr && tracer->style() == QCPItemTracer::tsCircle)
            << "the print mark is gone";
    }
}

TEST_F(EnginePrint, AnExportedFileIsInTheFormatItsExtensionNames) {
    const QDir dir(testsupport::scratchDirectory());
    const std::pair<const char*, QByteArray> cases[] = {
        {"grafica.png", "\x89PNG"}, {"grafica.svg", "<?xml"}, {"grafica.BMP", "BM"}, {"grafica.bmp", "BM"}};
    for (const auto& [name, start] : cases) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        testsupport::Dialogs::handleNext([&](QDialog& d) {
            auto* dialogo = qobject_cast<QFileDialog*>(&d);
            if (dialogo == nullptr)
                return static_cast<int>(QDialog::Rejected);
            dialogo->selectFile(path);
            return static_cast<int>(QDialog::Accepted);
        });
        ventana->Accion(QStringLiteral("Exportar1"))->trigger();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray content = file.readAll();
        EXPECT_TRUE(content.startsWith(start)) << name;
        if (path.endsWith(QLatin1String(".svg"))) {
            EXPECT_TRUE(content.contains("<svg"));
            EXPECT_TRUE(content.contains("MULTIGRAPHIC")) << "the title stays text";
        }
    }
}

} // namespace
