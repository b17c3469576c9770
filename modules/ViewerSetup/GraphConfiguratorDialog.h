#pragma once

#include <QDialog>

class DrivFlex;
class PropertyPagesEditor;

// The pages of one window driver in a dialog. Opening it takes the driver's snapshot; edits
// reach the driver at once; rejecting it restores the snapshot.
class GraphConfiguratorDialog : public QDialog {
    Q_OBJECT
public:
    GraphConfiguratorDialog(DrivFlex* driver, QWidget* parent = nullptr);

    // getters:
    PropertyPagesEditor* editor() const { return m_editor; }

    // Runs the dialog through the host's dialog runner; on any result but Accepted the
    // driver's snapshot is restored. Returns the result code.
    int run();

private:
    PropertyPagesEditor* m_editor = nullptr;
};
