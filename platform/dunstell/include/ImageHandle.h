// CImageHandle: keeps a skin picture loaded while the handle lives, and
// reaches it.
#pragma once

#include "SkinImage.h"

class CImageHandle
{
public:
    explicit CImageHandle(CSkinImage* pSkinImage = NULL);
    ~CImageHandle();

    // Holds another picture (loading it); the previous one is let go.
    BOOL AttachResource(CSkinImage* pSkinImage);
    void DetachResource();

    // The picture exists and holds an image.
    BOOL IsResourceValid() const;
    HBITMAP GetBitmapHandle() const;
    CSkinImage* GetSkinImage() const { return m_pSkinImage; }
    CSkinImage* operator->() const { return m_pSkinImage; }

private:
    CImageHandle(const CImageHandle&);
    CImageHandle& operator=(const CImageHandle&);

    CSkinImage* m_pSkinImage;
};
