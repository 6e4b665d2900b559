#include "DemoRoom.h"

#include <string.h>

#include <iterator>
#include <vector>

#include "RoomProtocol.h"
#include "WireBytes.h"

namespace
{

// Server status words: 0 free, 1 seated.
const DWORD kServerFree = 0;
const DWORD kServerSeated = 1;
const DWORD kRefusedAccount = 3;

// Reads what a request body holds, checking each length first.
class CRequestReader
{
public:
    explicit CRequestReader(const std::vector<BYTE>& body) : m_Body(body) {}
    bool U16(WORD& value) { return Read(&value, 2); }
    bool U32(DWORD& value) { return Read(&value, 4); }
    // The archive's string form.
    bool Str(std::string& text)
    {
        DWORD n = 0;
        if (!Read(&n, 1))
            return false;
        if (n == 0xFF) {
            n = 0;
            if (!Read(&n, 2))
                return false;
            if (n == 0xFFFF && !Read(&n, 4))
                return false;
        }
        return Text(n, text);
    }
    // A u32 length and the bytes.
    bool Counted(std::string& text)
    {
        DWORD n = 0;
        return Read(&n, 4) && Text(n, text);
    }
    bool AtEnd() const { return m_nPos == m_Body.size(); }

private:
    bool Read(void* p, size_t n)
    {
        if (n > m_Body.size() - m_nPos)
            return false;
        memcpy(p, m_Body.data() + m_nPos, n);
        m_nPos += n;
        return true;
    }
    bool Text(size_t n, std::string& text)
    {
        if (n > m_Body.size() - m_nPos)
            return false;
        text.assign((const char*)m_Body.data() + m_nPos, n);
        m_nPos += n;
        return true;
    }
    const std::vector<BYTE>& m_Body;
    size_t m_nPos = 0;
};

// Everyone is a member of rank 1: members of rank 0 chat only in the rooms
// the dynamic configuration lists.
const WORD kMemberRank = 1;

CWireBytes UserEnter(DWORD dwUserID, const char* pszNickName)
{
    return CWireBytes().U32(dwUserID).Str(pszNickName).U16(kMemberRank);
}

CWireBytes UserStatus(DWORD dwUserID, WORD wTableID, WORD wChairID, DWORD dwStatus)
{
    return CWireBytes().U32(dwUserID).U16(wTableID).U16(wChairID).U32(dwStatus);
}

} // namespace

void CDemoRoom::Attach(CFrameServer& server)
{
    server.SetFrameHandler([this](CFrameServer& s, const tagServerFrame& frame) { OnRequest(s, frame); });
}

size_t CDemoRoom::GetPlayerCount()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Players.size();
}

bool CDemoRoom::ReadLogon(const tagServerFrame& frame, DWORD& dwUserID, std::string& digest,
                          std::string& roomPasswordDigest)
{
    if (frame.wMainCmdID != ROOM_MAIN_ROOM || frame.wSubCmdID != ROOM_SUB_LOGON)
        return false;
    CRequestReader reader(frame.Body);
    std::string machine;
    if (!reader.U32(dwUserID) || !reader.Str(digest) || !reader.Str(machine))
        return false;
    roomPasswordDigest.clear();
    return reader.AtEnd() || (reader.Counted(roomPasswordDigest) && reader.AtEnd());
}

bool CDemoRoom::ReadChat(const tagServerFrame& frame, std::string& text)
{
    if (frame.wMainCmdID != ROOM_MAIN_ROOM || frame.wSubCmdID != ROOM_SUB_CHAT)
        return false;
    CRequestReader reader(frame.Body);
    DWORD dwFirst = 0, dwThird = 0;
    return reader.U32(dwFirst) && reader.U32(dwThird) && reader.Str(text) && reader.AtEnd();
}

bool CDemoRoom::ReadSit(const tagServerFrame& frame, WORD& wTableID, WORD& wChairID)
{
    if (frame.wMainCmdID != ROOM_MAIN_ROOM || frame.wSubCmdID != ROOM_SUB_SIT_DOWN)
        return false;
    CRequestReader reader(frame.Body);
    std::string password;
    return reader.U16(wTableID) && reader.U16(wChairID) && reader.Str(password) && reader.AtEnd();
}

void CDemoRoom::OnRequest(CFrameServer& server, const tagServerFrame& frame)
{
    {
        // Players whose connection went without leaving free their seats.
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (auto it = m_Players.begin(); it != m_Players.end();)
            it = server.IsPeerClosed(it->first) ? m_Players.erase(it) : std::next(it);
    }
    if (frame.wMainCmdID == ROOM_MAIN_FRAME) {
        // Game frames come back to the game as they went.
        server.SendFrame(frame.nConnection, 0, frame.wMainCmdID, frame.wSubCmdID, frame.Body.data(), frame.Body.size());
        return;
    }
    if (frame.wMainCmdID == ROOM_MAIN_GAME && frame.wSubCmdID == ROOM_SUB_STAND_UP) {
        OnStandUp(server, frame);
        return;
    }
    if (frame.wMainCmdID != ROOM_MAIN_ROOM)
        return;
    switch (frame.wSubCmdID) {
    case ROOM_SUB_LOGON: OnLogon(server, frame); break;
    case ROOM_SUB_SIT_DOWN: OnSit(server, frame); break;
    case ROOM_SUB_CHAT: {
        std::string text;
        DWORD dwSender = 0;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            auto found = m_Players.find(frame.nConnection);
            if (found == m_Players.end())
                return;
            dwSender = found->second.dwUserID;
        }
        if (ReadChat(frame, text))
            Broadcast(server, ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT,
                      CWireBytes().U32(dwSender).U32(0).U32(0).Str(text).Vector());
        break;
    }
    case ROOM_SUB_LEAVE_ROOM: {
        DWORD dwUserID = 0;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            auto found = m_Players.find(frame.nConnection);
            if (found == m_Players.end())
                return;
            dwUserID = found->second.dwUserID;
            m_Players.erase(found);
        }
        Broadcast(server, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(dwUserID).Vector());
        break;
    }
    default: break;
    }
}

void CDemoRoom::OnLogon(CFrameServer& server, const tagServerFrame& frame)
{
    DWORD dwUserID = 0;
    std::string digest, roomPassword;
    const bool bRead = ReadLogon(frame, dwUserID, digest, roomPassword);
    const demodata::tagAccount* account = bRead ? demodata::FindAccount(dwUserID) : nullptr;
    auto refuse = [&](DWORD dwCode, const char* pszText) {
        const CWireBytes body = CWireBytes().U32(dwCode).Counted(pszText);
        server.SendFrame(frame.nConnection, frame.dwSerialNum, ROOM_MAIN_ROOM, ROOM_SUB_S_LOGON_RESULT, body.Data(),
                         body.Size());
    };
    if (account == nullptr || _stricmp(digest.c_str(), account->pszDigest) != 0) {
        refuse(kRefusedAccount, "帐号验证失败，请重新登录大厅");
        return;
    }
    if (m_Room.nKind == demodata::ROOM_PASSWORD) {
        if (roomPassword.empty()) {
            refuse(demodata::kRoomNeedsPassword, "");
            return;
        }
        if (_stricmp(roomPassword.c_str(), demodata::kRoomPasswordDigest) != 0) {
            refuse(demodata::kRoomWrongPassword, "");
            return;
        }
    }
    const CWireBytes body = CWireBytes().U32(0).U32(dwUserID).Str(account->pszNickName).U16(0).U8(0);
    server.SendFrame(frame.nConnection, frame.dwSerialNum, ROOM_MAIN_ROOM, ROOM_SUB_S_LOGON_RESULT, body.Data(),
                     body.Size());
    SendRoom(server, frame.nConnection, dwUserID);
}

void CDemoRoom::SendRoom(CFrameServer& server, int nConnection, DWORD dwUserID)
{
    auto send = [&](WORD wMain, WORD wSub, const CWireBytes& body) {
        server.SendFrame(nConnection, 0, wMain, wSub, body.Data(), body.Size());
    };
    // The room: its tables, the welcome, the rule; match rooms carry no
    // plain value; a match description with no groups and no values.
    CWireBytes info;
    info.U32(m_Room.dwID)
        .U32(1)
        .U16(m_Room.wTableCount)
        .U16(demodata::kChairCount)
        .Str(demodata::kWelcome)
        .U32(m_Room.dwRule);
    if (m_Room.cbRoomType != 4)
        info.U32(0);
    info.Counted(m_Room.nKind == demodata::ROOM_MATCH ? "演示赛" : "")
        .U16(0)
        .U16(0)
        .U32(0)
        .U16(0)
        .U32(0)
        .U8(0)
        .U32(0)
        .U16(0);
    info.Fill(8, 0).U8(0).U32(0);
    send(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, info);

    for (const demodata::tagResident& resident : demodata::Residents()) {
        send(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, UserEnter(resident.dwUserID, resident.pszNickName));
        if (resident.wTableID != demodata::kNoTable)
            send(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS,
                 UserStatus(resident.dwUserID, resident.wTableID, resident.wChairID, kServerSeated));
    }
    std::vector<tagPlayer> others;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (const auto& player : m_Players)
            others.push_back(player.second);
        m_Players[nConnection] = {dwUserID, demodata::kNoTable, demodata::kNoTable};
    }
    for (const tagPlayer& other : others) {
        if (const demodata::tagAccount* account = demodata::FindAccount(other.dwUserID))
            send(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, UserEnter(other.dwUserID, account->pszNickName));
        if (other.wTableID != demodata::kNoTable)
            send(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS,
                 UserStatus(other.dwUserID, other.wTableID, other.wChairID, kServerSeated));
    }
    // The newcomer's own names first (his record exists since his logon),
    // then his arrival to everyone, himself included.
    const demodata::tagAccount* pAccount = demodata::FindAccount(dwUserID);
    send(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_TEXTS,
         CWireBytes()
             .U32(dwUserID)
             .Count(3)
             .U16(2)
             .Str(pAccount->pszAccount)
             .U16(3)
             .Str(std::to_string(kMemberRank))
             .U16(4)
             .Str(pAccount->pszNickName));
    Broadcast(server, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, UserEnter(dwUserID, pAccount->pszNickName).Vector());
    send(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
}

bool CDemoRoom::IsSeatTaken(WORD wTableID, WORD wChairID)
{
    for (const demodata::tagResident& resident : demodata::Residents())
        if (resident.wTableID == wTableID && resident.wChairID == wChairID)
            return true;
    for (const auto& player : m_Players)
        if (player.second.wTableID == wTableID && player.second.wChairID == wChairID)
            return true;
    return false;
}

void CDemoRoom::OnSit(CFrameServer& server, const tagServerFrame& frame)
{
    WORD wTableID = 0, wChairID = 0;
    if (!ReadSit(frame, wTableID, wChairID))
        return;
    DWORD dwUserID = 0;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto found = m_Players.find(frame.nConnection);
        if (found == m_Players.end())
            return;
        // A seat the room does not have, or a taken one: the player stays
        // where he is.
        if (wTableID >= m_Room.wTableCount || wChairID >= demodata::kChairCount || IsSeatTaken(wTableID, wChairID))
            wTableID = found->second.wTableID, wChairID = found->second.wChairID;
        found->second.wTableID = wTableID;
        found->second.wChairID = wChairID;
        dwUserID = found->second.dwUserID;
    }
    Broadcast(server, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS,
              UserStatus(dwUserID, wTableID, wChairID, wTableID == demodata::kNoTable ? kServerFree : kServerSeated)
                  .Vector());
}

void CDemoRoom::OnStandUp(CFrameServer& server, const tagServerFrame& frame)
{
    DWORD dwUserID = 0;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto found = m_Players.find(frame.nConnection);
        if (found == m_Players.end())
            return;
        found->second.wTableID = demodata::kNoTable;
        found->second.wChairID = demodata::kNoTable;
        dwUserID = found->second.dwUserID;
    }
    Broadcast(server, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS,
              UserStatus(dwUserID, demodata::kNoTable, demodata::kNoTable, kServerFree).Vector());
}

void CDemoRoom::Broadcast(CFrameServer& server, WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body)
{
    std::vector<int> connections;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (const auto& player : m_Players)
            connections.push_back(player.first);
    }
    for (int nConnection : connections)
        server.SendFrame(nConnection, 0, wMainCmdID, wSubCmdID, body.data(), body.size());
}
