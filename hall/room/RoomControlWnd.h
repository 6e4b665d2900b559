// The right-hand part of the hall window: a tab window holding the plaza
// page (tab 0), the open game room and at most one further web page, with
// the room's side panel column beside the tabs and a splitter between. It is
// the one place where a room is entered and closed.
//
// Ownership: each room view and side panel is counted; the window holds one
// reference of each and gives it back with Release when the room closes.
#pragma once

#include <afxcmn.h>
#include <afxtempl.h>

#include <functional>

#include <SkinWnd.h>

#include "CompEntry.h"
#include "HallRecords.h"
#include "HallWindows.h"
#include "RoomSplitter.h"
#include "RoomViewDialogs.h"
#include "RoomViewNeighbours.h"
#include "SkinTabEx.h"
#include "WebBrowserWnd.h"

class CClientDataCenter;
class CGame;
class CGameRoom;
class CGameTreeNode;
class CRoomViewItem;
class CRoomViewItemControl;

class CRoomControlWnd;
// The one room tab window while it lives.
extern CRoomControlWnd* g_pRoomControlWnd;

const WORD ROOM_TYPE_PERSONAL_INFO = 5;

class CRoomControlWnd : public CSkinWnd,
                        public ISplitterSink,
                        public IRoomTabWnd,
                        public IRoomControlWnd,
                        public IWebTabHost
{
public:
    enum
    {
        IDC_ROOM_TABS = 101,
        IDC_ROOM_SPLITTER = 102,
        kPanelWidth = 250,
        kGameIconId = 128,
        kHallIconId = 153,
    };

    CRoomControlWnd();
    ~CRoomControlWnd() override;

    // The room view, or null when the room was not entered.
    CRoomViewItem* EnterGameRoom(CGameRoom* pRoom, CGameTreeNode* pNode);
    bool CloseRoomTab(CRoomViewItem* pView);
    // Closes the room of the selected tab (or the last room); true when
    // nothing is left to close there.
    bool CloseCurrentRoom();
    bool CloseAllRooms();
    void OnLeaveHall() {}
    void ResetPersonalInfoState() { m_nPersonalState = -1; }
    bool CloseWebPageTab(CWebBrowserWnd* pPage);
    void SetTabFlash(int nItem);
    void ForwardToGameClients(const BYTE record[16]);
    DWORD GetFirstRoomId();
    CRoomViewItem* FindRoomView(DWORD dwServerID);
    void ActivateRoomView(CRoomViewItem* pView);
    // Shows or hides the side panel column (splitter and panel).
    void ShowSidePanelColumn(bool bShow);
    void LayoutControls();

    // IRoomTabWnd
    void ShowWebPage(LPCSTR pszUrl, BYTE cbFlag) override;
    void OpenWebPage(LPCSTR pszCaption, LPCSTR pszUrl, BYTE cbFlag) override;
    bool EnterRoom(CGameRoom* pRoom, CGameTreeNode* pNode) override { return EnterGameRoom(pRoom, pNode) != NULL; }
    void ShowChannelDialog() override { m_CompEntry.ShowChannelDialog(); }
    void CloseChannelDialog() override { m_CompEntry.CloseChannelDialog(); }
    void SelectChannelGame(int nIndex) override { m_CompEntry.SelectChannelGame(nIndex); }
    void RefreshRoomItemBars() override;

    // IRoomControlWnd
    HWND GetRoomTabHwnd() override { return GetSafeHwnd(); }
    void ShowSidePanel(CRoomViewItem* pView) override;
    void ActivateRoom(CRoomViewItem* pView) override { ActivateRoomView(pView); }
    void SetEnteringRoom(bool bEntering) override { m_bEnteringRoom = bEntering; }
    // Closing goes through the window's queue: the view asking may be in
    // the middle of its own handler.
    void CloseRoom(CRoomViewItem* pView) override;
    void QueryHallDataCenter(DWORD dwKindID) override;
    void SetListFlag(BYTE cbFlag) override;

    // IWebTabHost
    void OpenWebTab(LPCSTR pszUrl, BYTE cbFlag) override { ShowWebPage(pszUrl, cbFlag); }
    void CloseWebPage(CWebBrowserWnd* pPage) override { CloseWebPageTab(pPage); }

    // ISplitterSink
    bool OnSplitterButton(CSkinSplitter* pSkinSplitter, HWND hSplitter) override;
    bool OnSplitterEvent(CSkinSplitter* pSkinSplitter, int nPosition) override;

    // State, for the frame and tests.
    bool IsSidePanelShown() const { return m_bSidePanelShown; }
    bool IsPanelExpanded() const { return m_bPanelExpanded; }
    bool IsRoomMessageShowing() const { return m_bRoomMessageShowing; }
    void SetRoomMessageShowing(bool bShowing) { m_bRoomMessageShowing = bShowing; }
    bool IsEnteringRoom() const { return m_bEnteringRoom; }
    int GetPersonalInfoState() const { return m_nPersonalState; }
    const tagAccountNotice& GetPersonalInfo() const { return m_PersonalInfo; }
    int GetWebTabIndex() const { return m_nWebTabIndex; }
    INT_PTR GetRoomCount() const { return m_RoomViews.GetSize(); }
    CRoomViewItem* GetRoomView(INT_PTR i) const { return m_RoomViews[i]; }
    CRoomViewItemControl* GetSidePanel(INT_PTR i) const { return m_SidePanels[i]; }
    CRoomViewItem* GetCurrentRoomView() const { return m_pCurrentView; }
    CRoomViewDialogs& GetDialogs() { return m_Dialogs; }
    CRoomViewItemControl* GetCurrentSidePanel() const { return m_pCurrentPanel; }
    CSkinTabEx& GetTabCtrl() { return m_TabCtrl; }
    CRoomSplitter& GetSplitter() { return m_Splitter; }
    CWebBrowserWnd& GetPlazaPage() { return m_PlazaPage; }
    INT_PTR GetWebPageCount() const { return m_WebPages.GetSize(); }
    CImageList& GetImageList() { return m_ImageList; }
    DWORD GetLastRoomId() const { return m_dwLastRoomID; }
    // The room index of a tab, -1 for the plaza and the web-page tab.
    int RoomIndexOfTab(int nTab) const;
    // Room tabs and the web-page tab close by their close button; the
    // plaza's tab has none.
    bool HasCloseButton(const CSkinTabItem* pItem) const;
    // The image index of a game's tab icon; -1 when it has none.
    int GetGameIcon(CGame* pGame);

    // The hall data centre (the application's unless a test gives one).
    void SetHallDataCenter(CClientDataCenter* pDataCenter) { m_pHallDataCenter = pDataCenter; }
    // Where a game download starts; tests install their own.
    static std::function<bool(CGame* pGame, const char addresses[10][260])> s_StartDownload;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnTabMouse(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseViewMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReenterMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHallNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMailClicked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CClientDataCenter* HallDataCenter() const;
    // The version and installation checks; false when entering stops.
    bool CheckGameClient(CGame* pGame);
    void OfferDownload(CGame* pGame, const CString& strQuestion);
    int FindRoomIndex(CRoomViewItem* pView) const;
    int FindTabOfData(DWORD_PTR dwData) const;
    // Closes the web page or the room of a tab; never the plaza.
    void CloseTab(int nTab);
    void SelectAndNavigate(CWebBrowserWnd* pPage, LPCSTR pszUrl, BYTE cbFlag);
    // The frame re-lays the hall out.
    void LayoutHall(bool bPlazaFolded, bool bRoomWide);
    // Connects the current room; closes it when that fails.
    bool ConnectCurrentRoom();
    // Runs the personal-information form; true for OK (the form was sent).
    bool RunPersonalInfoForm(bool bPrefill);
    void OnPersonalInfoState(const tagAccountNotice* pNotice);
    void OnPersonalInfoAnswer(LPARAM lCode);
    // (8,1): the teams of the current room's game kind arrived.
    void OnTeamInfo(DWORD dwTeamID);
    void SetSplitterPicture();
    // The extra width the first room's tables do not need.
    int ExtraWidth(int cx) const;
    void DeleteRoomPair(int nIndex);

    CArray<CRoomViewItem*, CRoomViewItem*> m_RoomViews;
    CArray<CRoomViewItemControl*, CRoomViewItemControl*> m_SidePanels;
    CArray<DWORD, DWORD> m_IconKinds;
    CArray<int, int> m_IconIndexes;
    CArray<CWebBrowserWnd*, CWebBrowserWnd*> m_WebPages;
    int m_nWebTabIndex;
    bool m_bSidePanelShown;
    bool m_bRoomMessageShowing;
    bool m_bEnteringRoom;
    int m_nPersonalState;
    bool m_bPanelExpanded;
    CWebBrowserWnd m_PlazaPage;
    CSkinTabEx m_TabCtrl;
    CRoomViewItemControl* m_pCurrentPanel;
    CRoomViewItem* m_pCurrentView;
    CCompEntry m_CompEntry;
    CRoomSplitter m_Splitter;
    CImageList m_ImageList;
    tagAccountNotice m_PersonalInfo;
    DWORD m_dwLastRoomID;
    DWORD m_dwLastKindID;
    CClientDataCenter* m_pHallDataCenter;
    CRoomViewDialogs m_Dialogs;
    IRoomViewDialogs* m_pOldDialogs;
    IRoomTabWnd* m_pOldRoomTabs;
    IWebTabHost* m_pOldWebHost;
};
