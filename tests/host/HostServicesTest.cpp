#include "UserInteraction.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

// Messages, dialogs, help and the host directory are exercised through the test main's handlers
// by every suite; the wait cursor is not.
TEST(UserInteraction, WaitCursorRestoresThePreviousCursor) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        host::WaitCursor outer;
        {
            host::WaitCursor inner;
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
        }
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
