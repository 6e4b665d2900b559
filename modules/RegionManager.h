// The region table: provinces, cities and areas read from the region INI
// file, looked up by index or by six-digit region id.
#pragma once

#include <afxtempl.h>

#include "IRegionManager.h"
#include "RefCounted.h"
#include "RegionItem.h"

class CRegionManager : public CRefCounted<IRegionManager>
{
public:
    CRegionManager();
    ~CRegionManager() override;

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    WORD GetProvinceCount() override;
    WORD GetCityCount() override;
    WORD GetAreaCount() override;
    IProvince* FindProvince(DWORD id) override;
    ICity* FindCity(DWORD id) override;
    IArea* FindArea(DWORD id) override;
    IProvince* GetProvince(UINT index) override;
    ICity* GetCity(UINT index) override;
    IArea* GetArea(UINT index) override;
    bool LoadRegion(const char* file) override;

private:
    void RemoveAll();
    CProvince* FindProvinceItem(DWORD id);
    CCity* FindCityItem(DWORD id);

    // In file order; the items are owned here.
    CArray<CProvince*, CProvince*> m_Provinces;
    CArray<CCity*, CCity*> m_Cities;
    CArray<CArea*, CArea*> m_Areas;
};
