// The hall program's one application object: brings the hall up in a fixed
// order (single instance, system libraries, global units, skin, scroll-bar
// hooks, options, data centre, hidden frame, logon, post-logon set-up),
// takes it down again, and offers the windows the application's services.
#pragma once

#include <afxwin.h>

#include "AccountsStore.h"
#include "DlgLogon.h"
#include "DownLoadDlg.h"
#include "HallApp.h"
#include "HallFileUpdateHost.h"
#include "HallNeighbours.h"
#include "HallLinks.h"
#include "PlazaViewItem.h"
#include "SkinRecordFile.h"

class CClientDataCenter;
class CGameFrame;
class CPopupWnd;

class CGamePlazaApp : public CWinApp, public IHallApp, public IHallLinkHandler
{
public:
    CGamePlazaApp();
    ~CGamePlazaApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

    // IHallApp
    CClientDataCenter* GetClientDataCenter() override { return m_pClientDataCenter; }
    bool IsLoggedOn() override { return m_bLogon; }
    void RestoreMainWindow() override;
    void LogonAgain() override;
    bool ShowUrlInPlaza(LPCSTR pszUrl, BYTE cbFlag, int nMode) override;

    void ShowPopupMessage(LPCSTR pszText) override;
    // The own-user panel the plaza view shows; set before InitInstance.
    void SetUserPanel(IPlazaUserPanel* pPanel) { m_pUserPanel = pPanel; }
    // IHallLinkHandler: a hall link from a page; 0 leaves it to the browser.
    int HandleHallUrl(LPCSTR pszUrl) override;

private:
    void StartAfterLogon();
    // The plaza after a logon: the own-user panel shows the logged-on user, the
    // lock buttons follow the flag.
    void SyncPlazaView();

    CSkinRecordFile m_SkinRecordFile;
    CClientDataCenter* m_pClientDataCenter;
    bool m_bLogon;
    // The message loop ran: only then is the last message a quit code.
    bool m_bLoopRan;
    CPopupWnd* m_pPopupWnd;
    IPlazaUserPanel* m_pUserPanel;
    CDlgLogon m_DlgLogon;
    CAccountsStore m_AccountsStore;
    CHallFileUpdateHost m_FileUpdateHost;
    // The game download window: the object lives with the application, its
    // window is made on the first download.
    CDownLoadDlg m_DownLoadDlg;
    // What the frame reaches of the plaza view, the item shop, the
    // registration form and the room tab window.
    CHallNeighbours m_Neighbours;
};
