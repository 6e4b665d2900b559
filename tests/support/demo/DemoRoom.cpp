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

void CDemoRoom::RefuseNext(WORD wSubCmdID, DWORD dwCode)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Refusals[wSubCmdID] = dwCode;
}

bool CDemoRoom::ReadLogon(const tagServerFrame& frame, DWORD& dwUserID, std::string& digest,
                          std::string& roomPasswordDigest)
{
    if (frame.wMainCmdID != ROOM_MAIN_ROOM || frame.wSubCmdID != ROOM_SUB_LOGON)
        return false;
    CWireReader reader(frame.Body);
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
    CWireReader reader(frame.Body);
    DWORD dwFirst = 0, dwThird = 0;
    return reader.U32(dwFirst) && reader.U32(dwThird) && reader.Str(text) && reader.AtEnd();
}

bool CDemoRoom::ReadSit(const tagServerFrame& frame, WORD& wTableID, WORD& wChairID)
{
    if (frame.wMainCmdID != ROOM_MAIN_ROOM || frame.wSubCmdID != ROOM_SUB_SIT_DOWN)
        return false;
    CWireReader reader(frame.Body);
    std::string password;
    return reader.U16(wTableID) && reader.U16(wChairID) && reader.Str(password) && reader.AtEnd();
}

bool CDemoRoom::ReadBank(const tagServerFrame& frame, std::string& passwordDigest, DWORD& dwAmount)
{
    if (frame.wMainCmdID != ROOM_MAIN_ROOM)
        return false;
    CWireReader reader(frame.Body);
    passwordDigest.clear();
    dwAmount = 0;
    switch (frame.wSubCmdID) {
    case ROOM_SUB_BANK_PASSWORD: return reader.Counted(passwordDigest) && reader.AtEnd();
    case ROOM_SUB_BANK_WITHDRAW: return reader.Counted(passwordDigest) && reader.U32(dwAmount) && reader.AtEnd();
    case ROOM_SUB_BANK_DEPOSIT: return reader.U32(dwAmount) && reader.AtEnd();
    default: return false;
    }
}

bool CDemoRoom::ReadExchange(const tagServerFrame& frame, bool& bEggsToBeans, DWORD& dwAmount)
{
    if (frame.wMainCmdID != ROOM_MAIN_ROOM || frame.wSubCmdID != ROOM_SUB_GOLD_EXCHANGE)
        return false;
    CWireReader reader(frame.Body);
    BYTE cbSource = 0, cbTarget = 0;
    if (!reader.U8(cbSource) || !reader.U8(cbTarget) || !reader.U32(dwAmount) || !reader.AtEnd() ||
        cbSource == cbTarget || cbSource > 1 || cbTarget > 1)
        return false;
    bEggsToBeans = cbSource == 0;
    return true;
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
    case ROOM_SUB_BANK_PASSWORD:
    case ROOM_SUB_BANK_WITHDRAW:
    case ROOM_SUB_BANK_DEPOSIT: OnBank(server, frame); break;
    case ROOM_SUB_GOLD_EXCHANGE: OnExchange(server, frame); break;
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
        .U32(m_Room.dwServerType)
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
    // The newcomer's own names and money first (his record exists since his
    // logon), then his arrival to everyone, himself included.
    const demodata::tagAccount* pAccount = demodata::FindAccount(dwUserID);
    tagMoney money;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        money = m_Money[dwUserID];
    }
    send(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_TEXTS,
         CWireBytes()
             .U32(dwUserID)
             .Count(5)
             .U16(2)
             .Str(pAccount->pszAccount)
             .U16(3)
             .Str(std::to_string(kMemberRank))
             .U16(4)
             .Str(pAccount->pszNickName)
             .U16(14)
             .Str(std::to_string(money.dwEggs))
             .U16(17)
             .Str(std::to_string(money.dwBeans)));
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

void CDemoRoom::SendMoney(CFrameServer& server, DWORD dwUserID)
{
    tagMoney money;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        money = m_Money[dwUserID];
    }
    Broadcast(server, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_TEXTS,
              CWireBytes()
                  .U32(dwUserID)
                  .Count(2)
                  .U16(14)
                  .Str(std::to_string(money.dwEggs))
                  .U16(17)
                  .Str(std::to_string(money.dwBeans))
                  .Vector());
}

void CDemoRoom::OnBank(CFrameServer& server, const tagServerFrame& frame)
{
    std::string digest;
    DWORD dwAmount = 0;
    if (!ReadBank(frame, digest, dwAmount))
        return;
    const bool bPassword = _stricmp(digest.c_str(), demodata::kSafeBoxPasswordDigest) == 0;
    DWORD dwUserID = 0, dwCode = 0, dwSafeBox = 0;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        tagMoney* pMoney = PlayerMoney(frame.nConnection, dwUserID);
        if (pMoney == NULL)
            return;
        tagMoney& money = *pMoney;
        dwCode = TakeRefusal(frame.wSubCmdID);
        if (dwCode == 0) {
            switch (frame.wSubCmdID) {
            case ROOM_SUB_BANK_PASSWORD: dwCode = bPassword ? 0 : demodata::kSafeBoxWrongPassword; break;
            case ROOM_SUB_BANK_WITHDRAW:
                if (!bPassword) {
                    dwCode = demodata::kBankWrongPassword;
                } else if (dwAmount == 0 || dwAmount > money.dwSafeBox) {
                    dwCode = demodata::kBankTooLittleInBox;
                } else {
                    money.dwSafeBox -= dwAmount;
                    money.dwEggs += dwAmount;
                }
                break;
            default:
                if (dwAmount == 0 || dwAmount > money.dwEggs) {
                    dwCode = demodata::kBankTooLittleInHand;
                } else {
                    money.dwEggs -= dwAmount;
                    money.dwSafeBox += dwAmount;
                }
                break;
            }
        }
        dwSafeBox = money.dwSafeBox;
    }
    // The hand's new sum reaches the room before the answer.
    if (dwCode == 0 && frame.wSubCmdID != ROOM_SUB_BANK_PASSWORD)
        SendMoney(server, dwUserID);
    CWireBytes body = CWireBytes().U32(dwCode);
    if (frame.wSubCmdID == ROOM_SUB_BANK_PASSWORD && dwCode == 0)
        body.U32(dwSafeBox);
    const WORD wAnswer = frame.wSubCmdID == ROOM_SUB_BANK_PASSWORD   ? ROOM_SUB_S_BANK_PASSWORD
                         : frame.wSubCmdID == ROOM_SUB_BANK_WITHDRAW ? ROOM_SUB_S_BANK_WITHDRAW
                                                                     : ROOM_SUB_S_BANK_DEPOSIT;
    server.SendFrame(frame.nConnection, frame.dwSerialNum, ROOM_MAIN_ROOM, wAnswer, body.Data(), body.Size());
}

CDemoRoom::tagMoney* CDemoRoom::PlayerMoney(int nConnection, DWORD& dwUserID)
{
    auto found = m_Players.find(nConnection);
    if (found == m_Players.end())
        return NULL;
    dwUserID = found->second.dwUserID;
    return &m_Money[dwUserID];
}

DWORD CDemoRoom::TakeRefusal(WORD wSubCmdID)
{
    auto refusal = m_Refusals.find(wSubCmdID);
    if (refusal == m_Refusals.end())
        return 0;
    const DWORD dwCode = refusal->second;
    m_Refusals.erase(refusal);
    return dwCode;
}

void CDemoRoom::OnExchange(CFrameServer& server, const tagServerFrame& frame)
{
    bool bEggsToBeans = false;
    DWORD dwAmount = 0;
    if (!ReadExchange(frame, bEggsToBeans, dwAmount))
        return;
    DWORD dwUserID = 0, dwCode = 0;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        tagMoney* pMoney = PlayerMoney(frame.nConnection, dwUserID);
        if (pMoney == NULL)
            return;
        tagMoney& money = *pMoney;
        dwCode = TakeRefusal(frame.wSubCmdID);
        if (dwCode == 0 && bEggsToBeans) {
            if (dwAmount == 0 || dwAmount > money.dwEggs) {
                dwCode = demodata::kExchangeTooFewEggs;
            } else {
                money.dwEggs -= dwAmount;
                money.dwBeans += dwAmount * demodata::kBeansPerEgg;
            }
        } else if (dwCode == 0) {
            // Whole eggs only: beans left over stay beans.
            if (dwAmount < demodata::kBeansPerEgg || dwAmount > money.dwBeans) {
                dwCode = demodata::kExchangeTooFewBeans;
            } else {
                money.dwBeans -= dwAmount - dwAmount % demodata::kBeansPerEgg;
                money.dwEggs += dwAmount / demodata::kBeansPerEgg;
            }
        }
    }
    if (dwCode == 0)
        SendMoney(server, dwUserID);
    const CWireBytes body = CWireBytes().U32(dwCode);
    server.SendFrame(frame.nConnection, frame.dwSerialNum, ROOM_MAIN_ROOM, ROOM_SUB_S_EXCHANGE, body.Data(),
                     body.Size());
}
