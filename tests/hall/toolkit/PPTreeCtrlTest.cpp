// The owner-drawn tree: rows, separators and background, the signs of
// expanded rows, one invalidation per hovered row, and the enter button.
#include <PPTreeCtrl.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const COLORREF kTreeBack = RGB(250, 250, 250);
const COLORREF kCollapsed = RGB(200, 0, 0);
const COLORREF kExpanded = RGB(0, 160, 0);

class RecordingTree : public CPPTreeCtrl
{
public:
    HTREEITEM clicked = NULL;
    int clicks = 0;
    void OnEnterButtonClick(HTREEITEM hItem) override
    {
        clicked = hItem;
        ++clicks;
    }
};

class PPTreeCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateParent(300, 300));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                                      TVS_NONEVENHEIGHT,
                                  CRect(0, 0, 240, 200), &m_parent, 100));
        m_tree.SetBkColor(kTreeBack);
        m_group = m_tree.InsertItem("group");
        m_leaf1 = m_tree.InsertItem("first", m_group);
        m_leaf2 = m_tree.InsertItem("second", m_group);
        m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, (LPARAM)m_group);
        m_tree.SetSignImages(m_folder.WriteBmp("closed.bmp", Pixels(9, 9, kCollapsed)).c_str(),
                             m_folder.WriteBmp("open.bmp", Pixels(9, 9, kExpanded)).c_str());
        Pixels button(40, 16, RGB(0, 0, 200));
        button.Fill(20, 0, 20, 16, RGB(0, 200, 200));
        m_tree.SetEnterButtonImage(m_folder.WriteBmp("enter.bmp", button).c_str());
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CRect Row(HTREEITEM hItem)
    {
        CRect rc;
        m_tree.GetItemRect(hItem, &rc, FALSE);
        return rc;
    }
    // The tree waits for the release inside its button-down handling.
    void Click(int x, int y)
    {
        m_tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        m_tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PumpMessages();
    }
    void Move(int x, int y) { m_tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    bool Invalid()
    {
        RECT rc;
        return ::GetUpdateRect(m_tree.m_hWnd, &rc, FALSE) != FALSE;
    }

    TempFolder m_folder;
    RecordingParent m_parent;
    RecordingTree m_tree;
    HTREEITEM m_group = NULL, m_leaf1 = NULL, m_leaf2 = NULL;
};

TEST_F(PPTreeCtrlTest, RowsAreTwentyFiveHighWithSeparatorsAndBackgroundBelow)
{
    // The tree here rounds odd row heights down to even ones.
    EXPECT_GE(Row(m_group).Height(), CPPTreeCtrl::ROW_HEIGHT - 1);
    EXPECT_GT(Row(m_group).Height(), 23);
    Canvas canvas(240, 200, RGB(0, 0, 0));
    m_tree.DrawBackground(canvas.Cdc());
    m_tree.DrawItems(canvas.Cdc());
    const CRect last = Row(m_leaf2);
    EXPECT_EQ(RGB(0xEB, 0xEB, 0xEB), canvas.At(120, Row(m_group).bottom - 1));
    EXPECT_EQ(RGB(0xEB, 0xEB, 0xEB), canvas.At(120, last.bottom - 1));
    for (int y = last.bottom; y < 200; y += 7)
        EXPECT_EQ(kTreeBack, canvas.At(120, y)) << y;
}

TEST_F(PPTreeCtrlTest, ExpandedRowsShowTheExpandedSign)
{
    Canvas canvas(240, 200, RGB(0, 0, 0));
    m_tree.DrawBackground(canvas.Cdc());
    m_tree.DrawItems(canvas.Cdc());
    CRect text;
    m_tree.GetItemRect(m_group, &text, TRUE);
    const int x = text.left + 9 - 5 - 1 - 9; // the sign ends signGap + 1 before x
    const CRect row = Row(m_group);
    ASSERT_GE(x, 0);
    EXPECT_EQ(kExpanded, canvas.At(x + 4, row.top + row.Height() / 2));

    m_tree.SendMessage(TVM_EXPAND, TVE_COLLAPSE, (LPARAM)m_group);
    Canvas collapsed(240, 200, RGB(0, 0, 0));
    m_tree.DrawItems(collapsed.Cdc());
    EXPECT_EQ(kCollapsed, collapsed.At(x + 4, row.top + row.Height() / 2));
}

TEST_F(PPTreeCtrlTest, HoveringARowInvalidatesItOnce)
{
    m_tree.UpdateWindow();
    const CRect first = Row(m_leaf1);
    Move(50, first.top + 3);
    EXPECT_EQ(m_leaf1, m_tree.GetHotItem());
    EXPECT_TRUE(Invalid());
    m_tree.ValidateRect(NULL);
    Move(60, first.top + 10);
    Move(90, first.bottom - 2);
    EXPECT_FALSE(Invalid());
    Move(60, Row(m_leaf2).top + 3);
    EXPECT_EQ(m_leaf2, m_tree.GetHotItem());
    EXPECT_TRUE(Invalid());
}

TEST_F(PPTreeCtrlTest, EnterButtonClickReportsItsRowOtherClicksSelect)
{
    const CRect first = Row(m_leaf1);
    Move(50, first.top + 3);
    const CRect button = m_tree.GetEnterButtonRect();
    ASSERT_FALSE(button.IsRectEmpty());
    EXPECT_EQ(230, button.right);
    EXPECT_EQ(first.top + 6, button.top);
    EXPECT_EQ(20, button.Width());
    Move(button.left + 2, button.top + 2);
    EXPECT_TRUE(m_tree.IsOverEnterButton());
    Click(button.left + 2, button.top + 2);
    EXPECT_EQ(1, m_tree.clicks);
    EXPECT_EQ(m_leaf1, m_tree.clicked);

    const CRect second = Row(m_leaf2);
    Move(60, second.top + 3);
    Click(60, second.top + 3);
    EXPECT_EQ(1, m_tree.clicks);
    EXPECT_EQ(m_leaf2, m_tree.GetSelectedItem());
}

TEST_F(PPTreeCtrlTest, ContentSizeFollowsTheClient)
{
    m_tree.MoveWindow(0, 0, 180, 150);
    const CSize size = m_tree.GetContentSize();
    CRect client;
    m_tree.GetClientRect(&client);
    EXPECT_GE(size.cx, client.Width());
    EXPECT_GE(size.cy, client.Height());
}
} // namespace
