// CTime and CTimeSpan.
#include <afx.h>
#include <gtest/gtest.h>

#include <ctime>

TEST(CoreTime, FieldsRoundTripThroughLocalTime)
{
    struct Row
    {
        int y, mo, d, h, mi, s, dow;
    };
    const Row rows[] = {
        {2024, 2, 29, 13, 45, 30, 5}, // leap day, a Thursday
        {1999, 12, 31, 23, 59, 59, 6},
        {2038, 1, 19, 3, 14, 8, 3}, // past the 32-bit limit
        {2100, 3, 1, 0, 0, 0, 2},
    };
    for (const Row& r : rows) {
        CTime t(r.y, r.mo, r.d, r.h, r.mi, r.s);
        EXPECT_EQ(t.GetYear(), r.y);
        EXPECT_EQ(t.GetMonth(), r.mo);
        EXPECT_EQ(t.GetDay(), r.d);
        EXPECT_EQ(t.GetHour(), r.h);
        EXPECT_EQ(t.GetMinute(), r.mi);
        EXPECT_EQ(t.GetSecond(), r.s);
        EXPECT_EQ(t.GetDayOfWeek(), r.dow);
        EXPECT_EQ(CTime(t.GetTime()), t);
    }
    EXPECT_GT(CTime(2038, 1, 20, 0, 0, 0).GetTime(), 0x7FFFFFFFLL);
}

TEST(CoreTime, FormatAndArithmetic)
{
    CTime t(2024, 2, 28, 22, 30, 5);
    EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-02-28 22:30:05");
    EXPECT_EQ(t.Format("%d.%m"), "28.02");
    EXPECT_EQ(t.Format(""), "");
    CTime later = t + CTimeSpan(1, 2, 0, 0);
    EXPECT_EQ(later.Format("%m/%d %H"), "03/01 00");
    CTimeSpan span = later - t;
    EXPECT_EQ(span.GetTotalSeconds(), 26 * 3600);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    later -= CTimeSpan(0, 0, 0, 5);
    EXPECT_EQ(later.GetSecond(), 0);
    EXPECT_EQ(later.GetMinute(), 30);
    EXPECT_TRUE(t < later);

    CTimeSpan s(3, 4, 5, 6);
    EXPECT_EQ(s.GetDays(), 3);
    EXPECT_EQ(s.GetHours(), 4);
    EXPECT_EQ(s.GetMinutes(), 5);
    EXPECT_EQ(s.GetSeconds(), 6);
    EXPECT_EQ(s.GetTotalHours(), 76);
    EXPECT_EQ(s.GetTotalMinutes(), 76 * 60 + 5);
    EXPECT_EQ((s - CTimeSpan(0, 0, 0, 7)).GetSeconds(), 59);

    LONGLONG now = (LONGLONG)time(nullptr);
    LONGLONG got = CTime::GetCurrentTime().GetTime();
    EXPECT_LE(now, got);
    EXPECT_LE(got - now, 5);
    EXPECT_EQ(CTime(0).FormatGmt("%Y%m%d%H%M%S"), "19700101000000");
}

TEST(CoreTime, InvalidFieldsThrow)
{
    const int bad[][6] = {
        {2024, 0, 1, 0, 0, 0},  {2024, 13, 1, 0, 0, 0}, {2024, 1, 0, 0, 0, 0},  {2024, 1, 32, 0, 0, 0},
        {2024, 1, 1, 24, 0, 0}, {1899, 1, 1, 0, 0, 0},  {2024, 1, 1, 0, 60, 0}, {2024, 1, 1, 0, 0, 60},
    };
    for (const auto& b : bad) {
        try {
            CTime t(b[0], b[1], b[2], b[3], b[4], b[5]);
            ADD_FAILURE() << b[0] << "-" << b[1] << "-" << b[2];
        } catch (CException* e) {
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
            e->Delete();
        }
    }
}
