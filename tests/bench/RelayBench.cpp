// Round trips of kind-100 game requests of 16, 256 and 4000 bytes: the
// stand-in game client -> the room's channel window -> the room data centre
// -> the socket module -> the room server (echo) and the same way back. The
// baseline moves the same bytes in the same run without the hall's code: the
// stand-in's WM_COPYDATA goes to a plain window of this program, which writes
// the body as one packet to the same echo server through a non-blocking
// socket whose read event comes back through the same message loop, and
// sends the echo back by WM_COPYDATA. After a warm-up the two alternate in
// batches. Prints the median round trip of each per size, then the worst
// relay / baseline ratio.
// Run by hand: relay_bench [batches].
#include <winsock2.h>

#include <afxwin.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GameClientControl.h"
#include "GameTreeManager.h"
#include "GlobalUnits.h"
#include "MessagePump.h"
#include "PacketFrame.h"
#include "RoomDataCenter.h"
#include "RoomServer.h"
#include "TempFolder.h"

namespace
{

const UINT WM_BASELINE_SOCKET = WM_APP + 10;
const DWORD kGameID = 1;
const DWORD kOwnUserID = 1001;
const DWORD kBatch = 20;
const DWORD kWarmUp = 50;

// What the stand-in reported: its window, and the round trips of its last bench.
struct tagReports
{
    HWND hClient = NULL;
    std::vector<DWORD> Times;
    bool bTimes = false;
} g_Reports;

LRESULT CALLBACK ReportProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_COPYDATA)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    const COPYDATASTRUCT* pCopy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (pCopy->dwData == GAMECLIENT_REPORT_START && pCopy->cbData >= sizeof(tagGameClientStart)) {
        tagGameClientStart start;
        memcpy(&start, pCopy->lpData, sizeof(start));
        g_Reports.hClient = HWND(ULongToHandle(start.dwWindow));
    } else if (pCopy->dwData == GAMECLIENT_REPORT_TIMES) {
        const DWORD* pTimes = static_cast<const DWORD*>(pCopy->lpData);
        g_Reports.Times.assign(pTimes, pTimes + pCopy->cbData / sizeof(DWORD));
        g_Reports.bTimes = true;
    }
    return TRUE;
}

// The baseline's plain window and its socket.
struct tagBaseline
{
    HWND hWnd = NULL;
    SOCKET hSocket = INVALID_SOCKET;
    HWND hClient = NULL;
    std::vector<BYTE> Pending;
} g_Baseline;

void BaselineSend(const COPYDATASTRUCT* pCopy, HWND hSender)
{
    // {channel head; kind; sub; body} -> one packet 1005/sub with the body.
    const BYTE* p = static_cast<const BYTE*>(pCopy->lpData);
    if (pCopy->dwData != IPC_IDENTIFIER || pCopy->cbData < sizeof(tagIPCHead) + 4)
        return;
    g_Baseline.hClient = hSender;
    WORD wSub = 0;
    memcpy(&wSub, p + sizeof(tagIPCHead) + 2, 2);
    size_t nBody = pCopy->cbData - sizeof(tagIPCHead) - 4;
    std::vector<BYTE> packet = CFrameServer::MakeFrame(0, ROOM_MAIN_FRAME, wSub, p + sizeof(tagIPCHead) + 4, nBody);
    send(g_Baseline.hSocket, reinterpret_cast<const char*>(packet.data()), int(packet.size()), 0);
}

void BaselineRead()
{
    char buffer[8192];
    int n = recv(g_Baseline.hSocket, buffer, sizeof(buffer), 0);
    if (n <= 0)
        return;
    g_Baseline.Pending.insert(g_Baseline.Pending.end(), buffer, buffer + n);
    size_t used = 0;
    tagPacketHead head;
    while (g_Baseline.Pending.size() - used >= PACKET_HEAD_SIZE && ReadPacketHead(&g_Baseline.Pending[used], head) &&
           g_Baseline.Pending.size() - used >= head.dwPacketSize) {
        // Back as channel main 1 sub 2 with the kind-100 head.
        std::vector<BYTE> frame(sizeof(tagIPCHead) + 4 + head.wBodySize);
        tagIPCHead channel = {IPC_VERSION, WORD(frame.size()), 1, 2};
        const WORD wRelay[2] = {100, head.wSubCmdID};
        memcpy(frame.data(), &channel, sizeof(channel));
        memcpy(frame.data() + sizeof(channel), wRelay, 4);
        memcpy(frame.data() + sizeof(channel) + 4, &g_Baseline.Pending[used + PACKET_HEAD_SIZE], head.wBodySize);
        used += head.dwPacketSize;
        COPYDATASTRUCT copyData = {IPC_IDENTIFIER, DWORD(frame.size()), frame.data()};
        SendMessageA(g_Baseline.hClient, WM_COPYDATA, WPARAM(g_Baseline.hWnd), LPARAM(&copyData));
    }
    g_Baseline.Pending.erase(g_Baseline.Pending.begin(), g_Baseline.Pending.begin() + used);
}

LRESULT CALLBACK BaselineProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COPYDATA) {
        BaselineSend(reinterpret_cast<const COPYDATASTRUCT*>(lParam), HWND(wParam));
        return TRUE;
    }
    if (uMsg == WM_BASELINE_SOCKET) {
        if (WSAGETSELECTEVENT(lParam) == FD_READ)
            BaselineRead();
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

HWND MakeWindow(const char* pszClass, WNDPROC pfnProc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = pszClass;
    RegisterClassA(&wc);
    return CreateWindowA(pszClass, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
}

bool ConnectBaseline(WORD wPort)
{
    g_Baseline.hSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(wPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(g_Baseline.hSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        return false;
    BOOL bNoDelay = TRUE;
    setsockopt(g_Baseline.hSocket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&bNoDelay),
               sizeof(bNoDelay));
    // Options as the socket module's; non-blocking from here on, its reads
    // announced to the window.
    return WSAAsyncSelect(g_Baseline.hSocket, g_Baseline.hWnd, WM_BASELINE_SOCKET, FD_READ | FD_CLOSE) == 0;
}

// One bench of the stand-in towards hTarget (NULL: the room's channel window).
bool RunBench(HWND hTarget, DWORD dwSize, DWORD dwCount, std::vector<DWORD>& times)
{
    g_Reports.bTimes = false;
    DWORD control[4] = {GAMECLIENT_BENCH, HandleToULong(hTarget), dwSize, dwCount};
    COPYDATASTRUCT copyData = {GAMECLIENT_CONTROL, sizeof(control), control};
    SendMessageA(g_Reports.hClient, WM_COPYDATA, 0, LPARAM(&copyData));
    if (!PumpUntil([] { return g_Reports.bTimes; }, 60000) || g_Reports.Times.size() != dwCount)
        return false;
    times.insert(times.end(), g_Reports.Times.begin(), g_Reports.Times.end());
    return true;
}

double Median(std::vector<DWORD> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

int Fail(const char* pszWhat)
{
    printf("relay_bench: %s\n", pszWhat);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int nBatches = argc > 1 ? atoi(argv[1]) : 25;
    if (nBatches <= 0)
        nBatches = 25;
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    new CWinApp("RelayBench");

    // A program folder whose game is the stand-in client.
    CTempFolder folder("relaybench");
    folder.Write("Game\\CONFIG.INI", "[Public]\r\nExeName=gameclient.exe\r\n");
    char szPath[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    *strrchr(szPath, '\\') = '\0';
    if (!CopyFileA((std::string(szPath) + "\\gameclient.exe").c_str(), folder.File("Game\\gameclient.exe").c_str(),
                   FALSE))
        return Fail("no gameclient.exe beside the bench");
    CGameTreeManager tree;
    CGame* pGame = new CGame(kGameID);
    pGame->SetFolderName("Game");
    tree.AddGame(pGame);
    g_GlobalUnits.SetWorkDirectory(folder.Path().c_str());
    g_GlobalUnits.SetGameTreeManager(&tree);
    g_GlobalUnits.GetGlobalUserData()->dwUserID = kOwnUserID;

    HWND hReport = MakeWindow("RelayBenchReport", ReportProc);
    g_Baseline.hWnd = MakeWindow("RelayBenchBaseline", BaselineProc);
    char szReport[16];
    snprintf(szReport, sizeof(szReport), "%lu", HandleToULong(hReport));
    SetEnvironmentVariableA(GAMECLIENT_ENV_REPORT, szReport);

    // The room server echoes game frames and keeps none of them.
    CRoomServer server;
    server.SetKeepFrames(false);
    server.EchoGameFrames();
    server.AnswerLogon(RoomBody::LogonOk(kOwnUserID));
    if (!server.Start())
        return Fail("the room server did not start");
    CWnd mainWnd;
    mainWnd.CreateEx(0, AfxRegisterWndClass(0), "RelayBench", WS_POPUP, 0, 0, 10, 10, NULL, NULL);
    CRoomDataCenter::SetHallWindow(mainWnd.GetSafeHwnd());
    CGameRoom room(kGameID);
    room.SetGameId(kGameID);
    room.SetServerAddresses("127.0.0.1");
    room.SetPort(server.GetPort());
    CRoomDataCenter* pDataCenter = CreateRoomDataCenter();
    if (pDataCenter == NULL || !pDataCenter->InitRoomDataCenter(&room, ""))
        return Fail("no room data centre");
    pDataCenter->ConnectServer("127.0.0.1", server.GetPort());
    if (!PumpUntil([&] { return pDataCenter->IsConnected(); }))
        return Fail("the room did not connect");
    DWORD dwSerial = 0;
    pDataCenter->SendRoomLogon(dwSerial, mainWnd.GetSafeHwnd(), 0, NULL);
    if (!PumpUntil([&] { return pDataCenter->GetUserManager()->GetMeUserItem() != NULL; }))
        return Fail("no logon");
    if (pDataCenter->LaunchGameClient() != 1)
        return Fail("the game client did not start");
    if (!PumpUntil([&] { return pDataCenter->GetGameState() == GAME_STATE_ATTACHED && g_Reports.hClient != NULL; }))
        return Fail("the game client did not attach");
    if (!ConnectBaseline(server.GetPort()))
        return Fail("the baseline did not connect");

    double dWorst = 0;
    for (DWORD dwSize : {16u, 256u, 4000u}) {
        std::vector<DWORD> relay;
        std::vector<DWORD> baseline;
        std::vector<DWORD> warm;
        if (!RunBench(NULL, dwSize, kWarmUp, warm) || !RunBench(g_Baseline.hWnd, dwSize, kWarmUp, warm))
            return Fail("the warm-up did not finish");
        for (int i = 0; i < nBatches; ++i) {
            if (!RunBench(NULL, dwSize, kBatch, relay) || !RunBench(g_Baseline.hWnd, dwSize, kBatch, baseline))
                return Fail("a batch did not finish");
        }
        double dRelay = Median(relay);
        double dBaseline = Median(baseline);
        double dRatio = dBaseline > 0 ? dRelay / dBaseline : 0;
        dWorst = std::max(dWorst, dRatio);
        printf("%4lu bytes: relay median %.0f us, baseline median %.0f us, relay / baseline %.2f\n",
               (unsigned long)dwSize, dRelay, dBaseline, dRatio);
    }
    printf("worst relay / baseline ratio %.2f (at most 1.30 expected)\n", dWorst);

    // The client ends with the channel window; its folder goes after it.
    HANDLE hClient = NULL;
    DuplicateHandle(GetCurrentProcess(), pDataCenter->GetProcessInformation()->hProcess, GetCurrentProcess(), &hClient,
                    0, FALSE, DUPLICATE_SAME_ACCESS);
    closesocket(g_Baseline.hSocket);
    pDataCenter->UninitRoomDataCenter();
    if (hClient != NULL) {
        WaitForSingleObject(hClient, 5000);
        CloseHandle(hClient);
    }
    delete pDataCenter;
    server.Stop();
    mainWnd.DestroyWindow();
    return 0;
}
