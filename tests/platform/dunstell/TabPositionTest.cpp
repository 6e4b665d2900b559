// The main frame and the match room include both the widget library's tab
// widget and the skinned tab strip; their two tab positions must not clash.
#include <SkinTabManager.h>
#include <TabWidget.h>

#include <gtest/gtest.h>

// The widget library's values are the system's own and stay as they are.
static_assert(enTabPositionTop == 0 && enTabPositionBottom == 1 && enTabPositionLeft == 2 && enTabPositionRight == 3,
              "widget tab positions");

TEST(TabPositionTest, BothPositionsLiveSideBySide)
{
    CSkinTabManager manager;
    EXPECT_EQ(CSkinTabManager::SkinTabTop, manager.GetPosition());
    manager.SetPosition(CSkinTabManager::SkinTabLeft);
    EXPECT_EQ(CSkinTabManager::SkinTabLeft, manager.GetPosition());
    EXPECT_FALSE(manager.IsHorizontalPosition());
}
