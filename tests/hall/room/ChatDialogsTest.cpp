// The room's small dialogs against a room view entered on the scripted room
// server: the loudspeaker dialog, the whisper window and the find-player
// dialog.
#include "ChatBarTest.h"

#include "ChatToolBar.h"
#include "FindUserDlg.h"
#include "GlobalUnits.h"
#include "ItemShop.h"
#include "RoomChatDialogs.h"
#include "RoomKeyState.h"
#include "RoomProtocol.h"
#include "ShortMessage.h"
#include "SpeakDlg.h"

#include <commctrl.h>

#include <memory>

namespace
{

std::string ItemText(HWND hDialog, int nID)
{
    char szText[1024] = "";
    GetDlgItemTextA(hDialog, nID, szText, sizeof(szText));
    return szText;
}

class CShopDouble : public ISpeakerShop
{
public:
    WORD GetSpeakerCount() override { return wCount; }
    void ShowItemShop() override { ++nShown; }
    WORD wCount = 3;
    int nShown = 0;
};

// Enter through the edit first, then the dialog, as the message loop walks
// them.
void PressEnter(CWnd* pEdit, CWnd* pDialog)
{
    MSG msg = {};
    msg.hwnd = pEdit->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_RETURN;
    if (!pEdit->PreTranslateMessage(&msg))
        pDialog->PreTranslateMessage(&msg);
}

class ChatDialogsTest : public ChatBarTest
{
protected:
    void SetUp() override
    {
        ChatBarTest::SetUp();
        m_pOldShop = CSpeakDlg::InstallShop(&m_Shop);
        m_OldCtrl = RoomCtrlKeyDown();
        RoomCtrlKeyDown() = [this] { return m_bCtrl; };
        // Headers and notices show 09:05:07.
        SetNow(0, CTime(2024, 5, 6, 9, 5, 7));
        strcpy(g_GlobalUnits.GetGlobalUserData()->szNickName, "我自己");
    }
    void TearDown() override
    {
        CSpeakDlg::InstallShop(m_pOldShop);
        RoomCtrlKeyDown() = m_OldCtrl;
        ChatBarTest::TearDown();
    }

    void EnterWithUsers(DWORD dwRule = 0)
    {
        MakeView();
        EnterRoom(dwRule);
        EnterUser(2002, "阿明");
        EnterUser(2003, "Alice");
    }

    std::vector<std::string> Sent(WORD wSubCmdID)
    {
        SettleRequests();
        std::vector<std::string> texts;
        for (const tagServerFrame& frame : Requests(ROOM_MAIN_ROOM, wSubCmdID)) {
            if (wSubCmdID == ROOM_SUB_SPEAKER) {
                tagSpeakerRequest request;
                if (UnpackRecord(request, frame.Body.data(), WORD(frame.Body.size())))
                    texts.push_back(request.szText);
            } else {
                tagRoomWhisperRequest request;
                if (UnpackRecord(request, frame.Body.data(), WORD(frame.Body.size()))) {
                    EXPECT_EQ(0u, request.dwThird);
                    texts.push_back(std::to_string(request.dwFirst) + ":" + request.szText);
                }
            }
        }
        return texts;
    }

    CShopDouble m_Shop;
    ISpeakerShop* m_pOldShop = nullptr;
    bool m_bCtrl = false;
    std::function<bool()> m_OldCtrl;
};

} // namespace

// ---- loudspeaker ---------------------------------------------------------

TEST_F(ChatDialogsTest, SpeakerCountsAndSends)
{
    EnterWithUsers();
    bool bRan = false;
    m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
        bRan = true;
        CSpeakDlg* pDlg = static_cast<CSpeakDlg*>(r.pWnd);
        const HWND hDlg = pDlg->GetSafeHwnd();
        EXPECT_EQ("3", ItemText(hDlg, IDC_SPEAK_COUNT));
        EXPECT_EQ("99", ItemText(hDlg, IDC_SPEAK_REMAIN));
        // A new count from the frame.
        pDlg->SendMessage(WM_SPEAKER_COUNT, 7, 0);
        EXPECT_EQ("7", ItemText(hDlg, IDC_SPEAK_COUNT));
        EXPECT_EQ(7, pDlg->GetSpeakerCount());
        // Bytes count: a Chinese character counts two.
        pDlg->GetEdit().SetWindowText("汉字ab");
        EXPECT_EQ("93", ItemText(hDlg, IDC_SPEAK_REMAIN));
        // A paste past the limit keeps whole characters only.
        pDlg->GetEdit().SetWindowText(("a" + Chinese(50)).c_str());
        EXPECT_EQ("a" + Chinese(49), ItemText(hDlg, IDC_SPEAK_EDIT));
        EXPECT_EQ("0", ItemText(hDlg, IDC_SPEAK_REMAIN));
        // The whole limit goes out; the dialog stays open for the next.
        pDlg->SendMessage(WM_COMMAND, IDOK, 0);
        EXPECT_EQ("", ItemText(hDlg, IDC_SPEAK_EDIT));
        EXPECT_EQ("99", ItemText(hDlg, IDC_SPEAK_REMAIN));
        EXPECT_TRUE(IsWindow(hDlg));
        return INT_PTR(IDCANCEL);
    });
    CSpeakDlg dialog(m_pView);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(bRan);
    EXPECT_EQ(std::vector<std::string>{"a" + Chinese(49)}, Sent(ROOM_SUB_SPEAKER));
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(ChatDialogsTest, SpeakerRefusalsKeepTheText)
{
    struct Case
    {
        const char* name;
        WORD wCount;
        std::string text;
        const char* pszBox; // null: no box
        INT_PTR nAnswer;
        bool bEnded;
        bool bShop;
        std::string kept;
    } cases[] = {
        {"no loudspeaker, No", 0, "hi", "您没有小喇叭，是否购买小喇叭？", IDNO, false, false, "hi"},
        {"no loudspeaker, Yes", 0, "hi", "您没有小喇叭，是否购买小喇叭？", IDYES, true, true, ""},
        {"empty", 2, "", "你未输入信息！", IDOK, false, false, ""},
    };
    EnterWithUsers();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Shop.wCount = c.wCount;
        m_Shop.nShown = 0;
        const size_t nShownBefore = m_Script.Count();
        std::string kept = "(closed)";
        m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
            CSpeakDlg* pDlg = static_cast<CSpeakDlg*>(r.pWnd);
            pDlg->GetEdit().SetWindowText(c.text.c_str());
            if (c.pszBox != nullptr)
                m_Script.AnswerBox(c.nAnswer);
            pDlg->SendMessage(WM_COMMAND, IDOK, 0);
            if (!c.bEnded)
                kept = ItemText(pDlg->GetSafeHwnd(), IDC_SPEAK_EDIT);
            return c.bEnded ? CModalScript::keepRunning : INT_PTR(IDCANCEL);
        });
        CSpeakDlg dialog(m_pView);
        dialog.DoModal();
        const std::vector<CModalScript::Shown> shown = m_Script.Recorded();
        ASSERT_EQ(nShownBefore + (c.pszBox != nullptr ? 2 : 1), shown.size());
        if (c.pszBox != nullptr) {
            EXPECT_STREQ(c.pszBox, shown.back().strText);
        }
        if (!c.bEnded) {
            EXPECT_EQ(c.kept, kept);
        }
        EXPECT_EQ(c.bShop ? 1 : 0, m_Shop.nShown);
        EXPECT_TRUE(Sent(ROOM_SUB_SPEAKER).empty());
    }
    EXPECT_EQ(0, m_Script.Unexpected());
}

// Without a shop of the test's, the count is the hall's owned loudspeaker
// items; the chat tool bar's button runs the room's dialog.
TEST_F(ChatDialogsTest, SpeakerCountIsTheOwnedLoudspeakerItems)
{
    struct Case
    {
        const char* name;
        std::vector<tagOwnItem> owned;
        const char* count;
    } cases[] = {
        {"none owned", {}, "0"},
        {"other items only", {{2, 9, 0}}, "0"},
        {"loudspeakers among others", {{2, 9, 0}, {SPEAKER_ITEM_ID, 4, 0}}, "4"},
    };
    MakeBar();
    CSpeakDlg::InstallShop(nullptr);
    CChatToolBar tool;
    tool.SetOwner(&m_Owner);
    ASSERT_TRUE(tool.CreateBar(&m_Host, CRect(0, 30, 300, 56), 2));
    COwnItemList owned;
    GetItemShop()->SetOwnItems(&owned);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        owned.RemoveAll();
        for (const tagOwnItem& item : c.owned)
            owned.Add(item);
        CRoomViewItem* pView = nullptr;
        std::string count;
        m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
            CSpeakDlg* pDlg = dynamic_cast<CSpeakDlg*>(r.pWnd);
            if (pDlg != nullptr) {
                pView = pDlg->GetRoomView();
                count = ItemText(pDlg->GetSafeHwnd(), IDC_SPEAK_COUNT);
            }
            return INT_PTR(IDCANCEL);
        });
        CWnd& button = tool.GetButton(IDC_TOOL_SPEAKER);
        tool.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TOOL_SPEAKER, BN_CLICKED), LPARAM(button.GetSafeHwnd()));
        EXPECT_EQ(m_pView, pView);
        EXPECT_EQ(c.count, count);
        EXPECT_EQ(WORD(atoi(c.count)), m_pView->GetSpeakerCount());
    }
    GetItemShop()->SetOwnItems(nullptr);
    tool.DestroyWindow();
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(ChatDialogsTest, SpeakerLineTheRoomRefusesStaysInTheEdit)
{
    EnterWithUsers(0x80000); // no loudspeaker in this room
    std::string kept;
    m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
        CSpeakDlg* pDlg = static_cast<CSpeakDlg*>(r.pWnd);
        pDlg->GetEdit().SetWindowText("hi");
        pDlg->SendMessage(WM_COMMAND, IDOK, 0);
        kept = ItemText(pDlg->GetSafeHwnd(), IDC_SPEAK_EDIT);
        return INT_PTR(IDCANCEL);
    });
    CSpeakDlg dialog(m_pView);
    dialog.DoModal();
    EXPECT_EQ("hi", kept);
    EXPECT_TRUE(Sent(ROOM_SUB_SPEAKER).empty());
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(ChatDialogsTest, SpeakerCtrlEnterDoesNothingEnterSends)
{
    EnterWithUsers();
    m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
        CSpeakDlg* pDlg = static_cast<CSpeakDlg*>(r.pWnd);
        pDlg->GetEdit().SetWindowText("ctrl");
        m_bCtrl = true;
        PressEnter(&pDlg->GetEdit(), pDlg);
        EXPECT_EQ("ctrl", ItemText(pDlg->GetSafeHwnd(), IDC_SPEAK_EDIT));
        m_bCtrl = false;
        PressEnter(&pDlg->GetEdit(), pDlg);
        EXPECT_EQ("", ItemText(pDlg->GetSafeHwnd(), IDC_SPEAK_EDIT));
        return INT_PTR(IDCANCEL);
    });
    CSpeakDlg dialog(m_pView);
    dialog.DoModal();
    EXPECT_EQ(std::vector<std::string>{"ctrl"}, Sent(ROOM_SUB_SPEAKER));
    EXPECT_EQ(0, m_Script.Unexpected());
}

// ---- whisper -------------------------------------------------------------

class WhisperTest : public ChatDialogsTest
{
protected:
    void MakeWhisper(DWORD dwRule = 0)
    {
        EnterWithUsers(dwRule);
        m_pWhisper.reset(new CShortMessage(m_pView));
        ASSERT_TRUE(m_pWhisper->CreateWindowOnly());
        m_pWhisper->SetChatUser(User(2002));
    }
    void TearDown() override
    {
        m_pWhisper.reset();
        ChatDialogsTest::TearDown();
    }
    std::string History() { return RichText(m_pWhisper->GetHistory()); }
    std::string Input() { return ItemText(m_pWhisper->GetSafeHwnd(), IDC_WHISPER_INPUT); }

    std::unique_ptr<CShortMessage> m_pWhisper;
};

TEST_F(WhisperTest, TextsAreCheckedBeforeTheySend)
{
    MakeWhisper();
    char szTitle[64] = "";
    m_pWhisper->GetWindowText(szTitle, sizeof(szTitle));
    EXPECT_STREQ(" 阿明 - 会话", szTitle);
    struct Case
    {
        std::string text;
        bool bSent;
    } cases[] = {
        {"hello", true},    {"line1\r\nline2", true}, {"a\tb", false},   {"x{\\rtf1 y}", false}, {"bell\x07", false},
        {"esc\x1B", false}, {"\x1D", false},          {"\x1E ok", true}, {"bad\xFF", false},     {"汉字", true},
    };
    size_t nSent = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_pWhisper->GetHistory().SetWindowText("");
        m_pWhisper->GetInput().SetWindowText(c.text.c_str());
        m_pWhisper->OnSendMessage();
        const std::vector<std::string> sent = Sent(ROOM_SUB_WHISPER);
        if (c.bSent) {
            ASSERT_EQ(++nSent, sent.size());
            EXPECT_EQ("2002:" + c.text, sent.back());
            EXPECT_EQ("", Input());
            std::string body = c.text;
            for (size_t p; (p = body.find("\r\n")) != std::string::npos;)
                body.replace(p, 2, "\r");
            EXPECT_EQ("我自己 09:05:07\r" + body + "\r", History());
        } else {
            EXPECT_EQ(nSent, sent.size());
            EXPECT_EQ(c.text, Input());
            EXPECT_EQ("不能发送非法字符，发送失败！\r", History());
        }
    }
}

TEST_F(WhisperTest, HistoryColoursAndIndent)
{
    MakeWhisper();
    ASSERT_TRUE(m_pWhisper->InsertMessage("阿明", "你好", RGB(1, 2, 3), false));
    ASSERT_TRUE(m_pWhisper->InsertMessage("我自己", "好", RGB(4, 5, 6), true));
    EXPECT_FALSE(m_pWhisper->InsertMessage("阿明", "", 0, false));
    ASSERT_TRUE(m_pWhisper->InsertNotice("注意"));
    EXPECT_FALSE(m_pWhisper->InsertNotice(""));
    CRichEditCtrl& history = m_pWhisper->GetHistory();
    const std::string text = History();
    ASSERT_EQ("阿明 09:05:07\r你好\r我自己 09:05:07\r好\r注意\r", text);
    // Character positions: GBK characters count one each.
    EXPECT_EQ(WHISPER_OTHER_HEADER, RichFormatAt(history, 0).crTextColor);
    EXPECT_EQ(RGB(1, 2, 3), RichFormatAt(history, 12).crTextColor);
    EXPECT_EQ(WHISPER_OWN_HEADER, RichFormatAt(history, 15).crTextColor);
    EXPECT_EQ(RGB(4, 5, 6), RichFormatAt(history, 28).crTextColor);
    EXPECT_EQ(WHISPER_NOTICE_COLOUR, RichFormatAt(history, 30).crTextColor);
    PARAFORMAT pf = {};
    pf.cbSize = sizeof(pf);
    history.SetSel(0, 0);
    history.GetParaFormat(pf);
    EXPECT_EQ(0, pf.dxStartIndent);
    history.SetSel(12, 12);
    history.GetParaFormat(pf);
    EXPECT_EQ(WHISPER_TEXT_INDENT, pf.dxStartIndent);
}

TEST_F(WhisperTest, PartnerIsLookedUpAtEverySend)
{
    MakeWhisper();
    // He leaves: nothing goes out, the text stays.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2002));
    m_pWhisper->GetInput().SetWindowText("still there?");
    m_pWhisper->OnSendMessage();
    EXPECT_TRUE(Sent(ROOM_SUB_WHISPER).empty());
    EXPECT_EQ("[09:05:07]目标玩家已经离开，信息发送失败！\r", History());
    EXPECT_EQ("still there?", Input());
    // Back under a new user item: the next send reaches him.
    EnterUser(2002, "阿明");
    m_pWhisper->OnSendMessage();
    EXPECT_EQ(std::vector<std::string>{"2002:still there?"}, Sent(ROOM_SUB_WHISPER));
}

TEST_F(WhisperTest, RebindingKeepsOrClearsTheHistory)
{
    MakeWhisper();
    m_pWhisper->InsertMessage("阿明", "一", 0, false);
    m_pWhisper->GetInput().SetWindowText("draft");
    m_pWhisper->SetChatUser(User(2002));
    EXPECT_EQ("阿明 09:05:07\r一\r", History());
    EXPECT_EQ("draft", Input());
    m_pWhisper->SetChatUser(User(2003));
    EXPECT_EQ("", History());
    EXPECT_EQ("", Input());
    EXPECT_EQ(2003u, m_pWhisper->GetPartnerID());
    char szTitle[64] = "";
    m_pWhisper->GetWindowText(szTitle, sizeof(szTitle));
    EXPECT_STREQ(" Alice - 会话", szTitle);
}

TEST_F(WhisperTest, RefusedSendIsReportedAndLongTextIsBounded)
{
    MakeWhisper(0x8000); // no chat or whisper in this room
    m_pWhisper->GetInput().SetWindowText("hi");
    m_pWhisper->OnSendMessage();
    EXPECT_TRUE(Sent(ROOM_SUB_WHISPER).empty());
    EXPECT_EQ("未知异常错误，消息发送失败！\r", History());
    EXPECT_EQ("hi", Input());
    // A paste past the request's 511 bytes keeps whole characters.
    m_pWhisper->GetInput().SetWindowText(("a" + Chinese(300)).c_str());
    m_pWhisper->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WHISPER_INPUT, EN_CHANGE),
                            LPARAM(m_pWhisper->GetInput().GetSafeHwnd()));
    EXPECT_EQ("a" + Chinese(255), Input());
}

TEST_F(WhisperTest, CtrlEnterSendsAndIsConsumed)
{
    MakeWhisper();
    m_pWhisper->GetInput().SetWindowText("quick");
    MSG msg = {};
    msg.hwnd = m_pWhisper->GetInput().GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_RETURN;
    m_bCtrl = false;
    EXPECT_FALSE(m_pWhisper->GetInput().PreTranslateMessage(&msg));
    EXPECT_TRUE(Sent(ROOM_SUB_WHISPER).empty());
    m_bCtrl = true;
    EXPECT_TRUE(m_pWhisper->GetInput().PreTranslateMessage(&msg));
    EXPECT_EQ(std::vector<std::string>{"2002:quick"}, Sent(ROOM_SUB_WHISPER));
    // Esc destroys the window, not the object.
    m_pWhisper->SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(NULL, m_pWhisper->GetSafeHwnd());
}

// ---- find player ---------------------------------------------------------

TEST(FindUserMatch, LettersOfEitherCaseAtCharacterStarts)
{
    struct Case
    {
        const char* nick;
        const char* text;
        bool bMatch;
    } cases[] = {
        {"alice", "ALI", true},         {"xAlIcEx", "lice", true},
        {"bob", "alice", false},        {"阿明", "明", true},
        {"\x81\x41", "a", false},                                                // a trail byte that looks like 'A'
        {"\x81\x41", "\x81\x41", true}, {"\xB0\xA1\xB0\xA1", "\xA1\xB0", false}, // bytes across two characters
        {"我是Tom", "tom", true},       {"T", "tt", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nick);
        EXPECT_EQ(c.bMatch, CFindUserDlg::NicknameMatches(c.nick, c.text));
    }
}

TEST_F(ChatDialogsTest, FindPlayersAndFollowTheirLeaving)
{
    EnterWithUsers();
    EnterUser(2004, "malice");
    CFindUserDlg dialog(m_pView);
    ASSERT_TRUE(dialog.CreateWindowOnly(NULL));
    char szTitle[64] = "";
    dialog.GetWindowText(szTitle, sizeof(szTitle));
    EXPECT_STREQ("查找玩家", szTitle);
    auto Rows = [&] {
        std::vector<DWORD> ids;
        for (int i = 0; i < dialog.GetResultCount(); ++i)
            ids.push_back(dialog.GetResultUser(i) != nullptr ? dialog.GetResultUser(i)->GetUserID() : 0);
        return ids;
    };
    dialog.SetDlgItemText(IDC_FIND_NICKNAME, "ALICE");
    dialog.OnSearch();
    EXPECT_EQ((std::vector<DWORD>{2003, 2004}), Rows());
    // No match: a box, and the earlier rows are gone.
    m_Script.AnswerBox(IDOK);
    dialog.SetDlgItemText(IDC_FIND_NICKNAME, "nobody");
    dialog.OnSearch();
    EXPECT_TRUE(Rows().empty());
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_STREQ("找不到适合条件的用户信息！", m_Script.At(0).strText);
    EXPECT_EQ(UINT(MB_ICONQUESTION), m_Script.At(0).nType & MB_ICONMASK);
    // Empty input.
    m_Script.AnswerBox(IDOK);
    dialog.SetDlgItemText(IDC_FIND_NICKNAME, "");
    dialog.OnSearch();
    ASSERT_EQ(2u, m_Script.Count());
    EXPECT_STREQ("请输入要查找的 昵称 ！", m_Script.At(1).strText);
    // A listed player leaves: the room view tells the dialog before his
    // item goes.
    dialog.SetDlgItemText(IDC_FIND_NICKNAME, "lic");
    dialog.OnSearch();
    ASSERT_EQ((std::vector<DWORD>{2003, 2004}), Rows());
    dialog.DeleteUserItem(User(2003));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2003));
    EXPECT_EQ(std::vector<DWORD>{2004}, Rows());
    // Closing destroys the window only; the sink's count never deletes.
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(NULL, dialog.GetSafeHwnd());
    IUnknownEx* pSink = dialog.GetSinkPart();
    const ULONG ulCount = dialog.GetRefCount();
    pSink->AddRef();
    EXPECT_EQ(ulCount, pSink->Release());
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(ChatDialogsTest, RightClickOnAFoundPlayerOpensTheUserMenu)
{
    // The list's pictures, so that it takes the dialog as its sink.
    m_Skin.WriteListPictures();
    EnterWithUsers();
    CFindUserDlg dialog(m_pView);
    ASSERT_TRUE(dialog.CreateWindowOnly(NULL));
    EXPECT_EQ(2u, dialog.GetRefCount()); // the set-up and the list hold the sink part
    dialog.SetDlgItemText(IDC_FIND_NICKNAME, "alice");
    dialog.OnSearch();
    ASSERT_EQ(1, dialog.GetResultCount());
    auto RightClick = [&](int nItem) {
        NMITEMACTIVATE item = {};
        item.hdr.hwndFrom = dialog.GetResultList();
        item.hdr.idFrom = IDC_FIND_RESULTS;
        item.hdr.code = NM_RCLICK;
        item.iItem = nItem;
        dialog.SendMessage(WM_NOTIFY, IDC_FIND_RESULTS, LPARAM(&item));
    };
    // No row: nothing.
    RightClick(-1);
    EXPECT_EQ(0u, m_Script.Count());
    std::vector<std::string> captions;
    m_Script.Then([&](AFX_MODAL_REQUEST& r) {
        EXPECT_EQ(afxModalPopupMenu, r.nKind);
        for (const AFX_MENU_ITEM& menuItem : r.menuItems)
            captions.push_back(std::string(menuItem.strText));
        return INT_PTR(0);
    });
    RightClick(0);
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_FALSE(captions.empty());
    EXPECT_EQ(0, m_Script.Unexpected());
}

namespace
{

// The room's dialog holder with the real whisper windows and find dialog.
class CPoolDialogs : public CRoomDialogsDouble
{
public:
    explicit CPoolDialogs(CRoomChatDialogs& pool) : m_Pool(pool) {}
    bool CreateWhisperWindow(CWnd*, int nIndex) override { return m_Pool.CreateWhisperWindow(nIndex); }
    bool IsWhisperWindow(int nIndex) override { return m_Pool.IsWhisperWindow(nIndex); }
    bool IsWhisperVisible(int nIndex) override { return m_Pool.IsWhisperVisible(nIndex); }
    void ShowWhisper(int nIndex, DWORD dwUserID, LPCSTR pszText, COLORREF crColour) override
    {
        m_Pool.ShowWhisper(nIndex, dwUserID, pszText, crColour);
    }
    void DestroyWhisperWindow(int nIndex) override { m_Pool.DestroyWhisperWindow(nIndex); }
    void ShowFindUser(CWnd*) override { m_Pool.ShowFindUser(); }
    void OnUserItemUpdate(CRoomViewItem*, CUserItem* pUserItem) override { m_Pool.OnUserItemUpdate(pUserItem); }
    void OnUserItemDelete(CRoomViewItem*, CUserItem* pUserItem) override { m_Pool.OnUserItemDelete(pUserItem); }

private:
    CRoomChatDialogs& m_Pool;
};

} // namespace

TEST_F(ChatDialogsTest, ArrivingWhispersAndTheFindDialogThroughTheRoomView)
{
    EnterWithUsers();
    {
        CRoomChatDialogs pool(m_pView);
        CPoolDialogs dialogs(pool);
        CRoomViewItem::InstallDialogs(&dialogs);
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(2002, RGB(0, 0, 200), "你好"));
        CShortMessage* pWhisper = pool.GetWhisper(0);
        ASSERT_NE(nullptr, pWhisper);
        EXPECT_TRUE(pool.IsWhisperVisible(0));
        EXPECT_EQ(2002u, pWhisper->GetPartnerID());
        EXPECT_EQ("阿明 09:05:07\r你好\r", RichText(pWhisper->GetHistory()));
        EXPECT_EQ(RGB(0, 0, 200), RichFormatAt(pWhisper->GetHistory(), 12).crTextColor);
        // The answer goes back to him.
        pWhisper->GetInput().SetWindowText("嗨");
        pWhisper->OnSendMessage();
        EXPECT_EQ(std::vector<std::string>{"2002:嗨"}, Sent(ROOM_SUB_WHISPER));
        // A second message from him lands in the same window.
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(2002, 0, "再见"));
        EXPECT_EQ(pWhisper, pool.GetWhisper(0));
        EXPECT_EQ(nullptr, pool.GetWhisper(1));
        m_pView->ShowFindUserDlg();
        ASSERT_NE(nullptr, pool.GetFindUserDlg());
        EXPECT_TRUE(pool.GetFindUserDlg()->IsWindowVisible());
        m_pView->ShowFindUserDlg();
        EXPECT_TRUE(pool.GetFindUserDlg()->IsWindowVisible());
        // A found player who leaves is dropped by the room view's own notice.
        CFindUserDlg* pFind = pool.GetFindUserDlg();
        pFind->SetDlgItemText(IDC_FIND_NICKNAME, "ALICE");
        pFind->OnSearch();
        ASSERT_EQ(1, pFind->GetResultCount());
        ASSERT_NE(nullptr, pFind->GetResultUser(0));
        EXPECT_EQ(2003u, pFind->GetResultUser(0)->GetUserID());
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2003));
        EXPECT_EQ(0, pFind->GetResultCount());
        CRoomViewItem::InstallDialogs(&m_Dialogs);
    }
    EXPECT_EQ(0, m_Script.Unexpected());
}
