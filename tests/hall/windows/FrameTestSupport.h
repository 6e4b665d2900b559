// Fakes around the main frame: an application that hands out a recording
// hall data centre, neighbours and an updater that write into one call log.
#pragma once

#include <afxwin.h>

#include <string>

#include "ClientDataCenter.h"
#include "FrameNeighbours.h"
#include "HallApp.h"

// Every fake appends "name args;" here, so a test reads the order.
struct CallLog
{
    std::string text;
    void Add(const std::string& call) { text += call + ";"; }
    std::string Take()
    {
        std::string taken;
        taken.swap(text);
        return taken;
    }
};

class RecordingDataCenter : public CClientDataCenter
{
public:
    explicit RecordingDataCenter(CallLog& log) : m_log(log) {}
    bool ConnectServer() override;
    bool SendLogon(DWORD& dwSerialNum, HWND hWnd, const tagLogonInput& input) override;
    bool SendMachineLogon(DWORD& dwSerialNum, HWND hWnd) override;
    bool CloseSocket() override;
    bool SubscribeOnlineCounts() override;
    bool SendLogoff(bool bClose) override;
    bool OpenServicePage(DWORD dwPageGroup, DWORD dwPageIndex) override;
    bool OnServiceCopyData(HWND hSender, const COPYDATASTRUCT* pCopyData) override;

private:
    CallLog& m_log;
};

class RecordingApp : public IHallApp
{
public:
    explicit RecordingApp(CallLog& log);
    ~RecordingApp() override;
    CClientDataCenter* GetClientDataCenter() override { return &dataCenter; }
    bool IsLoggedOn() override { return loggedOn; }
    void RestoreMainWindow() override { m_log.Add("restore"); }
    void LogonAgain() override { m_log.Add("logonAgain"); }
    bool ShowUrlInPlaza(LPCSTR pszUrl, BYTE cbFlag, int nMode) override;

    RecordingDataCenter dataCenter;
    bool loggedOn = true;

private:
    CallLog& m_log;
    IHallApp* m_pPrevious;
};

class RecordingNeighbours : public CFrameNeighbours
{
public:
    explicit RecordingNeighbours(CallLog& log) : m_log(log) {}
    bool CanCloseAllRooms() override;
    bool CloseAllRooms() override;
    void CloseChannelDialog() override { m_log.Add("closeChannel"); }
    void LeaveHall() override { m_log.Add("leaveHall"); }
    void EnterRoom(CGameTreeNode* pGame) override;
    void FlashRoomTab(WORD wItem) override { m_log.Add("flash " + std::to_string(wItem)); }
    void ForwardOwnItem(const tagUserValueItem& item) override
    {
        m_log.Add("forward " + std::to_string(item.dwItemID));
    }
    void ShowGameClientOfFirstRoom(bool bHidden) override { m_log.Add(bHidden ? "gameHidden" : "gameShown"); }
    bool HasItemShop() override { return hasShop; }
    void CreateItemShop() override;
    void ShowItemShop(int nItemID) override { m_log.Add("shop " + std::to_string(nItemID)); }
    void CancelItemShop() override { m_log.Add("cancelShop"); }
    void DestroyItemShop() override { m_log.Add("destroyShop"); }
    void SetOwnItems(const COwnItemArray& items) override { m_log.Add("items " + std::to_string(items.GetSize())); }
    void ClearItemShopItems() override { m_log.Add("clearShopItems"); }
    void RefreshItemShopUser() override { m_log.Add("shopUser"); }
    void CloseGameMail() override { m_log.Add("closeMail"); }
    void RunRegister() override { m_log.Add("register"); }
    void RefreshUserPanel() override { m_log.Add("userPanel"); }
    void FriendsLogon(DWORD dwUserID) override { m_log.Add("friendsLogon " + std::to_string(dwUserID)); }
    void FriendsLogoff() override { m_log.Add("friendsLogoff"); }

    bool roomsRefuse = false;
    bool hasShop = false;

private:
    CallLog& m_log;
};

class RecordingUpdater : public CFrameUpdater
{
public:
    explicit RecordingUpdater(CallLog& log) : m_log(log) {}
    bool UpdateFile(LPCSTR pszUrl, LPCSTR pszLocalFile, CWnd* pNotifyWnd, int nKind) override;
    bool UpdateAdBanner(DWORD dwInstalledVersion, int nBannerKind, CWnd* pNotifyWnd) override;
    bool UpdateCompetitionEntry(DWORD dwInstalledVersion, CWnd* pNotifyWnd) override;
    bool UpdateConfigFile(DWORD dwInstalledVersion, int nListKind, CWnd* pNotifyWnd) override;
    bool ExtractZipFile(LPCSTR pszPath) override;
    void LoadBulletin() override { m_log.Add("bulletin"); }
    void DetachNotifyWindow() override { m_log.Add("detach"); }
    void ReloadWordFilter() override { m_log.Add("wordFilter"); }

private:
    CallLog& m_log;
};
