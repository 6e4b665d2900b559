// The custom-face cache: users' own face pictures kept in the keyed database
// file the caller names, and decoded in memory once asked for.
#pragma once

#include <afxtempl.h>

#include "ICustomFaceRes.h"
#include "RefCounted.h"

struct sqlite3;

class CCustomFace : public CRefCounted<ICustomFaceRes>
{
public:
    CCustomFace();
    // Faces neither stored nor loaded for 30 days leave the file here.
    ~CCustomFace() override;

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    bool OpenDatabase(const char* path) override;
    bool HasFace(DWORD userId) override;
    int GetFaceCount() override;
    DWORD GetFaceUserIdAt(int index) override;
    bool DrawFace(DWORD userId, CDC* pDC, int x, int y) override;
    bool DrawFaceInRect(DWORD userId, CDC* pDC, const RECT* rect) override;
    tagCustomFaceItem* GetFaceItem(DWORD userId) override;
    UINT GetFaceData(DWORD userId, BYTE* buffer, UINT size) override;
    CPicture* GetFaceImage(DWORD userId) override;
    bool PutFace(DWORD userId, const char* sign, const BYTE* dump, UINT size) override;
    tagCustomFaceItem* LoadFace(DWORD userId) override;
    int DeleteFace(DWORD userId) override;

private:
    typedef CMap<DWORD, DWORD, tagCustomFaceItem*, tagCustomFaceItem*> CFaceMap;

    void CloseDatabase();
    // The map's item with a valid picture, loading the row when the map has none.
    tagCustomFaceItem* Lookup(DWORD userId);
    // Decodes the row into the map and refreshes its activity date.
    bool LoadRow(DWORD userId);
    // Replaces the user's row in one transaction; false leaves the old row.
    bool StoreRow(DWORD userId, const char* sign, const BYTE* dump, UINT size);
    // The item of that user, made when missing; its picture replaced by this one.
    void SetItem(DWORD userId, const char* sign, CPicture* picture);
    void RemoveItem(DWORD userId);
    void RemoveAllItems();

    CString m_strPath; // UTF-8
    sqlite3* m_pDatabase;
    CFaceMap m_FaceMap;
};
