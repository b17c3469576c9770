#include "ChartTestFixture.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPicture>

// Images and metafiles of a chart; printed pages are checked by the render job test.

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
