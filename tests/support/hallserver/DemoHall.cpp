#include "DemoHall.h"

#include <string.h>

#include <string>

#include "HallProtocol.h"
#include "WireBytes.h"

namespace
{

// The MD5 hex text of the demo password, as the logon dialog sends it.
const char kPasswordDigest[] = "62cc2d8b4bf2d8728120d052163a77df";
const char kRoomHost[] = "127.0.0.1";
const WORD kRoomPort = 9100;

// The archive's string form, checked against what the body holds.
class CBodyReader
{
public:
    explicit CBodyReader(const std::vector<BYTE>& body) : m_Body(body), m_nPos(0) {}
    bool Str(std::string& text)
    {
        uint32_t n = 0;
        if (!Read(&n, 1))
            return false;
        if (n == 0xFF) {
            n = 0;
            if (!Read(&n, 2))
                return false;
            if (n == 0xFFFF && !Read(&n, 4))
                return false;
        }
        if (n > m_Body.size() - m_nPos)
            return false;
        text.assign((const char*)m_Body.data() + m_nPos, n);
        m_nPos += n;
        return true;
    }
    bool U32(uint32_t& value) { return Read(&value, 4); }

private:
    bool Read(void* p, size_t n)
    {
        if (n > m_Body.size() - m_nPos)
            return false;
        memcpy(p, m_Body.data() + m_nPos, n);
        m_nPos += n;
        return true;
    }
    const std::vector<BYTE>& m_Body;
    size_t m_nPos;
};

bool SameDigest(const std::string& digest)
{
    return digest.size() == strlen(kPasswordDigest) && _stricmp(digest.c_str(), kPasswordDigest) == 0;
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

void CDemoHall::OnRequest(CFrameServer& server, const tagServerFrame& frame)
{
    switch (frame.wMainCmdID) {
    case HALL_MAIN_USER:
        if (frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_ACCOUNT || frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_USER_ID)
            OnLogon(server, frame, frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_USER_ID);
        else if (frame.wSubCmdID == HALL_SUB_USER_INFO) {
            const std::vector<std::pair<WORD, std::string>> attributes = {
                {2, demohall::kAccount}, {3, "1"}, {4, "演示玩家"}, {5, "1"}, {6, "1"}, {14, "88"},
                {15, "欢迎来到演示大厅"}};
            CWireBytes body = CWireBytes().U32(0).Count(uint32_t(attributes.size()));
            for (const auto& attribute : attributes)
                body.U16(attribute.first).Str(attribute.second);
            Reply(server, frame, HALL_MAIN_USER, HALL_SUB_S_USER_INFO_RESULT, body);
        }
        break;
    case HALL_MAIN_GAME_LIST: SendGameList(server, frame); break;
    case HALL_MAIN_ONLINE_COUNT:
        if (frame.wSubCmdID == HALL_SUB_ONLINE_COUNT_SUBSCRIBE) {
            std::vector<CWireBytes> counts;
            for (int i = 0; i < demohall::kRoomCount; i++)
                counts.push_back(CWireBytes().U32(demohall::kFirstRoomID + i).U32(12 + 7 * i));
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
    CBodyReader reader(frame.Body);
    bool known = false;
    std::string digest;
    if (bByUserID) {
        uint32_t id = 0;
        known = reader.U32(id) && id == demohall::kUserID && reader.Str(digest) && SameDigest(digest);
    } else {
        std::string account;
        known = reader.Str(account) && account == demohall::kAccount && reader.Str(digest) && SameDigest(digest);
    }
    if (!known) {
        m_nRefused++;
        Reply(server, frame, HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
              CWireBytes().U32(3).Counted("帐号或密码错误，演示帐号为 demo，密码 demo123"));
        return;
    }
    Reply(server, frame, HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
          CWireBytes().U32(0).U32(demohall::kUserID).Str("演示玩家").U16(1).U8(0).Counted(""));
}

void CDemoHall::SendGameList(CFrameServer& server, const tagServerFrame& frame)
{
    auto room = [](uint32_t id, const std::string& name, uint32_t game) {
        return CWireBytes().U32(id).Str(name).Str(kRoomHost).U16(kRoomPort).U32(game).U8(2).U16(0);
    };
    switch (frame.wSubCmdID) {
    case 1:
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_CATEGORIES,
              PagedList({CWireBytes().U32(1).Str("棋牌游戏")}));
        break;
    case 2:
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_GAMES,
              PagedList(
                  {CWireBytes().U32(10).Str("斗地主").Str("Landlord"), CWireBytes().U32(11).Str("象棋").Str("Chess")}));
        break;
    case 3:
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_STATIONS,
              PagedList({CWireBytes().U32(20).Str("新手区")}));
        break;
    case 4:
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_ROOMS,
              PagedList({room(demohall::kFirstRoomID, "新手房", 10), room(demohall::kFirstRoomID + 1, "高手房", 10),
                         room(demohall::kFirstRoomID + 2, "象棋一区", 11)}));
        break;
    case 7:
        // The tree last: it is built when it arrives.
        Reply(server, frame, HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE,
              PagedList({TreeLink(1, 0, 1, 1), TreeLink(2, 1, 2, 10, 1, 1), TreeLink(3, 2, 3, 20),
                         TreeLink(4, 3, 4, demohall::kFirstRoomID, 0, 1),
                         TreeLink(5, 3, 4, demohall::kFirstRoomID + 1, 0, 2), TreeLink(6, 1, 2, 11, 0, 2),
                         TreeLink(7, 6, 4, demohall::kFirstRoomID + 2)}));
        break;
    default: break;
    }
}
