#include "BoxDialogTemplate.h"
#include "TextUnit.h"

#include <string.h>

#include <algorithm>
#include <vector>

namespace
{
const int kTextChars = 65535;

struct Caption
{
    UINT nStringId;
    const char* pszDefault;
};

// In the order of the caption slots.
const Caption kCaptions[MSGBOX_CAPTION_COUNT] = {
    {9005, "&中止"},
    {9002, "取消"},
    {9009, "&继续"},
    {9010, "Don't ask me again"},
    {9011, "Don't tell me again"},
    {9012, "Don't show again"},
    {9006, "&帮助"},
    {9003, "&忽略"},
    {9017, "I&gnore All"},
    {9008, "&否"},
    {9014, "N&o to All"},
    {9001, "确定"},
    {9016, "Re&port"},
    {9004, "&重试"},
    {9018, "&跳过"},
    {9019, "S&kip All"},
    {9015, "&重试"},
    {9007, "&是"},
    {9013, "Y&es to All"},
};

struct SetButton
{
    int nCaption;
    UINT nID;
};

// The buttons of a style's set, left to right; "to all" buttons only with their bits.
std::vector<SetButton> ButtonSet(UINT nStyle)
{
    UINT nSet = nStyle & MB_TYPEMASK;
    std::vector<SetButton> set;
    auto yesNo = [&](bool bCancel) {
        set.push_back({MSGBOX_YES, IDYES});
        if (nStyle & XMB_YESTOALL)
            set.push_back({MSGBOX_YESTOALL, IDYESTOALL});
        set.push_back({MSGBOX_NO, IDNO});
        if (nStyle & XMB_NOTOALL)
            set.push_back({MSGBOX_NOTOALL, IDNOTOALL});
        if (bCancel)
            set.push_back({MSGBOX_CANCEL, IDCANCEL});
    };
    auto add = [&set](int nCaption, UINT nID) { set.push_back({nCaption, nID}); };
    switch (nSet) {
    case 1: add(MSGBOX_OK, IDOK), add(MSGBOX_CANCEL, IDCANCEL); break;
    case 2: add(MSGBOX_ABORT, IDABORT), add(MSGBOX_RETRY, IDRETRY), add(MSGBOX_IGNORE, IDIGNORE); break;
    case 3: yesNo(true); break;
    case 4: yesNo(false); break;
    case 5: add(MSGBOX_RETRY, IDRETRY), add(MSGBOX_CANCEL, IDCANCEL); break;
    case 6: add(MSGBOX_CANCEL, IDCANCEL), add(MSGBOX_TRYAGAIN, IDTRYAGAIN), add(MSGBOX_CONTINUE, IDCONTINUE); break;
    case 7: add(MSGBOX_CONTINUE, IDCONTINUE), add(MSGBOX_ABORT, IDABORT); break;
    case 8: add(MSGBOX_SKIP, IDSKIP), add(MSGBOX_SKIPALL, IDSKIPALL), add(MSGBOX_CANCEL, IDCANCEL); break;
    case 9: add(MSGBOX_IGNORE, IDIGNORE), add(MSGBOX_IGNOREALL, IDIGNOREALL), add(MSGBOX_CANCEL, IDCANCEL); break;
    default: add(MSGBOX_OK, IDOK); break;
    }
    return set;
}

bool SetHasCancel(UINT nStyle)
{
    UINT nSet = nStyle & MB_TYPEMASK;
    return nSet == 1 || nSet == 3 || nSet == 5 || nSet == 6 || nSet == 8 || nSet == 9;
}

bool SetIsOkOnly(UINT nStyle)
{
    return (nStyle & MB_TYPEMASK) == 0 || (nStyle & MB_TYPEMASK) > 9;
}

// A text argument below 0x10000 is a string id.
void LoadTextArgument(HINSTANCE hModule, LPCSTR lpszText, char* pszOut, int cchOut)
{
    pszOut[0] = 0;
    if (lpszText == NULL)
        return;
    if (IS_INTRESOURCE(lpszText)) {
        if (::LoadStringA(hModule, LOWORD((ULONG_PTR)lpszText), pszOut, cchOut) <= 0)
            pszOut[0] = 0;
        return;
    }
    TextCopyField(pszOut, size_t(cchOut), lpszText);
}

// Loads a string id, keeping the fallback when it does not load.
void LoadOr(HINSTANCE hModule, UINT nId, const char* pszFallback, char* pszOut, int cchOut)
{
    if (nId != 0 && ::LoadStringA(hModule, nId, pszOut, cchOut) > 0)
        return;
    TextCopyField(pszOut, size_t(cchOut), pszFallback);
}

int Utf16Length(const char* text)
{
    return ::MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0); // with the zero
}

size_t Align4(size_t n)
{
    return (n + 3) & ~(size_t)3;
}
} // namespace

// ------------------------------------------------------------------ CBoxDialogItem

CBoxDialogItem::CBoxDialogItem(int nKind, UINT nID, const CRect* rcPixels, LPCSTR lpszText, int nBaseX, int nBaseY)
    : m_dwExStyle(0), m_nID((WORD)nID)
{
    switch (nKind) {
    case kindStatic:
        m_dwStyle = 0x50000000;
        m_nAtom = 0x0082;
        break;
    case kindCheckBox:
        m_dwStyle = 0x50010003;
        m_nAtom = 0x0080;
        break;
    default:
        m_dwStyle = 0x50010000;
        m_nAtom = 0x0080;
        break;
    }
    if (rcPixels != NULL) {
        m_x = (short)(rcPixels->left * 4 / nBaseX);
        m_y = (short)(rcPixels->top * 8 / nBaseY);
        m_cx = (short)(rcPixels->Width() * 4 / nBaseX);
        m_cy = (short)(rcPixels->Height() * 8 / nBaseY);
    } else {
        m_x = m_y = 0;
        m_cx = m_cy = 10;
    }
    size_t n = lpszText != NULL ? strlen(lpszText) : 0;
    m_pszText = new char[n + 1];
    memcpy(m_pszText, lpszText != NULL ? lpszText : "", n);
    m_pszText[n] = 0;
}

CBoxDialogItem::~CBoxDialogItem()
{
    delete[] m_pszText;
}

// ------------------------------------------------------------------ CBoxDialogTemplate

CBoxDialogTemplate::CBoxDialogTemplate(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle,
                                       const MsgBoxParams* pParams)
    : m_nItems(0), m_nPushButtons(0), m_nDefaultIndex(1), m_nDefaultId(1), m_dwFlags(0), m_nResult(-1),
      m_nNextStaticId(IDMSGBOXTEXT), m_nStyle(nStyle), m_hWndOwner(hWndOwner), m_hIcon(NULL), m_bOwnIcon(FALSE)
{
    memset(m_items, 0, sizeof(m_items));
    memset(&m_dlg, 0, sizeof(m_dlg));
    MsgBoxParams defaults;
    const MsgBoxParams& p = pParams != NULL ? *pParams : defaults;

    // 1. The parameters.
    m_dwHelpId = p.helpId;
    m_nTimeoutSeconds = p.timeoutSeconds;
    m_nDisabledSeconds = p.disabledSeconds;
    m_x = p.x;
    m_y = p.y;
    m_dwOptions = p.options;
    m_hStrings = p.stringsModule != NULL ? p.stringsModule : ::GetModuleHandleA(NULL);
    m_hIcons = p.iconModule != NULL ? p.iconModule : ::GetModuleHandleA(NULL);
    m_iconId = p.iconId;
    TextCopyPath(m_szIconFile, MAX_PATH, p.iconFile);
    m_strAnswerKey = p.answerKey != NULL ? p.answerKey : "";
    m_nAnswerKeyNumber = p.answerKeyNumber;
    m_pfnReport = p.reportCallback;
    m_dwReportData = p.reportUserData;
    m_crText = p.textColour;
    m_crBack = p.backgroundColour;
    m_bHasLinks = p.hasLinks != 0;
    m_strLinkedText = p.linkedText != NULL ? p.linkedText : "";
    TextCopyField(m_szCompanyName, MAX_PATH, p.companyName);
    if (nStyle & XMB_DONTASKAGAIN)
        m_dwFlags |= flagCheckAsk;
    else if (nStyle & XMB_DONTTELLAGAIN)
        m_dwFlags |= flagCheckTell;
    else if (nStyle & XMB_DONTSHOWAGAIN)
        m_dwFlags |= flagCheckShow;
    if (SetHasCancel(nStyle))
        m_dwFlags |= flagHasCancel;
    if (SetIsOkOnly(nStyle))
        m_dwFlags |= flagOkOnly;
    if (m_dwOptions & MSGBOX_WIDELOOK) {
        m_dwOptions |= MSGBOX_RIGHTBUTTONS;
        if (m_crBack == 0xFFFFFFFF)
            m_crBack = ::GetSysColor(COLOR_WINDOW);
    }
    if (m_crBack != 0xFFFFFFFF)
        m_brush.CreateSolidBrush(m_crBack);

    // 2. Sizes from the dialog base units.
    LONG units = ::GetDialogBaseUnits();
    m_nBaseX = std::max(1, (int)LOWORD(units));
    m_nBaseY = std::max(1, (int)HIWORD(units));
    const bool bWide = (m_dwOptions & MSGBOX_WIDELOOK) != 0;
    m_nButtonWidth = ::MulDiv(48, m_nBaseX, 4);
    m_nButtonHeight = ::MulDiv(12, m_nBaseY, 8);
    m_nCountdownWidth = ::MulDiv(13, m_nBaseX, 4);
    if (bWide) {
        m_nButtonWidth += ::MulDiv(6, m_nBaseX, 4);
        m_nButtonHeight += ::MulDiv(1, m_nBaseY, 8);
    }
    m_nCheckHeight = ::MulDiv(10, m_nBaseY, 8);

    // 3. The default button.
    switch (nStyle & MB_DEFMASK) {
    case 0x100: m_nDefaultIndex = 2; break;
    case 0x200: m_nDefaultIndex = 3; break;
    case 0x300: m_nDefaultIndex = 4; break;
    case 0x400: m_nDefaultIndex = 5; break;
    case 0x500: m_nDefaultIndex = 6; break;
    default: m_nDefaultIndex = 1; break;
    }

    // 4. Texts.
    m_pszText = new char[kTextChars + 1];
    m_pszCaption = new char[kTextChars + 1];
    LoadTextArgument(m_hStrings, lpszText, m_pszText, kTextChars + 1);
    LoadTextArgument(m_hStrings, lpszCaption, m_pszCaption, kTextChars + 1);
    LoadOr(m_hStrings, p.customButtonsId, p.customButtons, m_szCustomButtons, MAX_PATH);
    m_szReportCaption[0] = 0;
    LoadOr(m_hStrings, p.reportCaptionId, p.reportCaption, m_szReportCaption, sizeof(m_szReportCaption));

    // 5. Captions.
    for (int i = 0; i < MSGBOX_CAPTION_COUNT; ++i) {
        if (i == MSGBOX_REPORT && m_szReportCaption[0] != 0)
            TextCopyField(m_captions[i], m_szReportCaption);
        else
            TextCopyField(m_captions[i], kCaptions[i].pszDefault);
    }
    for (int i = 0; i < MSGBOX_CAPTION_COUNT; ++i) {
        if (i == MSGBOX_REPORT && m_szReportCaption[0] != 0)
            continue;
        if (p.useCaptions) {
            if (p.captions[i][0] != 0)
                TextCopyField(m_captions[i], p.captions[i]);
        } else if (!(nStyle & XMB_NORESOURCE)) {
            char sz[100];
            if (::LoadStringA(m_hStrings, kCaptions[i].nStringId, sz, sizeof(sz)) > 0)
                TextCopyField(m_captions[i], sz);
        }
    }

    // 6. The message font.
    NONCLIENTMETRICSA ncm;
    memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_font.CreateFontIndirect(&ncm.lfMessageFont);

    Layout();
}

CBoxDialogTemplate::~CBoxDialogTemplate()
{
    if (m_bOwnIcon && m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
    m_font.DeleteObject();
    m_brush.DeleteObject();
    for (int i = 0; i < m_nItems; ++i)
        delete m_items[i];
    delete[] m_pszText;
    delete[] m_pszCaption;
}

int CBoxDialogTemplate::CaptionWidth(CDC* pDC, LPCSTR lpszText) const
{
    int cx = pDC->GetTextExtent(lpszText, (int)strlen(lpszText)).cx + 20;
    cx = std::max(cx, m_nButtonWidth);
    if (m_nTimeoutSeconds > 0)
        cx += m_nCountdownWidth;
    return cx;
}

void CBoxDialogTemplate::AddItem(int nKind, UINT nID, const CRect* rcPixels, LPCSTR lpszText)
{
    if (m_nItems >= maxItems)
        return;
    CBoxDialogItem* pItem = new CBoxDialogItem(nKind, nID, rcPixels, lpszText, m_nBaseX, m_nBaseY);
    if (nKind == CBoxDialogItem::kindButton) {
        ++m_nPushButtons;
        if (m_nPushButtons == m_nDefaultIndex) {
            pItem->m_dwStyle |= BS_DEFPUSHBUTTON;
            m_nDefaultId = nID;
        }
    }
    m_items[m_nItems++] = pItem;
}

void CBoxDialogTemplate::Layout()
{
    const bool bWide = (m_dwOptions & MSGBOX_WIDELOOK) != 0;
    // Measured with the display's default font, as the box always was.
    HDC hdc = ::CreateDCA("DISPLAY", NULL, NULL, NULL);
    if (hdc == NULL)
        hdc = ::CreateCompatibleDC(NULL);
    CDC* pDC = CDC::FromHandle(hdc);

    // 7. Caption widths.
    for (int i = 0; i < MSGBOX_CAPTION_COUNT; ++i)
        m_captionWidths[i] = CaptionWidth(pDC, m_captions[i]);

    // 8. The text.
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int nMaxWidth = bWide ? cxScreen / 2 - 10 : cxScreen / 2 + 80;
    if (m_dwOptions & MSGBOX_NARROW)
        nMaxWidth = cxScreen / 3;
    if (m_nStyle & MB_ICONMASK)
        nMaxWidth -= ::GetSystemMetrics(SM_CXICON) + 50;
    CRect rcCalc(0, 0, nMaxWidth, 0);
    ::DrawTextA(hdc, m_pszText, -1, &rcCalc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    TEXTMETRIC tm;
    ::GetTextMetrics(hdc, &tm);
    const bool bManyLines = rcCalc.Height() > tm.tmHeight;
    m_rcText.SetRect(50, bWide ? 110 : 60, rcCalc.Width() + 90, rcCalc.Height() + 15 + (bWide ? 175 : 75));
    m_rcBox.SetRect(0, 0, m_rcText.Width() + (bWide ? 100 : 50), std::max(m_rcText.Height() + 50, 70));

    // 9. The icon.
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    // The caller's icon resource, else its icon file, else the style's icon.
    LPCSTR pszSystemIcon = NULL;
    switch (m_nStyle & MB_ICONMASK) {
    case 0x00: break;
    case 0x10: pszSystemIcon = IDI_HAND; break;
    case 0x20: pszSystemIcon = IDI_QUESTION; break;
    case 0x30: pszSystemIcon = IDI_EXCLAMATION; break;
    case 0x40: pszSystemIcon = IDI_ASTERISK; break;
    default: pszSystemIcon = IDI_EXCLAMATION; break;
    }
    m_hIcon = NULL;
    if (m_iconId != 0)
        m_hIcon = ::LoadIconA(m_hIcons, MAKEINTRESOURCEA(LOWORD(m_iconId)));
    if (m_hIcon == NULL && m_szIconFile[0] != 0) {
        m_hIcon = (HICON)::LoadImageA(NULL, m_szIconFile, IMAGE_ICON, 48, 48, LR_LOADFROMFILE);
        if (m_hIcon != NULL) {
            m_bOwnIcon = TRUE;
            cxIcon = cyIcon = 48;
        }
    }
    if (m_hIcon == NULL && pszSystemIcon != NULL)
        m_hIcon = ::LoadIconA(NULL, pszSystemIcon);
    CRect rcIcon(0, 0, 0, 0);
    if (m_hIcon != NULL) {
        const int m = bWide ? 75 : 25;
        m_rcText.OffsetRect(cxIcon + m, 0);
        m_rcBox.right = m_rcText.right + (bWide ? 75 : 25);
        rcIcon.SetRect(m, m + 21, m + cxIcon, m + cyIcon + 23);
        if (bWide && bManyLines)
            m_rcText.OffsetRect(0, rcIcon.top - m_rcText.top);
        AddItem(CBoxDialogItem::kindStatic, IDMSGBOXICON, &rcIcon, "");
    }

    // 10. The text static.
    AddItem(CBoxDialogItem::kindStatic, IDMSGBOXTEXT, &m_rcText, m_pszText);
    m_nNextStaticId = IDMSGBOXTEXT + 1;

    // 11. The button row.
    std::vector<Button> buttons;
    UINT nCustomId = IDCUSTOM1;
    for (const char* p = m_szCustomButtons; *p != 0 && nCustomId <= IDCUSTOM4;) {
        const char* pEnd = strchr(p, '\n');
        CString strText = pEnd != NULL ? CString(p, (int)(pEnd - p)) : CString(p);
        buttons.push_back({strText, nCustomId++, CaptionWidth(pDC, strText)});
        if (pEnd == NULL)
            break;
        p = pEnd + 1;
    }
    if (buttons.empty()) {
        for (const SetButton& b : ButtonSet(m_nStyle))
            buttons.push_back({m_captions[b.nCaption], b.nID, m_captionWidths[b.nCaption]});
    }
    if (m_nStyle & MB_HELP)
        buttons.push_back({m_captions[MSGBOX_HELP], IDHELPBUTTON, m_captionWidths[MSGBOX_HELP]});
    if (m_pfnReport != NULL)
        buttons.push_back({m_captions[MSGBOX_REPORT], IDREPORT, m_captionWidths[MSGBOX_REPORT]});
    int nTotal = 0;
    for (const Button& b : buttons)
        nTotal += b.cx;
    nTotal += 6 * ((int)buttons.size() - 1);
    int nRowTop = std::max(m_rcText.bottom, rcIcon.bottom);
    if (m_hIcon != NULL || m_brush.GetSafeHandle() != NULL)
        nRowTop += 9;
    if (m_nDefaultIndex > (int)buttons.size())
        m_nDefaultIndex = 1;

    // 12. Box size and the buttons.
    m_rcBox.bottom = nRowTop + m_nButtonHeight + 17;
    m_rcBox.right = std::max<int>(m_rcBox.right, 100 + nTotal);
    int nCheck = -1;
    if (m_dwFlags & flagCheckAsk)
        nCheck = MSGBOX_DONTASKAGAIN;
    else if (m_dwFlags & flagCheckTell)
        nCheck = MSGBOX_DONTTELLAGAIN;
    else if (m_dwFlags & flagCheckShow)
        nCheck = MSGBOX_DONTSHOWAGAIN;
    if (nCheck >= 0) {
        int cxCheck = m_captionWidths[nCheck] + m_nCheckHeight;
        if (m_rcBox.Width() < cxCheck)
            m_rcBox.right = 50 + cxCheck;
    }
    int x = (m_dwOptions & MSGBOX_RIGHTBUTTONS) ? m_rcBox.right - nTotal - 50 : (m_rcBox.Width() - nTotal) / 2;
    for (const Button& b : buttons) {
        CRect rc(x, nRowTop, x + b.cx, nRowTop + m_nButtonHeight);
        AddItem(CBoxDialogItem::kindButton, b.nID, &rc, b.strText);
        x += b.cx + 6;
    }
    int nLowest = nRowTop + m_nButtonHeight;

    // 13. The check box below the row.
    if (nCheck >= 0) {
        CRect rc(17, nRowTop + m_nButtonHeight + 12, 17 + m_captionWidths[nCheck],
                 nRowTop + m_nButtonHeight + 12 + m_nCheckHeight);
        AddItem(CBoxDialogItem::kindCheckBox, IDMSGBOXCHECK, &rc, m_captions[nCheck]);
        m_rcBox.bottom = rc.bottom + 25;
        m_rcBox.right = std::max<int>(m_rcBox.right, rc.right + 17);
        nLowest = rc.bottom;
    }

    // 14. The dialog.
    if (nLowest >= m_rcBox.bottom)
        m_rcBox.bottom = nLowest + 50;
    m_dlg.style = 0x90C80880 | ((m_nStyle & MB_SYSTEMMODAL) ? DS_SYSMODAL : 0);
    m_dlg.dwExtendedStyle = 0;
    m_dlg.cdit = (WORD)m_nItems;
    m_dlg.x = m_dlg.y = 0;
    m_dlg.cx = (short)(m_rcBox.Width() * 4 / m_nBaseX);
    m_dlg.cy = (short)(m_rcBox.Height() * 8 / m_nBaseY);

    ::DeleteDC(hdc);
}

HGLOBAL CBoxDialogTemplate::CreateTemplate() const
{
    // The caption is cut at 1023 characters.
    char szCaption[1024];
    TextCopyField(szCaption, m_pszCaption);
    const int nCaption = Utf16Length(szCaption);
    std::vector<int> itemLengths;
    size_t cb = Align4(22 + 2 * (size_t)nCaption);
    for (int i = 0; i < m_nItems; ++i) {
        itemLengths.push_back(Utf16Length(m_items[i]->m_pszText));
        size_t nItem = 18 + 4 + 2 * (size_t)itemLengths.back() + 2;
        cb += i + 1 < m_nItems ? Align4(nItem) : nItem;
    }
    HGLOBAL hTemplate = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, cb);
    if (hTemplate == NULL)
        return NULL;
    BYTE* pBase = (BYTE*)::GlobalLock(hTemplate);
    BYTE* p = pBase;
    auto put16 = [&p](WORD w) {
        memcpy(p, &w, 2);
        p += 2;
    };
    auto put32 = [&p](DWORD d) {
        memcpy(p, &d, 4);
        p += 4;
    };
    auto putText = [&p](const char* text, int nWide) {
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, (LPWSTR)p, nWide);
        p += 2 * (size_t)nWide;
    };
    put32(m_dlg.style);
    put32(m_dlg.dwExtendedStyle);
    put16(m_dlg.cdit);
    put16((WORD)m_dlg.x);
    put16((WORD)m_dlg.y);
    put16((WORD)m_dlg.cx);
    put16((WORD)m_dlg.cy);
    put16(0); // no menu
    put16(0); // the dialog class
    putText(szCaption, nCaption);
    for (int i = 0; i < m_nItems; ++i) {
        p = pBase + Align4((size_t)(p - pBase));
        const CBoxDialogItem* pItem = m_items[i];
        put32(pItem->m_dwStyle);
        put32(pItem->m_dwExStyle);
        put16((WORD)pItem->m_x);
        put16((WORD)pItem->m_y);
        put16((WORD)pItem->m_cx);
        put16((WORD)pItem->m_cy);
        put16(pItem->m_nID);
        put16(0xFFFF);
        put16(pItem->m_nAtom);
        putText(pItem->m_pszText, itemLengths[(size_t)i]);
        put16(0); // no creation data
    }
    ::GlobalUnlock(hTemplate);
    return hTemplate;
}
