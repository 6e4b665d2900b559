#include "UserFaceRes.h"

#include <stdio.h>

#include <afxwin.h>

#include "Picture.h"
#include "TextUnit.h"

namespace
{

// Transparent colour of the face pictures.
const COLORREF FACE_TRANSPARENT = RGB(0, 128, 128);

bool FileExists(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CPicture* LoadFacePicture(const char* path)
{
    CPicture* picture = new CPicture;
    if (picture->Load(path, PICTURE_TYPE_PNG)) {
        picture->IncreaseBpp(24);
        picture->SetTransColor(CPicture::RgbToQuad(FACE_TRANSPARENT));
    }
    return picture;
}

void DeletePictures(CArray<CPicture*, CPicture*>& pictures)
{
    for (INT_PTR i = 0; i < pictures.GetSize(); ++i)
        delete pictures[i];
    pictures.RemoveAll();
}

} // namespace

CUserFaceRes::CUserFaceRes() : m_wCount(0), m_pDefaultPicture(NULL)
{
    m_szFolder[0] = '\0';
}

CUserFaceRes::~CUserFaceRes()
{
    RemoveAll();
    delete m_pDefaultPicture;
}

HRESULT CUserFaceRes::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IUserFaceRes) || IsEqualGUID(iid, IID_IUserFaceRes1) || IsEqualGUID(iid, IID_IUnknownEx))
        return Answer(static_cast<IUserFaceRes1*>(this), out);
    *out = NULL;
    return E_NOINTERFACE;
}

bool CUserFaceRes::LoadFaces(const char* dir)
{
    if (dir == NULL)
        return false;
    RemoveAll();

    // A cut folder would be another folder.
    if (!TextCopyPath(m_szFolder, dir))
        return false;
    size_t length = strlen(m_szFolder);
    while (length > 0 && m_szFolder[length - 1] == '\\')
        m_szFolder[--length] = '\0';

    // Faces are numbered from 1 without gaps: the first incomplete pair ends them.
    while (m_wCount < 0xFFFF) {
        CString first, second;
        first.Format("%s\\%d-1.png", m_szFolder, m_wCount + 1);
        second.Format("%s\\%d-2.png", m_szFolder, m_wCount + 1);
        if (!FileExists(first) || !FileExists(second))
            break;
        m_FirstPictures.Add(LoadFacePicture(first));
        m_SecondPictures.Add(LoadFacePicture(second));
        ++m_wCount;
    }

    CString defaultFile;
    defaultFile.Format("%s\\default.png", m_szFolder);
    delete m_pDefaultPicture;
    m_pDefaultPicture = new CPicture;
    m_pDefaultPicture->Load(defaultFile);
    return true;
}

WORD CUserFaceRes::GetFaceCount()
{
    return m_wCount;
}

HBITMAP CUserFaceRes::GetFaceBitmap(WORD index, int kind)
{
    CPicture* picture = GetPicture(index, kind);
    return picture != NULL ? picture->MakeBitmap(NULL) : NULL;
}

void CUserFaceRes::DrawFaceInRect(WORD index, int kind, CDC* pDC, const RECT* rect)
{
    if (rect == NULL)
        return;
    DrawFace(index, kind, pDC, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
}

void CUserFaceRes::DrawFace(WORD index, int kind, CDC* pDC, int x, int y, int cx, int cy)
{
    CPicture* picture = GetPicture(index, kind);
    if (picture != NULL && pDC != NULL)
        picture->Draw(pDC->GetSafeHdc(), x, y, cx, cy, NULL, true);
}

char* CUserFaceRes::GetFacePath(WORD index, int kind, char* out)
{
    if (out == NULL)
        return NULL;
    if (kind == 0 || kind == 1)
        snprintf(out, MAX_PATH, "%s\\%d-%d.png", m_szFolder, index + 1, kind + 1);
    else
        snprintf(out, MAX_PATH, "%s\\default.png", m_szFolder);
    return out;
}

void CUserFaceRes::RemoveAll()
{
    DeletePictures(m_FirstPictures);
    DeletePictures(m_SecondPictures);
    m_wCount = 0;
}

CPicture* CUserFaceRes::GetPicture(WORD index, int kind)
{
    if (index >= m_wCount)
        return NULL;
    CPicture* picture;
    if (kind == 0)
        picture = m_FirstPictures[index];
    else if (kind == 1)
        picture = m_SecondPictures[index];
    else
        picture = m_pDefaultPicture;
    return picture != NULL && picture->IsValid() ? picture : NULL;
}
