#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "ServiceServerRotation.h"

namespace
{

// Entries 0 to nCount - 1, told apart by their ports.
void ResetWithServers(CServiceServerRotation& rotation, int nCount, int nLastServerID)
{
    CServiceServerArray servers;
    for (int i = 0; i < nCount; ++i) {
        tagServiceServer server = {};
        server.szAddress[0] = char('a' + i);
        server.wPort = WORD(9000 + i);
        servers.Add(server);
    }
    rotation.Reset(servers, nLastServerID);
}

// The entries tried until none is left, as their ports' offsets.
std::vector<int> Attempts(CServiceServerRotation& rotation)
{
    std::vector<int> attempts;
    tagServiceServer server;
    while (rotation.GetNextServer(server) && attempts.size() < 10)
        attempts.push_back(server.wPort - 9000);
    return attempts;
}

} // namespace

TEST(ServiceServerRotation, TriesEveryEntryOnceFromTheLastReached)
{
    const struct
    {
        int nServers;
        int nLastServerID;
        std::vector<int> attempts;
    } kCases[] = {
        {3, 2, {2, 0, 1}},  {3, 0, {0, 1, 2}}, {3, 3, {0, 1, 2}}, // the saved index equals the count
        {3, 7, {0, 1, 2}}, // beyond the loaded entries: from the first, not "no server"
        {3, -1, {0, 1, 2}}, {1, 0, {0}},       {0, 0, {}},
    };
    for (const auto& c : kCases) {
        CServiceServerRotation rotation;
        ResetWithServers(rotation, c.nServers, c.nLastServerID);
        EXPECT_EQ(c.attempts, Attempts(rotation)) << c.nServers << " " << c.nLastServerID;
    }
}

TEST(ServiceServerRotation, TheEntryReachedIsSavedAndTriedFirstNextTime)
{
    // Three servers from entry 2: reached after one, two or three attempts.
    const int kReached[] = {2, 0, 1};
    for (int nAttempts = 1; nAttempts <= 3; ++nAttempts) {
        CServiceServerRotation rotation;
        ResetWithServers(rotation, 3, 2);
        tagServiceServer server;
        for (int i = 0; i < nAttempts; ++i)
            ASSERT_TRUE(rotation.GetNextServer(server));
        EXPECT_EQ(kReached[nAttempts - 1], rotation.OnConnected()) << nAttempts;
        ASSERT_TRUE(rotation.GetNextServer(server));
        EXPECT_EQ(kReached[nAttempts - 1], server.wPort - 9000);
    }
    CServiceServerRotation empty;
    EXPECT_EQ(-1, empty.OnConnected());
}
