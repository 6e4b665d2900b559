// The player pictures of Rivesh.dll: files of one folder, decoded when drawn.
#pragma once

#include "IGameAvatarRes.h"
#include "RefCounted.h"

#include <afx.h>

class CGameAvatarRes : public CRefCounted<IGameAvatarRes>
{
public:
    CGameAvatarRes();
    virtual ~CGameAvatarRes();

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    bool LoadAvatars(const char* dir) override;
    bool HasAvatar(DWORD userId) override;
    void ReservedSlot5() override {}
    bool DrawDefaultAvatar(BYTE kind, CDC* pDC, int x, int y, int cx, int cy) override;
    void ReservedSlot7() override {}
    bool DrawAvatar(DWORD userId, CDC* pDC, int x, int y, int cx, int cy) override;

private:
    CString UserPicture(DWORD userId) const;
    bool DrawFile(const CString& path, CDC* pDC, int x, int y, int cx, int cy) const;

    CString m_strFolder; // with a trailing backslash; empty before LoadAvatars
};
