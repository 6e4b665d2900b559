// The server tree on a game tree made by hand: texts of any length and
// content, items the tree manager lacks, the enter button and its room.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "GameRoom.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "ServerItemView.h"
#include "StateTestSupport.h"
#include "TextUnit.h"

namespace
{

CGameTreeNode* AddNode(CGameTreeNode* parent, DWORD id, DWORD type, DWORD item, LPCSTR caption = "")
{
    CGameTreeNode* node = new CGameTreeNode(id);
    node->SetItemType(type);
    node->SetItemData(item);
    node->SetText(caption);
    parent->InsertChild(node);
    return node;
}

struct EnterSink : IOnPenSink
{
    void OnEnterButton(CGameRoom* pRoom, HTREEITEM, CServerItemView*, CGameTreeNode* pNode) override
    {
        rooms.push_back(pRoom != NULL ? pRoom->GetId() : 0);
        nodes.push_back(pNode);
    }
    std::vector<DWORD> rooms;
    std::vector<CGameTreeNode*> nodes;
};

class ServerItemViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(m_Folder);
        g_GlobalUnits.SetGameTreeManager(&m_Manager);
        CGame* game = new CGame(10);
        game->SetName("斗地主");
        game->SetFolderName("Landlord");
        m_Manager.AddGame(game);
        for (DWORD id : {100u, 101u, 102u}) {
            CGameRoom* room = new CGameRoom(id);
            room->SetName(("room" + std::to_string(id)).c_str());
            room->SetGameId(10);
            m_Manager.AddGameRoom(room);
        }
        // root: game 10 > station 20 (missing from the manager) > rooms
        // 100, 101; room 102 under the game; category 1 missing.
        m_Game = AddNode(&m_Root, 1, TREE_ITEM_GAME, 10);
        m_Station = AddNode(m_Game, 2, TREE_ITEM_STATION, 20, "站点");
        AddNode(m_Station, 3, TREE_ITEM_ROOM, 100);
        AddNode(m_Station, 4, TREE_ITEM_ROOM, 101);
        AddNode(m_Game, 5, TREE_ITEM_ROOM, 102);
        AddNode(&m_Root, 6, TREE_ITEM_CATEGORY, 1, "无此类");
        m_hHost = CreateWindowA("STATIC", "host", WS_POPUP, 0, 0, 300, 400, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_Tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 0, 300, 400),
                                  CWnd::FromHandle(m_hHost), 1002));
        m_Tree.InitServerTree(&m_Sink);
        m_Tree.SetRootNode(&m_Root);
        m_Tree.InsertRootItem(false);
        m_Tree.BuildTree(&m_Root, NULL);
    }
    void TearDown() override
    {
        m_Tree.DestroyWindow();
        DestroyWindow(m_hHost);
        g_GlobalUnits.ClearRoomMap();
        g_GlobalUnits.SetGameTreeManager(NULL);
        g_GlobalOption.ClearGameLists();
    }
    HTREEITEM ItemOf(CGameTreeNode* node, HTREEITEM hParent = TVI_ROOT)
    {
        for (HTREEITEM h = m_Tree.GetChildItem(hParent); h != NULL; h = m_Tree.GetNextSiblingItem(h)) {
            if (m_Tree.GetItemData(h) == (DWORD_PTR)node)
                return h;
            if (HTREEITEM found = ItemOf(node, h))
                return found;
        }
        return NULL;
    }

    CStateFolder m_Folder;
    CGameTreeManager m_Manager;
    CGameTreeNode m_Root{0};
    CGameTreeNode* m_Game = nullptr;
    CGameTreeNode* m_Station = nullptr;
    EnterSink m_Sink;
    CServerItemView m_Tree;
    HWND m_hHost = NULL;
};

} // namespace

TEST_F(ServerItemViewTest, ItemsTheManagerLacksShowTheirCaption)
{
    EXPECT_EQ(CString("站点"), m_Tree.GetItemText(ItemOf(m_Station)));
    EXPECT_EQ(CString("无此类"), m_Tree.GetItemText(ItemOf(m_Root.GetChild(1))));
    EXPECT_EQ(3, g_GlobalUnits.GetRoomMap().GetCount());
}

// Names of any length and content fit the item buffer and never end inside
// a double-byte character.
TEST_F(ServerItemViewTest, TextsAreBoundedAndKeepWholeCharacters)
{
    CGameRoom* room = m_Manager.FindGameRoom(100);
    room->SetOnlineCount(12345);
    CGame* game = m_Manager.FindGame(10);
    for (size_t n : {0u, 1u, 50u, 100u, 119u, 120u, 121u, 500u}) {
        for (const std::string& unit : {std::string("a"), std::string("房"), std::string("a房")}) {
            std::string name;
            while (name.size() < n * unit.size())
                name += unit;
            const CString texts[] = {
                m_Tree.FormatRoomText(room, name.c_str(), true),
                m_Tree.FormatRoomText(room, name.c_str(), false),
                m_Tree.FormatGameText(game, name.c_str(), 99999, true),
                m_Tree.FormatGameText(game, name.c_str(), -5, false),
                m_Tree.FormatFolderText(TREE_ITEM_CATEGORY, name.c_str(), 7, true),
                m_Tree.FormatFolderText(TREE_ITEM_STATION, name.c_str(), 7, true),
            };
            for (const CString& text : texts) {
                const size_t length = (size_t)text.GetLength();
                ASSERT_LE(length, size_t(CServerItemView::ITEM_TEXT_SIZE - 1)) << name;
                EXPECT_EQ(length, TextCutLength(text, length, length)) << "whole characters: " << name;
                EXPECT_EQ(0, strncmp(text, name.c_str(), std::min(length, name.size() / 2))) << name;
            }
        }
    }
    EXPECT_EQ(CString("x (双击下载)(0人)             "), m_Tree.FormatGameText(game, "x", -5, true))
        << "a negative count shows 0";
}

TEST_F(ServerItemViewTest, EnterButtonOnlyBelowTheTopAndNotOnFoldersOrLinks)
{
    EXPECT_FALSE(m_Tree.HasEnterButton(m_Tree.GetRootItem())) << "header";
    EXPECT_FALSE(m_Tree.HasEnterButton(ItemOf(m_Game))) << "top-level game";
    EXPECT_TRUE(m_Tree.HasEnterButton(ItemOf(m_Station)));
    EXPECT_TRUE(m_Tree.HasEnterButton(ItemOf(m_Game->GetChild(1))));
    CGameTreeNode* category = AddNode(m_Game, 7, TREE_ITEM_CATEGORY, 1);
    CGameTreeNode* link = AddNode(m_Game, 8, TREE_ITEM_GAME_WEB, 5);
    m_Tree.BuildTree(m_Game, ItemOf(m_Game));
    EXPECT_FALSE(m_Tree.HasEnterButton(ItemOf(category)));
    EXPECT_FALSE(m_Tree.HasEnterButton(ItemOf(link)));
}

TEST_F(ServerItemViewTest, EnterButtonPrefersTheRememberedRoom)
{
    // The game moved below a category so that it may carry the button.
    CGameTreeNode root(0);
    CGameTreeNode* category = AddNode(&root, 1, TREE_ITEM_CATEGORY, 1);
    CGameTreeNode* game = AddNode(category, 2, TREE_ITEM_GAME, 10);
    CGameTreeNode* station = AddNode(game, 3, TREE_ITEM_STATION, 20);
    AddNode(station, 4, TREE_ITEM_ROOM, 0);
    AddNode(station, 5, TREE_ITEM_ROOM, 100);
    AddNode(station, 6, TREE_ITEM_ROOM, 101);
    CGameTreeNode* own = AddNode(game, 7, TREE_ITEM_ROOM, 102);
    m_Tree.DeleteAllItems(NULL);
    m_Tree.BuildTree(&root, NULL);

    struct Case
    {
        CGameTreeNode* pressed;
        WORD lastRoom;
        DWORD expected;
    } cases[] = {
        {game, 0, 100},                       // the first room with an id, through the station
        {game, 101, 101},                     // the remembered room
        {game, 999, 100},                     // a remembered room that is not there
        {station, 101, 101}, {own, 101, 102}, // a room enters itself
    };
    for (const Case& c : cases) {
        g_GlobalOption.ClearGameLists();
        if (c.lastRoom != 0)
            g_GlobalOption.AddLastGame(10, c.lastRoom);
        m_Sink.rooms.clear();
        m_Tree.OnEnterButtonClick(ItemOf(c.pressed));
        ASSERT_EQ(1u, m_Sink.rooms.size()) << c.lastRoom;
        EXPECT_EQ(c.expected, m_Sink.rooms[0]) << c.lastRoom;
        EXPECT_EQ(ItemOf(c.pressed), m_Tree.GetSelectedItem());
    }
}

TEST_F(ServerItemViewTest, ProgramsThatAreNoModuleGiveTheNoLogoPicture)
{
    m_Folder.Write("Landlord\\CONFIG.INI", "[Public]\r\nExeName=Landlord.exe\r\n");
    m_Folder.Write("Landlord\\Landlord.exe", "MZ not really a program");
    m_Tree.LoadGameImage(m_Manager.FindGame(10));
    EXPECT_EQ(DWORD(CServerItemView::IMAGE_NO_LOGO), m_Tree.FindGameImage(10));
    EXPECT_EQ(0, m_Tree.GetLogoCount());
    EXPECT_EQ(DWORD(CServerItemView::IMAGE_NO_LOGO), m_Tree.FindGameImage(77)) << "an unknown game";
}

TEST_F(ServerItemViewTest, WebGameIconsAreLoadedOncePerIcon)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(NULL, program, MAX_PATH);
    std::string icon(program);
    icon = icon.substr(0, icon.rfind('\\') + 1) + "view_test.ico";
    CreateDirectoryA((m_Folder.Path() + "Res").c_str(), NULL);
    CreateDirectoryA((m_Folder.Path() + "Res\\WebGame").c_str(), NULL);
    ASSERT_TRUE(CopyFileA(icon.c_str(), (m_Folder.Path() + "Res\\WebGame\\3.ico").c_str(), FALSE));
    CWebGame* web = new CWebGame(40);
    web->SetIconId(3);
    m_Manager.AddWebGame(web);
    CWebGame* missing = new CWebGame(41);
    missing->SetIconId(4);
    m_Manager.AddWebGame(missing);
    CGameTreeNode* node = AddNode(&m_Root, 9, TREE_ITEM_WEB_GAME, 40);
    CGameTreeNode* other = AddNode(&m_Root, 10, TREE_ITEM_WEB_GAME, 41);
    m_Tree.BuildTree(node, NULL);
    HTREEITEM hWeb = m_Tree.InsertItem("web", TVI_ROOT);
    m_Tree.SetItemData(hWeb, (DWORD_PTR)node);
    HTREEITEM hMissing = m_Tree.InsertItem("missing", TVI_ROOT);
    m_Tree.SetItemData(hMissing, (DWORD_PTR)other);
    for (int draw = 0; draw < 3; draw++) {
        int index = -1;
        EXPECT_TRUE(m_Tree.GetItemIconIndex(hWeb, index));
        EXPECT_EQ(CServerItemView::FIRST_EXTRA_ICON, index);
        EXPECT_TRUE(m_Tree.GetItemIconIndex(hMissing, index));
        EXPECT_EQ(CServerItemView::IMAGE_NO_LOGO, index);
    }
    EXPECT_EQ(1, m_Tree.GetLogoCount());
}
