#pragma once

#include <QWidget>

class DrivFlex;
class QTabWidget;

// Edits a driver's property pages through the driver interface only: one tab per visible
// page, a combo box for each property with options and a line edit for each text property.
// Every edit is written to the driver at once (a combo on selection, a text when editing
// finishes). Shared by the graph configurator and the host's property editor.
class PropertyPagesEditor : public QWidget {
    Q_OBJECT
public:
    // Pseudo page of the driver's snapshot: property 0 saves, property 1 restores.
    static constexpr int kSnapshotPage = -1;

    explicit PropertyPagesEditor(QWidget* parent = nullptr);

    // getters:
    DrivFlex* driver() const { return m_driver; }
    QTabWidget* tabs() const { return m_tabs; }
    // Control of a property, named "page<P>.property<I>"; nullptr when not shown.
    QWidget* editorFor(int page, int property) const;

    // setters:
    // Rebuilds the tabs for `driver` (not owned); nullptr empties the editor.
    void setDriver(DrivFlex* driver);

    // Snapshot through the driver's page -1; both answer whether the driver confirmed.
    bool saveSnapshot();
    // Restores and re-reads every control.
    bool restoreSnapshot();
    // Re-reads every control from the driver.
    void reload();

signals:
    void propertyEdited(int page, int property);

private:
    void rebuild();
    void applyText(int page, int property);
    void applyOption(int page, int property, int option);

    DrivFlex* m_driver = nullptr;
    QTabWidget* m_tabs = nullptr;
    bool m_loading = false;
};
