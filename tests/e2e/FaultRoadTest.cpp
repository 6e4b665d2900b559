// Faults on purpose in the logon and room roads, against the demo world with
// faults put in front of its servers: the hall server closing the connection
// in the room and during the logon, a room server that never answers the
// room logon, and malformed bodies at each step. Each time the test checks
// what the servers saw, what the windows show, and that the hall still
// answers.
#include "E2eTest.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DemoFaults.h"
#include "HallProtocol.h"
#include "ProcessWindows.h"
#include "RoomProtocol.h"
#include "TestWait.h"
#include "WireBytes.h"

using namespace e2e;

namespace
{

class FaultRoad : public E2eTest
{
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        m_HallFaults.Attach(m_World.GetHallServer());
    }

    // The hall server's logon requests by user id: the reconnect's.
    std::vector<tagServerFrame> LogonsByUserID()
    {
        return Requests(m_World.GetHallServer(), HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID);
    }
    // No window of the hall shows but the one given.
    static bool OnlyShows(HallProcess& hall, HWND hWnd)
    {
        const std::vector<HWND> windows = hall.TopWindows();
        return windows.size() == 1 && windows[0] == hWnd;
    }

    CDemoFaults m_HallFaults;
    // Put in front of one room server by the test that needs it.
    CDemoFaults m_RoomFaults;
};

// The plaza's service button and its neighbours' ids.
const int kServiceButtonId = 1016;
const int kMessageButtonId = 1018;

// The processes of that program the hall started, by id.
std::vector<DWORD> ChildProcesses(DWORD dwParent, const char* pszProgram)
{
    std::vector<DWORD> found;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore; bMore = Process32Next(hSnapshot, &entry))
        if (entry.th32ParentProcessID == dwParent && _stricmp(entry.szExeFile, pszProgram) == 0)
            found.push_back(entry.th32ProcessID);
    CloseHandle(hSnapshot);
    return found;
}

// A visible top-level window of the process.
bool ShowsWindow(DWORD dwProcessId)
{
    return FindProcessWindow(dwProcessId, [](HWND) { return true; }) != NULL;
}

// Ends the processes still running, and waits for that.
void EndProcesses(const std::vector<DWORD>& processes)
{
    for (DWORD dwProcessId : processes) {
        HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwProcessId);
        if (hProcess == NULL)
            continue;
        TerminateProcess(hProcess, 1);
        WaitForSingleObject(hProcess, kWait);
        CloseHandle(hProcess);
    }
}

// A logon refusal as the hall server words it.
std::vector<BYTE> LogonRefusal()
{
    return CWireBytes().U32(3).Counted(demohall::kRefusalText).Vector();
}

} // namespace

// In a room, the hall server drops the hall's connection: the hall connects
// again at once and logs on by user id with the password's digest, and the
// room goes on. A second drop is reconnected as well; when the server then
// refuses the logon, the hall closes that connection and stays as it is.
TEST_F(FaultRoad, TheHallServerClosingInARoomIsReconnectedUntilALogonIsRefused)
{
    HallProcess hall(m_World.GetHallPort());
    HWND hFrame = NULL, hTree = NULL, hTableView = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(hall, hFrame, hTree));
    const demodata::tagRoom& room = demodata::Rooms().front();
    ASSERT_NO_FATAL_FAILURE(EnterFromTree(hall, hFrame, hTree, room, hTableView));
    CFrameServer& server = m_World.GetHallServer();
    ASSERT_EQ(1, server.GetConnectionCount());

    // The first drop: a new connection, the logon by user id, the requests
    // after a logon.
    server.Close(0);
    ASSERT_TRUE(PumpUntil([&] { return LogonsByUserID().size() == 1; }, kWait))
        << "no second logon\n"
        << DescribeRequests(server) << hall.DescribeWindows();
    const tagServerFrame logon = LogonsByUserID()[0];
    EXPECT_EQ(1, logon.nConnection);
    const std::vector<BYTE> expected =
        CWireBytes().U32(demohall::kUserID).Str(demodata::Accounts()[0].pszDigest).Vector();
    ASSERT_GE(logon.Body.size(), expected.size());
    EXPECT_EQ(expected, std::vector<BYTE>(logon.Body.begin(), logon.Body.begin() + expected.size()));
    EXPECT_TRUE(WaitRequests(server, HALL_MAIN_ONLINE_COUNT, HALL_SUB_ONLINE_COUNT_SUBSCRIBE, 2))
        << "no requests after the logon\n"
        << DescribeRequests(server);
    EXPECT_EQ(2, server.GetConnectionCount());
    EXPECT_EQ(1u, LogonAccounts().size()) << "the reconnect logs on by user id only";
    // Nothing asked of the player; the room still shows him.
    EXPECT_TRUE(Answers(hFrame));
    EXPECT_TRUE(OnlyShows(hall, hFrame)) << hall.DescribeWindows();
    EXPECT_TRUE(IsWindowVisible(hTableView));
    CFrameServer* pRoomServer = m_World.GetRoomServer(room.dwID);
    EXPECT_FALSE(pRoomServer->IsPeerClosed(0));

    // The second drop, and the server refuses the account now.
    m_HallFaults.SilenceNext(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID);
    m_HallFaults.SendBeforeNext(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID, HALL_MAIN_USER,
                                HALL_SUB_S_USER_LOGON_RESULT, LogonRefusal());
    server.Close(1);
    ASSERT_TRUE(PumpUntil([&] { return LogonsByUserID().size() == 2; }, kWait)) << "no third logon\n"
                                                                                << DescribeRequests(server);
    EXPECT_EQ(2, LogonsByUserID()[1].nConnection);
    EXPECT_TRUE(PumpUntil([&] { return server.IsPeerClosed(2); }, kWait)) << "the refused connection stays open";
    // That the hall never tries again after the refusal, at the growing
    // waits, is shown where the frame's waits can be shortened; here it
    // stays up with its room and asks nothing.
    EXPECT_TRUE(Answers(hFrame));
    EXPECT_EQ(3, server.GetConnectionCount());
    EXPECT_TRUE(OnlyShows(hall, hFrame)) << hall.DescribeWindows();
    EXPECT_TRUE(IsWindowVisible(hTableView));
    EXPECT_FALSE(pRoomServer->IsPeerClosed(0));
}

// The hall server drops the connection while the logon dialog waits for an
// answer: the dialog takes input again without a message, and the next
// logon goes through.
TEST_F(FaultRoad, TheHallServerClosingDuringTheLogonGivesTheDialogBack)
{
    struct Case
    {
        const char* name;
        WORD wMainCmdID; // the request the server closes at
        WORD wSubCmdID;
    };
    const Case cases[] = {
        {"at the logon request", HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_ACCOUNT},
        {"at the game list, logged on", HALL_MAIN_GAME_LIST, HALL_SUB_GAME_LIST_FIRST},
    };
    HallProcess hall(m_World.GetHallPort());
    ASSERT_TRUE(hall.Start()) << hall.Failure();
    HWND hDialog = hall.WaitLogonDialog();
    ASSERT_NE((HWND)NULL, hDialog);
    CFrameServer& server = m_World.GetHallServer();
    int nConnection = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_HallFaults.CloseAtNext(c.wMainCmdID, c.wSubCmdID);
        HallProcess::LogOn(hDialog, demohall::kAccount, demohall::kPassword);
        ASSERT_TRUE(PumpUntil([&] { return m_HallFaults.GetPendingCount() == 0; }, kWait))
            << "the request did not come\n"
            << DescribeRequests(server);
        ASSERT_TRUE(PumpUntil([&] { return HallProcess::IsLogonIdle(hDialog); }, kWait)) << "the dialog waits on\n"
                                                                                         << hall.DescribeWindows();
        EXPECT_TRUE(OnlyShows(hall, hDialog)) << hall.DescribeWindows();
        EXPECT_TRUE(Answers(hDialog));
        EXPECT_EQ(++nConnection, server.GetConnectionCount());
    }

    // The dialog used again reaches the frame with the whole tree.
    HallProcess::LogOn(hDialog, demohall::kAccount, demohall::kPassword);
    HWND hFrame = hall.WaitFrame();
    ASSERT_NE((HWND)NULL, hFrame) << hall.DescribeWindows();
    HWND hTree = hall.WaitChild(hFrame, [&](HWND hWnd) {
        if (ClassOf(hWnd) != WC_TREEVIEWA)
            return false;
        for (const HallProcess::tagTreeItem& item : hall.TreeItems(hWnd))
            if (item.strText.find(demodata::Rooms().back().pszName) != std::string::npos)
                return true;
        return false;
    });
    EXPECT_NE((HWND)NULL, hTree) << "no tree with the demo rooms";
    EXPECT_EQ(3u, LogonAccounts().size());
    EXPECT_TRUE(LogonsByUserID().empty()) << "the frame reconnected for the dialog";
}

// The room server takes the room logon and never answers it. The room waits
// with the hall still answering and asking nothing; choosing another room
// asks to close the waiting one, closes its connection and enters the other.
TEST_F(FaultRoad, ARoomServerThatNeverAnswersLeavesTheHallUsable)
{
    const demodata::tagRoom& silent = demodata::Rooms().front();
    const demodata::tagRoom* pOther = nullptr;
    for (const demodata::tagRoom& room : demodata::Rooms())
        if (&room != &silent && room.nKind == demodata::ROOM_PLAIN)
            pOther = &room;
    ASSERT_NE(nullptr, pOther);
    CFrameServer* pSilentServer = m_World.GetRoomServer(silent.dwID);
    m_RoomFaults.Attach(*pSilentServer);
    m_RoomFaults.SilenceNext(ROOM_MAIN_ROOM, ROOM_SUB_LOGON);

    HallProcess hall(m_World.GetHallPort());
    HWND hFrame = NULL, hTree = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(hall, hFrame, hTree));
    ASSERT_NO_FATAL_FAILURE(DoubleClickRoom(hall, hTree, silent));
    ASSERT_TRUE(WaitRequests(*pSilentServer, ROOM_MAIN_ROOM, ROOM_SUB_LOGON)) << hall.DescribeWindows();
    ASSERT_TRUE(PumpUntil([&] { return m_RoomFaults.GetPendingCount() == 0; }, kWait));
    EXPECT_TRUE(Answers(hFrame));
    EXPECT_TRUE(OnlyShows(hall, hFrame)) << hall.DescribeWindows();
    Shot(hFrame, "fault-room-silent");

    ASSERT_NO_FATAL_FAILURE(DoubleClickRoom(hall, hTree, *pOther));
    HWND hAsk = hall.WaitBox("进入的游戏房间太多了");
    ASSERT_NE((HWND)NULL, hAsk) << hall.DescribeWindows();
    PostMessageA(hAsk, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([&] { return pSilentServer->IsPeerClosed(0); }, kWait)) << "the waiting room stays";
    CFrameServer* pOtherServer = m_World.GetRoomServer(pOther->dwID);
    ASSERT_TRUE(WaitRequests(*pOtherServer, ROOM_MAIN_ROOM, ROOM_SUB_LOGON)) << hall.DescribeWindows();
    EXPECT_TRUE(PumpUntil([&] { return ListsShow(hall, hFrame, demodata::Accounts()[0].pszNickName); }, kWait))
        << "the other room is not entered\n"
        << DescribeRequests(*pOtherServer);
    EXPECT_EQ(1u, Requests(*pSilentServer, ROOM_MAIN_ROOM, ROOM_SUB_LOGON).size());
}

// Malformed bodies ahead of the good answers at each step of the logon road
// and of the room road: each is dropped, and the good answer after it is
// taken as if it had come alone.
TEST_F(FaultRoad, MalformedBodiesAreDroppedAndTheRoadsGoOn)
{
    struct Bad
    {
        const char* name;
        WORD wMainCmdID; // the request it goes ahead of
        WORD wSubCmdID;
        WORD wFrameMain;
        WORD wFrameSub;
        std::vector<BYTE> Body;
        bool bAsReply;
    };
    // An enveloped item that claims more bytes than follow it.
    const CWireBytes shortItem = CWireBytes().Count(40).U32(demohall::kFirstRoomID);
    const Bad hallBodies[] = {
        {"logon result cut after its code", HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_ACCOUNT, HALL_MAIN_USER,
         HALL_SUB_S_USER_LOGON_RESULT, CWireBytes().U32(0).U32(demohall::kUserID).Vector(), true},
        {"categories counting more than they hold", HALL_MAIN_GAME_LIST, 1, HALL_MAIN_GAME_LIST,
         HALL_SUB_S_GAME_LIST_CATEGORIES,
         CWireBytes()
             .U32(5)
             .U32(0)
             .Count(5)
             .Item(CWireBytes().U32(demodata::Categories()[0].dwID).Str("坏分类"))
             .Vector(),
         true},
        {"a room item cut short", HALL_MAIN_GAME_LIST, 4, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_ROOMS,
         CWireBytes().U32(1).U32(0).Count(1).Bytes(shortItem.Vector()).Vector(), true},
        {"tree links counting more than they hold", HALL_MAIN_GAME_LIST, 7, HALL_MAIN_GAME_LIST,
         HALL_SUB_S_GAME_LIST_SERVER_TREE, CWireBytes().U32(3).U32(0).Count(3).Vector(), true},
        {"online counts cut short", HALL_MAIN_ONLINE_COUNT, HALL_SUB_ONLINE_COUNT_SUBSCRIBE, HALL_MAIN_ONLINE_COUNT,
         HALL_SUB_S_ONLINE_COUNT_ROOMS, CWireBytes().U32(2).U32(0).Count(2).Vector(), true},
    };
    const Bad roomBodies[] = {
        {"room logon result cut after its code", ROOM_MAIN_ROOM, ROOM_SUB_LOGON, ROOM_MAIN_ROOM,
         ROOM_SUB_S_LOGON_RESULT, CWireBytes().U32(0).Vector(), true},
        {"room information cut short", ROOM_MAIN_ROOM, ROOM_SUB_LOGON, ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO,
         CWireBytes().U32(demohall::kFirstRoomID).U32(10).U16(12).Vector(), false},
        {"a user arriving without his name", ROOM_MAIN_ROOM, ROOM_SUB_LOGON, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER,
         CWireBytes().U32(424242).U8(200).Vector(), false},
        {"user texts counting more than they hold", ROOM_MAIN_ROOM, ROOM_SUB_LOGON, ROOM_MAIN_ROOM,
         ROOM_SUB_S_USER_TEXTS, CWireBytes().U32(demohall::kUserID).Count(5).U16(14).Str("1").Vector(), false},
        {"a user list counting more than it holds", ROOM_MAIN_ROOM, ROOM_SUB_LOGON, ROOM_MAIN_ROOM,
         ROOM_SUB_S_USER_LIST, CWireBytes().Count(300).U32(424242).Vector(), false},
    };
    for (const Bad& bad : hallBodies)
        m_HallFaults.SendBeforeNext(bad.wMainCmdID, bad.wSubCmdID, bad.wFrameMain, bad.wFrameSub, bad.Body,
                                    bad.bAsReply);
    const demodata::tagRoom& room = demodata::Rooms().front();
    CFrameServer* pRoomServer = m_World.GetRoomServer(room.dwID);
    m_RoomFaults.Attach(*pRoomServer);
    for (const Bad& bad : roomBodies)
        m_RoomFaults.SendBeforeNext(bad.wMainCmdID, bad.wSubCmdID, bad.wFrameMain, bad.wFrameSub, bad.Body,
                                    bad.bAsReply);

    // The logon road: the frame with every room of the tree.
    HallProcess hall(m_World.GetHallPort());
    HWND hFrame = NULL, hTree = NULL, hTableView = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(hall, hFrame, hTree));
    EXPECT_TRUE(PumpUntil([&] { return m_HallFaults.GetPendingCount() == 0; }, kWait))
        << "not every bad body went out\n"
        << DescribeRequests(m_World.GetHallServer());
    ASSERT_TRUE(PumpUntil(
        [&] {
            std::string texts;
            for (const HallProcess::tagTreeItem& item : hall.TreeItems(hTree))
                texts += item.strText + "\n";
            for (const demodata::tagRoom& demoRoom : demodata::Rooms())
                if (texts.find(demoRoom.pszName) == std::string::npos)
                    return false;
            return texts.find("坏分类") == std::string::npos;
        },
        kWait))
        << "the tree is not the demo tree";

    // The room road: the room entered, its players listed, no stranger.
    ASSERT_NO_FATAL_FAILURE(EnterFromTree(hall, hFrame, hTree, room, hTableView));
    EXPECT_EQ(0u, m_RoomFaults.GetPendingCount());
    for (const demodata::tagResident& resident : demodata::Residents())
        EXPECT_TRUE(PumpUntil([&] { return ListsShow(hall, hFrame, resident.pszNickName); }, kWait))
            << resident.pszNickName;
    HWND hPlayers = FindChild(hFrame, [&](HWND h) {
        if (ClassOf(h) != WC_LISTVIEWA || !IsWindowVisible(h))
            return false;
        for (const std::string& row : hall.ListRows(h))
            if (row.find(demodata::Accounts()[0].pszNickName) != std::string::npos)
                return true;
        return false;
    });
    ASSERT_NE((HWND)NULL, hPlayers);
    EXPECT_EQ(demodata::Residents().size() + 1, hall.ListRows(hPlayers).size());
    EXPECT_TRUE(OnlyShows(hall, hFrame)) << hall.DescribeWindows();

    // In the room: chat lines cut short or longer than their body, then a
    // good one, which alone shows.
    const int nConnection = Requests(*pRoomServer, ROOM_MAIN_ROOM, ROOM_SUB_LOGON)[0].nConnection;
    const DWORD dwSender = demodata::Residents().front().dwUserID;
    const std::vector<std::vector<BYTE>> badLines = {
        CWireBytes().U32(dwSender).U32(0).Vector(),
        CWireBytes().U32(dwSender).U32(0).U32(0).U8(120).Raw("坏的一行", 8).Vector(),
    };
    for (const std::vector<BYTE>& line : badLines)
        ASSERT_TRUE(pRoomServer->SendFrame(nConnection, 0, ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT, line.data(), line.size()));
    const char kGood[] = "这一行是好的";
    const CWireBytes good = CWireBytes().U32(dwSender).U32(0).U32(0).Str(kGood);
    ASSERT_TRUE(pRoomServer->SendFrame(nConnection, 0, ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT, good.Data(), good.Size()));
    EXPECT_TRUE(PumpUntil([&] { return ChatText(hFrame).find(kGood) != std::string::npos; }, kWait))
        << ChatText(hFrame);
    EXPECT_EQ(std::string::npos, ChatText(hFrame).find("坏的一行"));
    EXPECT_TRUE(Answers(hFrame));
    EXPECT_FALSE(pRoomServer->IsPeerClosed(nConnection));
}

// Quillon, started from the plaza's service button, is killed while the hall
// runs: the hall goes on without a word, and the button starts it again.
TEST_F(FaultRoad, QuillonKilledWhileTheHallRunsIsStartedAgain)
{
    HallProcess hall(m_World.GetHallPort());
    HWND hFrame = NULL, hTree = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(hall, hFrame, hTree));
    HWND hService = hall.WaitChild(hFrame, [](HWND h) {
        return GetDlgCtrlID(h) == kServiceButtonId && GetDlgItem(GetParent(h), kMessageButtonId) != NULL &&
               IsWindowVisible(h);
    });
    ASSERT_NE((HWND)NULL, hService) << "no service button";
    std::vector<DWORD> started;
    struct tagGuard
    {
        std::vector<DWORD>& processes;
        ~tagGuard() { EndProcesses(processes); }
    } guard{started};

    for (int nStart = 1; nStart <= 2; ++nStart) {
        SCOPED_TRACE(nStart);
        Click(hService);
        DWORD dwQuillon = 0;
        ASSERT_TRUE(PumpUntil(
            [&] {
                for (DWORD dwProcessId : ChildProcesses(hall.ProcessId(), "Quillon.exe"))
                    if (std::find(started.begin(), started.end(), dwProcessId) == started.end())
                        dwQuillon = dwProcessId;
                return dwQuillon != 0;
            },
            kWait))
            << "Quillon not started";
        started.push_back(dwQuillon);
        ASSERT_TRUE(PumpUntil([&] { return ShowsWindow(dwQuillon); }, kWait)) << "Quillon shows no window";
        EndProcesses({dwQuillon});
        EXPECT_TRUE(ChildProcesses(hall.ProcessId(), "Quillon.exe").empty());
        EXPECT_TRUE(Answers(hFrame));
        EXPECT_TRUE(OnlyShows(hall, hFrame)) << hall.DescribeWindows();
    }
    EXPECT_NE(started[0], started[1]);
    EXPECT_FALSE(hall.Ended(0));
}
