// CPlazaViewItem: the hall window's left-hand home view: the own-user panel
// with the signature and four buttons (message, lock to this machine,
// release the lock, service) above the game list view.
#pragma once

#include <afxcmn.h>

#include <WidgetFoundationWnd.h>

#include "GameListView.h"
#include "SkinControlsEx.h"

class CClientDataCenter;
class CWidget;

// The own-user panel as the plaza hosts it: one widget of the plaza's
// widget manager, which keeps the signature shown and the rectangle it is
// written in (client coordinates of the plaza).
class IPlazaUserPanel
{
public:
    virtual ~IPlazaUserPanel() {}
    virtual CWidget* GetPanelWidget() = 0;
    // Places the panel and loads its skin.
    virtual void PlacePanel(const CRect& rect) = 0;
    virtual CRect GetSignatureRect() = 0;
    virtual CString GetSignature() = 0;
    virtual void SetSignature(LPCSTR pszSignature) = 0;
    // Takes the signature from the logged-on user's record.
    virtual void LoadUserSignature() = 0;
    // Takes the whole record, once it has arrived after a logon.
    virtual void UpdateUserInfo() {}
};

class CPlazaViewItem : public CWidgetFoundationWnd
{
public:
    enum
    {
        IDC_GAME_LIST = 1005,
        IDC_LOCK = 1014,
        IDC_RELEASE = 1015,
        IDC_SERVICE = 1016,
        IDC_SIGNATURE = 1017,
        IDC_MESSAGE = 1018,
        PANEL_HEIGHT = 119,
        LIST_TOP = 122,
        SIGNATURE_LIMIT = 40
    };

    CPlazaViewItem();
    virtual ~CPlazaViewItem();

    // Set before the window is made.
    void SetClientDataCenter(CClientDataCenter* pDataCenter);
    // The own-user panel; without one its place stays empty and there is
    // no signature to edit.
    void SetUserPanel(IPlazaUserPanel* pPanel) { m_pUserPanel = pPanel; }

    // Shows the lock or the release button by the user's flag.
    void SyncLockButtons();
    void RepaintUserPanel();
    void DeleteAllServerItems();

    CGameListView& GetGameListView() { return m_GameListView; }
    CEdit& GetSignatureEdit() { return m_SignatureEdit; }
    CRgnButtonEx& GetButton(UINT nID);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMessageButton();
    afx_msg void OnLockButton();
    afx_msg void OnReleaseButton();
    afx_msg void OnServiceButton();
    afx_msg LRESULT OnHallNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    bool IsLocked();
    void ShowLockState(bool bLocked);
    // Hides the edit and takes its text as the signature.
    void EndSignatureEdit();
    void MarkPanelDirty();

    CRgnButtonEx m_btLock;
    CRgnButtonEx m_btRelease;
    CRgnButtonEx m_btService;
    CRgnButtonEx m_btMessage;
    CEdit m_SignatureEdit;
    CToolTipCtrl m_ToolTip;
    CGameListView m_GameListView;
    IPlazaUserPanel* m_pUserPanel;
    CClientDataCenter* m_pDataCenter;
    CPicture m_ButtonTool;
};
