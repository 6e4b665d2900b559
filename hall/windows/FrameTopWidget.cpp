#include "FrameTopWidget.h"

#include "WidgetDC.h"

namespace
{

// Creation order of the buttons, with their pictures.
struct ButtonSpec
{
    int nID;
    LPCSTR pszPicture;
};
const ButtonSpec kButtons[CFrameTopWidget::kButtonCount] = {
    {IDC_TOP_MAX, "MaxBtn.png"},         {IDC_TOP_MIN, "MinBtn.png"},
    {IDC_TOP_RESTORE, "RestoreBtn.png"}, {IDC_TOP_CLOSE, "CloseBtn.png"},
    {IDC_TOP_MENU, "MenuBtn.png"},       {IDC_TOP_WEB1, "Btn1.png"},
    {IDC_TOP_SHOP, "Btn2.png"},          {IDC_TOP_WEB3, "Btn3.png"},
    {IDC_TOP_LOGON, "LogonBtn.png"},     {IDC_TOP_REGISTER, "RegisterBtn.png"},
};

// Gap between the three web buttons.
const int kWebGap = 35;

} // namespace

CFrameTopWidget::CFrameTopWidget() : m_pOwner(NULL), m_bLogonShown(false) {}

CFrameTopWidget::~CFrameTopWidget()
{
    RemoveAllWidgets(false, false);
}

void CFrameTopWidget::Initialize(IFrameTopOwner* pOwner, LPCSTR pszResourceFolder)
{
    m_pOwner = pOwner;
    for (int i = 0; i < kButtonCount; ++i)
        m_Buttons[i].Create(kButtons[i].nID, this, "", BUTTON_STYLE_NORMAL);
    GetButton(IDC_TOP_LOGON)->SetVisible(false);
    GetButton(IDC_TOP_REGISTER)->SetVisible(false);
    m_bLogonShown = false;

    CString folder(pszResourceFolder != NULL ? pszResourceFolder : "");
    CString buttons = folder + "MainFrame\\Button\\";
    for (int i = 0; i < kButtonCount; ++i) {
        m_ButtonPictures[i].Load(buttons + kButtons[i].pszPicture);
        m_Buttons[i].SetImageBack(&m_ButtonPictures[i]);
    }
    CString border = folder + "MainFrame\\Border\\";
    m_BorderLeft.Load(border + "bordertl.bmp");
    m_BorderMiddle.Load(border + "bordertm.bmp");
    m_BorderRight.Load(border + "bordertr.bmp");

    static const int kAddOrder[kButtonCount] = {IDC_TOP_MAX,   IDC_TOP_MIN,     IDC_TOP_RESTORE, IDC_TOP_CLOSE,
                                                IDC_TOP_MENU,  IDC_TOP_WEB1,    IDC_TOP_SHOP,    IDC_TOP_WEB3,
                                                IDC_TOP_LOGON, IDC_TOP_REGISTER};
    for (int nID : kAddOrder)
        AddWidget(GetButton(nID));
    ShowMaximizedState(pOwner != NULL && pOwner->IsFrameMaximized());
}

CButtonWidget* CFrameTopWidget::GetButton(int nID)
{
    for (int i = 0; i < kButtonCount; ++i)
        if (kButtons[i].nID == nID)
            return &m_Buttons[i];
    return NULL;
}

void CFrameTopWidget::ShowLogonButtons(bool bShow)
{
    if (bShow == m_bLogonShown)
        return;
    m_bLogonShown = bShow;
    GetButton(IDC_TOP_LOGON)->SetVisible(bShow);
    GetButton(IDC_TOP_REGISTER)->SetVisible(bShow);
}

void CFrameTopWidget::ShowMaximizedState(bool bMaximized)
{
    GetButton(IDC_TOP_RESTORE)->SetVisible(bMaximized);
    GetButton(IDC_TOP_MAX)->SetVisible(!bMaximized);
}

void CFrameTopWidget::LayoutButtons(int cx, int cy)
{
    Resize(0, 0, cx, cy);
    CButtonWidget* close = GetButton(IDC_TOP_CLOSE);
    int x = Right() - close->Width() - 6;
    close->Move(x, 0);
    x -= GetButton(IDC_TOP_MAX)->Width();
    GetButton(IDC_TOP_MAX)->Move(x, 1);
    GetButton(IDC_TOP_RESTORE)->Move(x, 1);
    x -= GetButton(IDC_TOP_MIN)->Width();
    GetButton(IDC_TOP_MIN)->Move(x, 0);
    x -= GetButton(IDC_TOP_MENU)->Width();
    GetButton(IDC_TOP_MENU)->Move(x, 1);

    // The web buttons keep clear of a narrow frame's title text.
    CButtonWidget* shop = GetButton(IDC_TOP_SHOP);
    x -= Right() > 1024 ? shop->Width() - 97 : shop->Width() - 147;
    CButtonWidget* web3 = GetButton(IDC_TOP_WEB3);
    x -= web3->Width() + kWebGap;
    web3->Move(x, 6);
    x -= shop->Width() + kWebGap;
    shop->Move(x, 6);
    CButtonWidget* web1 = GetButton(IDC_TOP_WEB1);
    x -= web1->Width() + kWebGap;
    web1->Move(x, 6);

    CButtonWidget* logon = GetButton(IDC_TOP_LOGON);
    logon->Move(245, 30);
    GetButton(IDC_TOP_REGISTER)->Move(245, 30 + logon->Height() + 3);
}

void CFrameTopWidget::Draw(CWidgetDC* pDC)
{
    CDC* pCDC = pDC->GetDC();
    if (pCDC == NULL)
        return;
    HDC hdc = pCDC->GetSafeHdc();
    CRect rect = pDC->TranslateRect(0, 0, Width(), Height());
    int left = m_BorderLeft.IsValid() ? (int)m_BorderLeft.GetWidth() : 0;
    int right = m_BorderRight.IsValid() ? (int)m_BorderRight.GetWidth() : 0;
    if (m_BorderLeft.IsValid())
        m_BorderLeft.Draw(hdc, rect.left, rect.top);
    if (m_BorderMiddle.IsValid() && m_BorderMiddle.GetWidth() > 0) {
        int height = (int)m_BorderMiddle.GetHeight();
        RECT middle = {rect.left + left, rect.top, rect.right - right, rect.top + height};
        if (middle.right > middle.left)
            m_BorderMiddle.Tile(hdc, &middle);
    }
    if (m_BorderRight.IsValid())
        m_BorderRight.Draw(hdc, rect.right - right, rect.top);
}

void CFrameTopWidget::LButtonDown(int x, int y)
{
    if (m_pOwner == NULL || m_pOwner->IsFrameMaximized())
        return;
    HWND hFrame = m_pOwner->GetFrameWnd();
    if (hFrame == NULL)
        return;
    // The system's move loop drags the captionless frame.
    ::SetFocus(hFrame);
    POINT pt = {x + Left(), y + Top()};
    ::ClientToScreen(hFrame, &pt);
    ::PostMessage(hFrame, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    ::SetFocus(NULL);
}

void CFrameTopWidget::LButtonDblClk(int x, int y)
{
    if (m_pOwner == NULL || y + Top() >= Bottom())
        return;
    HWND hFrame = m_pOwner->GetFrameWnd();
    bool maximize = !m_pOwner->IsFrameMaximized();
    m_pOwner->SetFrameMinimized(false);
    m_pOwner->SetFrameMaximized(maximize);
    ShowMaximizedState(maximize);
    if (hFrame != NULL)
        ::ShowWindow(hFrame, maximize ? SW_MAXIMIZE : SW_RESTORE);
}

void CFrameTopWidget::ButtonClick(int nID)
{
    if (m_pOwner == NULL)
        return;
    HWND hFrame = m_pOwner->GetFrameWnd();
    switch (nID) {
    case IDC_TOP_MAX:
        if (!m_pOwner->IsFrameMaximized()) {
            m_pOwner->SetFrameMaximized(true);
            ::PostMessage(hFrame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case IDC_TOP_MIN:
        m_pOwner->SetFrameMinimized(true);
        ::SendMessage(hFrame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case IDC_TOP_RESTORE:
        if (m_pOwner->IsFrameMaximized()) {
            m_pOwner->SetFrameMaximized(false);
            ::PostMessage(hFrame, WM_SYSCOMMAND, SC_RESTORE, 0);
        }
        break;
    case IDC_TOP_CLOSE:
    case IDC_TOP_CLOSE2:
        m_pOwner->SetCloseByButton(true);
        ::PostMessage(hFrame, WM_CLOSE, 0, 0);
        break;
    case IDC_TOP_MENU: {
        CButtonWidget* menu = GetButton(IDC_TOP_MENU);
        POINT pt = {menu->Left(), menu->Bottom()};
        if (hFrame != NULL) {
            ::SetFocus(hFrame);
            ::ClientToScreen(hFrame, &pt);
        }
        m_pOwner->ShowHelpMenu(CPoint(pt));
        break;
    }
    case IDC_TOP_WEB1: m_pOwner->OpenHallButton(0, false); break;
    case IDC_TOP_SHOP:
    case IDC_TOP_SHOP2: m_pOwner->ShowItemShop(-1); break;
    case IDC_TOP_WEB3: m_pOwner->OpenHallButton(3, false); break;
    case IDC_TOP_SERVICE: m_pOwner->OpenServicePage(); break;
    case IDC_TOP_PLAZA_PAGE: m_pOwner->OpenHallButton(5, true); break;
    case IDC_TOP_LOGON: ::PostMessage(hFrame, WM_FRAME_SWITCH_ACCOUNT, 0, 0); break;
    case IDC_TOP_REGISTER: ::PostMessage(hFrame, WM_FRAME_REGISTER, 0, 0); break;
    default: break;
    }
}
