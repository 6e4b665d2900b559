#include "afxtime.h"
#include "afxexcept.h"

#include <cstring>

namespace
{

bool ToLocal(LONGLONG t, struct tm* ptm)
{
#ifdef _WIN32
    __time64_t tt = t;
    return _localtime64_s(ptm, &tt) == 0;
#else
    time_t tt = (time_t)t;
    return localtime_r(&tt, ptm) != NULL;
#endif
}

bool ToGmt(LONGLONG t, struct tm* ptm)
{
#ifdef _WIN32
    __time64_t tt = t;
    return _gmtime64_s(ptm, &tt) == 0;
#else
    time_t tt = (time_t)t;
    return gmtime_r(&tt, ptm) != NULL;
#endif
}

LONGLONG FromLocal(struct tm* ptm)
{
#ifdef _WIN32
    return _mktime64(ptm);
#else
    return mktime(ptm);
#endif
}

struct tm LocalOrThrow(LONGLONG t)
{
    struct tm tmv;
    if (!ToLocal(t, &tmv))
        AfxThrowInvalidArgException();
    return tmv;
}

CString FormatTm(const struct tm& tmv, LPCSTR pszFormat)
{
    CString str;
    if (pszFormat == NULL || *pszFormat == '\0')
        return str;
    // strftime gives 0 both for "too small" and for an empty result: grow a
    // few times, then take the result as empty.
    for (int nSize = 128; nSize <= 64 * 1024; nSize *= 4) {
        size_t n = strftime(str.GetBuffer(nSize), (size_t)nSize + 1, pszFormat, &tmv);
        if (n > 0) {
            str.ReleaseBuffer((int)n);
            return str;
        }
        str.ReleaseBuffer(0);
    }
    return str;
}

} // namespace

CTime CTime::GetCurrentTime()
{
    return CTime((LONGLONG)time(NULL));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23 || nMin < 0 ||
        nMin > 59 || nSec < 0 || nSec > 59)
        AfxThrowInvalidArgException();
    struct tm tmv;
    memset(&tmv, 0, sizeof(tmv));
    tmv.tm_year = nYear - 1900;
    tmv.tm_mon = nMonth - 1;
    tmv.tm_mday = nDay;
    tmv.tm_hour = nHour;
    tmv.tm_min = nMin;
    tmv.tm_sec = nSec;
    tmv.tm_isdst = nDST;
    m_time = FromLocal(&tmv);
    if (m_time == -1)
        AfxThrowInvalidArgException();
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    return (ptm != NULL && ToLocal(m_time, ptm)) ? ptm : NULL;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    return (ptm != NULL && ToGmt(m_time, ptm)) ? ptm : NULL;
}

int CTime::GetYear() const
{
    return LocalOrThrow(m_time).tm_year + 1900;
}
int CTime::GetMonth() const
{
    return LocalOrThrow(m_time).tm_mon + 1;
}
int CTime::GetDay() const
{
    return LocalOrThrow(m_time).tm_mday;
}
int CTime::GetHour() const
{
    return LocalOrThrow(m_time).tm_hour;
}
int CTime::GetMinute() const
{
    return LocalOrThrow(m_time).tm_min;
}
int CTime::GetSecond() const
{
    return LocalOrThrow(m_time).tm_sec;
}
int CTime::GetDayOfWeek() const
{
    return LocalOrThrow(m_time).tm_wday + 1;
}

CString CTime::Format(LPCSTR pszFormat) const
{
    return FormatTm(LocalOrThrow(m_time), pszFormat);
}

CString CTime::FormatGmt(LPCSTR pszFormat) const
{
    struct tm tmv;
    if (!ToGmt(m_time, &tmv))
        AfxThrowInvalidArgException();
    return FormatTm(tmv, pszFormat);
}
