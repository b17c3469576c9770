#include "MainWindow.h"

#include "Comando.h"
#include "Contrato.h"
#include "DrivFlex.h"
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

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {
constexpr const char* kEngineFile = "PlotCore.vlk";
constexpr int kServicePrint = SRV_IMPRIMIR;
} // namespace

MainWindow::MainWindow(std::unique_ptr<RecordingSource> source, QWidget* parent)
    : QMainWindow(parent), m_source(std::move(source)), m_mdi(new QMdiArea(this)),
      m_driverLookup(driverOfGraphWindow) {
    setObjectName(QStringLiteral("KestramonMain"));
    setWindowTitle(Texto(TXT_APP_TITLE));
    m_mdi->setObjectName(QStringLiteral("AreaMdi"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_server = std::make_unique<ServidorMonitores>(this, m_mdi);
    m_dock = new PropertyDock(m_server.get(), this);
    addDockWidget(Qt::RightDockWidgetArea, m_dock);
    connect(m_dock, &PropertyDock::printRequested, this, &MainWindow::printActiveGraph);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::activeWindowChanged);
    buildMenus();
    updateActions();
    resize(1200, 760);
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
    m_recentMenu = file->addMenu(Texto(TXT_APP_RECENT));
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
    m_openAllAction = graphs->addAction(Texto(TXT_APP_OPEN_ALL), this, &MainWindow::openAllGraphs);
    m_openAllAction->setObjectName(QStringLiteral("OpenAll"));

    QMenu* windows = menuBar()->addMenu(Texto(TXT_APP_MENU_WINDOW));
    windows->addAction(Texto(TXT_APP_TILE), m_mdi, &QMdiArea::tileSubWindows);
    windows->addAction(Texto(TXT_APP_CASCADE), m_mdi, &QMdiArea::cascadeSubWindows);
    windows->addSeparator();
    windows->addAction(m_dock->toggleViewAction());

    QToolBar* bar = addToolBar(Texto(TXT_APP_MENU_FILE));
    bar->setObjectName(QStringLiteral("MainToolbar"));
    bar->setMovable(false);
    bar->addAction(open);
    bar->addAction(m_selectorAction);
    bar->addAction(m_openAllAction);
    bar->addAction(m_printAction);
    rebuildRecentMenu();
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
            ->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this,
                        [this, path] { openFiles({path}); })
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
    statusBar()->showMessage(files ? Texto(TXT_APP_RECORDINGS).arg(m_source->fileCount()) : QString());
}

void MainWindow::promptOpenFiles() {
    QFileDialog dialog(this, Texto(TXT_APP_OPEN).remove(QLatin1Char('&')).remove(QStringLiteral("...")),
                       QString(), Texto(TXT_APP_OPEN_FILTER));
    dialog.setObjectName(QStringLiteral("OpenRecordings"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (host::DialogRunner::exec(dialog) == QDialog::Accepted)
        openFiles(dialog.selectedFiles());
}

int MainWindow::openFiles(const QStringList& paths) {
    QStringList opened;
    QStringList failures;
    {
        host::WaitCursor wait;
        for (const QString& path : paths) {
            QString error;
            if (m_source->open(path, &error))
                opened << path;
            else
                failures << Texto(TXT_APP_OPEN_FAILED).arg(QDir::toNativeSeparators(path), error);
        }
    }
    if (!opened.isEmpty())
        addRecent(opened);
    updateActions();
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

void MainWindow::openAllGraphs() {
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
    updateActions();
}

void MainWindow::closeGraphWindows() {
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
    QMainWindow::closeEvent(event);
}
