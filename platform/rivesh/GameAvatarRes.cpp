#include "GameAvatarRes.h"

#include <afxwin.h>

#include "Picture.h"

CGameAvatarRes::CGameAvatarRes() {}

CGameAvatarRes::~CGameAvatarRes() {}

HRESULT CGameAvatarRes::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IGameAvatarRes) || IsEqualGUID(iid, IID_IUnknownEx)) {
        return Answer(static_cast<IGameAvatarRes*>(this), out);
    }
    *out = NULL;
    return E_NOINTERFACE;
}

bool CGameAvatarRes::LoadAvatars(const char* dir)
{
    m_strFolder.Empty();
    if (dir == NULL || dir[0] == '\0')
        return false;
    DWORD attributes = GetFileAttributesA(dir);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    m_strFolder = dir;
    if (m_strFolder.Right(1) != "\\" && m_strFolder.Right(1) != "/")
        m_strFolder += "\\";
    return true;
}

CString CGameAvatarRes::UserPicture(DWORD userId) const
{
    CString path;
    path.Format("%s%lu.png", (LPCSTR)m_strFolder, (unsigned long)userId);
    return path;
}

bool CGameAvatarRes::HasAvatar(DWORD userId)
{
    if (m_strFolder.IsEmpty() || userId == 0)
        return false;
    DWORD attributes = GetFileAttributesA(UserPicture(userId));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CGameAvatarRes::DrawFile(const CString& path, CDC* pDC, int x, int y, int cx, int cy) const
{
    if (m_strFolder.IsEmpty() || pDC == NULL || pDC->GetSafeHdc() == NULL || cx <= 0 || cy <= 0)
        return false;
    CPicture picture;
    if (!picture.Load(path))
        return false;
    return picture.Draw(pDC->GetSafeHdc(), x, y, cx, cy, NULL, true);
}

bool CGameAvatarRes::DrawDefaultAvatar(BYTE kind, CDC* pDC, int x, int y, int cx, int cy)
{
    CString path;
    path.Format("%sdefault%u.png", (LPCSTR)m_strFolder, (unsigned)kind);
    return DrawFile(path, pDC, x, y, cx, cy);
}

bool CGameAvatarRes::DrawAvatar(DWORD userId, CDC* pDC, int x, int y, int cx, int cy)
{
    if (!HasAvatar(userId))
        return false;
    return DrawFile(UserPicture(userId), pDC, x, y, cx, cy);
}
