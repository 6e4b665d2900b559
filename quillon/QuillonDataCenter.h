// The user-service data centre: one socket to the user-service server,
// chosen from Config\ServiceServerList.ini of the current folder. Requests
// go out as archive records; every reply is decoded and raised as a
// notification of the CMessage base.
#pragma once

#include "IClientSocket.h"
#include "IQuillonDataCenter.h"
#include "Message.h"
#include "QuillonProtocol.h"
#include "SafeMemFile.h"
#include "ServiceServerRotation.h"

// A modify request waiting for its reply.
struct tagPendingModify
{
    DWORD dwSerialNum;
    CModifyAttrArray Attrs;
};

class CQuillonDataCenter : public IQuillonDataCenter, public IClientSocketSink, public CMessage
{
public:
    // A new data centre with one reference, its server list loaded.
    static CQuillonDataCenter* Create();

    // IUnknownEx
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT QueryInterface(REFGUID iid, void** out) override;

    // IQuillonDataCenter
    void SetSocket(IUnknownEx* pISocket) override;
    bool ConnectServer() override;
    bool SendLogon(DWORD dwUserID, LPCSTR pszPassword) override;
    bool RequestUserInfo() override;
    bool Reserved1(DWORD) override { return true; }
    bool SendModifyPassword(LPCSTR pszOld, LPCSTR pszNew) override;
    bool SendModifyUserInfo(const CModifyAttrArray& attrs) override;
    bool RequestBankInfo() override;
    bool SendCheckBankPassword() override;
    bool SendInitBankPassword(LPCSTR pszPassword) override;
    bool SendDeposit(DWORD dwAmount) override;
    bool SendWithdraw(LONG lAmount, LPCSTR pszPassword) override;
    bool SendModifyBankPassword(LPCSTR pszOld, LPCSTR pszNew) override;
    bool RequestNickName(DWORD dwUserID) override;
    bool SendTransfer(DWORD dwTargetID, LPCSTR pszPassword, DWORD dwAmount) override;
    bool Reserved2(DWORD, DWORD) override { return true; }
    bool Reserved3(DWORD, DWORD) override { return true; }
    bool Reserved4() override { return true; }
    bool Reserved5(DWORD) override { return true; }
    bool SendGoldToHP(LONGLONG llAmount) override;
    bool SendHPToGold(LONGLONG llAmount) override;

    bool RequestPlayedGameList();
    bool RequestGameScore(DWORD dwGameID);

    // IClientSocketSink
    bool OnSocketConnect(int nErrorCode, LPCSTR pszErrorDesc) override;
    bool OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                      IClientSocket* pISocket) override;
    bool OnSocketClose() override;
    bool OnSocketReserved1() override { return true; }
    bool OnSocketReserved2() override { return true; }
    bool OnSocketReserved3() override { return true; }

    // The smallest amount an exchange request carries.
    static const LONGLONG kMinExchange = 10000;

    const CServiceServerRotation& GetRotation() const { return m_Rotation; }
    INT_PTR GetPendingModifyCount() const { return m_PendingModify.GetSize(); }

private:
    CQuillonDataCenter();
    ~CQuillonDataCenter() override;

    static CString GetServerListPath();
    void LoadServerList();

    // Sends a written body (or none) with a fresh serial; false without a
    // socket or when the socket refuses.
    bool SendBody(WORD wMainCmdID, WORD wSubCmdID, bool bWritten, const CSafeMemFile& body, DWORD* pSerialNum = NULL);
    bool SendHead(WORD wMainCmdID, WORD wSubCmdID);
    bool SendExchange(WORD wDirection, LONGLONG llAmount);

    bool OnLogonMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnUserInfoMessage(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnBankMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnScoreMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    // A reply that is a result alone: raised with a pointer to it, or with
    // the result itself.
    void RaiseResult(const tagNotifyKey& key, const void* pData, WORD wDataSize, bool bByValue);

    LONG m_lRefCount;
    IClientSocket* m_pISocket;
    CServiceServerRotation m_Rotation;
    CArray<tagPendingModify*, tagPendingModify*> m_PendingModify;
};
