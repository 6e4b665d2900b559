// CPlayInfoPanel: the player card a room window shows beside itself for
// another user of the room: face, nickname, title, state, id, score, game
// counts and rates, team and signature on a shaped skin picture. It hides as
// soon as the player works elsewhere. CLookBigFacePanel: the modal viewer of
// a user's custom face at its own size.
#pragma once

#include <afxcmn.h>

#include <Picture.h>
#include <RgnDialog.h>

#include "PPButton.h"

class CUserItem;

class CPlayInfoPanel : public CDialog
{
public:
    enum
    {
        IDC_LOOK_BIG_FACE = 1012,
        // Sent to the room window: wParam LOOK_BIG_FACE, lParam the user id.
        WM_PLAYER_COMMAND = WM_USER + 145,
        LOOK_BIG_FACE = 10,
        TITLE_ICON_COUNT = 13,
        MIN_BIG_FACE_WIDTH = 33
    };

    CPlayInfoPanel();
    ~CPlayInfoPanel() override;

    // Null is ignored.
    void SetRoomViewItem(CWnd* pRoomView);
    // Fills the card for a user; the card stays open while the cursor is in
    // the anchor (screen coordinates). A null user keeps the one shown.
    void ShowPlayerInfo(CUserItem* pUserItem, int nLeft, int nTop, int nRight, int nBottom, int nFlags = 0);
    // The room calls this when a user leaves: the card showing him hides and
    // forgets him.
    void OnUserItemDelete(CUserItem* pUserItem);
    CUserItem* GetUserItem() const { return m_pUserItem; }
    CPPButton& GetLookFaceButton() { return m_btLookFace; }

    static CString GetStatusText(BYTE cbStatus);
    // "%5.2f" of the whole percentage (the remainder dropped); 0 games: 0.
    static CString FormatRate(long nCount, long nTotal);
    // The text of line 1..11 for the user shown (empty without one).
    CString GetLineText(int nLine) const;

protected:
    BOOL OnInitDialog() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnLookBigFace();
    DECLARE_MESSAGE_MAP()

private:
    // True while the cursor is neither in the anchor nor on the card.
    bool IsCursorAway();
    void CreateLookFaceButton();

    CUserItem* m_pUserItem;
    CRect m_rcAnchor;
    int m_nWindowWidth;
    int m_nWindowHeight;
    CPicture m_Background;
    CImageList m_TitleIcons;
    CPPButton m_btLookFace;
    CWnd* m_pRoomView;
};

class CLookBigFacePanel : public CRgnDialog
{
public:
    explicit CLookBigFacePanel(DWORD dwUserID, CWnd* pParent = NULL);
    ~CLookBigFacePanel() override;

    BOOL OnInitDialog() override;
    // Where a face of that size is drawn in a client area of that size.
    static CRect FaceRect(int nClientWidth, int nClientHeight, int nFaceWidth, int nFaceHeight);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    DWORD m_dwUserID;
};
