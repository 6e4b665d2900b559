// A hall server with something to show: the demo accounts (others are
// refused), their user attributes, the demo game tree with online counts, a
// welcome notice and the shop's purchases. Run by the demo world and by the tests that start the
// hall against it.
#pragma once

#include <atomic>
#include <map>
#include <mutex>

#include "DemoData.h"
#include "FrameServer.h"

class CDemoHall
{
public:
    // Answers the server's requests from now on; set before clients connect.
    void Attach(CFrameServer& server);
    // Where the tree sends the hall for a room; rooms without one get a port
    // nobody is told to serve.
    void SetRoomPort(DWORD dwRoomID, WORD wPort);
    // Logon requests seen and refused so far.
    int GetRefusedCount() const { return m_nRefused; }

private:
    void OnRequest(CFrameServer& server, const tagServerFrame& frame);
    void OnLogon(CFrameServer& server, const tagServerFrame& frame, bool bByUserID);
    void SendGameList(CFrameServer& server, const tagServerFrame& frame);
    void OnBuy(CFrameServer& server, const tagServerFrame& frame);
    WORD RoomPort(DWORD dwRoomID);

    std::atomic<int> m_nRefused{0};
    // The account logged on over each connection.
    std::map<int, DWORD> m_LoggedOn;
    std::map<DWORD, WORD> m_RoomPorts;
    // Pieces bought, by account and item.
    std::map<std::pair<DWORD, DWORD>, WORD> m_Owned;
    std::mutex m_Mutex;
};
