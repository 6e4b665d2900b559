// Readers of the user-service server's reply bodies. Each decodes (body,
// size) into a record and touches nothing else; the data centre decides
// whom to tell. A false answer means the body is malformed and the reply is
// dropped (the logon reply alone answers a result in any case).
#pragma once

#include <afx.h>
#include <afxtempl.h>

// A user attribute as the user-service server carries it.
struct tagModifyAttr
{
    WORD wAttrID;
    char szValue[128];
};
typedef CArray<tagModifyAttr, const tagModifyAttr&> CModifyAttrArray;

namespace quillonproto
{

struct tagScore_PlayedGameList
{
    DWORD dwGameID;
    char szName[33];
};

struct tagScore_GameScore
{
    DWORD dwValue1;
    LONG lResult;
    DWORD dwValues[5]; // values 3 to 7, only when the result is 0
};

} // namespace quillonproto

typedef CArray<quillonproto::tagScore_PlayedGameList, const quillonproto::tagScore_PlayedGameList&> CPlayedGameArray;

// 200/202.
struct tagServiceUserInfo
{
    DWORD dwUserID;
    LONG lResult;
    CModifyAttrArray Attrs;
};

// 200/208: the nickname only when the result is 0.
struct tagServiceNickName
{
    LONG lResult;
    DWORD dwUserID;
    char szNickName[33];
};

// 300/302: the exchange rates and the transfer taxes (fractions).
struct tagServiceBankInfo
{
    LONG lResult;
    DWORD dwBalance;
    double dRate1;
    double dRate2;
    float fTax1;
    float fTax2;
};

// 300/312: kind 2 for egg-to-bean, 3 for bean-to-egg.
struct tagServiceExchange
{
    LONG lResult;
    LONG lKind;
};

// 300/314.
struct tagServiceBankPasswordState
{
    LONG lResult;
    bool bInitialised;
};

// Results 0 to 14 keep their value, any other becomes -1.
LONG MapResultCode(DWORD dwResult);
// The text shown for a result inside a failure message.
CString GetResultText(LONG lCode);

// 100/103: the result, or -1 when the body cannot be decoded, so a broken
// reply never reads as success.
LONG ReadLogonReply(const void* pData, UINT nDataSize);
// A reply that is a u32 result alone (200/204, 206; 300/304, 306, 308, 310, 316).
bool ReadResultReply(LONG& lResult, const void* pData, UINT nDataSize);
bool ReadUserInfoReply(tagServiceUserInfo& reply, const void* pData, UINT nDataSize);
bool ReadNickNameReply(tagServiceNickName& reply, const void* pData, UINT nDataSize);
bool ReadBankInfoReply(tagServiceBankInfo& reply, const void* pData, UINT nDataSize);
// False also for a direction other than 0 and 1.
bool ReadExchangeReply(tagServiceExchange& reply, const void* pData, UINT nDataSize);
bool ReadBankPasswordStateReply(tagServiceBankPasswordState& reply, const void* pData, UINT nDataSize);
bool ReadPlayedGameListReply(CPlayedGameArray& games, const void* pData, UINT nDataSize);
bool ReadGameScoreReply(quillonproto::tagScore_GameScore& reply, const void* pData, UINT nDataSize);
