// The room's chat input bar against a real room view on the scripted room
// server: the checks a line passes, the refusals written into the chat
// display with their colours, the request of an accepted line.
#include "ChatBarTest.h"

#include "GlobalUnits.h"
#include "RoomProtocol.h"
#include "TextUnit.h"

#include <afxtest.h>

#include <fstream>

void ChatBarTest::SetUp()
{
    RoomViewTest::SetUp();
    SetNow(0);
    CChatBar::SetChatColour(0);
    WriteChatRooms(nullptr);
    ASSERT_TRUE(m_Host.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 600, 80, NULL, NULL));
    m_Owner.pPanel = &m_Host;
    m_Owner.pBar = &m_Bar;
}

void ChatBarTest::TearDown()
{
    if (m_Bar.GetSafeHwnd() != NULL)
        m_Bar.DestroyWindow();
    if (m_Host.GetSafeHwnd() != NULL)
        m_Host.DestroyWindow();
    AfxClearTestClock();
    CChatBar::SetChatColour(0);
    WriteChatRooms(nullptr);
    RoomViewTest::TearDown();
}

void ChatBarTest::SetNow(DWORD dwTickCount, const CTime& timeNow)
{
    AfxSetTestClock(dwTickCount, timeNow);
}

void ChatBarTest::MakeBar()
{
    MakeView();
    EnterRoom();
    m_Owner.pView = m_pView;
    m_Bar.SetOwner(&m_Owner);
    ASSERT_TRUE(m_Bar.CreateBar(&m_Host, CRect(0, 0, 400, 24), 1));
}

void ChatBarTest::WriteChatRooms(const char* pszList)
{
    const std::string folder = std::string(g_GlobalUnits.GetWorkDirectory()) + "Config\\dynamic";
    CreateDirectoryA((std::string(g_GlobalUnits.GetWorkDirectory()) + "Config").c_str(), NULL);
    CreateDirectoryA(folder.c_str(), NULL);
    const std::string path = folder + "\\DynaItemCfg.ini";
    if (pszList == nullptr) {
        DeleteFileA(path.c_str());
        return;
    }
    std::ofstream(path, std::ios::binary) << "[canchatroom]\r\nroomid=" << pszList << "\r\n";
}

std::vector<tagRoomChatRequest> ChatBarTest::ChatRequests()
{
    std::vector<tagRoomChatRequest> requests;
    for (const tagServerFrame& frame : Requests(ROOM_MAIN_ROOM, ROOM_SUB_CHAT)) {
        tagRoomChatRequest request;
        if (UnpackRecord(request, frame.Body.data(), WORD(frame.Body.size())))
            requests.push_back(request);
    }
    return requests;
}

// Waits until the server saw a marker sent after anything the bar sent.
void ChatBarTest::SettleRequests()
{
    ASSERT_TRUE(m_Server.Settle());
}

std::string ChatBarTest::LastLine()
{
    std::string text = m_Panel.ChatText();
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    const size_t nBreak = text.find_last_of("\r\n");
    return nBreak == std::string::npos ? text : text.substr(nBreak + 1);
}

COLORREF ChatBarTest::LastLineColour()
{
    std::string text = m_Panel.ChatText();
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    if (text.empty())
        return CLR_INVALID;
    // Positions count characters, a double-byte one as one.
    long nChars = 0;
    for (size_t nPos = 0; nPos < text.size(); nPos += TextCharSize(text.data(), text.size(), nPos))
        ++nChars;
    return RichFormatAt(m_Panel.Rich(), nChars - 1).crTextColor;
}

namespace
{

const char kGuest[] = "温馨提示：对不起，您是游客，无法发言，请登录！";
const char kMemberOnly[] = "温馨提示：对不起，普通用户无法在该房间中发言，只有会员才可以在房间中发言！";
const char kTooFast[] = "温馨提示：对不起，您说话太快了，坐下来，泡杯茶休息会儿吧！";
const char kMuted[] = "对不起，您被限制发言，如有疑问，请与管理员联系！";
const char kTooLong[] = "温馨提示：对不起，您输入的发言过长，请减小输入！";
const char kEmotions[] = "温馨提示：对不起，您输入的表情过多，请减小输入！";

} // namespace

TEST_F(ChatBarTest, RefusalsAreLinesInTheChatDisplay)
{
    struct Case
    {
        const char* name;
        bool bEnabled;
        LONG lLevel;
        const char* pszListed; // the permission list, null for no file
        bool bMuted;
        DWORD dwSince; // ms since the last send
        std::string text;
        const char* pszLine; // the refusal, null when the line goes out
        COLORREF crLine;
        bool bTimeTaken; // the refusal starts a new interval
    } cases[] = {
        {"input disabled", false, 1, nullptr, false, 5000, "hi", nullptr, 0, false},
        {"guest", true, GUEST_USER_LEVEL, nullptr, false, 5000, "hi", kGuest, CHAT_NOTICE_COLOUR, false},
        {"guest in a listed room", true, GUEST_USER_LEVEL, "3,7", false, 5000, "hi", kGuest, CHAT_NOTICE_COLOUR, false},
        {"level 0 unlisted", true, 0, "3,8", false, 5000, "hi", kMemberOnly, CHAT_NOTICE_COLOUR, false},
        {"level 0 no list", true, 0, nullptr, false, 5000, "hi", kMemberOnly, CHAT_NOTICE_COLOUR, false},
        {"level 0 empty list", true, 0, "", false, 5000, "hi", kMemberOnly, CHAT_NOTICE_COLOUR, false},
        {"level 0 listed", true, 0, "3, 7 ,9", false, 5000, "hi", nullptr, 0, true},
        {"empty", true, 1, nullptr, false, 5000, "", nullptr, 0, false},
        {"2999 ms", true, 1, nullptr, false, 2999, "hi", kTooFast, CHAT_NOTICE_COLOUR, false},
        {"3000 ms", true, 1, nullptr, false, 3000, "hi", nullptr, 0, true},
        {"muted", true, 1, nullptr, true, 5000, "hi", kMuted, CHAT_MUTED_COLOUR, true},
        {"100 bytes", true, 1, nullptr, false, 5000, Chinese(50), nullptr, 0, true},
        {"101 bytes", true, 1, nullptr, false, 5000, Chinese(50) + "a", kTooLong, CHAT_NOTICE_COLOUR, true},
        {"5 slashes", true, 1, nullptr, false, 5000, "/a/b/c/d/e", nullptr, 0, true},
        {"6 slashes", true, 1, nullptr, false, 5000, "/a/b/c/d/e/f", kEmotions, CHAT_NOTICE_COLOUR, true},
    };
    MakeBar();
    const DWORD dwStart = 100000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Owner.bEnabled = c.bEnabled;
        g_GlobalUnits.GetGlobalUserData()->lLevel = c.lLevel;
        WriteChatRooms(c.pszListed);
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_ROOM_FLAGS, CWireBytes().U32(c.bMuted ? 0 : 1).U32(1));
        ASSERT_EQ(!c.bMuted, m_pView->CanSpeak());
        m_Owner.dwLast = dwStart;
        SetNow(dwStart + c.dwSince);
        m_Bar.SetInputText(c.text.c_str());
        // Set directly, the input holds more than it lets a user type.
        ASSERT_EQ(c.text, std::string(m_Bar.GetInputText()));
        m_Panel.Rich().SetWindowText("");
        const size_t nBefore = ChatRequests().size();
        const bool bSent = m_Bar.SendChatText();
        SettleRequests();
        const size_t nAfter = ChatRequests().size();
        const bool bExpectSent = c.pszLine == nullptr && c.bEnabled && !c.text.empty();
        EXPECT_EQ(bExpectSent, bSent);
        EXPECT_EQ(bExpectSent ? nBefore + 1 : nBefore, nAfter);
        EXPECT_EQ(c.bTimeTaken ? dwStart + c.dwSince : dwStart, m_Owner.dwLast);
        if (c.pszLine != nullptr) {
            EXPECT_EQ(c.pszLine, LastLine());
            EXPECT_EQ(c.crLine, LastLineColour());
        } else {
            EXPECT_EQ("", m_Panel.ChatText());
        }
        // Only an accepted line leaves the input.
        EXPECT_EQ(bExpectSent ? std::string() : c.text, std::string(m_Bar.GetInputText()));
    }
    EXPECT_EQ(0u, m_Script.Count());
}

TEST_F(ChatBarTest, AcceptedLineGoesOutWithTargetAndColour)
{
    MakeBar();
    SetNow(50000);
    const int nEntry = m_Bar.GetTargetList().AddString("阿明");
    m_Bar.GetTargetList().SetItemData(nEntry, 2002);
    m_Bar.GetTargetList().SetCurSel(nEntry);
    m_Bar.SetInputText("大家好/01");
    ASSERT_TRUE(m_Bar.SendChatText());
    m_Bar.GetTargetList().SetCurSel(0);
    CChatBar::SetChatColour(RGB(1, 2, 3));
    SetNow(50000 + CHAT_SEND_INTERVAL);
    m_Bar.SetInputText("again");
    ASSERT_TRUE(m_Bar.SendChatText());
    SettleRequests();
    const std::vector<tagRoomChatRequest> requests = ChatRequests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(2002u, requests[0].dwFirst);
    EXPECT_STREQ("大家好/01", requests[0].szText);
    EXPECT_EQ(DWORD(CHAT_DEFAULT_COLOUR), requests[0].dwThird);
    EXPECT_EQ(0u, requests[1].dwFirst);
    EXPECT_STREQ("again", requests[1].szText);
    EXPECT_EQ(DWORD(RGB(1, 2, 3)), requests[1].dwThird);
    // The default colour, once taken, is the process's chat colour.
    EXPECT_EQ(RGB(1, 2, 3), CChatBar::GetChatColour());
    EXPECT_EQ("", std::string(m_Bar.GetInputText()));
}

TEST_F(ChatBarTest, EnterInTheInputSendsAndIsConsumed)
{
    MakeBar();
    SetNow(50000);
    m_Bar.SetInputText("enter");
    MSG msg = {};
    msg.hwnd = m_Bar.GetChatInput().GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_RETURN;
    EXPECT_TRUE(m_Bar.PreTranslateMessage(&msg));
    SettleRequests();
    ASSERT_EQ(1u, ChatRequests().size());
    EXPECT_STREQ("enter", ChatRequests()[0].szText);
}

TEST_F(ChatBarTest, ControlsAndQuickPhrases)
{
    MakeBar();
    CRoomControlCombox& target = m_Bar.GetTargetList();
    ASSERT_EQ(1, target.GetCount());
    CString strEntry;
    target.GetLBText(0, strEntry);
    EXPECT_STREQ("所有人", strEntry);
    EXPECT_EQ(0u, target.GetItemData(0));
    CRoomControlCombox& input = m_Bar.GetChatInput();
    ASSERT_EQ(11, input.GetCount());
    input.GetLBText(0, strEntry);
    EXPECT_STREQ("快点吧我等的花儿也谢了", strEntry);
    input.GetLBText(10, strEntry);
    EXPECT_STREQ("再见了，我会想念大家的！BYE", strEntry);
    // Layout: the input between the target list and the send button.
    CRect rcTarget, rcInput, rcSend;
    target.GetWindowRect(&rcTarget);
    input.GetWindowRect(&rcInput);
    m_Bar.GetSendButton().GetWindowRect(&rcSend);
    m_Bar.ScreenToClient(&rcTarget);
    m_Bar.ScreenToClient(&rcInput);
    m_Bar.ScreenToClient(&rcSend);
    EXPECT_EQ(CPoint(8, 2), rcTarget.TopLeft());
    EXPECT_EQ(rcTarget.right + 8, rcInput.left);
    EXPECT_EQ(2, rcInput.top);
    EXPECT_EQ(400 - 2, rcSend.right);
    EXPECT_EQ(rcSend.left - 8, rcInput.right);
}

TEST_F(ChatBarTest, InputEndsOnACharacterBoundary)
{
    struct Case
    {
        std::string text;
        std::string kept;
    } cases[] = {
        {"abc", "abc"},
        {Chinese(50), Chinese(50)},
        {"a" + Chinese(50), "a" + Chinese(49)}, // the limit falls inside a character
        {Chinese(3) + "\xBA", Chinese(3)},      // a lead byte without its trail
        {std::string(120, 'x'), std::string(100, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(c.kept, std::string(CChatBar::LimitText(c.text.c_str(), CHAT_TEXT_LIMIT)));
    }
    MakeBar();
    // A change of the input (typing, pasting) is cut the same way.
    m_Bar.SetInputText(("a" + Chinese(50)).c_str());
    m_Bar.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHAT_INPUT, CBN_EDITCHANGE),
                      LPARAM(m_Bar.GetChatInput().GetSafeHwnd()));
    EXPECT_EQ("a" + Chinese(49), std::string(m_Bar.GetInputText()));
}

TEST_F(ChatBarTest, PermissionListIsReadAtEverySendAndBounded)
{
    std::string many;
    for (int i = 1; i <= 300; ++i)
        many += std::to_string(1000 + i) + ",";
    struct Case
    {
        std::string list;
        DWORD dwRoom;
        bool bListed;
    } cases[] = {
        {"7", 7, true}, {"17,70", 7, false}, {"x,7", 7, true}, {many, 1256, true}, {many, 1257, false}, {"", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwRoom);
        WriteChatRooms(c.list.c_str());
        EXPECT_EQ(c.bListed, CChatBar::IsChatRoomListed(c.dwRoom));
    }
}
