#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalUnits.h"
#include "StateTestSupport.h"

namespace
{

CGameRoom* MakeRoom(DWORD id, DWORD online = 0)
{
    CGameRoom* room = new CGameRoom(id);
    room->SetOnlineCount(online);
    return room;
}

CGameTreeNode* MakeNode(DWORD id, LONG order, DWORD type = TREE_ITEM_PLAIN, DWORD item = 0)
{
    CGameTreeNode* node = new CGameTreeNode(id);
    node->SetSortOrder(order);
    node->SetItemType(type);
    node->SetItemData(item);
    return node;
}

std::vector<DWORD> ChildIds(const CGameTreeNode* node)
{
    std::vector<DWORD> ids;
    for (INT_PTR i = 0; i < node->GetChildCount(); ++i)
        ids.push_back(node->GetChild(i)->GetNodeId());
    return ids;
}

TEST(GameTreeManager, DuplicateIdIsRefusedAndTheFirstItemStays)
{
    CGameTreeManager manager;
    CGame* first = new CGame(7);
    first->SetName("first");
    ASSERT_TRUE(manager.AddGame(first));
    std::unique_ptr<CGame> second(new CGame(7));
    EXPECT_FALSE(manager.AddGame(second.get()));
    EXPECT_FALSE(manager.AddGame(NULL));
    EXPECT_EQ(manager.FindGame(7), first);
    EXPECT_EQ(manager.GetGameCount(), 1);

    // Each list is its own id space.
    EXPECT_TRUE(manager.AddGameRoom(MakeRoom(7)));
    EXPECT_TRUE(manager.HasGameRoom(7));
    EXPECT_FALSE(manager.HasGameStation(7));
    EXPECT_EQ(manager.GetGameAt(0), first);
    EXPECT_EQ(manager.GetGameAt(1), nullptr);
    EXPECT_EQ(manager.GetGameAt(-1), nullptr);
}

// Thousands of ids, the extremes among them and ids alike in their low or
// high bits, each found after the index has grown many times; a cleared
// list finds none of them and takes them again.
TEST(GameTreeManager, EveryIdIsFoundAfterGrowthAndNoneAfterClearing)
{
    std::vector<DWORD> ids = {0, 0xFFFFFFFF, 1, 0x80000000};
    for (DWORD i = 2; i < 3000; ++i)
        ids.push_back(i % 2 == 0 ? i << 16 : 0x7FFF0000 + i);
    CGameTreeManager manager;
    for (int round = 0; round < 2; ++round) {
        for (DWORD id : ids)
            ASSERT_TRUE(manager.AddGameRoom(MakeRoom(id))) << id;
        std::unique_ptr<CGameRoom> again(new CGameRoom(0x7FFF0003));
        EXPECT_FALSE(manager.AddGameRoom(again.get()));
        for (DWORD id : ids) {
            ASSERT_NE(manager.FindGameRoom(id), nullptr) << id;
            EXPECT_EQ(manager.FindGameRoom(id)->GetId(), id);
        }
        EXPECT_EQ(manager.FindGameRoom(3), nullptr);
        EXPECT_EQ(manager.GetGameRoomList().GetCount(), INT_PTR(ids.size()));
        manager.ClearGameRooms();
        for (DWORD id : ids)
            ASSERT_EQ(manager.FindGameRoom(id), nullptr) << id;
    }
}

TEST(GameTreeManager, TotalOnlineSumsTheRooms)
{
    CGameTreeManager manager;
    manager.AddGameRoom(MakeRoom(1, 10));
    manager.AddGameRoom(MakeRoom(2, 32));
    manager.ComputeTotalOnline();
    EXPECT_EQ(manager.GetTotalOnline(), 42u);
    manager.SetTotalOnline(5);
    EXPECT_EQ(manager.GetTotalOnline(), 5u);
}

struct AddressCase
{
    const char* text;
    std::vector<std::string> addresses;
};

class RoomAddresses : public testing::TestWithParam<AddressCase>
{};

// From a text, and from a string the room splits in its own buffer (as the
// game list hands them over).
TEST_P(RoomAddresses, SplitAtSemicolons)
{
    CGameRoom copied(1), taken(2);
    copied.SetServerAddresses(GetParam().text);
    taken.SetServerAddresses(CString(GetParam().text));
    for (const CGameRoom* room : {&copied, &taken}) {
        std::vector<std::string> got;
        for (int i = 0; i < room->GetServerAddressCount(); ++i)
            got.push_back((LPCSTR)room->GetServerAddress(i));
        EXPECT_EQ(got, GetParam().addresses) << room->GetId();
        EXPECT_EQ(room->GetServerAddress(room->GetServerAddressCount()), CString());
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, RoomAddresses,
                         testing::Values(AddressCase{"10.0.0.1", {"10.0.0.1"}},
                                         AddressCase{"10.0.0.1;10.0.0.2", {"10.0.0.1", "10.0.0.2"}},
                                         AddressCase{";10.0.0.1", {";10.0.0.1"}},
                                         // A trailing separator leaves no empty address.
                                         AddressCase{"10.0.0.1;", {"10.0.0.1"}}, AddressCase{"", {}},
                                         AddressCase{"a;b;;c", {"a", "b", ";c"}},
                                         // A ";" right after a lead byte is that character's second byte.
                                         AddressCase{"\xD6;x;y", {"\xD6;x", "y"}}));

TEST(GameRoom, AddressTableHoldsAtMost128)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "h" + std::to_string(i) + ";";
    CGameRoom room(1);
    room.SetServerAddresses(text.c_str());
    EXPECT_EQ(room.GetServerAddressCount(), CGameRoom::kMaxServerAddresses);
    EXPECT_EQ(room.GetServerAddress(127), CString("h127"));

    // A shorter list replaces a longer one completely.
    room.SetServerAddresses("x;y");
    EXPECT_EQ(room.GetServerAddressCount(), 2);

    // A string from the wire may hold a zero: the addresses end there.
    room.SetServerAddresses(CString("a;b\0c;d", 7));
    EXPECT_EQ(room.GetServerAddressCount(), 2);
    EXPECT_EQ(room.GetServerAddress(1), CString("b"));
    room.SetServerAddresses(CString("\0a", 2));
    EXPECT_EQ(room.GetServerAddressCount(), 0);
}

TEST(GameTreeNode, ChildrenAreSortedStably)
{
    CGameTreeNode root(0);
    root.InsertChild(MakeNode(1, 2));
    root.InsertChild(MakeNode(2, 1));
    root.InsertChild(MakeNode(3, 2));
    root.InsertChild(MakeNode(4, -5));
    EXPECT_EQ(ChildIds(&root), (std::vector<DWORD>{4, 2, 1, 3}));
    EXPECT_EQ(root.GetChild(0)->GetParent(), &root);
    EXPECT_EQ(root.GetChild(9), nullptr);
}

TEST(GameTreeNode, FindNodeIsDepthFirst)
{
    CGameTreeNode root(0);
    CGameTreeNode* a = MakeNode(1, 0);
    CGameTreeNode* b = MakeNode(2, 1);
    root.InsertChild(a);
    root.InsertChild(b);
    CGameTreeNode* deep = MakeNode(5, 0);
    a->InsertChild(deep);
    CGameTreeNode* duplicate = MakeNode(5, 0);
    b->InsertChild(duplicate);
    EXPECT_EQ(root.FindNode(0), &root);
    EXPECT_EQ(root.FindNode(5), deep);
    EXPECT_EQ(root.FindNode(9), nullptr);
}

TEST(GameTreeNode, HasFlagsWantsEveryBit)
{
    CGameTreeNode node(1);
    node.SetFlags(0x101);
    EXPECT_TRUE(node.HasFlags(0x100));
    EXPECT_TRUE(node.HasFlags(0x101));
    EXPECT_FALSE(node.HasFlags(0x102));
}

// game
//  +- station A
//  |   +- room 1 (node 11)
//  |   +- room 2
//  +- room 1 again (node 21)
TEST(GameTreeNode, OnlineCountsAreSummedUpEveryChain)
{
    CGameTreeNode root(0);
    CGameTreeNode* game = MakeNode(1, 0, TREE_ITEM_GAME, 100);
    CGameTreeNode* station = MakeNode(2, 0, TREE_ITEM_STATION, 200);
    CGameTreeNode* room1 = MakeNode(11, 0, TREE_ITEM_ROOM, 1);
    CGameTreeNode* room2 = MakeNode(12, 1, TREE_ITEM_ROOM, 2);
    CGameTreeNode* room1again = MakeNode(21, 1, TREE_ITEM_ROOM, 1);
    root.InsertChild(game);
    game->InsertChild(station);
    station->InsertChild(room1);
    station->InsertChild(room2);
    game->InsertChild(room1again);

    CGameRoom first(1), second(2);
    first.AddNode(room1);
    first.AddNode(room1);
    first.AddNode(NULL);
    first.AddNode(room1again);
    second.AddNode(room2);
    EXPECT_EQ(first.GetNodeCount(), 2);

    second.SetOnlineCount(5);
    first.SetOnlineCount(10);
    EXPECT_EQ(room1->GetState(), 10u);
    EXPECT_EQ(room1again->GetState(), 10u);
    EXPECT_EQ(station->GetState(), 15u);
    EXPECT_EQ(game->GetState(), 25u);
    EXPECT_EQ(root.GetState(), 25u);

    first.SetOnlineCount(1);
    EXPECT_EQ(station->GetState(), 6u);
    EXPECT_EQ(root.GetState(), 7u);
}

TEST(GameTreeNode, DeletedNodesLeaveTheirRoom)
{
    CGameRoom room(1);
    CGameTreeNode* root = new CGameTreeNode(0);
    CGameTreeNode* node = MakeNode(11, 0, TREE_ITEM_ROOM, 1);
    root->InsertChild(node);
    room.AddNode(node);
    ASSERT_EQ(room.GetNodeCount(), 1);

    // The displayed tree is rebuilt while the room lives on.
    delete root;
    EXPECT_EQ(room.GetNodeCount(), 0);
    room.SetOnlineCount(3); // touches no freed node
    EXPECT_EQ(room.GetOnlineCount(), 3u);
}

TEST(GameTreeNode, NodesOutliveTheirRoom)
{
    CGameTreeNode root(0);
    CGameTreeNode* node = MakeNode(11, 0, TREE_ITEM_ROOM, 1);
    root.InsertChild(node);
    {
        CGameRoom room(1);
        room.AddNode(node);
        EXPECT_EQ(node->GetRoom(), &room);
    }
    EXPECT_EQ(node->GetRoom(), nullptr);
}

class GameFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        CGame* game = new CGame(30);
        game->SetFolderName("Chess");
        manager.AddGame(game);
    }

    CStateFolder folder;
    CGameTreeManager manager;
};

TEST_F(GameFiles, FolderAndProgramPath)
{
    std::string root = folder.Path().substr(0, folder.Path().size() - 1);
    EXPECT_EQ(std::string(manager.GetGameFolder(30)), root + "\\Chess");
    EXPECT_EQ(manager.GetGameFolder(31), CString());

    folder.Write("Chess\\CONFIG.INI", "[Public]\r\nExeName=ChessClient.exe\r\n");
    EXPECT_EQ(std::string(manager.GetGameExePath(30)), root + "\\Chess\\ChessClient.exe");
    EXPECT_EQ(manager.GetGameExePath(31), CString());
}

TEST_F(GameFiles, ProgramNameMissing)
{
    folder.Write("Chess\\CONFIG.INI", "[Public]\r\nVersion=3\r\n");
    EXPECT_EQ(manager.GetGameExePath(30), CString());
}

class ProgramNames : public testing::TestWithParam<std::pair<const char*, bool>>
{};

TEST_P(ProgramNames, StayInsideTheGameFolder)
{
    EXPECT_EQ(CGameTreeManager::IsNameInsideFolder(GetParam().first), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(Names, ProgramNames,
                         testing::Values(std::make_pair("Client.exe", true), std::make_pair("bin\\Client.exe", true),
                                         std::make_pair("..\\..\\Windows\\notepad.exe", false),
                                         std::make_pair("bin\\..\\x.exe", false),
                                         std::make_pair("C:\\Windows\\notepad.exe", false),
                                         std::make_pair("\\x.exe", false), std::make_pair("/x.exe", false),
                                         std::make_pair("bin/../../x.exe", false), std::make_pair(".. \\x.exe", false),
                                         std::make_pair("", false)));

// The folder name comes from the server and must stay one folder below ours.
TEST_F(GameFiles, ServerFolderNamesThatLeaveTheProgramFolderAreRefused)
{
    folder.Write("Chess\\CONFIG.INI", "[Public]\r\nExeName=ChessClient.exe\r\n");
    DWORD id = 40;
    for (const char* name : {"..\\Chess", "..", "Chess\\..\\..", "C:\\Chess", "a/b", "CON", "", "Chess."}) {
        CGame* game = new CGame(++id);
        game->SetFolderName(name);
        ASSERT_TRUE(manager.AddGame(game));
        EXPECT_EQ(manager.GetGameFolder(id), CString()) << name;
        EXPECT_EQ(manager.GetGameExePath(id), CString()) << name;
    }
}

TEST_F(GameFiles, ProgramOutsideTheFolderIsRefused)
{
    folder.Write("Chess\\CONFIG.INI", "[Public]\r\nExeName=..\\..\\evil.exe\r\n");
    EXPECT_EQ(manager.GetGameExePath(30), CString());
}

} // namespace
