#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

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

TEST(RenderJob, WithPdfEveryGraphIsPrintedThroughItsWindowOnAPageOfItsOwn) {
    const QString out = testsupport::scratchDirectory() + QStringLiteral("/render-pdf");
    QDir(out).removeRecursively();
    const Resultado run = kestramon({QStringLiteral("--render"), out, QStringLiteral("--pdf")});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const qsizetype graphs = QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files).size();
    QFile pdf(QDir(out).filePath(QStringLiteral("graphs.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // One page object per graph.
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
              graphs);
    EXPECT_FALSE(QFile::exists(pdf.fileName() + QStringLiteral(".part")));

    // A page object can be empty: the first page is rendered back with poppler's pdftoppm.
    const QString page = testsupport::scratchDirectory() + QStringLiteral("/render-pdf-page");
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {"-r", "30", "-png", "-f", "1", "-l", "1", "-singlefile", pdf.fileName(), page});
    ASSERT_TRUE(pdftoppm.waitForFinished(60000) && pdftoppm.exitCode() == 0) << "pdftoppm is needed";
    const QImage image(page + QStringLiteral(".png"));
    EXPECT_GT(image.width(), image.height()) << "a landscape page";
    EXPECT_GT(colours(image), 8);
}

TEST(RenderJob, ACorruptOrMissingRecordingFailsCleanlyAndNamesTheFile) {
    const QString bad = testsupport::scratchDirectory() + QStringLiteral("/S0010009.STD");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a recording at all\n");
    f.close();
    const QString out = testsupport::scratchDirectory() + QStringLiteral("/render-bad");
    for (const QString& file : {bad, QStringLiteral("/nonexistent/S0010001.STD")}) {
        const Resultado run = kestramon({QStringLiteral("--render"), out, file});
        EXPECT_GT(run.exitCode, 0) << "crashed or succeeded: " << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QFileInfo(file).fileName())) << run.errors.toStdString();
    }
    EXPECT_TRUE(QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files).isEmpty());
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("this is not a recording at all\n"));
}

TEST(RenderJob, TrendsNeedingSevenAxesGiveTwoWindowsAndTheWarningOnStandardError) {
    // Seven units: the seventh axis does not fit in one multigraphic window. Without a person
    // the warning must not wait for an answer.
    const QString dir = testsupport::scratchDirectory() + QStringLiteral("/seven");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QFile csv(dir + QStringLiteral("/seven.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("time,a (V),b (A),c (Hz),d (kW),e (kvar),f (kVA),g (PF)\n");
    for (int m = 0; m < 10; ++m)
        csv.write(
            QStringLiteral("2026-12-01 10:%1:00,1,2,3,4,5,6,0.9\n").arg(m, 2, 10, QLatin1Char('0')).toUtf8());
    csv.close();
    const QString recording = dir + QStringLiteral("/S0010001.STD");
    ASSERT_EQ(kestramon({QStringLiteral("--import-csv"), csv.fileName(), recording}).exitCode, 0);

    const QString out = dir + QStringLiteral("/render");
    const Resultado run = kestramon({QStringLiteral("--render"), out, recording});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    // Six series share the first window; the seventh is alone and captioned with its name.
    EXPECT_EQ(QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files).size(), 2);
    EXPECT_EQ(QDir(out).entryList({QStringLiteral("01 - MULTIGRAPHIC.png")}, QDir::Files).size(), 1);
    EXPECT_EQ(run.errors.count(QStringLiteral("It was exceeded maximum number of axis")), 1)
        << run.errors.toStdString();
}

// Runs --report into a file of the scratch folder and returns the report.
QJsonObject report(const QString& name, const QStringList& extra = {}) {
    const QString out = testsupport::scratchDirectory() + QLatin1Char('/') + name;
    QFile::remove(out);
    const Resultado run = kestramon(QStringList{QStringLiteral("--report"), out} + extra);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QFile f(out);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no report written";
        return {};
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

std::vector<QJsonObject> windowsOfKind(const QJsonObject& report, int kind) {
    std::vector<QJsonObject> found;
    for (const QJsonValue& v : report.value("windows").toArray())
        if (v.toObject().value("kind").toInt() == kind)
            found.push_back(v.toObject());
    return found;
}

TEST(RenderJob, TheReportDescribesEveryWindowOfTheDemoInWindowOrder) {
    const QJsonObject doc = report(QStringLiteral("report.json"));
    const QJsonArray windows = doc.value("windows").toArray();
    ASSERT_FALSE(windows.isEmpty());
    EXPECT_EQ(doc.value("recordings").toArray().size(), 2);
    for (const QJsonValue& v : windows) {
        const QJsonObject w = v.toObject();
        ASSERT_TRUE(w.contains("caption"));
        ASSERT_TRUE(w.value("kind").isDouble());
        // The duration window's "intervals" are its duration intervals; its count has its own key.
        const bool duracion = w.value("kind").toInt() == 11;
        const int intervals =
            w.value(duracion ? QStringLiteral("time_intervals") : QStringLiteral("intervals")).toInt(-1);
        const int interval = w.value("interval").toInt(-1);
        EXPECT_GE(intervals, 1);
        EXPECT_TRUE(interval >= 0 && interval < intervals) << interval << " of " << intervals;
        const QJsonArray series = w.value("series").toArray();
        EXPECT_FALSE(series.isEmpty()) << w.value("caption").toString().toStdString();
    }

    // The events by duration over the shipped intervals, and the samples of the first event.
    const auto duraciones = windowsOfKind(doc, 11);
    ASSERT_GE(duraciones.size(), 1u);
    for (const QJsonObject& w : duraciones) {
        EXPECT_EQ(w.value("intervals").toArray().size(), 5);
        EXPECT_GT(w.value("events_placed").toInt(), 0);
    }
    const auto tes = windowsOfKind(doc, 18);
    ASSERT_GE(tes.size(), 1u);
    for (const QJsonObject& w : tes) {
        EXPECT_GT(w.value("events").toInt(), 1);
        EXPECT_GT(w.value("first_event_samples").toInt(), 2);
    }

    // The events as the events windows show them.
    const auto historico = windowsOfKind(doc, 10);
    const auto curvas = windowsOfKind(doc, 19);
    ASSERT_FALSE(historico.empty());
    ASSERT_FALSE(curvas.empty());
    for (const QJsonObject& w : {historico.back(), curvas.back()}) {
        const int raw = w.value("events_raw").toInt(-1);
        const int shown = w.value("events_shown").toInt(-1);
        const QJsonObject k = w.value("events_by_kind").toObject();
        const int s = k.value("S").toInt(-1), h = k.value("H").toInt(-1), i = k.value("I").toInt(-1);
        // Both demo files' events (17 and 14) are joined into one list.
        EXPECT_EQ(raw, 31);
        // Compacted by default (20 ms): the demo's chained sags on phase 1 become one event.
        EXPECT_GT(raw, shown);
        EXPECT_EQ(s + h + i, shown);
        EXPECT_GE(s, 1);
        EXPECT_GE(h, 1);
        EXPECT_GE(i, 3) << "the three-phase interruption is one event per phase";
    }
    const QJsonObject& curva = curvas.back();
    EXPECT_EQ(curva.value("curve").toInt(-1), 1);
    const int ok = curva.value("ok").toInt(-1);
    const int noOk = curva.value("not_ok").toInt(-1);
    EXPECT_GT(ok, 0);
    EXPECT_GT(noOk, 0);
    EXPECT_EQ(ok + noOk, curva.value("events_shown").toInt());
}

TEST(RenderJob, ANamedFilterJudgesTheHarmonicsWindowsAndAnUnknownOneIsSaid) {
    const QStringList filter = {QStringLiteral("--filter"), QStringLiteral("EN 50160 LV/MV")};
    const QJsonObject doc = report(QStringLiteral("report-filter.json"), filter);
    EXPECT_EQ(doc.value("filter").toString(), QStringLiteral("EN 50160 LV/MV"));
    const auto armonicos = windowsOfKind(doc, 3);
    ASSERT_EQ(armonicos.size(), 1u);
    EXPECT_EQ(armonicos[0].value("filter").toString(), QStringLiteral("EN 50160 LV/MV"));
    // The demo's rectifier load breaks the odd-order limits now and then.
    EXPECT_FALSE(armonicos[0].value("registers_breaking_filter").toArray().isEmpty());

    const QString out = testsupport::scratchDirectory() + QStringLiteral("/report-unknown.json");
    const Resultado unknown = kestramon(
        {QStringLiteral("--report"), out, QStringLiteral("--filter"), QStringLiteral("No such filter")});
    EXPECT_EQ(unknown.exitCode, 0) << unknown.errors.toStdString();
    EXPECT_TRUE(unknown.errors.contains("No such filter")) << unknown.errors.toStdString();
}

} // namespace
