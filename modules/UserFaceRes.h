// The numbered system face pictures users choose from: two pictures per face
// number and a default picture.
#pragma once

#include <afxtempl.h>

#include "IUserFaceRes.h"
#include "RefCounted.h"

class CPicture;

class CUserFaceRes : public CRefCounted<IUserFaceRes1>
{
public:
    CUserFaceRes();
    ~CUserFaceRes() override;

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    bool LoadFaces(const char* dir) override;
    WORD GetFaceCount() override;
    HBITMAP GetFaceBitmap(WORD index, int kind) override;
    void DrawFaceInRect(WORD index, int kind, CDC* pDC, const RECT* rect) override;
    void DrawFace(WORD index, int kind, CDC* pDC, int x, int y, int cx, int cy) override;
    char* GetFacePath(WORD index, int kind, char* out) override;

private:
    void RemoveAll();
    // The loaded picture of that face and kind; null when there is none.
    CPicture* GetPicture(WORD index, int kind);

    CArray<CPicture*, CPicture*> m_FirstPictures;
    CArray<CPicture*, CPicture*> m_SecondPictures;
    char m_szFolder[MAX_PATH]; // without trailing backslash
    WORD m_wCount;
    CPicture* m_pDefaultPicture;
};
