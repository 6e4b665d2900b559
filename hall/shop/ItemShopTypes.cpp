#include "ItemShopTypes.h"

#include <string.h>

tagImageCfg::tagImageCfg() : nVersion(0), dwImageId(0)
{
    memset(szFile, 0, sizeof(szFile));
    memset(szUrl, 0, sizeof(szUrl));
}

tagImageCfg::tagImageCfg(const tagImageCfg& other) : tagImageCfg()
{
    *this = other;
}

tagImageCfg& tagImageCfg::operator=(const tagImageCfg& other)
{
    if (this == &other)
        return *this;
    nVersion = other.nVersion;
    memcpy(szFile, other.szFile, sizeof(szFile));
    memcpy(szUrl, other.szUrl, sizeof(szUrl));
    dwImageId = other.dwImageId;
    // The pictures are copied, not shared: each record frees its own.
    if (other.Picture.IsValid())
        Picture.Copy(other.Picture);
    else
        Picture.Destroy();
    if (other.SmallPicture.IsValid())
        SmallPicture.Copy(other.SmallPicture);
    else
        SmallPicture.Destroy();
    return *this;
}
