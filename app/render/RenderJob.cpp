#include "RenderJob.h"

#include "Comando.h"
#include "DataDrivers.h"
#include "DemoRecording.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "ServidorMonitores.h"
#include "TValor.h"
#include "TValorMultiple.h"
#include "VTXExcepcion.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QSaveFile>
#include <QWidget>

#include <cstdio>
#include <filesystem>

namespace {

// Keeps the graph windows in the order the engine opens them.
class RenderServer : public ServidorMonitores {
public:
    void MostrarVentana(QWidget* ventana) override {
        if (ventana == nullptr)
            return;
        // A size that fits a report page, whatever the window's default.
        ventana->resize(1100, 680);
        ventana->show();
        windows.push_back(ventana);
    }
    std::vector<QPointer<QWidget>> windows;
};

void fail(const QString& message) {
    std::fprintf(stderr, "kestramon: %s\n", qPrintable(message));
}

// Every variable of every open file, as the host's selection rows: first key, second key,
// data-driver handle.
TValorMultiple allVariables(recording::SourceDriver& source) {
    TValorMultiple selection;
    for (int i = 0; i < source.fileCount(); ++i) {
        recording::RecordingDriver* driver = source.driver(i);
        Comando enumerate(recording::kCmdEnumerate);
        TValorMultiple rows;
        driver->ProgCom(&enumerate, &rows, 0, nullptr);
        // Per variable: an integer row (keys, kind, code), then its name and unit rows.
        for (int r = 0; r + 2 < rows.Cuenta(); r += 3) {
            if (rows.Tipo(r) != TV_ENTERO || rows.Elementos(r) < 2)
                continue;
            selection.EntrarEnteros({rows.Entero(r, 0), rows.Entero(r, 1), driver->Manejador()});
        }
    }
    return selection;
}

QString fileNameFor(int number, const QString& caption) {
    QString safe;
    for (const QChar c : caption)
        safe +=
            (c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-')) ? c : QLatin1Char('_');
    safe = safe.simplified();
    if (safe.isEmpty())
        safe = QStringLiteral("graph");
    return QStringLiteral("%1 - %2.png").arg(number, 2, 10, QLatin1Char('0')).arg(safe);
}

bool writeIndex(const QDir& dir, const QStringList& images, const QStringList& captions) {
    QSaveFile index(dir.filePath(QStringLiteral("index.html")));
    if (!index.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>KESTRAMON graphs"
                       "</title></head>\n<body>\n<h1>KESTRAMON graphs</h1>\n<ol>\n");
    for (int i = 0; i < images.size(); ++i)
        html += QStringLiteral("<li><a href=\"%1\">%2</a><br><img src=\"%1\" width=\"800\"></li>\n")
                    .arg(images[i].toHtmlEscaped(), captions[i].toHtmlEscaped());
    html += QStringLiteral("</ol>\n</body></html>\n");
    index.write(html.toUtf8());
    return index.commit();
}

// Every graph of the recordings opened as Open all does, held until the run ends.
class OpenAll {
public:
    // 0 when the windows are open, else the exit code (the reason is on standard error).
    int open(const QStringList& files) {
        QStringList paths = files;
        if (paths.isEmpty()) {
            try {
                for (const std::string& p : recording::defaultRecordings())
                    paths << QString::fromStdString(p);
            } catch (const std::exception& e) {
                fail(QStringLiteral("cannot write the demonstration recording: %1")
                         .arg(QString::fromUtf8(e.what())));
                return 1;
            }
        }
        for (const QString& path : paths) {
            try {
                m_source.openFile(path.toStdString());
            } catch (const std::exception& e) {
                fail(QString::fromUtf8(e.what()));
                return 2;
            }
        }
        m_paths = paths;

        QString error;
        m_engine = host::loadModule(QStringLiteral("PlotCore.vlk"), &error);
        auto factory = reinterpret_cast<DameObjeto2Fn>(host::resolveEntry(m_engine.get(), "_DameObjeto2"));
        if (factory == nullptr) {
            fail(QStringLiteral("cannot load the graph engine PlotCore.vlk: %1").arg(error));
            return 3;
        }
        TValorMultiple selection = allVariables(m_source);
        try {
            m_graphs = factory(0, &m_server, &m_source, &selection);
        } catch (const VTXExcepcion& e) {
            fail(QStringLiteral("%1 (%2): %3 [%4]")
                     .arg(QString::fromStdString(e.Titulo()))
                     .arg(e.Codigo())
                     .arg(QString::fromStdString(e.Mensaje()), QString::fromStdString(e.Contexto())));
            return 4;
        }
        return 0;
    }

    ~OpenAll() {
        // Closing a window releases its driver through the monitor server.
        for (const QPointer<QWidget>& window : m_server.windows) {
            if (!window.isNull())
                window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (m_graphs != nullptr && m_graphs->DecRef() != 0)
            delete m_graphs;
    }

    const std::vector<QPointer<QWidget>>& windows() const { return m_server.windows; }
    const QStringList& paths() const { return m_paths; }

private:
    recording::SourceDriver m_source;
    std::unique_ptr<QLibrary> m_engine;
    RenderServer m_server;
    DrivFlex* m_graphs = nullptr;
    QStringList m_paths;
};

// Every window that carries a harmonics filter applies the named one, asked by name (the host
// does not link the engine): 1 applied, 0 no such filter, -1 the window has no filter.
void applyFilter(const BatchOptions& options, const std::vector<QPointer<QWidget>>& windows) {
    if (options.filter.isEmpty())
        return;
    bool taken = false;
    bool missing = false;
    for (const QPointer<QWidget>& window : windows) {
        int result = -1;
        // Windows without a filter do not have the method at all.
        if (window.isNull() || window->metaObject()->indexOfMethod("AplicarFiltro(QString)") < 0 ||
            !QMetaObject::invokeMethod(window, "AplicarFiltro", Qt::DirectConnection,
                                       Q_RETURN_ARG(int, result), Q_ARG(QString, options.filter)))
            continue;
        taken = taken || result >= 0;
        missing = missing || result == 0;
    }
    if (missing)
        fail(QStringLiteral("harmonics filter \"%1\" not found in the norms file; not applied")
                 .arg(options.filter));
    else if (!taken)
        fail(QStringLiteral("no window applies harmonics filters; \"%1\" was not applied")
                 .arg(options.filter));
}

// A window's own summary, asked for by name: the host does not link the engine.
QJsonObject describe(QWidget* window) {
    QJsonObject summary;
    if (!QMetaObject::invokeMethod(window, "Describir", Qt::DirectConnection,
                                   Q_RETURN_ARG(QJsonObject, summary)))
        summary.insert(QStringLiteral("caption"), window->windowTitle());
    return summary;
}

} // namespace

namespace {

// Every graph printed through its window's own print path, one per page of one PDF. Written
// under a temporary name and renamed, so an earlier document is never lost half-way.
bool printAll(const std::vector<QPointer<QWidget>>& windows, const QString& file) {
    const QString temporary = file + QStringLiteral(".part");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary);
        printer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        bool first = true;
        for (const QPointer<QWidget>& window : windows) {
            if (window.isNull())
                continue;
            if (!first)
                printer.newPage();
            first = false;
            QMetaObject::invokeMethod(window, "ImprimirEnDocumento", Qt::DirectConnection,
                                      Q_ARG(void*, &printer), Q_ARG(void*, &painter));
        }
        painter.end();
    }
    std::error_code error;
    std::filesystem::rename(temporary.toStdString(), file.toStdString(), error);
    return !error;
}

} // namespace

int renderRecordings(const QString& outputDirectory, const QStringList& files, const BatchOptions& options) {
    QDir dir(outputDirectory);
    if (!dir.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot create %1").arg(outputDirectory));
        return 1;
    }
    OpenAll all;
    if (const int code = all.open(files); code != 0)
        return code;
    applyFilter(options, all.windows());

    QStringList images;
    QStringList captions;
    for (const QPointer<QWidget>& window : all.windows()) {
        if (window.isNull())
            continue;
        QApplication::processEvents();
        const QString caption = window->windowTitle();
        const QString name = fileNameFor(images.size() + 1, caption);
        if (!window->grab().save(dir.filePath(name), "PNG")) {
            fail(QStringLiteral("cannot write %1").arg(dir.filePath(name)));
            return 1;
        }
        images << name;
        captions << caption;
    }
    if (!writeIndex(dir, images, captions)) {
        fail(QStringLiteral("cannot write %1").arg(dir.filePath(QStringLiteral("index.html"))));
        return 1;
    }
    if (options.pdf && !printAll(all.windows(), dir.filePath(QStringLiteral("graphs.pdf")))) {
        fail(QStringLiteral("cannot write %1").arg(dir.filePath(QStringLiteral("graphs.pdf"))));
        return 1;
    }
    std::printf("%lld graph(s) written to %s\n", static_cast<long long>(images.size()),
                qPrintable(QDir::toNativeSeparators(dir.absolutePath())));
    return 0;
}

int reportRecordings(const QString& outputFile, const QStringList& files, const BatchOptions& options) {
    OpenAll all;
    if (const int code = all.open(files); code != 0)
        return code;
    applyFilter(options, all.windows());

    QJsonArray windows;
    for (const QPointer<QWidget>& window : all.windows()) {
        if (!window.isNull())
            windows.append(describe(window));
    }
    QJsonObject report;
    report.insert(QStringLiteral("recordings"), QJsonArray::fromStringList(all.paths()));
    report.insert(QStringLiteral("filter"),
                  options.filter.isEmpty() ? QJsonValue() : QJsonValue(options.filter));
    report.insert(QStringLiteral("windows"), windows);

    QSaveFile out(outputFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(report).toJson()) < 0 || !out.commit()) {
        fail(QStringLiteral("cannot write %1").arg(outputFile));
        return 1;
    }
    std::printf("%lld window(s) described in %s\n", static_cast<long long>(windows.size()),
                qPrintable(outputFile));
    return 0;
}
