// A hidden child of the main frame that carries out the commands of the
// help menu and the tray menu, and holds the about dialog.
#pragma once

#include <afxwin.h>

#include "AboutDlg.h"
#include "SkinWnd.h"

enum
{
    IDM_SERVICE_PAGE = 1424,
    IDM_FAQ = 1425,
    IDM_SERVICE_CENTRE = 1426,
    IDM_OFFICIAL_SITE = 1427,
    IDM_ABOUT = 1428,
    IDM_SWITCH_ACCOUNT = 1429,
    IDM_EXIT_GAME = 1430,
    IDM_OPEN_MAIN = 1431,
};

class CMenuWnd : public CSkinWnd
{
public:
    CMenuWnd();
    ~CMenuWnd() override;

    CAboutDlg& GetAboutDlg() { return m_AboutDlg; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CAboutDlg m_AboutDlg;
};
