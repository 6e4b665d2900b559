// A room's whisper windows and its find-player dialog, as the room's dialog
// holder makes and shows them for the room view: whisper windows by pool
// index, each bound to the player the view names, the find-player dialog
// made on first use and kept for the life of the room.
#pragma once

#include <afxwin.h>

#include "RoomViewItem.h"

class CFindUserDlg;
class CShortMessage;

class CRoomChatDialogs
{
public:
    explicit CRoomChatDialogs(CRoomViewItem* pView);
    ~CRoomChatDialogs();

    bool CreateWhisperWindow(int nIndex);
    bool IsWhisperWindow(int nIndex) const;
    bool IsWhisperVisible(int nIndex) const;
    // Binds the window to the player and shows it; a text is his message.
    void ShowWhisper(int nIndex, DWORD dwUserID, LPCSTR pszText, COLORREF crColour);
    void DestroyWhisperWindow(int nIndex);
    CShortMessage* GetWhisper(int nIndex) const;

    void ShowFindUser();
    CFindUserDlg* GetFindUserDlg() const { return m_pFindUser; }
    // A room user changed or is about to be deleted: the find dialog's rows
    // follow (its list holds user items, which must not outlive the user).
    void OnUserItemUpdate(CUserItem* pUserItem);
    void OnUserItemDelete(CUserItem* pUserItem);

private:
    CRoomChatDialogs(const CRoomChatDialogs&) = delete;
    CRoomChatDialogs& operator=(const CRoomChatDialogs&) = delete;

    CRoomViewItem* m_pView;
    CShortMessage* m_pWhispers[MAX_WHISPER_WINDOWS];
    CFindUserDlg* m_pFindUser;
};
