// Notification hub: base of every data centre. A data centre never calls a
// window back; it sends (or posts) its one notification message to the
// windows registered for a (main, sub) key or for the serial number of a
// request they caused. wParam points to a tagNotifyHead, lParam carries the
// record of the key.
#pragma once

#include <windows.h>

#include <afxtempl.h>

// Head of every notification, passed by address in wParam.
struct tagNotifyHead
{
    DWORD dwSerialNum; // serial of the request answered; 0 for a plain notification
    WORD wMainCmdID;
    WORD wSubCmdID;
};
static_assert(sizeof(tagNotifyHead) == 8, "notification head is 8 bytes");

// The (main, sub) key that windows register for; each protocol names its
// keys once (HallProtocol.h).
struct tagNotifyKey
{
    WORD wMainCmdID;
    WORD wSubCmdID;
};

// Windows of one key, in registration order, each at most once.
typedef CArray<HWND, HWND> BN_INFO;

class CMessage
{
public:
    CMessage();
    virtual ~CMessage();

    // 0 switches notifications off; registrations are kept.
    void SetNotifyMessage(DWORD message) { m_dwNotifyMessage = message; }

    // Process-wide (shared by every hub); never 0.
    static DWORD NextSerialNumber();

    void AddSerialWindow(DWORD serial, HWND window);
    void AddNotifyWindow(WORD mainCmdID, WORD subCmdID, HWND window);
    void RemoveNotifyWindow(WORD mainCmdID, WORD subCmdID, HWND window);
    void AddNotifyWindow(const tagNotifyKey& key, HWND window)
    {
        AddNotifyWindow(key.wMainCmdID, key.wSubCmdID, window);
    }
    void RemoveNotifyWindow(const tagNotifyKey& key, HWND window)
    {
        RemoveNotifyWindow(key.wMainCmdID, key.wSubCmdID, window);
    }

    // Copy the registered windows into out; -1 (out untouched) when none were
    // ever registered.
    int GetSerialWindows(DWORD serial, BN_INFO& out) const;
    int GetNotifyWindows(WORD mainCmdID, WORD subCmdID, BN_INFO& out) const;

    void SendToWindows(const BN_INFO& windows, WPARAM wParam, LPARAM lParam);
    void SendSerialNotify(DWORD serial, WPARAM wParam, LPARAM lParam);
    void SendNotify(WORD mainCmdID, WORD subCmdID, WPARAM wParam, LPARAM lParam);
    // The head and whatever lParam points to must outlive every receiver.
    void PostNotify(const tagNotifyHead* head, LPARAM lParam);
    // Sends {0, main, sub} with lParam to the key's windows.
    void Notify(WORD mainCmdID, WORD subCmdID, LPARAM lParam);
    void Notify(const tagNotifyKey& key, LPARAM lParam) { Notify(key.wMainCmdID, key.wSubCmdID, lParam); }

protected:
    // Lets a test start the process-wide counter anywhere.
    static void SetSerialNumber(DWORD value);

private:
    typedef CMap<DWORD, DWORD, BN_INFO*, BN_INFO*> CWindowMap;

    CMessage(const CMessage&) = delete;
    CMessage& operator=(const CMessage&) = delete;

    static DWORD MakeKey(WORD mainCmdID, WORD subCmdID) { return (DWORD(mainCmdID) << 16) | subCmdID; }
    static void AddWindow(CWindowMap& map, DWORD key, HWND window);
    static int CopyWindows(const CWindowMap& map, DWORD key, BN_INFO& out);
    static void DeleteLists(CWindowMap& map);
    void SendToKey(const CWindowMap& map, DWORD key, WPARAM wParam, LPARAM lParam);

    DWORD m_dwNotifyMessage;
    CWindowMap m_SerialMap;
    CWindowMap m_NotifyMap;

    static DWORD s_dwSerialNum;
};
