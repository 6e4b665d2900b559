// A game list of 10,000 rooms in 200 games and 20 categories, written by the
// record writers into pages as the hall server sends them, handed to the
// data centre's socket sink, decoded into the game tree and built into the
// server tree. The baseline copies the same bytes in the same run, item by
// item, into memory of their own (what any reader that keeps the items must
// at least do). Prints the times for 1,000 to 10,000 rooms, then the ratio.
// Run by hand: game_list_bench [rounds].
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "ClientDataCenter.h"
#include "HallProtocol.h"
#include "HallProtocol.h"
#include "HallRecords.h"

namespace
{

const int kCategories = 20;
const int kGames = 200;
const int kItemsPerPage = 500; // well below the 65,535 bytes of a packet

struct tagMessage
{
    WORD wSubCmdID;
    std::vector<BYTE> Body;
};

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

template <class T> bool AddPages(std::vector<tagMessage>& messages, WORD wSubCmdID, const std::vector<T>& items)
{
    for (size_t offset = 0; offset < items.size(); offset += kItemsPerPage) {
        tagPagedList<T> page;
        page.lTotal = LONG(items.size());
        page.lOffset = LONG(offset);
        for (size_t i = offset; i < items.size() && i < offset + kItemsPerPage; ++i)
            page.Items.Add(items[i]);
        CSafeMemFile file;
        if (!PackRecord(file, page))
            return false;
        messages.push_back({wSubCmdID, std::vector<BYTE>(file.GetData(), file.GetData() + file.GetDataSize())});
    }
    return true;
}

// Categories, games and rooms, then the server tree's links: the categories
// under the root, the games under their categories, each room under its game.
bool MakeGameList(int nRooms, std::vector<tagMessage>& messages)
{
    std::vector<tagGameKindItem> categories(kCategories);
    std::vector<tagGameItem> games(kGames);
    std::vector<tagGameRoomItem> rooms(nRooms);
    std::vector<tagTreeLinkItem> links;
    for (int c = 0; c < kCategories; ++c) {
        categories[c].dwID = DWORD(1 + c);
        snprintf(categories[c].szName, sizeof(categories[c].szName), "类别%d", c);
        tagTreeLinkItem link = {DWORD(1 + c), 0, 1, "", DWORD(1 + c), LONG(c), 0};
        CopyTextField(link.szCaption, categories[c].szName);
        links.push_back(link);
    }
    for (int g = 0; g < kGames; ++g) {
        games[g].dwID = DWORD(100 + g);
        snprintf(games[g].szName, sizeof(games[g].szName), "游戏%d", g);
        snprintf(games[g].szFolderName, sizeof(games[g].szFolderName), "Game%d", g);
        tagTreeLinkItem link = {DWORD(1000 + g), DWORD(1 + g % kCategories), 2, "", games[g].dwID, LONG(g), 0};
        CopyTextField(link.szCaption, games[g].szName);
        links.push_back(link);
    }
    for (int r = 0; r < nRooms; ++r) {
        tagGameRoomItem& room = rooms[r];
        room.dwRoomID = DWORD(100000 + r);
        snprintf(room.szName, sizeof(room.szName), "房间%d", r);
        room.dwGameID = DWORD(100 + r % kGames);
        room.strAddressList.Format("10.%d.%d.1;10.%d.%d.2", r / 256 % 256, r % 256, r / 256 % 256, r % 256);
        room.wPort = WORD(9000 + r % 100);
        room.cbRoomKind = BYTE(r % 3);
        room.wChannelValue = WORD(r % 7);
        tagTreeLinkItem link = {DWORD(100000 + r), DWORD(1000 + r % kGames), 4, "", room.dwRoomID, LONG(r), 0};
        CopyTextField(link.szCaption, room.szName);
        links.push_back(link);
    }
    messages.clear();
    return AddPages(messages, HALL_SUB_S_GAME_LIST_CATEGORIES, categories) &&
           AddPages(messages, HALL_SUB_S_GAME_LIST_GAMES, games) &&
           AddPages(messages, HALL_SUB_S_GAME_LIST_ROOMS, rooms) &&
           AddPages(messages, HALL_SUB_S_GAME_LIST_SERVER_TREE, links);
}

// Decoded and built, timed; the shape is checked afterwards.
bool DecodeAndBuild(CClientDataCenter& dc, const std::vector<tagMessage>& messages, int nRooms, double& ms)
{
    dc.ResetLogonState(true);
    double start = Now();
    for (const tagMessage& message : messages)
        dc.OnSocketRead(0, HALL_MAIN_GAME_LIST, message.wSubCmdID, const_cast<BYTE*>(message.Body.data()),
                        WORD(message.Body.size()), NULL);
    ms = Now() - start;

    CGameTreeManager* tree = dc.GetGameTreeManager();
    CGameTreeNode* root = dc.GetServerTreeRoot();
    if (tree->GetGameRoomList().GetCount() != nRooms || root == NULL || root->GetChildCount() != kCategories)
        return false;
    for (POSITION pos = tree->GetGameRoomList().GetHeadPosition(); pos != NULL;) {
        if (tree->GetGameRoomList().GetNext(pos)->GetNodeCount() != 1)
            return false;
    }
    return true;
}

// The same bytes, item by item, each into memory of its own.
double CopyItems(const std::vector<tagMessage>& messages, std::vector<std::unique_ptr<BYTE[]>>& copies)
{
    copies.clear();
    double start = Now();
    for (const tagMessage& message : messages) {
        // The page head, then each item behind its 2-byte length.
        const BYTE* p = message.Body.data();
        const BYTE* end = p + message.Body.size();
        p += 8;
        WORD wCount = WORD(p[0] | p[1] << 8);
        p += 2;
        for (WORD i = 0; i < wCount && p + 2 <= end; ++i) {
            WORD wLength = WORD(p[0] | p[1] << 8);
            p += 2;
            std::unique_ptr<BYTE[]> copy(new BYTE[wLength]);
            memcpy(copy.get(), p, wLength);
            copies.push_back(std::move(copy));
            p += wLength;
        }
    }
    return Now() - start;
}

struct tagTiming
{
    int nRooms;
    size_t nBytes;
    double buildMs;
    double copyMs;
};

bool Measure(CClientDataCenter& dc, int nRooms, int rounds, tagTiming& timing)
{
    std::vector<tagMessage> messages;
    if (!MakeGameList(nRooms, messages)) {
        fprintf(stderr, "%d rooms: a page could not be written\n", nRooms);
        return false;
    }
    timing = {nRooms, 0, 0, 0};
    for (const tagMessage& message : messages)
        timing.nBytes += message.Body.size();
    std::vector<std::unique_ptr<BYTE[]>> copies;
    copies.reserve(size_t(nRooms) * 2 + kGames * 2 + kCategories * 2);
    // Best of the rounds, the two taking turns.
    for (int round = 0; round < rounds; ++round) {
        double buildMs = 0;
        if (!DecodeAndBuild(dc, messages, nRooms, buildMs)) {
            fprintf(stderr, "%d rooms: the tree is not the one sent\n", nRooms);
            return false;
        }
        double copyMs = CopyItems(messages, copies);
        if (round == 0 || buildMs < timing.buildMs)
            timing.buildMs = buildMs;
        if (round == 0 || copyMs < timing.copyMs)
            timing.copyMs = copyMs;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 5;
    if (rounds < 1)
        rounds = 1;
    CClientDataCenter dc;
    const int sizes[] = {1000, 2000, 5000, 10000};
    tagTiming timings[4];
    for (int i = 0; i < 4; ++i) {
        if (!Measure(dc, sizes[i], rounds, timings[i]))
            return 1;
    }
    dc.ResetLogonState(true);

    printf("game list: %d categories, %d games, rooms as listed; %d items a page; best of %d runs\n", kCategories,
           kGames, kItemsPerPage, rounds);
    printf("%6s %9s %12s %12s %8s %14s\n", "rooms", "bytes", "decode+build", "item copy", "ratio", "per room");
    for (const tagTiming& t : timings)
        printf("%6d %9u %9.2f ms %9.2f ms %7.2fx %11.3f us\n", t.nRooms, unsigned(t.nBytes), t.buildMs, t.copyMs,
               t.buildMs / t.copyMs, t.buildMs * 1000.0 / t.nRooms);
    const tagTiming& small = timings[0];
    const tagTiming& large = timings[3];
    printf("growth from %d to %d rooms: time x%.2f for x%.2f rooms\n", small.nRooms, large.nRooms,
           large.buildMs / small.buildMs, double(large.nRooms) / small.nRooms);
    printf("ratio decode+build/item copy at %d rooms: %.2fx\n", large.nRooms, large.buildMs / large.copyMs);
    return 0;
}
