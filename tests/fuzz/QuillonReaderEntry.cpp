#include "QuillonReaderEntry.h"

#include "ReaderChecks.h"

#include "QuillonMessageReader.h"

namespace
{

void CheckResult(LONG lResult)
{
    Check(lResult >= -1 && lResult <= 14);
}

void Logon(const uint8_t* p, size_t n)
{
    CheckResult(ReadLogonReply(p, UINT(n)));
}

void Result(const uint8_t* p, size_t n)
{
    LONG lResult = 0;
    if (ReadResultReply(lResult, p, UINT(n)))
        CheckResult(lResult);
}

void UserInfo(const uint8_t* p, size_t n)
{
    tagServiceUserInfo r;
    if (!ReadUserInfoReply(r, p, UINT(n)))
        return;
    CheckResult(r.lResult);
    Check(size_t(r.Attrs.GetSize()) * 3 + 8 <= n);
    for (INT_PTR i = 0; i < r.Attrs.GetSize(); ++i)
        CheckText(r.Attrs[i].szValue);
}

void NickName(const uint8_t* p, size_t n)
{
    tagServiceNickName r;
    if (!ReadNickNameReply(r, p, UINT(n)))
        return;
    CheckResult(r.lResult);
    CheckText(r.szNickName);
    Check(r.lResult == 0 || r.szNickName[0] == '\0');
}

void BankInfo(const uint8_t* p, size_t n)
{
    tagServiceBankInfo r;
    if (ReadBankInfoReply(r, p, UINT(n)))
        Check(n >= 40 && r.lResult >= -1 && r.lResult <= 14);
}

void Exchange(const uint8_t* p, size_t n)
{
    tagServiceExchange r;
    if (ReadExchangeReply(r, p, UINT(n))) {
        CheckResult(r.lResult);
        Check(r.lKind == 2 || r.lKind == 3);
    }
}

void BankPasswordState(const uint8_t* p, size_t n)
{
    tagServiceBankPasswordState r;
    if (ReadBankPasswordStateReply(r, p, UINT(n)))
        CheckResult(r.lResult);
}

void PlayedGames(const uint8_t* p, size_t n)
{
    CPlayedGameArray r;
    if (!ReadPlayedGameListReply(r, p, UINT(n)))
        return;
    Check(size_t(r.GetSize()) * 5 <= n);
    for (INT_PTR i = 0; i < r.GetSize(); ++i)
        CheckText(r[i].szName);
}

void GameScore(const uint8_t* p, size_t n)
{
    quillonproto::tagScore_GameScore r;
    if (ReadGameScoreReply(r, p, UINT(n)))
        CheckResult(r.lResult);
}

typedef void (*ReaderFn)(const uint8_t*, size_t);

// In the order make_quillon_corpus.py numbers them.
const ReaderFn kReaders[] = {Logon,       Result,   UserInfo, NickName, BankInfo, Exchange, BankPasswordState,
                             PlayedGames, GameScore};

} // namespace

size_t GetQuillonReaderCount()
{
    return sizeof(kReaders) / sizeof(kReaders[0]);
}

void RunQuillonReader(const uint8_t* pData, size_t nSize)
{
    size_t nIndex, nBody;
    if (SplitReaderInput(pData, nSize, GetQuillonReaderCount(), nIndex, nBody))
        kReaders[nIndex](pData + 1, nBody);
}
