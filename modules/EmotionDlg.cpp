#include "EmotionDlg.h"

#include <stdio.h>

#include <XTVBufferDC.h>

#include "BrindleRes.h"
#include "IniFile.h"
#include "TextUnit.h"

BEGIN_MESSAGE_MAP(CEmotionDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_KILLFOCUS()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_NOTIFY(TCN_SELCHANGE, IDC_EMOTION_TAB, OnTabChange)
END_MESSAGE_MAP()

namespace
{

const RECT kPreviewLeft = {7, 29, 93, 115};
const RECT kPreviewRight = {181, 29, 267, 115};
const COLORREF kHoverFrame = RGB(28, 57, 208);
const COLORREF kPreviewFrame = RGB(0, 138, 255);

// "folder\name" into a path field; false when it does not fit.
bool JoinPath(char (&path)[MAX_PATH], const char* folder, const char* name)
{
    int length = snprintf(path, sizeof(path), "%s\\%s", folder, name);
    if (length < 0 || length >= int(sizeof(path))) {
        path[0] = '\0';
        return false;
    }
    return true;
}

void FrameBox(CDC& dc, const CRect& rect, COLORREF colour)
{
    CBrush brush(colour);
    dc.FrameRect(&rect, &brush);
}

} // namespace

CEmotionDlg::CEmotionDlg()
    : m_xEmotionDlg(this), m_lRefCount(0), m_pOwner(NULL), m_nPage(0), m_nHover(-1), m_nOldHover(-1),
      m_nPreviewSide(PREVIEW_NONE), m_nFrame(0), m_nFrameCount(0), m_ptGrid(0, 0), m_bTracking(false),
      m_bExtraPages(false), m_nVipLevel(0)
{}

CEmotionDlg::~CEmotionDlg()
{
    // A holder that releases without Destroy must not leave a window
    // behind on a freed object.
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    FreePages();
}

// ------------------------------------------------------------------ reference counting

ULONG CEmotionDlg::AddRef()
{
    return ULONG(::InterlockedIncrement(&m_lRefCount));
}

ULONG CEmotionDlg::Release()
{
    LONG count = ::InterlockedDecrement(&m_lRefCount);
    if (count == 0) {
        delete this;
        return 0;
    }
    return count > 0 ? ULONG(count) : 0;
}

HRESULT CEmotionDlg::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IEmotionDlg) || IsEqualGUID(iid, IID_IEmotionDlg2) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<IEmotionDlg2*>(&m_xEmotionDlg);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

ULONG CEmotionDlg::XEmotionDlg::AddRef()
{
    return Outer()->AddRef();
}

ULONG CEmotionDlg::XEmotionDlg::Release()
{
    return Outer()->Release();
}

HRESULT CEmotionDlg::XEmotionDlg::QueryInterface(REFGUID iid, void** out)
{
    return Outer()->QueryInterface(iid, out);
}

bool CEmotionDlg::XEmotionDlg::Create(CWnd* pOwner)
{
    return Outer()->CreatePicker(pOwner);
}

HWND CEmotionDlg::XEmotionDlg::GetSafeHwnd()
{
    return Outer()->GetSafeHwnd();
}

void CEmotionDlg::XEmotionDlg::Destroy()
{
    Outer()->DestroyPicker();
}

bool CEmotionDlg::XEmotionDlg::LoadConfig(const char* dir)
{
    return Outer()->LoadConfig(dir);
}

void CEmotionDlg::XEmotionDlg::GetSize(int size[2])
{
    Outer()->GetSize(size);
}

void CEmotionDlg::XEmotionDlg::ShowAt(int x, int y)
{
    Outer()->ShowAt(x, y);
}

void CEmotionDlg::XEmotionDlg::SetVipLevel(int level)
{
    Outer()->SetVipLevel(level);
}

// ------------------------------------------------------------------ the interface

bool CEmotionDlg::CreatePicker(CWnd* pOwner)
{
    if (m_hWnd != NULL)
        return false;
    // The template is Brindle's own.
    HINSTANCE previous = AfxGetResourceHandle();
    HMODULE brindle = ::GetModuleHandleA("Brindle.dll");
    if (brindle != NULL)
        AfxSetResourceHandle(brindle);
    m_pOwner = pOwner;
    BOOL created = CDialog::Create(IDD_EMOTION, NULL);
    AfxSetResourceHandle(previous);
    return created != FALSE;
}

void CEmotionDlg::DestroyPicker()
{
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

void CEmotionDlg::FreePages()
{
    for (Page& page : m_Pages)
        for (Cell& cell : page)
            delete cell.picture;
    m_Pages.clear();
}

bool CEmotionDlg::LoadConfig(const char* dir)
{
    if (m_Background.IsValid())
        return true;
    if (dir == NULL || *dir == '\0')
        return false;
    CString folder(dir);
    folder.TrimRight('\\');
    char config[MAX_PATH];
    if (!JoinPath(config, folder, "config.ini"))
        return false;
    m_strFolder = folder;
    m_strConfig = config;
    FreePages();

    CIniFile ini(config);
    char path[MAX_PATH];
    CString name;
    if (ini.GetString("emotion", "PagePath", name) > 0 && JoinPath(path, folder, name))
        m_PagePicture.Load(path);
    if (JoinPath(path, folder, "emotionbk.bmp"))
        m_Background.Load(path);
    char strip[MAX_PATH], back[MAX_PATH];
    JoinPath(strip, folder, "tabemotion.bmp");
    JoinPath(back, folder, "tabback.png");
    m_Tab.LoadPictures(strip, back);

    int pages = ini.GetInt("emotion", "pagecount", 0);
    for (int p = 1; p <= pages && p <= 64; ++p) {
        char section[32];
        snprintf(section, sizeof(section), "page%d", p);
        int first = ini.GetInt(section, "indexbegin", 0);
        int last = ini.GetInt(section, "indexend", -1);
        // Numbers past the grid are never shown, so they are not read.
        long count = last >= first ? long(last) - first + 1 : 0;
        if (count > CELLS)
            count = CELLS;
        Page page;
        for (long i = 0; i < count; ++i) {
            int number = int(first + i);
            snprintf(section, sizeof(section), "em%d", number);
            Cell cell = {NULL, {}};
            CString code, file, title;
            ini.GetString(section, "emotion", code);
            ini.GetString(section, "path", file);
            ini.GetString(section, "name", title);
            TextCopyField(cell.emotion.szCode, code);
            TextCopyField(cell.emotion.szName, title);
            if (!file.IsEmpty() && JoinPath(cell.emotion.szPath, folder, file)) {
                cell.picture = new CPicture;
                cell.picture->SetRetrieveAllFrames(true);
                if (!cell.picture->Load(cell.emotion.szPath)) {
                    delete cell.picture;
                    cell.picture = NULL;
                }
            }
            page.push_back(cell);
        }
        m_Pages.push_back(page);
    }
    return true;
}

void CEmotionDlg::GetSize(int size[2])
{
    if (m_Background.IsValid()) {
        size[0] = int(m_Background.GetWidth());
        size[1] = int(m_Background.GetHeight());
    } else {
        size[0] = COLUMNS * PITCH + MARGIN + MARGIN + 1;
        size[1] = ROWS * PITCH + MARGIN + MARGIN + 1;
    }
}

void CEmotionDlg::ShowAt(int x, int y)
{
    if (!::IsWindow(m_hWnd))
        return;
    int size[2];
    GetSize(size);
    MoveWindow(x, y, size[0], size[1]);
    ShowWindow(SW_SHOW);
}

CString CEmotionDlg::PageName(int page, const char* fallback) const
{
    CString name;
    char section[32];
    snprintf(section, sizeof(section), "page%d", page + 1);
    CIniFile(m_strConfig).GetString(section, "name", name, fallback);
    return name;
}

void CEmotionDlg::SetVipLevel(int level)
{
    m_bExtraPages = true;
    if (::IsWindow(m_Tab.m_hWnd) && m_Tab.GetItemCount() < 2 && level >= 1 && level <= 6)
        m_Tab.InsertItem(1, PageName(1, "vip表情"));
    m_nVipLevel = level;
}

// ------------------------------------------------------------------ the window

BOOL CEmotionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_strFolder.IsEmpty()) {
        // Res\Emotion of the folder above the program's folder.
        char program[MAX_PATH];
        DWORD length = ::GetModuleFileNameA(NULL, program, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            CString folder(program);
            for (int i = 0; i < 2; ++i) {
                int slash = folder.ReverseFind('\\');
                folder = slash >= 0 ? folder.Left(slash) : CString();
            }
            LoadConfig(folder + "\\Res\\Emotion\\");
        }
    }

    m_Tab.SubclassDlgItem(IDC_EMOTION_TAB, this);
    int tabs = m_bExtraPages ? int(m_Pages.size()) : (m_Pages.empty() ? 0 : 1);
    for (int i = 0; i < tabs; ++i)
        m_Tab.InsertItem(i, PageName(i, "默认"));
    m_Tab.SetCurSel(0);
    m_nPage = 0;
    m_ptGrid = m_Background.IsValid() ? CPoint(5, 28) : CPoint(0, 0);

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    return TRUE;
}

BOOL CEmotionDlg::PreTranslateMessage(MSG* pMsg)
{
    if (::IsWindow(m_ToolTip.m_hWnd))
        m_ToolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

// Enter and Escape leave the pop-up open.
void CEmotionDlg::OnOK() {}

void CEmotionDlg::OnCancel() {}

const CEmotionDlg::Cell* CEmotionDlg::CellAt(int index) const
{
    if (m_nPage < 0 || size_t(m_nPage) >= m_Pages.size() || index < 0)
        return NULL;
    const Page& page = m_Pages[size_t(m_nPage)];
    return size_t(index) < page.size() ? &page[size_t(index)] : NULL;
}

int CEmotionDlg::HitTest(CPoint point) const
{
    int x = point.x - m_ptGrid.x, y = point.y - m_ptGrid.y;
    if (x <= MARGIN || y <= MARGIN)
        return -1;
    int column = (x - MARGIN) / PITCH, row = (y - MARGIN) / PITCH;
    if (column >= COLUMNS || row >= ROWS)
        return -1;
    int index = column + row * COLUMNS;
    // A number whose picture did not load shows nothing to pick.
    const Cell* cell = CellAt(index);
    return cell != NULL && cell->picture != NULL ? index : -1;
}

int CEmotionDlg::NextPreviewSide(int side, int newColumn, int oldColumn)
{
    switch (side) {
    case PREVIEW_NONE:
        if (newColumn < 0)
            return PREVIEW_NONE;
        return newColumn < 6 ? PREVIEW_RIGHT : PREVIEW_LEFT;
    case PREVIEW_LEFT:
        if (newColumn < 0)
            return PREVIEW_NONE;
        return newColumn < 4 || (newColumn == 4 && oldColumn == 4) ? PREVIEW_RIGHT : PREVIEW_LEFT;
    default:
        if (newColumn < 0)
            return PREVIEW_NONE;
        return newColumn > 5 || (newColumn == 5 && oldColumn == 5) ? PREVIEW_LEFT : PREVIEW_RIGHT;
    }
}

const CPicture* CEmotionDlg::PreviewFrame() const
{
    const Cell* cell = CellAt(m_nHover);
    if (cell == NULL || cell->picture == NULL)
        return NULL;
    if (cell->picture->GetNumFrames() > 1)
        return m_nFrame < cell->picture->GetNumFrames() ? cell->picture->GetFrame(m_nFrame) : NULL;
    return m_nFrame == 0 ? cell->picture : NULL;
}

DWORD CEmotionDlg::FrameDelay() const
{
    const CPicture* frame = PreviewFrame();
    DWORD delay = frame != NULL ? frame->GetFrameDelay() : 0;
    return delay > DWORD(MIN_FRAME_DELAY) ? delay : DWORD(MIN_FRAME_DELAY);
}

CRect CEmotionDlg::PreviewRect() const
{
    return CRect(m_nPreviewSide == PREVIEW_LEFT ? kPreviewLeft : kPreviewRight);
}

void CEmotionDlg::ClearHover()
{
    m_nHover = -1;
    m_nOldHover = -1;
    m_nPreviewSide = PREVIEW_NONE;
    m_nFrame = 0;
    m_nFrameCount = 0;
    if (::IsWindow(m_hWnd))
        KillTimer(TIMER_PREVIEW);
}

BOOL CEmotionDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CEmotionDlg::OnPaint()
{
    CPaintDC paint(this);
    if (::IsWindow(m_Tab.m_hWnd)) {
        CRect tab;
        m_Tab.GetWindowRect(&tab);
        ScreenToClient(&tab);
        paint.ExcludeClipRect(&tab);
    }
    CRect client;
    GetClientRect(&client);
    CXTVBufferDC dc(&paint, client);
    HDC hdc = dc.GetSafeHdc();
    if (m_Background.IsValid())
        m_Background.Draw(hdc, 0, 0);

    if (size_t(m_nPage) < m_Pages.size()) {
        const Page& page = m_Pages[size_t(m_nPage)];
        for (size_t i = 0; i < page.size() && i < size_t(CELLS); ++i) {
            const CPicture* picture = page[i].picture;
            if (picture == NULL)
                continue;
            int x = int(i % COLUMNS) * PITCH + 9, y = int(i / COLUMNS) * PITCH + 30;
            if (picture->GetWidth() > DWORD(CELL) || picture->GetHeight() > DWORD(CELL))
                picture->Draw(hdc, x, y, 24, 24);
            else
                picture->Draw(hdc, x, y);
        }
    }

    if (m_nHover >= 0) {
        int column = m_nHover % COLUMNS, row = m_nHover / COLUMNS;
        CRect cell(CPoint(m_ptGrid.x + MARGIN + column * PITCH, m_ptGrid.y + MARGIN + row * PITCH), CSize(CELL, CELL));
        FrameBox(dc, cell, kHoverFrame);
    }
    if (m_nPreviewSide != PREVIEW_NONE) {
        CRect box = PreviewRect();
        dc.FillSolidRect(&box, RGB(255, 255, 255));
        FrameBox(dc, box, kPreviewFrame);
        if (const CPicture* frame = PreviewFrame()) {
            int cx = int(frame->GetWidth()), cy = int(frame->GetHeight());
            frame->Draw(hdc, box.left + (box.Width() - cx) / 2, box.top + (box.Height() - cy) / 2);
        }
    }
}

void CEmotionDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_bTracking = ::TrackMouseEvent(&track) != FALSE;
    }
    int hover = HitTest(point);
    if (hover == m_nHover)
        return;
    m_nOldHover = m_nHover;
    m_nHover = hover;
    m_nFrame = 0;
    const Cell* cell = CellAt(hover);
    m_nFrameCount = cell != NULL && cell->picture != NULL ? cell->picture->GetNumFrames() : 0;
    m_nPreviewSide = NextPreviewSide(m_nPreviewSide, hover >= 0 ? hover % COLUMNS : -1,
                                     m_nOldHover >= 0 ? m_nOldHover % COLUMNS : -1);
    Invalidate();
    if (hover >= 0)
        SetTimer(TIMER_PREVIEW, FrameDelay(), NULL);
    else
        KillTimer(TIMER_PREVIEW);
}

void CEmotionDlg::OnMouseLeave()
{
    m_bTracking = false;
    ClearHover();
    Invalidate();
}

void CEmotionDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_PREVIEW) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    KillTimer(TIMER_PREVIEW);
    if (m_nHover < 0 || m_nFrameCount < 2)
        return;
    m_nFrame = (m_nFrame + 1) % m_nFrameCount;
    CRect box = PreviewRect();
    InvalidateRect(&box);
    SetTimer(TIMER_PREVIEW, FrameDelay(), NULL);
}

void CEmotionDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    const Cell* cell = CellAt(m_nHover);
    if (cell == NULL)
        return;
    tagEmotion emotion = cell->emotion;
    if (m_nPage != 0 && m_nVipLevel == 0)
        TextCopyField(emotion.szCode, "/unem");
    ClearHover();
    if (m_pOwner != NULL && ::IsWindow(m_pOwner->GetSafeHwnd()))
        m_pOwner->SendMessage(WM_EMOTION_PICK, 0, (LPARAM)&emotion);
    if (::IsWindow(m_hWnd))
        ShowWindow(SW_HIDE);
}

void CEmotionDlg::OnKillFocus(CWnd* pNewWnd)
{
    CDialog::OnKillFocus(pNewWnd);
    ClearHover();
    ShowWindow(SW_HIDE);
}

// The focus stays on the pop-up itself: the dialog's default handling
// would hand it to the tab strip, and losing it hides the pop-up.
void CEmotionDlg::OnSetFocus(CWnd*)
{
    ShowWindow(SW_SHOW);
}

void CEmotionDlg::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    if (nState != WA_INACTIVE) {
        if (::GetFocus() != m_hWnd)
            ::SetFocus(m_hWnd);
        return;
    }
    CDialog::OnActivate(nState, pWndOther, bMinimized);
    ClearHover();
    ShowWindow(SW_HIDE);
}

void CEmotionDlg::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CDialog::OnActivateApp(bActive, dwThreadID);
    if (!bActive)
        ShowWindow(SW_HIDE);
}

void CEmotionDlg::OnTabChange(NMHDR*, LRESULT* pResult)
{
    int page = m_Tab.GetCurSel();
    if (page >= 0)
        m_nPage = page;
    ClearHover();
    Invalidate();
    *pResult = 0;
}
