// The user-service road through the assembled hall against the demo world: a
// click on the own face in the hall's user panel starts Quillon.exe beside
// the hall with the shared block's name; Quillon logs on to the user-service
// server with the hall's user and password digest, shows the account page
// filled from the server, sends a changed signature; on its face page a
// picture is loaded, cropped and uploaded, the face lands in the custom-face
// cache and the hall is told. Quillon killed while the hall runs is started
// anew by the next click.
#include "HttpTestServer.h" // Winsock before the system headers

#include "E2eTest.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ICustomFaceRes.h"
#include "SkinTestSupport.h"
#include "TestWait.h"
#include "WireBytes.h"

using namespace e2e;

namespace
{

// The plaza's own-user panel: the face sits 21 pixels in, a third down the
// 119-pixel panel; the message button beside it.
const POINT kOwnFace = {21 + 16, 17 + 16};
const int kPlazaMessageId = 1018;
// Quillon's main dialog, its group buttons and its pages' controls.
const char kServiceCaption[] = "用户服务";
const int kGroupFaceId = 10180;
const int kNickNameId = 10130;
const int kSignatureId = 10133;
const int kFaceLoadId = 3;
// The file dialog's name box: the combo box of the explorer style, or the
// edit of the old one.
const int kFileNameComboId = 0x47c;
const int kFileNameEditId = 0x480;
const char kUploadPath[] = "/face/upload";
const char kNewSignature[] = "今天手气不错";

DWORD ProcessOf(HWND hWnd)
{
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    return dwProcessId;
}

// The value of a query parameter of a request target.
std::string QueryValue(const std::string& target, const std::string& name)
{
    size_t at = target.find("?" + name + "=");
    if (at == std::string::npos)
        at = target.find("&" + name + "=");
    if (at == std::string::npos)
        return std::string();
    at += name.size() + 2;
    return target.substr(at, target.find('&', at) - at);
}

bool IsHex32(const std::string& text)
{
    return text.size() == 32 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

class ServiceRoad : public E2eTest
{
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        ASSERT_TRUE(m_Http.Start());
        m_Http.SetReply(kUploadPath, CHttpTestServer::Ok("ok"));
        m_pHall.reset(new HallProcess(m_World.GetHallPort()));
        m_pHall->InstallService(m_World.GetServicePort(), m_Http.Url(kUploadPath));
    }
    void TearDown() override
    {
        EndService();
        m_pHall.reset();
        m_Http.Stop();
        E2eTest::TearDown();
    }

    HallProcess& Hall() { return *m_pHall; }
    CServiceServer& Service() { return m_World.GetServiceServer(); }

    // The hall's plaza, found by its message button, and a click on the own
    // face there once the panel has been drawn (the face's place is
    // measured while drawing).
    void ClickOwnFace(HWND hFrame)
    {
        HWND hButton = Hall().WaitChild(hFrame, [](HWND h) {
            return GetDlgCtrlID(h) == kPlazaMessageId && ClassOf(h) == "Button" && IsWindowVisible(h);
        });
        ASSERT_NE((HWND)NULL, hButton) << Hall().DescribeWindows();
        HWND hPlaza = GetParent(hButton);
        InvalidateRect(hPlaza, NULL, FALSE);
        SendMessageA(hPlaza, WM_PAINT, 0, 0);
        const LPARAM at = MAKELPARAM(kOwnFace.x, kOwnFace.y);
        PostMessageA(hPlaza, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(hPlaza, WM_LBUTTONUP, 0, at);
    }

    // Quillon's main dialog, in a process of its own that is the program
    // beside the hall; kept to be ended by the test.
    HWND WaitService(DWORD dwNotProcess = 0)
    {
        const DWORD dwHall = Hall().ProcessId();
        HWND hService = WaitTopWindow([&](HWND h) {
            const DWORD dwProcess = ProcessOf(h);
            return dwProcess != dwHall && dwProcess != GetCurrentProcessId() && dwProcess != dwNotProcess &&
                   GetDlgItem(h, kGroupFaceId) != NULL && TextOf(h) == kServiceCaption;
        });
        if (hService == NULL)
            return NULL;
        EndService();
        m_hService = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                 ProcessOf(hService));
        return hService;
    }
    std::string ServiceImage()
    {
        char path[MAX_PATH] = "";
        DWORD dwSize = sizeof(path);
        if (m_hService == NULL || !QueryFullProcessImageNameA(m_hService, 0, path, &dwSize))
            return std::string();
        return path;
    }
    void EndService()
    {
        if (m_hService == NULL)
            return;
        TerminateProcess(m_hService, 1);
        WaitForSingleObject(m_hService, kWait);
        CloseHandle(m_hService);
        m_hService = NULL;
    }

    // A visible top-level window of Quillon that the test accepts.
    HWND WaitServiceWindow(HWND hService, const std::function<bool(HWND)>& accept)
    {
        const DWORD dwProcess = ProcessOf(hService);
        return WaitTopWindow([&](HWND h) { return ProcessOf(h) == dwProcess && h != hService && accept(h); });
    }
    // Quillon's visible control of that id.
    static HWND ShownControl(HWND hService, int nID)
    {
        return FindChild(hService, [nID](HWND h) { return GetDlgCtrlID(h) == nID && IsWindowVisible(h); });
    }

    CHttpTestServer m_Http;
    std::unique_ptr<HallProcess> m_pHall;
    HANDLE m_hService = NULL;
};

TEST_F(ServiceRoad, TheOwnFaceOpensTheServiceWhoseFaceChangeTheHallHears)
{
    HWND hFrame = NULL, hTree = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(Hall(), hFrame, hTree));
    ASSERT_NO_FATAL_FAILURE(ClickOwnFace(hFrame));

    // Quillon beside the hall, logged on with the hall's user.
    HWND hService = WaitService();
    ASSERT_NE((HWND)NULL, hService) << Hall().DescribeWindows();
    EXPECT_EQ(Hall().Folder().File("Quillon.exe"), ServiceImage());
    ASSERT_TRUE(WaitRequests(Service(), 100, 102)) << DescribeRequests(Service());
    const demodata::tagAccount& account = demodata::Accounts()[0];
    const std::vector<BYTE> logon = CWireBytes().U32(account.dwUserID).Str(account.pszDigest).Vector();
    const std::vector<BYTE> sent = Requests(Service(), 100, 102)[0].Body;
    ASSERT_GE(sent.size(), logon.size());
    EXPECT_EQ(logon, std::vector<BYTE>(sent.begin(), sent.begin() + logon.size()));
    // The start-up asked for the user's data, the strong box, the played
    // games and the strong-box password state; OK waits for the last answer.
    const std::pair<WORD, WORD> kStartRequests[] = {{200, 201}, {300, 301}, {500, 501}, {300, 313}};
    for (const auto& request : kStartRequests)
        EXPECT_TRUE(WaitRequests(Service(), request.first, request.second))
            << request.first << "/" << request.second << "\n"
            << DescribeRequests(Service());
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(GetDlgItem(hService, IDOK)) != FALSE; }, kWait));

    // The face opened the account page, filled from the server; a changed
    // signature goes to the server on OK.
    HWND hNick = ShownControl(hService, kNickNameId);
    ASSERT_NE((HWND)NULL, hNick);
    EXPECT_EQ("nick", TextOf(hNick));
    HWND hSignature = ShownControl(hService, kSignatureId);
    ASSERT_NE((HWND)NULL, hSignature);
    EXPECT_EQ("hello", TextOf(hSignature));
    SendMessageA(hSignature, WM_SETTEXT, 0, (LPARAM)kNewSignature);
    Click(GetDlgItem(hService, IDOK));
    ASSERT_TRUE(WaitRequests(Service(), 200, 203)) << DescribeRequests(Service());
    EXPECT_EQ(CWireBytes().Count(1).U16(15).Str(kNewSignature).Vector(), Requests(Service(), 200, 203)[0].Body);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(GetDlgItem(hService, IDOK)) != FALSE; }, kWait));

    // The face page: a picture loaded through the file dialog ...
    Click(GetDlgItem(hService, kGroupFaceId));
    HWND hLoad = Hall().WaitChild(
        hService, [](HWND h) { return GetDlgCtrlID(h) == kFaceLoadId && IsWindowVisible(h) && IsWindowEnabled(h); });
    ASSERT_NE((HWND)NULL, hLoad);
    const std::string picture =
        Hall().Folder().Write("face.bmp", skintest::Bmp24(skintest::Pixels(240, 160, RGB(200, 120, 40))));
    // Sent, not posted, from a thread of its own: the send returns once the
    // page has loaded the chosen picture, which the crop needs.
    std::atomic<bool> bLoaded(false);
    std::thread loader([&] {
        DWORD_PTR nResult = 0;
        SendMessageTimeoutA(GetParent(hLoad), WM_COMMAND, MAKEWPARAM(kFaceLoadId, BN_CLICKED), (LPARAM)hLoad,
                            SMTO_NORMAL, 2 * kWait, &nResult);
        bLoaded = true;
    });
    struct tagJoin
    {
        std::thread& thread;
        ~tagJoin() { thread.join(); }
    } join = {loader};
    HWND hFileDialog = WaitServiceWindow(hService, [](HWND h) {
        return GetDlgItem(h, kFileNameComboId) != NULL || GetDlgItem(h, kFileNameEditId) != NULL;
    });
    ASSERT_NE((HWND)NULL, hFileDialog);
    HWND hName = GetDlgItem(hFileDialog, kFileNameComboId);
    if (hName == NULL)
        hName = GetDlgItem(hFileDialog, kFileNameEditId);
    SendMessageA(hName, WM_SETTEXT, 0, (LPARAM)picture.c_str());
    PostMessageA(hFileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hFileDialog, IDOK));
    ASSERT_TRUE(PumpUntil([&] { return bLoaded.load(); }, kWait));

    // ... cropped where the crop frame starts, the middle of the editor (the
    // tracker reads the release from the queue behind the press) ...
    HWND hEditor = FindChild(GetParent(hLoad), [](HWND h) { return ClassOf(h) == "#32770" && IsWindowVisible(h); });
    ASSERT_NE((HWND)NULL, hEditor);
    RECT client;
    GetClientRect(hEditor, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(hEditor, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageA(hEditor, WM_LBUTTONUP, 0, middle);

    // ... and uploaded on OK as a PNG with its name and sign.
    Click(GetDlgItem(hService, IDOK));
    ASSERT_TRUE(m_Http.WaitForRequests(1, kWait));
    const CHttpTestServer::Request upload = m_Http.GetRequests()[0];
    EXPECT_EQ("POST", upload.strMethod);
    EXPECT_EQ(0u, upload.strTarget.find(std::string(kUploadPath) + "?uid=10001&type=png&")) << upload.strTarget;
    const std::string name = QueryValue(upload.strTarget, "name");
    EXPECT_TRUE(IsHex32(name)) << upload.strTarget;
    EXPECT_TRUE(IsHex32(QueryValue(upload.strTarget, "sign"))) << upload.strTarget;
    EXPECT_EQ(0u, upload.strBody.find("\x89PNG"));

    // Stored and the hall told before Quillon says so.
    HWND hDone = WaitServiceWindow(hService, [](HWND h) { return ShowsText(h, "上传成功"); });
    ASSERT_NE((HWND)NULL, hDone) << Hall().DescribeWindows();
    EXPECT_TRUE(IsWindow(hFrame));
    CCustomFaceHelper cache;
    ASSERT_TRUE(cache.CreateInstance());
    ICustomFaceRes* pCache = cache.GetInterface();
    ASSERT_TRUE(pCache->OpenDatabase(Hall().Folder().File("Config\\Users\\CUSTOM_FACE_FILE.db").c_str()));
    tagCustomFaceItem* pFace = pCache->LoadFace(account.dwUserID);
    ASSERT_NE(nullptr, pFace);
    EXPECT_EQ(name, pFace->szSign);
    PostMessageA(hDone, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hDone); }, kWait));
}

TEST_F(ServiceRoad, AKilledServiceStartsAgainOnTheNextClick)
{
    HWND hFrame = NULL, hTree = NULL;
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(Hall(), hFrame, hTree));
    ASSERT_NO_FATAL_FAILURE(ClickOwnFace(hFrame));
    HWND hService = WaitService();
    ASSERT_NE((HWND)NULL, hService) << Hall().DescribeWindows();
    ASSERT_TRUE(WaitRequests(Service(), 100, 102));
    const DWORD dwFirst = ProcessOf(hService);

    EndService();
    ASSERT_NO_FATAL_FAILURE(ClickOwnFace(hFrame));
    hService = WaitService(dwFirst);
    ASSERT_NE((HWND)NULL, hService) << Hall().DescribeWindows();
    EXPECT_TRUE(WaitRequests(Service(), 100, 102, 2)) << DescribeRequests(Service());
    EXPECT_TRUE(IsWindow(hFrame));
}

} // namespace
