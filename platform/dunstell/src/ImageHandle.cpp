#include "ImageHandle.h"

CImageHandle::CImageHandle(CSkinImage* pSkinImage) : m_pSkinImage(NULL)
{
    AttachResource(pSkinImage);
}

CImageHandle::~CImageHandle()
{
    DetachResource();
}

BOOL CImageHandle::AttachResource(CSkinImage* pSkinImage)
{
    DetachResource();
    m_pSkinImage = pSkinImage;
    return m_pSkinImage != NULL && m_pSkinImage->LoadImage();
}

void CImageHandle::DetachResource()
{
    m_pSkinImage = NULL;
}

BOOL CImageHandle::IsResourceValid() const
{
    return m_pSkinImage != NULL && m_pSkinImage->LoadImage();
}

HBITMAP CImageHandle::GetBitmapHandle() const
{
    return m_pSkinImage != NULL ? m_pSkinImage->GetBitmapHandle() : NULL;
}
