// The logged-on user's record, kept by the global units: zeroed at start and
// at each account switch, filled by the logon and by the attribute messages
// of the hall server (attribute ids in the comments).
#pragma once

#include <stddef.h>
#include <windows.h>

// Level of a guest.
#define GUEST_USER_LEVEL (-100)

struct tagGlobalUserData
{
    DWORD dwUserID;
    LONG lLevel; // attribute 3; GUEST_USER_LEVEL for a guest
    char szAccount[32];
    char szPassword[33]; // MD5 hex text of the password
    BYTE cbReserved1[3];
    char szName[32];     // attribute 2
    char szNickName[32]; // attribute 4
    BYTE cbGender;       // attribute 5; 2 = female
    BYTE cbAttribute19;  // attribute 19
    WORD wFaceID;        // attribute 6
    char szAttribute7[32];
    char szAttribute8[32];
    char szAttribute9[64];
    char szAttribute10[64];
    char szAttribute11[32];
    char szAttribute12[16];
    char szCustomFace[64]; // attribute 13; empty without a custom face
    char szSignature[128]; // attribute 15
    DWORD dwGoldEggs;      // attribute 14
    DWORD dwAttribute16;
    DWORD dwAttribute17;
    DWORD dwAttribute23;
    DWORD dwLockMachine; // non-zero while the account is bound to this machine
    DWORD dwSecondID;    // shown instead of the user id when not 0
    BYTE cbReserved2[24];
};
static_assert(sizeof(tagGlobalUserData) == 624, "user record layout");
static_assert(offsetof(tagGlobalUserData, lLevel) == 4, "the level is the second field");
static_assert(offsetof(tagGlobalUserData, szName) == 76, "user record layout");
static_assert(offsetof(tagGlobalUserData, szCustomFace) == 384, "user record layout");
static_assert(offsetof(tagGlobalUserData, dwGoldEggs) == 576, "user record layout");
