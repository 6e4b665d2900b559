// Room server message bodies written byte by byte (CWireBytes), apart from
// the record code under test. One sample per server message reader; the
// fuzzer's seeds and the tests that cut bodies short start from them.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "WireBytes.h"

namespace RoomBody
{

inline CWireBytes LogonOk(uint32_t dwUserID)
{
    return CWireBytes().U32(0).U32(dwUserID).Str("玩家").U16(7).U8(1);
}
inline CWireBytes LogonRefused(uint32_t dwCode, const std::string& text)
{
    return CWireBytes().U32(dwCode).Counted(text);
}
inline CWireBytes UserEnter(uint32_t dwUserID, const std::string& nick, uint16_t wRank)
{
    return CWireBytes().U32(dwUserID).Str(nick).U16(wRank);
}
inline CWireBytes UserStatus(uint32_t dwUserID, uint16_t wTable, uint16_t wChair, uint32_t dwStatus)
{
    return CWireBytes().U32(dwUserID).U16(wTable).U16(wChair).U32(dwStatus);
}
inline CWireBytes UserScore(uint32_t dwUserID, uint32_t dwFirst)
{
    CWireBytes b;
    b.U32(dwUserID);
    for (uint32_t i = 0; i < 6; ++i)
        b.U32(dwFirst + i);
    return b;
}
inline CWireBytes Chat(uint32_t x, uint32_t y, uint32_t z, const std::string& text)
{
    return CWireBytes().U32(x).U32(y).U32(z).Str(text);
}
inline CWireBytes Whisper(uint32_t x, uint32_t y, const std::string& text)
{
    return CWireBytes().U32(x).U32(y).Str(text);
}
inline CWireBytes Speaker(uint32_t dwUserID, const std::string& text)
{
    return CWireBytes().U32(dwUserID).Str(text);
}
// Raw, not an archive.
inline CWireBytes Invite(uint32_t dwUserID, uint16_t wTable)
{
    return CWireBytes().U32(dwUserID).U16(wTable);
}
inline CWireBytes UserTexts(uint32_t dwUserID)
{
    return CWireBytes().U32(dwUserID).Count(3).U16(2).Str("名字").U16(3).Str("256").U16(15).Str("签名");
}
inline CWireBytes GameRecords()
{
    return CWireBytes().U32(2).U32(7).U16(1).U32(2).U32(3).U32(8).U16(4).U32(5).U32(6);
}
inline CWireBytes Attributes(const std::vector<uint32_t>& mask)
{
    CWireBytes b;
    b.U16(uint32_t(mask.size()));
    for (uint32_t word : mask)
        b.U32(word);
    return b;
}
// One user of a list: bits 2 (rank), 3 (nickname), 20 (score) and 39.
inline CWireBytes ListedUser(uint32_t dwUserID, bool bWithSeat, const std::string& nick)
{
    CWireBytes b;
    b.U32(dwUserID);
    if (bWithSeat)
        b.U16(3).U16(1).U32(1);
    b.Bytes(Attributes({(1u << 2) | (1u << 3) | (1u << 20), 1u << (39 - 32)}).Vector());
    b.U16(5).Counted(nick).U32(1200).Counted("甲").Counted("乙");
    return b;
}
inline CWireBytes UserList(uint32_t dwUserID)
{
    return CWireBytes().U16(1).Bytes(ListedUser(dwUserID, true, "名").Vector());
}
inline CWireBytes UserChanges(uint32_t dwUserID)
{
    return CWireBytes().U16(1).Bytes(ListedUser(dwUserID, false, "名").Vector());
}
// Kind 0 room (not kind 4 or 5), two groups, two values, no closing values.
inline CWireBytes RoomInfo(uint32_t dwRule)
{
    CWireBytes b;
    b.U32(77).U32(1).U16(30).U16(4).Str("欢迎").U32(dwRule).U32(9);
    b.Counted("比赛").U16(1).U16(2).U32(3).U16(4).U32(5).U8(6).U32(7).U16(8).U64(9).U8(2);
    b.U32(100).U8(1).U32(11).U32(101).U8(2).U32(12);
    b.U32(2).U32(21).U32(22);
    return b;
}
inline CWireBytes ItemList()
{
    return CWireBytes().U32(1).U32(40).Str("喇叭").U8(1).U16(2).U8(3).U32(4).U8(5).Str("说明");
}
inline CWireBytes TableRecord(uint16_t wTable, const std::string& name)
{
    return CWireBytes().U16(wTable).Counted(name).U16(3).U8(1);
}
inline CWireBytes TableList()
{
    return CWireBytes()
        .U16(2)
        .U16(1)
        .U32(2)
        .U16(3)
        .U32(4)
        .Counted("一号")
        .U16(5)
        .U8(6)
        .U16(2)
        .U32(0)
        .U16(0)
        .U32(0)
        .Counted("")
        .U16(0)
        .U8(0);
}
inline CWireBytes TableChange()
{
    return CWireBytes().U16(1).U16(2).U16(3).U32(4).Bytes(TableRecord(5, "五号").Vector());
}
inline CWireBytes AttributeTypes()
{
    return CWireBytes().U16(3).U8(0).U8(2).U8(4);
}

struct tagSample
{
    const char* pszName;
    uint16_t wMainCmdID;
    uint16_t wSubCmdID;
    CWireBytes Body;
};

// A valid body for every server message that carries one; each is read in
// full, so any shorter cut of it is malformed.
inline std::vector<tagSample> Samples(uint32_t dwKnownUser)
{
    return {
        {"logon_ok", 1002, 1001, LogonOk(dwKnownUser)},
        {"logon_refused", 1002, 1001, LogonRefused(5, "拒绝")},
        {"game_reset", 1002, 1002, CWireBytes().U32(1)},
        {"sit_result", 1002, 1003, CWireBytes().U32(4)},
        {"user_enter", 1002, 1004, UserEnter(dwKnownUser + 1, "新人", 0)},
        {"user_status", 1002, 1005, UserStatus(dwKnownUser, 2, 1, 1)},
        {"user_score", 1002, 1006, UserScore(dwKnownUser, 10)},
        {"chat", 1002, 1008, Chat(dwKnownUser, 0, 0xFF, "你好")},
        {"speaker", 1002, 1009, Speaker(dwKnownUser, "喇叭")},
        {"invite", 1002, 1010, Invite(dwKnownUser, 4)},
        {"user_leave", 1002, 1011, CWireBytes().U32(dwKnownUser)},
        {"user_texts", 1002, 1013, UserTexts(dwKnownUser)},
        {"whisper", 1002, 1014, Whisper(dwKnownUser, 0xFF, "悄悄话")},
        {"kicked", 1002, 1015, CWireBytes().U8(1)},
        {"result_code", 1002, 1016, CWireBytes().U32(18)},
        {"game_records", 1002, 1017, GameRecords()},
        {"game_record", 1002, 1018, CWireBytes().U32(7).U16(1).U32(2).U32(3)},
        {"user_extension", 1002, 1019, CWireBytes().U32(dwKnownUser).U32(1).U32(2).U32(3)},
        {"room_state", 1002, 1020, CWireBytes().U8(1)},
        {"speed_answer", 1002, 1022, CWireBytes().U32(dwKnownUser).U32(80)},
        {"room_flags", 1002, 1024, CWireBytes().U32(1).U32(2)},
        {"user_value", 1002, 1025, CWireBytes().U32(dwKnownUser).U32(6)},
        {"user_list", 1002, 1026, UserList(dwKnownUser)},
        {"user_changes", 1002, 1027, UserChanges(dwKnownUser)},
        {"bank_withdraw", 1002, 1028, CWireBytes().U32(0)},
        {"bank_deposit", 1002, 1029, CWireBytes().U32(0)},
        {"bank_password", 1002, 1030, CWireBytes().U32(0).U32(55)},
        {"sign_buttons", 1002, 1032, CWireBytes().U32(3)},
        {"match_team", 1002, 1033, CWireBytes().U8(2)},
        {"sign_result", 1002, 1034, CWireBytes().U32(1)},
        {"exchange", 1002, 1043, CWireBytes().U32(0)},
        {"room_info", 1003, 1002, RoomInfo(0x100)},
        {"table_flags", 1003, 1003, CWireBytes().U16(2).U32(5)},
        {"system_text", 1003, 1004, CWireBytes().U8(1).U8(0).Str("系统")},
        {"item_list", 1003, 1005, ItemList()},
        {"table_record", 1003, 1006, TableRecord(1, "一号")},
        {"table_list", 1003, 1008, TableList()},
        {"table_change", 1003, 1009, TableChange()},
        {"group_state", 1003, 1011, CWireBytes().U16(1).U32(9).U8(2)},
        {"attribute_types", 1003, 1013, AttributeTypes()},
        {"user_value_game", 1007, 1001, CWireBytes().U32(dwKnownUser).U32(3)},
    };
}

} // namespace RoomBody
