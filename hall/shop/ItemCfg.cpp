#include "ItemCfg.h"

#include <string.h>

#include "TextUnit.h"

CItemCfg::CItemCfg()
    : m_wItemId(0), m_dwPrice(0), m_wCategory(0), m_cbFirstFlag(0), m_cbSecondFlag(0), m_dwImageId(0),
      m_cbQuantityItem(0), m_dwValue(0)
{
    memset(m_szName, 0, sizeof(m_szName));
    memset(m_szDescription, 0, sizeof(m_szDescription));
}

CItemCfg::~CItemCfg() {}

void CItemCfg::SetName(LPCSTR pszName)
{
    TextCopyField(m_szName, pszName);
}

void CItemCfg::SetDescription(LPCSTR pszDescription)
{
    TextCopyField(m_szDescription, pszDescription);
}
