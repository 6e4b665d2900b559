// The demo world's one data set: accounts, the game tree and the rooms with
// their kinds, read by the demo hall, the demo rooms, the game installer and
// the tests that drive the hall against them.
#pragma once

#include <winsock2.h> // before the system headers, for the servers' users
#include <windows.h>

#include <string>
#include <vector>

namespace demohall
{
// The first demo account.
const char kAccount[] = "demo";
const char kPassword[] = "demo123";
const DWORD kUserID = 10001;
const DWORD kFirstRoomID = 100;
const int kRoomCount = 6;
// The refusal a wrong account or password gets.
const char kRefusalText[] = "帐号或密码错误，演示帐号为 demo，密码 demo123";
} // namespace demohall

namespace demodata
{

struct tagAccount
{
    const char* pszAccount;
    const char* pszPassword;
    const char* pszDigest; // MD5 hex text of the password, as the hall sends it
    DWORD dwUserID;
    const char* pszNickName;
};

struct tagCategory
{
    DWORD dwID;
    const char* pszName;
};

struct tagGame
{
    DWORD dwID;
    DWORD dwCategoryID;
    const char* pszName;
    const char* pszFolder; // below the program folder
};

enum enRoomKind
{
    ROOM_PLAIN,
    ROOM_PASSWORD,
    ROOM_MATCH,
    ROOM_ANONYMOUS,
};

struct tagRoom
{
    DWORD dwID;
    DWORD dwGameID;
    const char* pszName;
    enRoomKind nKind;
    BYTE cbRoomType; // the hall's room type byte
    DWORD dwRule;    // the room's rule bits
    WORD wTableCount;
    DWORD dwOnline;
    // The type the room server announces: 2 gold eggs (the safe box on the
    // table tool bar), 3 gold beans (the gold exchange), 4 match, 1 score.
    DWORD dwServerType = 1;
};

// Players already in every room: one seated at table 0, one at table 1, one
// standing.
struct tagResident
{
    DWORD dwUserID;
    const char* pszNickName;
    WORD wTableID;
    WORD wChairID;
};

const WORD kChairCount = 4;
const WORD kNoTable = 0xFFFF;
// The password of the password room, and its digest.
const char kRoomPassword[] = "1234";
const char kRoomPasswordDigest[] = "81dc9bdb52d04dc20036dbd8313ed055";
// Room logon answers (server codes) for a password that is missing or wrong.
const DWORD kRoomNeedsPassword = 12;
const DWORD kRoomWrongPassword = 13;
const char kWelcome[] = "欢迎来到演示房间";

// What every demo account holds in the rooms at the start: gold eggs in the
// hand and in the safe box, gold beans; the safe box's password and its digest.
const DWORD kGoldEggs = 50000;
const DWORD kSafeBoxEggs = 200000;
const DWORD kGoldBeans = 300000;
const char kSafeBoxPassword[] = "888888";
const char kSafeBoxPasswordDigest[] = "21218cca77804d2ba1922c33e0151105";
// Room answers of the safe box and the exchange.
const DWORD kSafeBoxWrongPassword = 3;
const DWORD kBankWrongPassword = 7;
const DWORD kBankTooLittleInBox = 8;
const DWORD kBankTooLittleInHand = 9;
const DWORD kExchangeTooFewEggs = 3;
const DWORD kExchangeTooFewBeans = 5;
// Gold beans a gold egg buys.
const DWORD kBeansPerEgg = 10;

// The shop's items (all on the shop page). The demo hall answers a purchase
// with the item's answer code: 0 sells it, the others are its refusals.
struct tagShopItem
{
    WORD wItemID;
    const char* pszName;
    DWORD dwPrice;
    BYTE cbAnswer;
};

inline const std::vector<tagAccount>& Accounts()
{
    static const std::vector<tagAccount> accounts = {
        {demohall::kAccount, demohall::kPassword, "62cc2d8b4bf2d8728120d052163a77df", demohall::kUserID, "演示玩家"},
        {"lucky", "lucky123", "4e656f1e81680fde65d19ed7313dee99", 10002, "幸运星"},
    };
    return accounts;
}

inline const std::vector<tagCategory>& Categories()
{
    static const std::vector<tagCategory> categories = {{1, "棋牌游戏"}, {2, "休闲游戏"}};
    return categories;
}

inline const std::vector<tagGame>& Games()
{
    static const std::vector<tagGame> games = {
        {10, 1, "斗地主", "Landlord"},
        {11, 1, "象棋", "Chess"},
        {12, 2, "五子棋", "Gobang"},
    };
    return games;
}

inline const std::vector<tagRoom>& Rooms()
{
    static const std::vector<tagRoom> rooms = {
        {demohall::kFirstRoomID, 10, "新手房", ROOM_PLAIN, 2, 0, 12, 12},
        {demohall::kFirstRoomID + 1, 10, "密码房", ROOM_PASSWORD, 2, 0, 8, 19},
        {demohall::kFirstRoomID + 2, 11, "比赛房", ROOM_MATCH, 4, 0x1000, 8, 26},
        {demohall::kFirstRoomID + 3, 12, "隐身房", ROOM_ANONYMOUS, 2, 0x100, 8, 33},
        {demohall::kFirstRoomID + 4, 12, "金蛋房", ROOM_PLAIN, 2, 0, 8, 40, 2},
        {demohall::kFirstRoomID + 5, 12, "金豆房", ROOM_PLAIN, 3, 0, 8, 47, 3},
    };
    return rooms;
}

inline const std::vector<tagResident>& Residents()
{
    static const std::vector<tagResident> residents = {
        {20001, "小明", 0, 1},
        {20002, "小红", 1, 0},
        {20003, "老王", kNoTable, kNoTable},
    };
    return residents;
}

inline const std::vector<tagShopItem>& ShopItems()
{
    static const std::vector<tagShopItem> items = {
        {5, "小喇叭", 100, 0}, {6, "踢人卡", 200, 1}, {7, "会员卡", 90000, 2},
        {8, "改名卡", 300, 3}, {9, "护身符", 500, 4},
    };
    return items;
}

inline const tagShopItem* FindShopItem(DWORD dwItemID)
{
    for (const tagShopItem& item : ShopItems())
        if (dwItemID == item.wItemID)
            return &item;
    return nullptr;
}

inline const tagAccount* FindAccount(const std::string& account)
{
    for (const tagAccount& a : Accounts())
        if (account == a.pszAccount)
            return &a;
    return nullptr;
}
inline const tagAccount* FindAccount(DWORD dwUserID)
{
    for (const tagAccount& a : Accounts())
        if (dwUserID == a.dwUserID)
            return &a;
    return nullptr;
}
inline const tagGame* FindGame(DWORD dwGameID)
{
    for (const tagGame& g : Games())
        if (dwGameID == g.dwID)
            return &g;
    return nullptr;
}
inline const tagRoom* FindRoom(DWORD dwRoomID)
{
    for (const tagRoom& r : Rooms())
        if (dwRoomID == r.dwID)
            return &r;
    return nullptr;
}

} // namespace demodata
