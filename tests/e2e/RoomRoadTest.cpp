// The room and game roads through the assembled hall against the demo
// world: a room opened from the game tree shows its players, a chat line
// reaches the room server and comes back into the chat, a seat click goes
// out as a sit request, the seat starts the stand-in game client, whose
// hello is answered and whose game frames pass the relay both ways; its
// goodbye stands the player up, and leaving closes the room.
#include "E2eTest.h"

#include <commctrl.h>
#include <string.h>

#include <string>
#include <vector>

#include "ChannelMessageSink.h"
#include "GameClientControl.h"
#include "RoomProtocol.h"
#include "TestWait.h"
#include "WireBytes.h"

using namespace e2e;

namespace
{

// Channel numbers between the hall and a game client.
const WORD kChannelControl = 0;
const WORD kChannelGoodbye = 3;
const WORD kChannelRelay = 1;
const WORD kRelayRequest = 1;
const WORD kRelayTraffic = 2;
const WORD kChannelEvent = 4;
const WORD kEventAttached = 1;
const WORD kKindFrame = 100;

// Room window controls.
const int kChatInputId = 1005;
const int kChatSendId = 1006;
// The room password prompt's edit.
const int kRoomPasswordEditId = 24020;
// The table tool bar's exit button.
const int kExitButtonId = 1002;

// The demo table: 160 by 120, grids start 3 pixels in; chair 2 is the
// bottom one.
const POINT kTable0Chair2 = {3 + 80, 101};

struct tagChannelFrame
{
    WORD wMainCmdID;
    WORD wSubCmdID;
    std::vector<BYTE> Data;
};

// The window the stand-in game client reports to: its start and every
// channel frame the hall sent it.
class ClientReports
{
public:
    ClientReports()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "E2eClientReports";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, wc.hInstance, this);
        SetEnvironmentVariableA(GAMECLIENT_ENV_REPORT, std::to_string((unsigned long long)(ULONG_PTR)m_hWnd).c_str());
    }
    ~ClientReports()
    {
        SetEnvironmentVariableA(GAMECLIENT_ENV_REPORT, NULL);
        DestroyWindow(m_hWnd);
    }
    bool Has(WORD wMain, WORD wSub) const
    {
        for (const tagChannelFrame& frame : Frames)
            if (frame.wMainCmdID == wMain && frame.wSubCmdID == wSub)
                return true;
        return false;
    }
    // Makes the client send a channel frame from its window.
    void Send(WORD wMain, WORD wSub, const std::vector<BYTE>& data)
    {
        const std::vector<BYTE> control = CWireBytes().U32(GAMECLIENT_SEND).U16(wMain).U16(wSub).Bytes(data).Vector();
        COPYDATASTRUCT copy = {GAMECLIENT_CONTROL, DWORD(control.size()), const_cast<BYTE*>(control.data())};
        SendMessageA(hClient, WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&copy);
    }

    HWND hClient = NULL;
    std::string strCommandLine;
    std::vector<tagChannelFrame> Frames;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_NCCREATE) {
            SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
            return TRUE;
        }
        ClientReports* self = reinterpret_cast<ClientReports*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (uMsg != WM_COPYDATA || self == NULL)
            return DefWindowProcA(hWnd, uMsg, wParam, lParam);
        const COPYDATASTRUCT* pCopy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const BYTE* pBytes = static_cast<const BYTE*>(pCopy->lpData);
        if (pCopy->dwData == GAMECLIENT_REPORT_START && pCopy->cbData > sizeof(tagGameClientStart)) {
            tagGameClientStart start;
            memcpy(&start, pBytes, sizeof(start));
            self->hClient = HWND(ULongToHandle(start.dwWindow));
            const char* pszLine = reinterpret_cast<const char*>(pBytes + sizeof(start));
            self->strCommandLine.assign(pszLine, strnlen(pszLine, pCopy->cbData - sizeof(start)));
        } else if (pCopy->dwData == GAMECLIENT_REPORT_FRAME && pCopy->cbData >= sizeof(tagIPCHead)) {
            tagIPCHead head;
            memcpy(&head, pBytes, sizeof(head));
            self->Frames.push_back(
                {head.wMainCmdID, head.wSubCmdID, std::vector<BYTE>(pBytes + sizeof(head), pBytes + pCopy->cbData)});
        }
        return TRUE;
    }
    HWND m_hWnd;
};

class RoomRoad : public E2eTest
{
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(UseRoom(demodata::Rooms().front()));
    }
    std::vector<tagServerFrame> Requests(WORD wMain, WORD wSub)
    {
        std::vector<tagServerFrame> found;
        for (const tagServerFrame& frame : m_pServer->GetFrames())
            if (frame.wMainCmdID == wMain && frame.wSubCmdID == wSub)
                found.push_back(frame);
        return found;
    }
    bool WaitRequest(WORD wMain, WORD wSub, size_t nCount = 1)
    {
        return PumpUntil([&] { return Requests(wMain, wSub).size() >= nCount; }, kWait);
    }
    // What the room server saw, for a failure's message.
    std::string DescribeRequests()
    {
        std::string text = "the room server saw:";
        for (const tagServerFrame& frame : m_pServer->GetFrames())
            text += " " + std::to_string(frame.wMainCmdID) + "/" + std::to_string(frame.wSubCmdID);
        return text + "\n";
    }
    static std::string DescribeLists(HallProcess& hall, HWND hFrame)
    {
        std::string text;
        for (HWND hList : FindChildren(hFrame, [](HWND h) { return ClassOf(h) == WC_LISTVIEWA; })) {
            text += std::string("list ") + (IsWindowVisible(hList) ? "shown" : "hidden") + ":\n";
            for (const std::string& row : hall.ListRows(hList))
                text += "  " + row + "\n";
        }
        return text;
    }

    // The room the test enters, and its server.
    void UseRoom(const demodata::tagRoom& room)
    {
        m_pRoom = &room;
        m_pServer = m_World.GetRoomServer(room.dwID);
        ASSERT_NE(nullptr, m_pServer);
    }
    // The side panel's list once it shows the players already in the room
    // and the player.
    HWND WaitPlayerList(HallProcess& hall, HWND hFrame)
    {
        HWND hList = NULL;
        PumpUntil(
            [&] {
                for (HWND hCandidate :
                     FindChildren(hFrame, [](HWND h) { return ClassOf(h) == WC_LISTVIEWA && IsWindowVisible(h); })) {
                    std::string rows;
                    for (const std::string& row : hall.ListRows(hCandidate))
                        rows += row + "\n";
                    bool bAll = rows.find(demodata::Accounts()[0].pszNickName) != std::string::npos;
                    for (const demodata::tagResident& resident : demodata::Residents())
                        bAll = bAll && rows.find(resident.pszNickName) != std::string::npos;
                    if (bAll) {
                        hList = hCandidate;
                        return true;
                    }
                }
                return false;
            },
            kWait);
        return hList;
    }

    const demodata::tagRoom* m_pRoom = nullptr;
    CFrameServer* m_pServer = nullptr;
};

} // namespace

TEST_F(RoomRoad, EnterChatSitPlayAndLeave)
{
    ClientReports client;
    HallProcess hall(m_World.GetHallPort());
    HWND hFrame = NULL, hTree = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(hall, hFrame, hTree));

    // Entering: the room server sees the demo account's logon.
    ASSERT_NO_FATAL_FAILURE(DoubleClickRoom(hall, hTree, *m_pRoom));
    ASSERT_TRUE(WaitRequest(ROOM_MAIN_ROOM, ROOM_SUB_LOGON)) << "the room was not entered\n" << hall.DescribeWindows();
    DWORD dwUserID = 0;
    std::string digest, roomPassword;
    ASSERT_TRUE(CDemoRoom::ReadLogon(Requests(ROOM_MAIN_ROOM, ROOM_SUB_LOGON)[0], dwUserID, digest, roomPassword));
    EXPECT_EQ(demohall::kUserID, dwUserID);
    EXPECT_EQ(demodata::Accounts()[0].pszDigest, digest);

    // The side panel lists the players already there and the player.
    HWND hList = WaitPlayerList(hall, hFrame);
    ASSERT_NE((HWND)NULL, hList) << "no list with the room's players\n" << DescribeLists(hall, hFrame);
    EXPECT_EQ(demodata::Residents().size() + 1, hall.ListRows(hList).size());
    Shot(hFrame, "room-players");

    // A chat line goes to the room server and comes back into the chat.
    const char kLine[] = "大家好，一起玩吧";
    HWND hInput = FindChild(hFrame, [](HWND h) {
        return GetDlgCtrlID(h) == kChatInputId && ClassOf(h) == "ComboBox" && IsWindowVisible(h);
    });
    ASSERT_NE((HWND)NULL, hInput);
    SendMessageA(hInput, WM_SETTEXT, 0, (LPARAM)kLine);
    Click(GetDlgItem(GetParent(hInput), kChatSendId));
    ASSERT_TRUE(WaitRequest(ROOM_MAIN_ROOM, ROOM_SUB_CHAT))
        << "no chat request\n"
        << DescribeRequests() << "input: " << TextOf(hInput) << "\nchat: " << ChatText(hFrame);
    std::string text;
    ASSERT_TRUE(CDemoRoom::ReadChat(Requests(ROOM_MAIN_ROOM, ROOM_SUB_CHAT)[0], text));
    EXPECT_EQ(kLine, text);
    EXPECT_TRUE(PumpUntil([&] { return ChatText(hFrame).find(kLine) != std::string::npos; }, kWait))
        << "the line is not in the chat";
    Shot(hFrame, "room-chat");

    // A click on a free chair goes out as a sit request.
    // The table view holds the tool bar strip and, below it, the taller grid.
    HWND hTableView = FindTableView(hFrame);
    ASSERT_NE((HWND)NULL, hTableView);
    HWND hTables = NULL;
    LONG nTallest = 0;
    for (HWND h = GetWindow(hTableView, GW_CHILD); h != NULL; h = GetWindow(h, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(h, &rc);
        if (rc.bottom - rc.top > nTallest) {
            nTallest = rc.bottom - rc.top;
            hTables = h;
        }
    }
    ASSERT_NE((HWND)NULL, hTables) << "the table view holds no grid";
    PostMessageA(hTables, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kTable0Chair2.x, kTable0Chair2.y));
    PostMessageA(hTables, WM_LBUTTONUP, 0, MAKELPARAM(kTable0Chair2.x, kTable0Chair2.y));
    ASSERT_TRUE(WaitRequest(ROOM_MAIN_ROOM, ROOM_SUB_SIT_DOWN)) << "no sit request";
    WORD wTable = 0xFFFF, wChair = 0xFFFF;
    ASSERT_TRUE(CDemoRoom::ReadSit(Requests(ROOM_MAIN_ROOM, ROOM_SUB_SIT_DOWN)[0], wTable, wChair));
    EXPECT_EQ(0, wTable);
    EXPECT_EQ(2, wChair);

    // The seat starts the game client with the room's block; its hello is
    // answered and the client attached.
    ASSERT_TRUE(PumpUntil([&] { return client.hClient != NULL; }, kWait)) << "no game client started";
    EXPECT_NE(std::string::npos, client.strCommandLine.find("/RoomToken:")) << client.strCommandLine;
    ASSERT_TRUE(PumpUntil([&] { return client.Has(kChannelEvent, kEventAttached); }, kWait)) << "hello not answered";
    Shot(hFrame, "room-seated");

    // A game frame of the client reaches the room server through the relay
    // and the server's answer comes back to the client.
    const std::vector<BYTE> kPing = {'p', 'i', 'n', 'g'};
    const std::vector<BYTE> request = CWireBytes().U16(kKindFrame).U16(0x77).Bytes(kPing).Vector();
    client.Send(kChannelRelay, kRelayRequest, request);
    ASSERT_TRUE(WaitRequest(ROOM_MAIN_FRAME, 0x77)) << "the game frame did not reach the room server";
    EXPECT_EQ(kPing, Requests(ROOM_MAIN_FRAME, 0x77)[0].Body);
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const tagChannelFrame& frame : client.Frames)
                if (frame.wMainCmdID == kChannelRelay && frame.wSubCmdID == kRelayTraffic && frame.Data == request)
                    return true;
            return false;
        },
        kWait))
        << "the answer did not come back to the game";

    // The client's goodbye stands the player up.
    client.Send(kChannelControl, kChannelGoodbye, {});
    ASSERT_TRUE(WaitRequest(ROOM_MAIN_GAME, ROOM_SUB_STAND_UP)) << "no stand-up request";

    // Leaving by the table tool bar's exit button closes the room: the leave
    // request, the panel gone, the client ended with its channel.
    HWND hExit = NULL;
    for (HWND h = GetWindow(hTableView, GW_CHILD); h != NULL && hExit == NULL; h = GetWindow(h, GW_HWNDNEXT))
        if (h != hTables)
            hExit = GetDlgItem(h, kExitButtonId);
    ASSERT_NE((HWND)NULL, hExit) << "no exit button on the table tool bar";
    Click(hExit);
    ASSERT_TRUE(WaitRequest(ROOM_MAIN_ROOM, ROOM_SUB_LEAVE_ROOM)) << "no leave request\n"
                                                                  << DescribeRequests() << hall.DescribeWindows();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hList) && !IsWindow(hTables); }, kWait)) << "the room stays";
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(client.hClient); }, kWait)) << "the game client stays";
    EXPECT_TRUE(IsWindow(hFrame));
    Shot(hFrame, "room-left");
}

// The password room refuses the first logon; the hall asks for the password
// and logs on again with its digest.
TEST_F(RoomRoad, ThePasswordRoomAsksForItsPasswordFirst)
{
    const demodata::tagRoom* pRoom = nullptr;
    for (const demodata::tagRoom& room : demodata::Rooms())
        if (room.nKind == demodata::ROOM_PASSWORD)
            pRoom = &room;
    ASSERT_NE(nullptr, pRoom);
    ASSERT_NO_FATAL_FAILURE(UseRoom(*pRoom));
    HallProcess hall(m_World.GetHallPort());
    HWND hFrame = NULL, hTree = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(hall, hFrame, hTree));
    ASSERT_NO_FATAL_FAILURE(DoubleClickRoom(hall, hTree, *pRoom));

    HWND hAsk = hall.WaitWindow([](HWND h) { return GetDlgItem(h, kRoomPasswordEditId) != NULL; });
    ASSERT_NE((HWND)NULL, hAsk) << "no password asked\n" << DescribeRequests() << hall.DescribeWindows();
    ASSERT_EQ(1u, Requests(ROOM_MAIN_ROOM, ROOM_SUB_LOGON).size());
    Shot(hAsk, "room-password");
    SendMessageA(GetDlgItem(hAsk, kRoomPasswordEditId), WM_SETTEXT, 0, (LPARAM)demodata::kRoomPassword);
    PostMessageA(hAsk, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hAsk, IDOK));

    ASSERT_TRUE(WaitRequest(ROOM_MAIN_ROOM, ROOM_SUB_LOGON, 2)) << "no second logon";
    const std::vector<tagServerFrame> logons = Requests(ROOM_MAIN_ROOM, ROOM_SUB_LOGON);
    DWORD dwUserID = 0;
    std::string digest, first, second;
    ASSERT_TRUE(CDemoRoom::ReadLogon(logons[0], dwUserID, digest, first));
    ASSERT_TRUE(CDemoRoom::ReadLogon(logons[1], dwUserID, digest, second));
    EXPECT_EQ("", first);
    EXPECT_EQ(demodata::kRoomPasswordDigest, second);
    EXPECT_NE((HWND)NULL, WaitPlayerList(hall, hFrame)) << "not in the room\n" << DescribeLists(hall, hFrame);
}
