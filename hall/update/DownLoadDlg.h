// The game download window: lists the download service's missions, tests
// each arrived package, queues it for the installer "Kestrum.exe" and talks
// with the installer over the copy-data channel until every game is in.
//
// The object outlives its window: the global attemper makes the window again
// (IDownLoadWnd) after it closed itself; everything of a window's life starts
// afresh at each creation.
#pragma once

#include <afxcmn.h>
#include <afxtempl.h>

#include <stddef.h>

#include "ChannelMessageSink.h"
#include "HallWindows.h"
#include "IPCCopyData.h"
#include "Picture.h"
#include "RgnButton.h"
#include "RgnDialog.h"
#include "SkinHeaderCtrl.h"
#include "SkinHyperLink.h"

class CDownLoadDlg;
class CListScrollWnd;

// One running download.
struct tagDownLoadMission
{
    WORD wID;         // the service's mission id, the row's item data
    DWORD dwTotal;    // KB
    WORD wTick;       // low 16 bits of the tick count at the last report
    DWORD dwReceived; // KB at the last report
    BYTE cbState;     // 0 prepared or failed, 1 downloading
};

// A downloaded game waiting for the installer; sent to it unchanged.
struct tagInstallStatus
{
    WORD wID;
    WORD wReserved;
    DWORD dwDone;     // from the installer
    DWORD dwTotal;    // from the installer
    char szText[260]; // the package's path
};
static_assert(sizeof(tagInstallStatus) == 272, "install record layout");
static_assert(offsetof(tagInstallStatus, dwDone) == 4 && offsetof(tagInstallStatus, szText) == 12,
              "install record layout");

// The block shared with the installer. Window handles are 32-bit on the wire.
struct tagInstallShare
{
    WORD wSize; // 12
    WORD wReserved;
    DWORD dwHallWnd;      // the download window, written by the hall
    DWORD dwInstallerWnd; // the installer's window, written by the installer
};
static_assert(sizeof(tagInstallShare) == 12, "installer block layout");

// The installer channel: main 1 from the installer, 2 and 3 to it.
enum
{
    INSTALL_MAIN_FROM_INSTALLER = 1,
    INSTALL_SUB_HELLO = 1,
    INSTALL_SUB_NOTE = 2,
    INSTALL_SUB_INSTALLED = 3,
    INSTALL_SUB_PROGRESS = 4,
    INSTALL_MAIN_RECORD = 2,
    INSTALL_SUB_RECORD = 1,
    INSTALL_MAIN_CONTROL = 3,
    INSTALL_SUB_TO_FRONT = 1,
    INSTALL_SUB_QUEUE_EMPTY = 2
};

// The controls of the template (IDD_DOWNLOAD).
#define IDC_DOWNLOAD_LIST 1055
#define IDC_DOWNLOAD_LINK 1100

// Sent to the main window once a game is installed (the plaza refreshes
// its game list).
#define WM_GAME_INSTALLED (WM_USER + 1234)

class CDownLoadHeader : public CSkinHeaderCtrl
{
public:
    void LoadPictures(LPCSTR pszFolder);

protected:
    void DrawHeaderBack(CDC* pDC, const CRect& rcClient) override;
    void DrawHeaderItem(CDC* pDC, int nItem, const CRect& rcItem, LPCTSTR pszText, int nFormat) override;

    CPicture m_Back;
    CPicture m_Item;
};

class CDownLoadList : public CListCtrl
{
public:
    CDownLoadList();

    void SetOwner(CDownLoadDlg* pOwner) { m_pOwner = pOwner; }
    // Columns, grid lines, 20-pixel rows, the disabled header, the pictures.
    void SetUp(LPCSTR pszFolder);
    // The nine bar pictures from "<folder>LafPgs\", the header's from the folder.
    void LoadPictures(LPCSTR pszFolder);
    // The row whose item data is the id, or -1.
    int FindRow(WORD wID) const;
    int GetSelectedRow() const { return m_nSelectedRow; }
    int GetSelectedID() const { return m_nSelectedID; }
    int GetHoverRow() const { return m_nHoverRow; }
    void ClearSelection();
    void Reset();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // Draws one row into pDC at rcRow (the progress column's bar included).
    void DrawRow(CDC* pDC, int nRow, const CRect& rcRow);

    CDownLoadHeader m_Header;

protected:
    void PreSubclassWindow() override;
    // The bar in rcBar: the empty set, then the filled part of nFill pixels.
    void DrawBar(CDC* pDC, const CRect& rcBar, int nSet, int nFill);

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    CDownLoadDlg* m_pOwner;
    CRect m_rcCell;
    int m_nHoverRow;
    int m_nSelectedRow;
    BOOL m_bClicked;
    int m_nDrawingRow;
    int m_nSelectedID;
    COLORREF m_crEven;
    COLORREF m_crOdd;
    CImageList m_RowHeight;
    CPicture m_Bars[3][3]; // [empty, download, install][left, middle, right]
};

class CDownLoadDlg : public CRgnDialog, public IChannelMessageSink, public IDownLoadWnd
{
public:
    CDownLoadDlg();
    virtual ~CDownLoadDlg();

    // IUnknownEx: counts on its own; the holder governs the object's life.
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT QueryInterface(REFGUID iid, void** out) override;
    // The installer's channel messages.
    bool OnChannelMessage(const tagIPCHead* head, const void* data, WORD dataSize, HWND sender) override;

    // IDownLoadWnd
    HWND GetDownLoadWindow() override { return m_hWnd; }
    bool CreateDownLoadWindow(CWnd* pParent) override;
    void CloseDownLoadWindow() override;

    // Starts the installer, or brings a running one forward; 1 when an
    // installer runs afterwards.
    int StartInstaller();

    // What a test reads.
    CDownLoadList& GetList() { return m_List; }
    INT_PTR GetMissionCount() const { return m_Missions.GetSize(); }
    const tagDownLoadMission* FindMission(WORD wID) const;
    INT_PTR GetInstallCount() const { return m_InstallQueue.GetSize(); }
    const tagInstallStatus* GetInstall(INT_PTR i) const { return m_InstallQueue[i]; }
    LPCSTR GetShareName() const { return m_szShareName; }
    HWND GetInstallerWindow() const { return m_hInstallerWnd; }
    DWORD GetInstallerProcessId() const { return m_ProcessInfo.dwProcessId; }
    LONG GetLastSpeed() const { return m_lLastSpeed; }

    // Where the shared block's names come from (a test makes one taken).
    typedef CString (*PFN_SHARE_NAME)();
    static PFN_SHARE_NAME SetShareNameMaker(PFN_SHARE_NAME pfn);
    // The installer program; "Kestrum.exe" beside the running program.
    static CString GetInstallerPath();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

    afx_msg LRESULT OnDownLoadNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDownLoadProgress(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPackageChecked(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void OnMissionAnnounced(const void* pRecord);
    void OnMissionProgress(WORD wID, LONG lReceived, LONG lTotal, bool bStoreSpeed);
    void OnMissionFailed(const void* pRecord);
    void OnMissionDone(const void* pRecord);
    void OnHallPackageReady();
    // A package whose test answered: queued and installed, or dropped.
    void OnPackageVerdict(WORD wID, LPCSTR pszPath, bool bWhole);
    void RemoveRowAndCloseWhenEmpty(int nRow);
    void OnInstallerHello(HWND hSender);
    void OnInstallProgress(const tagInstallStatus& status);
    void OnInstalled(const tagInstallStatus& status);
    // A sender window of the installer process this window started.
    bool IsInstallerWindow(HWND hSender) const;
    bool OpenShareBlock();
    void CloseShareBlock();
    void ForgetInstaller(bool bCloseHandles);
    void FreeRecords();
    WORD TickNow() const;
    void SendToInstaller(WORD wMain, WORD wSub, const void* pData, WORD wSize);
    int FindInstall(WORD wID) const;
    friend class CDownLoadList;
    // The selection moved to a row: IDOK is enabled for a running mission.
    void OnRowSelected(int nRow);

    ULONG m_ulSinkRef;
    CArray<tagDownLoadMission*, tagDownLoadMission*> m_Missions;
    CArray<tagInstallStatus*, tagInstallStatus*> m_InstallQueue;
    LONG m_lLastSpeed;
    CDownLoadList m_List;
    CListScrollWnd* m_pListScroll;
    CBitmap m_ScrollBitmap;
    CRgnButton m_btCancelOne;
    CRgnButton m_btQuit;
    CSkinHyperLink m_Link;
    CIPCRecvCopyData m_CopyDataRecv;
    HWND m_hInstallerWnd;
    HANDLE m_hShareMap;
    char m_szShareName[64];
    tagInstallShare* m_pShare;
    PROCESS_INFORMATION m_ProcessInfo;
};
