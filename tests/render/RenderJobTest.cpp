#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Resultado {
    int exitCode = -1;
    QString errors;
};

Resultado kestramon(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The demo is cached beside the test's own files, never in the user's cache.
    env.insert(QStringLiteral("XDG_CACHE_HOME"), testsupport::scratchDirectory() + QStringLiteral("/cache"));
    env.insert(QStringLiteral("KESTRAMON_SETTINGS"),
               testsupport::scratchDirectory() + QStringLiteral("/s.ini"));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kestramon"), arguments);
    p.waitForFinished(240000);
    return Resultado{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                     QString::fromLocal8Bit(p.readAllStandardError())};
}

// Distinct colours in a coarse grid: a blank or flat image has one or two.
int colours(const QImage& image) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            seen.insert(image.pixel(x, y));
    return static_cast<int>(seen.size());
}

TEST(RenderJob, EveryGraphOfTheDemoIsWrittenAsANonBlankImageWithAnIndex) {
    const QString out = testsupport::scratchDirectory() + QStringLiteral("/render");
    QDir(out).removeRecursively();
    const Resultado run = kestramon({QStringLiteral("--render"), out});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    const QStringList images = QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    ASSERT_GE(images.size(), 2);
    EXPECT_TRUE(images.first().startsWith(QStringLiteral("01 - ")));
    EXPECT_TRUE(images.contains(
                    QStringLiteral("%1 - MULTIGRAPHIC.png").arg(images.size(), 2, 10, QLatin1Char('0'))) ||
                images.filter(QStringLiteral("MULTIGRAPHIC")).size() == 1);
    for (const QString& name : images) {
        const QImage image(QDir(out).filePath(name));
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_GE(image.width(), 600);
        EXPECT_GT(colours(image), 8) << name.toStdString();
    }
    QFile index(QDir(out).filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(index.readAll());
    for (const QString& name : images)
        EXPECT_TRUE(html.contains(name.toHtmlEscaped())) << name.toStdString();
}

TEST(RenderJob, ACorruptRecordingFailsCleanlyAndNamesTheFile) {
    const QString bad = testsupport::scratchDirectory() + QStringLiteral("/S0010009.STD");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a recording at all\n");
    f.close();
    const QString out = testsupport::scratchDirectory() + QStringLiteral("/render-bad");
    const Resultado run = kestramon({QStringLiteral("--render"), out, bad});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.exitCode, -1) << "crashed: " << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("S0010009.STD"))) << run.errors.toStdString();
    EXPECT_TRUE(QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files).isEmpty());
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("this is not a recording at all\n"));
}

TEST(RenderJob, AMissingFileIsAnError) {
    const Resultado run =
        kestramon({QStringLiteral("--render"), testsupport::scratchDirectory() + QStringLiteral("/o"),
                   QStringLiteral("/nonexistent/S0010001.STD")});
    EXPECT_GT(run.exitCode, 0);
    EXPECT_FALSE(run.errors.isEmpty());
}

} // namespace
