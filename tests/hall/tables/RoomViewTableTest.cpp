// The table room view and its toolbar: layout, the caption, the filter
// toggle, the button sets, clicks and menu commands reaching the room
// window, and the option and create-table dialogs.
#include "RoomViewItemTable.h"

#include "AfxModalScript.h"
#include "GlobalUnits.h"
#include "TableTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// An empty dialog in memory, for the dialogs the room window makes.
class EmptyDialogTemplate
{
public:
    EmptyDialogTemplate()
    {
        DLGTEMPLATE dt = {};
        dt.style = WS_POPUP | WS_CAPTION;
        dt.cx = 100;
        dt.cy = 50;
        const WORD* pw = (const WORD*)&dt;
        m_words.assign(pw, pw + sizeof(dt) / sizeof(WORD));
        m_words.insert(m_words.end(), {0, 0, 0}); // menu, class, title
    }
    LPCDLGTEMPLATE Get() const { return (LPCDLGTEMPLATE)m_words.data(); }

private:
    std::vector<WORD> m_words;
};

class RoomDouble : public ITableRoomHost
{
public:
    std::vector<std::string> calls;
    CGameRoom* GetGameRoom() override { return NULL; }
    DWORD GetMatchId() override { return 0xFFFFFFFF; }
    ICycleMatchPage* CreateCycleMatchPage(CWnd*) override { return NULL; }
    void QuickJoinTable() override { calls.push_back("QuickJoinTable"); }
    void CloseRoom() override { calls.push_back("CloseRoom"); }
    void ShowBankStorage(int page) override { calls.push_back("ShowBankStorage" + std::to_string(page)); }
    void ShowSpeakDlg() override { calls.push_back("ShowSpeakDlg"); }
    void ShowFindUserDlg() override { calls.push_back("ShowFindUserDlg"); }
    void ShowHBExchange() override { calls.push_back("ShowHBExchange"); }
    void UseItemByKind(int kind) override { calls.push_back("UseItemByKind" + std::to_string(kind)); }
    CDialog* CreateOptionDlg() override { return MakeDialog("OptionDlg"); }
    bool SendUserRule() override
    {
        calls.push_back("SendUserRule");
        return true;
    }
    CDialog* CreateTableDlg() override { return MakeDialog("CreateTableDlg"); }
    bool RequestCreateTable() override
    {
        calls.push_back("RequestCreateTable");
        return true;
    }

private:
    CDialog* MakeDialog(const char* name)
    {
        calls.push_back(name);
        CDialog* dialog = new CDialog;
        dialog->InitModalIndirect(m_template.Get());
        return dialog;
    }
    EmptyDialogTemplate m_template;
};

class RoomViewTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_GlobalUnits.SetWorkDirectory(m_folder.Folder());
        // Exit 40 wide, other commands 50: pictures of four states side by side.
        m_folder.WriteBmp("Res\\GameRoom\\ToolBar\\exit.bmp", skintest::Pixels(160, 23, RGB(10, 10, 200)));
        ASSERT_TRUE(tabletest::WritePng(m_folder, "Res\\GameRoom\\ToolBar\\other.png", 200, 23, RGB(200, 10, 10)));
    }
    void TearDown() override
    {
        if (m_parent.GetSafeHwnd() != NULL)
            m_parent.DestroyWindow();
        g_GlobalUnits.SetWorkDirectory("");
    }

    void Create(CRoomViewItemTable& view, int cx, int cy)
    {
        ASSERT_TRUE(m_parent.CreateParent(cx, cy));
        ASSERT_TRUE(view.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), &m_parent, 100));
    }

    static CRect RectIn(CWnd& parent, CWnd* child)
    {
        CRect rc;
        child->GetWindowRect(&rc);
        parent.ScreenToClient(&rc);
        return rc;
    }

    static void Relayout(CWnd& wnd)
    {
        CRect rc;
        wnd.GetClientRect(&rc);
        wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
    }

    static void Click(CTableToolBar* toolbar, UINT id)
    {
        toolbar->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar->GetDlgItem(id)->m_hWnd);
    }

    static std::vector<UINT> Visible(CTableToolBar* toolbar)
    {
        std::vector<UINT> ids;
        const UINT all[] = {1000, 1002, 1003, 1004, 1005, 1007, 1008, 1009, 1010, 1011, 1012, 1013};
        for (UINT id : all)
            if (toolbar->GetDlgItem(id)->GetStyle() & WS_VISIBLE)
                ids.push_back(id);
        return ids;
    }

    skintest::TempFolder m_folder;
    skintest::RecordingParent m_parent;
    RoomDouble m_room;
};

TEST_F(RoomViewTableTest, ToolbarAboveTheGridInOneStrip)
{
    CRoomViewItemTable view(&m_room);
    view.SetToolBarText("before"); // no window yet: nothing
    Create(view, 800, 600);
    EXPECT_EQ(RectIn(view, view.GetToolBar()), CRect(13, 0, 799, 23));
    EXPECT_EQ(RectIn(view, view.GetTableFrame()), CRect(13, 23, 799, 598));

    CString caption;
    view.GetToolBar()->GetDlgItemText(IDC_TOOLBAR_CAPTION, caption);
    EXPECT_EQ(caption, "");
    view.SetToolBarText("房间一");
    view.GetToolBar()->GetDlgItemText(IDC_TOOLBAR_CAPTION, caption);
    EXPECT_EQ(caption, "房间一");

    DWORD gameId = 1, roomId = 1;
    EXPECT_FALSE(view.GetGameRoomIds(&gameId, &roomId));
    EXPECT_EQ(gameId, 0u);
    EXPECT_EQ(roomId, 0u);
}

TEST_F(RoomViewTableTest, TheFilterToggleAndTheModeReachTheGrid)
{
    CRoomViewItemTable view(&m_room);
    Create(view, 800, 600);
    CTableFrame* grid = view.GetTableFrame();
    ASSERT_EQ(grid->GetDisplayFlags(), TABLE_DISPLAY_ALL);
    view.ToggleTableFilter();
    EXPECT_EQ(grid->GetDisplayFlags(), TABLE_DISPLAY_FREE);
    view.ToggleTableFilter();
    EXPECT_EQ(grid->GetDisplayFlags(), TABLE_DISPLAY_ALL);

    view.SetTableMode(TABLE_MODE_ANTI_CHEAT, true);
    EXPECT_EQ(view.GetTableMode(), (DWORD)TABLE_MODE_ANTI_CHEAT);
    EXPECT_EQ(grid->GetTableMode(), TABLE_MODE_ANTI_CHEAT);
}

TEST_F(RoomViewTableTest, ButtonSetsAndTheirPlaces)
{
    CRoomViewItemTable view(&m_room);
    Create(view, 714, 400);
    CTableToolBar* bar = view.GetToolBar();
    auto x = [&](UINT id) { return RectIn(*bar, bar->GetDlgItem(id)).left; };

    view.ShowBankButtons(false, false);
    Relayout(*bar);
    EXPECT_EQ(Visible(bar), (std::vector<UINT>{1000, 1002, 1003, 1007, 1009}));
    EXPECT_EQ(x(1002), 660);
    EXPECT_EQ(x(1009), 600);
    EXPECT_EQ(x(1007), 543);
    EXPECT_EQ(x(1008), 543);
    EXPECT_EQ(x(1000), 413);
    EXPECT_EQ(RectIn(*bar, bar->GetDlgItem(IDC_TOOLBAR_CAPTION)), CRect(6, 7, 6 + 413, 7 + 15));

    view.ShowBankButtons(false, true);
    Relayout(*bar);
    EXPECT_EQ(Visible(bar), (std::vector<UINT>{1000, 1002, 1003, 1007, 1009, 1013}));
    EXPECT_EQ(x(1013), 456);
    EXPECT_EQ(x(1000), 456 * 3 / 4 + 6);

    view.ShowBankButtons(true, true);
    Relayout(*bar);
    EXPECT_TRUE(bar->IsBankMode());
    EXPECT_EQ(Visible(bar), (std::vector<UINT>{1002, 1003, 1009, 1010, 1011, 1012}));
    EXPECT_EQ(x(1012), 547);
    EXPECT_EQ(x(1010), 488);
    EXPECT_EQ(x(1011), 425);
    EXPECT_EQ(RectIn(*bar, bar->GetDlgItem(IDC_TOOLBAR_CAPTION)).Width(), 425 * 3 / 4 + 6);
}

TEST_F(RoomViewTableTest, ASpecialModeHidesTheNormalSetEvenAfterAllTables)
{
    CRoomViewItemTable view(&m_room);
    Create(view, 714, 400);
    CTableToolBar* bar = view.GetToolBar();
    view.ShowBankButtons(false, true);
    Click(bar, IDC_TOOLBAR_EMPTY_TABLES);
    EXPECT_EQ(Visible(bar), (std::vector<UINT>{1000, 1002, 1003, 1008, 1009, 1013}));
    view.SetTableMode(TABLE_MODE_SINGLE, false);
    Relayout(*bar);
    EXPECT_EQ(Visible(bar), (std::vector<UINT>{1002, 1003, 1009}));
}

TEST_F(RoomViewTableTest, ButtonsReachTheRoomWindow)
{
    CRoomViewItemTable view(&m_room);
    Create(view, 800, 600);
    CTableToolBar* bar = view.GetToolBar();
    view.ShowBankButtons(false, true);
    const struct
    {
        UINT id;
        std::vector<std::string> calls;
        WORD flags;
    } cases[] = {
        {1000, {"QuickJoinTable"}, TABLE_DISPLAY_ALL},
        {1002, {"CloseRoom"}, TABLE_DISPLAY_ALL},
        {1005, {"ShowSpeakDlg"}, TABLE_DISPLAY_ALL},
        {1007, {}, TABLE_DISPLAY_FREE},
        {1008, {}, TABLE_DISPLAY_ALL},
        {1010, {"ShowBankStorage0"}, TABLE_DISPLAY_ALL},
        {1011, {"ShowBankStorage1"}, TABLE_DISPLAY_ALL},
        {1013, {"ShowHBExchange"}, TABLE_DISPLAY_ALL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        m_room.calls.clear();
        Click(bar, c.id);
        EXPECT_EQ(m_room.calls, c.calls);
        EXPECT_EQ(view.GetTableFrame()->GetDisplayFlags(), c.flags);
    }
    // The filter buttons swap on each press.
    Click(bar, IDC_TOOLBAR_EMPTY_TABLES);
    EXPECT_FALSE(bar->GetDlgItem(IDC_TOOLBAR_EMPTY_TABLES)->IsWindowVisible());
    EXPECT_TRUE(bar->GetDlgItem(IDC_TOOLBAR_ALL_TABLES)->IsWindowVisible());
    Click(bar, IDC_TOOLBAR_ALL_TABLES);
    EXPECT_TRUE(bar->GetDlgItem(IDC_TOOLBAR_EMPTY_TABLES)->IsWindowVisible());
    EXPECT_FALSE(bar->GetDlgItem(IDC_TOOLBAR_ALL_TABLES)->IsWindowVisible());
}

TEST_F(RoomViewTableTest, TheCommandMenuFollowsModeAndBankSet)
{
    CRoomViewItemTable view(&m_room);
    Create(view, 800, 600);
    CTableToolBar* bar = view.GetToolBar();
    const struct
    {
        DWORD mode;
        bool bank;
        std::vector<UINT> items;
    } cases[] = {
        {0, false, {1525, 1526, 0, 1527, 1528}},
        {0, true, {1525, 1526, 0, 1527}},
        {2, false, {1525, 1526, 0}},
        {1, true, {1525, 1526, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode * 10 + c.bank);
        view.SetTableMode(c.mode, false);
        view.ShowBankButtons(c.bank, false);
        std::vector<UINT> items;
        CModalScript script;
        script.Then([&](AFX_MODAL_REQUEST& request) {
            EXPECT_EQ(request.nKind, afxModalPopupMenu);
            for (const AFX_MENU_ITEM& item : request.menuItems)
                items.push_back(item.nID);
            return (INT_PTR)1526;
        });
        m_room.calls.clear();
        Click(bar, IDC_TOOLBAR_OTHER);
        skintest::PumpPending();
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(m_room.calls, (std::vector<std::string>{"UseItemByKind9"}));
    }
}

TEST_F(RoomViewTableTest, MenuCommandsAndDialogs)
{
    CRoomViewItemTable view(&m_room);
    Create(view, 800, 600);
    CTableToolBar* bar = view.GetToolBar();
    const struct
    {
        UINT id;
        INT_PTR answer; // of the dialog, when one runs
        std::vector<std::string> calls;
    } cases[] = {
        {1524, 0, {"UseItemByKind8"}},
        {1525, 0, {"UseItemByKind7"}},
        {1526, 0, {"UseItemByKind9"}},
        {1527, 0, {"ShowFindUserDlg"}},
        {1528, IDOK, {"OptionDlg", "SendUserRule"}},
        {1528, IDCANCEL, {"OptionDlg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CModalScript script;
        if (c.answer != 0)
            script.Answer(c.answer);
        m_room.calls.clear();
        bar->SendMessage(WM_COMMAND, c.id, 0);
        EXPECT_EQ(m_room.calls, c.calls);
    }

    const struct
    {
        UINT id;
        INT_PTR answer;
        std::vector<std::string> calls;
    } buttons[] = {
        {IDC_TOOLBAR_OPTION, IDOK, {"OptionDlg", "SendUserRule"}},
        {IDC_TOOLBAR_OPTION, IDCANCEL, {"OptionDlg"}},
        {IDC_TOOLBAR_CREATE_TABLE, IDOK, {"CreateTableDlg", "RequestCreateTable"}},
        {IDC_TOOLBAR_CREATE_TABLE, IDCANCEL, {"CreateTableDlg"}},
    };
    for (const auto& c : buttons) {
        SCOPED_TRACE(c.id);
        CModalScript script;
        script.Answer(c.answer);
        m_room.calls.clear();
        Click(bar, c.id);
        EXPECT_EQ(m_room.calls, c.calls);
        ASSERT_EQ(script.Count(), 1u);
        EXPECT_EQ(script.At(0).nKind, afxModalDialog);
    }
}

TEST_F(RoomViewTableTest, ARightClickOnTheCaptionOpensNothing)
{
    CRoomViewItemTable view(&m_room);
    Create(view, 800, 600);
    CTableToolBar* bar = view.GetToolBar();
    CModalScript script;
    MSG msg = {};
    msg.hwnd = bar->GetDlgItem(IDC_TOOLBAR_CAPTION)->m_hWnd;
    msg.message = WM_RBUTTONDOWN;
    msg.lParam = MAKELPARAM(5, 5);
    EXPECT_TRUE(bar->PreTranslateMessage(&msg));
    msg.hwnd = bar->GetDlgItem(IDC_TOOLBAR_EXIT)->m_hWnd;
    EXPECT_FALSE(bar->PreTranslateMessage(&msg));
    msg.hwnd = bar->GetDlgItem(IDC_TOOLBAR_CAPTION)->m_hWnd;
    msg.message = WM_LBUTTONDOWN;
    EXPECT_FALSE(bar->PreTranslateMessage(&msg));
    EXPECT_EQ(script.Count(), 0u);
}
} // namespace
