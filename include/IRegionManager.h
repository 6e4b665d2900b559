// Provinces, cities and areas users choose their home region from
// ("Region.ini"), from Brindle.dll.
//
// Region ids are six decimal digits: a province id ends in four zeros, a city
// id in two; the city of an id is id - id % 100, its province id - id % 10000.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

TAVREL_GUID(CLSID_RegionManager, "4A00B8C8-5028-44F5-8017-486F8CED5093");
TAVREL_GUID(IID_IRegionManager, "A1106E9E-9D01-4E04-9B13-BF6CBB3AFA09");

// Items are owned by the manager and are not reference counted.
struct IArea
{
    virtual DWORD GetId() = 0;
    virtual const char* GetName() = 0;
};

struct ICity
{
    virtual DWORD GetId() = 0;
    virtual const char* GetName() = 0;
    virtual WORD GetChildCount() = 0;
    virtual IArea* GetChild(UINT index) = 0; // null when out of range
};

struct IProvince
{
    virtual DWORD GetId() = 0;
    virtual const char* GetName() = 0;
    virtual WORD GetChildCount() = 0;
    virtual ICity* GetChild(UINT index) = 0; // null when out of range
};

// Item pointers stay valid until the next LoadRegion or the last Release.
struct IRegionManager : IUnknownEx
{
    virtual WORD GetProvinceCount() = 0;
    virtual WORD GetCityCount() = 0;
    virtual WORD GetAreaCount() = 0;
    virtual IProvince* FindProvince(DWORD id) = 0;
    virtual ICity* FindCity(DWORD id) = 0;
    virtual IArea* FindArea(DWORD id) = 0;
    virtual IProvince* GetProvince(UINT index) = 0;
    virtual ICity* GetCity(UINT index) = 0;
    virtual IArea* GetArea(UINT index) = 0;
    // False (and the table unchanged) when the file does not exist.
    virtual bool LoadRegion(const char* file) = 0;
};

class CRegionManagerHelper : public CModuleHelper<IRegionManager>
{
public:
    CRegionManagerHelper()
        : CModuleHelper<IRegionManager>(CLSID_RegionManager, IID_IRegionManager, "Brindle.dll", "DllGetClassObject")
    {}
};
