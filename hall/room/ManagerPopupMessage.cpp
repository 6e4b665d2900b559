#include "ManagerPopupMessage.h"

#include <TextUnit.h>

#include "HallApp.h"
#include "resource.h"

namespace
{
const int kFieldLength = 255;
const char kNoPopupText[] = "弹窗消息不能为空，请写入弹窗消息内容！";
const char kNoPicture[] = "图片链接不能为空，请填入图片链接地址！";

CString Piece(LPCSTR pszFormat, const CString& strText)
{
    CString strPiece;
    if (!strText.IsEmpty())
        strPiece.Format(pszFormat, (LPCSTR)CManagerPopupMessage::EscapeText(strText));
    return strPiece;
}
}

IMPLEMENT_DYNAMIC(CManagerPopupMessage, CRgnDialog)

BEGIN_MESSAGE_MAP(CManagerPopupMessage, CRgnDialog)
    ON_CBN_SELCHANGE(IDC_MANAGER_KIND, OnTypeChange)
    ON_BN_CLICKED(IDC_MANAGER_PREVIEW, OnPreview)
END_MESSAGE_MAP()

CManagerPopupMessage::CManagerPopupMessage(CWnd* pParent) : CRgnDialog(IDD_MANAGER_POPUP, pParent)
{
    AfxInitRichEdit2();
}

CManagerPopupMessage::~CManagerPopupMessage() {}

CString CManagerPopupMessage::EscapeText(LPCSTR pszText)
{
    CString strText(pszText);
    strText.Replace("&", "&amp;");
    strText.Replace("<", "&lt;");
    return strText;
}

BOOL CManagerPopupMessage::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("弹窗消息：");
    const char* types[] = {"文字消息", "图文消息", "图片消息"};
    for (const char* type : types)
        SendDlgItemMessage(IDC_MANAGER_KIND, CB_ADDSTRING, 0, (LPARAM)type);
    SendDlgItemMessage(IDC_MANAGER_KIND, CB_SETCURSEL, kTextMessage, 0);
    OnTypeChange();
    CenterWindow();
    return TRUE;
}

void CManagerPopupMessage::OnTypeChange()
{
    const int nType = (int)SendDlgItemMessage(IDC_MANAGER_KIND, CB_GETCURSEL, 0, 0);
    GetDlgItem(IDC_MANAGER_TITLE)->EnableWindow(nType != kPictureMessage);
    GetDlgItem(IDC_MANAGER_TEXT)->EnableWindow(nType != kPictureMessage);
    GetDlgItem(IDC_MANAGER_PICTURE)->EnableWindow(nType != kTextMessage);
    GetDlgItem(IDC_MANAGER_LINK)->EnableWindow(TRUE);
}

CString CManagerPopupMessage::ReadField(UINT nID) const
{
    CString strText;
    GetDlgItemText(nID, strText);
    return strText.Left((int)TextCutLength(strText, (size_t)strText.GetLength(), kFieldLength));
}

bool CManagerPopupMessage::Refuse(UINT nID, LPCSTR pszText)
{
    AfxMessageBox(pszText, MB_ICONQUESTION);
    GotoDlgCtrl(GetDlgItem(nID));
    return false;
}

bool CManagerPopupMessage::BuildMessage()
{
    const int nType = (int)SendDlgItemMessage(IDC_MANAGER_KIND, CB_GETCURSEL, 0, 0);
    const CString strTitle = ReadField(IDC_MANAGER_TITLE);
    const CString strPicture = ReadField(IDC_MANAGER_PICTURE);
    const CString strLink = ReadField(IDC_MANAGER_LINK);
    const CString strText = ReadField(IDC_MANAGER_TEXT);

    const CString strTitlePiece = Piece("<title>%s</title>", strTitle);
    const CString strLinkPiece = Piece("<link>%s</link>", strLink);
    const CString strTextPiece = Piece("<text>%s</text>", strText);
    const CString strPicturePiece = Piece("<image type=\"1\">%s</image>", strPicture);
    CString strMessage;
    switch (nType) {
    case kPictureTextMessage:
        if (strText.IsEmpty())
            return Refuse(IDC_MANAGER_TEXT, kNoPopupText);
        if (strPicture.IsEmpty())
            return Refuse(IDC_MANAGER_PICTURE, kNoPicture);
        strMessage.Format("<content type=\"2\">%s%s%s%s</content>", (LPCSTR)strTitlePiece, (LPCSTR)strLinkPiece,
                          (LPCSTR)strPicturePiece, (LPCSTR)strTextPiece);
        break;
    case kPictureMessage:
        if (strPicture.IsEmpty())
            return Refuse(IDC_MANAGER_PICTURE, kNoPicture);
        strMessage.Format("<content type=\"0\">%s%s</content>", (LPCSTR)strPicturePiece, (LPCSTR)strLinkPiece);
        break;
    default:
        if (strText.IsEmpty())
            return Refuse(IDC_MANAGER_TEXT, kNoPopupText);
        strMessage.Format("<content type=\"1\">%s%s%s</content>", (LPCSTR)strTitlePiece, (LPCSTR)strLinkPiece,
                          (LPCSTR)strTextPiece);
        break;
    }
    m_strMessage = strMessage;
    return true;
}

void CManagerPopupMessage::OnPreview()
{
    if (!BuildMessage())
        return;
    IHallApp* pApp = CHallApp::Get();
    if (pApp != NULL)
        pApp->ShowPopupMessage(m_strMessage);
}
