#include "DemoHall.h"

#include <string.h>

#include <string>

#include "HallProtocol.h"
#include "WireBytes.h"

namespace
{

const char kRoomHost[] = "127.0.0.1";
const WORD kUnservedRoomPort = 9100;

bool SameDigest(const demodata::tagAccount* account, const std::string& digest)
{
    return account != nullptr && digest.size() == strlen(account->pszDigest) &&
           _stricmp(digest.c_str(), account->pszDigest) == 0;
}

CWireBytes PagedList(const std::vector<CWireBytes>& items)
{
    CWireBytes body = CWireBytes().U32(uint32_t(items.size())).U32(0).Count(uint32_t(items.size()));
    for (const CWireBytes& item : items)
        body.Item(item);
    return body;
}

CWireBytes TreeLink(uint32_t node, uint32_t parent, uint8_t type, uint32_t item, uint32_t flags = 0, int32_t sort = 0)
{
    return CWireBytes().U32(node).U32(parent).U8(type).Str("").U32(item).U32(uint32_t(sort)).U32(flags);
}

void Reply(CFrameServer& server, const tagServerFrame& frame, WORD wMainCmdID, WORD wSubCmdID, const CWireBytes& body)
{
    server.SendFrame(frame.nConnection, frame.dwSerialNum, wMainCmdID, wSubCmdID, body.Data(), body.Size());
}

} // namespace

void CDemoHall::Attach(CFrameServer& server)
{
    server.SetFrameHandler([this](CFrameServer& s, const tagServerFrame& frame) { OnRequest(s, frame); });
}

void CDemoHall::SetRoomPort(DWORD dwRoomID, WORD wPort)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_RoomPorts[dwRoomID] = wPort;
}

WORD CDemoHall::RoomPort(DWORD dwRoomID)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    auto found = m_RoomPorts.find(dwRoomID);
    return found != m_RoomPorts.end() ? found->second : kUnservedRoomPort;
}

void CDemoHall::OnRequest(CFrameServer& server, const tagServerFrame& frame)
{
    switch (frame.wMainCmdID) {
    case HALL_MAIN_USER:
        if (frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_ACCOUNT || frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_USER_ID)
            OnLogon(server, frame, frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_USER_ID);
        else if (frame.wSubCmdID == HALL_SUB_USER_INFO) {
            DWORD dwUserID = 0;
            {
                std::lock_guard<std::mutex> lock(m_Mutex);
                auto found = m_LoggedOn.find(frame.nConnection);
                if (found != m_LoggedOn.end())
                    dwUserID = found->second;
            }
            const demodata::tagAccount* account = demodata::FindAccount(dwUserID);
            if (account == nullptr)
                break;
            const std::vector<std::pair<WORD, std::string>> attributes = {
                {2, account->pszAccount}, {3, "1"}, {4, account->pszNickName}, {5, "1"}, {6, "1"}, {14, "88"},
                {15, "欢迎来到演示大厅"}};
            CWireBytes body = CWireBytes().U32(0).Count(uint32_t(attributes.size()));
            for (const auto& attribute : attributes)
                body.U16(attribute.first).Str(attribute.second);
            Reply(server, frame, HALL_MAIN_USER, HALL_SUB_S_USER_INFO_RESULT, body);
        }
        break;
    case HALL_MAIN_GAME_LIST: SendGameList(server, frame); break;
    case HALL_MAIN_USER_VALUE:
        if (frame.wSubCmdID == HALL_SUB_USER_VALUE_BUY)
            OnBuy(server, frame);
        break;
    case HALL_MAIN_ONLINE_COUNT:
        if (frame.wSubCmdID == HALL_SUB_ONLINE_COUNT_SUBSCRIBE) {
            std::vector<CWireBytes> counts;
            for (const demodata::tagRoom& room : demodata::Rooms())
                counts.push_back(CWireBytes().U32(room.dwID).U32(room.dwOnline));
            Reply(server, frame, HALL_MAIN_ONLINE_COUNT, HALL_SUB_S_ONLINE_COUNT_ROOMS, PagedList(counts));
        }
        break;
    case HALL_MAIN_MESSAGE:
        // A notice for the log, not a box (value 0).
        if (frame.wSubCmdID == HALL_SUB_MESSAGE_NOTICE)
            Reply(server, frame, HALL_MAIN_MESSAGE, HALL_SUB_S_MESSAGE_SYSTEM,
                  CWireBytes().U8(0).U32(0).Str("欢迎来到演示大厅"));
        break;
    default: break;
    }
}

void CDemoHall::OnLogon(CFrameServer& server, const tagServerFrame& frame, bool bByUserID)
{
    CWireReader reader(frame.Body);
    const demodata::tagAccount* account = nullptr;
    std::string digest;
    if (bByUserID) {
        uint32_t id = 0;
        if (reader.U32(id))
            account = demodata::FindAccount(DWORD(id));
    } else {
        std::string name;
        if (reader.Str(name))
            account = demodata::FindAccount(name);
    }
    if (!reader.Str(digest) || !SameDigest(account, digest)) {
        m_nRefused++;
        Reply(server, frame, HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
              CWireBytes().U32(3).Counted(demohall::kRefusalText));
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_LoggedOn[frame.nConnection] = account->dwUserID;
    }
    Reply(server, frame, HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
          CWireBytes().U32(0).U32(account->dwUserID).Str(account->pszNickName).U16(1).U8(0).Counted(""));
}

void CDemoHall::OnBuy(CFrameServer& server, const tagServerFrame& frame)
{
    CWireReader reader(frame.Body);
    uint32_t dwItemID = 0;
    uint16_t wCount = 0;
    if (!reader.U32(dwItemID) || !reader.U16(wCount) || !reader.AtEnd() || wCount == 0)
        return;
    // An item the shop does not sell is one the server cannot find.
    const demodata::tagShopItem* pItem = demodata::FindShopItem(dwItemID);
    const BYTE cbAnswer = pItem != nullptr ? pItem->cbAnswer : 1;
    if (cbAnswer == 0) {
        WORD wOwned = 0;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            auto found = m_LoggedOn.find(frame.nConnection);
            if (found == m_LoggedOn.end())
                return;
            wOwned = m_Owned[{found->second, dwItemID}] += wCount;
        }
        // The piece first, so the answer finds it owned.
        Reply(server, frame, HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_ITEM,
              CWireBytes().U32(dwItemID).U16(wOwned).U64(0));
    }
    Reply(server, frame, HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_BUY_RESULT, CWireBytes().U8(cbAnswer));
}

void CDemoHall::SendGameList(CFrameServer& server, const tagServerFrame& frame)
{
    switch (frame.wSubCmdID) {
    case 1: {
        std::vector<CWireBytes> items;
        for (const demodata::tagCategory& category : demodata::Categories())
            items.push_back(CWireBytes().U32(category.dwID).Str(category.pszName));
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_CATEGORIES, PagedList(items));
        break;
    }
    case 2: {
        std::vector<CWireBytes> items;
        for (const demodata::tagGame& game : demodata::Games())
            items.push_back(CWireBytes().U32(game.dwID).Str(game.pszName).Str(game.pszFolder));
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_GAMES, PagedList(items));
        break;
    }
    case 3:
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_STATIONS,
              PagedList({CWireBytes().U32(20).Str("新手区")}));
        break;
    case 4: {
        std::vector<CWireBytes> items;
        for (const demodata::tagRoom& room : demodata::Rooms())
            items.push_back(CWireBytes()
                                .U32(room.dwID)
                                .Str(room.pszName)
                                .Str(kRoomHost)
                                .U16(RoomPort(room.dwID))
                                .U32(room.dwGameID)
                                .U8(room.cbRoomType)
                                .U16(0));
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_ROOMS, PagedList(items));
        break;
    }
    case 7: {
        // The tree last: it is built when it arrives. Categories, their
        // games, and each game's rooms; the first game's rooms sit in a
        // station.
        std::vector<CWireBytes> links;
        uint32_t node = 1;
        int32_t sort = 0;
        for (const demodata::tagCategory& category : demodata::Categories()) {
            const uint32_t categoryNode = node++;
            links.push_back(TreeLink(categoryNode, 0, 1, category.dwID, 0, ++sort));
            for (const demodata::tagGame& game : demodata::Games()) {
                if (game.dwCategoryID != category.dwID)
                    continue;
                const uint32_t gameNode = node++;
                links.push_back(TreeLink(gameNode, categoryNode, 2, game.dwID, 0, ++sort));
                uint32_t roomParent = gameNode;
                if (&game == &demodata::Games().front()) {
                    roomParent = node++;
                    links.push_back(TreeLink(roomParent, gameNode, 3, 20, 0, ++sort));
                }
                for (const demodata::tagRoom& room : demodata::Rooms())
                    if (room.dwGameID == game.dwID)
                        links.push_back(TreeLink(node++, roomParent, 4, room.dwID, 0, ++sort));
            }
        }
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, PagedList(links));
        break;
    }
    default: break;
    }
}
