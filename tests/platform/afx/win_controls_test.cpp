// Controls and window geometry: the wrappers that do more than forward a
// message (text buffers, item data, tool records, owner drawing, centring).
#include "win_test_util.h"

#include <afxcmn.h>
#include <gtest/gtest.h>

namespace
{

class ControlsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CRect Box() const { return CRect(0, 0, 200, 150); }

    CWnd m_parent;
};

TEST_F(ControlsFixture, ComboAndListBoxTexts)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(CBS_DROPDOWN | WS_VISIBLE | WS_VSCROLL, Box(), &m_parent, 1));
    EXPECT_EQ(combo.AddString("一"), 0);
    EXPECT_EQ(combo.AddString("二二"), 1);
    EXPECT_EQ(combo.InsertString(0, "零"), 0);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.SetItemData(2, 0x1234), 1);
    EXPECT_EQ(combo.GetItemData(2), 0x1234u);
    CString str;
    combo.GetLBText(2, str);
    EXPECT_STREQ(str, "二二");
    combo.GetLBText(9, str); // no such item: empty, not garbage
    EXPECT_TRUE(str.IsEmpty());
    EXPECT_EQ(combo.FindStringExact(-1, "一"), 1);
    EXPECT_EQ(combo.SelectString(-1, "二"), 2);
    EXPECT_EQ(combo.GetCurSel(), 2);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);

    CListBox list;
    ASSERT_TRUE(list.Create(LBS_NOTIFY | WS_VISIBLE, Box(), &m_parent, 2));
    list.AddString("甲");
    list.AddString("乙乙");
    list.GetText(1, str);
    EXPECT_STREQ(str, "乙乙");
    list.GetText(5, str);
    EXPECT_TRUE(str.IsEmpty());
}

TEST_F(ControlsFixture, EditLinesAndSelection)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(ES_MULTILINE | WS_VISIBLE, Box(), &m_parent, 3));
    edit.SetWindowText("第一行\r\nsecond");
    EXPECT_EQ(edit.GetLineCount(), 2);
    char szLine[16];
    int nLen = edit.GetLine(1, szLine, sizeof(szLine));
    EXPECT_EQ(CString(szLine, nLen), CString("second"));
    EXPECT_EQ(edit.GetLine(1, szLine, 1), 0); // too small for the size word
    edit.SetSel(0, 3);
    int nStart = -1, nEnd = -1;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 3);
    edit.LimitText(5);
    EXPECT_EQ(edit.GetLimitText(), 5u);

    CEdit password;
    ASSERT_TRUE(password.Create(ES_AUTOHSCROLL | WS_VISIBLE, Box(), &m_parent, 30));
    password.SetPasswordChar('*');
    EXPECT_EQ(password.GetPasswordChar(), '*');
}

TEST_F(ControlsFixture, ListViewItemsAndData)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, Box(), &m_parent, 4));
    EXPECT_EQ(list.InsertColumn(0, "名字", LVCFMT_LEFT, 80), 0);
    EXPECT_EQ(list.InsertColumn(1, "分数", LVCFMT_RIGHT, 60), 1);
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 2);
    EXPECT_EQ(list.InsertItem(0, "张三"), 0);
    EXPECT_EQ(list.InsertItem(1, "李四"), 1);
    EXPECT_TRUE(list.SetItemText(1, 1, "99"));
    EXPECT_TRUE(list.SetItemData(1, 0xBEEF));
    EXPECT_EQ(list.GetItemData(1), 0xBEEFu);
    EXPECT_EQ(list.GetItemData(7), 0u);
    EXPECT_STREQ(list.GetItemText(1, 0), "李四");
    EXPECT_STREQ(list.GetItemText(1, 1), "99");
    CString strLong('x', 700); // longer than the first buffer
    list.SetItemText(0, 1, strLong);
    EXPECT_EQ(list.GetItemText(0, 1).GetLength(), 700);

    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    POSITION pos = list.GetFirstSelectedItemPosition();
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(list.GetNextSelectedItem(pos), 1);
    EXPECT_EQ(pos, nullptr);

    LVFINDINFO find = {LVFI_STRING, "张三"};
    EXPECT_EQ(list.FindItem(&find), 0);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 1);
}

class COwnerDrawList : public CListCtrl
{
public:
    int m_nDrawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++m_nDrawn; }
};

TEST_F(ControlsFixture, OwnerDrawnListDrawsThroughReflection)
{
    COwnerDrawList list;
    ASSERT_TRUE(list.Create(LVS_REPORT | LVS_OWNERDRAWFIXED | WS_VISIBLE, Box(), &m_parent, 5));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTVIEW;
    dis.CtlID = 5;
    dis.hwndItem = list.m_hWnd;
    m_parent.SendMessage(WM_DRAWITEM, 5, (LPARAM)&dis);
    EXPECT_EQ(list.m_nDrawn, 1);
}

TEST_F(ControlsFixture, TreeItemsTextAndData)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(TVS_HASBUTTONS | WS_VISIBLE, Box(), &m_parent, 6));
    HTREEITEM hRoot = tree.InsertItem("大厅");
    HTREEITEM hChild = tree.InsertItem("房间", hRoot);
    HTREEITEM hSecond = tree.InsertItem("房间二", 1, 2, hRoot);
    ASSERT_NE(hChild, nullptr);
    EXPECT_EQ(tree.GetParentItem(hChild), hRoot);
    EXPECT_EQ(tree.GetChildItem(hRoot), hChild);
    EXPECT_EQ(tree.GetNextSiblingItem(hChild), hSecond);
    EXPECT_TRUE(tree.ItemHasChildren(hRoot));
    EXPECT_STREQ(tree.GetItemText(hSecond), "房间二");
    EXPECT_TRUE(tree.SetItemText(hChild, "改名"));
    EXPECT_STREQ(tree.GetItemText(hChild), "改名");
    EXPECT_TRUE(tree.SetItemData(hChild, 77));
    EXPECT_EQ(tree.GetItemData(hChild), 77u);
    int nImage = -1, nSelected = -1;
    EXPECT_TRUE(tree.GetItemImage(hSecond, nImage, nSelected));
    EXPECT_EQ(nImage, 1);
    EXPECT_EQ(nSelected, 2);
    EXPECT_EQ(tree.GetCount(), 3u);
}

TEST_F(ControlsFixture, TabsImagesAndTips)
{
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_VISIBLE, Box(), &m_parent, 7));
    EXPECT_EQ(tabs.InsertItem(0, "第一"), 0);
    EXPECT_EQ(tabs.InsertItem(1, "第二"), 1);
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.GetCurSel(), 1);

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
    CDC screen;
    screen.Attach(::GetDC(NULL));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 32, 16));
    ::ReleaseDC(NULL, screen.Detach());
    EXPECT_EQ(images.Add(&bitmap, RGB(255, 0, 255)), 0); // two images from one strip
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_EQ(CImageList::FromHandle(images.m_hImageList), &images);
    tabs.SetImageList(&images);
    EXPECT_EQ(tabs.GetImageList(), &images);
    tabs.SetImageList(NULL);

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&m_parent, TTS_ALWAYSTIP));
    EXPECT_TRUE(tips.AddTool(&tabs, "整个窗口"));
    EXPECT_TRUE(tips.AddTool(&m_parent, "一块", CRect(0, 0, 10, 10), 5));
    EXPECT_EQ(tips.GetToolCount(), 2);
    TOOLINFO ti;
    EXPECT_TRUE(tips.GetToolInfo(ti, &tabs));
    EXPECT_TRUE(ti.uFlags & TTF_IDISHWND);
    EXPECT_EQ(ti.uId, (UINT_PTR)tabs.m_hWnd);
    tips.DelTool(&m_parent, 5);
    EXPECT_EQ(tips.GetToolCount(), 1);
}

TEST_F(ControlsFixture, RichEditSelection)
{
    ASSERT_TRUE(AfxInitRichEdit2());
    CRichEditCtrl rich;
    ASSERT_TRUE(rich.Create(ES_MULTILINE | WS_VISIBLE, Box(), &m_parent, 8));
    rich.SetWindowText("abc");
    rich.SetSel(3, 3);
    rich.ReplaceSel("中文");
    EXPECT_EQ(rich.GetTextLength(), 5); // characters
    rich.SetSel(1, 4);
    long nStart = 0, nEnd = 0;
    rich.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 1);
    EXPECT_EQ(nEnd, 4);
    EXPECT_STREQ(rich.GetSelText(), "bc中");
    CString strRange;
    rich.GetTextRange(3, 5, strRange);
    EXPECT_STREQ(strRange, "中文");

    // The CHARFORMAT2 overloads carry the effects CHARFORMAT has no room for.
    CHARFORMAT2 cf = {};
    cf.dwMask = CFM_LINK | CFM_COLOR;
    cf.dwEffects = CFE_LINK;
    cf.crTextColor = RGB(1, 2, 3);
    EXPECT_TRUE(rich.SetSelectionCharFormat(cf));
    CHARFORMAT2 got = {};
    rich.GetSelectionCharFormat(got);
    EXPECT_EQ(got.cbSize, sizeof(CHARFORMAT2));
    EXPECT_TRUE(got.dwEffects & CFE_LINK);
    EXPECT_EQ(got.crTextColor, RGB(1, 2, 3));
    rich.SetSel(0, 1);
    rich.GetSelectionCharFormat(got);
    EXPECT_FALSE(got.dwEffects & CFE_LINK);
    CHARFORMAT2 def = {};
    def.dwMask = CFM_BACKCOLOR;
    def.crBackColor = RGB(9, 8, 7);
    EXPECT_TRUE(rich.SetDefaultCharFormat(def));
    CHARFORMAT2 gotDef = {};
    rich.GetDefaultCharFormat(gotDef);
    EXPECT_EQ(gotDef.crBackColor, RGB(9, 8, 7));

    IRichEditOle* pOle = rich.GetIRichEditOle();
    ASSERT_NE(pOle, nullptr);
    pOle->Release();
}

// ------------------------------------------------------------------ geometry and relatives

TEST_F(ControlsFixture, CentringAStyleChangeAndRelatives)
{
    CWnd child;
    ASSERT_TRUE(child.Create(NULL, "", WS_VISIBLE, CRect(0, 0, 50, 20), &m_parent, 9));
    child.CenterWindow();
    CRect rc;
    child.GetWindowRect(&rc);
    m_parent.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(175, 140, 225, 160));

    EXPECT_FALSE(child.ModifyStyle(0, WS_VISIBLE)); // nothing changed
    EXPECT_TRUE(child.ModifyStyle(0, WS_BORDER));
    EXPECT_TRUE(child.GetStyle() & WS_BORDER);
    EXPECT_TRUE(child.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED));
    EXPECT_TRUE(child.GetExStyle() & WS_EX_CLIENTEDGE);

    CWnd grandChild;
    ASSERT_TRUE(grandChild.Create(NULL, "", WS_VISIBLE, CRect(0, 0, 5, 5), &child, 10));
    EXPECT_EQ(grandChild.GetTopLevelParent(), &m_parent);
    EXPECT_EQ(grandChild.GetParentOwner(), &m_parent);
    EXPECT_TRUE(m_parent.IsChild(&grandChild));

    // An owned pop-up of the child belongs to the parent's top level.
    HWND hWndTop = NULL;
    HWND hOwner = CWnd::GetSafeOwner_(grandChild.m_hWnd, &hWndTop);
    EXPECT_EQ(hOwner, m_parent.m_hWnd);
    EXPECT_EQ(hWndTop, (HWND)NULL); // the owner is the top level: nothing disabled

    m_parent.SetDlgItemInt(9, (UINT)-42);
    BOOL bTranslated = FALSE;
    EXPECT_EQ((int)m_parent.GetDlgItemInt(9, &bTranslated), -42);
    EXPECT_TRUE(bTranslated);
}

TEST_F(ControlsFixture, TopLevelPopupCentresOnItsOwner)
{
    m_parent.MoveWindow(100, 50, 400, 300);
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 100, 60, m_parent.m_hWnd, NULL));
    popup.CenterWindow();
    CRect rc;
    popup.GetWindowRect(&rc);
    EXPECT_EQ(rc.TopLeft(), CPoint(250, 170));
    popup.DestroyWindow();
}

class CCountingChild : public CWnd
{
public:
    int m_nSeen = 0;

protected:
    afx_msg LRESULT OnUser(WPARAM, LPARAM)
    {
        ++m_nSeen;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingChild, CWnd)
    ON_MESSAGE(WM_USER + 20, OnUser)
END_MESSAGE_MAP()

TEST_F(ControlsFixture, MessagesToDescendants)
{
    CCountingChild a, b, deep;
    ASSERT_TRUE(a.Create(NULL, "", WS_VISIBLE, CRect(0, 0, 5, 5), &m_parent, 11));
    ASSERT_TRUE(b.Create(NULL, "", WS_VISIBLE, CRect(0, 0, 5, 5), &m_parent, 12));
    ASSERT_TRUE(deep.Create(NULL, "", WS_VISIBLE, CRect(0, 0, 5, 5), &a, 13));
    m_parent.SendMessageToDescendants(WM_USER + 20, 0, 0, FALSE);
    EXPECT_EQ(a.m_nSeen + b.m_nSeen + deep.m_nSeen, 2);
    m_parent.SendMessageToDescendants(WM_USER + 20, 0, 0, TRUE);
    EXPECT_EQ(a.m_nSeen, 2);
    EXPECT_EQ(b.m_nSeen, 2);
    EXPECT_EQ(deep.m_nSeen, 1);
}

} // namespace
