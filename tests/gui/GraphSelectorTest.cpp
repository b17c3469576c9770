// Variables no graph window can show are listed but no way of choosing reaches them.

#include "GraphSelectorDialog.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

VariableInfo variable(int key2, int kind, const char* name) {
    VariableInfo v;
    v.key1 = 1;
    v.key2 = key2;
    v.kind = kind;
    v.name = QString::fromLatin1(name);
    return v;
}

std::vector<RecordingInfo> recording() {
    RecordingInfo file;
    file.index = 0;
    file.name = QStringLiteral("SITE.STD");
    // Kinds 7, 8, 9 and 12 have no window; 5 (RMS) and 14 (Plt) have.
    file.variables = {variable(10, 5, "Voltage"), variable(11, 7, "Counters"), variable(12, 8, "Status"),
                      variable(13, 9, "Flags"),   variable(14, 12, "Setup"),   variable(15, 14, "Plt")};
    return {file};
}

TEST(GraphSelector, KindsWithoutAWindowAreNeverChosen) {
    GraphSelectorDialog dialog(recording());
    QTreeWidgetItem* file = dialog.tree()->topLevelItem(0);
    ASSERT_EQ(file->childCount(), 6);
    EXPECT_FALSE(file->child(1)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(file->child(5)->flags() & Qt::ItemIsUserCheckable);
    // Neither Select all nor the file's box reaches them.
    dialog.setAllChecked(true);
    std::vector<std::array<int, 3>> expected = {{0, 1, 10}, {0, 1, 15}};
    EXPECT_EQ(dialog.chosen(), expected);

    dialog.setAllChecked(false);
    EXPECT_TRUE(dialog.chosen().empty());
    dialog.tree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(dialog.chosen(), expected);
}

} // namespace
