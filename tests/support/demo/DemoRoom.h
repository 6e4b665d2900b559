// A room server of the demo world: one room of the data set on a frame
// server. It lets the demo accounts in (the password room asks for its
// password), sends the room, its tables and the players already there,
// passes chat lines to everyone in the room, seats and stands players,
// sends game frames (main 1005) straight back, and keeps each account's gold
// eggs and beans and its safe box for the safe box and the gold exchange.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "DemoData.h"
#include "FrameServer.h"

class CDemoRoom
{
public:
    explicit CDemoRoom(const demodata::tagRoom& room) : m_Room(room) {}

    // Answers the server's requests from now on; set before clients connect.
    void Attach(CFrameServer& server);
    const demodata::tagRoom& GetRoom() const { return m_Room; }
    // Players logged on to the room now.
    size_t GetPlayerCount();
    // The next safe-box or exchange request of that sub command is refused
    // with the code, whatever it asks; nothing moves.
    void RefuseNext(WORD wSubCmdID, DWORD dwCode);

    // Readers of the requests a test finds among the server's frames; false
    // when the frame is not that request or its body does not add up.
    static bool ReadLogon(const tagServerFrame& frame, DWORD& dwUserID, std::string& digest,
                          std::string& roomPasswordDigest);
    static bool ReadChat(const tagServerFrame& frame, std::string& text);
    static bool ReadSit(const tagServerFrame& frame, WORD& wTableID, WORD& wChairID);
    // The safe box's requests: the password's digest (empty for a deposit,
    // which carries none) and the amount (0 for the password check).
    static bool ReadBank(const tagServerFrame& frame, std::string& passwordDigest, DWORD& dwAmount);
    // The gold exchange: true for eggs to beans.
    static bool ReadExchange(const tagServerFrame& frame, bool& bEggsToBeans, DWORD& dwAmount);

private:
    struct tagPlayer
    {
        DWORD dwUserID;
        WORD wTableID;
        WORD wChairID;
    };

    void OnRequest(CFrameServer& server, const tagServerFrame& frame);
    void OnLogon(CFrameServer& server, const tagServerFrame& frame);
    void OnSit(CFrameServer& server, const tagServerFrame& frame);
    void OnStandUp(CFrameServer& server, const tagServerFrame& frame);
    void OnBank(CFrameServer& server, const tagServerFrame& frame);
    void OnExchange(CFrameServer& server, const tagServerFrame& frame);
    // The player's gold eggs and beans as his record's texts, to everyone.
    void SendMoney(CFrameServer& server, DWORD dwUserID);
    void SendRoom(CFrameServer& server, int nConnection, DWORD dwUserID);
    // To every connection with a logged-on player.
    void Broadcast(CFrameServer& server, WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body);
    bool IsSeatTaken(WORD wTableID, WORD wChairID);

    struct tagMoney
    {
        DWORD dwEggs = demodata::kGoldEggs;
        DWORD dwSafeBox = demodata::kSafeBoxEggs;
        DWORD dwBeans = demodata::kGoldBeans;
    };
    // With the lock held: the money of the connection's player (null when
    // no player holds it), and the refusal forced for this request, taken
    // (0 when none).
    tagMoney* PlayerMoney(int nConnection, DWORD& dwUserID);
    DWORD TakeRefusal(WORD wSubCmdID);

    const demodata::tagRoom m_Room;
    std::mutex m_Mutex;
    std::map<int, tagPlayer> m_Players; // by connection
    std::map<DWORD, tagMoney> m_Money;  // by account
    std::map<WORD, DWORD> m_Refusals;   // by sub command
};
