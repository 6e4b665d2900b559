#include "HtmlTextStatic.h"

#include "ColourNames.h"
#include "TextUnit.h"

#include <shellapi.h>
#include <string.h>

#include <string>

IMPLEMENT_DYNAMIC(CHtmlTextStatic, CStatic)

namespace
{
const COLORREF kLinkColour = RGB(0, 0, 255);
const char kEntityMark = 0x01;

struct Entity
{
    const char* name;
    wchar_t character;
};

// The code of entity i is i + 2; drawn by code point, never as a byte, since
// the high half of the ANSI code page is GBK lead bytes here.
const Entity kEntities[] = {
    {"&amp;", L'&'},      {"&bull;", 0x2022},   {"&cent;", 0x00A2},   {"&copy;", 0x00A9},  {"&deg;", 0x00B0},
    {"&euro;", 0x20AC},   {"&frac12;", 0x00BD}, {"&frac14;", 0x00BC}, {"&gt;", L'>'},      {"&iquest;", 0x00BF},
    {"&lt;", L'<'},       {"&micro;", 0x00B5},  {"&middot;", 0x00B7}, {"&nbsp;", L' '},    {"&para;", 0x00B6},
    {"&plusmn;", 0x00B1}, {"&pound;", 0x00A3},  {"&quot;", L'"'},     {"&reg;", 0x00AE},   {"&sect;", 0x00A7},
    {"&sup1;", 0x00B9},   {"&sup2;", 0x00B2},   {"&times;", 0x00D7},  {"&trade;", 0x2122},
};
const int kEntityCount = sizeof(kEntities) / sizeof(kEntities[0]);

wchar_t EntityCharacter(unsigned char code)
{
    int i = (int)code - 2;
    return i >= 0 && i < kEntityCount ? kEntities[i].character : L' ';
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    size_t n = strlen(prefix);
    return strlen(text) >= n && _strnicmp(text, prefix, n) == 0;
}

// Appends ANSI bytes as UTF-16.
void AppendAnsi(std::wstring& out, const char* bytes, int n)
{
    if (n <= 0)
        return;
    int cw = ::MultiByteToWideChar(CP_ACP, 0, bytes, n, NULL, 0);
    if (cw <= 0)
        return;
    size_t at = out.size();
    out.resize(at + (size_t)cw);
    ::MultiByteToWideChar(CP_ACP, 0, bytes, n, &out[at], cw);
}

// Text as it is drawn: ANSI bytes, entity pairs as their characters.
std::wstring Widen(const char* text, int n)
{
    std::wstring out;
    int start = 0;
    for (int i = 0; i < n; ++i) {
        if (text[i] == kEntityMark && i + 1 < n) {
            AppendAnsi(out, text + start, i - start);
            out += EntityCharacter((unsigned char)text[i + 1]);
            ++i;
            start = i + 1;
        }
    }
    AppendAnsi(out, text + start, n - start);
    return out;
}

int WidthOf(CDC* pDC, const std::wstring& text)
{
    SIZE size = {0, 0};
    if (!text.empty())
        ::GetTextExtentPoint32W(pDC->GetSafeHdc(), text.c_str(), (int)text.size(), &size);
    return size.cx;
}

CHtmlTextStatic::LinkOpener g_linkOpener = &CHtmlTextStatic::OpenWithShell;
} // namespace

// The state of one drawing pass.
struct CHtmlTextStatic::DrawState
{
    CDC* pDC;
    CRect rcClient;
    int left;
    int right;
    int x;
    LOGFONT base;
    LOGFONT lf;
    bool bSizeChanged;
    int nLastDescent;
    COLORREF crText;
    COLORREF crBack;
    CString strTarget;
    bool bTransparent;
};

BEGIN_MESSAGE_MAP(CHtmlTextStatic, CStatic)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
    ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CHtmlTextStatic::CHtmlTextStatic()
    : m_pOldBitmap(NULL), m_bRedraw(TRUE), m_bToolTips(FALSE), m_bOwnFont(FALSE), m_nUnderline(0), m_nBold(0),
      m_nItalic(0), m_nCenter(0), m_nStrike(0), m_nSub(0), m_nSup(0), m_nRulePending(0), m_bLineBreak(FALSE),
      m_bInLink(FALSE), m_bOverLink(FALSE), m_nRuleSize(2), m_hHandCursor(NULL), m_hSavedCursor(NULL), m_nLeftMargin(0),
      m_nRightMargin(0), m_y(0), m_crBack(::GetSysColor(COLOR_WINDOW)), m_crText(::GetSysColor(COLOR_WINDOWTEXT))
{
    memset(&m_logFont, 0, sizeof(m_logFont));
    LoadHandCursor();
}

CHtmlTextStatic::~CHtmlTextStatic()
{
    Reset();
    m_commands.clear();
    if (m_hHandCursor != NULL)
        ::DestroyCursor(m_hHandCursor);
    ReleaseMemory();
}

void CHtmlTextStatic::LoadHandCursor()
{
    // A shared system cursor is copied so that the destructor may destroy it.
    HCURSOR hHand = ::LoadCursor(NULL, IDC_HAND);
    if (hHand != NULL) {
        m_hHandCursor = (HCURSOR)::CopyImage(hHand, IMAGE_CURSOR, 0, 0, 0);
        return;
    }
    char szPath[MAX_PATH];
    UINT n = ::GetWindowsDirectoryA(szPath, MAX_PATH);
    if (n == 0 || n + 14 >= MAX_PATH)
        return;
    lstrcatA(szPath, "\\winhlp32.exe");
    HMODULE hModule = ::LoadLibraryExA(szPath, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (hModule == NULL)
        return;
    HCURSOR hHelp = ::LoadCursor(hModule, MAKEINTRESOURCE(106));
    if (hHelp != NULL)
        m_hHandCursor = (HCURSOR)::CopyImage(hHelp, IMAGE_CURSOR, 0, 0, 0);
    ::FreeLibrary(hModule);
}

void CHtmlTextStatic::ReleaseMemory()
{
    if (m_memDC.GetSafeHdc() != NULL) {
        if (m_pOldBitmap != NULL)
            m_memDC.SelectObject(m_pOldBitmap);
        m_memDC.DeleteDC();
    }
    m_pOldBitmap = NULL;
    m_memBitmap.DeleteObject();
}

void CHtmlTextStatic::ClearLinks()
{
    if (m_bToolTips && m_toolTip.GetSafeHwnd() != NULL) {
        for (size_t i = 0; i < m_linkRects.size(); ++i)
            m_toolTip.DelTool(this, i + 1);
    }
    m_linkRects.clear();
    m_linkTargets.RemoveAll();
}

void CHtmlTextStatic::Reset()
{
    m_bRedraw = TRUE;
    m_nUnderline = m_nBold = m_nItalic = m_nCenter = m_nStrike = m_nSub = m_nSup = 0;
    m_nRulePending = 0;
    m_bLineBreak = m_bInLink = m_bOverLink = FALSE;
    m_nRuleSize = 2;
    ClearLinks();
}

void CHtmlTextStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(0, SS_NOTIFY);
    if (m_toolTip.GetSafeHwnd() == NULL)
        m_toolTip.Create(this);
}

BOOL CHtmlTextStatic::PreTranslateMessage(MSG* pMsg)
{
    if (m_bToolTips && m_toolTip.GetSafeHwnd() != NULL)
        m_toolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

LRESULT CHtmlTextStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The click follows the link under the button, wherever the system
    // cursor is by the time STN_CLICKED comes back.
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)
        m_ptClick = CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
    return CStatic::WindowProc(message, wParam, lParam);
}

void CHtmlTextStatic::SetWindowText(LPCTSTR lpszText)
{
    Reset();
    CWnd::SetWindowText(lpszText != NULL ? lpszText : "");
    if (m_hWnd != NULL)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

COLORREF CHtmlTextStatic::SetBkColour(LPCTSTR lpszName)
{
    return SetBkColour(CColourNames(lpszName).GetColour());
}

COLORREF CHtmlTextStatic::SetBkColour(COLORREF crBack)
{
    COLORREF crOld = m_crBack;
    m_crBack = crBack;
    m_bRedraw = TRUE;
    if (m_hWnd != NULL)
        Invalidate();
    return crOld;
}

COLORREF CHtmlTextStatic::SetTextColour(LPCTSTR lpszName)
{
    return SetTextColour(CColourNames(lpszName).GetColour());
}

COLORREF CHtmlTextStatic::SetTextColour(COLORREF crText)
{
    COLORREF crOld = m_crText;
    m_crText = crText;
    m_bRedraw = TRUE;
    if (m_hWnd != NULL)
        Invalidate();
    return crOld;
}

void CHtmlTextStatic::AddAppCommand(LPCTSTR lpszName, HWND hWnd, UINT nMessage, WPARAM wParam)
{
    m_commands.push_back({hWnd, nMessage, wParam, CString(lpszName != NULL ? lpszName : "")});
}

void CHtmlTextStatic::SetMargins(int nLeft, int nRight)
{
    m_nLeftMargin = nLeft;
    m_nRightMargin = nRight;
    m_bRedraw = TRUE;
}

void CHtmlTextStatic::SetLogFont(const LOGFONT& lf)
{
    m_logFont = lf;
    m_bOwnFont = TRUE;
    m_bRedraw = TRUE;
}

void CHtmlTextStatic::OnPaint()
{
    CPaintDC dc(this);
    DrawText(&dc);
}

LRESULT CHtmlTextStatic::OnPrintClient(WPARAM wParam, LPARAM)
{
    DrawText(CDC::FromHandle((HDC)wParam));
    return 0;
}

BOOL CHtmlTextStatic::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CHtmlTextStatic::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bOverLink)
        return FALSE;
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CHtmlTextStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_linkRects.empty()) {
        bool bOver = false;
        for (const CRect& rc : m_linkRects) {
            if (rc.PtInRect(point)) {
                bOver = true;
                break;
            }
        }
        if (bOver) {
            if (m_hHandCursor != NULL) {
                HCURSOR hOld = ::SetCursor(m_hHandCursor);
                if (m_hSavedCursor == NULL && hOld != m_hHandCursor)
                    m_hSavedCursor = hOld;
            }
            m_bOverLink = TRUE;
        } else {
            if (m_hSavedCursor != NULL)
                ::SetCursor(m_hSavedCursor);
            m_hSavedCursor = NULL;
            m_bOverLink = FALSE;
        }
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CHtmlTextStatic::OnDestroy()
{
    ClearLinks();
    if (m_toolTip.GetSafeHwnd() != NULL)
        m_toolTip.DestroyWindow();
    CStatic::OnDestroy();
}

BOOL CHtmlTextStatic::OnClicked()
{
    FollowLinkAt(m_ptClick);
    return FALSE;
}

// ------------------------------------------------------------------ links

CHtmlTextStatic::LinkOpener CHtmlTextStatic::SetLinkOpener(LinkOpener opener)
{
    LinkOpener old = g_linkOpener;
    g_linkOpener = opener != NULL ? opener : &CHtmlTextStatic::OpenWithShell;
    return old;
}

BOOL CHtmlTextStatic::IsWebTarget(LPCSTR lpszTarget)
{
    if (lpszTarget == NULL)
        return FALSE;
    if (!StartsWithNoCase(lpszTarget, "http://") && !StartsWithNoCase(lpszTarget, "https://"))
        return FALSE;
    for (const unsigned char* p = (const unsigned char*)lpszTarget; *p != 0; ++p) {
        if (*p < 0x20 || *p == '"')
            return FALSE;
    }
    return TRUE;
}

CString CHtmlTextStatic::BuildBrowserCommand(LPCSTR lpszCommand, LPCSTR lpszTarget)
{
    CString strCommand = lpszCommand != NULL ? lpszCommand : "";
    int nCut = strCommand.Find("\"%1\"");
    if (nCut < 0)
        nCut = strCommand.Find("%1");
    if (nCut >= 0)
        strCommand = strCommand.Left(nCut);
    strCommand.TrimRight();
    strCommand += " \"";
    strCommand += lpszTarget != NULL ? lpszTarget : "";
    strCommand += "\"";
    return strCommand;
}

BOOL CHtmlTextStatic::OpenWithShell(LPCSTR lpszTarget)
{
    if ((INT_PTR)::ShellExecuteA(NULL, "open", lpszTarget, NULL, NULL, SW_SHOW) > 32)
        return TRUE;
    // No shell association: the browser registered for web pages.
    char szClass[MAX_PATH] = "";
    LONG cb = sizeof(szClass);
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", szClass, &cb) != ERROR_SUCCESS || szClass[0] == 0)
        return FALSE;
    CString strKey = szClass;
    strKey += "\\shell\\open\\command";
    char szCommand[1024] = "";
    cb = sizeof(szCommand);
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, strKey, szCommand, &cb) != ERROR_SUCCESS || szCommand[0] == 0)
        return FALSE;
    return ::WinExec(BuildBrowserCommand(szCommand, lpszTarget), SW_SHOW) > 32;
}

CString CHtmlTextStatic::ParseLinkTarget(LPCSTR lpszTag)
{
    CString strTag = lpszTag != NULL ? lpszTag : "";
    CString strUpper = strTag;
    strUpper.MakeUpper();
    int nAt = strUpper.Find("HREF=");
    if (nAt < 0)
        return CString();
    CString strValue = strTag.Mid(nAt + 5);
    int nEnd = strValue.Find('>');
    if (nEnd >= 0)
        strValue = strValue.Left(nEnd);
    strValue.TrimRight();
    int n = strValue.GetLength();
    if (n >= 2 && ((strValue[0] == '"' && strValue[n - 1] == '"') || (strValue[0] == '\'' && strValue[n - 1] == '\'')))
        strValue = strValue.Mid(1, n - 2);
    return strValue;
}

BOOL CHtmlTextStatic::SendAppCommand(const CString& target)
{
    CString strName = target.Mid(target[0] == '"' ? 5 : 4);
    if (!strName.IsEmpty() && strName[0] == '"')
        strName = strName.Mid(1);
    if (!strName.IsEmpty() && strName[strName.GetLength() - 1] == '"')
        strName = strName.Left(strName.GetLength() - 1);
    for (const AppCommand& command : m_commands) {
        if (command.strName.CompareNoCase(strName) == 0 && ::IsWindow(command.hWnd)) {
            ::SendMessage(command.hWnd, command.nMessage, command.wParam, 0);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CHtmlTextStatic::FollowLinkAt(CPoint ptClient)
{
    for (size_t i = 0; i < m_linkRects.size(); ++i) {
        if (!m_linkRects[i].PtInRect(ptClient))
            continue;
        CString strTarget = m_linkTargets[(INT_PTR)i];
        if (StartsWithNoCase(strTarget, "APP:") || StartsWithNoCase(strTarget, "\"APP:"))
            return SendAppCommand(strTarget);
        // Texts come from servers: a path or another scheme must not start
        // a program.
        if (!IsWebTarget(strTarget))
            return FALSE;
        return g_linkOpener(strTarget);
    }
    return FALSE;
}

// ------------------------------------------------------------------ drawing

bool CHtmlTextStatic::ApplyTag(CString& text, DrawState& st)
{
    struct Simple
    {
        const char* tag;
        int* counter;
        int step;
    };
    const Simple simple[] = {
        {"<B>", &m_nBold, 1},          {"</B>", &m_nBold, -1},        {"<I>", &m_nItalic, 1},
        {"</I>", &m_nItalic, -1},      {"<U>", &m_nUnderline, 1},     {"</U>", &m_nUnderline, -1},
        {"<STRIKE>", &m_nStrike, 1},   {"</STRIKE>", &m_nStrike, -1}, {"<CENTER>", &m_nCenter, 1},
        {"</CENTER>", &m_nCenter, -1}, {"<SUB>", &m_nSub, 1},         {"</SUB>", &m_nSub, -1},
        {"<SUP>", &m_nSup, 1},         {"</SUP>", &m_nSup, -1},
    };
    const char* p = text;
    int nTagEnd = text.Find('>');
    CString strTag = nTagEnd >= 0 ? text.Left(nTagEnd + 1) : text;
    bool bKnown = false;
    for (const Simple& s : simple) {
        if (StartsWithNoCase(p, s.tag)) {
            *s.counter += s.step;
            if (*s.counter < 0)
                *s.counter = 0;
            bKnown = true;
            break;
        }
    }
    if (bKnown) {
    } else if (StartsWithNoCase(p, "<BIG>") || StartsWithNoCase(p, "</SMALL>")) {
        st.lf.lfHeight += st.lf.lfHeight < 1 ? -1 : 1;
        bKnown = true;
    } else if (StartsWithNoCase(p, "</BIG>") || StartsWithNoCase(p, "<SMALL>")) {
        st.lf.lfHeight += st.lf.lfHeight > 0 ? -1 : 1;
        bKnown = true;
    } else if (StartsWithNoCase(p, "</FONT>")) {
        st.crText = m_crText;
        st.crBack = m_crBack;
        st.lf = st.base;
        if (st.bSizeChanged) {
            m_y += st.nLastDescent;
            st.bSizeChanged = false;
        }
        bKnown = true;
    } else if (StartsWithNoCase(p, "<FONT")) {
        // Attributes: NAME="value" separated by blanks.
        CString strAttrs = strTag.Mid(5);
        if (!strAttrs.IsEmpty() && strAttrs[strAttrs.GetLength() - 1] == '>')
            strAttrs = strAttrs.Left(strAttrs.GetLength() - 1);
        int i = 0;
        int n = strAttrs.GetLength();
        while (i < n) {
            while (i < n && strAttrs[i] == ' ')
                ++i;
            int nEq = strAttrs.Find('=', i);
            int nBlank = strAttrs.Find(' ', i);
            if (nEq < 0 || (nBlank >= 0 && nBlank < nEq)) {
                i = nBlank < 0 ? n : nBlank; // unknown: skip to the next blank
                continue;
            }
            CString strName = strAttrs.Mid(i, nEq - i);
            int v = nEq + 1;
            CString strValue;
            if (v < n && strAttrs[v] == '"') {
                int nClose = strAttrs.Find('"', v + 1);
                if (nClose < 0)
                    nClose = n;
                strValue = strAttrs.Mid(v + 1, nClose - v - 1);
                i = nClose + 1;
            } else {
                int nEnd = strAttrs.Find(' ', v);
                if (nEnd < 0)
                    nEnd = n;
                strValue = strAttrs.Mid(v, nEnd - v);
                i = nEnd;
            }
            if (strName.CompareNoCase("COLOR") == 0)
                st.crText = CColourNames(strValue).GetColour();
            else if (strName.CompareNoCase("BGCOLOR") == 0)
                st.crBack = CColourNames(strValue).GetColour();
            else if (strName.CompareNoCase("FACE") == 0)
                TextCopyField(st.lf.lfFaceName, strValue);
            else if (strName.CompareNoCase("SIZE") == 0) {
                st.lf.lfHeight -= atoi(strValue);
                st.bSizeChanged = true;
            }
        }
        bKnown = true;
    } else if (StartsWithNoCase(p, "<CODE>")) {
        TextCopyField(st.lf.lfFaceName, "Courier New");
        bKnown = true;
    } else if (StartsWithNoCase(p, "</CODE>")) {
        st.lf = st.base;
        bKnown = true;
    } else if (StartsWithNoCase(p, "<A HREF=")) {
        st.strTarget = ParseLinkTarget(strTag);
        st.crText = kLinkColour;
        m_bInLink = TRUE;
        bKnown = true;
    } else if (StartsWithNoCase(p, "</A>")) {
        st.crText = m_crText;
        m_bInLink = FALSE;
        bKnown = true;
    } else if (StartsWithNoCase(p, "<BR>")) {
        m_bLineBreak = TRUE;
        bKnown = true;
    } else if (StartsWithNoCase(p, "<HR")) {
        CString strUpper = strTag;
        strUpper.MakeUpper();
        int nSize = strUpper.Find("SIZE=");
        if (nSize >= 0)
            m_nRuleSize = atoi(strTag.Mid(nSize + 5));
        ++m_nRulePending;
        m_bLineBreak = TRUE;
        bKnown = true;
    }
    if (!bKnown)
        return false;
    text = nTagEnd >= 0 ? text.Mid(nTagEnd + 1) : CString();
    return true;
}

void CHtmlTextStatic::DrawRun(const CString& run, DrawState& st)
{
    CDC& dc = m_memDC;
    LOGFONT lf = st.lf;
    lf.lfWeight = m_nBold > 0 ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = m_nItalic > 0;
    lf.lfUnderline = m_nUnderline > 0;
    lf.lfStrikeOut = m_nStrike > 0;
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOldFont = dc.SelectObject(&font);
    dc.SetTextColor(st.crText);
    if (st.bTransparent)
        dc.SetBkMode(TRANSPARENT);
    else {
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(st.crBack);
    }
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    const int h = tm.tmHeight;
    st.nLastDescent = tm.tmDescent;
    int yShift = 0;
    if (m_nSub > 0)
        yShift = tm.tmAscent / 2;
    else if (m_nSup > 0)
        yShift = -tm.tmAscent / 2;

    const int nSavedLeft = st.left;
    if (m_nCenter > 0) {
        int inner = st.rcClient.Width() - m_nLeftMargin - m_nRightMargin;
        st.left = st.rcClient.left + m_nLeftMargin + (inner - WidthOf(&dc, Widen(run, run.GetLength()))) / 2;
    }

    int nLastWidth = 0;
    int yLine = m_y;
    bool bStopped = false;
    std::wstring line;
    auto output = [&]() -> bool {
        if (m_y > st.rcClient.bottom - h) {
            bStopped = true;
            return false;
        }
        nLastWidth = WidthOf(&dc, line);
        if (!line.empty())
            ::TextOutW(dc.GetSafeHdc(), st.left + st.x, m_y + yShift, line.c_str(), (int)line.size());
        yLine = m_y;
        return true;
    };

    const char* p = run;
    const int n = run.GetLength();
    int pos = 0;
    const bool bMidLine = st.x > 0;
    if (!bMidLine) {
        while (pos < n && p[pos] == ' ')
            ++pos;
    }
    bool bFirstWord = true;
    while (pos < n && !bStopped) {
        // One word: up to and including a blank; a line feed ends it and the line.
        std::wstring word;
        int start = pos;
        bool bBreak = false;
        auto flush = [&](int end) { AppendAnsi(word, p + start, end - start); };
        while (pos < n) {
            char c = p[pos];
            if (c == kEntityMark && pos + 1 < n) {
                flush(pos);
                word += EntityCharacter((unsigned char)p[pos + 1]);
                pos += 2;
                start = pos;
            } else if (c == '\r') {
                flush(pos);
                ++pos;
                start = pos;
            } else if (c == '\n') {
                flush(pos);
                word += L' ';
                ++pos;
                start = pos;
                bBreak = true;
                break;
            } else if (c == ' ') {
                ++pos;
                flush(pos);
                start = pos;
                break;
            } else if (TextCharSize(p, size_t(n), size_t(pos)) == 2) {
                pos += 2;
            } else {
                ++pos;
            }
        }
        if (start < pos)
            flush(pos);

        std::wstring candidate = line + word;
        int room = st.right - st.left - st.x - 2;
        if (WidthOf(&dc, candidate) < room) {
            line = candidate;
        } else if (line.empty()) {
            // Too wide for any line: placed anyway, on a fresh line when the
            // run began behind other text.
            if (bFirstWord && bMidLine) {
                m_y += h;
                st.x = 0;
            }
            line = word;
        } else {
            if (!output())
                break;
            m_y += h;
            st.x = 0;
            line = word;
        }
        if (bBreak) {
            if (!output())
                break;
            m_y += h;
            st.x = 0;
            line.clear();
        }
        bFirstWord = false;
    }
    if (!bStopped && !line.empty() && output())
        st.x += nLastWidth;

    if (m_bInLink && !bStopped) {
        CRect rc(st.left + st.x - nLastWidth, yLine, st.left + st.x, yLine + h);
        m_linkRects.push_back(rc);
        m_linkTargets.Add(st.strTarget);
        if (m_bToolTips && m_toolTip.GetSafeHwnd() != NULL && !StartsWithNoCase(st.strTarget, "APP:") &&
            !StartsWithNoCase(st.strTarget, "\"APP:"))
            m_toolTip.AddTool(this, st.strTarget, &rc, m_linkRects.size());
    }
    st.left = nSavedLeft;
    dc.SelectObject(pOldFont);
}

void CHtmlTextStatic::DrawText(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!m_bRedraw && m_memDC.GetSafeHdc() != NULL) {
        pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_memDC, 0, 0, SRCCOPY);
        return;
    }

    ReleaseMemory();
    m_memDC.CreateCompatibleDC(pDC);
    m_memBitmap.CreateCompatibleBitmap(pDC, rcClient.Width(), rcClient.Height());
    m_pOldBitmap = m_memDC.SelectObject(&m_memBitmap);
    // What is under the control shows through a transparent one.
    m_memDC.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), pDC, 0, 0, SRCCOPY);
    m_bRedraw = FALSE;
    ClearLinks();

    CString text;
    GetWindowText(text);
    for (int i = 0; i < kEntityCount; ++i) {
        char mark[3] = {kEntityMark, (char)(i + 2), 0};
        text.Replace(kEntities[i].name, mark);
    }

    DrawState st;
    st.pDC = &m_memDC;
    st.rcClient = rcClient;
    st.crText = m_crText;
    st.crBack = m_crBack;
    st.bTransparent = (GetExStyle() & WS_EX_TRANSPARENT) != 0;
    if (!st.bTransparent)
        m_memDC.FillSolidRect(&rcClient, m_crBack);
    st.left = rcClient.left + m_nLeftMargin;
    st.right = rcClient.right - m_nRightMargin;
    st.x = 0;
    m_y = rcClient.top;
    st.bSizeChanged = false;
    st.nLastDescent = 0;

    memset(&st.base, 0, sizeof(st.base));
    if (m_bOwnFont)
        st.base = m_logFont;
    else {
        HFONT hFont = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
        if (hFont == NULL)
            hFont = (HFONT)::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT);
        if (hFont == NULL || ::GetObject(hFont, sizeof(LOGFONT), &st.base) == 0)
            ::GetObject(::GetStockObject(SYSTEM_FONT), sizeof(LOGFONT), &st.base);
    }
    st.lf = st.base;

    while (!text.IsEmpty()) {
        CString run;
        if (text[0] == '<') {
            if (ApplyTag(text, st)) {
                if (!m_bLineBreak)
                    continue;
            } else {
                run = "<";
                text = text.Mid(1);
            }
        } else {
            int nNext = text.Find('<');
            run = nNext < 0 ? text : text.Left(nNext);
            text = nNext < 0 ? CString() : text.Mid(nNext);
        }
        if (m_bLineBreak) {
            CFont font;
            font.CreateFontIndirect(&st.lf);
            CFont* pOld = m_memDC.SelectObject(&font);
            TEXTMETRIC tm;
            m_memDC.GetTextMetrics(&tm);
            m_memDC.SelectObject(pOld);
            m_y += tm.tmHeight;
            st.x = 0;
            m_bLineBreak = FALSE;
        } else {
            DrawRun(run, st);
        }
        if (m_nRulePending > 0) {
            CPen pen(PS_SOLID, m_nRuleSize, st.crText);
            CPen* pOldPen = m_memDC.SelectObject(&pen);
            m_memDC.MoveTo(st.left - m_nLeftMargin, m_y);
            m_memDC.LineTo(st.right + m_nRightMargin, m_y);
            m_memDC.SelectObject(pOldPen);
            m_y += m_nRuleSize;
            st.x = 0;
            m_nRulePending = 0;
        }
    }
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_memDC, 0, 0, SRCCOPY);
}
