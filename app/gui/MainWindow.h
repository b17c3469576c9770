#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DrivFlex;
class PropertyDock;
class QLabel;
class QLibrary;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class RecordingSource;
class ServidorMonitores;
class TValorMultiple;

// The host application's main window: graph windows live in its MDI area, which a monitor
// server hands to the engine; the File menu opens and closes recording files, the Graphs menu
// asks the engine for graphs, and the property dock edits the active graph's driver.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Settings subkey and value of the recent-file list (newest first).
    static constexpr const char* kRecentKey = "HOST";
    static constexpr const char* kRecentValue = "RECIENTES";
    static constexpr int kMaxRecent = 8;
    // Other values of the host's own subkey: window geometry and dock layout, the folder of
    // the open dialog, the files open at the last close and whether to reopen them.
    static constexpr const char* kGeometryValue = "GEOMETRIA";
    static constexpr const char* kLayoutValue = "DISPOSICION";
    static constexpr const char* kFolderValue = "CARPETA";
    static constexpr const char* kLastSessionValue = "ULTIMOS";
    static constexpr const char* kReopenValue = "REABRIR";

    explicit MainWindow(std::unique_ptr<RecordingSource> source, QWidget* parent = nullptr);
    ~MainWindow() override;

    // getters:
    QMdiArea* mdiArea() const { return m_mdi; }
    ServidorMonitores* server() const { return m_server.get(); }
    RecordingSource* source() const { return m_source.get(); }
    PropertyDock* propertyDock() const { return m_dock; }
    QStringList recentFiles() const;
    int selectionDrivers() const { return static_cast<int>(m_selections.size()); }
    QStringList openPaths() const { return m_openPaths; }
    // The recordings open when the viewer was last closed, when the user asked to reopen them.
    QStringList recordingsToReopen() const;
    // The folder the open dialog starts in: where the user last opened files.
    QString lastFolder() const;

    // setters:
    // How the driver of a graph window is found (with a new reference); the default asks the
    // engine's graph window.
    void setDriverLookup(std::function<DrivFlex*(QWidget*)> lookup);

    // Actions, also reachable from the menus.
    void promptOpenFiles();
    // File > Import: COMTRADE files chosen, the recording to write named, then imported and
    // opened.
    void promptImportComtrade();
    // Imports COMTRADE files into the recording `out` as the command line does and opens it;
    // faults are reported together (on standard error in a run without a person).
    bool importComtrade(const QStringList& inputs, const QString& out);
    // Opens every file it can; files that fail are reported together. Returns how many opened.
    int openFiles(const QStringList& paths);
    void closeRecordings();
    void showGraphSelector();
    void openAllGraphs();
    void printActiveGraph();

    // Window handling that keeps every graph readable and inside the MDI area.
    void cascadeWindows();
    void tileWindows();
    void activateNextWindow();
    void activatePreviousWindow();
    void closeActiveWindow();
    void closeAllWindows();
    // Shows and raises the property editor.
    void showProperties();

    // The smallest size Cascade gives a graph window, so that charts stay readable.
    static QSize minimumCascadeSize() { return {480, 320}; }
    // The window's action by object name (menus, toolbar and shortcuts share them).
    QAction* action(const QString& name) const;
    // An action's tooltip followed by its shortcut, as "Open all (Ctrl+Shift+A)".
    static QString shortcutTip(const QAction* action);
    // Icons drawn once: the application's (a waveform on a meter face) and the graph windows'.
    static QIcon applicationIcon();
    static QIcon graphWindowIcon();

protected:
    // reimplemented virtual methods:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void rebuildRecentMenu();
    void addRecent(const QStringList& paths);
    void updateActions();
    void activeWindowChanged(QMdiSubWindow* window);
    // The engine's entry point by name, loading PlotCore.vlk on first use; reports failures.
    void* engineEntry(const char* name);
    // Runs a factory call, reporting the engine's exceptions; keeps the driver it returns.
    void callFactory(const std::function<DrivFlex*()>& call);
    void closeGraphWindows();
    void openAllGraphsNow();
    void releaseSelections();
    void reportError(const QString& text);
    void restoreLayout();
    void saveLayout();
    QString readValue(const char* name) const;
    void writeValue(const char* name, const QString& value);
    void rebuildWindowMenu();
    void updateTitle();
    // Moves and, where needed, shrinks `window` so that it lies inside the MDI area.
    void fitInside(QMdiSubWindow* window);
    // Repaints of the active graph window mean its driver may have changed: the property
    // editor re-reads it once the burst of repaints is over.
    void watchActiveGraph(QWidget* graph);
    // What identifies an Open all selection: the files and their variables.
    QString openAllKey() const;

    std::unique_ptr<RecordingSource> m_source;
    QMdiArea* m_mdi = nullptr;
    std::unique_ptr<ServidorMonitores> m_server;
    PropertyDock* m_dock = nullptr;
    std::unique_ptr<QLibrary> m_engine;
    std::vector<DrivFlex*> m_selections; // selection drivers the engine returned: ours
    std::function<DrivFlex*(QWidget*)> m_driverLookup;
    QMenu* m_recentMenu = nullptr;
    QAction* m_closeAction = nullptr;
    QAction* m_selectorAction = nullptr;
    QAction* m_openAllAction = nullptr;
    QAction* m_printAction = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowListActions;
    QStringList m_openPaths;
    // Graph windows each Open all selection produced, so that repeating it raises them.
    QHash<QString, QList<QPointer<QMdiSubWindow>>> m_openAllWindows;
    QPointer<QWidget> m_watchedGraph;
    QTimer* m_refreshTimer = nullptr;
    QLabel* m_recordingCount = nullptr;
    bool m_shutDown = false;
};
