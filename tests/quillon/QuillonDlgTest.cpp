// The main dialog run modally on a block the test makes, against the
// scripted user-service server through the socket module: start-up and its
// failures, the requests after logon, the server's answers, the pages and
// the OK button.
#include "ServiceTestSupport.h"

#include <algorithm>
#include <functional>

#include "AfxModalScript.h"
#include "MD5Encrypt.h"
#include "MachineID.h"
#include "MessagePump.h"
#include "QuillonDlg.h"
#include "ServiceGlobalUnits.h"
#include "ServiceServer.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{

const char kDigest[] = "0123456789abcdef0123456789abcdef";

// A window of "the hall" that keeps the face notices it gets.
class CHallWindow
{
public:
    CHallWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QuillonTestHall";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowA("QuillonTestHall", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, this);
    }
    ~CHallWindow() { DestroyWindow(m_hWnd); }

    struct Notice
    {
        HWND hFrom;
        ULONG_PTR dwData;
        DWORD cbData;
    };
    HWND m_hWnd;
    std::vector<Notice> Notices;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_NCCREATE)
            SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        CHallWindow* self = reinterpret_cast<CHallWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (uMsg == WM_COPYDATA && self != NULL) {
            const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            self->Notices.push_back({HWND(wParam), data->dwData, data->cbData});
            return TRUE;
        }
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
};

class QuillonDlgTest : public CServiceDialogTest
{
public:
    void SetUp() override
    {
        TheTestApp();
        StartWithBlockName("QuillonTestBlock");
    }

    // The hall's block under the name, as the hall fills it.
    void MakeBlock(DWORD dwUserID, DWORD dwGroup, DWORD dwIndex, const std::string& name = "")
    {
        tagServiceShareData block = {};
        block.dwUserID = dwUserID;
        block.dwPageGroup = dwGroup;
        block.dwPageIndex = dwIndex;
        strcpy(block.szPassword, kDigest);
        block.dwHallWnd = HandleToULong(m_Hall.m_hWnd);
        WriteBlock(block, name);
    }
    tagServiceShareData ReadBlock()
    {
        tagServiceShareData block = {};
        void* view = MapViewOfFile(m_hBlock, FILE_MAP_READ, 0, 0, sizeof(block));
        memcpy(&block, view, sizeof(block));
        UnmapViewOfFile(view);
        return block;
    }

    // Runs the dialog modally; body drives it and returns when done. True
    // when the dialog asked the program to end (WM_QUIT).
    bool RunDialog(std::function<void(CQuillonDlg&)> body)
    {
        if (body)
            m_Script.ThenDialog([body](AFX_MODAL_REQUEST& r) {
                body(*static_cast<CQuillonDlg*>(r.pWnd));
                return INT_PTR(IDCANCEL);
            });
        {
            CQuillonDlg dlg;
            dlg.DoModal();
        }
        MSG msg;
        bool bQuit = false;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            bQuit = bQuit || msg.message == WM_QUIT;
        return bQuit;
    }

    // Waits until the start-up is over (OK enabled).
    static bool WaitStarted(CQuillonDlg& dlg)
    {
        return PumpUntil([&] { return dlg.GetDlgItem(IDOK)->IsWindowEnabled(); }, 15000);
    }

    size_t TipCount() { return size_t(g_ServiceUnits.GetTipCalls().GetSize()); }
    std::string LastTip(int* pnTime = nullptr)
    {
        const auto& calls = g_ServiceUnits.GetTipCalls();
        if (calls.GetSize() == 0)
            return "";
        if (pnTime != nullptr)
            *pnTime = calls[calls.GetSize() - 1].nTime;
        return std::string(calls[calls.GetSize() - 1].strText);
    }

    CHallWindow m_Hall;
};

TEST_F(QuillonDlgTest, StartUpFailuresShowTheirTextAndEnd)
{
    struct Case
    {
        const char* name;
        std::function<void(QuillonDlgTest&)> prepare;
        const char* text;
    } cases[] = {
        {"no block name", [](QuillonDlgTest& t) { t.SetCommandLine(""); }, "ERROR!Parameter Error"},
        {"no such block", [](QuillonDlgTest& t) { t.SetCommandLine("NoSuchQuillonBlock"); }, "ERROR!Parameter Error"},
        {"no server",
         [](QuillonDlgTest& t) {
             t.MakeBlock(1, 0, 0);
             t.m_Folder.WriteServers({}, 0);
         },
         "连接服务器失败,服务退出"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetCommandLine(m_strName);
        m_Folder.WriteServers({{"127.0.0.1", m_Server.GetPort()}}, 0);
        c.prepare(*this);
        size_t before = Boxes().size();
        m_Script.AnswerBox(IDOK);
        bool bQuit = RunDialog(nullptr);
        EXPECT_TRUE(bQuit);
        std::vector<std::string> boxes = Boxes();
        ASSERT_EQ(before + 1, boxes.size());
        EXPECT_EQ(c.text, boxes.back());
        EXPECT_EQ("提示信息", std::string(m_Script.Recorded().back().strCaption));
        if (m_hBlock != NULL) {
            CloseHandle(m_hBlock);
            m_hBlock = NULL;
        }
    }
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(QuillonDlgTest, StartsLogsOnAndAsksInOrder)
{
    m_Server.AnswerStart(4321);
    MakeBlock(4321, 0, 1);
    HWND hDialog = NULL;
    RunDialog([&](CQuillonDlg& dlg) {
        hDialog = dlg.m_hWnd;
        ASSERT_TRUE(WaitStarted(dlg));
        EXPECT_EQ(HandleToULong(dlg.m_hWnd), ReadBlock().dwServiceWnd);
        EXPECT_EQ(0, dlg.GetShownGroup());
        EXPECT_TRUE(dlg.GetTabItem(0, 1)->IsSelected());
        EXPECT_TRUE(dlg.GetPage(0, 1)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetTabStrip(1)->IsWindowVisible());
        EXPECT_STREQ("nick", g_ServiceUnits.GetUserData()->szNickName);
        EXPECT_EQ(1200u, g_ServiceUnits.m_dwBankBalance);
        EXPECT_TRUE(dlg.GetPendingChanges().IsEmpty()) << "the pages' own refresh is no change";
        // The detail page shows the identity number masked.
        CString strIdentity;
        dlg.GetPage(0, 1)->GetDlgItemText(IDC_EX_IDENTITY, strIdentity);
        EXPECT_STREQ("110101************", strIdentity);
    });
    std::vector<tagServerFrame> logon = m_Server.GetRequests(100, 102);
    ASSERT_EQ(1u, logon.size());
    char szMachineID[33];
    CMachineID::GetMachineID(szMachineID);
    EXPECT_EQ(CWireBytes().U32(4321).Str(kDigest).U32(0).Str(szMachineID).Vector(), logon[0].Body);
    EXPECT_EQ((std::vector<std::pair<WORD, WORD>>{{100, 102}, {200, 201}, {300, 301}, {500, 501}, {300, 313}}),
              m_Server.RequestLog());
    std::vector<std::string> tips;
    for (INT_PTR i = 0; i < g_ServiceUnits.GetTipCalls().GetSize(); ++i)
        tips.push_back(std::string(g_ServiceUnits.GetTipCalls()[i].strText) + "/" +
                       std::to_string(g_ServiceUnits.GetTipCalls()[i].nTime));
    EXPECT_EQ((std::vector<std::string>{"载入省市脚本失败/2000", "连接服务器成功,正在登录/-1",
                                        "登录成功,正在初始化信息/-1", "初始化完毕/200"}),
              tips);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(0, m_Script.Unexpected());
    EXPECT_NE(nullptr, hDialog);
}

TEST_F(QuillonDlgTest, ACommandLineIsCutTo254Characters)
{
    std::string strName(254, 'q');
    m_Server.AnswerStart(9);
    MakeBlock(9, 0, 0, strName);
    SetCommandLine(strName + "overlong");
    RunDialog([&](CQuillonDlg& dlg) { ASSERT_TRUE(WaitStarted(dlg)); });
    EXPECT_NE(0u, ReadBlock().dwServiceWnd);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(QuillonDlgTest, ABlockWithoutPasswordTerminatorLogsOnWithItsText)
{
    m_Server.AnswerStart(9);
    tagServiceShareData block = {};
    block.dwUserID = 9;
    memset(block.szPassword, 'a', sizeof(block.szPassword));
    WriteBlock(block);
    RunDialog([&](CQuillonDlg& dlg) { ASSERT_TRUE(WaitStarted(dlg)); });
    std::vector<tagServerFrame> logon = m_Server.GetRequests(100, 102);
    ASSERT_EQ(1u, logon.size());
    // The digest field holds 32 characters.
    EXPECT_EQ(0, memcmp(CWireBytes().U32(9).Str(std::string(32, 'a')).Data(), logon[0].Body.data(), 37));
}

TEST_F(QuillonDlgTest, LogonRefusalAndClosingEndTheProgram)
{
    struct Case
    {
        const char* name;
        std::function<void(CServiceServer&)> script;
        const char* text;
    } cases[] = {
        {"refused", [](CServiceServer& s) { s.Answer(100, 102, ServiceBody::Result(4)); }, "登录失败:密码错误"},
        {"unreadable answer", [](CServiceServer& s) { s.Answer(100, 102, CWireBytes().U8(0)); }, "登录失败:未知错误"},
        {"closed", [](CServiceServer& s) { s.On(100, 102, {CScriptedServer::Close()}); }, "连接关闭"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.script(m_Server);
        MakeBlock(5, 0, 0);
        size_t before = Boxes().size();
        m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
            // The box ends the modal loop's life through WM_QUIT.
            m_Script.AnswerBox(IDOK);
            EXPECT_TRUE(PumpUntil([&] { return Boxes().size() > before; }, 15000));
            EXPECT_TRUE(static_cast<CQuillonDlg*>(r.pWnd)->HasAskedToQuit());
            return INT_PTR(IDCANCEL);
        });
        RunDialog(nullptr);
        std::vector<std::string> boxes = Boxes();
        ASSERT_EQ(before + 1, boxes.size());
        EXPECT_EQ(c.text, boxes.back());
        CloseHandle(m_hBlock);
        m_hBlock = NULL;
    }
}

// Each answer of the server after start-up, with its tip or box.
TEST_F(QuillonDlgTest, AnswersShowTheirTipOrBox)
{
    struct Case
    {
        const char* name;
        WORD wMain, wSub;
        CWireBytes body;
        const char* tip; // or null
        int time;
        const char* box; // or null
    } cases[] = {
        {"modify refused", 200, 204, ServiceBody::Result(5), "修改资料失败:无权限操作", 1000, nullptr},
        {"modify of an unknown request", 200, 204, ServiceBody::Result(0), "修改资料成功", 1000, nullptr},
        {"password refused", 200, 206, ServiceBody::Result(4), "修改密码失败:密码错误", 2000, nullptr},
        {"password changed", 200, 206, ServiceBody::Result(0), nullptr, 0, "修改密码成功,请重新登陆大厅"},
        {"nickname unknown", 200, 208, ServiceBody::NickName(3, 1, ""), "该用户ID不存在，请查证后重新输入", 500,
         nullptr},
        {"strong box refused", 300, 302, ServiceBody::BankInfo(3, 0, 0, 0, 0, 0), "保险箱信息获取失败:用户不存在", 1000,
         nullptr},
        {"deposit", 300, 304, ServiceBody::Result(0), "金蛋存款成功", 1000, nullptr},
        {"deposit refused", 300, 304, ServiceBody::Result(9), "金蛋操作失败:金蛋不足", 2000, nullptr},
        {"withdraw", 300, 306, ServiceBody::Result(0), "金蛋取款成功", 1000, nullptr},
        {"withdraw refused", 300, 306, ServiceBody::Result(8), nullptr, 0, "金蛋操作失败:保险箱金蛋不足"},
        {"strong-box password", 300, 308, ServiceBody::Result(0), "保险箱密码修改成功", 1000, nullptr},
        {"strong-box password refused", 300, 308, ServiceBody::Result(7), "保险箱密码修改失败:保险箱密码错误", 2000,
         nullptr},
        {"transfer", 300, 310, ServiceBody::Result(0), "转账成功", 1000, nullptr},
        {"transfer refused", 300, 310, ServiceBody::Result(9), nullptr, 0, "转账失败:金蛋不足"},
        {"exchange", 300, 312, ServiceBody::Exchange(0, 0), "兑换成功", 1000, nullptr},
        {"exchange refused 1", 300, 312, ServiceBody::Exchange(0, 1), "兑换失败:操作失败", 2000, nullptr},
        {"exchange refused 2", 300, 312, ServiceBody::Exchange(1, 2), "兑换失败:金蛋已被锁", 2000, nullptr},
        {"exchange refused 3", 300, 312, ServiceBody::Exchange(0, 3), "兑换失败:金蛋不足", 2000, nullptr},
        {"exchange refused 4", 300, 312, ServiceBody::Exchange(0, 4), "兑换失败:金豆已被锁", 2000, nullptr},
        {"exchange refused 5", 300, 312, ServiceBody::Exchange(0, 5), "兑换失败:金豆不足", 2000, nullptr},
        {"exchange refused by another code", 300, 312, ServiceBody::Exchange(0, 7), "兑换失败:保险箱密码错误", 2000,
         nullptr},
        {"exchange refused beyond the table", 300, 312, ServiceBody::Exchange(0, 20), "兑换失败:未知错误", 2000,
         nullptr},
        {"strong-box password set", 300, 316, ServiceBody::Result(0), "保险箱密码设置成功", 1000, nullptr},
    };
    m_Server.AnswerStart(77);
    MakeBlock(77, 0, 0);
    RunDialog([&](CQuillonDlg& dlg) {
        ASSERT_TRUE(WaitStarted(dlg));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            size_t nTips = TipCount(), nBoxes = Boxes().size();
            if (c.box != nullptr)
                m_Script.AnswerBox(IDOK);
            ASSERT_TRUE(m_Server.Send(c.wMain, c.wSub, c.body.Vector()));
            ASSERT_TRUE(PumpUntil([&] { return TipCount() > nTips || Boxes().size() > nBoxes; }));
            if (c.tip != nullptr) {
                int nTime = 0;
                EXPECT_EQ(c.tip, LastTip(&nTime));
                EXPECT_EQ(c.time, nTime);
            }
            if (c.box != nullptr) {
                ASSERT_EQ(nBoxes + 1, Boxes().size());
                EXPECT_EQ(c.box, Boxes().back());
            }
        }
    });
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(QuillonDlgTest, PasswordSetFailureEndsTheProgram)
{
    m_Server.AnswerStart(77);
    MakeBlock(77, 0, 0);
    m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
        CQuillonDlg& dlg = *static_cast<CQuillonDlg*>(r.pWnd);
        EXPECT_TRUE(WaitStarted(dlg));
        m_Script.AnswerBox(IDOK);
        m_Server.Send(300, 316, ServiceBody::Result(7).Vector());
        EXPECT_TRUE(PumpUntil([&] { return !Boxes().empty(); }));
        EXPECT_TRUE(dlg.HasAskedToQuit());
        return INT_PTR(IDCANCEL);
    });
    RunDialog(nullptr);
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ("保险箱密码设置失败,程序退出:保险箱密码错误", Boxes()[0]);
    EXPECT_EQ("保险箱密码设置失败,程序退出:保险箱密码错误", LastTip());
}

TEST_F(QuillonDlgTest, PagesGroupsAndTheStrongBoxPassword)
{
    // Group 4 opens nothing; the strong-box strip has two tabs.
    m_Server.AnswerStart(77, false);
    MakeBlock(77, 4, 0);
    RunDialog([&](CQuillonDlg& dlg) {
        ASSERT_TRUE(WaitStarted(dlg));
        EXPECT_EQ(-1, dlg.GetShownGroup());
        CSkinTabManager* pBank = dlg.GetTabStrip(1)->GetTabManager();
        ASSERT_EQ(2, pBank->GetItemCount());
        EXPECT_STREQ("金蛋存取", pBank->GetItem(0)->GetCaption());
        EXPECT_STREQ("修改密码", pBank->GetItem(1)->GetCaption());
        EXPECT_EQ(nullptr, dlg.GetTabItem(1, 1)) << "the transfer page has no tab";
        EXPECT_TRUE(pBank->GetItem(0)->IsEnabled());
        EXPECT_TRUE(dlg.GetTabItem(3, 0)->IsEnabled());
        EXPECT_TRUE(dlg.GetTabItem(3, 1)->IsEnabled());
        EXPECT_TRUE(dlg.GetTabItem(0, 0)->IsEnabled());
        EXPECT_EQ(3, dlg.GetTabStrip(0)->GetTabManager()->GetItemCount());

        // Without a strong-box password every way into group 1 lands on
        // its password item.
        ASSERT_TRUE(g_ServiceUnits.m_bBankPasswordNotSet);
        dlg.SendMessage(WM_COMMAND, IDC_GROUP_BANK, 0);
        EXPECT_EQ(1, dlg.GetShownGroup());
        EXPECT_TRUE(dlg.GetTabItem(1, 2)->IsSelected());
        EXPECT_EQ("您的保险箱密码未设置,请输入保险箱密码", LastTip());
        dlg.OpenPage(0, 2);
        EXPECT_EQ(0, dlg.GetShownGroup());
        EXPECT_TRUE(dlg.GetTabItem(0, 2)->IsSelected());
        dlg.SendMessage(WM_COMMAND, IDC_GROUP_ACCOUNT, 0);
        EXPECT_TRUE(dlg.GetTabItem(0, 0)->IsSelected());
        // OK while the strong box shows sends nothing and goes to the password.
        dlg.OpenPage(1, 0);
        dlg.GetTabItem(1, 0)->Select();
        dlg.SendMessage(WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(dlg.GetTabItem(1, 2)->IsSelected());
        // The basic page's face button shows group 2.
        dlg.GetPage(0, 0)->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BASE_FACE_BUTTON, BN_CLICKED),
                                       LPARAM(dlg.GetPage(0, 0)->GetDlgItem(IDC_BASE_FACE_BUTTON)->m_hWnd));
        EXPECT_EQ(2, dlg.GetShownGroup());
    });
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(QuillonDlgTest, PasswordStateAsksWhileTheStrongBoxShows)
{
    m_Server.AnswerStart(77, false);
    MakeBlock(77, 1, 0);
    m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
        CQuillonDlg& dlg = *static_cast<CQuillonDlg*>(r.pWnd);
        EXPECT_TRUE(WaitStarted(dlg));
        EXPECT_EQ(1, dlg.GetShownGroup());
        EXPECT_TRUE(dlg.GetTabItem(1, 2)->IsSelected());
        EXPECT_TRUE(g_ServiceUnits.GetTipCalls()[g_ServiceUnits.GetTipCalls().GetSize() - 1].bHide);
        return INT_PTR(IDCANCEL);
    });
    m_Script.AnswerBox(IDYES);
    RunDialog(nullptr);
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ("您的保险箱密码未设置,是否现在设置保险箱密码", Boxes()[0]);
    // The box may come before the dialog reaches its modal loop.
    std::vector<CModalScript::Shown> shown = m_Script.Recorded();
    auto box = std::find_if(shown.begin(), shown.end(),
                            [](const CModalScript::Shown& s) { return s.nKind == afxModalMessageBox; });
    ASSERT_NE(shown.end(), box);
    EXPECT_EQ("提示", std::string(box->strCaption));
    EXPECT_EQ(UINT(MB_YESNO), box->nType & 0xF);
}

// The account pages' changes through OK: checked, sent once, stored when
// the answer comes.
TEST_F(QuillonDlgTest, OkChecksAndSendsTheChanges)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<WORD, std::string>> changes;
        const char* box; // the check that failed, or null
        CWireBytes sent; // the request, when one goes out
    } cases[] = {
        {"nothing changed", {{4, "nick"}, {8, "12345"}, {5, "2"}}, nullptr, CWireBytes()},
        {"trimmed nickname and QQ",
         {{4, " nova "}, {8, "999"}, {2, "account2"}},
         nullptr,
         CWireBytes().Count(2).U16(4).Str("nova").U16(8).Str("999")},
        {"blank nickname", {{4, "  "}}, "昵称格式错误", CWireBytes()},
        {"e-mail", {{9, "a@b."}}, "Email格式不正确", CWireBytes()},
        {"identity", {{11, "1101011990010x1234"}}, "身份证格式不正确", CWireBytes()},
        {"identity of 18 ending in x",
         {{11, "11010119900101123x"}},
         nullptr,
         CWireBytes().Count(1).U16(11).Str("11010119900101123x")},
    };
    m_Server.AnswerStart(77);
    MakeBlock(77, 0, 0);
    RunDialog([&](CQuillonDlg& dlg) {
        ASSERT_TRUE(WaitStarted(dlg));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            size_t nSent = m_Server.GetRequests(200, 203).size();
            size_t nBoxes = Boxes().size();
            for (const auto& change : c.changes) {
                tagModifyAttr attr = {};
                attr.wAttrID = change.first;
                strcpy(attr.szValue, change.second.c_str());
                dlg.SendMessage(WM_QUILLON_MODIFY, WPARAM(&attr), 1);
            }
            if (c.box != nullptr)
                m_Script.AnswerBox(IDOK);
            dlg.SendMessage(WM_COMMAND, IDOK, 0);
            if (c.box != nullptr) {
                ASSERT_EQ(nBoxes + 1, Boxes().size());
                EXPECT_EQ(c.box, Boxes().back());
                EXPECT_FALSE(dlg.GetPendingChanges().IsEmpty()) << "kept for another try";
                // Back to a clean state for the next case.
                dlg.ClearPendingChanges();
                continue;
            }
            EXPECT_TRUE(dlg.GetPendingChanges().IsEmpty());
            if (c.sent.Size() == 0) {
                EXPECT_TRUE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());
                continue;
            }
            std::vector<tagServerFrame> sent = m_Server.GetRequests(200, 203);
            ASSERT_TRUE(PumpUntil([&] { return m_Server.GetRequests(200, 203).size() > nSent; }));
            sent = m_Server.GetRequests(200, 203);
            EXPECT_EQ(c.sent.Vector(), sent.back().Body);
            EXPECT_FALSE(dlg.GetDlgItem(IDOK)->IsWindowEnabled()) << "until the answer";
            EXPECT_EQ("等待修改资料回复", LastTip());
            // The answer stores the changes and enables OK.
            ASSERT_TRUE(m_Server.Send(200, 204, ServiceBody::Result(0).Vector(), sent.back().dwSerialNum));
            ASSERT_TRUE(PumpUntil([&] { return dlg.GetDlgItem(IDOK)->IsWindowEnabled(); }));
            EXPECT_EQ("修改资料成功", LastTip());
        }
        EXPECT_STREQ("nova", g_ServiceUnits.GetUserData()->szNickName);
        EXPECT_STREQ("999", g_ServiceUnits.GetUserData()->szQQ);
        CString strNick;
        dlg.GetPage(0, 0)->GetDlgItemText(IDC_BASE_NICKNAME, strNick);
        EXPECT_STREQ("nova", strNick);
        EXPECT_STREQ("11010119900101123x", g_ServiceUnits.GetUserData()->szIdentity);
    });
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(QuillonDlgTest, PasswordPageRules)
{
    struct Case
    {
        const char* oldPw;
        const char* newPw;
        const char* again;
        bool result;
        const char* box;
    } cases[] = {
        {"", "", "", false, nullptr},
        {"secret", "", "", false, "密码不能为空"},
        {"secret", "abcdef", "", false, "密码不能为空"},
        {"secret", "abcdef", "abcdeg", false, "两次输入的密码不一致"},
        {"secret", "abcde", "abcde", false, "密码不得少于六位"},
        {"abcdef", "abcdef", "abcdef", false, "新旧密码不能相同"},
        {"secret", "abcdef", "abcdef", true, nullptr},
    };
    m_Server.AnswerStart(77);
    MakeBlock(77, 0, 2);
    RunDialog([&](CQuillonDlg& dlg) {
        ASSERT_TRUE(WaitStarted(dlg));
        CTabDlg* pPage = dlg.GetPage(0, 2);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.oldPw) + "/" + c.newPw + "/" + c.again);
            pPage->SetDlgItemText(IDC_PASSWORD_OLD, c.oldPw);
            pPage->SetDlgItemText(IDC_PASSWORD_NEW, c.newPw);
            pPage->SetDlgItemText(IDC_PASSWORD_AGAIN, c.again);
            size_t nBoxes = Boxes().size();
            if (c.box != nullptr)
                m_Script.AnswerBox(IDOK);
            EXPECT_EQ(c.result, pPage->Submit(dlg.GetDataCenter()));
            EXPECT_EQ(nBoxes + (c.box != nullptr ? 1 : 0), Boxes().size());
            if (c.box != nullptr && Boxes().size() > nBoxes) {
                EXPECT_EQ(c.box, Boxes().back());
            }
        }
        EXPECT_FALSE(pPage->Submit(nullptr));
        CString strOld;
        pPage->GetDlgItemText(IDC_PASSWORD_OLD, strOld);
        EXPECT_TRUE(strOld.IsEmpty()) << "cleared once sent";
    });
    std::vector<tagServerFrame> sent = m_Server.GetRequests(200, 205);
    ASSERT_EQ(1u, sent.size());
    char szOld[33], szNew[33];
    CMD5Encrypt::EncryptData("secret", szOld);
    CMD5Encrypt::EncryptData("abcdef", szNew);
    EXPECT_EQ(CWireBytes().Str(szOld).Str(szNew).Vector(), sent[0].Body);
}

TEST_F(QuillonDlgTest, FaceNoticesReachTheHallAndTheServer)
{
    m_Server.AnswerStart(77);
    MakeBlock(77, 0, 0);
    RunDialog([&](CQuillonDlg& dlg) {
        ASSERT_TRUE(WaitStarted(dlg));
        dlg.SendMessage(WM_QUILLON_FACE, 1000, 0);
        ASSERT_EQ(1u, m_Hall.Notices.size());
        EXPECT_EQ(dlg.m_hWnd, m_Hall.Notices[0].hFrom);
        EXPECT_EQ(0u, m_Hall.Notices[0].dwData);
        EXPECT_EQ(0u, m_Hall.Notices[0].cbData);
        // A system face: sent at once, and only when it changes.
        dlg.SendMessage(WM_QUILLON_FACE, 1001, 7);
        dlg.SendMessage(WM_QUILLON_FACE, 1001, 12);
        EXPECT_TRUE(PumpUntil([&] { return !m_Server.GetRequests(200, 203).empty(); }));
    });
    std::vector<tagServerFrame> sent = m_Server.GetRequests(200, 203);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(CWireBytes().Count(1).U16(6).Str("12").Vector(), sent[0].Body);
    EXPECT_EQ(12, g_ServiceUnits.GetUserData()->wFaceID);
}

} // namespace
