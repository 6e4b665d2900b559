// The block a room shares with its game client, seen from another process,
// and its name's life.
#include "RoomTestSupport.h"

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <fstream>
#include <iterator>

namespace
{

// Runs the reader program on the block; its 24 bytes, or nothing.
std::vector<BYTE> ReadFromOtherProcess(const char* pszName)
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    std::string strOut = std::string(szTemp) + "share_block_" + std::to_string(GetCurrentProcessId()) + ".bin";
    DeleteFileA(strOut.c_str());
    std::string strCommand = std::string("share_block_reader.exe ") + pszName + " \"" + strOut + "\"";
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(NULL, &strCommand[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return {};
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::ifstream in(strOut, std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(strOut.c_str());
    return bytes;
}

std::string BlockName(long lNumber, time_t t)
{
    char szName[GAME_SHARE_NAME_MAX];
    snprintf(szName, sizeof(szName), GAME_SHARE_NAME_FORMAT, lNumber, 9100L, long(DWORD(t)),
             long(DWORD(ULONGLONG(t) >> 32)));
    return szName;
}

// The process-wide number in a block name of port 9100 made just now.
long NumberOf(const char* pszName)
{
    time_t now = time(NULL);
    for (time_t t = now - 2; t <= now; ++t) {
        for (long n = 1; n < 100000; ++n) {
            if (BlockName(n, t) == pszName)
                return n;
        }
    }
    return -1;
}

bool NameExists(const char* pszName)
{
    HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, pszName);
    if (h != NULL)
        CloseHandle(h);
    return h != NULL;
}

} // namespace

TEST_F(RoomTest, AnotherProcessReadsTheBlock)
{
    UseRoom("127.0.0.1", 9100);
    const char* pszName = m_pDataCenter->GetShareName();
    EXPECT_EQ(0, strncmp(pszName, "0x8", 3));
    EXPECT_LT(strlen(pszName), GAME_SHARE_NAME_MAX);
    std::vector<BYTE> bytes = ReadFromOtherProcess(pszName);
    ASSERT_EQ(24u, bytes.size());
    tagGameShareData block;
    memcpy(&block, bytes.data(), sizeof(block));
    EXPECT_EQ(24, block.wSize);
    EXPECT_EQ(0u, block.dwGameWnd);
    EXPECT_EQ(HandleToULong(m_MainWnd.GetSafeHwnd()), block.dwHallWnd);
    EXPECT_EQ(HandleToULong(m_pDataCenter->GetChannelWnd()->GetSafeHwnd()), block.dwChannelWnd);
    EXPECT_NE(0u, block.dwChannelWnd);
    for (BYTE cb : block.cbReserved)
        EXPECT_EQ(0, cb);

    std::string strName = pszName;
    m_pDataCenter->UninitRoomDataCenter();
    EXPECT_FALSE(NameExists(strName.c_str())) << "the name goes with the room";
    EXPECT_FALSE(IsWindow(HWND(ULongToHandle(block.dwChannelWnd))));
}

TEST_F(RoomTest, TwoRoomsOpenedTogetherGetTheirOwnBlocks)
{
    UseRoom("127.0.0.1", 9100);
    CRoomDataCenter second;
    ASSERT_TRUE(second.InitRoomDataCenter(&m_Room, ""));
    EXPECT_STRNE(m_pDataCenter->GetShareName(), second.GetShareName());
    second.UninitRoomDataCenter();
}

TEST_F(RoomTest, ACollidingNameRefusesTheRoomAndKeepsNoHandle)
{
    // The next room's name is this one's with the next number; the time in
    // seconds may move on meanwhile, so the prediction is tried again then.
    UseRoom("127.0.0.1", 9100);
    for (int attempt = 0; attempt < 5; ++attempt) {
        CRoomDataCenter probe;
        ASSERT_TRUE(probe.InitRoomDataCenter(&m_Room, ""));
        long lNumber = NumberOf(probe.GetShareName());
        ASSERT_LT(0, lNumber) << probe.GetShareName();
        probe.UninitRoomDataCenter();
        std::string strName = BlockName(lNumber + 1, time(NULL));
        const char* szName = strName.c_str();
        HANDLE hTaken = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 24, szName);
        ASSERT_NE(nullptr, hTaken);
        CRoomDataCenter colliding;
        bool bOpened = colliding.InitRoomDataCenter(&m_Room, "");
        if (bOpened) {
            // The second moved on: not the name we took.
            colliding.UninitRoomDataCenter();
            CloseHandle(hTaken);
            continue;
        }
        EXPECT_EQ(nullptr, colliding.GetShareData());
        CloseHandle(hTaken);
        EXPECT_FALSE(NameExists(szName)) << "the refused room kept a handle to the block";
        colliding.UninitRoomDataCenter();
        return;
    }
    FAIL() << "the time kept moving";
}
