#include "TableView.h"

#include "CustomFaceManagerWnd.h"
#include "GlobalUnits.h"
#include "TabbedText.h"
#include "TableFrameView.h"
#include "TextUnit.h"
#include "UserItem.h"

namespace
{

const COLORREF kTableMagentaKey = RGB(255, 0, 255);
// Chair rectangles narrower than this show a face, wider ones an avatar.
const int kFaceChairWidth = 65;
const int kFaceSize = 32;
const int kAvatarWidth = 91;
const int kAvatarHeight = 138;
const int kNameLineHeight = 15;
const BYTE kFemale = 2;

// Name alignment bits of a chair.
enum
{
    STYLE_RIGHT = 0x01,
    STYLE_CENTER = 0x02,
    STYLE_LEFT = 0x04,
    STYLE_TOP = 0x10,
    STYLE_VCENTER = 0x20,
    STYLE_BOTTOM = 0x40,
};

UINT HorizontalFormat(DWORD style)
{
    if (style & STYLE_LEFT)
        return DT_LEFT;
    if (style & STYLE_CENTER)
        return DT_CENTER;
    if (style & STYLE_RIGHT)
        return DT_RIGHT;
    return DT_LEFT;
}

} // namespace

CTableView::CTableView()
    : m_ulRefCount(0), m_cbMouseDown(0), m_cbFocus(0), m_wHoverChair(INVALID_CHAIR_ID), m_cbRule(0), m_cbMultiple(0),
      m_cbInnings(0), m_pOwner(NULL), m_cbMatch(1), m_cbRing(0), m_wCycleMatchChair(INVALID_CHAIR_ID)
{
    memset(&m_TableAttribute, 0, sizeof(m_TableAttribute));
    memset(m_szTableText, 0, sizeof(m_szTableText));
    memset(m_pUserItems, 0, sizeof(m_pUserItems));
    memset(m_szTableName, 0, sizeof(m_szTableName));
}

CTableView::~CTableView() {}

ULONG CTableView::AddRef()
{
    return ++m_ulRefCount;
}

ULONG CTableView::Release()
{
    // A Release without a reference is the caller's fault: nothing to free.
    if (m_ulRefCount == 0)
        return 0;
    if (--m_ulRefCount == 0) {
        delete this;
        return 0;
    }
    return m_ulRefCount;
}

HRESULT CTableView::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_ITableView) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<ITableView*>(this);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

void CTableView::InitTableView(WORD wTableID, WORD wChairCount, ITableFrameView* pOwner)
{
    m_TableAttribute.wTableID = wTableID;
    // Every chair walk indexes the per-chair arrays with this count.
    m_TableAttribute.wChairCount = wChairCount > MAX_TABLE_CHAIR ? WORD(MAX_TABLE_CHAIR) : wChairCount;
    m_pOwner = pOwner;
}

WORD CTableView::ChairLimit() const
{
    return m_TableAttribute.wChairCount > MAX_TABLE_CHAIR ? WORD(MAX_TABLE_CHAIR) : m_TableAttribute.wChairCount;
}

void CTableView::Repaint(bool bForce)
{
    if (m_pOwner != NULL)
        m_pOwner->UpdateTableView(m_TableAttribute.wTableID, bForce);
}

void CTableView::SetMatchFlag(bool bMatch)
{
    m_cbMatch = bMatch ? 1 : 0;
}

bool CTableView::SetUserItem(WORD wChairID, CUserItem* pUserItem)
{
    if (wChairID >= MAX_TABLE_CHAIR)
        return false;
    m_pUserItems[wChairID] = pUserItem;
    Repaint(false);
    if (m_pOwner != NULL)
        m_pOwner->ReorderTableView(this);
    return true;
}

void CTableView::SetMouseDown(bool bMouseDown)
{
    if ((m_cbMouseDown != 0) == bMouseDown)
        return;
    m_cbMouseDown = bMouseDown ? 1 : 0;
    Repaint(true);
}

void CTableView::SetFocusFrame(bool bFocus)
{
    if ((m_cbFocus != 0) == bFocus)
        return;
    m_cbFocus = bFocus ? 1 : 0;
    Repaint(false);
}

void CTableView::SetHoverChair(WORD wChairID)
{
    if (m_wHoverChair == wChairID)
        return;
    m_wHoverChair = wChairID;
    Repaint(true);
}

void CTableView::SetPlayFlag(bool bPlaying)
{
    if ((m_TableAttribute.cbPlaying != 0) == bPlaying)
        return;
    m_TableAttribute.cbPlaying = bPlaying ? 1 : 0;
    Repaint(false);
}

void CTableView::SetLockFlag(bool bLocked)
{
    if ((m_TableAttribute.cbLocked != 0) == bLocked)
        return;
    m_TableAttribute.cbLocked = bLocked ? 1 : 0;
    Repaint(false);
}

void CTableView::SetSecondLock(bool bLocked)
{
    if ((m_TableAttribute.cbSecondLock != 0) == bLocked)
        return;
    m_TableAttribute.cbSecondLock = bLocked ? 1 : 0;
    Repaint(false);
}

void CTableView::SetReservedFlag(bool bReserved)
{
    m_TableAttribute.cbReserved = bReserved ? 1 : 0;
}

void CTableView::SetTableText(const char* pszText)
{
    TextCopyField(m_szTableText, pszText);
    Repaint(true);
}

void CTableView::SetTableName(const char* pszName)
{
    if (pszName != NULL)
        TextCopyField(m_szTableName, pszName);
}

void CTableView::SetRuleByte(BYTE cbRule)
{
    m_cbRule = cbRule;
}

void CTableView::SetMultiple(BYTE cbMultiple)
{
    m_cbMultiple = cbMultiple;
}

void CTableView::SetInnings(BYTE cbInnings)
{
    m_cbInnings = cbInnings;
}

CUserItem* CTableView::GetUserItem(WORD wChairID)
{
    return wChairID < MAX_TABLE_CHAIR ? m_pUserItems[wChairID] : NULL;
}

WORD CTableView::GetNullChairCount(WORD* pwLastEmpty)
{
    WORD count = 0;
    WORD last = INVALID_CHAIR_ID;
    for (WORD i = 0; i < ChairLimit(); ++i) {
        if (m_pUserItems[i] == NULL) {
            ++count;
            last = i;
        }
    }
    if (pwLastEmpty != NULL)
        *pwLastEmpty = last;
    return count;
}

bool CTableView::GetMatchFlag()
{
    return m_cbMatch != 0;
}

bool CTableView::GetFocusFrame()
{
    return m_cbFocus != 0;
}

WORD CTableView::GetHoverChair()
{
    return m_wHoverChair;
}

bool CTableView::GetPlayFlag()
{
    return m_TableAttribute.cbPlaying != 0;
}

bool CTableView::GetLockFlag()
{
    return m_TableAttribute.cbLocked != 0;
}

const tagTableAttribute* CTableView::GetTableAttribute()
{
    return &m_TableAttribute;
}

CString CTableView::GetTableName()
{
    return CString(m_szTableName);
}

BYTE CTableView::GetRuleByte()
{
    return m_cbRule;
}

BYTE CTableView::GetMultiple()
{
    return m_cbMultiple;
}

BYTE CTableView::GetInnings()
{
    return m_cbInnings;
}

void CTableView::SetRingFlag(bool bRing)
{
    m_cbRing = bRing ? 1 : 0;
}

void CTableView::SetCycleMatchChair(WORD wChairID)
{
    m_wCycleMatchChair = wChairID;
}

void CTableView::DrawPlayer(CDC* pDC, CTableResource* pResource, WORD wChair, CUserItem* pUserItem)
{
    const tagUserData* pUser = pUserItem->GetUserData();
    const CRect& rcChair = pResource->m_rcChair[wChair];
    pDC->FillSolidRect(&rcChair, pResource->m_crChairBackGround);

    if (rcChair.Width() < kFaceChairWidth) {
        CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
        if (pFaces != NULL && pFaces->HasCurrentFace(pUser->dwUserID, pUser->szKey13)) {
            pFaces->DrawFaceInRect(pUser->dwUserID, pUser->szKey13, pDC, rcChair.left + 1, rcChair.top, kFaceSize,
                                   kFaceSize);
        } else if (IUserFaceRes* pFaceRes = g_GlobalUnits.m_UserFaceResHelper.GetInterface()) {
            pFaceRes->DrawFace(pUser->wFaceID, 0, pDC, rcChair.left + 1, rcChair.top + 1, kFaceSize, kFaceSize);
        }
    } else if (IGameAvatarRes* pAvatars = g_GlobalUnits.m_GameAvatarResHelper.GetInterface()) {
        if (pAvatars->HasAvatar(pUser->dwUserID))
            pAvatars->DrawAvatar(pUser->dwUserID, pDC, rcChair.left, rcChair.top, kAvatarWidth, kAvatarHeight);
        else
            pAvatars->DrawDefaultAvatar(pUser->cbKey5, pDC, rcChair.left, rcChair.top, kAvatarWidth, kAvatarHeight);
    }

    if (pUserItem->GetStatus() == USER_STATUS_READY) {
        CSkinImage& ready = pResource->m_ImageReady;
        ready.AlphaDrawImage(pDC, pResource->m_ptReady[wChair].x, pResource->m_ptReady[wChair].y, ready.GetWidth(),
                             ready.GetHeight(), 0, 0, kTableMagentaKey);
    }

    const LONG level = LONG(pUser->dwRank);
    pDC->SetTextColor(level >= 1 && level <= 99 ? pResource->m_crMemberName : pResource->m_crName);
    const DWORD style = pResource->m_nDrawStyle[wChair];
    UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS | HorizontalFormat(style);
    CRect rcName = pResource->m_rcName[wChair];
    if (!(style & STYLE_TOP)) {
        if (style & STYLE_VCENTER) {
            format |= DT_VCENTER;
        } else if (style & STYLE_BOTTOM) {
            int height = MeasureTabbedText(pDC->GetSafeHdc(), rcName.Width(), kNameLineHeight, pUser->szNickName);
            rcName.top += rcName.Height() - height;
        }
    }
    pDC->DrawText(pUser->szNickName, -1, &rcName, format);
}

void CTableView::DrawCounter(CDC* pDC, const CRect& rect, BYTE cbValue)
{
    CString text;
    text.Format("%d", cbValue != 0 ? int(cbValue) : 1);
    CRect rcText = rect;
    pDC->DrawText(text, text.GetLength(), &rcText, DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

void CTableView::DrawTableView(CDC* pDC, CTableResource* pResource, bool bShowUser)
{
    if (pDC == NULL || pResource == NULL)
        return;
    const bool bPlaying = m_TableAttribute.cbPlaying != 0;
    const bool bCycleChair = m_wCycleMatchChair != INVALID_CHAIR_ID;

    bool bPlayingPicture = bShowUser ? bPlaying : (bPlaying && !bCycleChair);
    CSkinImage& table = bPlayingPicture ? pResource->m_ImagePlaying : pResource->m_ImageNormal;
    table.BitBlt(pDC->GetSafeHdc(), 0, 0);

    if (m_pOwner != NULL && m_pOwner->GetIdentifyTable() == m_TableAttribute.wTableID &&
        pResource->m_PicTableIdentify.IsValid())
        pResource->m_PicTableIdentify.Draw(pDC->GetSafeHdc(), pResource->m_ptTableIdentify.x,
                                           pResource->m_ptTableIdentify.y);

    // Without users shown, a chosen cycle-match chair shows the own avatar
    // instead of the lock.
    const bool bCycleCase = !bShowUser && bCycleChair;
    for (WORD i = 0; i < ChairLimit(); ++i) {
        CUserItem* pUserItem = m_pUserItems[i];
        if (bShowUser && pUserItem != NULL) {
            DrawPlayer(pDC, pResource, i, pUserItem);
        } else if (bCycleCase) {
            if (i == m_wCycleMatchChair && pResource->m_rcName[i].Width() > 64 && m_pOwner != NULL &&
                m_pOwner->GetCycleMatchState() > 1) {
                const CRect& rcChair = pResource->m_rcChair[i];
                pDC->FillSolidRect(&rcChair, pResource->m_crChairBackGround);
                CPicture& avatar = g_GlobalUnits.GetGlobalUserData()->cbGender == kFemale ? pResource->m_PicFemale
                                                                                          : pResource->m_PicMale;
                avatar.Draw(pDC->GetSafeHdc(), rcChair.left, rcChair.top);
            }
        }
        if (!bCycleCase) {
            CSkinImage& locker = pResource->m_ImageLocker;
            if (m_TableAttribute.cbLocked)
                locker.AlphaDrawImage(pDC, pResource->m_ptLock.x, pResource->m_ptLock.y, locker.GetWidth(),
                                      locker.GetHeight(), 0, 0, kTableMagentaKey);
            if (m_TableAttribute.cbSecondLock)
                locker.AlphaDrawImage(pDC, pResource->m_ptLock.x, pResource->m_ptLock.y, locker.GetWidth(),
                                      locker.GetHeight(), 0, 0, kTableMagentaKey);
        }
        if (i == m_wHoverChair) {
            const COLORREF light = RGB(255, 255, 255);
            const COLORREF dark = RGB(125, 125, 125);
            if (m_cbMouseDown)
                pDC->Draw3dRect(&pResource->m_rcChair[i], dark, light);
            else
                pDC->Draw3dRect(&pResource->m_rcChair[i], light, dark);
        }
    }

    if (m_pOwner == NULL || m_pOwner->GetTableMode() != TABLE_MODE_NORMAL)
        return;

    pDC->SetTextColor(pResource->m_crTableID);
    CString text;
    if (m_szTableText[0] != 0)
        text = m_szTableText;
    else
        text.Format("- %d -", int(m_TableAttribute.wTableID) + 1);
    CRect rcTableID = pResource->m_rcTableID;
    pDC->DrawText(text, text.GetLength(), &rcTableID, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);

    if (m_szTableName[0] != 0) {
        pDC->SetTextColor(pResource->m_crTableName);
        CString name;
        name.Format("%s", m_szTableName);
        pDC->TextOut(pResource->m_rcTableName.left, pResource->m_rcTableName.top, name);
    }
    if (!pResource->m_rcTableMultiple.IsRectNull()) {
        pDC->SetTextColor(pResource->m_crTableName);
        DrawCounter(pDC, pResource->m_rcTableMultiple, m_cbMultiple);
    }
    if (!pResource->m_rcTableInnings.IsRectNull())
        DrawCounter(pDC, pResource->m_rcTableInnings, m_cbInnings);

    if (m_cbRing) {
        CBrush brush;
        brush.CreateSolidBrush(RGB(234, 145, 123));
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        pDC->Chord(0, 0, 183, 173, 10, 10, 10, 10);
        pDC->SelectObject(pOldBrush);
        brush.DeleteObject();
    }
}

void CTableOption::InitOption()
{
    m_wTableID = 0xFFFF;
    memset(m_szText, 0, sizeof(m_szText));
    m_wValue1 = 1;
    m_cbValue1 = 1;
    m_cbValue2 = 0;
    m_dwValue = 0;
    m_cbValue3 = 0;
    m_wValue2 = 0;
    m_cbIPLimit = 0;
    m_cbIPLength = 0;
    m_cbPassword = 0;
    memset(m_szPassword, 0, sizeof(m_szPassword));
}
