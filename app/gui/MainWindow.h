#pragma once

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DrivFlex;
class PropertyDock;
class QLibrary;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
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

    explicit MainWindow(std::unique_ptr<RecordingSource> source, QWidget* parent = nullptr);
    ~MainWindow() override;

    // getters:
    QMdiArea* mdiArea() const { return m_mdi; }
    ServidorMonitores* server() const { return m_server.get(); }
    RecordingSource* source() const { return m_source.get(); }
    PropertyDock* propertyDock() const { return m_dock; }
    QStringList recentFiles() const;
    int selectionDrivers() const { return static_cast<int>(m_selections.size()); }

    // setters:
    // How the driver of a graph window is found (with a new reference); the default asks the
    // engine's graph window.
    void setDriverLookup(std::function<DrivFlex*(QWidget*)> lookup);

    // Actions, also reachable from the menus.
    void promptOpenFiles();
    // Opens every file it can; files that fail are reported together. Returns how many opened.
    int openFiles(const QStringList& paths);
    void closeRecordings();
    void showGraphSelector();
    void openAllGraphs();
    void printActiveGraph();

protected:
    // reimplemented virtual methods:
    void closeEvent(QCloseEvent* event) override;

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
    void releaseSelections();
    void reportError(const QString& text);

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
    bool m_shutDown = false;
};
