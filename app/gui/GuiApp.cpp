#include "GuiApp.h"

#include "DemoRecording.h"
#include "MainWindow.h"
#include "RecordingSource.h"

#include <QApplication>
#include <QStringList>

int runGui(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KESTRAMON"));
    QApplication::setOrganizationName(QStringLiteral("VORTELIA"));
    QApplication::setWindowIcon(MainWindow::applicationIcon());
    MainWindow window(makeRecordingSource());
    QStringList files = QApplication::arguments().mid(1);
    // With no file the viewer reopens the last recordings when asked to, else the demo.
    if (files.isEmpty())
        files = window.recordingsToReopen();
    if (files.isEmpty()) {
        try {
            for (const std::string& path : recording::defaultRecordings())
                files << QString::fromStdString(path);
        } catch (const std::exception&) {
            // The viewer still opens; the user can open files by hand.
        }
    }
    if (!files.isEmpty())
        window.openFiles(files);
    window.show();
    return QApplication::exec();
}
