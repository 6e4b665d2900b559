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

    CDemoWorld m_World;
};
