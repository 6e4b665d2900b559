// Dialogs from resource and in-memory templates, data exchange, message
// boxes and common dialogs, all through the modal responder; string and
// bitmap resources.
#include "win_test_res.h"
#include "win_test_util.h"

#include <AfxModalScript.h>
#include <afxdlgs.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <vector>

// Named, so the responder can record its run-time class.
class CNameDlg : public CDialog
{
    DECLARE_DYNAMIC(CNameDlg)
public:
    enum
    {
        IDD = IDD_TEST_NAME
    };
    explicit CNameDlg(CWnd* pParent = NULL) : CDialog(IDD, pParent) {}

    CString m_strName;
    int m_nAge = 0;
    int m_bAgree = 0;
    bool m_bInit = false;
    int m_nEndInInit = 0; // non-zero: OnInitDialog ends the dialog with it
    CEdit m_editName;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_NAME, m_editName);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDX_Text(pDX, IDC_AGE, m_nAge);
        DDX_Check(pDX, IDC_AGREE, m_bAgree);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_bInit = true;
        if (m_nEndInInit != 0)
            EndDialog(m_nEndInInit);
        return TRUE;
    }
};

IMPLEMENT_DYNAMIC(CNameDlg, CDialog)

namespace
{

void Click(CWnd* pDlg, int nID)
{
    pDlg->GetDlgItem(nID)->SendMessage(BM_CLICK);
}

TEST(AfxDialog, ResponderDrivesTheLiveDialogAndDdxSaves)
{
    CModalScript script;
    CNameDlg dlg;
    dlg.m_strName = "old";
    dlg.m_nAge = 3;
    bool bInitBefore = false;
    bool bVisible = false;
    CString strShownName;
    CString strShownAge;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        EXPECT_EQ(r.pWnd, &dlg);
        bInitBefore = dlg.m_bInit;
        bVisible = dlg.IsWindowVisible() != FALSE;
        dlg.GetDlgItemText(IDC_NAME, strShownName);
        dlg.GetDlgItemText(IDC_AGE, strShownAge);
        r.pWnd->SetDlgItemText(IDC_NAME, "张三");
        r.pWnd->SetDlgItemText(IDC_AGE, " 42 ");
        r.pWnd->CheckDlgButton(IDC_AGREE, BST_CHECKED);
        Click(r.pWnd, IDOK);
        return (INT_PTR)-7; // the dialog has ended already: ignored
    });

    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bInitBefore);
    EXPECT_TRUE(bVisible);
    EXPECT_STREQ(strShownName, "old");
    EXPECT_STREQ(strShownAge, "3");
    EXPECT_STREQ(dlg.m_strName, "张三");
    EXPECT_EQ(dlg.m_nAge, 42);
    EXPECT_EQ(dlg.m_bAgree, 1);
    EXPECT_EQ(dlg.m_hWnd, (HWND)NULL);
    EXPECT_EQ(dlg.m_editName.m_hWnd, (HWND)NULL);

    ASSERT_EQ(script.Count(), 1u);
    CModalScript::Shown shown = script.At(0);
    EXPECT_EQ(shown.nKind, afxModalDialog);
    EXPECT_EQ(shown.nIDTemplate, (UINT)IDD_TEST_NAME);
    EXPECT_STREQ(shown.strCaption, "测试对话框");
    EXPECT_STREQ(shown.strClassName, "CNameDlg");
    EXPECT_EQ(script.Unexpected(), 0);
}

TEST(AfxDialog, FailedValidationKeepsTheDialogOpen)
{
    CModalScript script;
    CNameDlg dlg;
    bool bStillOpen = false;
    HWND hFocusAfterFailure = NULL;
    HWND hAge = NULL;
    script
        .Then([&](AFX_MODAL_REQUEST& r) {
            r.pWnd->SetDlgItemText(IDC_NAME, "x");
            r.pWnd->SetDlgItemText(IDC_AGE, "12abc");
            Click(r.pWnd, IDOK); // the box below answers
            bStillOpen = ::IsWindow(dlg.m_hWnd) && dlg.IsWindowVisible();
            hFocusAfterFailure = ::GetFocus();
            hAge = r.pWnd->GetDlgItem(IDC_AGE)->m_hWnd;
            r.pWnd->SetDlgItemText(IDC_AGE, "7");
            Click(r.pWnd, IDOK);
            return (INT_PTR)IDCANCEL;
        })
        .Answer(IDOK);

    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(dlg.m_nAge, 7);
    ASSERT_EQ(script.Count(), 2u);
    EXPECT_EQ(script.At(1).nKind, afxModalMessageBox);
    EXPECT_TRUE(script.At(1).nType & MB_ICONEXCLAMATION);
    EXPECT_EQ(hFocusAfterFailure, hAge); // on the field at fault
}

TEST(AfxDialog, AnswerEndsTheDialogWithoutSaving)
{
    CModalScript script;
    script.Answer(IDCANCEL);
    CNameDlg dlg;
    dlg.m_strName = "kept";
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_strName, "kept");
    EXPECT_EQ(script.Count(), 1u);
}

TEST(AfxDialog, KeysGoThroughTheDialogManager)
{
    struct Case
    {
        WPARAM vk;
        INT_PTR nResult;
    } cases[] = {{VK_ESCAPE, IDCANCEL}, {VK_RETURN, IDOK}};
    for (const Case& c : cases) {
        SCOPED_TRACE((int)c.vk);
        CModalScript script;
        script.Then([&](AFX_MODAL_REQUEST& r) {
            r.pWnd->SetDlgItemText(IDC_AGE, "5");
            HWND hEdit = r.pWnd->GetDlgItem(IDC_NAME)->m_hWnd;
            ::PostMessage(hEdit, WM_KEYDOWN, c.vk, 0);
            return CModalScript::keepRunning;
        });
        CNameDlg dlg;
        EXPECT_EQ(dlg.DoModal(), c.nResult);
    }
}

TEST(AfxDialog, EndedInOnInitDialogSkipsTheLoop)
{
    CModalScript script;
    CNameDlg dlg;
    dlg.m_nEndInInit = 33;
    EXPECT_EQ(dlg.DoModal(), 33);
    EXPECT_TRUE(dlg.m_bInit);
    EXPECT_EQ(script.Count(), 0u);
}

TEST(AfxDialog, OwnerIsDisabledWhileTheDialogRuns)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL, NULL));
    CModalScript script;
    bool bOwnerEnabled = true;
    HWND hOwnerSeen = NULL;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        bOwnerEnabled = owner.IsWindowEnabled() != FALSE;
        hOwnerSeen = r.hWndOwner;
        return (INT_PTR)IDOK;
    });
    CNameDlg dlg(&owner);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(bOwnerEnabled);
    EXPECT_EQ(hOwnerSeen, owner.m_hWnd);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST(AfxDialog, MissingTemplateFails)
{
    CModalScript script;
    CDialog dlg(999u);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(script.Count(), 0u);
}

TEST(AfxDialog, ModelessFromATemplateId)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CModalScript script;
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODELESS, &parent));
    EXPECT_EQ(dlg.GetParent(), &parent);
    CString strInfo;
    dlg.GetDlgItemText(IDC_INFO, strInfo);
    EXPECT_STREQ(strInfo, "信息");
    EXPECT_EQ(script.Count(), 0u);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, (HWND)NULL);
    parent.DestroyWindow();
}

class CWatchDlg : public CDialog
{
public:
    CString m_strName;
    int m_nChanges = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_strName); }
    afx_msg void OnNameChange() { ++m_nChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWatchDlg, CDialog)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
END_MESSAGE_MAP()

// Data exchange does not call the change handlers of the controls it fills.
TEST(AfxDialog, ExchangeDoesNotNotifyItsOwnChanges)
{
    CWatchDlg dlg;
    dlg.m_strName = "初始";
    ASSERT_TRUE(dlg.Create(IDD_TEST_NAME));
    EXPECT_EQ(dlg.m_nChanges, 0);
    dlg.m_strName = "再次";
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.m_nChanges, 0);
    dlg.SetDlgItemText(IDC_NAME, "用户");
    EXPECT_EQ(dlg.m_nChanges, 1);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ(dlg.m_strName, "用户");
    dlg.DestroyWindow();
}

// A dialog template built in memory: caption, one edit, one OK button.
class CMemoryTemplate
{
public:
    CMemoryTemplate(LPCSTR pszCaption, int nEditID)
    {
        DLGTEMPLATE dt = {};
        dt.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
        dt.cdit = 2;
        dt.cx = 120;
        dt.cy = 60;
        Append(&dt, sizeof(dt));
        Word(0); // menu
        Word(0); // class
        Text(pszCaption);
        Word(9);
        Text("宋体");
        Item(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 5, 5, 100, 14, nEditID, 0x0081);
        Item(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 5, 30, 40, 14, IDOK, 0x0080);
    }
    LPCDLGTEMPLATE Get() const { return (LPCDLGTEMPLATE)m_words.data(); }

private:
    void Append(const void* p, size_t cb)
    {
        const WORD* pw = (const WORD*)p;
        m_words.insert(m_words.end(), pw, pw + cb / sizeof(WORD));
    }
    void Word(WORD w) { m_words.push_back(w); }
    void Text(LPCSTR psz)
    {
        WCHAR wsz[64];
        int n = ::MultiByteToWideChar(CP_ACP, 0, psz, -1, wsz, 64);
        m_words.insert(m_words.end(), (const WORD*)wsz, (const WORD*)wsz + n);
    }
    void Item(DWORD dwStyle, short x, short y, short cx, short cy, WORD id, WORD wClassAtom)
    {
        if (m_words.size() % 2)
            Word(0); // items are DWORD aligned
        DLGITEMTEMPLATE it = {dwStyle, 0, x, y, cx, cy, id};
        Append(&it, sizeof(it));
        Word(0xFFFF);
        Word(wClassAtom);
        Word(0); // no text
        Word(0); // no creation data
    }
    std::vector<WORD> m_words;
};

class CMemoryDlg : public CDialog
{
public:
    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 10, m_strText); }
};

TEST(AfxDialog, InMemoryTemplateModalAndModeless)
{
    CMemoryTemplate tmpl("内存", 10);
    CModalScript script;
    script.Then([](AFX_MODAL_REQUEST& r) {
        r.pWnd->SetDlgItemText(10, "typed");
        Click(r.pWnd, IDOK);
        return (INT_PTR)IDCANCEL;
    });
    CMemoryDlg dlg;
    ASSERT_TRUE(dlg.InitModalIndirect(tmpl.Get()));
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strText, "typed");
    ASSERT_EQ(script.Count(), 1u);
    EXPECT_EQ(script.At(0).nIDTemplate, 0u);
    EXPECT_TRUE(script.At(0).strTemplateName.IsEmpty());
    EXPECT_STREQ(script.At(0).strCaption, "内存");
    EXPECT_STREQ(script.At(0).strClassName, "CDialog");

    CMemoryDlg modeless;
    ASSERT_TRUE(modeless.CreateIndirect(tmpl.Get()));
    EXPECT_NE(modeless.GetDlgItem(10), nullptr);
    modeless.SetDlgItemText(10, "abc");
    EXPECT_TRUE(modeless.UpdateData(TRUE));
    EXPECT_STREQ(modeless.m_strText, "abc");
    modeless.DestroyWindow();
}

// ------------------------------------------------------------------ message boxes

TEST(AfxMessageBoxes, DefaultBoxRecordsTextCaptionAndStyle)
{
    struct Case
    {
        UINT nType;
        UINT nShownType; // the box adds an icon matching the buttons
    } cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},    {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION}, {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONQUESTION},
        {MB_RETRYCANCEL, MB_RETRYCANCEL},       {MB_OK | MB_ICONERROR, MB_OK | MB_ICONERROR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nType);
        CModalScript script;
        script.Answer(IDRETRY);
        EXPECT_EQ(AfxMessageBox("确定删除吗？", c.nType), IDRETRY);
        ASSERT_EQ(script.Count(), 1u);
        CModalScript::Shown shown = script.At(0);
        EXPECT_EQ(shown.nKind, afxModalMessageBox);
        EXPECT_STREQ(shown.strText, "确定删除吗？");
        EXPECT_STREQ(shown.strCaption, "afx_win_tests");
        EXPECT_EQ(shown.nType, c.nShownType);
    }
}

TEST(AfxMessageBoxes, FromAStringResourceAndFromAWindow)
{
    CModalScript script;
    script.Answer(IDOK).Answer(IDNO).Answer(IDYES);
    EXPECT_EQ(AfxMessageBox(IDS_TEST_GREETING), IDOK);
    EXPECT_STREQ(script.At(0).strText, "你好，世界");
    EXPECT_EQ(script.At(0).nIDHelp, (UINT)IDS_TEST_GREETING);

    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(wnd.MessageBox("文本", "标题", MB_YESNO), IDNO);
    EXPECT_STREQ(script.At(1).strCaption, "标题");
    EXPECT_EQ(script.At(1).nType, (UINT)MB_YESNO);
    EXPECT_EQ(script.At(1).hWndOwner, wnd.m_hWnd);
    EXPECT_EQ(wnd.MessageBox("无标题"), IDYES);
    EXPECT_STREQ(script.At(2).strCaption, "afx_win_tests");
    wnd.DestroyWindow();
}

TEST(AfxMessageBoxes, UnexpectedBoxIsCancelledAndCounted)
{
    CModalScript script;
    EXPECT_EQ(AfxMessageBox("surprise"), IDCANCEL);
    EXPECT_EQ(script.Unexpected(), 1);
}

TEST(AfxMessageBoxes, BoxNobodyScriptedFailsTheTestWithItsText)
{
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(AfxMessageBox("nobody answers this"), IDCANCEL), "nobody answers this");
}

TEST(AfxMessageBoxes, ResponderIsRemovedAndRestored)
{
    // Without the test program's own default responder for the length of the test.
    AFX_MODAL_RESPONDER programDefault = AfxSetModalResponder(nullptr);
    EXPECT_FALSE(AfxHasModalResponder());
    {
        CModalScript outer;
        {
            CModalScript inner;
            inner.Answer(IDABORT);
            EXPECT_EQ(AfxMessageBox("x"), IDABORT);
        }
        outer.Answer(IDIGNORE);
        EXPECT_EQ(AfxMessageBox("y"), IDIGNORE);
        EXPECT_EQ(outer.Count(), 1u);
    }
    EXPECT_FALSE(AfxHasModalResponder());
    AfxSetModalResponder(std::move(programDefault));
}

TEST(AfxCommonDialogs, FileAndColourDialogsAreAnswered)
{
    CModalScript script;
    // "瞸" has "|" as its second byte in GBK.
    CFileDialog fileDlg(FALSE, "bmp", "shot.bmp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "位图瞸(*.bmp)|*.bmp||");
    static const char kFilter[] = "位图瞸(*.bmp)\0*.bmp\0\0";
    for (size_t i = 0; i < sizeof(kFilter); i++)
        EXPECT_EQ((BYTE)fileDlg.m_ofn.lpstrFilter[i], (BYTE)kFilter[i]) << i;
    EXPECT_STREQ(fileDlg.m_ofn.lpstrFile, "shot.bmp");
    script.Then([](AFX_MODAL_REQUEST& r) {
        CFileDialog* pDlg = static_cast<CFileDialog*>(r.pObject);
        lstrcpynA(pDlg->m_ofn.lpstrFile, "C:\\截图\\图一.bmp", (int)pDlg->m_ofn.nMaxFile);
        return (INT_PTR)IDOK;
    });
    EXPECT_EQ(fileDlg.DoModal(), IDOK);
    EXPECT_STREQ(fileDlg.GetPathName(), "C:\\截图\\图一.bmp");
    EXPECT_STREQ(fileDlg.GetFileName(), "图一.bmp");
    EXPECT_STREQ(fileDlg.GetFileExt(), "bmp");
    EXPECT_STREQ(fileDlg.GetFileTitle(), "图一");
    EXPECT_EQ(script.At(0).nKind, afxModalCommonDialog);
    EXPECT_STREQ(script.At(0).strClassName, "CFileDialog");

    CColorDialog colorDlg(RGB(10, 20, 30), CC_FULLOPEN);
    EXPECT_TRUE(colorDlg.m_cc.Flags & CC_RGBINIT);
    script.Then([](AFX_MODAL_REQUEST& r) {
        static_cast<CColorDialog*>(r.pObject)->m_cc.rgbResult = RGB(1, 2, 3);
        return (INT_PTR)IDOK;
    });
    EXPECT_EQ(colorDlg.DoModal(), IDOK);
    EXPECT_EQ(colorDlg.GetColor(), RGB(1, 2, 3));
}

// ------------------------------------------------------------------ resources

TEST(AfxResources, StringsAreGbkAndWhole)
{
    CString str;
    EXPECT_TRUE(str.LoadString(IDS_TEST_GREETING));
    EXPECT_STREQ(str, "你好，世界");
    EXPECT_TRUE(str.LoadString(IDS_TEST_TITLE));
    EXPECT_STREQ(str, "标题");
    EXPECT_TRUE(str.LoadString(IDS_TEST_LONG));
    EXPECT_EQ(str.GetLength(), 300);
    EXPECT_EQ(str.Left(2), CString("长"));
    EXPECT_FALSE(str.LoadString(IDS_TEST_GREETING + 2)); // in a block, but empty
    EXPECT_TRUE(str.IsEmpty());
    EXPECT_FALSE(str.LoadString(4000)); // no such block
}

TEST(AfxResources, BitmapFromTheResourceHandle)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_TEST_BITMAP));
    BITMAP bm = {};
    ASSERT_TRUE(bitmap.GetBitmap(&bm));
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmHeight, 2);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(IDB_TEST_BITMAP + 1));
}

} // namespace
