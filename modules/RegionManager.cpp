#include "RegionManager.h"

#include <stdlib.h>

#include "IniSection.h"

namespace
{

template <class T> void DeleteItems(CArray<T*, T*>& items)
{
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        delete items[i];
    items.RemoveAll();
}

template <class T> T* ItemAt(CArray<T*, T*>& items, UINT index)
{
    return index < UINT(items.GetSize()) ? items[index] : NULL;
}

// Each "id=name" line of the section becomes an item, in file order.
template <class T> void ReadItems(const char* file, const char* section, CArray<T*, T*>& items)
{
    CStringArray lines;
    ReadIniSection(file, section, lines);
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
        CString id, name;
        if (SplitIniLine(lines[i], id, name))
            items.Add(new T(DWORD(atol(id)), name));
    }
}

} // namespace

CRegionManager::CRegionManager() {}

CRegionManager::~CRegionManager()
{
    RemoveAll();
}

HRESULT CRegionManager::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IRegionManager) || IsEqualGUID(iid, IID_IUnknownEx))
        return Answer(static_cast<IRegionManager*>(this), out);
    *out = NULL;
    return E_NOINTERFACE;
}

WORD CRegionManager::GetProvinceCount()
{
    return WORD(m_Provinces.GetSize());
}

WORD CRegionManager::GetCityCount()
{
    return WORD(m_Cities.GetSize());
}

WORD CRegionManager::GetAreaCount()
{
    return WORD(m_Areas.GetSize());
}

IProvince* CRegionManager::FindProvince(DWORD id)
{
    return FindProvinceItem(id);
}

ICity* CRegionManager::FindCity(DWORD id)
{
    return FindCityItem(id);
}

IArea* CRegionManager::FindArea(DWORD id)
{
    for (INT_PTR i = 0; i < m_Areas.GetSize(); ++i) {
        if (m_Areas[i]->GetId() == id)
            return m_Areas[i];
    }
    return NULL;
}

IProvince* CRegionManager::GetProvince(UINT index)
{
    return ItemAt(m_Provinces, index);
}

ICity* CRegionManager::GetCity(UINT index)
{
    return ItemAt(m_Cities, index);
}

IArea* CRegionManager::GetArea(UINT index)
{
    return ItemAt(m_Areas, index);
}

bool CRegionManager::LoadRegion(const char* file)
{
    if (file == NULL)
        return false;
    DWORD attributes = ::GetFileAttributesA(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;

    RemoveAll();
    ReadItems(file, "Province", m_Provinces);
    ReadItems(file, "City", m_Cities);
    ReadItems(file, "Area", m_Areas);

    // An item whose parent is missing stays in its list without a parent.
    for (INT_PTR i = 0; i < m_Areas.GetSize(); ++i) {
        if (CCity* city = FindCityItem(m_Areas[i]->GetId()))
            city->AddChild(m_Areas[i]);
    }
    for (INT_PTR i = 0; i < m_Cities.GetSize(); ++i) {
        if (CProvince* province = FindProvinceItem(m_Cities[i]->GetId()))
            province->AddChild(m_Cities[i]);
    }
    return true;
}

void CRegionManager::RemoveAll()
{
    DeleteItems(m_Provinces);
    DeleteItems(m_Cities);
    DeleteItems(m_Areas);
}

CProvince* CRegionManager::FindProvinceItem(DWORD id)
{
    DWORD provinceId = id - id % 10000;
    for (INT_PTR i = 0; i < m_Provinces.GetSize(); ++i) {
        if (m_Provinces[i]->GetId() == provinceId)
            return m_Provinces[i];
    }
    return NULL;
}

CCity* CRegionManager::FindCityItem(DWORD id)
{
    DWORD cityId = id - id % 100;
    for (INT_PTR i = 0; i < m_Cities.GetSize(); ++i) {
        if (m_Cities[i]->GetId() == cityId)
            return m_Cities[i];
    }
    return NULL;
}
