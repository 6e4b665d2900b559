// The detail page: birthday, region and address; the identity number is
// shown masked and cannot be edited here.
#pragma once

#include "IRegionManager.h"
#include "TabDlg.h"

class CUserBaseInfoExDlg : public CTabDlg
{
public:
    CUserBaseInfoExDlg();

    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter*) override { return true; }
    void ShowAttribute(WORD wAttrID);

    // Days of a month (February of leap years has 29).
    static int DaysOfMonth(int nYear, int nMonth);
    // The identity number as shown: past 6 characters, each further one is "*".
    static CString MaskIdentity(LPCSTR pszIdentity);
    // Selects province, city and area of an area id; false (nothing
    // changed) when any of them is unknown.
    bool SetRegion(DWORD dwAreaID);
    // The region module, for tests that hand in their own.
    void SetRegionManager(IRegionManager* pRegion) { m_pRegion = pRegion; }

protected:
    BOOL OnInitDialog() override;
    CComboBox* Combo(UINT nID) { return static_cast<CComboBox*>(GetDlgItem(nID)); }
    void FillDays();
    void FillProvinces();
    void FillCities(IProvince* pProvince);
    void FillAreas(ICity* pCity);
    void SetBirthday(LPCSTR pszBirthday);
    void NotifyBirthday();

    afx_msg void OnYearOrMonthChange();
    afx_msg void OnDayChange();
    afx_msg void OnProvinceChange();
    afx_msg void OnCityChange();
    afx_msg void OnAreaChange();
    afx_msg void OnAddressChange();
    DECLARE_MESSAGE_MAP()

    CRegionManagerHelper m_RegionModule;
    IRegionManager* m_pRegion;
};
