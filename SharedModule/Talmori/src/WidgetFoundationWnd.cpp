#include "WidgetFoundationWnd.h"

#include "BufferDC.h"
#include "WidgetDC.h"

IMPLEMENT_DYNAMIC(CWidgetFoundationWnd, CWnd)

BEGIN_MESSAGE_MAP(CWidgetFoundationWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{
// Registers the host class once per process.
bool RegisterFoundationClass()
{
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return true;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASS wc;
    if (::GetClassInfo(hInstance, WIDGET_FOUNDATION_CLASS, &wc)) {
        s_bRegistered = true;
        return true;
    }
    memset(&wc, 0, sizeof(wc));
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInstance;
    wc.hIcon = NULL;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = NULL;
    wc.lpszClassName = WIDGET_FOUNDATION_CLASS;
    s_bRegistered = AfxRegisterClass(&wc) != FALSE;
    return s_bRegistered;
}
} // namespace

CWidgetFoundationWnd::CWidgetFoundationWnd() : m_EventBuildHelper(&m_WidgetManager) {}

CWidgetFoundationWnd::~CWidgetFoundationWnd() {}

BOOL CWidgetFoundationWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterFoundationClass())
        return FALSE;
    cs.lpszClass = WIDGET_FOUNDATION_CLASS;
    return CWnd::PreCreateWindow(cs);
}

LRESULT CWidgetFoundationWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_EventBuildHelper.BuildEvent(m_hWnd, message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

int CWidgetFoundationWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_WidgetManager.SetParentHwnd(m_hWnd);
    return 0;
}

BOOL CWidgetFoundationWnd::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CWidgetFoundationWnd::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CBufferDC dcBuffer(dcPaint.GetSafeHdc(), CRect(dcPaint.m_ps.rcPaint));
    CWidgetDC dc(&dcBuffer, rcClient);
    m_WidgetManager.DrawWidgetsTo(&dc);
}
