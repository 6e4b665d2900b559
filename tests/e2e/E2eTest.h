// The roads' fixture: the demo world on free ports, the hall started from a
// program folder against it, and readers of what the servers saw.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DemoWorld.h"
#include "HallProcess.h"

class E2eTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_World.Start()); }
    void TearDown() override { m_World.Stop(); }

    // The accounts of the logon requests (by account) the hall server saw.
    std::vector<std::string> LogonAccounts();
    // Started, logged on with the demo account, the frame up and its game
    // tree filled; answers the frame and the tree.
    void StartAndLogOn(e2e::HallProcess& hall, HWND& hFrame, HWND& hTree);
    // The requests of that command a server saw, in order.
    static std::vector<tagServerFrame> Requests(CFrameServer& server, WORD wMainCmdID, WORD wSubCmdID);
    static bool WaitRequests(CFrameServer& server, WORD wMainCmdID, WORD wSubCmdID, size_t nCount = 1);
    // The commands a server saw, for failure messages.
    static std::string DescribeRequests(CFrameServer& server);
    // Double-clicks the room's item in the tree as a player would.
    static void DoubleClickRoom(e2e::HallProcess& hall, HWND hTree, const demodata::tagRoom& room);
    // The same; answers
    // the room's table view (tool bar and grid) once the room is entered and
    // its player list shows the player.
    void EnterFromTree(e2e::HallProcess& hall, HWND hFrame, HWND hTree, const demodata::tagRoom& room,
                       HWND& hTableView);
    // The shown room's table view: its tool bar strip over the grid.
    static HWND FindTableView(HWND hFrame);
    // A shown list of the frame has a row naming the player.
    static bool ListsShow(e2e::HallProcess& hall, HWND hFrame, const std::string& nickName);
    // What the room's chat displays show.
    static std::string ChatText(HWND hFrame);

    CDemoWorld m_World;
};
