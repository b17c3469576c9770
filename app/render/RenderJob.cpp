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
#include <QLibrary>
#include <QPointer>
#include <QSaveFile>
#include <QWidget>

#include <cstdio>

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

} // namespace

int renderRecordings(const QString& outputDirectory, const QStringList& files) {
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

    recording::SourceDriver source;
    for (const QString& path : paths) {
        try {
            source.openFile(path.toStdString());
        } catch (const std::exception& e) {
            fail(QString::fromUtf8(e.what()));
            return 2;
        }
    }

    QDir dir(outputDirectory);
    if (!dir.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot create %1").arg(outputDirectory));
        return 1;
    }

    QString error;
    std::unique_ptr<QLibrary> engine = host::loadModule(QStringLiteral("PlotCore.vlk"), &error);
    auto factory = reinterpret_cast<DameObjeto2Fn>(host::resolveEntry(engine.get(), "_DameObjeto2"));
    if (factory == nullptr) {
        fail(QStringLiteral("cannot load the graph engine PlotCore.vlk: %1").arg(error));
        return 3;
    }

    RenderServer server;
    TValorMultiple selection = allVariables(source);
    DrivFlex* graphs = nullptr;
    try {
        graphs = factory(0, &server, &source, &selection);
    } catch (const VTXExcepcion& e) {
        fail(QStringLiteral("%1 (%2): %3 [%4]")
                 .arg(QString::fromStdString(e.Titulo()))
                 .arg(e.Codigo())
                 .arg(QString::fromStdString(e.Mensaje()), QString::fromStdString(e.Contexto())));
        return 4;
    }

    QStringList images;
    QStringList captions;
    for (const QPointer<QWidget>& window : server.windows) {
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

    // Closing a window releases its driver through the monitor server.
    for (const QPointer<QWidget>& window : server.windows) {
        if (!window.isNull())
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (graphs != nullptr && graphs->DecRef() != 0)
        delete graphs;

    std::printf("%lld graph(s) written to %s\n", static_cast<long long>(images.size()),
                qPrintable(QDir::toNativeSeparators(dir.absolutePath())));
    return 0;
}
