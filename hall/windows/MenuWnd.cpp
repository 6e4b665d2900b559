#include "MenuWnd.h"

#include "ClientDataCenter.h"
#include "FrameTopWidget.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallApp.h"

CMenuWnd::CMenuWnd() {}

CMenuWnd::~CMenuWnd() {}

BOOL CMenuWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The menu window is the main frame's child.
    CWnd* pMainWnd = GetParent() != NULL ? GetParent() : AfxGetMainWnd();
    HWND hMainWnd = pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
    switch (LOWORD(wParam)) {
    case IDM_SERVICE_PAGE:
        if (CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter())
            pDataCenter->OpenServicePage(0, 0);
        return TRUE;
    case IDM_FAQ: g_GlobalUnits.OpenUserUrl(g_GlobalOption.GetOtherAction(2), false); return TRUE;
    case IDM_SERVICE_CENTRE: g_GlobalUnits.OpenUserUrl(g_GlobalOption.GetOtherAction(3), false); return TRUE;
    case IDM_OFFICIAL_SITE: OpenUrlInBrowser(g_GlobalOption.GetOtherAction(4), SW_SHOWNORMAL); return TRUE;
    case IDM_ABOUT:
        if (m_AboutDlg.GetSafeHwnd() == NULL)
            m_AboutDlg.Create(IDD_ABOUT, NULL);
        if (m_AboutDlg.GetSafeHwnd() != NULL)
            m_AboutDlg.ShowWindow(SW_SHOW);
        return TRUE;
    case IDM_SWITCH_ACCOUNT:
        if (hMainWnd != NULL)
            ::PostMessage(hMainWnd, WM_FRAME_SWITCH_ACCOUNT, 0, 0);
        return TRUE;
    case IDM_EXIT_GAME:
        if (hMainWnd != NULL)
            ::PostMessage(hMainWnd, WM_CLOSE, 0, 0);
        return TRUE;
    case IDM_OPEN_MAIN:
        if (IHallApp* pApp = CHallApp::Get())
            pApp->RestoreMainWindow();
        return TRUE;
    default: return CSkinWnd::OnCommand(wParam, lParam);
    }
}
