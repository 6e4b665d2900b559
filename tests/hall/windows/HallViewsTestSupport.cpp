#include "HallViewsTestSupport.h"

#include <Picture.h>
#include <PictureMemFile.h>

#include "GameTreeNode.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "StateTestSupport.h"

bool RecordingRoomTabs::EnterRoom(CGameRoom* pRoom, CGameTreeNode* pNode)
{
    Entered e = {pRoom, 0, 0, "", 0, 0, ""};
    if (pNode != NULL) {
        e.dwNodeType = pNode->GetItemType();
        e.dwNodeItem = pNode->GetItemData();
        e.strNodeText = pNode->GetText();
        if (pNode->GetParent() != NULL) {
            e.dwParentType = pNode->GetParent()->GetItemType();
            e.dwParentItem = pNode->GetParent()->GetItemData();
            e.strParentText = pNode->GetParent()->GetText();
        }
    }
    entered.push_back(e);
    if (onEnter)
        onEnter(pNode);
    return true;
}

void WritePicture(const CStateFolder& folder, const std::string& relative, int cx, int cy, COLORREF colour)
{
    CPicture picture;
    ASSERT_TRUE(picture.Create(cx, cy, 24));
    HBITMAP hBitmap = picture.MakeBitmap();
    HDC hdc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(hdc, hBitmap);
    RECT rc = {0, 0, cx, cy};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rc, brush);
    DeleteObject(brush);
    SelectObject(hdc, old);
    DeleteDC(hdc);
    ASSERT_TRUE(picture.CreateFromHBITMAP(hBitmap));
    DeleteObject(hBitmap);
    const bool png = relative.size() > 4 && relative.substr(relative.size() - 4) == ".png";
    CPictureMemFile file;
    ASSERT_TRUE(picture.Encode(file, png ? PICTURE_TYPE_PNG : PICTURE_TYPE_BMP));
    std::vector<BYTE> bytes(file.GetBuffer(), file.GetBuffer() + file.GetSize());
    folder.Write(relative, bytes);
}

std::string TestProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

void WriteGame(const CStateFolder& folder, const std::string& gameFolder, const std::string& exeName,
               const std::string& fixture)
{
    folder.Write(gameFolder + "\\CONFIG.INI", "[Public]\r\nExeName=" + exeName + "\r\n");
    if (fixture.empty())
        return;
    ASSERT_TRUE(CopyFileA((TestProgramFolder() + fixture).c_str(),
                          (folder.Path() + gameFolder + "\\" + exeName).c_str(), FALSE))
        << fixture;
}

CWireBytes TreeLink(uint32_t node, uint32_t parent, uint8_t type, uint32_t item, const std::string& caption,
                    uint32_t flags, int32_t sort)
{
    return CWireBytes().U32(node).U32(parent).U8(type).Str(caption).U32(item).U32(uint32_t(sort)).U32(flags);
}

CWireBytes PagedList(const std::vector<CWireBytes>& items)
{
    CWireBytes body = CWireBytes().U32(uint32_t(items.size())).U32(0).Count(uint32_t(items.size()));
    for (const CWireBytes& item : items)
        body.Item(item);
    return body;
}

void GameTreeTest::SetUp()
{
    DataCenterTest::SetUp();
    UseProgramFolder(m_Folder);
    WritePicture(m_Folder, "Res\\ListImage\\SERVER_LIST_IMAGE.png", 18 * 13, 16, RGB(0, 128, 0));
    WritePicture(m_Folder, "Res\\ListImage\\SERVER_LIST_IMAGE.bmp", 18 * 13, 18, RGB(0, 128, 0));
    WriteGame(m_Folder, "Landlord", "Landlord.exe", "game_logo_fixture.exe");
    WriteGame(m_Folder, "Chess", "Chess.exe", "");
    WriteGame(m_Folder, "Go", "Go.exe", "game_plain_fixture.exe");
    WriteGame(m_Folder, "Gomoku", "Gomoku.exe", "game_plain_fixture.exe");
    WritePicture(m_Folder, "Gomoku\\Gomoku.png", 16, 16, RGB(0, 0, 255));
    CHallWindows::InstallRoomTabs(&m_RoomTabs);
    m_hHost = CreateWindowA("STATIC", "host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 700, NULL, NULL, NULL, NULL);
    ListenToAll();
    ConnectToServer();
    SendDefinitions();
}

void GameTreeTest::TearDown()
{
    DestroyWindow(m_hHost);
    CHallWindows::InstallRoomTabs(NULL);
    DataCenterTest::TearDown();
    g_GlobalUnits.ClearRoomMap();
}

void GameTreeTest::SendDefinitions()
{
    auto room = [](uint32_t id, uint32_t game) {
        return CWireBytes().U32(id).Str("room" + std::to_string(id)).Str("127.0.0.1").U16(9100).U32(game).U8(2).U16(0);
    };
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_CATEGORIES,
                  PagedList({CWireBytes().U32(1).Str("棋牌")}).Vector());
    SendAndSettle(
        HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_GAMES,
        PagedList({CWireBytes().U32(10).Str("斗地主").Str("Landlord"), CWireBytes().U32(11).Str("象棋").Str("Chess"),
                   CWireBytes().U32(12).Str("围棋").Str("Go"), CWireBytes().U32(13).Str("五子棋").Str("Gomoku")})
            .Vector());
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_STATIONS,
                  PagedList({CWireBytes().U32(20).Str("新手区")}).Vector());
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_ROOMS,
                  PagedList({room(100, 10), room(101, 10), room(102, 11), room(103, 10)}).Vector());
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_WEBS,
                  PagedList({CWireBytes().U32(5).Str("活动").Str("http://example.invalid/event")}).Vector());
}

void GameTreeTest::SendTree(const std::vector<CWireBytes>& links)
{
    SendAndHear(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, PagedList(links).Vector(), HN_SERVER_TREE);
}

void GameTreeTest::SendRoomCounts(const std::vector<std::pair<uint32_t, uint32_t>>& counts)
{
    std::vector<CWireBytes> items;
    for (const auto& c : counts)
        items.push_back(CWireBytes().U32(c.first).U32(c.second));
    SendAndHear(HALL_MAIN_ONLINE_COUNT, HALL_SUB_S_ONLINE_COUNT_ROOMS, PagedList(items).Vector(), HN_ONLINE_COUNT);
}
