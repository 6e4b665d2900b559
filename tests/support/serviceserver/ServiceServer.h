// The scripted user-service server: the scripted frame server with a builder
// for every reply body (written byte by byte, apart from the readers under
// test) and a start script that answers a whole start-up.
#pragma once

#include <stdint.h>
#include <string.h>

#include <string>
#include <utility>
#include <vector>

#include "ScriptedServer.h"
#include "WireBytes.h"

namespace ServiceBody
{

inline CWireBytes Result(uint32_t dwResult)
{
    return CWireBytes().U32(dwResult);
}
// 200/202: (attribute id, value) pairs.
inline CWireBytes UserInfo(uint32_t dwUserID, uint32_t dwResult,
                           const std::vector<std::pair<uint16_t, std::string>>& attrs)
{
    CWireBytes b;
    b.U32(dwUserID).U32(dwResult).Count(uint32_t(attrs.size()));
    for (const auto& attr : attrs)
        b.U16(attr.first).Str(attr.second);
    return b;
}
inline CWireBytes NickName(uint32_t dwResult, uint32_t dwUserID, const std::string& nick)
{
    return CWireBytes().U32(dwResult).U32(dwUserID).Str(nick);
}
inline CWireBytes BankInfo(uint32_t dwResult, uint32_t dwBalance, double dRate1, double dRate2, double dTax1,
                           double dTax2)
{
    CWireBytes b;
    b.U32(dwResult).U32(dwBalance);
    for (double d : {dRate1, dRate2, dTax1, dTax2}) {
        uint64_t bits;
        memcpy(&bits, &d, sizeof(bits));
        b.U64(bits);
    }
    return b;
}
inline CWireBytes Exchange(uint16_t wDirection, uint32_t dwResult)
{
    return CWireBytes().U16(wDirection).U32(dwResult);
}
inline CWireBytes BankPasswordState(uint32_t dwResult, uint8_t cbInitialised)
{
    return CWireBytes().U32(dwResult).U8(cbInitialised);
}
inline CWireBytes PlayedGames(const std::vector<std::pair<uint32_t, std::string>>& games)
{
    CWireBytes b;
    b.Count(uint32_t(games.size()));
    for (const auto& game : games)
        b.U32(game.first).Str(game.second);
    return b;
}
inline CWireBytes GameScore(uint32_t dwValue1, uint32_t dwResult, uint32_t dwFirst)
{
    CWireBytes b;
    b.U32(dwValue1).U32(dwResult);
    for (uint32_t i = 0; i < 5; ++i)
        b.U32(dwFirst + i);
    return b;
}

} // namespace ServiceBody

class CServiceServer : public CScriptedServer
{
public:
    // Answers one request (main, sub) with reply (main, sub + 1) and body.
    void Answer(WORD wMainCmdID, WORD wSubCmdID, const CWireBytes& body, bool bOnce = false)
    {
        On(wMainCmdID, wSubCmdID, {Reply(wMainCmdID, WORD(wSubCmdID + 1), body.Vector())}, bOnce);
    }

    // A whole start-up: logon accepted, the user's data, the strong box,
    // the played games and the strong-box password state.
    void AnswerStart(uint32_t dwUserID, bool bBankPasswordSet = true)
    {
        Answer(100, 102, ServiceBody::Result(0));
        Answer(200, 201,
               ServiceBody::UserInfo(dwUserID, 0,
                                     {{2, "account"},
                                      {4, "nick"},
                                      {5, "2"},
                                      {6, "7"},
                                      {14, "5000"},
                                      {17, "700"},
                                      {7, "1990-5-17"},
                                      {8, "12345"},
                                      {9, "a@b.cn"},
                                      {10, "street"},
                                      {11, "110101199001011234"},
                                      {12, "5550100"},
                                      {15, "hello"},
                                      {18, "110101"}}));
        Answer(300, 301, ServiceBody::BankInfo(0, 1200, 10.0, 0.1, 0.02, 0.01));
        Answer(500, 501, ServiceBody::PlayedGames({{11, "game"}}));
        Answer(300, 313, ServiceBody::BankPasswordState(0, bBankPasswordSet ? 1 : 0));
    }

    // The (main, sub) of every request received, in order.
    std::vector<std::pair<WORD, WORD>> RequestLog()
    {
        std::vector<std::pair<WORD, WORD>> log;
        for (const tagServerFrame& frame : GetFrames())
            log.push_back({frame.wMainCmdID, frame.wSubCmdID});
        return log;
    }
};
