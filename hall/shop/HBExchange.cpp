#include "HBExchange.h"

#include "AmountText.h"
#include "GlobalOption.h"
#include "RoomDataCenter.h"
#include "UserItem.h"
#include "resource.h"

CHBExchange::CHBExchange()
    : CMoneyPanel(IDD_HB_EXCHANGE, "金蛋金豆互换", "gameroom\\HBExchange\\"), m_llEggs(0), m_llBeans(0),
      m_llEggExchange(0), m_llBeanExchange(0)
{
    m_pPages[0] = new CPageDlg(PAGE_KIND_EGGS_TO_BEANS, "确认兑换", "金蛋换金豆");
    m_pPages[1] = new CPageDlg(PAGE_KIND_BEANS_TO_EGGS, "确认兑换", "金豆换金蛋");
    m_Background.Load(m_strSkinFolder + "HBDlg.bmp");
}

CHBExchange::~CHBExchange() {}

bool CHBExchange::CreatePanel(CWnd* pParent, int nPage, DWORD dwStyle)
{
    m_nStartPage = nPage;
    if (GetSafeHwnd() != NULL)
        return true;
    if (!Create(IDD_HB_EXCHANGE, pParent))
        return false;
    if (dwStyle != 0)
        ModifyStyle(0, dwStyle);
    return true;
}

void CHBExchange::ReadBalances()
{
    m_llEggs = GetGoldEggs(m_pUserItem);
    m_llBeans = GetGoldBeans(m_pUserItem);
}

BOOL CHBExchange::OnInitDialog()
{
    ReadBalances();
    return CMoneyPanel::OnInitDialog();
}

void CHBExchange::RefreshValues()
{
    ReadBalances();
    SetPageValue(1243, m_llEggs);
    SetPageValue(1101, m_llBeans);
}

LONGLONG CHBExchange::QuickAmount(int nButton)
{
    ReadBalances();
    static const LONGLONG kEggs[] = {10000, 50000, 300000};
    static const LONGLONG kBeans[] = {200000, 500000, 1000000, 10000000};
    if (m_nCurrentPage == 0) {
        if (nButton < 0 || nButton >= 3)
            return m_llEggs;
        return kEggs[nButton] < m_llEggs ? kEggs[nButton] : m_llEggs;
    }
    if (nButton < 0 || nButton > 3)
        return 0;
    return kBeans[nButton] < m_llBeans ? kBeans[nButton] : m_llBeans;
}

void CHBExchange::Confirm()
{
    if (m_pDataCenter == NULL)
        return;
    ReadBalances();
    const LONGLONG llAmount = ReadPageAmount();
    CString text;
    if (m_nCurrentPage == 0) {
        if (llAmount < 1 || llAmount > m_llEggs) {
            if (m_llEggs > 0) {
                text.Format("你输入的金蛋值必须在1和%lld之间", m_llEggs);
            } else {
                text.Format("你的当前金蛋数目为0,不能进行兑换操作!立即充值（<a href=\"%s\">短信</a>，<a "
                            "href=\"%s\">网银</a>）",
                            (LPCSTR)g_GlobalOption.GetPrepaidUrl(0), (LPCSTR)g_GlobalOption.GetPrepaidUrl(1));
            }
            ShowInfo(text);
            FocusAmountField();
            return;
        }
        if (m_pUserItem != NULL && m_pUserItem->GetStatus() >= 2) {
            ShowInfo("在游戏中无法兑换金豆，请关闭客户端后再操作！");
            return;
        }
        m_llEggExchange = llAmount;
        if (m_pDataCenter->SendGoldExchange(true, (DWORD)llAmount))
            BeginRequest();
        return;
    }
    if (llAmount < HB_LEAST_BEANS || llAmount > m_llBeans) {
        // Fewer beans than the least exchange, or an amount out of range.
        if (m_llBeans >= HB_LEAST_BEANS)
            text.Format("你输入的金豆值必须在20万和%lld之间", m_llBeans);
        else
            text = "你现有的金豆数目小于20万,不能进行兑换操作!";
        ShowInfo(text);
        return;
    }
    m_llBeanExchange = llAmount;
    if (m_pDataCenter->SendGoldExchange(false, (DWORD)llAmount))
        BeginRequest();
}

CString CHBExchange::ExchangeResultText(int nCode)
{
    switch (nCode) {
    case 0: return "兑换成功!";
    case 1: return "兑换失败，请稍候再试！";
    case 2: return "金蛋被锁，兑换失败，请稍候再试！";
    case 3: return "金蛋不足，兑换失败！";
    case 4: return "金豆被锁，兑换失败，请稍候再试！";
    case 5: return "金豆不足，兑换失败！";
    default: return "";
    }
}

void CHBExchange::OnExchangeResult(int nCode)
{
    AfxMessageBox(ExchangeResultText(nCode));
    m_llEggExchange = 0;
    m_llBeanExchange = 0;
    EndRequest();
}

void CHBExchange::OnExtraButton()
{
    if (m_pHost != NULL)
        m_pHost->OpenServicePage(1, 0);
}

CString CHBExchange::QuickCaption(int nPage, int nButton)
{
    static const char* const kEggs[] = {"1万", "5万", "30万", "全部"};
    static const char* const kBeans[] = {"20万", "50万", "100万", "1000万"};
    if (nButton < 0 || nButton >= 4)
        return "";
    return nPage == 0 ? kEggs[nButton] : kBeans[nButton];
}
