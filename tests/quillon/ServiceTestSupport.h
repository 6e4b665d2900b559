// What the user-service tests share: a current folder with the server list,
// a window that records every notification of the data centre with a copy
// of its record, and an in-process socket that records what it is asked.
#pragma once

#include <winsock2.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "IClientSocket.h"
#include "QuillonProtocol.h"
#include "ServiceShareData.h"
#include "AfxModalScript.h"
#include "ServiceServer.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

// The one application object of a test program, made on first use.
CWinApp* TheTestApp();

struct tagHeardServiceNotify
{
    WORD wMainCmdID;
    WORD wSubCmdID;
    LONG lValue;         // the result (or the code, or the lParam itself)
    std::string strText; // (100,101) text, (200,204) nickname
    DWORD dwValue;       // (200,201) user id, (200,204) user id, (300,301) balance, (300,306) kind, (300,307) flag
    std::vector<std::pair<WORD, std::string>> Attrs; // (200,201), (200,202)
};

class CServiceRecorder
{
public:
    CServiceRecorder();
    ~CServiceRecorder();
    HWND GetHwnd() const { return m_hWnd; }

    std::vector<tagHeardServiceNotify> Heard;
    std::vector<tagHeardServiceNotify> Of(const tagNotifyKey& key) const;
    size_t Count(const tagNotifyKey& key) const { return Of(key).size(); }
    std::string Keys() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd;
};

// Every key the data centre raises.
extern const tagNotifyKey kServiceNotifyKeys[];
extern const size_t kServiceNotifyKeyCount;

// Makes the folder current for the test's length and writes
// Config\ServiceServerList.ini into it.
class CServiceFolder : public CTempFolder
{
public:
    CServiceFolder();
    ~CServiceFolder();
    // ServerCount entries; an empty address leaves the entry without IP.
    void WriteServers(const std::vector<std::pair<std::string, WORD>>& servers, int nLastServerID,
                      int nServerCount = -1);
    int ReadLastServerID() const;

private:
    std::string m_strOldFolder;
};

// A socket that records its calls; its connect outcome is given by the test
// through the sink it was handed.
class CRecordingSocket : public IClientSocket
{
public:
    ULONG AddRef() override { return ++m_nRefs; }
    ULONG Release() override { return --m_nRefs; }
    HRESULT QueryInterface(REFGUID iid, void** out) override;
    DWORD GetLastErrorCode() override { return m_dwLastError; }
    DWORD SetConnectTimeout(DWORD) override { return 0; }
    bool SetSocketSink(IUnknownEx*) override { return true; }
    IUnknownEx* GetSocketSink() override { return NULL; }
    DWORD GetSendPacketCount() override { return DWORD(Sent.size()); }
    DWORD GetRecvPacketCount() override { return 0; }
    DWORD GetConnectAddress() override { return 0; }
    BYTE GetSocketStatus() override { return SOCKET_STATUS_IDLE; }
    bool Connect(LPCSTR pszServerAddr, WORD wPort) override;
    bool Connect(DWORD, WORD) override { return false; }
    bool SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize) override;
    bool SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID) override
    {
        return SendData(dwSerialNum, wMainCmdID, wSubCmdID, NULL, 0);
    }
    bool CloseSocket(bool) override { return true; }

    struct tagSent
    {
        DWORD dwSerialNum;
        WORD wMainCmdID;
        WORD wSubCmdID;
        std::vector<BYTE> Body;
    };
    std::vector<std::string> Connects; // "address:port"
    std::vector<tagSent> Sent;
    bool bAcceptSend = true;
    DWORD m_dwLastError = 0;
    ULONG m_nRefs = 1;
};

// What the tests of the main dialog share: the scripted server named by the
// folder's server list, the program's command line naming a block of the
// hall, the block itself, and the modal script that runs the dialog.
class CServiceDialogTest : public testing::Test
{
public:
    // Starts the server and names a fresh block "<prefix><pid>_<n>" on the
    // command line of the application object, which must exist.
    void StartWithBlockName(const char* pszPrefix);
    void TearDown() override;

    void SetCommandLine(const std::string& text);
    // Writes the block under the name (the test's own when empty).
    void WriteBlock(const tagServiceShareData& block, const std::string& name = "");
    // The texts of the message boxes shown, in order.
    std::vector<std::string> Boxes() const;

    CServiceFolder m_Folder;
    CServiceServer m_Server;
    CModalScript m_Script;
    std::string m_strName;
    std::vector<char> m_CmdLine;
    HANDLE m_hBlock = NULL;
};
