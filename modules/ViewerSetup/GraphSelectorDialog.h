#pragma once

#include "SourceCatalog.h"

#include <QDialog>

#include <array>
#include <vector>

class QLabel;
class QTreeWidget;

// Lists the open recording files and, under each, its variables with a check box, the graph
// kind and the unit. The choice is read as triples (file index, first key, second key).
class GraphSelectorDialog : public QDialog {
    Q_OBJECT
public:
    GraphSelectorDialog(const std::vector<RecordingInfo>& files, QWidget* parent = nullptr);

    // getters:
    QTreeWidget* tree() const { return m_tree; }
    // Checked variables in the order shown.
    std::vector<std::array<int, 3>> chosen() const;

    // setters:
    void setAllChecked(bool checked);

private:
    void updateCount();

    QTreeWidget* m_tree = nullptr;
    QLabel* m_count = nullptr;
    int m_total = 0;
};
