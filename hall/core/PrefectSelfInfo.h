// CPrefectSelfInfo: the form in which a player gives the personal data a
// match sign-up needs (real name, telephone, ID-card number, city), empty or
// pre-filled with the record the hall server sent. It only collects and
// checks; the caller reads the values after IDOK and sends them.
#pragma once

#include <afxwin.h>

#include <RgnDialog.h>
#include <SkinImage.h>

#include "HallRecords.h"
#include "SkinComboxEx.h"
#include "SkinControlsEx.h"

struct IRegionManager;


class CPrefectSelfInfo : public CRgnDialog
{
public:
    enum
    {
        IDD = 117,
        IDC_REAL_NAME = 1099,
        IDC_TELEPHONE = 1226,
        IDC_ID_CARD = 1201,
        IDC_TELEPHONE_AGAIN = 1227,
        IDC_PROVINCE = 1238,
        IDC_CITY = 1239,
        IDC_CITY_AGAIN = 1075,
        IDC_CONFIRM_FRAME = 1086,
        MAX_CITIES = 30,
    };

    explicit CPrefectSelfInfo(bool bPrefill, CWnd* pParent = NULL);
    virtual ~CPrefectSelfInfo();

    // Keeps the hall server's personal-information record (city id, real
    // name, telephone, ID-card number, a fourth text) when the form was made
    // to be pre-filled.
    void SetUserInfo(bool bKind, const tagAccountNotice& info);
    // The city id of the selection; 0 without one.
    DWORD GetSelectedEntry() const;

    // The region table the cities come from (default: the global units').
    void SetRegionManager(IRegionManager* pRegions) { m_pRegions = pRegions; }

    const CString& GetRealName() const { return m_strRealName; }
    const CString& GetTelephone() const { return m_strTelephone; }
    const CString& GetIdCard() const { return m_strIdCard; }
    const CString& GetText4() const { return m_strText4; }
    bool GetKind() const { return m_bKind; }
    int GetCityCount() const { return m_nCities; }

    BOOL OnInitDialog() override;

protected:
    void OnOK() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void CheckFailed(LPCSTR pszText, UINT nFocusID);

    CSkinImage m_Background;
    CEditWnd m_Edits[4];
    CSkinComboxEx m_Province;
    CSkinComboxEx m_City;
    CSkinComboxEx m_CityAgain;
    CButton m_btOK;
    CButton m_btCancel;
    bool m_bPrefill;
    bool m_bKind;
    CString m_strRealName;
    CString m_strTelephone;
    CString m_strIdCard;
    CString m_strText4;
    DWORD m_dwCityIds[MAX_CITIES];
    int m_nCities;
    int m_nSelectedCity;
    DWORD m_dwSavedCity;
    CFont m_TitleFont;
    IRegionManager* m_pRegions;
};
