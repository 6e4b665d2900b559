// The skin library's message box: answered by the modal responder, and the
// real box with its buttons, texts and closing rules.
#include <AfxModalScript.h>
#include <RgnDialog.h>
#include <SkinMessageBox.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
TEST(SkinMessageBox, TheResponderAnswersInsteadOfTheBox)
{
    CModalScript script;
    script.Answer(IDYES);
    EXPECT_EQ(SkinMessageBox(NULL, "进入的游戏房间太多了", "提示", MB_YESNO | MB_ICONQUESTION), IDYES);
    ASSERT_EQ(script.Count(), 1u);
    CModalScript::Shown shown = script.At(0);
    EXPECT_EQ(shown.nKind, afxModalMessageBox);
    EXPECT_EQ(shown.strText, "进入的游戏房间太多了");
    EXPECT_EQ(shown.strCaption, "提示");
    EXPECT_EQ(shown.nType, (UINT)(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(shown.strClassName, "SkinMessageBox");
}

// Lets the box itself run and drives its window.
class LiveBox
{
public:
    explicit LiveBox(std::function<void(CWnd*)> drive) : m_drive(drive)
    {
        m_previous = AfxSetModalResponder([this](AFX_MODAL_REQUEST& request, INT_PTR& nResult) {
            if (request.nKind != afxModalDialog)
                return FALSE;
            ++m_nShown;
            m_drive(request.pWnd);
            return FALSE;
        });
    }
    ~LiveBox() { AfxSetModalResponder(std::move(m_previous)); }
    int m_nShown = 0;

private:
    std::function<void(CWnd*)> m_drive;
    AFX_MODAL_RESPONDER m_previous;
};

CString TextOf(CWnd* pWnd)
{
    CString str;
    if (pWnd != NULL)
        pWnd->GetWindowText(str);
    return str;
}

TEST(SkinMessageBox, TheBoxShowsTheButtonsOfItsStyle)
{
    struct
    {
        UINT nType;
        std::vector<UINT> ids;
        std::vector<const char*> texts;
    } cases[] = {
        {MB_OK, {IDOK}, {"确定"}},
        {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, {"是", "否", "取消"}},
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, {"重试", "取消"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nType);
        std::vector<CString> texts;
        std::vector<int> lefts;
        UINT nOther = 0;
        LiveBox live([&](CWnd* pBox) {
            EXPECT_EQ(TextOf(pBox), "标题");
            EXPECT_EQ(TextOf(pBox->GetDlgItem(0x7FE1)), "正文");
            for (UINT nID : {IDOK, IDCANCEL, IDYES, IDNO, IDRETRY, IDABORT, IDIGNORE}) {
                CWnd* pButton = pBox->GetDlgItem((int)nID);
                bool bExpected = std::find(c.ids.begin(), c.ids.end(), nID) != c.ids.end();
                if (pButton != NULL && !bExpected)
                    ++nOther;
            }
            for (UINT nID : c.ids) {
                CWnd* pButton = pBox->GetDlgItem((int)nID);
                texts.push_back(TextOf(pButton));
                CRect rc;
                if (pButton != NULL)
                    pButton->GetWindowRect(&rc);
                lefts.push_back(rc.left);
            }
            pBox->GetDlgItem((int)c.ids.back())->SendMessage(BM_CLICK);
        });
        EXPECT_EQ(SkinMessageBox(NULL, "正文", "标题", c.nType), (int)c.ids.back());
        EXPECT_EQ(live.m_nShown, 1);
        EXPECT_EQ(nOther, 0u);
        ASSERT_EQ(texts.size(), c.texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i], c.texts[i]);
            if (i > 0) {
                EXPECT_GT(lefts[i], lefts[i - 1]);
            }
        }
    }
}

TEST(SkinMessageBox, ParametersGiveButtonTexts)
{
    HALLMSGBOXPARAMS params;
    strcpy(params.szCaptions[SKINMB_CAPTION_OK], "使  用");
    CString strText;
    LiveBox live([&](CWnd* pBox) {
        strText = TextOf(pBox->GetDlgItem(IDOK));
        pBox->GetDlgItem(IDOK)->SendMessage(BM_CLICK);
    });
    EXPECT_EQ(SkinMessageBox(NULL, "大厅连接断开，请重新连接！", "", MB_OK, &params), IDOK);
    EXPECT_EQ(strText, "使  用");
}

TEST(SkinMessageBox, CancelClosesOnlyBoxesThatCanBeCancelled)
{
    // A lone OK button: Escape answers OK.
    {
        LiveBox live([](CWnd* pBox) { pBox->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
        EXPECT_EQ(SkinMessageBox(NULL, "x", "y", MB_OK), IDOK);
    }
    // Yes and No: Escape leaves the box open until a button is pressed.
    {
        bool bStillOpen = false;
        LiveBox live([&](CWnd* pBox) {
            pBox->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            bStillOpen = pBox->ContinueModal() != FALSE;
            pBox->GetDlgItem(IDNO)->SendMessage(BM_CLICK);
        });
        EXPECT_EQ(SkinMessageBox(NULL, "x", "y", MB_YESNO), IDNO);
        EXPECT_TRUE(bStillOpen);
    }
    {
        LiveBox live([](CWnd* pBox) { pBox->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
        EXPECT_EQ(SkinMessageBox(NULL, "x", "y", MB_YESNOCANCEL), IDCANCEL);
    }
}
} // namespace
