#pragma once

#include <QDockWidget>

class DrivFlex;
class PropertyPagesEditor;
class QPushButton;
class ServidorMonitores;

// The host's property editor: the pages of the active graph window's driver. Showing a
// driver takes its snapshot; OK keeps the edits (a new snapshot), Cancel restores the last one.
class PropertyDock : public QDockWidget {
    Q_OBJECT
public:
    PropertyDock(ServidorMonitores* server, QWidget* parent = nullptr);
    ~PropertyDock() override;

    // getters:
    DrivFlex* driver() const { return m_driver; }
    PropertyPagesEditor* editor() const { return m_editor; }

    // setters:
    // Takes over one reference on `driver` (may be null) and releases the previous driver;
    // a driver whose last reference that was is destroyed through the monitor server.
    void setDriver(DrivFlex* driver);

    void accept();
    void cancel();
    // Re-reads the driver, so that changes made in the graph window show here; a text the
    // user is still typing is left alone until the next refresh.
    void refresh();

signals:
    void printRequested();

private:
    ServidorMonitores* m_server = nullptr;
    DrivFlex* m_driver = nullptr;
    PropertyPagesEditor* m_editor = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_print = nullptr;
};
