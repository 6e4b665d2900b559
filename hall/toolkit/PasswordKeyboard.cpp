#include "PasswordKeyboard.h"

#include "GlobalUnits.h"

#include <string.h>
#include <time.h>

#include <random>

IMPLEMENT_DYNAMIC(CPasswordKeyboard, CDialog)

BEGIN_MESSAGE_MAP(CPasswordKeyboard, CDialog)
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

const int CPasswordKeyboard::rowLength[rowCount] = {11, 10, 13, 13};

namespace
{
// Per row 14 unshifted characters, then 14 shifted ones.
const char kRows[CPasswordKeyboard::rowCount][28] = {
    {'`', '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0, 0, 0,
     '~', '!', '@', '#', '$', '%', '^', '&', '*', '(', ')', 0, 0, 0},
    {'-', '=', '[', ']', '\\', ';', '\'', ',', '.', '/', 0, 0, 0, 0,
     '_', '+', '{', '}', '|',  ':', '"',  '<', '>', '?', 0, 0, 0, 0},
    {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 0,
     'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 0},
    {'n', 'o', 'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z', 0,
     'N', 'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', 0},
};

const int kMargin = 8;
const int kGap = 3;
const COLORREF kFrame = RGB(0x5C, 0x64, 0x69);

// One generator for the process: openings in the same second still rotate
// independently.
std::minstd_rand& Generator()
{
    static std::minstd_rand s_generator((unsigned int)time(NULL));
    return s_generator;
}

UINT SendInputToSystem(UINT nInputs, INPUT* pInputs, int cbSize)
{
    return ::SendInput(nInputs, pInputs, cbSize);
}
CPasswordKeyboard::InputSender g_inputSender = &SendInputToSystem;

CString PicturePath(LPCSTR lpszName)
{
    CString strPath = g_GlobalUnits.GetResourceDirectory();
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] != '\\')
        strPath += '\\';
    strPath += "logon\\KeyBoard\\";
    strPath += lpszName;
    return strPath;
}

CSize StateSize(CSkinImage& image, int nStates)
{
    if (!image.LoadImage())
        return CSize(0, 0);
    return CSize(image.GetWidth() / nStates, image.GetHeight());
}
} // namespace

void CPasswordKeyboard::SeedRotations(unsigned int nSeed)
{
    Generator().seed(nSeed);
}

CPasswordKeyboard::InputSender CPasswordKeyboard::SetInputSender(InputSender sender)
{
    InputSender old = g_inputSender;
    g_inputSender = sender != NULL ? sender : &SendInputToSystem;
    return old;
}

CPasswordKeyboard::CPasswordKeyboard()
    : CDialog(IDD), m_bShiftOn(FALSE), m_bCapsOn(FALSE), m_hotCol(noKey), m_hotRow(noKey), m_bPressed(FALSE),
      m_pressedCol(noKey), m_pressedRow(noKey), m_hHand(NULL), m_hEdit(NULL)
{
    memset(m_rowRotation, 0, sizeof(m_rowRotation));
    memcpy(m_rowChars, kRows, sizeof(m_rowChars));
}

CPasswordKeyboard::~CPasswordKeyboard()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

void CPasswordKeyboard::PostNcDestroy()
{
    // A member of the password box: the object outlives its window.
    m_bPressed = FALSE;
    m_hotCol = m_hotRow = noKey;
}

int CPasswordKeyboard::KeyChar(const int rotation[rowCount], int row, int col, bool bShift, bool bCaps)
{
    if (row == functionRow) {
        switch (col) {
        case colBackspace: return 8;
        case colShift: return 16;
        case colCaps: return 20;
        default: return 0;
        }
    }
    if (row < 0 || row >= rowCount || col < 0 || col >= rowLength[row])
        return 0;
    bool bShifted = bShift;
    if (bCaps && row >= 2)
        bShifted = !bShifted;
    int index = (col + rotation[row]) % rowLength[row];
    return (unsigned char)kRows[row][index + (bShifted ? 14 : 0)];
}

CRect CPasswordKeyboard::GetKeyRect(int row, int col) const
{
    if (row < rowCount) {
        int x = (m_sizeChar.cx + kGap) * col + kMargin;
        int y = (m_sizeChar.cy + kGap) * row + kMargin;
        return CRect(x, y, x + m_sizeChar.cx, y + m_sizeChar.cy);
    }
    switch (col) {
    case colBackspace: {
        int x = (m_sizeChar.cx + kGap) * 11 + kMargin;
        return CRect(x, kMargin, x + m_sizeBack.cx, kMargin + m_sizeBack.cy);
    }
    case colShift:
    case colCaps: {
        int x = (m_sizeChar.cx + kGap) * 10 + kMargin;
        if (col == colCaps)
            x += m_sizeShift.cx + kGap;
        int y = m_sizeBack.cy + 11;
        return CRect(x, y, x + m_sizeShift.cx, y + m_sizeShift.cy);
    }
    default: {
        int x = m_sizeBackground.cx - m_sizeClose.cx - 5;
        return CRect(x, kMargin, x + m_sizeClose.cx, kMargin + m_sizeClose.cy);
    }
    }
}

BOOL CPasswordKeyboard::HitTest(CPoint point, int& row, int& col) const
{
    if (point.x < kMargin || point.y < kMargin || m_sizeChar.cx <= 0 || m_sizeChar.cy <= 0)
        return FALSE;
    const int pitchX = m_sizeChar.cx + kGap;
    const int pitchY = m_sizeChar.cy + kGap;
    int c = (point.x - kMargin) / pitchX;
    int r = (point.y - kMargin) / pitchY;
    if ((point.x - kMargin) % pitchX <= m_sizeChar.cx && (point.y - kMargin) % pitchY <= m_sizeChar.cy &&
        r < rowCount && c < rowLength[r]) {
        row = r;
        col = c;
        return TRUE;
    }
    if (r != 0 && r != 1)
        return FALSE;
    BOOL bHit = FALSE;
    for (int k = colBackspace; k <= colClose; ++k) {
        if (GetKeyRect(functionRow, k).PtInRect(point)) {
            row = functionRow;
            col = k;
            bHit = TRUE;
        }
    }
    return bHit;
}

void CPasswordKeyboard::LoadPictures()
{
    m_imageChar.SetLoadInfo(PicturePath("KEYBOARD_ITEM1.bmp"));
    m_imageShift.SetLoadInfo(PicturePath("KEYBOARD_ITEM2.bmp"));
    m_imageBack.SetLoadInfo(PicturePath("KEYBOARD_ITEM3.bmp"));
    m_imageClose.SetLoadInfo(PicturePath("BT_KEYBOARD_CLOSE.bmp"));
    m_imageBackground.SetLoadInfo(PicturePath("PASSWORD_KEYBORAD_BK.bmp"));
    m_sizeChar = StateSize(m_imageChar, 3);
    m_sizeShift = StateSize(m_imageShift, 3);
    m_sizeBack = StateSize(m_imageBack, 3);
    m_sizeClose = StateSize(m_imageClose, 3);
    m_sizeBackground = StateSize(m_imageBackground, 1);
}

BOOL CPasswordKeyboard::OnInitDialog()
{
    CDialog::OnInitDialog();
    std::minstd_rand& generator = Generator();
    for (int row = 0; row < rowCount; ++row)
        m_rowRotation[row] = (int)(generator() % (unsigned)rowLength[row]);
    memcpy(m_rowChars, kRows, sizeof(m_rowChars));
    LoadPictures();
    m_bShiftOn = ::GetKeyState(VK_SHIFT) < 0;
    m_bCapsOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    m_hotCol = m_hotRow = noKey;
    m_bPressed = FALSE;
    if (m_hHand == NULL)
        m_hHand = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(135));
    if (m_sizeBackground.cx > 0 && m_sizeBackground.cy > 0) {
        CRect rc(0, 0, m_sizeBackground.cx, m_sizeBackground.cy);
        ::AdjustWindowRectEx(&rc, GetStyle(), FALSE, GetExStyle());
        SetWindowPos(NULL, 0, 0, rc.Width(), rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

void CPasswordKeyboard::Repaint()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPasswordKeyboard::PressKey(int row, int col)
{
    if (row == functionRow && col == colClose) {
        if (::IsWindow(m_hEdit))
            ::SetFocus(m_hEdit);
        if (m_hWnd != NULL)
            DestroyWindow();
        return;
    }
    if (row == functionRow && col == colShift) {
        m_bShiftOn = !m_bShiftOn;
        return;
    }
    if (row == functionRow && col == colCaps) {
        INPUT inputs[2];
        memset(inputs, 0, sizeof(inputs));
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = VK_CAPITAL;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        g_inputSender(2, inputs, sizeof(INPUT));
        return;
    }
    int code = KeyChar(m_rowRotation, row, col, m_bShiftOn != FALSE, m_bCapsOn != FALSE);
    // A soft Shift applies to one character.
    m_bShiftOn = ::GetKeyState(VK_SHIFT) < 0;
    if (code != 0 && ::IsWindow(m_hEdit))
        ::SendMessage(m_hEdit, WM_CHAR, (WPARAM)code, 0);
}

BOOL CPasswordKeyboard::HandleKeyMessage(const MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_CAPITAL) {
        BOOL bCaps = (::GetKeyState(VK_CAPITAL) & 1) != 0;
        if (bCaps != m_bCapsOn) {
            m_bCapsOn = bCaps;
            Repaint();
        }
        return TRUE;
    }
    if (pMsg->message == WM_KEYDOWN || (pMsg->message == WM_KEYUP && pMsg->wParam == VK_SHIFT)) {
        BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
        if (bShift != m_bShiftOn) {
            m_bShiftOn = bShift;
            Repaint();
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CPasswordKeyboard::PreTranslateMessage(MSG* pMsg)
{
    if (HandleKeyMessage(pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CPasswordKeyboard::OnNcPaint()
{
    CDialog::OnNcPaint();
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    CBrush brush(kFrame);
    dc.FrameRect(&rc, &brush);
}

void CPasswordKeyboard::DrawKey(CDC* pDC, CSkinImage& image, const CRect& rc, int nState)
{
    if (image.IsNull())
        return;
    image.BitBlt(pDC->GetSafeHdc(), rc.left, rc.top, rc.Width(), rc.Height(), rc.Width() * nState, 0);
}

void CPasswordKeyboard::Draw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    int cx = m_sizeBackground.cx > 0 ? m_sizeBackground.cx : rcClient.Width();
    int cy = m_sizeBackground.cy > 0 ? m_sizeBackground.cy : rcClient.Height();
    bitmap.CreateCompatibleBitmap(pDC, cx, cy);
    CBitmap* pOld = memDC.SelectObject(&bitmap);
    memDC.FillSolidRect(0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
    if (!m_imageBackground.IsNull())
        m_imageBackground.BitBlt(memDC.GetSafeHdc(), 0, 0);
    memDC.SetBkMode(TRANSPARENT);
    CFont* pOldFont = memDC.SelectObject(GetFont());

    auto stateOf = [this](int row, int col) {
        bool bHot = m_hotRow == row && m_hotCol == col;
        return bHot ? (m_bPressed ? 2 : 1) : 0;
    };
    for (int row = 0; row < rowCount; ++row) {
        for (int col = 0; col < rowLength[row]; ++col) {
            CRect rc = GetKeyRect(row, col);
            DrawKey(&memDC, m_imageChar, rc, stateOf(row, col));
            int index = (col + m_rowRotation[row]) % rowLength[row];
            char plain[2] = {kRows[row][index], 0};
            char shifted[2] = {kRows[row][index + 14], 0};
            bool bShifted = m_bShiftOn != FALSE;
            if (m_bCapsOn && row >= 2)
                bShifted = !bShifted;
            memDC.SetTextColor(bShifted ? RGB(0x7D, 0x7D, 0x7D) : RGB(0, 0, 0));
            memDC.TextOut(rc.left + 5, rc.top + 9, plain, 1);
            memDC.SetTextColor(bShifted ? RGB(0, 0, 0) : RGB(0x7D, 0x7D, 0x7D));
            memDC.TextOut(rc.left + 15, rc.top + 3, shifted, 1);
        }
    }
    memDC.SetTextColor(RGB(0, 0, 0));
    CRect rcBack = GetKeyRect(functionRow, colBackspace);
    DrawKey(&memDC, m_imageBack, rcBack, stateOf(functionRow, colBackspace));
    memDC.TextOut(rcBack.left + 20, 15, CString("←"));
    CRect rcShift = GetKeyRect(functionRow, colShift);
    DrawKey(&memDC, m_imageShift, rcShift, m_bShiftOn ? 1 : stateOf(functionRow, colShift));
    memDC.TextOut(rcShift.left + 5, rcShift.top + 6, CString("Shift"));
    CRect rcCaps = GetKeyRect(functionRow, colCaps);
    DrawKey(&memDC, m_imageShift, rcCaps, m_bCapsOn ? 1 : stateOf(functionRow, colCaps));
    memDC.TextOut(rcCaps.left + 8, rcCaps.top + 6, CString("Caps"));
    DrawKey(&memDC, m_imageClose, GetKeyRect(functionRow, colClose), stateOf(functionRow, colClose));

    pDC->BitBlt(0, 0, cx, cy, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOldFont);
    memDC.SelectObject(pOld);
}

BOOL CPasswordKeyboard::OnEraseBkgnd(CDC* pDC)
{
    Draw(pDC);
    return TRUE;
}

void CPasswordKeyboard::OnPaint()
{
    CPaintDC dc(this);
    Draw(&dc);
}

BOOL CPasswordKeyboard::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    int row = 0, col = 0;
    BOOL bHit = HitTest(point, row, col);
    WORD hotRow = bHit ? (WORD)row : (WORD)noKey;
    WORD hotCol = bHit ? (WORD)col : (WORD)noKey;
    if (hotRow != m_hotRow || hotCol != m_hotCol) {
        m_hotRow = hotRow;
        m_hotCol = hotCol;
        Repaint();
    }
    if (bHit && m_hHand != NULL) {
        ::SetCursor(m_hHand);
        return TRUE;
    }
    return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

void CPasswordKeyboard::OnLButtonDown(UINT nFlags, CPoint point)
{
    int row = 0, col = 0;
    if (!HitTest(point, row, col))
        return;
    SetCapture();
    m_bPressed = TRUE;
    m_pressedRow = m_hotRow = (WORD)row;
    m_pressedCol = m_hotCol = (WORD)col;
    Repaint();
}

void CPasswordKeyboard::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bPressed)
        return;
    HWND hWnd = m_hWnd;
    ::ReleaseCapture();
    m_bPressed = FALSE;
    int row = 0, col = 0;
    if (HitTest(point, row, col) && row == m_pressedRow && col == m_pressedCol)
        PressKey(row, col);
    // The close key (or the focus leaving with it) may have destroyed the window.
    if (::IsWindow(hWnd) && m_hWnd == hWnd)
        Repaint();
}

void CPasswordKeyboard::OnKillFocus(CWnd* pNewWnd)
{
    CDialog::OnKillFocus(pNewWnd);
    if (m_hWnd != NULL)
        DestroyWindow();
}
