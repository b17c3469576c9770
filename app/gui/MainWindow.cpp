#include "MainWindow.h"

#include "Comando.h"
#include "ComtradeImport.h"
#include "Contrato.h"
#include "DrivFlex.h"
#include "Feedback.h"
#include "GraphWindowDriver.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "PropertyDock.h"
#include "PropertyPagesEditor.h"
#include "RecordingSource.h"
#include "ServidorMonitores.h"
#include "SettingsStore.h"
#include "SourceCatalog.h"
#include "TValorMultiple.h"
#include "Textos.h"
#include "UserInteraction.h"
#include "VTXExcepcion.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QtMath>

// Off unless asked for (QT_LOGGING_RULES="kestramon.windows.info=true"): scripts driving the
// viewer in an X server learn from it which graph windows opened.
Q_LOGGING_CATEGORY(lcWindows, "kestramon.windows", QtWarningMsg)

namespace {
constexpr const char* kEngineFile = "PlotCore.vlk";
constexpr int kServicePrint = SRV_IMPRIMIR;
} // namespace

MainWindow::MainWindow(std::unique_ptr<RecordingSource> source, QWidget* parent)
    : QMainWindow(parent), m_source(std::move(source)), m_mdi(new QMdiArea(this)),
      m_driverLookup(driverOfGraphWindow) {
    setObjectName(QStringLiteral("KestramonMain"));
    setWindowTitle(Texto(TXT_APP_TITLE));
    setWindowIcon(applicationIcon());
    m_mdi->setObjectName(QStringLiteral("AreaMdi"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_server = std::make_unique<ServidorMonitores>(this, m_mdi);
    m_dock = new PropertyDock(m_server.get(), this);
    addDockWidget(Qt::RightDockWidgetArea, m_dock);
    connect(m_dock, &PropertyDock::printRequested, this, &MainWindow::printActiveGraph);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::activeWindowChanged);
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(40);
    connect(m_refreshTimer, &QTimer::timeout, m_dock, &PropertyDock::refresh);
    buildMenus();
    updateActions();
    resize(1200, 760);
    restoreLayout();
}

QString MainWindow::readValue(const char* name) const {
    const auto key = host::SettingsKey::openOrCreate(QString::fromLatin1(kRecentKey));
    return key ? key->readString(QString::fromLatin1(name)).value_or(QString()) : QString();
}

void MainWindow::writeValue(const char* name, const QString& value) {
    if (auto key = host::SettingsKey::openOrCreate(QString::fromLatin1(kRecentKey))) {
        key->writeString(QString::fromLatin1(name), value);
        key->sync();
    }
}

void MainWindow::restoreLayout() {
    // A damaged value is ignored: the window keeps its default size and docks.
    const QByteArray geometry = QByteArray::fromBase64(readValue(kGeometryValue).toLatin1());
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const QByteArray layout = QByteArray::fromBase64(readValue(kLayoutValue).toLatin1());
    if (!layout.isEmpty())
        restoreState(layout);
}

void MainWindow::saveLayout() {
    writeValue(kGeometryValue, QString::fromLatin1(saveGeometry().toBase64()));
    writeValue(kLayoutValue, QString::fromLatin1(saveState().toBase64()));
    writeValue(kLastSessionValue, m_openPaths.join(QLatin1Char('\n')));
}

QStringList MainWindow::recordingsToReopen() const {
    if (readValue(kReopenValue) != QLatin1String("1"))
        return {};
    return readValue(kLastSessionValue).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString MainWindow::lastFolder() const {
    const QString folder = readValue(kFolderValue);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

MainWindow::~MainWindow() {
    closeGraphWindows();
    m_dock->setDriver(nullptr);
    releaseSelections();
}

void MainWindow::setDriverLookup(std::function<DrivFlex*(QWidget*)> lookup) {
    m_driverLookup = std::move(lookup);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(Texto(TXT_APP_MENU_FILE));
    QAction* open = file->addAction(Texto(TXT_APP_OPEN), this, &MainWindow::promptOpenFiles);
    open->setShortcut(QKeySequence::Open);
    open->setObjectName(QStringLiteral("OpenFiles"));
    QAction* import =
        file->addAction(Texto(TXT_APP_IMPORT_COMTRADE), this, &MainWindow::promptImportComtrade);
    import->setObjectName(QStringLiteral("ImportComtrade"));
    m_recentMenu = file->addMenu(Texto(TXT_APP_RECENT));
    QAction* reopen = file->addAction(Texto(TXT_APP_REOPEN));
    reopen->setObjectName(QStringLiteral("ReopenAtStart"));
    reopen->setCheckable(true);
    reopen->setChecked(readValue(kReopenValue) == QLatin1String("1"));
    connect(reopen, &QAction::toggled, this,
            [this](bool on) { writeValue(kReopenValue, on ? QStringLiteral("1") : QStringLiteral("0")); });
    m_closeAction = file->addAction(Texto(TXT_APP_CLOSE), this, &MainWindow::closeRecordings);
    m_closeAction->setObjectName(QStringLiteral("CloseRecordings"));
    file->addSeparator();
    m_printAction = file->addAction(Texto(TXT_APP_PRINT), this, &MainWindow::printActiveGraph);
    m_printAction->setShortcut(QKeySequence::Print);
    file->addSeparator();
    QAction* quit = file->addAction(Texto(TXT_APP_EXIT), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);

    QMenu* graphs = menuBar()->addMenu(Texto(TXT_APP_MENU_GRAPHS));
    m_selectorAction = graphs->addAction(Texto(TXT_APP_SELECTOR), this, &MainWindow::showGraphSelector);
    m_selectorAction->setObjectName(QStringLiteral("GraphSelector"));
    m_selectorAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_openAllAction = graphs->addAction(Texto(TXT_APP_OPEN_ALL), this, &MainWindow::openAllGraphs);
    m_openAllAction->setObjectName(QStringLiteral("OpenAll"));
    m_openAllAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    graphs->addSeparator();
    QAction* properties =
        graphs->addAction(Texto(TXT_APP_SHOW_PROPERTIES), this, &MainWindow::showProperties);
    properties->setObjectName(QStringLiteral("ShowProperties"));
    properties->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});

    m_windowMenu = menuBar()->addMenu(Texto(TXT_APP_MENU_WINDOW));
    m_windowMenu->setObjectName(QStringLiteral("WindowMenu"));
    const auto windowAction = [this](int text, const char* name, void (MainWindow::*slot)()) {
        QAction* a = m_windowMenu->addAction(Texto(text), this, slot);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    windowAction(TXT_APP_TILE, "Tile", &MainWindow::tileWindows);
    windowAction(TXT_APP_CASCADE, "Cascade", &MainWindow::cascadeWindows);
    m_windowMenu->addSeparator();
    windowAction(TXT_APP_NEXT_WINDOW, "NextWindow", &MainWindow::activateNextWindow)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    windowAction(TXT_APP_PREV_WINDOW, "PreviousWindow", &MainWindow::activatePreviousWindow)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
    windowAction(TXT_APP_CLOSE_WINDOW, "CloseWindow", &MainWindow::closeActiveWindow)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    windowAction(TXT_APP_CLOSE_ALL, "CloseAllWindows", &MainWindow::closeAllWindows);
    m_windowMenu->addSeparator();
    m_windowMenu->addAction(m_dock->toggleViewAction());
    m_windowMenu->addSeparator();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::rebuildWindowMenu);

    QToolBar* bar = addToolBar(Texto(TXT_APP_MENU_FILE));
    bar->setObjectName(QStringLiteral("MainToolbar"));
    bar->setMovable(false);
    bar->addAction(open);
    bar->addAction(m_selectorAction);
    bar->addAction(m_openAllAction);
    bar->addAction(m_printAction);
    // Tooltips name the shortcut, as the menus do.
    for (QAction* a : findChildren<QAction*>()) {
        if (a->shortcut().isEmpty())
            continue;
        const QString text = a->text().remove(QLatin1Char('&')).remove(QStringLiteral("..."));
        a->setToolTip(Texto(TXT_APP_TIP_FMT).arg(text, a->shortcut().toString(QKeySequence::NativeText)));
    }
    rebuildRecentMenu();
    rebuildWindowMenu();
}

QStringList MainWindow::recentFiles() const {
    const auto key = host::SettingsKey::openOrCreate(QString::fromLatin1(kRecentKey));
    if (!key)
        return {};
    const QString stored = key->readString(QString::fromLatin1(kRecentValue)).value_or(QString());
    QStringList files = stored.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    while (files.size() > kMaxRecent)
        files.removeLast();
    return files;
}

void MainWindow::addRecent(const QStringList& paths) {
    QStringList files = recentFiles();
    for (const QString& p : paths) {
        const QString absolute = QFileInfo(p).absoluteFilePath();
        files.removeAll(absolute);
        files.prepend(absolute);
    }
    while (files.size() > kMaxRecent)
        files.removeLast();
    if (auto key = host::SettingsKey::openOrCreate(QString::fromLatin1(kRecentKey))) {
        key->writeString(QString::fromLatin1(kRecentValue), files.join(QLatin1Char('\n')));
        key->sync();
    }
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
    m_recentMenu->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        m_recentMenu
            ->addAction(Texto(TXT_APP_RECENT_FMT)
                            .arg(i + 1)
                            .arg(QFileInfo(path).fileName(),
                                 QDir::toNativeSeparators(QFileInfo(path).absolutePath())),
                        this, [this, path] { openFiles({path}); })
            ->setToolTip(path);
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

void MainWindow::updateActions() {
    const bool files = m_source && m_source->fileCount() > 0;
    m_closeAction->setEnabled(files);
    m_selectorAction->setEnabled(files);
    m_openAllAction->setEnabled(files);
    m_printAction->setEnabled(m_mdi->activeSubWindow() != nullptr);
    const int count = m_source ? m_source->fileCount() : 0;
    // A label of its own, so that passing messages do not wipe it out.
    if (m_recordingCount == nullptr) {
        m_recordingCount = new QLabel(this);
        m_recordingCount->setObjectName(QStringLiteral("RecordingCount"));
        statusBar()->addPermanentWidget(m_recordingCount);
    }
    m_recordingCount->setText(count == 1  ? Texto(TXT_APP_RECORDING_ONE)
                              : count > 1 ? Texto(TXT_APP_RECORDINGS).arg(count)
                                          : QString());
    const bool windows = !m_mdi->subWindowList().isEmpty();
    for (const char* name :
         {"Tile", "Cascade", "NextWindow", "PreviousWindow", "CloseWindow", "CloseAllWindows"})
        if (QAction* a = action(QString::fromLatin1(name)))
            a->setEnabled(windows);
    updateTitle();
}

QString MainWindow::shortcutTip(const QAction* action) {
    QString text = action->toolTip();
    if (text.isEmpty() || text == action->iconText())
        text = action->text().remove(QLatin1Char('&')).remove(QStringLiteral("..."));
    const QString keys = action->shortcut().toString(QKeySequence::NativeText);
    return text.contains(QLatin1Char('(') + keys + QLatin1Char(')')) ? text
                                                                     : Texto(TXT_APP_TIP_FMT).arg(text, keys);
}

namespace {
QPixmap drawIcon(int side, bool application) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = side / 16.0;
    const QRectF face(m, m, side - 2 * m, side - 2 * m);
    p.setPen(QPen(QColor(30, 60, 110), m));
    p.setBrush(application ? QColor(235, 242, 252) : QColor(255, 255, 255));
    p.drawRoundedRect(face, 3 * m, 3 * m);
    if (!application) {
        // A chart: axes and bars.
        p.setPen(QPen(QColor(60, 60, 60), m));
        p.drawLine(QPointF(4 * m, 12 * m), QPointF(12.5 * m, 12 * m));
        p.drawLine(QPointF(4 * m, 12 * m), QPointF(4 * m, 3.5 * m));
    }
    // One period of a sine with a distorted crest: the trade's own sign.
    QPainterPath wave;
    for (int i = 0; i <= 40; ++i) {
        const qreal x = face.left() + 2 * m + (face.width() - 4 * m) * i / 40.0;
        const qreal a = 2 * M_PI * i / 40.0;
        const qreal y = face.center().y() - (face.height() / 3.2) * (qSin(a) + 0.18 * qSin(3 * a));
        if (i == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(
        QPen(application ? QColor(200, 60, 30) : QColor(20, 110, 200), 1.6 * m, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave);
    return pixmap;
}

QIcon drawIcons(bool application) {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(drawIcon(side, application));
    return icon;
}
} // namespace

QIcon MainWindow::applicationIcon() {
    static const QIcon icon = drawIcons(true);
    return icon;
}

QIcon MainWindow::graphWindowIcon() {
    static const QIcon icon = drawIcons(false);
    return icon;
}

QAction* MainWindow::action(const QString& name) const {
    return findChild<QAction*>(name);
}

void MainWindow::updateTitle() {
    QStringList names;
    for (const QString& path : m_openPaths)
        names << QFileInfo(path).fileName();
    setWindowTitle(
        names.isEmpty()
            ? Texto(TXT_APP_TITLE)
            : Texto(TXT_APP_TITLE_FMT).arg(Texto(TXT_APP_TITLE), names.join(QStringLiteral(", "))));
}

void MainWindow::promptOpenFiles() {
    QFileDialog dialog(this, Texto(TXT_APP_OPEN).remove(QLatin1Char('&')).remove(QStringLiteral("...")),
                       QString(), Texto(TXT_APP_OPEN_FILTER));
    dialog.setObjectName(QStringLiteral("OpenRecordings"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    const QString folder = lastFolder();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (host::DialogRunner::exec(dialog) != QDialog::Accepted)
        return;
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty())
        writeValue(kFolderValue, QFileInfo(chosen.front()).absolutePath());
    openFiles(chosen);
}

void MainWindow::promptImportComtrade() {
    const QString title =
        Texto(TXT_APP_IMPORT_COMTRADE).remove(QLatin1Char('&')).remove(QStringLiteral("..."));
    QFileDialog dialog(this, title, QString(), Texto(TXT_APP_IMPORT_FILTER));
    dialog.setObjectName(QStringLiteral("ImportComtradeFiles"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    const QString folder = lastFolder();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (host::DialogRunner::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QStringList chosen = dialog.selectedFiles();
    const QFileInfo first(chosen.front());
    writeValue(kFolderValue, first.absolutePath());
    // The recording goes beside the first file unless the user names another.
    QFileDialog target(this, title,
                       first.absolutePath() + QLatin1Char('/') + first.completeBaseName() +
                           QStringLiteral(".STD"),
                       Texto(TXT_APP_OPEN_FILTER));
    target.setObjectName(QStringLiteral("ImportComtradeTarget"));
    target.setAcceptMode(QFileDialog::AcceptSave);
    target.setDefaultSuffix(QStringLiteral("STD"));
    if (host::DialogRunner::exec(target) != QDialog::Accepted || target.selectedFiles().isEmpty())
        return;
    importComtrade(chosen, target.selectedFiles().front());
}

bool MainWindow::importComtrade(const QStringList& inputs, const QString& out) {
    std::vector<std::string> files;
    for (const QString& p : inputs)
        files.push_back(QFile::encodeName(p).toStdString());
    comtrade::ImportOutcome result;
    {
        host::WaitCursor wait;
        result = comtrade::importFiles(files, QFile::encodeName(out).toStdString());
    }
    if (result.code != 0) {
        QStringList messages;
        for (const std::string& m : result.messages)
            messages << QString::fromLocal8Bit(m.c_str());
        reportError(Texto(TXT_APP_IMPORT_FAILED).arg(messages.join(QLatin1Char('\n'))));
        return false;
    }
    return openFiles({out}) == 1;
}

int MainWindow::openFiles(const QStringList& paths) {
    QStringList opened;
    QStringList failures;
    {
        // Several files take a while: show which one is read and let the user stop.
        host::Progress progress(this, QString(), static_cast<int>(paths.size()),
                                paths.size() > 1 ? Texto(TXT_CANCEL) : QString());
        for (int i = 0; i < paths.size(); ++i) {
            const QString& path = paths[i];
            progress.setLabel(Texto(TXT_APP_OPENING).arg(QFileInfo(path).fileName()));
            if (!progress.advance(i))
                break;
            QString error;
            if (m_source->open(path, &error))
                opened << path;
            else
                failures << Texto(TXT_APP_OPEN_FAILED).arg(QDir::toNativeSeparators(path), error);
        }
    }
    for (const QString& path : opened)
        if (!m_openPaths.contains(path))
            m_openPaths << path;
    if (!opened.isEmpty())
        addRecent(opened);
    updateActions();
    if (opened.size() == 1)
        statusBar()->showMessage(Texto(TXT_APP_OPENED_ONE).arg(QFileInfo(opened.front()).fileName()), 5000);
    else if (opened.size() > 1)
        statusBar()->showMessage(Texto(TXT_APP_OPENED_MANY).arg(opened.size()), 5000);
    if (!failures.isEmpty())
        reportError(failures.join(QStringLiteral("\n\n")));
    return static_cast<int>(opened.size());
}

void MainWindow::closeRecordings() {
    // Graph windows and the engine's drivers keep pointers to the source driver: they go first.
    closeGraphWindows();
    m_dock->setDriver(nullptr);
    releaseSelections();
    m_source->closeAll();
    m_openPaths.clear();
    m_openAllWindows.clear();
    updateActions();
}

void* MainWindow::engineEntry(const char* name) {
    if (!m_engine) {
        QString error;
        m_engine = host::loadModule(QString::fromLatin1(kEngineFile), &error);
        if (!m_engine) {
            reportError(Texto(TXT_APP_MODULE_MISSING).arg(QString::fromLatin1(kEngineFile), error));
            return nullptr;
        }
    }
    void* entry = host::resolveEntry(m_engine.get(), name);
    if (entry == nullptr)
        reportError(
            Texto(TXT_APP_ENTRY_MISSING).arg(QString::fromLatin1(kEngineFile), QString::fromLatin1(name)));
    return entry;
}

void MainWindow::callFactory(const std::function<DrivFlex*()>& call) {
    DrivFlex* driver = nullptr;
    try {
        driver = call();
    } catch (const VTXExcepcion& e) {
        host::MessageService::show(this, QString::fromStdString(e.Titulo()),
                                   Texto(TXT_APP_EXCEPTION_FMT)
                                       .arg(QString::fromStdString(e.Mensaje()))
                                       .arg(e.Codigo())
                                       .arg(QString::fromStdString(e.Contexto())),
                                   host::MessageIcon::Error);
    } catch (const std::exception& e) {
        reportError(QString::fromStdString(e.what()));
    }
    if (driver != nullptr)
        m_selections.push_back(driver);
    updateActions();
}

void MainWindow::showGraphSelector() {
    auto factory = reinterpret_cast<DameObjetoFn>(engineEntry("_DameObjeto"));
    if (factory == nullptr)
        return;
    callFactory([&] { return factory(0, m_server.get(), m_source->driver()); });
}

QString MainWindow::openAllKey() const {
    QStringList parts;
    for (const RecordingInfo& file : SourceCatalog::read(m_source->driver())) {
        QStringList keys;
        for (const VariableInfo& v : file.variables)
            keys << QStringLiteral("%1.%2").arg(v.key1).arg(v.key2);
        parts << file.name + QLatin1Char(':') + keys.join(QLatin1Char(','));
    }
    return parts.join(QLatin1Char('|'));
}

void MainWindow::openAllGraphs() {
    // The same selection again brings its windows to the front instead of duplicating them.
    const QString key = openAllKey();
    QList<QPointer<QMdiSubWindow>> existing;
    for (const QPointer<QMdiSubWindow>& w : m_openAllWindows.value(key))
        if (w && m_mdi->subWindowList().contains(w.data()))
            existing << w;
    if (!existing.isEmpty()) {
        m_openAllWindows[key] = existing;
        for (const QPointer<QMdiSubWindow>& w : existing) {
            if (w->isMinimized())
                w->showNormal();
            w->raise();
        }
        m_mdi->setActiveSubWindow(existing.front());
        statusBar()->showMessage(Texto(TXT_APP_WINDOWS_RAISED), 5000);
        return;
    }
    const QList<QMdiSubWindow*> before = m_mdi->subWindowList();
    {
        host::WaitCursor wait;
        openAllGraphsNow();
    }
    QList<QPointer<QMdiSubWindow>> created;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (!before.contains(w))
            created << w;
    if (!created.isEmpty()) {
        m_openAllWindows[key] = created;
        statusBar()->showMessage(created.size() == 1 ? Texto(TXT_APP_WINDOW_OPENED)
                                                     : Texto(TXT_APP_WINDOWS_OPENED).arg(created.size()),
                                 5000);
    }
}

void MainWindow::openAllGraphsNow() {
    DrivFlex* source = m_source->driver();
    const std::vector<RecordingInfo> files = SourceCatalog::read(source);
    TValorMultiple selection;
    std::vector<DrivFlex*> held; // data drivers stay referenced until the engine has its own
    for (const RecordingInfo& file : files) {
        if (file.variables.empty())
            continue;
        DrivFlex* data = SourceCatalog::acquireDataDriver(source, file.index);
        if (data == nullptr)
            continue;
        held.push_back(data);
        for (const VariableInfo& v : file.variables)
            selection.EntrarEnteros({v.key1, v.key2, data->Manejador()});
    }
    if (selection.Vacia()) {
        reportError(Texto(TXT_APP_NO_FILES));
    } else if (auto factory = reinterpret_cast<DameObjeto2Fn>(engineEntry("_DameObjeto2"))) {
        callFactory([&] { return factory(0, m_server.get(), source, &selection); });
    }
    for (DrivFlex* data : held)
        SourceCatalog::release(data);
}

void MainWindow::printActiveGraph() {
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    DrivFlex* driver = active && m_driverLookup ? m_driverLookup(active->widget()) : nullptr;
    if (driver == nullptr)
        return;
    Comando print(kServicePrint);
    TValorMultiple answer;
    driver->ProgCom(&print, &answer, 0, nullptr);
    if (driver->DecRef() != 0)
        m_server->Destruyeme(driver, false);
}

void MainWindow::activeWindowChanged(QMdiSubWindow* window) {
    if (m_shutDown)
        return;
    // Switching windows keeps the edits made so far, as OK would.
    m_dock->setDriver(window && m_driverLookup ? m_driverLookup(window->widget()) : nullptr);
    watchActiveGraph(window ? window->widget() : nullptr);
    if (window != nullptr && !window->property("placed").toBool()) {
        window->setProperty("placed", true);
        window->setWindowIcon(graphWindowIcon());
        qCInfo(lcWindows).noquote() << "window opened:"
                                    << (window->widget() ? window->widget()->windowTitle() : QString());
        // The window is sized by whoever showed it once it is shown: place it after that.
        QTimer::singleShot(0, window, [this, window] { fitInside(window); });
    }
    updateActions();
}

void MainWindow::watchActiveGraph(QWidget* graph) {
    if (m_watchedGraph == graph)
        return;
    if (m_watchedGraph) {
        m_watchedGraph->removeEventFilter(this);
        for (QWidget* child : m_watchedGraph->findChildren<QWidget*>())
            child->removeEventFilter(this);
    }
    m_watchedGraph = graph;
    if (graph == nullptr)
        return;
    graph->installEventFilter(this);
    for (QWidget* child : graph->findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The graph windows' buttons name their keys too: the windows set plain hints.
    if (event->type() == QEvent::ToolTip) {
        auto* button = qobject_cast<QToolButton*>(watched);
        QAction* a = button ? button->defaultAction() : nullptr;
        if (a != nullptr && !a->shortcut().isEmpty() && !a->toolTip().isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), shortcutTip(a), button);
            return true;
        }
    }
    // A repaint, done or pending, of the active graph window or one of its parts.
    const bool redraw = event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest ||
                        event->type() == QEvent::UpdateLater;
    if (redraw && m_watchedGraph && watched->isWidgetType() && !m_refreshTimer->isActive())
        m_refreshTimer->start();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitInside(QMdiSubWindow* window) {
    const QRect area = m_mdi->viewport()->rect();
    if (area.isEmpty())
        return;
    QRect frame = window->geometry();
    frame.setWidth(qMin(frame.width(), area.width()));
    frame.setHeight(qMin(frame.height(), area.height()));
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    frame.moveLeft(qMax(frame.left(), area.left()));
    frame.moveTop(qMax(frame.top(), area.top()));
    window->setGeometry(frame);
}

void MainWindow::cascadeWindows() {
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::StackingOrder);
    const QRect area = m_mdi->viewport()->rect();
    if (windows.isEmpty() || area.isEmpty())
        return;
    // Every window keeps a readable size; the offsets start over once they run out of room.
    const int step = 26;
    const QSize size(qMin(area.width(), qMax(minimumCascadeSize().width(), area.width() * 2 / 3)),
                     qMin(area.height(), qMax(minimumCascadeSize().height(), area.height() * 2 / 3)));
    const int room = qMax(1, qMin(area.width() - size.width(), area.height() - size.height()) / step + 1);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMinimized() || w->isMaximized())
            w->showNormal();
        const int offset = (i % room) * step;
        w->setGeometry(QRect(area.topLeft() + QPoint(offset, offset), size));
        w->raise();
    }
}

void MainWindow::tileWindows() {
    QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    const QRect area = m_mdi->viewport()->rect();
    if (windows.isEmpty() || area.isEmpty())
        return;
    // A grid as square as the windows allow, filling the area exactly.
    const int n = static_cast<int>(windows.size());
    const int columns = qCeil(qSqrt(n));
    const int rows = (n + columns - 1) / columns;
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMinimized() || w->isMaximized())
            w->showNormal();
        const int row = i / columns;
        // The last row shares its width among the windows it has.
        const int inRow = row == rows - 1 ? n - row * columns : columns;
        const int column = i % columns;
        const int x0 = area.left() + area.width() * column / inRow;
        const int x1 = area.left() + area.width() * (column + 1) / inRow;
        const int y0 = area.top() + area.height() * row / rows;
        const int y1 = area.top() + area.height() * (row + 1) / rows;
        w->setGeometry(QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)));
    }
}

void MainWindow::activateNextWindow() {
    m_mdi->activateNextSubWindow();
}

void MainWindow::activatePreviousWindow() {
    m_mdi->activatePreviousSubWindow();
}

void MainWindow::closeActiveWindow() {
    if (QMdiSubWindow* active = m_mdi->activeSubWindow())
        active->close();
    updateActions();
}

void MainWindow::closeAllWindows() {
    closeGraphWindows();
    updateActions();
}

void MainWindow::showProperties() {
    m_dock->show();
    m_dock->raise();
    m_dock->setFocus();
}

void MainWindow::rebuildWindowMenu() {
    for (QAction* a : m_windowListActions) {
        m_windowMenu->removeAction(a);
        delete a;
    }
    m_windowListActions.clear();
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        const QString title = w->widget() ? w->widget()->windowTitle() : w->windowTitle();
        QAction* a =
            new QAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title) : title, m_windowMenu);
        a->setObjectName(QStringLiteral("WindowItem"));
        a->setCheckable(true);
        a->setChecked(w == active);
        connect(a, &QAction::triggered, this, [this, w = QPointer<QMdiSubWindow>(w)] {
            if (!w)
                return;
            if (w->isMinimized())
                w->showNormal();
            m_mdi->setActiveSubWindow(w);
        });
        m_windowMenu->addAction(a);
        m_windowListActions << a;
    }
}

void MainWindow::closeGraphWindows() {
    watchActiveGraph(nullptr);
    m_dock->setDriver(nullptr);
    m_mdi->closeAllSubWindows();
}

void MainWindow::releaseSelections() {
    for (DrivFlex* driver : m_selections)
        SourceCatalog::release(driver);
    m_selections.clear();
}

void MainWindow::reportError(const QString& text) {
    host::MessageService::show(this, Texto(TXT_ERROR), text, host::MessageIcon::Error);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closeGraphWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore(); // a window refused to close
        return;
    }
    m_shutDown = true;
    saveLayout();
    QMainWindow::closeEvent(event);
}
