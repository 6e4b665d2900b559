// CGameChannelDlg: a small modeless dialog that lists the rooms of one game
// with their occupancy; a click on a room enters it.
#pragma once

#include <afxwin.h>

#include <Picture.h>
#include <RgnButton.h>

#include "RoomListWnd.h"

class CGameTreeNode;

class CGameChannelDlg : public CDialog
{
public:
    enum
    {
        IDD = 116,
        IDC_GAME_BOX = 1074,
        IDC_ROOM_LIST = 1075,
        CAPTION_HEIGHT = 24
    };

    CGameChannelDlg();
    virtual ~CGameChannelDlg();

    // Lists the rooms of the game at that place of the hall's game list.
    void SelectGame(int nIndex);
    CRoomListWnd& GetRoomList() { return m_RoomList; }
    CComboBox& GetGameBox() { return m_GameBox; }
    // The room node handed to the room tab window while a room is entered.
    CGameTreeNode* GetEnteringNode() const { return m_pRoomNode; }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnGameBoxChange();
    afx_msg LRESULT OnRoomChosen(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The room is still one of the hall's (the game list may have been
    // replaced while the choice was posted).
    static bool IsKnownRoom(CGameRoom* pRoom);

    CPicture m_Background;
    int m_nBackWidth;
    int m_nBackHeight;
    CRgnButton m_btClose;
    CRgnButton m_btOK;
    CComboBox m_GameBox;
    CRoomListWnd m_RoomList;
    CPicture m_CreateRoomBack;
    // The nodes handed to the room tab window while a room is entered.
    CGameTreeNode* m_pGameNode;
    CGameTreeNode* m_pRoomNode;
};
