// A tab item with a picture of its own beside its caption.
#pragma once

#include "SkinImage.h"
#include "SkinTabItem.h"

class CImageTabItem : public CSkinTabItem
{
public:
    CImageTabItem(UINT nIDImage, LPCSTR pszCaption)
    {
        m_Image.SetLoadInfo(nIDImage, AfxGetResourceHandle());
        SetCaption(pszCaption);
    }
    CSkinImage* GetImage() { return &m_Image; }

private:
    CSkinImage m_Image;
};
