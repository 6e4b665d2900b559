// The room dialogs as the room tab window hands them to its room views: the
// room and table password prompts, and the whisper windows of the room
// being shown. One room is open at a time, so the whisper windows belong to
// the room the window names as its current one; they go when it closes.
#pragma once

#include "RoomViewNeighbours.h"

class CPlayInfoPanel;
class CRoomChatDialogs;
class CRoomViewItem;

class CRoomViewDialogs : public IRoomViewDialogs
{
public:
    CRoomViewDialogs();
    ~CRoomViewDialogs() override;

    // The room whose whisper windows are used; null lets them go.
    void SetRoomView(CRoomViewItem* pView);
    // The player card; null until a player was clicked in the shown room.
    CPlayInfoPanel* GetPlayInfo() const { return m_pPlayInfo; }
    // The room closes: its windows go with it.
    void ForgetRoomView(CRoomViewItem* pView);

    bool RunRoomPassDlg(CWnd* pParent, CString& strPassword) override;
    bool RunTablePassDlg(CWnd* pParent, CString& strPassword) override;
    void ShowLargeFace(CWnd* pParent, const CUserItem* pUserItem) override;
    void ShowFindUser(CWnd*) override;
    // Fills the card and shows it at the room window's top right.
    void ShowPlayerInfo(CWnd* pParent, const CUserItem* pUserItem, const CRect& rect, DWORD dwPermissions) override;
    void HidePlayerInfoAway(CWnd* pParent) override;
    bool CreateWhisperWindow(CWnd* pParent, int nIndex) override;
    bool IsWhisperWindow(int nIndex) override;
    bool IsWhisperVisible(int nIndex) override;
    void ShowWhisper(int nIndex, DWORD dwUserID, LPCSTR pszText, COLORREF crColor) override;
    void DestroyWhisperWindow(int nIndex) override;
    void OnUserItemUpdate(CRoomViewItem* pView, CUserItem* pUserItem) override;
    void OnUserItemDelete(CRoomViewItem* pView, CUserItem* pUserItem) override;

private:
    CRoomViewDialogs(const CRoomViewDialogs&) = delete;
    CRoomViewDialogs& operator=(const CRoomViewDialogs&) = delete;

    CRoomViewItem* m_pView;
    CRoomChatDialogs* m_pChat;
    // The player card of the shown room, made on first use.
    CPlayInfoPanel* m_pPlayInfo;
};
