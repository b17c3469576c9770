#include "GuiApp.h"

#include "MainWindow.h"
#include "RecordingSource.h"

#include <QApplication>
#include <QStringList>

int runGui(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KESTRAMON"));
    QApplication::setOrganizationName(QStringLiteral("VORTELIA"));
    MainWindow window(makeRecordingSource());
    const QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty())
        window.openFiles(files);
    window.show();
    return QApplication::exec();
}
