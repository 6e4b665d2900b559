// The skinned message box run modally and driven through the modal
// responder: buttons of every set read from the live window, Escape and the
// close box, countdowns and disabled seconds stepped by WM_TIMER, remembered
// answers, links, and the in-memory template written for a known box.
#include <BoxDialogTemplate.h>
#include <HallMsgBox.h>
#include <SkinDialogTemplate.h>

#include <AfxModalScript.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
struct LiveButton
{
    UINT nID;
    CString strText;
    CRect rc;
    BOOL bEnabled;
};

// The buttons of the live box from left to right (the check box apart).
std::vector<LiveButton> ButtonsOf(CWnd* pBox)
{
    std::vector<LiveButton> buttons;
    for (HWND h = ::GetWindow(pBox->m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char szClass[16] = "";
        ::GetClassNameA(h, szClass, sizeof(szClass));
        UINT nID = (UINT)::GetDlgCtrlID(h);
        if (lstrcmpiA(szClass, "Button") != 0 || nID == IDMSGBOXCHECK || nID == CRgnDialog::IDC_SKIN_CLOSE)
            continue;
        LiveButton b;
        b.nID = nID;
        CWnd::FromHandle(h)->GetWindowText(b.strText);
        ::GetWindowRect(h, &b.rc);
        b.bEnabled = ::IsWindowEnabled(h);
        buttons.push_back(b);
    }
    std::sort(buttons.begin(), buttons.end(),
              [](const LiveButton& a, const LiveButton& b) { return a.rc.left < b.rc.left; });
    return buttons;
}

bool CloseGreyed(CWnd* pBox)
{
    HMENU hMenu = ::GetSystemMenu(pBox->m_hWnd, FALSE);
    return hMenu != NULL && (::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

void Click(CWnd* pBox, UINT nID)
{
    CWnd* pButton = pBox->GetDlgItem(nID);
    ASSERT_NE(pButton, nullptr) << nID;
    pBox->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)pButton->m_hWnd);
}

class HallMsgBoxTest : public testing::Test
{
protected:
    void SetUp() override { m_nPeriod = CSkinDialogTemplate::SetTimerPeriod(0x7FFFFFF0); }
    void TearDown() override
    {
        CSkinDialogTemplate::SetTimerPeriod(m_nPeriod);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TavrelBoxTest");
    }
    // The box is offered first as a message box; keepRunning shows it, and
    // the action then drives the live dialog.
    void Drive(CModalScript::Action action)
    {
        m_script.Answer(CModalScript::keepRunning);
        m_script.Then(std::move(action));
    }
    UINT m_nPeriod = 1000;
    CModalScript m_script;
};

TEST_F(HallMsgBoxTest, EveryButtonSet)
{
    MsgBoxParams custom;
    lstrcpyA(custom.customButtons, "一\n二\n三\n四\n五");
    MsgBoxParams report;
    report.reportCallback = [](LPCSTR, DWORD) {};
    MsgBoxParams customHelpReport = custom;
    customHelpReport.reportCallback = report.reportCallback;
    lstrcpyA(customHelpReport.customButtons, "一\n二");

    const struct
    {
        UINT style;
        const MsgBoxParams* params;
        std::vector<UINT> ids;
        std::vector<const char*> texts;
        int escape; // result of Escape, 0: the box stays
    } cases[] = {
        {MB_OK, NULL, {1}, {"确定"}, IDOK},
        {MB_OKCANCEL, NULL, {1, 2}, {"确定", "取消"}, IDCANCEL},
        {MB_ABORTRETRYIGNORE, NULL, {3, 4, 5}, {"&中止", "&重试", "&忽略"}, 0},
        {MB_YESNOCANCEL, NULL, {6, 7, 2}, {"是", "否", "取消"}, IDCANCEL},
        {MB_YESNO, NULL, {6, 7}, {"是", "否"}, 0},
        {MB_YESNO | XMB_YESTOALL | XMB_NOTOALL, NULL, {6, 19, 7, 20}, {"是", "Y&es to All", "否", "N&o to All"}, 0},
        {MB_YESNOCANCEL | XMB_NOTOALL, NULL, {6, 7, 20, 2}, {"是", "否", "N&o to All", "取消"}, IDCANCEL},
        {MB_RETRYCANCEL, NULL, {4, 2}, {"&重试", "取消"}, IDCANCEL},
        {6, NULL, {2, 10, 11}, {"取消", "&重试", "&继续"}, IDCANCEL},
        {7, NULL, {11, 3}, {"&继续", "&中止"}, 0},
        {8, NULL, {14, 15, 2}, {"&跳过", "S&kip All", "取消"}, IDCANCEL},
        {9, NULL, {5, 16, 2}, {"&忽略", "I&gnore All", "取消"}, IDCANCEL},
        {12, NULL, {1}, {"确定"}, IDOK}, // above 9: OK only
        {MB_OK | MB_HELP, NULL, {1, 300}, {"确定", "&帮助"}, IDOK},
        {MB_YESNO, &custom, {23, 24, 25, 26}, {"一", "二", "三", "四"}, 0},
        {MB_OK, &report, {1, 301}, {"确定", "Re&port"}, IDOK},
        {MB_OK | MB_HELP, &customHelpReport, {23, 24, 300, 301}, {"一", "二", "&帮助", "Re&port"}, IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << std::hex << c.style);
        std::vector<LiveButton> buttons;
        bool bEscapeEnded = false;
        bool bGreyed = false;
        Drive([&](AFX_MODAL_REQUEST& r) {
            EXPECT_EQ(r.nKind, afxModalDialog);
            EXPECT_STREQ(r.strClassName, "CSkinDialogTemplate");
            buttons = ButtonsOf(r.pWnd);
            bGreyed = CloseGreyed(r.pWnd);
            r.pWnd->SendMessage(WM_COMMAND, IDCANCEL, 0);
            bEscapeEnded = !r.pWnd->ContinueModal();
            if (!bEscapeEnded)
                Click(r.pWnd, buttons.back().nID);
            return (INT_PTR)0;
        });
        int nResult = HallMsgBox(NULL, "消息", "标题", c.style | XMB_NOSOUND, c.params);
        ASSERT_EQ(buttons.size(), c.ids.size());
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i].nID, c.ids[i]) << i;
            EXPECT_STREQ(buttons[i].strText, c.texts[i]) << i;
            if (i > 0) {
                EXPECT_NEAR(buttons[i].rc.left - buttons[i - 1].rc.right, 6, 2) << i; // dialog units round
            }
        }
        EXPECT_EQ(bEscapeEnded, c.escape != 0);
        EXPECT_EQ(bGreyed, c.escape == 0);
        EXPECT_EQ(nResult, c.escape != 0 ? c.escape : (int)c.ids.back());
    }
    EXPECT_EQ(m_script.Unexpected(), 0);
}

TEST_F(HallMsgBoxTest, CloseBoxActsAsEscape)
{
    const struct
    {
        UINT style;
        int result;
    } cases[] = {{MB_OKCANCEL, IDCANCEL}, {MB_OK, IDOK}, {MB_YESNO, IDYES}};
    for (const auto& c : cases) {
        Drive([&](AFX_MODAL_REQUEST& r) {
            r.pWnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            PumpMessages(); // the dialog posts its Cancel command
            if (r.pWnd->ContinueModal())
                Click(r.pWnd, IDYES);
            return (INT_PTR)0;
        });
        EXPECT_EQ(HallMsgBox(NULL, "x", "y", c.style | XMB_NOSOUND), c.result) << c.style;
    }
}

TEST_F(HallMsgBoxTest, DefaultButtonAndItsFallback)
{
    const struct
    {
        UINT style;
        UINT focus;
    } cases[] = {{MB_YESNOCANCEL, IDYES},
                 {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
                 {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                 {MB_OKCANCEL | MB_DEFBUTTON4, IDOK}, // beyond the buttons: the first
                 {MB_OK | 0x500, IDOK}};
    for (const auto& c : cases) {
        UINT nFocus = 0;
        LONG dwStyle = 0;
        Drive([&](AFX_MODAL_REQUEST& r) {
            HWND hFocus = ::GetFocus();
            if (hFocus == NULL) {
                // Another test program took the activation away: the box,
                // activated again, gives the focus back to the button it set.
                ::SetActiveWindow(r.pWnd->m_hWnd);
                hFocus = ::GetFocus();
            }
            nFocus = hFocus != NULL ? (UINT)::GetDlgCtrlID(hFocus) : 0;
            dwStyle = ::GetWindowLongA(r.pWnd->GetDlgItem(c.focus)->m_hWnd, GWL_STYLE);
            return (INT_PTR)IDCANCEL;
        });
        HallMsgBox(NULL, "x", "y", c.style | XMB_NOSOUND);
        EXPECT_EQ(nFocus, c.focus) << std::hex << c.style;
        EXPECT_EQ(dwStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON) << std::hex << c.style;
    }
}

TEST_F(HallMsgBoxTest, CheckBoxFlagsTheResultAndSitsBelowTheRow)
{
    const struct
    {
        UINT bit;
        const char* caption;
    } cases[] = {{XMB_DONTASKAGAIN, "Don't ask me again"},
                 {XMB_DONTTELLAGAIN, "Don't tell me again"},
                 {XMB_DONTSHOWAGAIN, "Don't show again"}};
    for (const auto& c : cases) {
        CString strCheck;
        CRect rcCheck, rcYes;
        Drive([&](AFX_MODAL_REQUEST& r) {
            CWnd* pCheck = r.pWnd->GetDlgItem(IDMSGBOXCHECK);
            EXPECT_NE(pCheck, nullptr);
            if (pCheck == nullptr)
                return (INT_PTR)IDCANCEL;
            pCheck->GetWindowText(strCheck);
            pCheck->GetWindowRect(&rcCheck);
            r.pWnd->GetDlgItem(IDYES)->GetWindowRect(&rcYes);
            pCheck->SendMessage(BM_SETCHECK, BST_CHECKED, 0);
            Click(r.pWnd, IDMSGBOXCHECK); // the box stays
            EXPECT_TRUE(r.pWnd->ContinueModal());
            Click(r.pWnd, IDYES);
            return (INT_PTR)0;
        });
        EXPECT_EQ((UINT)HallMsgBox(NULL, "x", "y", MB_YESNO | c.bit | XMB_NOSOUND), IDYES | c.bit);
        EXPECT_STREQ(strCheck, c.caption);
        EXPECT_GT(rcCheck.top, rcYes.bottom);
    }
    // Cancel never carries the flag.
    Drive([&](AFX_MODAL_REQUEST& r) {
        r.pWnd->GetDlgItem(IDMSGBOXCHECK)->SendMessage(BM_SETCHECK, BST_CHECKED, 0);
        r.pWnd->SendMessage(WM_COMMAND, IDCANCEL, 0);
        return (INT_PTR)0;
    });
    EXPECT_EQ(HallMsgBox(NULL, "x", "y", MB_OKCANCEL | XMB_DONTASKAGAIN | XMB_NOSOUND), IDCANCEL);
}

TEST_F(HallMsgBoxTest, CountdownEndsWithTheDefaultButton)
{
    const struct
    {
        int seconds;
        int first;
    } cases[] = {{5, 5}, {1500, 10}};
    for (const auto& c : cases) {
        MsgBoxParams params;
        params.timeoutSeconds = c.seconds;
        params.useCaptions = 1;
        lstrcpyA(params.captions[MSGBOX_YES], "是");
        std::vector<CString> shown;
        Drive([&](AFX_MODAL_REQUEST& r) {
            for (int i = 0; i < c.first && r.pWnd->ContinueModal(); ++i) {
                r.pWnd->SendMessage(WM_TIMER, CSkinDialogTemplate::timerCountdown, 0);
                CString s;
                r.pWnd->GetDlgItem(IDYES)->GetWindowText(s);
                shown.push_back(s);
            }
            r.pWnd->SendMessage(WM_TIMER, CSkinDialogTemplate::timerCountdown, 0);
            return (INT_PTR)IDCANCEL;
        });
        EXPECT_EQ((UINT)HallMsgBox(NULL, "x", "y", MB_YESNOCANCEL | XMB_NOSOUND, &params), IDYES | XMB_TIMEOUT);
        ASSERT_EQ(shown.size(), (size_t)c.first);
        EXPECT_STREQ(shown.front(), CString("是 (") + std::to_string(c.first).c_str() + ")");
        EXPECT_STREQ(shown.back(), "是 (1)");
    }
    // Any command stops the countdown and gives the caption back.
    MsgBoxParams params;
    params.timeoutSeconds = 5;
    CString after;
    Drive([&](AFX_MODAL_REQUEST& r) {
        r.pWnd->SendMessage(WM_TIMER, CSkinDialogTemplate::timerCountdown, 0);
        Click(r.pWnd, IDMSGBOXCHECK);
        r.pWnd->GetDlgItem(IDOK)->GetWindowText(after);
        return (INT_PTR)IDOK;
    });
    HallMsgBox(NULL, "x", "y", MB_OK | XMB_DONTASKAGAIN | XMB_NOSOUND, &params);
    EXPECT_STREQ(after, "确定");
}

TEST_F(HallMsgBoxTest, DisabledSecondsGreyTheButtonsAndTheCloseCommand)
{
    MsgBoxParams params;
    params.disabledSeconds = 3;
    std::vector<CString> titles;
    bool bAllDisabled = true, bGreyed = false, bAllEnabled = true, bUngreyed = false;
    CString strFinal;
    Drive([&](AFX_MODAL_REQUEST& r) {
        for (const LiveButton& b : ButtonsOf(r.pWnd))
            bAllDisabled = bAllDisabled && !b.bEnabled;
        bGreyed = CloseGreyed(r.pWnd);
        for (int i = 0; i < 4; ++i) {
            r.pWnd->SendMessage(WM_TIMER, CSkinDialogTemplate::timerDisabled, 0);
            CString s;
            r.pWnd->GetWindowText(s);
            titles.push_back(s);
        }
        for (const LiveButton& b : ButtonsOf(r.pWnd))
            bAllEnabled = bAllEnabled && b.bEnabled;
        bUngreyed = !CloseGreyed(r.pWnd);
        Click(r.pWnd, IDOK);
        return (INT_PTR)0;
    });
    EXPECT_EQ(HallMsgBox(NULL, "x", "等待", MB_OKCANCEL | XMB_NOSOUND, &params), IDOK);
    EXPECT_TRUE(bAllDisabled);
    EXPECT_TRUE(bGreyed);
    EXPECT_TRUE(bAllEnabled);
    EXPECT_TRUE(bUngreyed);
    ASSERT_EQ(titles.size(), 4u);
    EXPECT_STREQ(titles[0], "等待 3");
    EXPECT_STREQ(titles[1], "等待 2");
    EXPECT_STREQ(titles[2], "等待 1");
    EXPECT_STREQ(titles[3], "等待");
}

TEST_F(HallMsgBoxTest, RememberedAnswers)
{
    MsgBoxParams params;
    lstrcpyA(params.companyName, "TavrelBoxTest");
    params.answerKey = "删除好友?";
    params.answerKeyNumber = 12;
    const UINT style = MB_YESNO | XMB_DONTASKAGAIN | XMB_NOSOUND;

    // A stored 0 (no check-box bit) still shows the box.
    WriteMsgBoxAnswer("TavrelBoxTest", params.answerKey, 12, 0);
    Drive([&](AFX_MODAL_REQUEST& r) {
        r.pWnd->GetDlgItem(IDMSGBOXCHECK)->SendMessage(BM_SETCHECK, BST_CHECKED, 0);
        Click(r.pWnd, IDNO);
        return (INT_PTR)0;
    });
    EXPECT_EQ((UINT)HallMsgBox(NULL, "x", "y", style, &params), IDNO | XMB_DONTASKAGAIN);
    EXPECT_EQ(m_script.Pending(), 0u);

    // The value under the program's key, named by the encoded answer key.
    char szName[600];
    MsgBoxAnswerValueName(params.answerKey, 12, szName, sizeof(szName));
    DWORD dwValue = 0, cb = sizeof(dwValue);
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, "Software\\TavrelBoxTest\\toolkit_tests.exe\\HallMsgBox", szName,
                             RRF_RT_REG_DWORD, NULL, &dwValue, &cb),
              ERROR_SUCCESS);
    EXPECT_EQ(dwValue, IDNO | XMB_DONTASKAGAIN);

    // The next call answers at once, without any box.
    size_t nShown = m_script.Count();
    EXPECT_EQ((UINT)HallMsgBox(NULL, "x", "y", style, &params), IDNO | XMB_DONTASKAGAIN);
    EXPECT_EQ(m_script.Count(), nShown);
    // Another number is another answer.
    params.answerKeyNumber = 13;
    m_script.Answer(IDYES);
    EXPECT_EQ(HallMsgBox(NULL, "x", "y", style, &params), IDYES);
    EXPECT_EQ(m_script.Unexpected(), 0);
}

TEST(MsgBoxAnswers, ValueNamesEncodeSignedBytes)
{
    const struct
    {
        const char* key;
        int number;
        const char* name;
    } cases[] = {
        {"a", 5, "75"},      // (0 * 5 + 97) & 63 = 33
        {"a\xB2", 0, "7t0"}, // (1 * 5 - 78) & 63 = 55
        {"", -3, "-3"},
        {"AAA", 1, "BGL1"}, // 65, 70, 75
    };
    for (const auto& c : cases) {
        char szName[600];
        MsgBoxAnswerValueName(c.key, c.number, szName, sizeof(szName));
        EXPECT_STREQ(szName, c.name) << c.key;
    }
    std::string strLong(600, 'x');
    char szName[600];
    MsgBoxAnswerValueName(strLong.c_str(), 7, szName, sizeof(szName));
    EXPECT_EQ(strlen(szName), 491u); // 490 bytes, then the number
}

TEST(MsgBoxLinks, StrippingKeepsLabelsAndStopsOnBrokenAnchors)
{
    const struct
    {
        const char* text;
        const char* plain;
        bool stripped;
    } cases[] = {
        {"请<a href=\"http://x.cn\">点这里</a>查看", "请点这里查看", true},
        {"<A HREF=\"x\">one</A> and <a href=\"y\">two</a>", "one and two", true},
        {"<a href=x>unquoted</a>!", "unquoted!", true},
        {"end</a> then <a href=\"x\">start", "end</a> then <a href=\"x\">start", false},
        {"x<a</a>y", "x<a</a>y", false},
        {"no links", "no links", false},
        {"<a href=\"x\">ok</a> <a href", "ok <a href", true},
    };
    for (const auto& c : cases) {
        std::string s = c.text;
        EXPECT_EQ(StripMsgBoxLinks(&s[0]) != FALSE, c.stripped) << c.text;
        EXPECT_STREQ(s.c_str(), c.plain) << c.text;
    }
}

std::vector<std::string> g_boxOpened;
BOOL RecordBoxOpen(LPCSTR target)
{
    g_boxOpened.push_back(target);
    return TRUE;
}

TEST_F(HallMsgBoxTest, LinkedTextShowsThroughTheHtmlStatic)
{
    g_boxOpened.clear();
    CHtmlTextStatic::LinkOpener previous = CHtmlTextStatic::SetLinkOpener(&RecordBoxOpen);
    const char* text = "请<a href=\"http://x.cn/p\">点这里</a>或<a href=\"C:\\x.exe\">运行</a>";
    CString strHtml;
    int nLinks = 0;
    BOOL bWeb = FALSE, bPath = TRUE, bStayed = FALSE;
    m_script.Answer(CModalScript::keepRunning).Then([&](AFX_MODAL_REQUEST& r) {
        CWnd* pText = CWnd::FromHandlePermanent(r.pWnd->GetDlgItem(IDMSGBOXTEXT)->m_hWnd);
        CHtmlTextStatic* pHtml = dynamic_cast<CHtmlTextStatic*>(pText);
        EXPECT_NE(pHtml, nullptr);
        if (pHtml == nullptr)
            return (INT_PTR)IDOK;
        pHtml->GetWindowText(strHtml);
        CRect rc;
        pHtml->GetClientRect(&rc);
        skintest::Canvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
        pHtml->DrawText(canvas.DC());
        nLinks = pHtml->GetLinkCount();
        if (nLinks == 2) {
            bWeb = pHtml->FollowLinkAt(pHtml->GetLinkRect(0).CenterPoint());
            bPath = pHtml->FollowLinkAt(pHtml->GetLinkRect(1).CenterPoint());
            // A real click on the text follows the link and leaves the box open.
            CPoint pt = pHtml->GetLinkRect(0).CenterPoint();
            pHtml->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            pHtml->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            bStayed = r.pWnd->ContinueModal();
        }
        return (INT_PTR)IDOK;
    });
    HallMsgBox(NULL, text, "y", MB_OK | XMB_NOSOUND);
    CHtmlTextStatic::SetLinkOpener(previous);
    ASSERT_EQ(m_script.Count(), 2u);
    EXPECT_STREQ(m_script.At(0).strText, "请点这里或运行");
    EXPECT_STREQ(m_script.At(0).strClassName, "HallMsgBox");
    EXPECT_STREQ(strHtml, text);
    EXPECT_EQ(nLinks, 2);
    EXPECT_TRUE(bWeb);
    EXPECT_FALSE(bPath);
    EXPECT_TRUE(bStayed);
    ASSERT_GE(g_boxOpened.size(), 2u);
    EXPECT_EQ(g_boxOpened[0], "http://x.cn/p");
    EXPECT_EQ(g_boxOpened.back(), "http://x.cn/p");
}

TEST_F(HallMsgBoxTest, SystemModalStopsGoToTheSystemBox)
{
    const struct
    {
        UINT style;
        const char* className;
    } cases[] = {{MB_ICONHAND | MB_SYSTEMMODAL, ""},
                 {MB_ICONEXCLAMATION | MB_SYSTEMMODAL, ""},
                 {MB_ICONQUESTION | MB_SYSTEMMODAL, "HallMsgBox"},
                 {MB_ICONHAND, "HallMsgBox"}};
    for (const auto& c : cases) {
        m_script.Answer(IDOK);
        EXPECT_EQ(HallMsgBox(NULL, "x", NULL, c.style), IDOK);
        EXPECT_STREQ(m_script.Recorded().back().strClassName, c.className) << std::hex << c.style;
        EXPECT_STREQ(m_script.Recorded().back().strCaption, "Error");
    }
}

TEST_F(HallMsgBoxTest, NullTextsShowEmptyAndError)
{
    m_script.Answer(IDOK);
    EXPECT_EQ(HallMsgBox(NULL, NULL, NULL, MB_OK), IDOK);
    EXPECT_STREQ(m_script.At(0).strText, "");
    EXPECT_STREQ(m_script.At(0).strCaption, "Error");
}

TEST_F(HallMsgBoxTest, CallersBlockReplacesTheLocalCaptions)
{
    // Without a block the box says "是"/"否"; a block brings the table's own
    // captions unless it sets its own.
    MsgBoxParams plain;
    MsgBoxParams own;
    own.useCaptions = 1;
    lstrcpyA(own.captions[MSGBOX_NO], "不要");
    const struct
    {
        const MsgBoxParams* params;
        const char* yes;
        const char* no;
    } cases[] = {{NULL, "是", "否"}, {&plain, "&是", "&否"}, {&own, "&是", "不要"}};
    for (const auto& c : cases) {
        std::vector<LiveButton> buttons;
        Drive([&](AFX_MODAL_REQUEST& r) {
            buttons = ButtonsOf(r.pWnd);
            return (INT_PTR)IDYES;
        });
        HallMsgBox(NULL, "x", "y", MB_YESNO | XMB_NOSOUND | XMB_NORESOURCE, c.params);
        ASSERT_EQ(buttons.size(), 2u);
        EXPECT_STREQ(buttons[0].strText, c.yes);
        EXPECT_STREQ(buttons[1].strText, c.no);
    }
}

TEST_F(HallMsgBoxTest, LayoutRelations)
{
    const LONG units = ::GetDialogBaseUnits();
    const int minWidth = ::MulDiv(48 + 6, LOWORD(units), 4); // the wide look
    MsgBoxParams params;
    params.timeoutSeconds = 3;
    const struct
    {
        const MsgBoxParams* params;
        int minimum;
    } cases[] = {{NULL, minWidth}, {&params, minWidth + ::MulDiv(13, LOWORD(units), 4)}};
    for (const auto& c : cases) {
        std::vector<LiveButton> buttons;
        CRect rcText, rcIcon, rcClient;
        HICON hIconData = NULL;
        Drive([&](AFX_MODAL_REQUEST& r) {
            buttons = ButtonsOf(r.pWnd);
            r.pWnd->GetDlgItem(IDMSGBOXTEXT)->GetWindowRect(&rcText);
            CWnd* pIcon = r.pWnd->GetDlgItem(IDMSGBOXICON);
            EXPECT_NE(pIcon, nullptr);
            if (pIcon != nullptr) {
                pIcon->GetWindowRect(&rcIcon);
                hIconData = (HICON)::GetWindowLongPtrA(pIcon->m_hWnd, GWLP_USERDATA);
            }
            r.pWnd->GetClientRect(&rcClient);
            r.pWnd->ClientToScreen(&rcClient);
            return (INT_PTR)IDCANCEL;
        });
        HallMsgBox(NULL, "一段比较长的消息文字", "y", MB_YESNOCANCEL | MB_ICONQUESTION | XMB_NOSOUND, c.params);
        ASSERT_EQ(buttons.size(), 3u);
        for (const LiveButton& b : buttons)
            EXPECT_GE(b.rc.Width(), c.minimum - 2); // dialog units round
        EXPECT_NE(hIconData, (HICON)NULL);
        EXPECT_LT(rcIcon.right, rcText.left);
        EXPECT_GT(buttons[0].rc.top, std::max(rcText.bottom, rcIcon.bottom) - 2);
        // Right-aligned in the wide look, 50 pixels from the edge.
        EXPECT_NEAR(rcClient.right - buttons.back().rc.right, 50, 3);
    }
}

TEST_F(HallMsgBoxTest, SkinPicturesReachTheFrameAndTheButtons)
{
    skintest::TempFolder folder;
    MsgBoxSkin skin;
    memset(&skin, 0, sizeof(skin));
    skintest::Pixels button(4 * 60, 24, RGB(40, 90, 200));
    lstrcpyA(skin.paths[MSGBOX_SKIN_BUTTON], folder.WriteBmp("button.bmp", button).c_str());
    lstrcpyA(skin.paths[CSkinWndObject::SKIN_TM],
             folder.WriteBmp("tm.bmp", skintest::Pixels(8, 30, RGB(9, 9, 90))).c_str());
    lstrcpyA(skin.paths[MSGBOX_SKIN_CLOSE],
             folder.WriteBmp("close.bmp", skintest::Pixels(4 * 16, 16, RGB(200, 0, 0))).c_str());
    DWORD dwOkStyle = 0, dwHelpStyle = 0;
    BOOL bSkinFrame = FALSE;
    CString strClose;
    Drive([&](AFX_MODAL_REQUEST& r) {
        dwOkStyle = r.pWnd->GetDlgItem(IDOK)->GetStyle();
        dwHelpStyle = r.pWnd->GetDlgItem(IDHELPBUTTON)->GetStyle();
        CSkinDialogTemplate* pBox = dynamic_cast<CSkinDialogTemplate*>(r.pWnd);
        if (pBox != nullptr) {
            bSkinFrame = pBox->IsSkinFrame();
            strClose = pBox->m_ImageClose.GetLoadFileName();
        }
        return (INT_PTR)IDOK;
    });
    HallMsgBox(NULL, "x", "y", MB_OK | MB_HELP | XMB_NOSOUND, NULL, &skin);
    EXPECT_EQ(dwOkStyle & BS_TYPEMASK, (DWORD)BS_OWNERDRAW);   // drawn from its picture
    EXPECT_NE(dwHelpStyle & BS_TYPEMASK, (DWORD)BS_OWNERDRAW); // Help has no picture
    EXPECT_TRUE(bSkinFrame);
    EXPECT_STREQ(strClose, skin.paths[MSGBOX_SKIN_CLOSE]);
}

TEST_F(HallMsgBoxTest, HelpAndReportKeepTheBoxOpen)
{
    static std::vector<std::string> s_help;
    static std::vector<std::string> s_report;
    s_help.clear();
    s_report.clear();
    CSkinDialogTemplate::WinHelpCall previous =
        CSkinDialogTemplate::SetWinHelpCall([](HWND, LPCSTR file, UINT command, ULONG_PTR data) {
            s_help.push_back(std::string(file) + "|" + std::to_string(command) + "|" +
                             (command == HELP_CONTEXT ? std::to_string(data) : std::string((LPCSTR)data)));
            return TRUE;
        });
    MsgBoxParams params;
    params.reportCallback = [](LPCSTR text, DWORD data) {
        s_report.push_back(std::string(text) + "|" + std::to_string(data));
    };
    params.reportUserData = 77;
    for (DWORD helpId : {0u, 42u}) {
        params.helpId = helpId;
        bool bStayed = false;
        Drive([&](AFX_MODAL_REQUEST& r) {
            Click(r.pWnd, IDHELPBUTTON);
            Click(r.pWnd, IDREPORT);
            bStayed = r.pWnd->ContinueModal();
            Click(r.pWnd, IDOK);
            return (INT_PTR)0;
        });
        EXPECT_EQ(HallMsgBox(NULL, "报告", "y", MB_OK | MB_HELP | XMB_NOSOUND, &params), IDOK);
        EXPECT_TRUE(bStayed);
    }
    CSkinDialogTemplate::SetWinHelpCall(previous);
    ASSERT_EQ(s_help.size(), 2u);
    EXPECT_NE(s_help[0].find("toolkit_tests.hlp|" + std::to_string(HELP_PARTIALKEY) + "|"), std::string::npos);
    EXPECT_NE(s_help[1].find("toolkit_tests.hlp|" + std::to_string(HELP_CONTEXT) + "|42"), std::string::npos);
    EXPECT_EQ(s_report, (std::vector<std::string>{"报告|77", "报告|77"}));
}

TEST(BoxDialogTemplate, KnownBoxFieldByField)
{
    CBoxDialogTemplate box(NULL, "Hi", "标题", MB_OK, NULL);
    ASSERT_EQ(box.GetItemCount(), 2);
    HGLOBAL hTemplate = box.CreateTemplate();
    ASSERT_NE(hTemplate, (HGLOBAL)NULL);
    const BYTE* p = (const BYTE*)::GlobalLock(hTemplate);
    auto u16 = [p](size_t at) { return (WORD)(p[at] | p[at + 1] << 8); };
    auto u32 = [p](size_t at) { return (DWORD)(p[at] | p[at + 1] << 8 | p[at + 2] << 16 | (DWORD)p[at + 3] << 24); };
    const DLGTEMPLATE& dlg = box.GetDialogHeader();
    EXPECT_EQ(u32(0), 0x90C80880u);
    EXPECT_EQ(u32(4), 0u);
    EXPECT_EQ(u16(8), 2);
    EXPECT_EQ(u16(10), 0);
    EXPECT_EQ(u16(12), 0);
    EXPECT_EQ((short)u16(14), dlg.cx);
    EXPECT_EQ((short)u16(16), dlg.cy);
    EXPECT_GT(dlg.cx, 0);
    EXPECT_EQ(u16(18), 0); // menu
    EXPECT_EQ(u16(20), 0); // class
    EXPECT_EQ(u16(22), 0x6807);
    EXPECT_EQ(u16(24), 0x9898);
    EXPECT_EQ(u16(26), 0);
    // The text static on the next 4-byte boundary.
    const CBoxDialogItem* text = box.GetItem(0);
    EXPECT_EQ(u32(28), 0x50000000u);
    EXPECT_EQ(u32(32), 0u);
    EXPECT_EQ((short)u16(36), text->m_x);
    EXPECT_EQ((short)u16(38), text->m_y);
    EXPECT_EQ((short)u16(40), text->m_cx);
    EXPECT_EQ((short)u16(42), text->m_cy);
    EXPECT_EQ(u16(44), IDMSGBOXTEXT);
    EXPECT_EQ(u16(46), 0xFFFF);
    EXPECT_EQ(u16(48), 0x0082);
    EXPECT_EQ(u16(50), 'H');
    EXPECT_EQ(u16(52), 'i');
    EXPECT_EQ(u16(54), 0);
    EXPECT_EQ(u16(56), 0); // no creation data
    // The OK button, the default one.
    EXPECT_EQ(u32(60), 0x50010001u);
    EXPECT_EQ(u16(76), IDOK);
    EXPECT_EQ(u16(78), 0xFFFF);
    EXPECT_EQ(u16(80), 0x0080);
    EXPECT_EQ(u16(82), 0x786E);
    EXPECT_EQ(u16(84), 0x5B9A);
    EXPECT_EQ(u16(86), 0);
    EXPECT_EQ(u16(88), 0);
    EXPECT_GE(::GlobalSize(hTemplate), 90u);
    ::GlobalUnlock(hTemplate);
    ::GlobalFree(hTemplate);
    // The button row below the text, centred in the box.
    const CBoxDialogItem* ok = box.GetItem(1);
    EXPECT_GT(ok->m_y, text->m_y);
    EXPECT_NEAR(ok->m_x * 2 + ok->m_cx, dlg.cx, 2);
}
} // namespace
