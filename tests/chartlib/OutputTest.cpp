#include "ChartTestFixture.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>

// Images, metafiles and printing of a chart.

class ChartOutput : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        pe.ponerEntero(PEP_SUBSETS, 1);
        pe.ponerEntero(PEP_POINTS, 3);
        setDoubles(PEP_XDATA, {0, 1, 2});
        setDoubles(PEP_YDATA, {1, 3, 2});
        pe.ponerEntero(PEP_DESKCOLOR, static_cast<int>(peRGB(0, 0, 200)));
        pe.ponerTexto(PEP_MAINTITLE, "OUTPUT");
        pe.Redibujar();
    }
    QString scratch(const char* name) {
        return QDir(testsupport::scratchDirectory()).filePath(QString::fromLatin1(name));
    }
};

TEST_F(ChartOutput, SavesBmpAndPngAtTheChartsSize) {
    const QString bmp = scratch("chart.bmp");
    const QString png = scratch("chart.png");
    ASSERT_EQ(api().PEsavetofile(chart(), bmp.toUtf8().constData(), 0), 1);
    ASSERT_EQ(api().PEsavetofile(chart(), png.toUtf8().constData(), 1), 1);
    const QImage fromBmp(bmp, "BMP");
    const QImage fromPng(png, "PNG");
    EXPECT_EQ(fromBmp.size(), chart()->size());
    EXPECT_EQ(fromPng.size(), chart()->size());
    EXPECT_EQ(fromPng.pixelColor(1, 1), QColor(0, 0, 200));
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), QByteArray("BM"));
}

TEST_F(ChartOutput, AFailedSaveLeavesTheOldFileAlone) {
    const QString path = scratch("keep.png");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    EXPECT_EQ(api().PEsavetofile(chart(), path.toUtf8().constData(), 7), 0) << "unknown format";
    EXPECT_EQ(api().PEsavetofile(chart(), scratch("missing/dir/x.png").toUtf8().constData(), 1), 0);
    EXPECT_EQ(api().PEsavetofile(chart(), "", 1), 0);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("previous"));
}

TEST_F(ChartOutput, TheMetafilePlaysBackInsideTheRequestedRectangle) {
    const PERect target{100, 50, 500, 350};
    ASSERT_EQ(api().PEresetimageEx(chart(), &target), 1);
    const QPicture* picture = api().PEgetmeta(chart());
    ASSERT_NE(picture, nullptr);
    QImage page(700, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawPicture(0, 0, *picture);
    painter.end();
    EXPECT_EQ(page.pixelColor(105, 55), QColor(0, 0, 200)) << "inside, the desk";
    EXPECT_EQ(page.pixelColor(95, 45), QColor(Qt::white)) << "outside, untouched";
    EXPECT_EQ(page.pixelColor(510, 360), QColor(Qt::white));
    const PERect empty{10, 10, 10, 20};
    EXPECT_EQ(api().PEresetimageEx(chart(), &empty), 0);
}

TEST_F(ChartOutput, PrintsOnePageToAPdfPrinter) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = scratch("chart.pdf");
    printer.setOutputFileName(pdf);
    ASSERT_EQ(api().PEprintgraph(chart(), &printer, 1), 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_TRUE(content.startsWith("%PDF"));
    EXPECT_EQ(content.count("/Type /Page\n") + content.count("/Type /Page "), 1);
}

TEST_F(ChartOutput, ThePrintDialogGoesThroughTheDialogServiceAndACancelPrintsNothing) {
    testsupport::Dialogs::handleNext([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_EQ(api().PElaunchprintdialog(chart(), 0, m_parent.get()), 0);
    EXPECT_EQ(testsupport::Dialogs::runs(), 1);

    const QString pdf = scratch("dialog.pdf");
    testsupport::Dialogs::handleNext([&](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        if (print == nullptr)
            return int(QDialog::Rejected);
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(api().PElaunchprintdialog(chart(), 1, m_parent.get()), 1);
    EXPECT_TRUE(QFile::exists(pdf));
}
