// The smaller skinned controls: the splitter and its sink, the link, the
// owner-drawn list rows.
#include <SkinHyperLink.h>
#include <SkinListCtrl.h>
#include <SkinSplitter.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
LPARAM Pt(int x, int y)
{
    return MAKELPARAM((WORD)(short)x, (WORD)(short)y);
}

struct RecordingSink : ISplitterSink
{
    int nButton = 0;
    std::vector<int> positions;
    bool OnSplitterButton(CSkinSplitter*, HWND) override
    {
        ++nButton;
        return true;
    }
    bool OnSplitterEvent(CSkinSplitter*, int nPosition) override
    {
        positions.push_back(nPosition);
        return true;
    }
};

TEST(SkinSplitter, TheButtonIsReportedAndDraggingStaysInItsRange)
{
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateParent(400, 200));
    CSkinSplitter splitter;
    ASSERT_TRUE(splitter.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(290, 0, 299, 200), &parent, 1005));
    RecordingSink sink;
    splitter.SetSplitterSink(&sink);
    splitter.SetSplitterRange(290, 200); // given either way round

    TempFolder folder;
    splitter.ShowSplitterButton(folder.WriteBmp("left.bmp", Pixels(36, 30, RGB(0, 0, 150))).c_str());
    CRect rcButton = splitter.GetButtonRect();
    EXPECT_EQ(rcButton, CRect(0, 85, 9, 115));
    CPoint ptButton = rcButton.CenterPoint();
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptButton.x, ptButton.y));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptButton.x, ptButton.y));
    EXPECT_EQ(sink.nButton, 1);
    Snapshot shot(splitter.m_hWnd);
    EXPECT_EQ(shot.At(4, 100), RGB(0, 0, 150));

    // Dragging follows the pointer within the range.
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 10));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(4 - 30, 10));
    CRect rc;
    splitter.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    EXPECT_EQ(rc.left, 260);
    EXPECT_EQ(rc.Width(), 9);
    // (the splitter moved: the pointer is now 30 pixels right of its old client position)
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(4 - 500 + 30, 10));
    splitter.SendMessage(WM_LBUTTONUP, 0, Pt(4 - 500 + 30, 10));
    splitter.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    EXPECT_EQ(rc.left, 200);
    ASSERT_EQ(sink.positions.size(), 1u);
    EXPECT_EQ(sink.positions[0], 200);

    // Switched off, a press moves nothing.
    splitter.DisableDrag(true);
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 10));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    parent.DestroyWindow();
}

TEST(SkinHyperLink, ClicksReachTheParentAndTheLinkPaintsItsBackground)
{
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateParent(200, 100));
    HWND hStatic = ::CreateWindowExA(0, "STATIC", "手动下载", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, parent.m_hWnd,
                                     (HMENU)1100, NULL, NULL);
    CSkinHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(hStatic));
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    link.SetBackGroundColor(RGB(211, 233, 246));
    Snapshot shot(hStatic);
    EXPECT_EQ(shot.At(79, 0), RGB(211, 233, 246));

    // Without an address a click only tells the parent.
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(parent.Count(WM_COMMAND, STN_CLICKED), 1);
    EXPECT_FALSE(link.m_bVisited);
    parent.DestroyWindow();
}

TEST(SkinListCtrl, OwnerDrawnRowsAlternateTheirColours)
{
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateParent(200, 200));
    CSkinListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
                            CRect(0, 0, 200, 200), &parent, 1039));
    list.InsertColumn(0, "名字", LVCFMT_LEFT, 200);
    list.SetItemColor(RGB(250, 235, 216));
    list.SetItemColorEx(RGB(200, 210, 220));
    list.SetItemHeight(20);
    for (int i = 0; i < 3; ++i)
        list.InsertItem(i, "");
    EXPECT_EQ(list.GetItemColor(0), RGB(250, 235, 216));
    EXPECT_EQ(list.GetItemColor(1), RGB(200, 210, 220));

    CRect rc0, rc1;
    ASSERT_TRUE(list.GetItemRect(0, &rc0, LVIR_BOUNDS));
    ASSERT_TRUE(list.GetItemRect(1, &rc1, LVIR_BOUNDS));
    EXPECT_EQ(rc0.Height(), 20);
    Snapshot shot(list.m_hWnd);
    EXPECT_EQ(shot.At(rc0.left + 100, rc0.top + 10), RGB(250, 235, 216));
    EXPECT_EQ(shot.At(rc1.left + 100, rc1.top + 10), RGB(200, 210, 220));
    parent.DestroyWindow();
}
} // namespace
