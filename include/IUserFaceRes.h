// The numbered system face pictures of Brindle.dll: each face number has two
// pictures (kind 0 and kind 1); any other kind asks for the default picture.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

class CDC;

TAVREL_GUID(CLSID_UserFaceRes, "B20C0706-7D62-4F28-81CA-D60030454BAD");
TAVREL_GUID(IID_IUserFaceRes, "D9C22BD3-986B-4513-835D-52B413207634");
TAVREL_GUID(IID_IUserFaceRes1, "16938C6A-4903-4D22-91D0-17CCEF214774");

struct IUserFaceRes : IUnknownEx
{
    // Loads the pairs "<n>-1.png" / "<n>-2.png" (n from 1) up to the first
    // incomplete pair, and "default.png".
    virtual bool LoadFaces(const char* dir) = 0;
    virtual WORD GetFaceCount() = 0;
    // A new bitmap the caller deletes, or null.
    virtual HBITMAP GetFaceBitmap(WORD index, int kind) = 0;
    virtual void DrawFaceInRect(WORD index, int kind, CDC* pDC, const RECT* rect) = 0;
    virtual void DrawFace(WORD index, int kind, CDC* pDC, int x, int y, int cx, int cy) = 0;
};

struct IUserFaceRes1 : IUserFaceRes
{
    // The picture file of a face; out holds at least MAX_PATH characters.
    virtual char* GetFacePath(WORD index, int kind, char* out) = 0;
};

class CUserFaceResHelper : public CModuleHelper<IUserFaceRes>
{
public:
    CUserFaceResHelper()
        : CModuleHelper<IUserFaceRes>(CLSID_UserFaceRes, IID_IUserFaceRes, "Brindle.dll", "DllGetClassObject")
    {}
};
