// Fixture of the hall data centre tests: a program folder with a server list,
// the scripted hall server on loopback, an application main window, the data
// centre itself and a window that records every notification it hears.
#pragma once

#include <winsock2.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "ClientDataCenter.h"
#include "GlobalUnits.h"
#include "HallProtocol.h"
#include "HallServer.h"
#include "MessagePump.h"
#include "StateTestSupport.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

// A message body as the server frames carry it.
inline std::vector<BYTE> Bytes(const CWireBytes& b)
{
    return b.Vector();
}

// A string of the hall's resources.
inline CString Res(UINT id)
{
    return g_GlobalUnits.LoadResString(id);
}

// One notification as heard, with a copy of what lParam pointed to.
struct tagHeardNotify
{
    HWND hWnd;
    DWORD dwSerialNum;
    WORD wMainCmdID;
    WORD wSubCmdID;
    LPARAM lParam;
    LONG lValue;                // (1,2) error, (1,6) result: what the pointer held
    std::string strText;        // (1,2) text
    tagLogonNotice Logon;       // (1,3)
    tagAccountNotice Account;   // (3,7)
    tagSystemMessage System;    // (4,1)
    tagUserValueItem UserValue; // (6,1)
};

// A window that takes every WM_HALL_NOTIFY it gets.
class CNotifyRecorder
{
public:
    CNotifyRecorder();
    ~CNotifyRecorder();
    HWND GetHwnd() const { return m_hWnd; }

    std::vector<tagHeardNotify> Heard;
    // The notifications of one key, in order.
    std::vector<tagHeardNotify> Of(WORD wMainCmdID, WORD wSubCmdID) const;
    size_t Count(WORD wMainCmdID, WORD wSubCmdID) const { return Of(wMainCmdID, wSubCmdID).size(); }
    std::vector<tagHeardNotify> Of(const tagNotifyKey& key) const { return Of(key.wMainCmdID, key.wSubCmdID); }
    size_t Count(const tagNotifyKey& key) const { return Of(key).size(); }
    // "(1,1)(1,2)..." of what was heard.
    std::string Keys() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd;
};

// The hall's main window as the user-service program sees it: it hands
// WM_COPYDATA to the data centre, as the frame does, and keeps what the data
// centre answered.
class CServiceHallWindow
{
public:
    explicit CServiceHallWindow(CClientDataCenter* dc);
    ~CServiceHallWindow();

    HWND m_hWnd;
    std::vector<bool> Notices;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    CClientDataCenter* m_pDataCenter;
};

class DataCenterTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // ServerList.ini with these servers (127.0.0.1, or IP only when ipOnly),
    // LastServerID 0, loaded into the options store.
    void UseServers(const std::vector<WORD>& ports, bool ipOnly = false);
    // Registers the recorder for every key the data centre raises.
    void ListenToAll();
    // Connects to the hall server and waits for (1,2).
    void ConnectToServer();
    // Waits until the server has n requests of (main, sub).
    std::vector<tagServerFrame> WaitRequests(WORD wMainCmdID, WORD wSubCmdID, size_t n = 1);
    // Sends a server message and waits until its notification key was heard
    // n more times.
    void SendAndHear(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body, const tagNotifyKey& notify,
                     size_t n = 1);
    // Sends a server message and waits for a marker message behind it (so
    // everything it caused has happened).
    void SendAndSettle(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body, DWORD dwSerialNum = 0);
    std::string MachineID();

    CStateFolder m_Folder;
    CHallServer m_Server;
    CWnd m_MainWnd;
    CClientDataCenter* m_pDataCenter = nullptr;
    CNotifyRecorder m_Recorder;
};

// Every key the data centre raises.
extern const tagNotifyKey kHallNotifyKeys[];
extern const size_t kHallNotifyKeyCount;
