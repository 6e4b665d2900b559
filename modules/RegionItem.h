// The province, city and area items of the region table. Items belong to
// CRegionManager; a parent keeps pointers to its children.
#pragma once

#include <afxtempl.h>

#include "IRegionManager.h"

class CArea final : public IArea
{
public:
    CArea(DWORD id, const char* name) : m_dwId(id), m_strName(name) {}

    DWORD GetId() override { return m_dwId; }
    const char* GetName() override { return m_strName; }

private:
    DWORD m_dwId;
    CString m_strName;
};

class CCity final : public ICity
{
public:
    CCity(DWORD id, const char* name) : m_dwId(id), m_strName(name) {}

    DWORD GetId() override { return m_dwId; }
    const char* GetName() override { return m_strName; }
    WORD GetChildCount() override { return WORD(m_Children.GetSize()); }
    IArea* GetChild(UINT index) override { return index < UINT(m_Children.GetSize()) ? m_Children[index] : NULL; }

    void AddChild(CArea* area) { m_Children.Add(area); }

private:
    DWORD m_dwId;
    CString m_strName;
    CArray<CArea*, CArea*> m_Children;
};

class CProvince final : public IProvince
{
public:
    CProvince(DWORD id, const char* name) : m_dwId(id), m_strName(name) {}

    DWORD GetId() override { return m_dwId; }
    const char* GetName() override { return m_strName; }
    WORD GetChildCount() override { return WORD(m_Children.GetSize()); }
    ICity* GetChild(UINT index) override { return index < UINT(m_Children.GetSize()) ? m_Children[index] : NULL; }

    void AddChild(CCity* city) { m_Children.Add(city); }

private:
    DWORD m_dwId;
    CString m_strName;
    CArray<CCity*, CCity*> m_Children;
};
