// A hall server with something to show: one demo account (others are
// refused), its user attributes, a small game tree with online counts and a
// welcome notice. Run by the demo program for a newcomer's first start and
// by the tests that start the hall against it.
#pragma once

#include "FrameServer.h"

namespace demohall
{
const char kAccount[] = "demo";
const char kPassword[] = "demo123";
const DWORD kUserID = 10001;
// Rooms of the tree (their servers are not run).
const DWORD kFirstRoomID = 100;
const int kRoomCount = 3;
} // namespace demohall

class CDemoHall
{
public:
    // Answers the server's requests from now on; set before clients connect.
    void Attach(CFrameServer& server);
    // Logon requests seen and refused so far.
    int GetRefusedCount() const { return m_nRefused; }

private:
    void OnRequest(CFrameServer& server, const tagServerFrame& frame);
    void OnLogon(CFrameServer& server, const tagServerFrame& frame, bool bByUserID);
    void SendGameList(CFrameServer& server, const tagServerFrame& frame);

    std::atomic<int> m_nRefused{0};
};
