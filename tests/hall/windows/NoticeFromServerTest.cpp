// A notice the hall server pushes reaches the notice manager through the
// data centre's pop-up handler, as the application wires them.
#include "DataCenterTestSupport.h"

#include "PopupWnd.h"

namespace
{

class NoticeFromServerTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        ListenToAll();
        ConnectToServer();
        ASSERT_TRUE(m_Popup.Create(&m_MainWnd));
        m_pDataCenter->SetPopupHandler([this](LPCSTR pszText) { m_Popup.ShowPopup(pszText); });
    }
    void TearDown() override
    {
        m_Popup.DestroyWindow();
        DataCenterTest::TearDown();
    }
    CPopupWnd m_Popup;
};

TEST_F(NoticeFromServerTest, APushedTextBecomesANotice)
{
    SendAndSettle(
        HALL_MAIN_MESSAGE, HALL_SUB_S_MESSAGE_POPUP,
        CWireBytes().Counted("<content type=\"1\"><title>公告</title><text>今晚维护</text></content>").Vector());
    SendAndSettle(HALL_MAIN_MESSAGE, HALL_SUB_S_MESSAGE_POPUP, CWireBytes().Counted("维护结束").Vector());
    ASSERT_EQ(m_Popup.GetNoticeCount(), 2);
    CVKPopupControl* pFirst = m_Popup.GetNotice(0);
    EXPECT_EQ(pFirst->m_nKind, 2);
    EXPECT_EQ(pFirst->m_strTitle, "公告");
    EXPECT_EQ(pFirst->m_strText, "今晚维护");
    EXPECT_TRUE(pFirst->IsWindowVisible());
    EXPECT_EQ(m_Popup.GetNotice(1)->m_strText, "维护结束");
}

} // namespace
