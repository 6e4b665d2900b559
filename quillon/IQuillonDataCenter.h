// The user-service program's link to its server, as the dialog and the
// pages reach it.
#pragma once

#include "IUnknownEx.h"
#include "QuillonMessageReader.h"

TAVREL_GUID(IID_IQuillonDataCenter, "6CFE1AEA-E321-4BFB-8CF8-3C9D86C246DD");

struct IQuillonDataCenter : IUnknownEx
{
    // An object that answers IClientSocket; null lets the held one go.
    virtual void SetSocket(IUnknownEx* pISocket) = 0;
    // Tries the next server; the outcome arrives as (100,101).
    virtual bool ConnectServer() = 0;
    virtual bool SendLogon(DWORD dwUserID, LPCSTR pszPassword) = 0;
    virtual bool RequestUserInfo() = 0;
    virtual bool Reserved1(DWORD dwValue) = 0;
    virtual bool SendModifyPassword(LPCSTR pszOld, LPCSTR pszNew) = 0;
    virtual bool SendModifyUserInfo(const CModifyAttrArray& attrs) = 0;
    virtual bool RequestBankInfo() = 0;
    virtual bool SendCheckBankPassword() = 0;
    virtual bool SendInitBankPassword(LPCSTR pszPassword) = 0;
    virtual bool SendDeposit(DWORD dwAmount) = 0;
    virtual bool SendWithdraw(LONG lAmount, LPCSTR pszPassword) = 0;
    virtual bool SendModifyBankPassword(LPCSTR pszOld, LPCSTR pszNew) = 0;
    // False, nothing sent, for user id 0.
    virtual bool RequestNickName(DWORD dwUserID) = 0;
    // False, nothing sent, without a target, an amount or a password.
    virtual bool SendTransfer(DWORD dwTargetID, LPCSTR pszPassword, DWORD dwAmount) = 0;
    virtual bool Reserved2(DWORD dwValue1, DWORD dwValue2) = 0;
    virtual bool Reserved3(DWORD dwValue1, DWORD dwValue2) = 0;
    virtual bool Reserved4() = 0;
    virtual bool Reserved5(DWORD dwValue) = 0;
    // Amounts below 10000 are refused without a request.
    virtual bool SendGoldToHP(LONGLONG llAmount) = 0;
    virtual bool SendHPToGold(LONGLONG llAmount) = 0;
};
