#include "GraphSelectorDialog.h"

#include "Textos.h"
#include "TiposGrafica.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// Item data roles of a variable row.
constexpr int kRoleFile = Qt::UserRole;
constexpr int kRoleKey1 = Qt::UserRole + 1;
constexpr int kRoleKey2 = Qt::UserRole + 2;
} // namespace

GraphSelectorDialog::GraphSelectorDialog(const std::vector<RecordingInfo>& files, QWidget* parent)
    : QDialog(parent), m_tree(new QTreeWidget(this)), m_count(new QLabel(this)) {
    setObjectName(QStringLiteral("GraphSelector"));
    setWindowTitle(Texto(TXT_GRAPH_SELECTOR));
    m_tree->setObjectName(QStringLiteral("Variables"));
    m_tree->setColumnCount(3);
    m_tree->setHeaderLabels({Texto(TXT_HG_VARIABLE), Texto(TXT_HG_KIND), Texto(TXT_HG_UNIT)});
    m_tree->setAlternatingRowColors(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setRootIsDecorated(true);

    for (const RecordingInfo& file : files) {
        auto* fileItem = new QTreeWidgetItem(m_tree, {file.name, file.timeRange});
        fileItem->setFirstColumnSpanned(false);
        if (!file.path.isEmpty())
            fileItem->setToolTip(0, file.path);
        fileItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
        fileItem->setCheckState(0, Qt::Unchecked);
        QFont bold = fileItem->font(0);
        bold.setBold(true);
        fileItem->setFont(0, bold);
        for (const VariableInfo& v : file.variables) {
            auto* item = new QTreeWidgetItem(fileItem, {v.name, SourceCatalog::kindName(v.kind), v.unit});
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
            if (Rasgos(v.kind) == nullptr) {
                // Listed, so the user sees it is there, but nothing could open it.
                item->setFlags(Qt::NoItemFlags);
                item->setData(0, Qt::CheckStateRole, QVariant());
                for (int c = 0; c < 3; ++c)
                    item->setToolTip(c, Texto(TXT_HG_NO_WINDOW));
                continue;
            }
            item->setData(0, kRoleFile, file.index);
            item->setData(0, kRoleKey1, v.key1);
            item->setData(0, kRoleKey2, v.key2);
            ++m_total;
        }
        if (file.variables.empty())
            fileItem->setFlags(Qt::NoItemFlags); // nothing to choose in it
    }
    m_tree->expandAll();
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    connect(m_tree, &QTreeWidget::itemChanged, this, [this] { updateCount(); });
    // A double click on a variable toggles it, as users of list pickers expect.
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [](QTreeWidgetItem* item, int) {
        if (item->parent() != nullptr)
            item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    auto* all = new QPushButton(Texto(TXT_HG_SELECT_ALL), this);
    auto* none = new QPushButton(Texto(TXT_HG_SELECT_NONE), this);
    all->setAutoDefault(false);
    none->setAutoDefault(false);
    connect(all, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(none, &QPushButton::clicked, this, [this] { setAllChecked(false); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(all);
    bottom->addWidget(none);
    bottom->addSpacing(12);
    bottom->addWidget(m_count, 1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(bottom);
    resize(560, 420);
    updateCount();
}

std::vector<std::array<int, 3>> GraphSelectorDialog::chosen() const {
    std::vector<std::array<int, 3>> result;
    for (int f = 0; f < m_tree->topLevelItemCount(); ++f) {
        const QTreeWidgetItem* fileItem = m_tree->topLevelItem(f);
        for (int v = 0; v < fileItem->childCount(); ++v) {
            const QTreeWidgetItem* item = fileItem->child(v);
            if (item->checkState(0) == Qt::Checked)
                result.push_back({item->data(0, kRoleFile).toInt(), item->data(0, kRoleKey1).toInt(),
                                  item->data(0, kRoleKey2).toInt()});
        }
    }
    return result;
}

void GraphSelectorDialog::setAllChecked(bool checked) {
    for (int f = 0; f < m_tree->topLevelItemCount(); ++f) {
        QTreeWidgetItem* fileItem = m_tree->topLevelItem(f);
        for (int v = 0; v < fileItem->childCount(); ++v)
            if (fileItem->child(v)->flags() & Qt::ItemIsUserCheckable)
                fileItem->child(v)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

void GraphSelectorDialog::updateCount() {
    m_count->setText(Texto(TXT_HG_SELECTED_COUNT).arg(chosen().size()).arg(m_total));
}
