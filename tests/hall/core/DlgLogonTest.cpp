// The logon dialog run modally against the scripted hall server over
// loopback, in a temporary program folder: the logon by account and by user
// id, saved accounts, failures and their boxes, validation, the configuration
// download and the hall check, completion and the settings area.
#include "DlgLogon.h"

#include <MD5Encrypt.h>
#include <XOREncrypt.h>

#include <functional>

#include "AccountsStore.h"
#include "AfxModalScript.h"
#include "DataCenterTestSupport.h"
#include "FastServerProbe.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallFileUpdateHost.h"
#include "HallWindows.h"
#include "HttpTestServer.h"
#include "MachineID.h"
#include "SkinTestSupport.h"
#include "TestPorts.h"
#include "ZipEntryWriter.h"
#include "ZipPack.h"

namespace
{

std::string Md5(const char* text)
{
    char digest[33];
    CMD5Encrypt::EncryptData(text, digest);
    return digest;
}

// An archive of one entry, as the update server serves it.
std::string MakeUpdateZip(const char* name, const std::string& text)
{
    CTempFolder temp;
    CString strPath = temp / "made.zip";
    {
        CZipPack pack;
        pack.OpenArchive(strPath, CZipPack::zipCreate);
        CZipEntryWriter writer(pack);
        ZipNewEntry header;
        header.name = name;
        writer.Add(header, text.data(), (DWORD)text.size());
        pack.CloseArchive();
    }
    std::string bytes;
    FILE* pFile = fopen(strPath, "rb");
    if (pFile != NULL) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), pFile)) > 0)
            bytes.append(buffer, n);
        fclose(pFile);
    }
    return bytes;
}

// A frame that counts the own-face refreshes the logon asks for.
struct FaceFrame : IHallFrameWnd
{
    CCustomFaceManagerWnd* GetCustomFaceManager() override { return nullptr; }
    void ShowItemShop(int) override {}
    void EnterRoomById(int) override {}
    void UpdateOwnFace() override { ++nFaces; }
    int nFaces = 0;
};

const WORD kUser = HALL_MAIN_USER;

class LogonDialogTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        UseProgramFolder(m_Folder);
        g_GlobalUnits.GetResourceManager()->SetResourceFile("VQString.dll");
        g_GlobalOption.SetAccountsStore(&m_Store);
        g_GlobalOption.LoadAccounts();
        g_GlobalOption.LoadUrls();
        WriteServers({m_Server.GetPort()});
        CFileUpdate::SetDefaultHost(&m_Host);
        m_pPreviousFrame = CHallWindows::InstallFrame(&m_Frame);
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
    }
    void TearDown() override
    {
        m_pDlg.reset();
        CHallWindows::InstallFrame(m_pPreviousFrame);
        CFileUpdate::SetDefaultHost(NULL);
        g_GlobalOption.SetAccountsStore((CAccountsStore*)NULL);
        DataCenterTest::TearDown();
    }

    // The server list without the fast-server probe, unless asked.
    void WriteServers(const std::vector<WORD>& ports, bool probe = false)
    {
        std::string text = "[Server]\r\nServerCount=" + std::to_string(ports.size()) +
                           "\r\nLastServerID=0\r\nFindFastServer=" + (probe ? "0" : "1") + "\r\n";
        for (size_t i = 0; i < ports.size(); ++i) {
            text += "[Server" + std::to_string(i) + "]\r\nName=s" + std::to_string(i) + "\r\n";
            text += "Host=127.0.0.1\r\nPort=" + std::to_string(ports[i]) + "\r\n";
        }
        m_Folder.Write("config\\ServerList.ini", text);
        g_GlobalOption.LoadServerList();
    }

    // The server answers the logon (by account and by id) and the user's
    // attributes.
    void ScriptLogon(DWORD dwUserID = 4321, BYTE cbFlag = 1, const std::string& message = "")
    {
        std::vector<BYTE> result =
            Bytes(CWireBytes().U32(0).U32(dwUserID).Str("玩家甲").U16(7).U8(cbFlag).Counted(message));
        m_Server.On(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT,
                    {CHallServer::Reply(kUser, HALL_SUB_S_USER_LOGON_RESULT, result)});
        m_Server.On(kUser, HALL_SUB_USER_LOGON_BY_USER_ID,
                    {CHallServer::Reply(kUser, HALL_SUB_S_USER_LOGON_RESULT, result)});
        m_Server.On(kUser, HALL_SUB_USER_INFO,
                    {CHallServer::Reply(kUser, HALL_SUB_S_USER_INFO_RESULT,
                                        Bytes(CWireBytes().U32(0).Count(1).U16(3).Str("7")))});
    }

    // Runs the dialog; drive() acts inside its modal loop, then the loop is
    // pumped until the dialog ended or the time ran out (answered Cancel).
    // The boxes it shows are answered in order.
    INT_PTR Run(std::function<void(CDlgLogon&)> drive, std::vector<INT_PTR> answers = {})
    {
        CDlgLogon* pDlg = m_pDlg.get();
        m_Script.Then([=](AFX_MODAL_REQUEST&) {
            drive(*pDlg);
            PumpUntil([=] { return !pDlg->ContinueModal(); }, 20000);
            return (INT_PTR)IDCANCEL;
        });
        for (INT_PTR nAnswer : answers)
            m_Script.Answer(nAnswer);
        return m_pDlg->DoModal();
    }

    static void Type(CDlgLogon& dlg, UINT nID, LPCSTR pszText) { dlg.GetDlgItem(nID)->SetWindowText(pszText); }
    static void TypePassword(CDlgLogon& dlg, LPCSTR pszText)
    {
        dlg.GetPasswordControl().GetEditCtrl()->SetWindowText(pszText);
    }
    static void Press(CDlgLogon& dlg, UINT nID)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)dlg.GetDlgItem(nID)->GetSafeHwnd());
    }
    static bool Checked(CDlgLogon& dlg, UINT nID)
    {
        return dlg.GetDlgItem(nID)->SendMessage(BM_GETCHECK) == BST_CHECKED;
    }
    static void Check(CDlgLogon& dlg, UINT nID, bool bCheck)
    {
        dlg.GetDlgItem(nID)->SendMessage(BM_SETCHECK, bCheck ? BST_CHECKED : BST_UNCHECKED);
    }
    // Idle: the logon button back, the input enabled.
    static bool Idle(CDlgLogon& dlg)
    {
        return dlg.GetDlgItem(IDOK)->IsWindowVisible() && !dlg.GetDlgItem(4)->IsWindowVisible() &&
               dlg.GetDlgItem(1003)->IsWindowEnabled() && dlg.GetDlgItem(1002)->IsWindowEnabled();
    }
    size_t Requests(WORD wMain, WORD wSub) { return m_Server.GetRequests(wMain, wSub).size(); }

    // What a fresh options store reads back from Accounts.db.
    std::vector<tagAccount> SavedAccounts()
    {
        CAccountsStore store;
        store.SetConfigDirectory((m_Folder.Path() + "config").c_str());
        store.SetKeySource(&CMachineID::GetAccountsKey);
        store.LoadAccounts();
        std::vector<tagAccount> accounts;
        for (int i = 0; i < store.GetAccountCount(); ++i)
            accounts.push_back(*store.GetAccount(i));
        return accounts;
    }

    CModalScript m_Script;
    CAccountsStore m_Store;
    CHallFileUpdateHost m_Host;
    FaceFrame m_Frame;
    IHallFrameWnd* m_pPreviousFrame = nullptr;
    std::unique_ptr<CDlgLogon> m_pDlg;
};

// ---- logging on ------------------------------------------------------------------------

TEST_F(LogonDialogTest, LogsOnByAccountAndByUserId)
{
    struct Case
    {
        bool bAccountMode;
        WORD wSub;
        std::vector<BYTE> body;
    } cases[] = {
        {true, HALL_SUB_USER_LOGON_BY_ACCOUNT, Bytes(CWireBytes().Str("alice").Str(Md5("secret1")).Str(MachineID()))},
        {false, HALL_SUB_USER_LOGON_BY_USER_ID, Bytes(CWireBytes().U32(4321).Str(Md5("secret1")).Str(MachineID()))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bAccountMode ? "by account" : "by user id");
        m_pDataCenter->CloseSocket();
        size_t nTexts = Requests(HALL_MAIN_TEXTS, HALL_SUB_TEXTS_TWO_TEXTS);
        g_GlobalUnits.ResetUserData();
        ScriptLogon();
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        int nFaces = m_Frame.nFaces;
        INT_PTR nResult = Run([&](CDlgLogon& dlg) {
            if (!c.bAccountMode)
                Press(dlg, 1048);
            Type(dlg, c.bAccountMode ? 1003 : 1022, c.bAccountMode ? "alice" : "4321");
            TypePassword(dlg, "secret1");
            Press(dlg, IDOK);
        });
        EXPECT_EQ(IDOK, nResult);
        ASSERT_EQ(nTexts + 1, Requests(HALL_MAIN_TEXTS, HALL_SUB_TEXTS_TWO_TEXTS));
        EXPECT_EQ(Bytes(CWireBytes().Str("TavrelHall").Str("1.0.0.1")),
                  m_Server.GetRequests(HALL_MAIN_TEXTS, HALL_SUB_TEXTS_TWO_TEXTS).back().Body);
        ASSERT_EQ(1u, Requests(kUser, c.wSub));
        EXPECT_EQ(c.body, m_Server.GetRequests(kUser, c.wSub)[0].Body);
        EXPECT_EQ(nTexts + 1, Requests(1003, 1)) << "the game list was asked for";
        const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
        EXPECT_EQ(Md5("secret1"), pUser->szPassword);
        EXPECT_EQ(1u, pUser->dwLockMachine) << "the logon's flag";
        EXPECT_EQ(nFaces + 1, m_Frame.nFaces);
        EXPECT_EQ(0u, m_Script.Unexpected());
    }
}

TEST_F(LogonDialogTest, RegistersAsTheLogonWindowWhileItLives)
{
    HWND hSeen = NULL;
    Run([&](CDlgLogon& dlg) {
        hSeen = CHallWindows::GetLogonWindow();
        EXPECT_EQ(dlg.GetSafeHwnd(), hSeen);
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_NE((HWND)NULL, hSeen);
    EXPECT_EQ((HWND)NULL, CHallWindows::GetLogonWindow());
}

TEST_F(LogonDialogTest, RemembersTheAccountWithItsPasswordOnlyWhenTicked)
{
    for (bool bRemember : {false, true}) {
        SCOPED_TRACE(bRemember);
        while (g_GlobalOption.GetAccountCount() > 0)
            g_GlobalOption.DeleteAccount(g_GlobalOption.GetAccountName(0));
        g_GlobalOption.SaveAccounts();
        m_pDataCenter->CloseSocket();
        ScriptLogon(4321);
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        ASSERT_EQ(IDOK, Run([&](CDlgLogon& dlg) {
                      Type(dlg, 1003, "alice");
                      TypePassword(dlg, "secret1");
                      Check(dlg, 1009, bRemember);
                      Press(dlg, IDOK);
                  }));
        std::vector<tagAccount> saved = SavedAccounts();
        ASSERT_EQ(1u, saved.size());
        EXPECT_STREQ("alice", saved[0].szAccount);
        EXPECT_EQ(4321u, saved[0].dwUserID);
        char szPlain[34] = "";
        if (saved[0].szPassword[0] != '\0')
            CXOREncrypt::CrevasseData(saved[0].szPassword, szPlain, sizeof(szPlain));
        EXPECT_STREQ(bRemember ? "secret1" : "", szPlain);
        EXPECT_STRNE("secret1", saved[0].szPassword) << "never stored plain";
    }

    // The next opening selects it masked; untouched, the same digest goes out.
    m_pDataCenter->CloseSocket();
    size_t nBefore = Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT);
    m_pDlg.reset(new CDlgLogon);
    m_pDlg->SetClientDataCenter(m_pDataCenter);
    CString strPasswordBox, strAccount;
    bool bTicked = false;
    ASSERT_EQ(IDOK, Run([&](CDlgLogon& dlg) {
                  dlg.GetPasswordControl().GetEditCtrl()->GetWindowText(strPasswordBox);
                  bTicked = Checked(dlg, 1009);
                  dlg.GetDlgItem(1003)->GetWindowText(strAccount);
                  Press(dlg, IDOK);
              }));
    EXPECT_TRUE(bTicked);
    EXPECT_NE(CString(""), strPasswordBox);
    EXPECT_EQ(CString("alice"), strAccount);
    ASSERT_EQ(nBefore + 1, Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT));
    EXPECT_EQ(Bytes(CWireBytes().Str("alice").Str(Md5("secret1")).Str(MachineID())),
              m_Server.GetRequests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT).back().Body);
}

TEST_F(LogonDialogTest, ASavedPasswordShowsMaskedAndSendsTheSameDigest)
{
    tagAccount account = {};
    strcpy(account.szAccount, "alice");
    account.dwUserID = 4321;
    CXOREncrypt::EncryptData("secret1", account.szPassword, sizeof(account.szPassword));
    g_GlobalOption.AddAccount(account);
    g_GlobalOption.SetLastUser("alice");
    ScriptLogon(4321);
    CString strShown;
    bool bTicked = false;
    ASSERT_EQ(IDOK, Run([&](CDlgLogon& dlg) {
                  dlg.GetPasswordControl().GetEditCtrl()->GetWindowText(strShown);
                  bTicked = Checked(dlg, 1009);
                  Press(dlg, IDOK);
              }));
    EXPECT_NE(CString(""), strShown);
    EXPECT_TRUE(bTicked);
    ASSERT_EQ(1u, Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT));
    EXPECT_EQ(Bytes(CWireBytes().Str("alice").Str(Md5("secret1")).Str(MachineID())),
              m_Server.GetRequests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT)[0].Body);
}

// ---- failures --------------------------------------------------------------------------

TEST_F(LogonDialogTest, FailuresShowTheirTextAndReturnToIdle)
{
    enum Kind
    {
        refused,
        closed,
        unreachable,
        malformedAttributes
    };
    struct Case
    {
        const char* name;
        Kind kind;
        DWORD dwResult;
        std::string message;
        UINT nString; // 0: the message itself; -1 no box
        int nBoxes;
    } cases[] = {
        {"wrong password", refused, 7, "密码错误", 0, 1},
        {"refused 3 without text", refused, 3, "", 10001, 1},
        {"refused 6 without text", refused, 6, "", 10013, 1},
        {"refused with <error>", refused, 1, "<error>", 10006, 1},
        {"server closes mid-logon", closed, 0, "", 0, 0},
        {"no server reachable", unreachable, 0, "", 10000, 1},
        {"malformed attributes", malformedAttributes, 0, "", 10002, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteServers({c.kind == unreachable ? FindClosedPort() : m_Server.GetPort()});
        size_t nLogons = Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT);
        m_pDataCenter->CloseSocket();
        g_GlobalUnits.ResetUserData();
        if (c.kind == refused)
            m_Server.On(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT,
                        {CHallServer::Reply(kUser, HALL_SUB_S_USER_LOGON_RESULT,
                                            Bytes(CWireBytes().U32(c.dwResult).Counted(c.message)))});
        else if (c.kind == closed)
            m_Server.On(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT, {CHallServer::Close()});
        else
            ScriptLogon();
        if (c.kind == malformedAttributes)
            m_Server.On(
                kUser, HALL_SUB_USER_INFO,
                {CHallServer::Reply(kUser, HALL_SUB_S_USER_INFO_RESULT, Bytes(CWireBytes().U32(0).Count(3).U16(2)))});
        std::vector<INT_PTR> answers(c.nBoxes, IDOK);
        size_t nShownBefore = m_Script.Count();
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        bool bIdle = false;
        INT_PTR nResult = Run(
            [&](CDlgLogon& dlg) {
                Type(dlg, 1003, "alice");
                TypePassword(dlg, "secret1");
                Check(dlg, 1009, true);
                Press(dlg, IDOK);
                bool bAsked = PumpUntil(
                    [&] {
                        return c.kind == unreachable ? m_Script.Count() > nShownBefore + 1
                                                     : m_Script.Count() == nShownBefore + 1 + c.nBoxes &&
                                                           (c.nBoxes > 0 || Requests(kUser, 2) == nLogons + 1);
                    },
                    15000);
                EXPECT_TRUE(bAsked);
                bIdle = PumpUntil([&] { return Idle(dlg) && !m_pDataCenter->IsConnected(); }, 5000);
                dlg.SendMessage(WM_COMMAND, IDCANCEL);
            },
            answers);
        EXPECT_EQ(IDCANCEL, nResult);
        EXPECT_TRUE(bIdle);
        ASSERT_EQ(nShownBefore + 1 + c.nBoxes, m_Script.Count());
        if (c.nBoxes > 0) {
            CModalScript::Shown box = m_Script.At(nShownBefore + 1);
            EXPECT_EQ(c.nString == 0 ? CString(c.message.c_str()) : Res(c.nString), box.strText);
            EXPECT_EQ(CString("提示"), box.strCaption);
            EXPECT_EQ((UINT)MB_ICONINFORMATION, box.nType);
        }
        EXPECT_TRUE(SavedAccounts().empty()) << "nothing saved";
        EXPECT_EQ(0, m_Script.Unexpected());
    }
}

TEST_F(LogonDialogTest, ValidationErrorsNameTheirFieldAndFocusIt)
{
    struct Case
    {
        const char* text;
        std::function<void(CDlgLogon&)> input;
        int nFocus; // 0: focus unchanged, -1 the password box's edit
    } cases[] = {
        {"登录服务器不能为空，请重新选择或者输入登录服务器！",
         [](CDlgLogon& dlg) {
             ((CComboBox*)dlg.GetDlgItem(1002))->SetCurSel(-1);
             Type(dlg, 1002, "");
         },
         1002},
        {"用户登录帐号不能为空，请重新输入登录帐号！", [](CDlgLogon& dlg) { Type(dlg, 1003, "   "); }, 1003},
        {"用户登录ID不能为空，请重新输入登录ID号！",
         [](CDlgLogon& dlg) {
             Press(dlg, 1048);
             Type(dlg, 1022, "0");
         },
         1022},
        {"登录密码不能为空，请重新输入登录密码！", [](CDlgLogon& dlg) { TypePassword(dlg, ""); }, -1},
        {"代理服务器地址不能为空，请重新输入代理服务器地址！",
         [](CDlgLogon& dlg) {
             Press(dlg, 1008);
             ((CComboBox*)dlg.GetDlgItem(1010))->SetCurSel(2);
             Type(dlg, 1011, "");
         },
         1011},
        {"亲爱的玩家，如果您想登录大厅，请您同意游戏协议！", [](CDlgLogon& dlg) { Check(dlg, 1019, false); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        size_t nBefore = m_Script.Count();
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        bool bFocused = false;
        bool bIdle = false;
        Run(
            [&](CDlgLogon& dlg) {
                Type(dlg, 1003, "alice");
                TypePassword(dlg, "secret1");
                c.input(dlg);
                dlg.GetDlgItem(IDOK)->SetFocus();
                Press(dlg, IDOK);
                HWND hFocus = ::GetFocus();
                HWND hExpected = c.nFocus > 0   ? dlg.GetDlgItem(c.nFocus)->GetSafeHwnd()
                                 : c.nFocus < 0 ? dlg.GetPasswordControl().GetEditCtrl()->GetSafeHwnd()
                                                : dlg.GetDlgItem(IDOK)->GetSafeHwnd();
                // A combo box's focus lands in its edit.
                bFocused = hFocus == hExpected || ::GetParent(hFocus) == hExpected;
                bIdle = Idle(dlg);
                dlg.SendMessage(WM_COMMAND, IDCANCEL);
            },
            {IDOK});
        ASSERT_EQ(nBefore + 2, m_Script.Count());
        CModalScript::Shown box = m_Script.At(nBefore + 1);
        EXPECT_EQ(CString(c.text), box.strText);
        EXPECT_EQ(CString("游戏提示"), box.strCaption);
        EXPECT_EQ((UINT)MB_ICONQUESTION, box.nType);
        if (c.nFocus != 0) {
            EXPECT_TRUE(bFocused);
        }
        EXPECT_TRUE(bIdle);
        EXPECT_EQ(0u, Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT));
    }
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(LogonDialogTest, TheLinkLogsOnWithItsDigestUnchanged)
{
    ScriptLogon();
    const std::string digest = Md5("linked");
    std::string upper = digest;
    for (char& ch : upper)
        ch = (char)toupper((unsigned char)ch);
    bool bTicked = true;
    CString strAccount;
    ASSERT_EQ(IDOK, Run([&](CDlgLogon& dlg) {
                  Check(dlg, 1009, true);
                  EXPECT_EQ(1, dlg.SendMessage(WM_LOGON_LINK_LOGON, (WPARAM) "bob", (LPARAM)upper.c_str()));
                  bTicked = Checked(dlg, 1009);
                  dlg.GetDlgItem(1003)->GetWindowText(strAccount);
              }));
    EXPECT_FALSE(bTicked);
    EXPECT_EQ(CString("bob"), strAccount);
    ASSERT_EQ(1u, Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT));
    EXPECT_EQ(Bytes(CWireBytes().Str("bob").Str(digest).Str(MachineID())),
              m_Server.GetRequests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT)[0].Body);
    EXPECT_EQ(digest, g_GlobalUnits.GetGlobalUserData()->szPassword);
}

TEST_F(LogonDialogTest, TheFastServerProbeLeadsToTheConnect)
{
    struct Case
    {
        const char* name;
        bool bServers;
        UINT nBox; // 0: the logon ends with IDOK
    } cases[] = {
        {"a server answers the probe", true, 0},
        // Nothing to probe leaves the word unset for ever: after the
        // probe's bound the dialog connects anyway (and finds no server).
        {"the probe stays silent", false, 10000},
    };
    CFastServerProbe::s_dwConnectBound = 200;
    CDlgLogon::SetProbeTick(5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<WORD> ports;
        if (c.bServers)
            ports.push_back(m_Server.GetPort());
        WriteServers(ports, true);
        m_pDataCenter->CloseSocket();
        ScriptLogon();
        size_t nBefore = m_Script.Count();
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        bool bBox = false;
        INT_PTR nResult = Run(
            [&](CDlgLogon& dlg) {
                Type(dlg, 1002, "s0");
                Type(dlg, 1003, "alice");
                TypePassword(dlg, "secret1");
                Press(dlg, IDOK);
                if (c.nBox == 0)
                    return;
                bBox = PumpUntil([&] { return m_Script.Count() == nBefore + 2; }, 10000);
                dlg.SendMessage(WM_COMMAND, IDCANCEL);
            },
            std::vector<INT_PTR>(c.nBox != 0 ? 1 : 0, IDOK));
        EXPECT_TRUE(g_GlobalOption.GetFastServerProbe().Wait(10000));
        if (c.nBox == 0) {
            EXPECT_EQ(IDOK, nResult);
        } else {
            ASSERT_TRUE(bBox);
            EXPECT_EQ(Res(c.nBox), m_Script.At(nBefore + 1).strText);
        }
    }
    CDlgLogon::SetProbeTick(100);
    CFastServerProbe::s_dwConnectBound = 2000;
}

// ---- the configuration download and the hall check ------------------------------------

class LogonUpdateTest : public LogonDialogTest
{
protected:
    void SetUp() override
    {
        LogonDialogTest::SetUp();
        ASSERT_TRUE(m_Http.Start());
        ::CreateDirectoryA((m_Folder.Path() + "config\\Original").c_str(), NULL);
        m_Folder.Write("config\\Original\\version.ini", "[version]\r\nversion=16909060\r\n"); // 1.2.3.4
    }
    void TearDown() override
    {
        m_Http.Stop();
        LogonDialogTest::TearDown();
    }
    void UseUpdateUrls(int nCount, bool bWorking)
    {
        std::string text = "[Update]\r\n";
        for (int i = 0; i < nCount; ++i)
            text += "url" + std::to_string(i) + "=" + m_Http.Url(bWorking ? "/Update.zip" : "/missing.zip") + "\r\n";
        m_Folder.Write("config\\Urls.ini", text);
        g_GlobalOption.LoadUrls();
    }
    void ServeHallVersion(const char* version)
    {
        std::string ini = std::string("[HallDownload]\r\nversion=") + version +
                          "\r\nname=Tavrel\r\nurl0=" + m_Http.Url("/hall.exe") + "\r\n";
        m_Http.SetReply("/Update.zip", CHttpTestServer::Ok(MakeUpdateZip("Update.ini", ini)));
        m_Http.SetReply("/missing.zip", CHttpTestServer::Status(404));
    }
    CHttpTestServer m_Http;
};

TEST_F(LogonUpdateTest, TheHallCheckDecidesBeforeTheHallServerHearsAnything)
{
    struct Case
    {
        const char* name;
        const char* version;
        INT_PTR nExpected;
    } cases[] = {
        {"mandatory refused", "16973824" /* 1.3.0.0 */, IDCANCEL},
        {"optional refused", "16909312" /* 1.2.4.0 */, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pDataCenter->CloseSocket();
        size_t nFrames = m_Server.GetFrames().size();
        size_t nLogons = Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT);
        UseUpdateUrls(1, true);
        ServeHallVersion(c.version);
        ScriptLogon();
        size_t nBefore = m_Script.Count();
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        INT_PTR nResult = Run(
            [&](CDlgLogon& dlg) {
                Type(dlg, 1003, "alice");
                TypePassword(dlg, "secret1");
                Press(dlg, IDOK);
            },
            {IDNO});
        EXPECT_EQ(c.nExpected, nResult);
        ASSERT_EQ(nBefore + 2, m_Script.Count());
        EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), m_Script.At(nBefore + 1).nType);
        if (c.nExpected == IDCANCEL) {
            EXPECT_EQ(nFrames, m_Server.GetFrames().size()) << "nothing reached the hall server";
        } else {
            EXPECT_EQ(nLogons + 1, Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT));
        }
    }
}

TEST_F(LogonUpdateTest, FailingAddressesShow12803AndTheLogonGoesOn)
{
    ServeHallVersion("16909060");
    // No hall update, whatever an earlier download left in the options.
    m_Folder.Write("config\\Original\\version.ini", "[version]\r\nversion=4278190080\r\n");
    ScriptLogon();

    // One address: its failure shows the error and returns to idle; the
    // next press logs on.
    UseUpdateUrls(1, false);
    size_t nBefore = m_Script.Count();
    bool bIdle = false;
    ASSERT_EQ(IDOK, Run(
                        [&](CDlgLogon& dlg) {
                            Type(dlg, 1003, "alice");
                            TypePassword(dlg, "secret1");
                            Press(dlg, IDOK);
                            bIdle = PumpUntil([&] { return dlg.IsConfigurationReady() && Idle(dlg); }, 15000);
                            EXPECT_EQ(0u, m_Server.GetFrames().size());
                            Press(dlg, IDOK);
                        },
                        {IDOK, IDOK}));
    EXPECT_TRUE(bIdle);
    ASSERT_EQ(nBefore + 3, m_Script.Count());
    EXPECT_EQ(Res(12803), m_Script.At(nBefore + 1).strText);
    EXPECT_EQ(CString("提示"), m_Script.At(nBefore + 1).strCaption);
    EXPECT_EQ(Res(12803), m_Script.At(nBefore + 2).strText) << "the stored error shows at the next press";

    // Six failing addresses: the error once, then the logon.
    m_pDataCenter->CloseSocket();
    UseUpdateUrls(6, false);
    nBefore = m_Script.Count();
    int nMissing = m_Http.CountRequests("/missing.zip");
    m_pDlg.reset(new CDlgLogon);
    m_pDlg->SetClientDataCenter(m_pDataCenter);
    ASSERT_EQ(IDOK, Run(
                        [&](CDlgLogon& dlg) {
                            Type(dlg, 1003, "alice");
                            TypePassword(dlg, "secret1");
                            Press(dlg, IDOK);
                        },
                        {IDOK}));
    EXPECT_EQ(6, m_pDlg->GetUpdateAttempts());
    ASSERT_EQ(nBefore + 2, m_Script.Count());
    EXPECT_EQ(Res(12803), m_Script.At(nBefore + 1).strText);
    EXPECT_EQ(nMissing + 6, m_Http.CountRequests("/missing.zip"));
}

// ---- the boxes and the settings area ---------------------------------------------------

TEST_F(LogonDialogTest, TypingCompletesSavedAccountsAndIdsButBackspaceDoesNot)
{
    tagAccount account = {};
    strcpy(account.szAccount, "ABC");
    account.dwUserID = 5678;
    CXOREncrypt::EncryptData("pw-of-abc", account.szPassword, sizeof(account.szPassword));
    g_GlobalOption.AddAccount(account);

    struct Case
    {
        bool bAccountMode;
        const char* typed;
        WPARAM key;
        const char* text;
        int selStart, selEnd;
        const char* password;
    } cases[] = {
        {true, "ab", 'B', "ABC", 2, 3, "pw-of-abc"}, {true, "ab", VK_BACK, "ab", -1, -1, ""},
        {true, "x", 'X', "x", -1, -1, ""},           {false, "56", '6', "5678", 2, 4, "pw-of-abc"},
        {false, "56", VK_DELETE, "56", -1, -1, ""},
    };
    Run([&](CDlgLogon& dlg) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            if (dlg.IsAccountMode() != c.bAccountMode)
                dlg.SwitchMode(c.bAccountMode);
            UINT nID = c.bAccountMode ? 1003 : 1022;
            CComboBox* pBox = (CComboBox*)dlg.GetDlgItem(nID);
            MSG msg = {};
            msg.hwnd = pBox->GetSafeHwnd();
            msg.message = WM_KEYDOWN;
            msg.wParam = c.key;
            dlg.PreTranslateMessage(&msg);
            pBox->SetCurSel(-1);
            pBox->SetWindowText(c.typed);
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, CBN_EDITCHANGE), (LPARAM)pBox->GetSafeHwnd());
            CString strText;
            pBox->GetWindowText(strText);
            EXPECT_EQ(CString(c.text), strText);
            if (c.selStart >= 0) {
                DWORD dwSel = pBox->GetEditSel();
                EXPECT_EQ(c.selStart, (int)LOWORD(dwSel));
                EXPECT_EQ(c.selEnd, (int)HIWORD(dwSel));
            }
            EXPECT_EQ(CString(c.password), dlg.GetPasswordMember());
            EXPECT_EQ(c.password[0] != 0, Checked(dlg, 1009));
        }
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
}

TEST_F(LogonDialogTest, DeletingRemovesTheAccountFromBothBoxesInEitherMode)
{
    for (bool bAccountMode : {true, false}) {
        SCOPED_TRACE(bAccountMode);
        while (g_GlobalOption.GetAccountCount() > 0)
            g_GlobalOption.DeleteAccount(g_GlobalOption.GetAccountName(0));
        const struct
        {
            const char* name;
            DWORD id;
        } saved[] = {{"alice", 11}, {"bob", 22}};
        for (const auto& s : saved) {
            tagAccount account = {};
            strcpy(account.szAccount, s.name);
            account.dwUserID = s.id;
            g_GlobalOption.AddAccount(account);
        }
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        Run([&](CDlgLogon& dlg) {
            if (!bAccountMode)
                Press(dlg, 1048);
            CComboBox* pAccounts = (CComboBox*)dlg.GetDlgItem(1003);
            CComboBox* pIds = (CComboBox*)dlg.GetDlgItem(1022);
            CComboBox* pBox = bAccountMode ? pAccounts : pIds;
            pBox->SetCurSel(pBox->FindStringExact(-1, bAccountMode ? "alice" : "11"));
            Press(dlg, 1025);
            EXPECT_EQ(1, pAccounts->GetCount());
            EXPECT_EQ(1, pIds->GetCount());
            EXPECT_EQ(CB_ERR, pAccounts->FindStringExact(-1, "alice"));
            EXPECT_EQ(CB_ERR, pIds->FindStringExact(-1, "11"));
            EXPECT_EQ(-1, g_GlobalOption.FindAccount("alice"));
            EXPECT_EQ(0, g_GlobalOption.FindAccount("bob"));
            // The link removes the next one; the forgot-password link does not.
            EXPECT_EQ(0, dlg.SendMessage(WM_LOGON_LINK, 1024));
            EXPECT_EQ(1, g_GlobalOption.GetAccountCount());
            EXPECT_EQ(1, dlg.SendMessage(WM_LOGON_LINK, 1005));
            EXPECT_EQ(0, g_GlobalOption.GetAccountCount());
            EXPECT_EQ(0, pAccounts->GetCount());
            EXPECT_EQ(0, pIds->GetCount());
            dlg.SendMessage(WM_COMMAND, IDCANCEL);
        });
    }
}

TEST_F(LogonDialogTest, SettingsToggleSizesTheWindowAndTheProxyFields)
{
    Run([&](CDlgLogon& dlg) {
        const struct
        {
            int height;
            bool enabled;
        } steps[] = {{274, false}, {492, true}, {274, false}};
        for (size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            if (i > 0)
                Press(dlg, 1008);
            CRect rc;
            dlg.GetWindowRect(&rc);
            EXPECT_EQ(387, rc.Width());
            EXPECT_EQ(steps[i].height, rc.Height());
            for (UINT id = 1010; id <= 1014; ++id)
                EXPECT_EQ(steps[i].enabled, dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE) << id;
        }
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
}

TEST_F(LogonDialogTest, AStoredProxyOpensTheSettingsArea)
{
    tagProxyInfo proxy;
    proxy.cbProxyType = 2;
    proxy.wProxyPort = 1080;
    proxy.strProxyAddr = "10.0.0.1";
    g_GlobalOption.SetProxyInfo(proxy);
    Run([&](CDlgLogon& dlg) {
        CRect rc;
        dlg.GetWindowRect(&rc);
        EXPECT_EQ(492, rc.Height());
        EXPECT_EQ(2, ((CComboBox*)dlg.GetDlgItem(1010))->GetCurSel());
        CString strPort;
        dlg.GetDlgItem(1012)->GetWindowText(strPort);
        EXPECT_EQ(CString("1080"), strPort);
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    tagProxyInfo none;
    none.cbProxyType = 0;
    none.wProxyPort = 0;
    g_GlobalOption.SetProxyInfo(none);
}

// ---- the look: region and painting ----------------------------------------------------

const COLORREF kUpColour = RGB(200, 30, 30);
const COLORREF kDownColour = RGB(30, 200, 30);
const COLORREF kCenterColour = RGB(30, 30, 200);
const COLORREF kBannerColour = RGB(200, 200, 30);
const COLORREF kAccountMark = RGB(30, 200, 200);
const COLORREF kPasswordMark = RGB(200, 30, 200);
const COLORREF kMagenta = RGB(255, 0, 255);
const int kUpHeight = 60;
const int kDownHeight = 50;

// The dialog's pictures under Res\Logon\: the top one with transparent
// corners and two pixels at the edge of the tolerance, the bottom one with a
// transparent lower left corner, the account mark half transparent.
void WriteLogonPictures(const CStateFolder& folder)
{
    skintest::Pixels up(CDlgLogon::DIALOG_WIDTH, kUpHeight, kUpColour);
    up.Fill(0, 0, 6, 6, kMagenta);
    up.Fill(CDlgLogon::DIALOG_WIDTH - 6, 0, 6, 6, kMagenta);
    up.At(1, 30) = RGB(255, 0x10, 255); // within the tolerance: transparent
    up.At(1, 40) = RGB(255, 0x11, 255); // just outside: opaque
    skintest::Pixels down(CDlgLogon::DIALOG_WIDTH, kDownHeight, kDownColour);
    down.Fill(0, kDownHeight - 6, 6, 6, kMagenta);
    skintest::Pixels account(10, 10, kAccountMark);
    account.Fill(0, 0, 5, 10, kMagenta);
    const struct
    {
        const char* name;
        skintest::Pixels pixels;
    } pictures[] = {
        {"bg_up.bmp", up},
        {"bg_down.bmp", down},
        {"bg_center.bmp", skintest::Pixels(4, 4, kCenterColour)},
        {"bannert.bmp", skintest::Pixels(30, 12, kBannerColour)},
        {"ACU.bmp", account},
        {"PSW.bmp", skintest::Pixels(10, 10, kPasswordMark)},
    };
    for (const auto& picture : pictures)
        folder.Write(std::string("Res\\Logon\\") + picture.name, skintest::Bmp24(picture.pixels));
}

TEST_F(LogonDialogTest, TheRegionIsCutFromThePicturesAtEverySize)
{
    struct Point
    {
        int x, y; // y < 0: from the bottom
        bool inside;
    };
    struct Case
    {
        const char* name;
        bool bPictures;
        bool bExpanded;
        CRect box; // bottom < 0: the window's height
        std::vector<Point> points;
    } cases[] = {
        {"pictures, collapsed",
         true,
         false,
         CRect(0, 0, 387, -1),
         {{2, 2, false},   // transparent top left corner
          {384, 2, false}, // transparent top right corner, outside the top band
          {381, 2, true},  // the same corner inside the top band
          {2, 20, true},   // an opaque pixel at the left edge
          {1, 30, false},  // key plus tolerance is transparent
          {1, 40, true},   // one above it is not
          {0, 100, true},  // the band between the pictures
          {2, -2, false},  // transparent bottom left corner
          {385, -2, true}, // opaque bottom right corner
          {200, -1, true}}},
        {"pictures, expanded",
         true,
         true,
         CRect(0, 0, 387, -1),
         {{2, 2, false}, {2, -2, false}, {385, -2, true}, {0, 300, true}}},
        // Without pictures: the upper and lower halves, cut at the sides.
        {"no pictures",
         false,
         false,
         CRect(4, 0, 387, 270),
         {{2, 10, false}, {384, 10, false}, {200, 10, true}, {385, 200, true}, {2, 200, false}, {200, 271, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bPictures)
            WriteLogonPictures(m_Folder);
        else
            RemoveTree(m_Folder.Path() + "Res");
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        Run([&](CDlgLogon& dlg) {
            if (c.bExpanded)
                Press(dlg, 1008);
            CRect rcWindow, rcClient;
            dlg.GetWindowRect(&rcWindow);
            dlg.GetClientRect(&rcClient);
            ASSERT_EQ(rcWindow.Size(), rcClient.Size()) << "no frame: client and window coordinates agree";
            const int height = rcWindow.Height();
            EXPECT_EQ(c.bExpanded ? 492 : 274, height);
            HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
            ASSERT_NE(ERROR, ::GetWindowRgn(dlg.GetSafeHwnd(), hRgn));
            CRect rcBox;
            ::GetRgnBox(hRgn, &rcBox);
            ::DeleteObject(hRgn);
            CRect expected = c.box;
            if (expected.bottom < 0)
                expected.bottom = height;
            EXPECT_EQ(expected, rcBox);
            for (const Point& p : c.points) {
                const int y = p.y < 0 ? height + p.y : p.y;
                EXPECT_EQ(p.inside, skintest::RegionHolds(dlg.GetSafeHwnd(), p.x, y)) << p.x << "," << y;
            }
            dlg.SendMessage(WM_COMMAND, IDCANCEL);
        });
    }
}

TEST_F(LogonDialogTest, PaintingPlacesThePicturesAndLeavesOutTheKeyColour)
{
    WriteLogonPictures(m_Folder);
    for (bool bExpanded : {false, true}) {
        SCOPED_TRACE(bExpanded);
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        Run([&](CDlgLogon& dlg) {
            if (bExpanded)
                Press(dlg, 1008);
            CRect rc;
            dlg.GetClientRect(&rc);
            const int nDownTop = rc.bottom - kDownHeight;
            skintest::Snapshot shot(dlg.GetSafeHwnd());
            const struct
            {
                int x, y;
                COLORREF colour;
            } points[] = {
                {10, 40, kUpColour},
                {10, nDownTop - 2, kCenterColour},       // stretched down to the bottom picture
                {370, kUpHeight + 1, kCenterColour},     // and across
                {25, kUpHeight + 18 + 5, kBannerColour}, // the banner below the top picture
                {10, nDownTop + 10, kDownColour},
                {37, 150, kAccountMark},
                {31, 150, kCenterColour}, // its magenta half shows what lies below
                {35, 180, kPasswordMark},
            };
            for (const auto& p : points)
                EXPECT_EQ(p.colour, shot.At(p.x, p.y)) << p.x << "," << p.y;
            EXPECT_EQ(0, shot.Count(kMagenta, CRect(29, 145, 39, 155))) << "the key colour is never drawn";
            dlg.SendMessage(WM_COMMAND, IDCANCEL);
        });
    }
}

// ---- the web log-in, the update log, the guest button ---------------------------------

CWireBytes TreePage()
{
    // One category node: the server tree is whole.
    return CWireBytes().U32(1).U32(0).Count(1).Item(CWireBytes().U32(1).U32(0).U8(1).Str("n1").U32(1).U32(0).U32(16));
}

TEST_F(LogonUpdateTest, TheBuiltServerTreeLogsOnToTheWebWithThePasswordDigest)
{
    m_Http.SetReply("/cookie", CHttpTestServer::Ok("ok"));
    m_Folder.Write("config\\dynamic\\DynaItemCfg.ini", "[UserCookie]\r\nurl=" + m_Http.Url("/cookie") + "\r\n");
    const std::string linked = Md5("linked");
    struct Case
    {
        const char* name;
        bool bLink;
        std::string digest;
    } cases[] = {
        {"typed password", false, Md5("secret1")},
        {"link digest", true, linked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pDataCenter->CloseSocket();
        ScriptLogon();
        // The tree arrives after the logon result and before the attributes.
        std::vector<BYTE> result = Bytes(CWireBytes().U32(0).U32(4321).Str("玩家甲").U16(7).U8(0).Counted(""));
        m_Server.On(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT,
                    {CHallServer::Reply(kUser, HALL_SUB_S_USER_LOGON_RESULT, result),
                     CHallServer::Reply(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, Bytes(TreePage()))});
        int nBefore = (int)m_Http.GetRequests().size();
        m_pDlg.reset(new CDlgLogon);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        ASSERT_EQ(IDOK, Run([&](CDlgLogon& dlg) {
                      if (c.bLink) {
                          dlg.SendMessage(WM_LOGON_LINK_LOGON, (WPARAM) "bob", (LPARAM)linked.c_str());
                          return;
                      }
                      Type(dlg, 1003, "alice");
                      TypePassword(dlg, "secret1");
                      Press(dlg, IDOK);
                  }));
        std::vector<CHttpTestServer::Request> requests = m_Http.GetRequests();
        ASSERT_EQ(nBefore + 1, (int)requests.size()) << "one web log-in before the dialog closed";
        const CHttpTestServer::Request& request = requests.back();
        EXPECT_EQ("POST", request.strMethod);
        EXPECT_EQ(0u, request.strTarget.find("/cookie?username="));
        EXPECT_NE(std::string::npos, request.strTarget.find("&password=" + c.digest + "&type=login"))
            << request.strTarget;
    }
}

// Records what the dialog asks the browser to open.
struct BrowserRecorder : CBrowserLauncher
{
    INT_PTR ShellOpen(LPCSTR url, int showCommand) override
    {
        opened.push_back({url, showCommand});
        return 42;
    }
    bool ReadClassValue(LPCSTR, CString&) override { return false; }
    bool StartProcess(LPCSTR) override { return false; }
    std::vector<std::pair<std::string, int>> opened;
};

TEST_F(LogonDialogTest, TheUpdateLogButtonOpensTheLogOfTheProgramFolder)
{
    BrowserRecorder browser;
    CBrowserLauncher* pPrevious = CBrowserLauncher::Install(&browser);
    Run([&](CDlgLogon& dlg) {
        Press(dlg, 1050);
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    CBrowserLauncher::Install(pPrevious);
    ASSERT_EQ(1u, browser.opened.size());
    EXPECT_EQ(m_Folder.Path() + "更新日志.txt", browser.opened[0].first);
    EXPECT_EQ(SW_SHOW, browser.opened[0].second);
}

TEST_F(LogonDialogTest, TheGuestButtonDoesNothingAndRestsDuringALogon)
{
    // The server never answers the logon: the dialog stays busy.
    m_Server.On(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT, {});
    size_t nBefore = m_Script.Count();
    Run([&](CDlgLogon& dlg) {
        Press(dlg, 3);
        EXPECT_TRUE(dlg.ContinueModal());
        EXPECT_TRUE(Idle(dlg));
        EXPECT_EQ(nBefore + 1, m_Script.Count()) << "no box";
        EXPECT_FALSE(m_pDataCenter->IsConnected());
        EXPECT_TRUE(dlg.GetDlgItem(3)->IsWindowEnabled());

        Type(dlg, 1003, "alice");
        TypePassword(dlg, "secret1");
        Press(dlg, IDOK);
        EXPECT_TRUE(PumpUntil([&] { return Requests(kUser, HALL_SUB_USER_LOGON_BY_ACCOUNT) == 1; }, 15000));
        EXPECT_FALSE(dlg.GetDlgItem(3)->IsWindowEnabled());
        Press(dlg, 4);
        EXPECT_TRUE(dlg.GetDlgItem(3)->IsWindowEnabled());
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(0, m_Script.Unexpected());
}

} // namespace
