#include "ChatToolBar.h"

#include <afxdlgs.h>

#include <string.h>

#include <vector>

#include "ChatBar.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "IMessageProxy.h"
#include "RoomViewItem.h"
#include "TextUnit.h"

namespace
{

struct tagToolButton
{
    UINT nID;
    const char* pszPicture;
    const char* pszTip;
};

// In the order they are laid out from the left; the complaint button sits
// at the right end.
const tagToolButton kButtons[6] = {
    {IDC_TOOL_EMOTION, "expression.bmp", "表情"},         {IDC_TOOL_COLOUR, "color_set.bmp", "字体颜色设置"},
    {IDC_TOOL_CLEAR, "clean_screen.bmp", "清除聊天屏幕"}, {IDC_TOOL_SPEAKER, "speak.bmp", "小喇叭"},
    {IDC_TOOL_SCREENSHOT, "screen.bmp", "聊天框截图"},    {IDC_TOOL_COMPLAINT, "Complaints.bmp", "投诉"},
};

const char kNotMember[] = "您不是会员，无法发送。";

// What the panel shows in the rectangle, copied from its window.
HBITMAP CapturePanel(CWnd* pPanel, const CRect& rect)
{
    if (pPanel == NULL || rect.IsRectEmpty())
        return NULL;
    CClientDC dc(pPanel);
    HDC hMem = CreateCompatibleDC(dc.GetSafeHdc());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rect.Width();
    info.bmiHeader.biHeight = rect.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* pBits = NULL;
    HBITMAP hBitmap = CreateDIBSection(hMem, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hBitmap != NULL) {
        HGDIOBJ hOld = SelectObject(hMem, hBitmap);
        BitBlt(hMem, 0, 0, rect.Width(), rect.Height(), dc.GetSafeHdc(), rect.left, rect.top, SRCCOPY);
        SelectObject(hMem, hOld);
    }
    DeleteDC(hMem);
    return hBitmap;
}

} // namespace

std::function<HBITMAP(CWnd*, const CRect&)> CChatToolBar::s_CaptureChat = CapturePanel;

BEGIN_MESSAGE_MAP(CChatToolBar, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_EMOTION_PICK, OnEmotionMessage)
    ON_BN_CLICKED(IDC_TOOL_COLOUR, OnColourButton)
    ON_BN_CLICKED(IDC_TOOL_CLEAR, OnClearButton)
    ON_BN_CLICKED(IDC_TOOL_EMOTION, OnEmotionButton)
    ON_BN_CLICKED(IDC_TOOL_SCREENSHOT, OnScreenshotButton)
    ON_BN_CLICKED(IDC_TOOL_SPEAKER, OnSpeakerButton)
    ON_BN_CLICKED(IDC_TOOL_COMPLAINT, OnComplaintButton)
END_MESSAGE_MAP()

CChatToolBar::CChatToolBar() : m_pOwner(NULL) {}

CChatToolBar::~CChatToolBar() {}

BOOL CChatToolBar::CreateBar(CWnd* pParent, const CRect& rect, UINT nID)
{
    return Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, pParent, nID);
}

CRgnButtonEx& CChatToolBar::GetButton(UINT nID)
{
    for (int i = 0; i < 6; ++i) {
        if (kButtons[i].nID == nID)
            return m_Buttons[i];
    }
    return m_Buttons[0];
}

int CChatToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    for (int i = 0; i < 6; ++i)
        m_Buttons[i].Create(NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), this, kButtons[i].nID);
    if (!m_EmotionDlg.CreateInstance()) {
        AfxMessageBox("表情组件创建失败！");
        return 0;
    }
    CString strFolder;
    strFolder.Format("%sEmotion\\", g_GlobalUnits.GetResourceDirectory());
    m_EmotionDlg.GetInterface()->LoadConfig(strFolder);
    m_ToolTip.Create(this);
    for (int i = 0; i < 6; ++i) {
        CString strPicture;
        strPicture.Format("%sGameRoom\\Chat\\%s", g_GlobalUnits.GetResourceDirectory(), kButtons[i].pszPicture);
        m_Buttons[i].LoadRgnImage(strPicture, RGB(255, 0, 255));
        m_ToolTip.AddTool(&m_Buttons[i], kButtons[i].pszTip);
    }
    CRect rect;
    GetClientRect(&rect);
    LayoutButtons(rect.Width());
    return 0;
}

void CChatToolBar::OnDestroy()
{
    if (m_EmotionDlg.GetInterface() != NULL)
        m_EmotionDlg.GetInterface()->Destroy();
    CSkinWnd::OnDestroy();
}

void CChatToolBar::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    LayoutButtons(cx);
}

void CChatToolBar::LayoutButtons(int cx)
{
    int x = 8;
    for (int i = 0; i < 6; ++i) {
        if (m_Buttons[i].GetSafeHwnd() == NULL)
            return;
        CRect rect;
        m_Buttons[i].GetWindowRect(&rect);
        if (kButtons[i].nID == IDC_TOOL_COMPLAINT) {
            m_Buttons[i].SetWindowPos(NULL, cx - rect.Width() - 6, 1, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
            continue;
        }
        m_Buttons[i].SetWindowPos(NULL, x, 1, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        x += rect.Width() + 8;
    }
}

BOOL CChatToolBar::PreTranslateMessage(MSG* pMsg)
{
    if (m_ToolTip.GetSafeHwnd() != NULL)
        m_ToolTip.RelayEvent(pMsg);
    return CSkinWnd::PreTranslateMessage(pMsg);
}

void CChatToolBar::ChooseColour()
{
    CColorDialog dialog(CChatBar::GetChatColour(), CC_RGBINIT, this);
    if (dialog.DoModal() == IDOK)
        CChatBar::SetChatColour(dialog.GetColor());
    if (m_pOwner != NULL && m_pOwner->GetChatBar() != NULL)
        m_pOwner->GetChatBar()->FocusInput();
}

void CChatToolBar::ClearChat()
{
    CRoomViewItem* pView = m_pOwner != NULL ? m_pOwner->GetRoomView() : NULL;
    if (pView != NULL && pView->GetMessageProxy() != NULL)
        pView->GetMessageProxy()->Clear();
}

CPoint CChatToolBar::PickerPosition(CRect rcButton, int nBarWidth, int nPickerWidth, int nPickerHeight)
{
    if (nBarWidth < nPickerWidth)
        rcButton.OffsetRect(-(nPickerWidth - nBarWidth), 0);
    return CPoint(rcButton.left - nPickerWidth + nPickerHeight, rcButton.top - nPickerHeight);
}

void CChatToolBar::ShowEmotions()
{
    IEmotionDlg* pPicker = m_EmotionDlg.GetInterface();
    if (pPicker == NULL)
        return;
    if (pPicker->GetSafeHwnd() == NULL && !pPicker->Create(this))
        return;
    IEmotionDlg2* pPicker2 = NULL;
    if (SUCCEEDED(pPicker->QueryInterface(IID_IEmotionDlg2, (void**)&pPicker2)) && pPicker2 != NULL) {
        pPicker2->SetVipLevel(int(g_GlobalUnits.GetGlobalUserData()->lLevel));
        pPicker2->Release();
    }
    int size[2] = {0, 0};
    pPicker->GetSize(size);
    // Hovering the buttons leaves the focus in the picker while it exists.
    CWnd* pPickerWnd = CWnd::FromHandle(pPicker->GetSafeHwnd());
    for (int i = 0; i < 6; ++i) {
        if (kButtons[i].nID != IDC_TOOL_COMPLAINT)
            m_Buttons[i].SetFocusKeeper(pPickerWnd);
    }
    CRect rcButton;
    GetButton(IDC_TOOL_EMOTION).GetWindowRect(&rcButton);
    CRect rcClient;
    GetClientRect(&rcClient);
    const CPoint point = PickerPosition(rcButton, rcClient.Width(), size[0], size[1]);
    pPicker->ShowAt(point.x, point.y);
    ::SetFocus(pPicker->GetSafeHwnd());
}

LRESULT CChatToolBar::OnEmotionMessage(WPARAM wParam, LPARAM lParam)
{
    OnEmotionPicked(reinterpret_cast<const tagEmotion*>(lParam));
    return 0;
}

void CChatToolBar::OnEmotionPicked(const tagEmotion* pEmotion)
{
    if (pEmotion == NULL || m_pOwner == NULL || !m_pOwner->IsChatInputEnabled())
        return;
    char szCode[sizeof(pEmotion->szCode) + 1];
    TextCopyField(szCode, sizeof(szCode), pEmotion->szCode, strnlen(pEmotion->szCode, sizeof(pEmotion->szCode)));
    if (strcmp(szCode, "/unem") == 0) {
        CRoomViewItem* pView = m_pOwner->GetRoomView();
        if (pView != NULL && pView->GetMessageProxy() != NULL)
            pView->GetMessageProxy()->InsertSystemText(kNotMember);
    } else if (m_pOwner->GetChatBar() != NULL) {
        m_pOwner->GetChatBar()->AppendChatText(szCode);
    }
    if (GetParent() != NULL)
        GetParent()->SetFocus();
}

bool CChatToolBar::WriteBitmapFile(LPCSTR pszPath, HBITMAP hBitmap)
{
    BITMAP bm;
    if (pszPath == NULL || hBitmap == NULL || GetObject(hBitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0)
        return false;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = bm.bmWidth;
    info.biHeight = bm.bmHeight;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD dwStride = (DWORD(bm.bmWidth) * 3 + 3) & ~3u;
    const DWORD dwPixels = dwStride * DWORD(bm.bmHeight);
    info.biSizeImage = dwPixels;
    std::vector<BYTE> pixels(dwPixels);
    HDC hDC = CreateCompatibleDC(NULL);
    const int nRows = GetDIBits(hDC, hBitmap, 0, UINT(bm.bmHeight), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                                DIB_RGB_COLORS);
    DeleteDC(hDC);
    if (nRows != bm.bmHeight)
        return false;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + dwPixels;
    HANDLE hFile = CreateFileA(pszPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwWritten = 0;
    bool bOk = WriteFile(hFile, &file, sizeof(file), &dwWritten, NULL) && dwWritten == sizeof(file);
    bOk = bOk && WriteFile(hFile, &info, sizeof(info), &dwWritten, NULL) && dwWritten == sizeof(info);
    bOk = bOk && WriteFile(hFile, pixels.data(), dwPixels, &dwWritten, NULL) && dwWritten == dwPixels;
    CloseHandle(hFile);
    if (!bOk)
        DeleteFileA(pszPath);
    return bOk;
}

bool CChatToolBar::SaveScreenshot()
{
    if (m_pOwner == NULL || m_pOwner->GetRoomView() == NULL)
        return false;
    CWnd* pPanel = m_pOwner->GetPanelWindow();
    CWnd* pDisplay = m_pOwner->GetChatDisplay();
    if (pPanel == NULL || pDisplay == NULL || pDisplay->GetSafeHwnd() == NULL)
        return false;
    // The chat display's rectangle as the panel shows it.
    CRect rect;
    pDisplay->GetWindowRect(&rect);
    pPanel->ScreenToClient(&rect);
    HBITMAP hBitmap = s_CaptureChat(pPanel, rect);
    if (hBitmap == NULL)
        return false;
    CFileDialog dialog(FALSE, ".bmp", "screen.bmp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "支持格式(*.bmp;)|*.bmp;|所有文件 (*.*)|*.*||", this);
    bool bSaved = false;
    if (dialog.DoModal() == IDOK)
        bSaved = WriteBitmapFile(dialog.GetPathName(), hBitmap);
    DeleteObject(hBitmap);
    return bSaved;
}

void CChatToolBar::RunSpeakDialog()
{
    CRoomViewItem* pView = m_pOwner != NULL ? m_pOwner->GetRoomView() : NULL;
    if (pView != NULL)
        pView->ShowSpeakDlg();
}

bool CChatToolBar::IsWebLink(LPCSTR pszLink)
{
    if (pszLink == NULL)
        return false;
    return _strnicmp(pszLink, "http://", 7) == 0 || _strnicmp(pszLink, "https://", 8) == 0;
}

bool CChatToolBar::OpenChatLink(LPCSTR pszLink)
{
    if (!IsWebLink(pszLink))
        return false;
    return OpenUrlInBrowser(pszLink, SW_SHOWNORMAL) > 32;
}

void CChatToolBar::OpenComplaint()
{
    OpenUrlInBrowser(g_GlobalOption.GetOtherAction(0), SW_SHOWNORMAL);
}
