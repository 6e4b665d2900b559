#include "QuillonMessageReader.h"

#include <string.h>

#include "RecordCodec.h"

namespace
{

// An attribute id and an archive string: at least three bytes.
const UINT ATTR_MIN_WIRE = 3;
// A game id and an archive string: at least five bytes.
const UINT GAME_MIN_WIRE = 5;

LONG ReadResult(CArchive& ar)
{
    DWORD dwResult = 0;
    ar >> dwResult;
    return MapResultCode(dwResult);
}

} // namespace

LONG MapResultCode(DWORD dwResult)
{
    return dwResult <= 14 ? LONG(dwResult) : -1;
}

CString GetResultText(LONG lCode)
{
    static const char* const kTexts[] = {
        "成功",       "版本低",         "版本太低",       "用户不存在", "密码错误",         "无权限操作",
        "用户被锁定", "保险箱密码错误", "保险箱金蛋不足", "金蛋不足",   "客户端机器码不符", "金蛋已被锁",
        "金豆已被锁", "皮蛋不足",       "金豆不足",       "操作失败",
    };
    if (lCode >= 0 && lCode < LONG(sizeof(kTexts) / sizeof(kTexts[0])))
        return kTexts[lCode];
    if (lCode == -1)
        return "未知错误";
    CString strText;
    strText.Format("未知错误,错误码:%d", int(lCode));
    return strText;
}

LONG ReadLogonReply(const void* pData, UINT nDataSize)
{
    LONG lResult = -1;
    if (!ReadResultReply(lResult, pData, nDataSize))
        return -1;
    return lResult;
}

bool ReadResultReply(LONG& lResult, const void* pData, UINT nDataSize)
{
    lResult = -1;
    return ReadBody(pData, nDataSize, [&lResult](CArchive& ar) { lResult = ReadResult(ar); });
}

bool ReadUserInfoReply(tagServiceUserInfo& reply, const void* pData, UINT nDataSize)
{
    reply.dwUserID = 0;
    reply.lResult = -1;
    reply.Attrs.RemoveAll();
    return ReadBody(pData, nDataSize, [&reply](CArchive& ar) {
        DWORD dwResult = 0;
        ar >> reply.dwUserID >> dwResult;
        reply.lResult = MapResultCode(dwResult);
        DWORD nCount = ReadCheckedCount(ar, ATTR_MIN_WIRE);
        reply.Attrs.SetSize(0, INT_PTR(nCount));
        for (DWORD i = 0; i < nCount; ++i) {
            tagModifyAttr attr;
            memset(&attr, 0, sizeof(attr));
            ar >> attr.wAttrID;
            ReadArchiveText(ar, attr.szValue, sizeof(attr.szValue));
            reply.Attrs.Add(attr);
        }
    });
}

bool ReadNickNameReply(tagServiceNickName& reply, const void* pData, UINT nDataSize)
{
    memset(&reply, 0, sizeof(reply));
    reply.lResult = -1;
    return ReadBody(pData, nDataSize, [&reply](CArchive& ar) {
        reply.lResult = ReadResult(ar);
        ar >> reply.dwUserID;
        char szNickName[sizeof(reply.szNickName)];
        ReadArchiveText(ar, szNickName, sizeof(szNickName));
        if (reply.lResult == 0)
            memcpy(reply.szNickName, szNickName, sizeof(szNickName));
    });
}

bool ReadBankInfoReply(tagServiceBankInfo& reply, const void* pData, UINT nDataSize)
{
    memset(&reply, 0, sizeof(reply));
    reply.lResult = -1;
    return ReadBody(pData, nDataSize, [&reply](CArchive& ar) {
        reply.lResult = ReadResult(ar);
        double dTax1 = 0, dTax2 = 0;
        ar >> reply.dwBalance >> reply.dRate1 >> reply.dRate2 >> dTax1 >> dTax2;
        reply.fTax1 = float(dTax1);
        reply.fTax2 = float(dTax2);
    });
}

bool ReadExchangeReply(tagServiceExchange& reply, const void* pData, UINT nDataSize)
{
    reply.lResult = -1;
    reply.lKind = 0;
    WORD wDirection = 0;
    if (!ReadBody(pData, nDataSize, [&reply, &wDirection](CArchive& ar) {
            ar >> wDirection;
            reply.lResult = ReadResult(ar);
        }))
        return false;
    if (wDirection > 1)
        return false;
    reply.lKind = wDirection == 0 ? 2 : 3;
    return true;
}

bool ReadBankPasswordStateReply(tagServiceBankPasswordState& reply, const void* pData, UINT nDataSize)
{
    reply.lResult = -1;
    reply.bInitialised = false;
    return ReadBody(pData, nDataSize, [&reply](CArchive& ar) {
        reply.lResult = ReadResult(ar);
        BYTE cbInitialised = 0;
        ar >> cbInitialised;
        reply.bInitialised = cbInitialised != 0;
    });
}

bool ReadPlayedGameListReply(CPlayedGameArray& games, const void* pData, UINT nDataSize)
{
    games.RemoveAll();
    return ReadBody(pData, nDataSize, [&games](CArchive& ar) {
        DWORD nCount = ReadCheckedCount(ar, GAME_MIN_WIRE);
        games.SetSize(0, INT_PTR(nCount));
        for (DWORD i = 0; i < nCount; ++i) {
            quillonproto::tagScore_PlayedGameList game;
            memset(&game, 0, sizeof(game));
            ar >> game.dwGameID;
            ReadArchiveText(ar, game.szName, sizeof(game.szName));
            games.Add(game);
        }
    });
}

bool ReadGameScoreReply(quillonproto::tagScore_GameScore& reply, const void* pData, UINT nDataSize)
{
    memset(&reply, 0, sizeof(reply));
    reply.lResult = -1;
    return ReadBody(pData, nDataSize, [&reply](CArchive& ar) {
        DWORD dwResult = 0;
        DWORD dwValues[5];
        ar >> reply.dwValue1 >> dwResult;
        for (DWORD& dwValue : dwValues)
            ar >> dwValue;
        reply.lResult = MapResultCode(dwResult);
        if (reply.lResult == 0)
            memcpy(reply.dwValues, dwValues, sizeof(dwValues));
    });
}
