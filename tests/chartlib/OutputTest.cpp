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
        series(1, {0, 1, 2}, {1, 3, 2});
        pe.ponerEntero(PEP_DESKCOLOR, static_cast<int>(peRGB(0, 0, 200)));
        pe.ponerTexto(PEP_MAINTITLE, "OUTPUT");
        pe.Redibujar();
    }
    QString scratch(const char* name) {
        return QDir(testsupport::scratchDirectory()).filePath(QString::fromLatin1(name));
    }
    int save(const QString& path, int format) {
        return api().PEsavetofile(chart(), path.toUtf8().constData(), format);
    }
    static QByteArray bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ChartOutput, SavesBmpAndPngAtTheChartsSizeAndAFailedSaveLeavesTheOldFileAlone) {
    ASSERT_EQ(save(scratch("chart.bmp"), 0), 1);
    ASSERT_EQ(save(scratch("chart.png"), 1), 1);
    EXPECT_EQ(QImage(scratch("chart.bmp"), "BMP").size(), chart()->size());
    const QImage fromPng(scratch("chart.png"), "PNG");
    EXPECT_EQ(fromPng.size(), chart()->size());
    EXPECT_EQ(fromPng.pixelColor(1, 1), QColor(0, 0, 200));
    EXPECT_TRUE(bytes(scratch("chart.bmp")).startsWith("BM"));

    QFile old(scratch("keep.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    EXPECT_EQ(save(old.fileName(), 7), 0) << "unknown format";
    EXPECT_EQ(save(scratch("missing/dir/x.png"), 1), 0);
    EXPECT_EQ(save(QString(), 1), 0);
    EXPECT_EQ(bytes(old.fileName()), QByteArray("previous"));
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

TEST_F(ChartOutput, PrintsOneLandscapePageAndTheDialogGoesThroughTheDialogService) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(scratch("chart.pdf"));
    ASSERT_EQ(api().PEprintgraph(chart(), &printer, 1), 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const QByteArray content = bytes(scratch("chart.pdf"));
    EXPECT_TRUE(content.startsWith("%PDF"));
    EXPECT_EQ(content.count("/Type /Page\n") + content.count("/Type /Page "), 1);

    testsupport::Dialogs::handleNext([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_EQ(api().PElaunchprintdialog(chart(), 0, m_parent.get()), 0) << "a cancel prints nothing";
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
