// One user of a room: the user record the room server's messages fill,
// then three local blocks. Made and owned by the room's user map; windows
// receive it by pointer and must not keep it past the (3,2) notice that
// reports the user gone.
#pragma once

#include <stddef.h>
#include <string.h>
#include <windows.h>

#include "RoomRecords.h"

struct tagUserData
{
    DWORD dwUserID;
    char szName[32];
    char szNickName[32];
    WORD wFaceID;
    BYTE cbKey5;
    BYTE cbSpare1;
    DWORD dwRank; // 256: a privileged user
    BYTE cbKey19;
    BYTE cbSpare2[3];
    DWORD dwKey16;
    DWORD dwKey14;
    DWORD dwKey17;
    BYTE cbUnused1[16];
    DWORD dwPrivilege;  // 256: menus and panels in every table presentation
    DWORD dwLookOnWord; // non-zero: may look on at a table that is not playing
    BYTE cbUnused2[36];
    BYTE cbRelation; // 0 none, 1 friend, 2 disliked
    BYTE cbSpare3[3];
    DWORD dwKey112;
    char szKey7[32];
    char szKey8[32];
    char szKey9[64];
    char szKey10[64];
    char szKey11[32];
    char szKey12[16];
    char szKey13[64];
    char szKey15[128];
    DWORD dwKey18;
    DWORD dwKey21;
    DWORD dwScore[6]; // score, wins, losses, draws, flees, sixth
    WORD wTableID;    // INVALID_TABLE: none
    WORD wChairID;    // INVALID_CHAIR: none
    WORD wKey102;
    BYTE cbUserStatus; // enUserStatus, with USER_STATUS_FLAG beside it
    BYTE cbSpare4;
    DWORD dwSecondID; // shown instead of the user id when not 0
    DWORD dwAfterSecondID;
};
static_assert(offsetof(tagUserData, szNickName) == 36, "user record layout");
static_assert(offsetof(tagUserData, wFaceID) == 68, "user record layout");
static_assert(offsetof(tagUserData, dwRank) == 72, "user record layout");
static_assert(offsetof(tagUserData, dwKey16) == 80, "user record layout");
static_assert(offsetof(tagUserData, dwPrivilege) == 108, "user record layout");
static_assert(offsetof(tagUserData, dwLookOnWord) == 112, "user record layout");
static_assert(offsetof(tagUserData, cbRelation) == 152, "user record layout");
static_assert(offsetof(tagUserData, dwKey112) == 156, "user record layout");
static_assert(offsetof(tagUserData, szKey7) == 160, "user record layout");
static_assert(offsetof(tagUserData, szKey15) == 464, "user record layout");
static_assert(offsetof(tagUserData, dwScore) == 600, "user record layout");
static_assert(offsetof(tagUserData, wTableID) == 624, "user record layout");
static_assert(offsetof(tagUserData, cbUserStatus) == 630, "user record layout");
static_assert(offsetof(tagUserData, dwSecondID) == 632, "user record layout");
static_assert(sizeof(tagUserData) == 640, "user record layout");

struct tagUserFirstExtension
{
    DWORD dwValue[4];
};
static_assert(sizeof(tagUserFirstExtension) == 16, "first extension layout");

struct tagUserSecondExtension
{
    DWORD dwValue1;
    WORD wValue2;
    WORD wValue3;
    DWORD dwTeamMember; // non-zero: counts for the own team in match rooms
    DWORD dwTeamNumber;
};
static_assert(sizeof(tagUserSecondExtension) == 16, "second extension layout");

struct tagUserExtra
{
    DWORD dwValue;
    BYTE cbValue;
    char szText1[128];
    char szText2[128];
};
static_assert(offsetof(tagUserExtra, szText1) == 5, "extra block layout");
static_assert(sizeof(tagUserExtra) == 264, "extra block layout");

class CUserItem
{
public:
    explicit CUserItem(const tagUserData& UserData);
    CUserItem(const CUserItem& other);
    ~CUserItem();
    CUserItem& operator=(const CUserItem& other) = default;
    // Items alive in the process (leak checks of the room windows).
    static LONG GetLiveCount() { return s_lLiveCount; }

    tagUserData* GetUserData() { return &m_UserData; }
    const tagUserData* GetUserData() const { return &m_UserData; }
    tagUserFirstExtension* GetFirstExtension() { return &m_FirstExtension; }
    tagUserSecondExtension* GetSecondExtension() { return &m_SecondExtension; }
    tagUserExtra* GetExtra() { return &m_Extra; }
    const tagUserFirstExtension* GetFirstExtension() const { return &m_FirstExtension; }
    const tagUserSecondExtension* GetSecondExtension() const { return &m_SecondExtension; }
    const tagUserExtra* GetExtra() const { return &m_Extra; }

    DWORD GetUserID() const { return m_UserData.dwUserID; }
    // The second id when it is not 0, else the user id.
    DWORD GetDisplayID() const;
    // Status without the flag bit.
    BYTE GetStatus() const { return BYTE(m_UserData.cbUserStatus & USER_STATUS_MASK); }
    bool IsSeated() const { return m_UserData.wTableID != INVALID_TABLE; }
    // Wins, losses, draws and flees together.
    DWORD GetTotalGames() const;

private:
    tagUserData m_UserData;
    tagUserFirstExtension m_FirstExtension;
    tagUserSecondExtension m_SecondExtension;
    tagUserExtra m_Extra;

    static LONG s_lLiveCount;
};
