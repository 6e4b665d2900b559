// Records of the hall server protocol with their wire order. Each
// SerializeRecord lists the fields in the order they travel; fixed text
// fields keep at most their width less one byte.
#pragma once

#include "RecordCodec.h"

// ---- requests -----------------------------------------------------------------

struct tagLogonByAccount
{
    char szAccounts[33];
    char szPassword[33]; // MD5 hex text of the password
    char szMachineID[33];
};

struct tagLogonByUserId
{
    DWORD dwUserID;
    char szPassword[33];
    DWORD dwReserved; // always 0, never sent
    char szMachineID[33];
};

struct tagUserInfoRequest
{
    DWORD dwUserID = 0;
    CArray<WORD, WORD> AttributeIDs;
};

struct tagIdText
{
    WORD wID;
    char szText[128];
};

struct tagUserInfoResult
{
    DWORD dwResult = 0;
    CArray<tagIdText, const tagIdText&> Attributes; // only when the result is 0
};

struct tagTwoTexts
{
    char szFirst[32];
    char szSecond[32];
};

struct tagRegisterRequest
{
    CString strAccounts;
    CString strPassword; // MD5 hex text
    CString strText3;
    BYTE cbValue = 0;
    CString strText5;
    CString strText6;
};

struct tagPersonalInfoRequest
{
    DWORD dwValue1 = 0;
    CString strText1;
    CString strText2;
    CString strText3;
    DWORD dwValue2 = 0;
    CString strText4;
};

struct tagBuyItemRequest
{
    DWORD dwItemID;
    WORD wCount;
};

// Record request 3 of the record store.
struct tagStoreValueRequest
{
    DWORD dwID;
    BYTE cbValue;
};

// The attribute list of a signature change: one tagIdText.
struct tagIdTextList
{
    CArray<tagIdText, const tagIdText&> Items;
};

// ---- game lists -----------------------------------------------------------------

struct tagGameKindItem
{
    DWORD dwID;
    char szName[32];
};

struct tagGameItem
{
    DWORD dwID;
    char szName[32];
    char szFolderName[32];
};

struct tagGameRoomItem
{
    DWORD dwRoomID = 0;
    char szName[32] = {};
    DWORD dwGameID = 0; // value B
    // Addresses separated by ';'. Kept whole: a fixed width would cut an
    // address of a longer list in the middle of its name.
    CString strAddressList;
    WORD wPort = 0;
    BYTE cbRoomKind = 0;
    WORD wChannelValue = 0; // value D
};

struct tagGameWebItem
{
    DWORD dwID;
    char szName[32];
    char szLink[256];
};

struct tagTreeLinkItem
{
    DWORD dwNodeID;
    DWORD dwParentID;
    BYTE cbKind; // 1 to 7: which item list the item id names
    char szCaption[32];
    DWORD dwItemID;
    LONG lSortOrder;
    DWORD dwFlags; // optional on the wire: 0 when the item ends before it
};

struct tagOnlineCountItem
{
    DWORD dwRoomID;
    DWORD dwOnlineCount;
};

// ---- server messages ------------------------------------------------------------

struct tagSystemMessage
{
    BYTE cbKind;
    DWORD dwValue;
    char szText[512];
};

// 1002/1002. The message follows the other fields when the result is 0,
// and is the only field otherwise.
struct tagLogonResult
{
    DWORD dwResult;
    DWORD dwUserID;
    char szName[33];
    WORD wLevel;
    BYTE cbFlag;
    char szMessage[1024];
};

// What the logon window hears with (1,3).
struct tagLogonNotice
{
    LONG lResult; // mapped
    DWORD dwUserID;
    BYTE cbFlag;
    char szName[33];
    char szMessage[1024];
};

// 1002/1013, heard with (3,7).
struct tagAccountNotice
{
    BYTE cbResult;
    DWORD dwValue;
    char szText1[64];
    char szText2[32];
    char szText3[32];
    char szText4[128];
};

// 1007.
struct tagUserValueItem
{
    DWORD dwItemID;
    WORD wCount;
    LONGLONG llValue;
};

// One attribute of 1002/1008 (typed) or 1002/1012 (text).
struct tagUserAttribute
{
    DWORD dwID = 0;
    bool bText = false;
    LONG lValue = 0; // a typed number, widened
    CString strText;
};

// ---- record store (main 1008) ----------------------------------------------------

struct tagStoreEntryA
{
    DWORD dwID;
    BYTE cbState;
    char szName[32];
};

struct tagStoreEntryC
{
    DWORD dwID;
    BYTE cbState;
    char szName[32];
    DWORD dwValues[2];
    WORD wNumbers[8]; // addressed by index in subs 1008 and 1009
    WORD wExtra[6];
};

// Definitions are replaced whole by their id (the first field).
struct tagStoreDefinition
{
    DWORD dwID;
    BYTE cbBytes[3];
    DWORD dwValues1[5];
    char szText1[32];
    char szText2[64];
    char szText3[256];
    DWORD dwValues2[2];
    char szTexts4[6][256];
    char szTexts5[6][64];
    DWORD dwValues3[8];
    WORD wValues4[8];
    DWORD dwValues5[6];
    DWORD dwValues6[6];
    WORD wValues7[6];
    DWORD dwValues8[4];
    WORD wValues9[4];
    DWORD dwValues10[4];
    WORD wValues11[4];
};

// Subs 1008 and 1009.
struct tagStoreValueChange
{
    DWORD dwID;
    BYTE cbIndex;
    WORD wValue;
};

// 1006/1001.
struct tagValuePair
{
    WORD wFirst;
    WORD wSecond;
};

void SerializeRecord(CArchive& ar, tagLogonByAccount& record);
void SerializeRecord(CArchive& ar, tagLogonByUserId& record);
void SerializeRecord(CArchive& ar, tagUserInfoRequest& record);
void SerializeRecord(CArchive& ar, tagIdText& record);
void SerializeRecord(CArchive& ar, tagUserInfoResult& record);
void SerializeRecord(CArchive& ar, tagTwoTexts& record);
void SerializeRecord(CArchive& ar, tagRegisterRequest& record);
void SerializeRecord(CArchive& ar, tagPersonalInfoRequest& record);
void SerializeRecord(CArchive& ar, tagBuyItemRequest& record);
void SerializeRecord(CArchive& ar, tagStoreValueRequest& record);
void SerializeRecord(CArchive& ar, tagIdTextList& record);
void SerializeRecord(CArchive& ar, tagGameKindItem& record);
void SerializeRecord(CArchive& ar, tagGameItem& record);
void SerializeRecord(CArchive& ar, tagGameRoomItem& record);
void SerializeRecord(CArchive& ar, tagGameWebItem& record);
void SerializeRecord(CArchive& ar, tagTreeLinkItem& record);
void SerializeRecord(CArchive& ar, tagOnlineCountItem& record);
void SerializeRecord(CArchive& ar, tagSystemMessage& record);
// The game list is also read in place (UnpackRecordInPlace).
void SerializeRecord(CRecordBytes& in, tagGameKindItem& record);
void SerializeRecord(CRecordBytes& in, tagGameItem& record);
void SerializeRecord(CRecordBytes& in, tagGameRoomItem& record);
void SerializeRecord(CRecordBytes& in, tagGameWebItem& record);
void SerializeRecord(CRecordBytes& in, tagTreeLinkItem& record);
void SerializeRecord(CRecordBytes& in, tagOnlineCountItem& record);
void SerializeRecord(CArchive& ar, tagLogonResult& record);
void SerializeRecord(CArchive& ar, tagAccountNotice& record);
void SerializeRecord(CArchive& ar, tagUserValueItem& record);
void SerializeRecord(CArchive& ar, tagStoreEntryA& record);
void SerializeRecord(CArchive& ar, tagStoreEntryC& record);
void SerializeRecord(CArchive& ar, tagStoreDefinition& record);
void SerializeRecord(CArchive& ar, tagStoreValueChange& record);
void SerializeRecord(CArchive& ar, tagValuePair& record);
