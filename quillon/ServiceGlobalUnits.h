// The user-service program's shared state: the own user's record, the
// strong box, the stored rates and taxes, the tip and the module holders.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include <mutex>

#include "ICustomFaceRes.h"
#include "IGameAvatarRes.h"
#include "IUserFaceRes.h"

struct IQuillonDataCenter;

// The own user's record, filled from the user-data reply.
struct tagServiceUserData
{
    DWORD dwUserID;
    char szAccount[32];    // 2
    char szNickName[32];   // 4
    WORD wFaceID;          // 6
    BYTE cbGender;         // 5: 1 male, 2 female
    DWORD dwValue3;        // 3
    DWORD dwEggCount;      // 14
    DWORD dwBeanCount;     // 17
    char szSignature[128]; // 15
    char szEmail[64];      // 9
    char szBirthday[32];   // 7: "%d-%d-%d"
    char szQQ[32];         // 8
    char szAddress[64];    // 10
    char szIdentity[32];   // 11
    char szPhone[16];      // 12
    char szText13[64];     // 13
    DWORD dwAreaID;        // 18
};

// One received attribute into the record; false for an id it does not hold.
bool SetUserAttribute(tagServiceUserData& record, WORD wAttrID, LPCSTR pszValue);
// The record's value of an attribute as text ("" for ids it does not hold).
CString GetUserAttributeText(const tagServiceUserData& record, WORD wAttrID);

// One call of ShowTip (nTime -1: until replaced) or of HideTip (bHide).
struct tagTipCall
{
    CString strText;
    int nTime;
    bool bHide;
};

// Where the tip shows (any thread may call). Until a tip window is
// installed the calls are only recorded.
struct IServiceTip
{
    virtual ~IServiceTip() {}
    virtual void ShowTip(LPCSTR pszText, int nTime) = 0;
    virtual void HideTip() = 0;
};

class CServiceGlobalUnits
{
public:
    CServiceGlobalUnits();

    tagServiceUserData* GetUserData() { return &m_UserData; }

    bool m_bUserDataReceived;
    DWORD m_dwBankBalance;
    // 64 bits: a withdrawal of a u32 amount stays negative.
    LONGLONG m_llPendingDeposit; // positive: deposit, negative: withdrawal
    LONGLONG m_llPendingTransfer;
    bool m_bBankPasswordNotSet;
    // The exchange waiting for its answer.
    LONGLONG m_llPendingEggs;
    LONGLONG m_llPendingBeans;

    // Written by every strong-box information reply.
    double m_dRate1;
    double m_dRate2;
    float m_fTax1; // ordinary users
    float m_fTax2; // member users

    // The program's data centre (no reference held).
    IQuillonDataCenter* m_pDataCenter;

    void ShowTip(LPCSTR pszText, int nTime);
    void HideTip();
    void SetTipWindow(IServiceTip* pTip);
    IServiceTip* GetTipWindow() const { return m_pTip; }
    // Every tip call so far, oldest first.
    const CArray<tagTipCall, const tagTipCall&>& GetTipCalls() const { return m_TipCalls; }
    void ClearTipCalls() { m_TipCalls.RemoveAll(); }

    CUserFaceResHelper m_UserFaceModule;
    CCustomFaceHelper m_CustomFaceModule;
    CGameAvatarResHelper m_AvatarModule;

    // Back to the state at start-up (tests run the program more than once).
    void Reset();

private:
    tagServiceUserData m_UserData;
    IServiceTip* m_pTip;
    CArray<tagTipCall, const tagTipCall&> m_TipCalls;
    std::mutex m_TipLock; // the face upload worker shows tips too
};

extern CServiceGlobalUnits g_ServiceUnits;
