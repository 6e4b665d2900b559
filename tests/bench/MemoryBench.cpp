// The assembled hall's private bytes after logging on to the demo world,
// then after entering its plain room and 5,000 more users arriving there:
// Tavrel.exe started from a program folder of its own, logged on and driven
// through its windows as the end-to-end roads do; the room's server sends the
// crowd on the player's connection once he is in, and the figure is read when
// the hall's player list holds every row. Each figure is taken once it holds
// still for a moment. Private bytes are read from this
// process (PROCESS_MEMORY_COUNTERS_EX.PrivateUsage, or PagefileUsage where
// Wine leaves that empty). Each round starts a new hall; medians.
//   memory_bench [rounds]
// Run from the build's program folder (build/<arch>/bin).
#include "HallProcess.h"

#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DemoWorld.h"
#include "RoomProtocol.h"
#include "TestWait.h"
#include "WireBytes.h"

using namespace e2e;

namespace
{

const int kCrowd = 5000;
const DWORD kFirstCrowdID = 1000000;
// A member of rank 1, as the demo room's residents are.
const WORD kCrowdRank = 1;

struct tagRound
{
    SIZE_T nLogon = 0;    // the frame up and its game tree filled
    SIZE_T nRoom = 0;     // in the room with its residents
    SIZE_T nCrowd = 0;    // the crowd listed too
    double fCrowdMs = 0;  // from the crowd sent until listed
    std::string strError; // empty when the round got its figures
};

SIZE_T PrivateBytes(DWORD dwProcessId)
{
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwProcessId);
    if (hProcess == NULL)
        return 0;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    SIZE_T nBytes = 0;
    // Windows gives the private commit in both fields; Wine fills only the
    // page-file one (from the process's anonymous pages).
    if (GetProcessMemoryInfo(hProcess, (PROCESS_MEMORY_COUNTERS*)&counters, sizeof(counters)))
        nBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    CloseHandle(hProcess);
    return nBytes;
}

// The hall has handled what was queued for its windows before this.
void Settle(HWND hFrame)
{
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hFrame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWait, &nResult);
}

// The private bytes once they hold still: the hall loads some things after
// a step has shown (pictures, the rest of its lists). Still means within
// kSteadySlack over kSteadyMs of samples; the figure at kSteadyBound
// otherwise.
const SIZE_T kSteadySlack = 64 * 1024;
const DWORD kSteadyMs = 2000;
const DWORD kSteadyBound = 30000;
// Between samples the bench waits on the hall itself: a hall that ends
// stops the sampling at once.
const DWORD kSampleMs = 50;

SIZE_T SteadyPrivateBytes(DWORD dwProcessId, HWND hFrame)
{
    HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, dwProcessId);
    if (hProcess == NULL)
        return 0;
    const DWORD dwStart = GetTickCount();
    Settle(hFrame);
    SIZE_T nMark = PrivateBytes(dwProcessId), nBytes = nMark;
    DWORD dwMark = GetTickCount();
    while (GetTickCount() - dwMark < kSteadyMs && GetTickCount() - dwStart < kSteadyBound) {
        if (WaitForSingleObject(hProcess, kSampleMs) != WAIT_TIMEOUT)
            break;
        Settle(hFrame);
        nBytes = PrivateBytes(dwProcessId);
        if (nBytes > nMark + kSteadySlack || nBytes + kSteadySlack < nMark) {
            nMark = nBytes;
            dwMark = GetTickCount();
        }
    }
    CloseHandle(hProcess);
    return nBytes;
}

double NowMs()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

// Double-clicks the room's item in the game tree as a player would.
bool OpenRoom(HallProcess& hall, HWND hTree, const demodata::tagRoom& room)
{
    return hall.DoubleClickTreeItem(hTree, room.pszName);
}

// The room's visible player list once it lists the player.
HWND WaitPlayerList(HallProcess& hall, HWND hFrame)
{
    const std::string nickName = demodata::Accounts()[0].pszNickName;
    HWND hFound = NULL;
    PumpUntil(
        [&] {
            for (HWND hList :
                 FindChildren(hFrame, [](HWND h) { return ClassOf(h) == WC_LISTVIEWA && IsWindowVisible(h); }))
                for (const std::string& row : hall.ListRows(hList))
                    if (row.find(nickName) != std::string::npos) {
                        hFound = hList;
                        return true;
                    }
            return false;
        },
        kWait);
    return hFound;
}

// The crowd's arrivals as one write on the player's connection.
std::vector<BYTE> CrowdFrames()
{
    std::vector<BYTE> wire;
    char nickName[32];
    for (int i = 0; i < kCrowd; ++i) {
        snprintf(nickName, sizeof(nickName), "过客%05d", i);
        const CWireBytes body = CWireBytes().U32(kFirstCrowdID + i).Str(nickName).U16(kCrowdRank);
        const std::vector<BYTE> frame =
            CFrameServer::MakeFrame(0, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, body.Data(), body.Size());
        wire.insert(wire.end(), frame.begin(), frame.end());
    }
    return wire;
}

tagRound RunRound(CDemoWorld& world, const demodata::tagRoom& room, const std::vector<BYTE>& crowd)
{
    tagRound round;
    CFrameServer& server = *world.GetRoomServer(room.dwID);
    HallProcess hall(world.GetHallPort());
    if (!hall.Start()) {
        round.strError = "the hall did not start";
        return round;
    }
    HWND hDialog = hall.WaitLogonDialog();
    if (hDialog == NULL) {
        round.strError = "no logon dialog";
        return round;
    }
    HallProcess::LogOn(hDialog, demohall::kAccount, demohall::kPassword);
    HWND hFrame = hall.WaitFrame();
    HWND hTree = hFrame == NULL ? NULL : hall.WaitChild(hFrame, [](HWND h) {
        return ClassOf(h) == WC_TREEVIEWA && SendMessageA(h, TVM_GETCOUNT, 0, 0) > 0;
    });
    if (hTree == NULL) {
        round.strError = "no frame with a filled game tree after the logon\n" + hall.DescribeWindows();
        return round;
    }
    round.nLogon = SteadyPrivateBytes(hall.ProcessId(), hFrame);

    const size_t nFramesBefore = server.GetFrameCount();
    if (!OpenRoom(hall, hTree, room)) {
        round.strError = "the room is not in the game tree";
        return round;
    }
    HWND hList = WaitPlayerList(hall, hFrame);
    if (hList == NULL) {
        round.strError = "the room's list does not show the player\n" + hall.DescribeWindows();
        return round;
    }
    // The player's connection: the one his room logon came on.
    int nConnection = -1;
    for (size_t i = nFramesBefore; i < server.GetFrameCount(); ++i) {
        const tagServerFrame frame = server.GetFrame(i);
        if (frame.wMainCmdID == ROOM_MAIN_ROOM && frame.wSubCmdID == ROOM_SUB_LOGON)
            nConnection = frame.nConnection;
    }
    if (nConnection < 0) {
        round.strError = "no room logon seen";
        return round;
    }
    round.nRoom = SteadyPrivateBytes(hall.ProcessId(), hFrame);
    const int nBefore = (int)SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0);

    const double fSent = NowMs();
    if (!server.SendRaw(nConnection, crowd.data(), crowd.size())) {
        round.strError = "the crowd could not be sent";
        return round;
    }
    if (!PumpUntil([&] { return (int)SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) >= nBefore + kCrowd; }, kWait)) {
        char text[96];
        snprintf(text, sizeof(text), "the list holds %d rows, not %d", (int)SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0),
                 nBefore + kCrowd);
        round.strError = text;
        return round;
    }
    round.fCrowdMs = NowMs() - fSent;
    round.nCrowd = SteadyPrivateBytes(hall.ProcessId(), hFrame);
    return round;
}

template <class T> T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? T() : values[values.size() / 2];
}

double KiB(SIZE_T nBytes)
{
    return nBytes / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 3;
    if (rounds < 1)
        rounds = 1;
    CDemoWorld world;
    if (!world.Start()) {
        printf("memory_bench: the demo world did not start\n");
        return 1;
    }
    const demodata::tagRoom* pRoom = nullptr;
    for (const demodata::tagRoom& room : demodata::Rooms())
        if (pRoom == nullptr && room.nKind == demodata::ROOM_PLAIN)
            pRoom = &room;
    const std::vector<BYTE> crowd = CrowdFrames();

    std::vector<SIZE_T> logon, inRoom, withCrowd;
    std::vector<double> crowdMs;
    for (int i = 0; i < rounds; ++i) {
        const tagRound round = RunRound(world, *pRoom, crowd);
        if (!round.strError.empty()) {
            printf("memory_bench: round %d: %s\n", i + 1, round.strError.c_str());
            return 1;
        }
        logon.push_back(round.nLogon);
        inRoom.push_back(round.nRoom);
        withCrowd.push_back(round.nCrowd);
        crowdMs.push_back(round.fCrowdMs);
        printf("round %d: logged on %.0f KiB, in the room %.0f KiB, with %d users %.0f KiB (listed in %.0f ms)\n",
               i + 1, KiB(round.nLogon), KiB(round.nRoom), kCrowd, KiB(round.nCrowd), round.fCrowdMs);
        fflush(stdout);
    }
    const SIZE_T nLogon = Median(logon), nRoom = Median(inRoom), nCrowd = Median(withCrowd);
    printf("logged on alone: %.0f KiB private\n", KiB(nLogon));
    printf("in the room with its residents: %.0f KiB private\n", KiB(nRoom));
    printf("in the room with %d more users: %.0f KiB private (%.0f bytes a user over the room alone)\n", kCrowd,
           KiB(nCrowd), nCrowd > nRoom ? double(nCrowd - nRoom) / kCrowd : 0.0);
    printf("memory_bench: room of %d users %.0f KiB, logged on alone %.0f KiB (medians of %d), ratio %.2f\n", kCrowd,
           KiB(nCrowd), KiB(nLogon), rounds, nLogon > 0 ? double(nCrowd) / double(nLogon) : 0.0);
    world.Stop();
    return 0;
}
