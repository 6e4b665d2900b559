#include "SkinTabItem.h"
#include "SkinTabManager.h"

CSkinTabItem::CSkinTabItem()
    : m_pManager(NULL), m_hWnd(NULL), m_nImage(-1), m_dwData(0), m_bEnabled(TRUE), m_bOwnedByManager(FALSE),
      m_rcItem(0, 0, 0, 0), m_nButtonLength(0), m_nContentLength(0)
{}

CSkinTabItem::~CSkinTabItem()
{
    // A caller's item going first leaves its strip.
    if (m_pManager != NULL)
        m_pManager->DeleteItem(GetIndex());
}

void CSkinTabItem::SetCaption(LPCTSTR pszCaption)
{
    m_strCaption = pszCaption != NULL ? pszCaption : "";
    if (m_pManager != NULL)
        m_pManager->Reposition();
}

void CSkinTabItem::SetHandle(HWND hWnd)
{
    m_hWnd = hWnd;
    if (m_pManager != NULL)
        m_pManager->Reposition();
}

void CSkinTabItem::SetImageIndex(int nImage)
{
    m_nImage = nImage;
    if (m_pManager != NULL)
        m_pManager->Reposition();
}

void CSkinTabItem::SetEnabled(BOOL bEnabled)
{
    m_bEnabled = bEnabled;
    if (m_pManager != NULL)
        m_pManager->RedrawControl();
}

int CSkinTabItem::GetIndex() const
{
    return m_pManager != NULL ? m_pManager->FindIndex(this) : -1;
}

BOOL CSkinTabItem::IsSelected() const
{
    return m_pManager != NULL && m_pManager->GetSelectedItem() == this;
}

BOOL CSkinTabItem::IsFocused() const
{
    return m_pManager != NULL && m_pManager->GetFocusedItem() == this;
}

void CSkinTabItem::Select()
{
    if (m_pManager != NULL)
        m_pManager->SetSelectedItem(this);
}
