// The custom-face cache of Brindle.dll: users' own face pictures kept in an
// encrypted database file and decoded in memory.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

class CDC;
class CPicture;

TAVREL_GUID(CLSID_CustomFace, "79F22D8C-9CCD-470B-A366-F71612FCA75D");
TAVREL_GUID(IID_ICustomFaceRes, "D6FA60B5-CA84-4304-9113-6040E18BA048");

// One cached face; the picture belongs to the cache.
struct tagCustomFaceItem
{
    char szSign[33];
    CPicture* pPicture;
};

// Everything but OpenDatabase answers 0, false or null while no database is
// open.
struct ICustomFaceRes : IUnknownEx
{
    virtual bool OpenDatabase(const char* path) = 0;
    virtual bool HasFace(DWORD userId) = 0;
    virtual int GetFaceCount() = 0;
    virtual DWORD GetFaceUserIdAt(int index) = 0; // ascending user ids
    virtual bool DrawFace(DWORD userId, CDC* pDC, int x, int y) = 0;
    virtual bool DrawFaceInRect(DWORD userId, CDC* pDC, const RECT* rect) = 0;
    virtual tagCustomFaceItem* GetFaceItem(DWORD userId) = 0;
    // Bytes written; 0 when absent or when size is smaller than the dump.
    virtual UINT GetFaceData(DWORD userId, BYTE* buffer, UINT size) = 0;
    virtual CPicture* GetFaceImage(DWORD userId) = 0;
    // dump is the picture in the picture class's own serialised form.
    virtual bool PutFace(DWORD userId, const char* sign, const BYTE* dump, UINT size) = 0;
    virtual tagCustomFaceItem* LoadFace(DWORD userId) = 0;
    virtual int DeleteFace(DWORD userId) = 0; // database result code, 0 on success
};

class CCustomFaceHelper : public CModuleHelper<ICustomFaceRes>
{
public:
    CCustomFaceHelper()
        : CModuleHelper<ICustomFaceRes>(CLSID_CustomFace, IID_ICustomFaceRes, "Brindle.dll", "DllGetClassObject")
    {}
};
