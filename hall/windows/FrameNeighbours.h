// The main frame's neighbours that are built by their own classes: the room
// tab window, the item shop, the mail dialog, the plaza view and the friends
// module. The frame reaches them through this; the plain object does
// nothing (a neighbour not there yet), the application hands the frame one
// that forwards to the real windows, and tests one that records.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include "HallRecords.h"

class CGameTreeNode;

typedef CArray<tagUserValueItem, const tagUserValueItem&> COwnItemArray;

class CFrameNeighbours
{
public:
    virtual ~CFrameNeighbours() {}

    // Room tab window.
    // True when no room's game client runs, so every room could close.
    virtual bool CanCloseAllRooms() { return true; }
    // Closes every room; false when one refuses (its game client runs).
    virtual bool CloseAllRooms() { return true; }
    virtual void CloseChannelDialog() {}
    virtual void LeaveHall() {}
    // Enters the room of the display node pGame holds (a game node with
    // one room node).
    virtual void EnterRoom(CGameTreeNode* pGame) {}
    virtual void FlashRoomTab(WORD wItem) {}
    // The running game clients hear an own item's new value.
    virtual void ForwardOwnItem(const tagUserValueItem& item) {}
    virtual void ShowGameClientOfFirstRoom(bool bHidden) {}
    // The last personal-information record is forgotten (account switch).
    virtual void ResetPersonalInfoState() {}

    // Item shop (dialog template 113).
    virtual bool HasItemShop() { return false; }
    virtual void CreateItemShop() {}
    // Centres and shows it; opens the buy dialog for an item other than -1.
    virtual void ShowItemShop(int nItemID) {}
    virtual void CancelItemShop() {}
    virtual void DestroyItemShop() {}
    virtual void SetOwnItems(const COwnItemArray& items) {}
    virtual void ClearItemShopItems() {}
    virtual void RefreshItemShopUser() {}
    virtual void RemoveItemShopNotify() {}

    // Mail dialog (template 132), promotion and card recharge dialogs.
    virtual void ShowGameMail() {}
    virtual void CloseGameMail() {}
    virtual void ShowPromotion() {}
    virtual void ShowCardRecharge() {}
    // The registration dialog, run modally.
    virtual void RunRegister() {}

    // Plaza view.
    virtual void RefreshUserPanel() {}
    virtual void RefreshGameList() {}

    // Friends module.
    virtual void FriendsLogon(DWORD dwUserID) {}
    virtual void FriendsLogoff() {}
};

// The configuration update as the frame drives it; the plain object goes to
// the global units' updater, tests record.
class CFrameUpdater
{
public:
    virtual ~CFrameUpdater() {}
    virtual bool UpdateFile(LPCSTR pszUrl, LPCSTR pszLocalFile, CWnd* pNotifyWnd, int nKind);
    virtual bool UpdateAdBanner(DWORD dwInstalledVersion, int nBannerKind, CWnd* pNotifyWnd);
    virtual bool UpdateCompetitionEntry(DWORD dwInstalledVersion, CWnd* pNotifyWnd);
    virtual bool UpdateConfigFile(DWORD dwInstalledVersion, int nListKind, CWnd* pNotifyWnd);
    virtual bool ExtractZipFile(LPCSTR pszPath);
    virtual void LoadBulletin();
    virtual void DetachNotifyWindow();
    virtual void ReloadWordFilter();
};
