#include "ServiceGlobalUnits.h"

#include <stdlib.h>
#include <string.h>

#include "RecordCodec.h"

CServiceGlobalUnits g_ServiceUnits;

namespace
{

// Where each text attribute lives in the record, and its width.
struct tagTextField
{
    WORD wAttrID;
    size_t nOffset;
    size_t nWidth;
};

#define TEXT_FIELD(id, member)                                                                                         \
    {                                                                                                                  \
        id, offsetof(tagServiceUserData, member), sizeof(tagServiceUserData::member)                                   \
    }
const tagTextField kTextFields[] = {
    TEXT_FIELD(2, szAccount),  TEXT_FIELD(4, szNickName), TEXT_FIELD(15, szSignature), TEXT_FIELD(9, szEmail),
    TEXT_FIELD(7, szBirthday), TEXT_FIELD(8, szQQ),       TEXT_FIELD(10, szAddress),   TEXT_FIELD(11, szIdentity),
    TEXT_FIELD(12, szPhone),   TEXT_FIELD(13, szText13),
};
#undef TEXT_FIELD

const tagTextField* FindTextField(WORD wAttrID)
{
    for (const tagTextField& field : kTextFields)
        if (field.wAttrID == wAttrID)
            return &field;
    return NULL;
}

DWORD ParseNumber(LPCSTR pszValue)
{
    return pszValue == NULL ? 0 : DWORD(strtoul(pszValue, NULL, 10));
}

} // namespace

CServiceGlobalUnits::CServiceGlobalUnits() : m_pDataCenter(NULL), m_pTip(NULL)
{
    Reset();
}

void CServiceGlobalUnits::Reset()
{
    memset(&m_UserData, 0, sizeof(m_UserData));
    m_bUserDataReceived = false;
    m_dwBankBalance = 0;
    m_llPendingDeposit = 0;
    m_llPendingTransfer = 0;
    m_bBankPasswordNotSet = false;
    m_llPendingEggs = m_llPendingBeans = 0;
    m_dRate1 = m_dRate2 = 0;
    m_fTax1 = m_fTax2 = 0;
    std::lock_guard<std::mutex> lock(m_TipLock);
    m_TipCalls.RemoveAll();
}

bool SetUserAttribute(tagServiceUserData& record, WORD wAttrID, LPCSTR pszValue)
{
    if (const tagTextField* field = FindTextField(wAttrID)) {
        char* pszField = reinterpret_cast<char*>(&record) + field->nOffset;
        CopyTextField(pszField, field->nWidth, pszValue, pszValue == NULL ? 0 : strlen(pszValue));
        return true;
    }
    DWORD dwValue = ParseNumber(pszValue);
    switch (wAttrID) {
    case 3: record.dwValue3 = dwValue; return true;
    case 5: record.cbGender = BYTE(dwValue); return true;
    case 6: record.wFaceID = WORD(dwValue); return true;
    case 14: record.dwEggCount = dwValue; return true;
    case 17: record.dwBeanCount = dwValue; return true;
    case 18: record.dwAreaID = dwValue; return true;
    default: return false;
    }
}

CString GetUserAttributeText(const tagServiceUserData& record, WORD wAttrID)
{
    if (const tagTextField* field = FindTextField(wAttrID)) {
        const char* pszField = reinterpret_cast<const char*>(&record) + field->nOffset;
        return CString(pszField, int(strnlen(pszField, field->nWidth)));
    }
    DWORD dwValue = 0;
    switch (wAttrID) {
    case 3: dwValue = record.dwValue3; break;
    case 5: dwValue = record.cbGender; break;
    case 6: dwValue = record.wFaceID; break;
    case 14: dwValue = record.dwEggCount; break;
    case 17: dwValue = record.dwBeanCount; break;
    case 18: dwValue = record.dwAreaID; break;
    default: return CString();
    }
    CString strText;
    strText.Format("%u", unsigned(dwValue));
    return strText;
}

void CServiceGlobalUnits::ShowTip(LPCSTR pszText, int nTime)
{
    tagTipCall call;
    call.strText = pszText == NULL ? "" : pszText;
    call.nTime = nTime;
    call.bHide = false;
    IServiceTip* pTip = NULL;
    {
        std::lock_guard<std::mutex> lock(m_TipLock);
        m_TipCalls.Add(call);
        pTip = m_pTip;
    }
    if (pTip != NULL)
        pTip->ShowTip(call.strText, nTime);
}

void CServiceGlobalUnits::HideTip()
{
    tagTipCall call;
    call.nTime = 0;
    call.bHide = true;
    IServiceTip* pTip = NULL;
    {
        std::lock_guard<std::mutex> lock(m_TipLock);
        m_TipCalls.Add(call);
        pTip = m_pTip;
    }
    if (pTip != NULL)
        pTip->HideTip();
}

void CServiceGlobalUnits::SetTipWindow(IServiceTip* pTip)
{
    std::lock_guard<std::mutex> lock(m_TipLock);
    m_pTip = pTip;
}
