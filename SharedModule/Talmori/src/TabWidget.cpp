#include "TabWidget.h"

#include "TextUnit.h"
#include "WidgetDC.h"

CTabWidget::CTabWidget()
    : m_nCurSel(-1), m_nControlID(-1), m_Position(enTabPositionTop), m_pCurPage(NULL), m_pCurButton(NULL)
{
    m_szName[0] = '\0';
}

CTabWidget::~CTabWidget()
{
    DeleteAllItems();
}

BOOL CTabWidget::CreateListener(int nID, const char* pszName, enTabPosition position)
{
    m_nControlID = nID;
    if (pszName != NULL)
        TextCopyField(m_szName, sizeof(m_szName), pszName);
    m_Position = position;
    return TRUE;
}

enTabPosition CTabWidget::GetPosition()
{
    return m_Position;
}

void CTabWidget::Draw(CWidgetDC* pDC)
{
    if (pDC == NULL || pDC->GetDC() == NULL)
        return;
    CPoint pt(0, 0);
    pDC->TranslatePoint(&pt);
    DrawFrame(pDC->GetDC(), pt.x, pt.y, m_nWidth, m_nHeight);
}

void CTabWidget::ButtonClick(int nID)
{
    SetCurSel(nID);
}

void CTabWidget::ButtonDblClk(int nID) {}

void CTabWidget::RenumberItems()
{
    for (int i = 0; i < m_Pages.GetSize(); ++i) {
        m_Pages[i]->SetPageID(i);
        m_Buttons[i]->m_nID = i;
    }
}

void CTabWidget::AddItem(int nIndex, const char* pszTitle, CTabPageWidget* pPage)
{
    if (pPage == NULL) {
        pPage = new CTabPageWidget;
    } else {
        // Pages are owned: one held twice would be deleted twice.
        for (int i = 0; i < m_Pages.GetSize(); ++i) {
            if (m_Pages[i] == pPage)
                return;
        }
    }
    int nCount = (int)m_Pages.GetSize();
    if (nIndex < 0 || nIndex > nCount)
        nIndex = nCount;

    pPage->SetPageTitle(nIndex, pszTitle);
    m_Pages.InsertAt(nIndex, pPage);
    CTabItemButtonWidget* pButton = new CTabItemButtonWidget;
    pButton->CreateListener(nIndex, this, pszTitle);
    m_Buttons.InsertAt(nIndex, pButton);
    if (m_nCurSel >= nIndex)
        ++m_nCurSel;
    RenumberItems();

    if (nIndex == 0)
        SetCurSel(0);
    else
        pPage->SetVisible(false); // one page at a time
}

bool CTabWidget::SetCurSel(int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)m_Pages.GetSize())
        return false;
    if (m_pCurPage != NULL)
        m_pCurPage->SetVisible(false);
    if (m_pCurButton != NULL)
        m_pCurButton->SetPushed(0);
    m_nCurSel = nIndex;
    m_pCurPage = m_Pages[nIndex];
    m_pCurButton = m_Buttons[nIndex];
    m_pCurPage->SetVisible(true);
    m_pCurButton->SetPushed(1);
    return true;
}

int CTabWidget::DeleteItem(int nIndex)
{
    int nCount = (int)m_Pages.GetSize();
    if (nIndex < 0 || nIndex >= nCount)
        return 0;

    CTabPageWidget* pPage = m_Pages[nIndex];
    CTabItemButtonWidget* pButton = m_Buttons[nIndex];
    bool bCurrent = pPage == m_pCurPage;
    m_Pages.RemoveAt(nIndex);
    m_Buttons.RemoveAt(nIndex);
    if (bCurrent) {
        m_pCurPage = NULL;
        m_pCurButton = NULL;
        m_nCurSel = -1;
    } else if (m_nCurSel > nIndex) {
        --m_nCurSel;
    }
    // Each leaves whatever tree the owner put it in as it is destroyed.
    delete pPage;
    delete pButton;
    RenumberItems();

    // The neighbour takes over a deleted current tab: the one before it, or
    // the one after the first.
    if (bCurrent && m_Pages.GetSize() > 0)
        SetCurSel(nIndex > 0 ? nIndex - 1 : 0);
    return 1;
}

void CTabWidget::DeleteAllItems()
{
    m_pCurPage = NULL;
    m_pCurButton = NULL;
    m_nCurSel = -1;
    for (int i = 0; i < m_Pages.GetSize(); ++i) {
        delete m_Pages[i];
        delete m_Buttons[i];
    }
    m_Pages.RemoveAll();
    m_Buttons.RemoveAll();
}
