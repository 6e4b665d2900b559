// The grid's state: its interfaces, the tables' views and the seat
// operations of the room.
#include "TableFrame.h"

#include <new>

#include "GameRoom.h"
#include "GameTreeItem.h"
#include "GlobalUnits.h"

namespace
{

// Draws on the window and waits for real.
class CWindowFlashPainter : public ITableFlashPainter
{
public:
    void DrawOutline(CDC* pDC, const CRect& rect) override
    {
        pDC->MoveTo(rect.left, rect.top);
        pDC->LineTo(rect.right, rect.top);
        pDC->LineTo(rect.right, rect.bottom);
        pDC->LineTo(rect.left, rect.bottom);
        pDC->LineTo(rect.left, rect.top);
    }
    void Wait(DWORD dwMilliseconds) override { ::Sleep(dwMilliseconds); }
};

CWindowFlashPainter g_WindowFlashPainter;

const char kResourceError[] = "游戏桌子资源加载失败，请尝试重新安装游戏解决问题！";
const char kMemoryError[] = "可能系统资源不足，无法创建游戏桌子！";
const char kSinkError[] = "接口查询失败，无法创建游戏桌子！";

} // namespace

CTableFrame::CTableFrame(ITableFrameHost* pHost)
    : m_ulRefCount(0), m_EventBuilder(&m_WidgetManager), m_wPressedChair(INVALID_CHAIR_ID),
      m_wPressedTable(INVALID_TABLE_ID), m_bLeftDown(false), m_bRightDown(false), m_wDisplayFlags(TABLE_DISPLAY_ALL),
      m_wTableCount(0), m_wChairCount(0), m_nTableMode(TABLE_MODE_NORMAL), m_bCycle(false), m_bShowUser(false),
      m_wFreeChairFilter(0xFFFF), m_pSink(NULL), m_hScrollBitmap(NULL), m_InformationBox(this), m_nCycleMatchState(0),
      m_wIdentifyTable(INVALID_TABLE_ID), m_bCycleButtonAdded(false), m_pCyclePage(NULL), m_nXOrigin(0), m_nYOrigin(0),
      m_nScrollPos(0), m_nContentHeight(0), m_nColumns(0), m_nRows(0), m_nVisibleRows(0), m_pHost(pHost),
      m_pFlashPainter(&g_WindowFlashPainter)
{}

CTableFrame::~CTableFrame()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    ClearViews();
    if (m_pSink != NULL) {
        m_pSink->Release();
        m_pSink = NULL;
    }
    if (m_hScrollBitmap != NULL)
        ::DeleteObject(m_hScrollBitmap);
}

ULONG CTableFrame::AddRef()
{
    return ++m_ulRefCount;
}

ULONG CTableFrame::Release()
{
    if (m_ulRefCount > 0)
        --m_ulRefCount;
    return m_ulRefCount;
}

HRESULT CTableFrame::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_ITableFrameView) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<ITableFrameView*>(this);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

bool CTableFrame::CreateTableFrame(CWnd* pParent, UINT nID)
{
    // The default window class is shared: the grid answers its own erasing
    // instead of taking the class's background brush away.
    Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, CRect(0, 0, 0, 0),
           pParent, nID);
    return true;
}

void CTableFrame::ClearViews()
{
    // The grid owns the views outright; nobody keeps them past this.
    for (INT_PTR i = 0; i < m_TableViews.GetSize(); ++i)
        delete m_TableViews[i];
    m_TableViews.RemoveAll();
    m_OrderedViews.RemoveAll();
}

bool CTableFrame::IsAutoSeat()
{
    CGameRoom* pRoom = m_pHost != NULL ? m_pHost->GetGameRoom() : NULL;
    return pRoom != NULL && pRoom->IsAutoSeat();
}

bool CTableFrame::InitTableFrame(WORD wTableCount, WORD wChairCount, CGame* pGame, IUnknownEx* pOwner)
{
    m_InformationBox.LoadInformationBox(m_pHost != NULL ? m_pHost->GetGameRoom() : NULL);

    CString folder = pGame != NULL ? pGame->GetFolderName() : CString();
    if (!m_TableResource.LoadTableResource(folder))
        throw CTableFrameError(kResourceError);

    ClearViews();
    m_wTableCount = wTableCount;
    // Every chair walk indexes the 300-chair arrays with this count.
    m_wChairCount = wChairCount > MAX_TABLE_CHAIR ? WORD(MAX_TABLE_CHAIR) : wChairCount;
    for (WORD i = 0; i < wTableCount; ++i) {
        CTableView* pView = new (std::nothrow) CTableView;
        if (pView == NULL)
            throw CTableFrameError(kMemoryError);
        pView->AddRef();
        pView->InitTableView(i, m_wChairCount, this);
        m_TableViews.Add(pView);
        m_OrderedViews.Add(pView);
    }

    if (m_pSink != NULL) {
        m_pSink->Release();
        m_pSink = NULL;
    }
    void* pSink = NULL;
    if (pOwner == NULL || FAILED(pOwner->QueryInterface(IID_ITableFrameSink, &pSink)) || pSink == NULL)
        throw CTableFrameError(kSinkError);
    m_pSink = static_cast<ITableFrameSink*>(pSink);
    return true;
}

void CTableFrame::DestroyTableFrame()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    ClearViews();
    m_TableResource.ResetTableResource();
    if (m_pSink != NULL) {
        m_pSink->Release();
        m_pSink = NULL;
    }
    m_nColumns = m_nRows = m_nVisibleRows = 0;
    m_nXOrigin = m_nYOrigin = 0;
    m_nScrollPos = 0;
    m_nContentHeight = 0;
    m_bLeftDown = m_bRightDown = false;
    m_wPressedTable = INVALID_TABLE_ID;
    m_wPressedChair = INVALID_CHAIR_ID;
    m_wTableCount = 0;
    m_wChairCount = 0;
    m_nTableMode = TABLE_MODE_NORMAL;
    m_nCycleMatchState = 0;
    m_bShowUser = false;
    // The button and the page went with the window.
    if (m_bCycleButtonAdded) {
        m_WidgetManager.RemoveWidget(&m_CycleButton);
        m_bCycleButtonAdded = false;
    }
    m_bCycle = false;
    m_pCyclePage = NULL;
}

void CTableFrame::UpdateTableView(WORD wTableID, bool bForce)
{
    // Locks, play and users change with force false and are drawn in every
    // mode: whatever changed on a table with a view is shown.
    if (wTableID == INVALID_TABLE_ID || GetSafeHwnd() == NULL || m_nColumns == 0)
        return;
    if (GetTableViewItem(wTableID) == NULL)
        return;
    Invalidate(TRUE);
}

ITableView* CTableFrame::GetTableViewItem(WORD wTableID)
{
    if (m_nTableMode != TABLE_MODE_ANTI_CHEAT && wTableID >= m_wTableCount)
        return NULL;
    if (wTableID >= m_TableViews.GetSize())
        return NULL;
    return m_TableViews[wTableID];
}

ITableView* CTableFrame::GetTableView(WORD wTableID)
{
    return GetTableViewItem(Fold(wTableID));
}

bool CTableFrame::ShowUserInfo(bool bShowUser)
{
    m_bShowUser = m_nTableMode == TABLE_MODE_NORMAL && bShowUser;
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
    return true;
}

bool CTableFrame::SetUserItem(WORD wTableID, WORD wChairID, CUserItem* pUserItem)
{
    ITableView* pView = GetTableViewItem(Fold(wTableID));
    return pView != NULL && pView->SetUserItem(wChairID, pUserItem);
}

void CTableFrame::SetPlayFlag(WORD wTableID, bool bPlaying)
{
    if (ITableView* pView = GetTableViewItem(wTableID))
        pView->SetPlayFlag(bPlaying);
}

void CTableFrame::SetLockFlag(WORD wTableID, bool bLocked)
{
    if (ITableView* pView = GetTableViewItem(Fold(wTableID)))
        pView->SetLockFlag(bLocked);
}

void CTableFrame::SetSecondLock(WORD wTableID, bool bLocked)
{
    if (ITableView* pView = GetTableViewItem(Fold(wTableID)))
        pView->SetSecondLock(bLocked);
}

CUserItem* CTableFrame::GetUserItem(WORD wTableID, WORD wChairID)
{
    ITableView* pView = GetTableViewItem(Fold(wTableID));
    return pView != NULL ? pView->GetUserItem(wChairID) : NULL;
}

WORD CTableFrame::GetNullChairCount(WORD wTableID, WORD* pwLastEmpty)
{
    ITableView* pView = GetTableViewItem(Fold(wTableID));
    if (pView == NULL) {
        if (pwLastEmpty != NULL)
            *pwLastEmpty = INVALID_CHAIR_ID;
        return 0;
    }
    return pView->GetNullChairCount(pwLastEmpty);
}

bool CTableFrame::GetPlayFlag(WORD wTableID)
{
    ITableView* pView = GetTableViewItem(Fold(wTableID));
    return pView != NULL && pView->GetPlayFlag();
}

bool CTableFrame::GetLockFlag(WORD wTableID)
{
    ITableView* pView = GetTableViewItem(Fold(wTableID));
    return pView != NULL && pView->GetLockFlag();
}

const tagTableAttribute* CTableFrame::GetTableAttribute(WORD wTableID)
{
    ITableView* pView = GetTableViewItem(Fold(wTableID));
    return pView != NULL ? pView->GetTableAttribute() : NULL;
}

void CTableFrame::SetFreeChairFilter(WORD wFreeChairs, bool bErase)
{
    m_wFreeChairFilter = wFreeChairs;
    if (wFreeChairs != 0xFFFF) {
        for (INT_PTR i = 0; i < m_TableViews.GetSize(); ++i) {
            CTableView* pView = m_TableViews[i];
            pView->SetMatchFlag(false);
            WORD free = pView->GetNullChairCount(NULL);
            if (free != 0 && free == wFreeChairs)
                pView->SetMatchFlag(true);
        }
    }
    if (GetSafeHwnd() != NULL)
        Invalidate(bErase ? TRUE : FALSE);
}

void CTableFrame::ReorderTableView(ITableView* pTableView)
{
    if (pTableView == NULL)
        return;
    const WORD wTableID = pTableView->GetTableAttribute()->wTableID;
    CTableView* pView = NULL;
    for (INT_PTR i = 0; i < m_OrderedViews.GetSize(); ++i) {
        if (m_OrderedViews[i]->GetTableAttribute()->wTableID == wTableID) {
            pView = m_OrderedViews[i];
            m_OrderedViews.RemoveAt(i);
            break;
        }
    }
    if (pView == NULL)
        return;
    const WORD free = pView->GetNullChairCount(NULL);
    INT_PTR at = m_OrderedViews.GetSize();
    for (INT_PTR i = 0; i < m_OrderedViews.GetSize(); ++i) {
        if (m_OrderedViews[i]->GetNullChairCount(NULL) > free) {
            at = i;
            break;
        }
    }
    m_OrderedViews.InsertAt(at, pView);
    if (m_wDisplayFlags == TABLE_DISPLAY_FREE && GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

void CTableFrame::SetDisplayFlags(WORD wFlags)
{
    m_wDisplayFlags = wFlags;
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

INT_PTR CTableFrame::FirstFreeView()
{
    for (INT_PTR i = 0; i < m_OrderedViews.GetSize(); ++i)
        if (m_OrderedViews[i]->GetNullChairCount(NULL) != 0)
            return i;
    return m_OrderedViews.GetSize();
}

void CTableFrame::SetFlashPainter(ITableFlashPainter* pPainter)
{
    m_pFlashPainter = pPainter != NULL ? pPainter : &g_WindowFlashPainter;
}
