// The registration form of a guest logged on through the scripted hall
// server, the registration page's address, and the personal-information
// form over a region file.
#include "PrefectSelfInfo.h"
#include "RegisterDlg.h"

#include <MD5Encrypt.h>

#include <functional>

#include "AfxModalScript.h"
#include "DataCenterTestSupport.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "IRegionManager.h"
#include <browser/ScriptedBrowser.h>

namespace
{

// ---- the input rules -----------------------------------------------------------------

TEST(RegisterRules, AccountEmailAndIdCard)
{
    const struct
    {
        const char* account;
        UINT nError;
    } accounts[] = {
        {"", 13000},
        {"abc", 13001},
        {"1abc", 13001},
        {"_abcd", 0},
        {"Zhang", 0},
        {"zhang3", 0},
        {"张三abcd", 13001},
        {"abcdefghijklmnopqrs", 0},
        {"abcdefghijklmnopqrst", 13001},
        {"{abcd", 13001},
    };
    for (const auto& c : accounts)
        EXPECT_EQ(c.nError, CRegisterDlg::CheckAccount(c.account)) << c.account;

    const struct
    {
        const char* email;
        UINT nError;
    } emails[] = {{"", 13008}, {"@x", 13012}, {"x@", 13012}, {"a@b", 0}, {"ab", 13012}, {"a@b@c", 0}};
    for (const auto& c : emails)
        EXPECT_EQ(c.nError, CRegisterDlg::CheckEmail(c.email)) << c.email;

    const struct
    {
        const char* card;
        UINT nError;
    } cards[] = {
        {"", 13009},
        {"41010119900101123X", 0},
        {"410101199001011", 0},
        {"4101011990010X1", 13010},
        {"4101011990010112", 13010},
        {"4101011990A101123X", 13010},
    };
    for (const auto& c : cards)
        EXPECT_EQ(c.nError, CRegisterDlg::CheckIdCard(c.card)) << c.card;
}

// ---- the registration form -----------------------------------------------------------

class RegisterFormTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        UseProgramFolder(m_Folder);
        g_GlobalUnits.GetResourceManager()->SetResourceFile("VQString.dll");
        ListenToAll();
        ConnectToServer();
        g_GlobalUnits.GetGlobalUserData()->lLevel = GUEST_USER_LEVEL;
        m_pDlg.reset(new CRegisterDlg);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
    }
    void TearDown() override
    {
        m_pDlg.reset();
        DataCenterTest::TearDown();
    }

    INT_PTR Run(std::function<void(CRegisterDlg&)> drive)
    {
        CRegisterDlg* pDlg = m_pDlg.get();
        m_Script.Then([=](AFX_MODAL_REQUEST&) {
            drive(*pDlg);
            PumpUntil([=] { return !pDlg->ContinueModal(); }, 15000);
            return (INT_PTR)IDCANCEL;
        });
        return m_pDlg->DoModal();
    }

    static void FillValid(CRegisterDlg& dlg)
    {
        dlg.SetDlgItemText(CRegisterDlg::IDC_ACCOUNT, " newuser ");
        dlg.SetDlgItemText(CRegisterDlg::IDC_NICKNAME, "新玩家");
        dlg.SetDlgItemText(CRegisterDlg::IDC_PASSWORD, "password1");
        dlg.SetDlgItemText(CRegisterDlg::IDC_PASSWORD_AGAIN, "password1");
        dlg.SetDlgItemText(CRegisterDlg::IDC_EMAIL, "a@b.cn");
        dlg.SetDlgItemText(CRegisterDlg::IDC_ID_CARD, "41010119900101123X");
        dlg.SetDlgItemText(CRegisterDlg::IDC_CODE, dlg.GetExpectedCode());
    }
    static void Press(CWnd& dlg, UINT nID)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)dlg.GetDlgItem(nID)->GetSafeHwnd());
    }
    static CString Text(CWnd& dlg, UINT nID)
    {
        CString strText;
        dlg.GetDlgItemText(nID, strText);
        return strText;
    }

    CModalScript m_Script;
    std::unique_ptr<CRegisterDlg> m_pDlg;
};

TEST_F(RegisterFormTest, EachInputErrorShowsItsTextFocusesAndRenewsTheCode)
{
    struct Case
    {
        UINT nField;
        const char* value;
        UINT nError;
    } cases[] = {
        {CRegisterDlg::IDC_ACCOUNT, "", 13000},
        {CRegisterDlg::IDC_ACCOUNT, "1abc", 13001},
        {CRegisterDlg::IDC_NICKNAME, "  ", 13002},
        {CRegisterDlg::IDC_NICKNAME, "abcdefghijklmno", 13003},
        {CRegisterDlg::IDC_PASSWORD, "", 13004},
        {CRegisterDlg::IDC_PASSWORD, "short", 13005},
        {CRegisterDlg::IDC_PASSWORD_AGAIN, "", 13006},
        {CRegisterDlg::IDC_PASSWORD_AGAIN, "Password1", 13007},
        {CRegisterDlg::IDC_EMAIL, "", 13008},
        {CRegisterDlg::IDC_ID_CARD, "", 13009},
        {CRegisterDlg::IDC_ID_CARD, "4101011990010X1", 13010},
        {CRegisterDlg::IDC_CODE, "xxxx", 13011},
        {CRegisterDlg::IDC_EMAIL, "ab@", 13012},
    };
    Run([&](CRegisterDlg& dlg) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.nError);
            FillValid(dlg);
            dlg.SetDlgItemText(c.nField, c.value);
            CString strCode = dlg.GetExpectedCode();
            m_Script.Answer(IDOK);
            size_t nBefore = m_Script.Count();
            Press(dlg, IDOK);
            ASSERT_EQ(nBefore + 1, m_Script.Count());
            CModalScript::Shown box = m_Script.At(nBefore);
            EXPECT_EQ(Res(c.nError), box.strText);
            EXPECT_EQ(CString("游戏提示"), box.strCaption);
            EXPECT_EQ((UINT)MB_ICONQUESTION, box.nType);
            HWND hFocus = ::GetFocus();
            EXPECT_EQ(dlg.GetDlgItem(c.nField)->GetSafeHwnd(), hFocus);
            EXPECT_EQ(CString(""), Text(dlg, CRegisterDlg::IDC_PASSWORD));
            EXPECT_EQ(CString(""), Text(dlg, CRegisterDlg::IDC_PASSWORD_AGAIN));
            EXPECT_FALSE(dlg.IsBusy());
            EXPECT_EQ(4, dlg.GetExpectedCode().GetLength());
            (void)strCode;
        }
        EXPECT_EQ(0u, m_Server.GetRequests(HALL_MAIN_USER, HALL_SUB_USER_REGISTER).size());
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(RegisterFormTest, TheCodePictureIsWrittenForTheExpectedCode)
{
    Run([&](CRegisterDlg& dlg) {
        CString strFile = dlg.GetPictureFile();
        EXPECT_NE(CString(""), strFile);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(strFile));
        const CRect rc = dlg.GetCodeRect();
        EXPECT_EQ(93, rc.Width());
        EXPECT_EQ(23, rc.Height());
        // A click on the picture draws a new code (seeded by the clock).
        AfxSetTestClock(1000, CTime(2026, 1, 1, 0, 0, 0));
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 5, rc.top + 5));
        CString strFirst = dlg.GetExpectedCode();
        AfxAdvanceTestClock(1);
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 5, rc.top + 5));
        CString strSecond = dlg.GetExpectedCode();
        // Outside it nothing changes.
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left - 5, rc.top - 5));
        AfxClearTestClock();
        EXPECT_NE(strFirst, strSecond);
        EXPECT_EQ(strSecond, dlg.GetExpectedCode());
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
}

TEST_F(RegisterFormTest, RegistrationResults)
{
    struct Case
    {
        LONG lResult;
        INT_PTR nDialog;
        const char* box; // null: none
    } cases[] = {
        {2, IDCANCEL, "帐号已被注册！"},
        {3, IDCANCEL, "邮箱已被使用！"},
        {9, IDCANCEL, "注册失败，请稍后再试！"},
        {0, IDOK, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lResult);
        m_Server.On(HALL_MAIN_USER, HALL_SUB_USER_REGISTER,
                    {CHallServer::Push(HALL_MAIN_USER, HALL_SUB_S_USER_REGISTER_RESULT,
                                       Bytes(CWireBytes().U32((DWORD)c.lResult)))});
        size_t nRequests = m_Server.GetRequests(HALL_MAIN_USER, HALL_SUB_USER_REGISTER).size();
        size_t nBefore = m_Script.Count();
        m_pDlg.reset(new CRegisterDlg);
        m_pDlg->SetClientDataCenter(m_pDataCenter);
        bool bEnabledAgain = false;
        INT_PTR nResult = Run([&](CRegisterDlg& dlg) {
            if (c.box != nullptr)
                m_Script.Answer(IDOK);
            FillValid(dlg);
            Press(dlg, IDOK);
            EXPECT_TRUE(dlg.IsBusy());
            EXPECT_FALSE(dlg.GetDlgItem(CRegisterDlg::IDC_ACCOUNT)->IsWindowEnabled());
            if (c.box == nullptr)
                return;
            PumpUntil([&] { return m_Script.Count() == nBefore + 2; }, 10000);
            bEnabledAgain = !dlg.IsBusy() && dlg.GetDlgItem(CRegisterDlg::IDC_ACCOUNT)->IsWindowEnabled() &&
                            dlg.GetDlgItem(IDOK)->IsWindowEnabled();
            dlg.SendMessage(WM_COMMAND, IDCANCEL);
        });
        EXPECT_EQ(c.nDialog, nResult);
        ASSERT_EQ(nRequests + 1, m_Server.GetRequests(HALL_MAIN_USER, HALL_SUB_USER_REGISTER).size());
        if (c.box != nullptr) {
            EXPECT_TRUE(bEnabledAgain);
            ASSERT_EQ(nBefore + 2, m_Script.Count());
            EXPECT_EQ(CString(c.box), m_Script.At(nBefore + 1).strText);
        } else {
            char digest[33];
            CMD5Encrypt::EncryptData("password1", digest);
            EXPECT_STREQ(digest, g_GlobalUnits.GetGlobalUserData()->szPassword);
        }
    }
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(RegisterFormTest, ARefusedRequestLeavesTheFormUsable)
{
    // Not a guest: the data centre sends nothing.
    g_GlobalUnits.GetGlobalUserData()->lLevel = 1;
    bool bUsable = false;
    Run([&](CRegisterDlg& dlg) {
        m_Script.Answer(IDOK);
        FillValid(dlg);
        Press(dlg, IDOK);
        bUsable = !dlg.IsBusy() && dlg.GetDlgItem(IDOK)->IsWindowEnabled();
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_TRUE(bUsable);
    EXPECT_EQ(0u, m_Server.GetRequests(HALL_MAIN_USER, HALL_SUB_USER_REGISTER).size());
}

TEST_F(RegisterFormTest, ACheckAnswerEnablesOnlyItsOwnButton)
{
    struct Case
    {
        UINT nButton;
        WORD wRequest;
        WORD wAnswer;
        bool bTaken;
        const char* box;
    } cases[] = {
        {CRegisterDlg::IDC_CHECK_ACCOUNT, HALL_SUB_USER_CHECK_ACCOUNT, HALL_SUB_S_USER_ACCOUNT_CHECK, true,
         "帐号已被注册！"},
        {CRegisterDlg::IDC_CHECK_ACCOUNT, HALL_SUB_USER_CHECK_ACCOUNT, HALL_SUB_S_USER_ACCOUNT_CHECK, false,
         "帐号未被注册！"},
        {CRegisterDlg::IDC_CHECK_EMAIL, HALL_SUB_USER_CHECK_EMAIL, HALL_SUB_S_USER_EMAIL_CHECK, false,
         "邮箱可以使用！"},
        {CRegisterDlg::IDC_CHECK_EMAIL, HALL_SUB_USER_CHECK_EMAIL, HALL_SUB_S_USER_EMAIL_CHECK, true, "邮箱已被使用！"},
    };
    Run([&](CRegisterDlg& dlg) {
        FillValid(dlg);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.box);
            UINT nOther = c.nButton == CRegisterDlg::IDC_CHECK_ACCOUNT ? CRegisterDlg::IDC_CHECK_EMAIL
                                                                       : CRegisterDlg::IDC_CHECK_ACCOUNT;
            dlg.GetDlgItem(nOther)->EnableWindow(FALSE);
            m_Server.On(HALL_MAIN_USER, c.wRequest,
                        {CHallServer::Push(HALL_MAIN_USER, c.wAnswer, Bytes(CWireBytes().U8(c.bTaken ? 1 : 0)))});
            m_Script.Answer(IDOK);
            size_t nBefore = m_Script.Count();
            Press(dlg, c.nButton);
            EXPECT_FALSE(dlg.GetDlgItem(c.nButton)->IsWindowEnabled());
            ASSERT_TRUE(PumpUntil([&] { return m_Script.Count() == nBefore + 1; }, 10000));
            EXPECT_EQ(CString(c.box), m_Script.At(nBefore).strText);
            EXPECT_TRUE(dlg.GetDlgItem(c.nButton)->IsWindowEnabled());
            EXPECT_FALSE(dlg.GetDlgItem(nOther)->IsWindowEnabled());
            dlg.GetDlgItem(nOther)->EnableWindow(TRUE);
        }
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(0, m_Script.Unexpected());
}

// ---- the registration page -----------------------------------------------------------

TEST(RegisterWebDlgTest, NavigatesToTheConfiguredPageWithPlaceholdersReplaced)
{
    CStateFolder folder;
    UseProgramFolder(folder);
    folder.Write("config\\Urls.ini",
                 "[RegisterHelp]\r\nurl=http://help\r\ndlgurl=http://reg.example/page?s=<%SubStationId%>\r\n");
    CString strExpected;
    strExpected.Format("http://reg.example/page?s=%lu", (unsigned long)g_GlobalUnits.GetSubStationId());
    EXPECT_EQ(strExpected, CRegisterWebDlg::ReadPageUrl());

    CScriptedBrowserFactory browsers;
    CModalScript script;
    CString strNavigated;
    CRect rcBrowser;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        CRegisterWebDlg* pDlg = static_cast<CRegisterWebDlg*>(r.pWnd);
        strNavigated = pDlg->GetPageUrl();
        CRect rcWindow;
        pDlg->GetWindowRect(&rcWindow);
        EXPECT_EQ(551, rcWindow.Width());
        EXPECT_EQ(493, rcWindow.Height());
        pDlg->GetBrowser().GetWindowRect(&rcBrowser);
        EXPECT_EQ(12u, pDlg->GetBrowser().GetHostFlags());
        EXPECT_EQ(CString("Varnok游戏中心玩家注册"), r.strCaption);
        return (INT_PTR)IDCANCEL;
    });
    CRegisterWebDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(strExpected, strNavigated);
    EXPECT_EQ(551, rcBrowser.Width());
    EXPECT_EQ(469, rcBrowser.Height());
    ASSERT_NE(nullptr, browsers.Last());
    ASSERT_FALSE(browsers.Last()->m_navigations.empty());
    LPCSTR pszExpected = strExpected;
    EXPECT_EQ(std::wstring(pszExpected, pszExpected + strlen(pszExpected)),
              browsers.Last()->m_navigations.back().strURL);
}

// ---- the personal-information form ---------------------------------------------------

class PrefectSelfInfoTest : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(m_Folder);
        // 35 cities in the province: the form lists the first 30.
        std::string text = "[Province]\r\n110000=北京市\r\n410000=河南省\r\n[City]\r\n110100=市辖区\r\n";
        for (int i = 1; i <= 35; ++i)
            text += std::to_string(410000 + i * 100) + "=城" + std::to_string(i) + "\r\n";
        std::string file = m_Folder.Write("Region.ini", text);
        ASSERT_TRUE(m_Regions.CreateInstance());
        ASSERT_TRUE(m_Regions.GetInterface()->LoadRegion(file.c_str()));
    }

    INT_PTR Run(CPrefectSelfInfo& form, std::function<INT_PTR(CPrefectSelfInfo&)> drive)
    {
        form.SetRegionManager(m_Regions.GetInterface());
        m_Script.Then([&](AFX_MODAL_REQUEST&) { return drive(form); });
        return form.DoModal();
    }
    static void Fill(CWnd& dlg, int nCity, int nCityAgain)
    {
        dlg.SetDlgItemText(1099, " 张三 ");
        dlg.SetDlgItemText(1226, "13800000000");
        dlg.SetDlgItemText(1227, "13800000000");
        dlg.SetDlgItemText(1201, "41010119900101123X");
        ((CComboBox*)dlg.GetDlgItem(1239))->SetCurSel(nCity);
        ((CComboBox*)dlg.GetDlgItem(1075))->SetCurSel(nCityAgain);
    }

    CStateFolder m_Folder;
    CRegionManagerHelper m_Regions;
    CModalScript m_Script;
};

TEST_F(PrefectSelfInfoTest, ChecksInOrder)
{
    struct Case
    {
        std::function<void(CWnd&)> spoil;
        const char* text;
        UINT nFocus; // 0: unchanged
    } cases[] = {
        {[](CWnd& d) { d.SetDlgItemText(1099, "   "); }, "请正确输入姓名！", 1099},
        {[](CWnd& d) { d.SetDlgItemText(1226, ""); }, "请输入正确的电话！", 1226},
        {[](CWnd& d) { d.SetDlgItemText(1201, "4101011990010112"); }, "请输入正确的身份证号码！", 1201},
        {[](CWnd& d) { d.SetDlgItemText(1201, "4101011990X10112"); }, "请输入正确的身份证号码！", 1201},
        {[](CWnd& d) { ((CComboBox*)d.GetDlgItem(1239))->SetCurSel(0); }, "请选择正确的城市！", 1239},
        {[](CWnd& d) { ((CComboBox*)d.GetDlgItem(1075))->SetCurSel(4); }, "两次选择的城市不同！", 1075},
        {[](CWnd& d) { d.SetDlgItemText(1227, "13800000001"); }, "两次输入的电话号码不同！", 0},
    };
    CPrefectSelfInfo form(false);
    Run(form, [&](CPrefectSelfInfo& dlg) -> INT_PTR {
        EXPECT_EQ(31, ((CComboBox*)dlg.GetDlgItem(1239))->GetCount()) << "at most 30 cities";
        EXPECT_EQ(31, ((CComboBox*)dlg.GetDlgItem(1075))->GetCount());
        EXPECT_EQ(30, dlg.GetCityCount());
        EXPECT_EQ(0u, dlg.GetSelectedEntry());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            Fill(dlg, 3, 3);
            c.spoil(dlg);
            dlg.GetDlgItem(IDOK)->SetFocus();
            m_Script.Answer(IDOK);
            size_t nBefore = m_Script.Count();
            dlg.SendMessage(WM_COMMAND, IDOK);
            EXPECT_TRUE(dlg.ContinueModal());
            EXPECT_EQ(nBefore + 1, m_Script.Count());
            if (m_Script.Count() != nBefore + 1)
                continue;
            EXPECT_EQ(CString(c.text), m_Script.At(nBefore).strText);
            EXPECT_EQ(CString("提交资料"), m_Script.At(nBefore).strCaption);
            EXPECT_EQ((UINT)MB_ICONQUESTION, m_Script.At(nBefore).nType);
            HWND hFocus = ::GetFocus();
            HWND hExpected = dlg.GetDlgItem(c.nFocus != 0 ? c.nFocus : IDOK)->GetSafeHwnd();
            EXPECT_TRUE(hFocus == hExpected || ::GetParent(hFocus) == hExpected);
        }
        // No keeps the input; Yes ends the form.
        Fill(dlg, 3, 3);
        m_Script.Answer(IDNO);
        dlg.SendMessage(WM_COMMAND, IDOK);
        EXPECT_TRUE(dlg.ContinueModal());
        CString strName;
        dlg.GetDlgItemText(1099, strName);
        EXPECT_EQ(CString(" 张三 "), strName);
        m_Script.Answer(IDYES);
        dlg.SendMessage(WM_COMMAND, IDOK);
        EXPECT_FALSE(dlg.ContinueModal());
        return (INT_PTR)IDCANCEL;
    });
    EXPECT_EQ(CString("张三"), form.GetRealName());
    EXPECT_EQ(CString("13800000000"), form.GetTelephone());
    EXPECT_EQ(CString("41010119900101123X"), form.GetIdCard());
    EXPECT_EQ(410300u, form.GetSelectedEntry());
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(PrefectSelfInfoTest, PrefillsFromTheServersRecord)
{
    struct Case
    {
        bool bPrefill;
        DWORD dwCity;
        int nSelected;
        const char* name;
    } cases[] = {
        {true, 410500, 5, "李四"},
        {true, 413200, 0, "李四"}, // city 32: not among the listed 30
        {false, 410500, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwCity);
        tagAccountNotice record = {};
        record.dwValue = c.dwCity;
        strcpy(record.szText1, "李四");
        strcpy(record.szText2, "13900000000");
        strcpy(record.szText3, "410101199001011");
        memset(record.szText4, 'x', sizeof(record.szText4)); // no terminator in the field
        CPrefectSelfInfo form(c.bPrefill);
        form.SetUserInfo(false, record);
        int nCity = -1, nAgain = -1;
        CString strName;
        Run(form, [&](CPrefectSelfInfo& dlg) -> INT_PTR {
            nCity = ((CComboBox*)dlg.GetDlgItem(1239))->GetCurSel();
            nAgain = ((CComboBox*)dlg.GetDlgItem(1075))->GetCurSel();
            dlg.GetDlgItemText(1099, strName);
            return (INT_PTR)IDCANCEL;
        });
        EXPECT_EQ(c.nSelected, nCity);
        EXPECT_EQ(CString(c.name), strName);
        if (!c.bPrefill) {
            EXPECT_EQ(0, nAgain);
        }
        EXPECT_EQ(c.bPrefill ? 128 : 0, form.GetText4().GetLength());
    }
}

} // namespace
