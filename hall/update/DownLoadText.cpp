#include "DownLoadText.h"

namespace
{
// One decimal: hundredths rounded to tenths.
CString WithOneDecimal(double value, LPCSTR pszUnit)
{
    int n = (int)(value * 100);
    int tenths = n / 10 + (n % 10 >= 5 ? 1 : 0);
    CString text;
    text.Format("%d.%d(%s)", tenths / 10, tenths % 10, pszUnit);
    return text;
}
} // namespace

CString FormatDownLoadSize(DWORD dwKB)
{
    CString text;
    if (dwKB < 1024) {
        text.Format("%d(KB)", (int)dwKB);
        return text;
    }
    double megabytes = dwKB / 1024.0;
    if (megabytes < 1024)
        return WithOneDecimal(megabytes, "MB");
    return WithOneDecimal(megabytes / 1024.0, "GB");
}

CString FormatDownLoadSpeed(LONG lSpeed)
{
    CString text;
    if (lSpeed / 1024 < 1) {
        text.Format("%d(KB/S)", (int)lSpeed);
        return text;
    }
    LONG m = lSpeed / 1024;
    if (m / 1024 > 0)
        text.Format("%d(G/S)", (int)(m / 1024));
    else
        text.Format("%d(M/S)", (int)m);
    return text;
}

int DownLoadPercent(LONG lReceived, LONG lTotal)
{
    if (lReceived < lTotal && lTotal > 0)
        return (int)((LONGLONG)lReceived * 100 / lTotal);
    return lReceived < lTotal ? 0 : 100;
}

int InstallPercent(DWORD dwDone, DWORD dwTotal)
{
    if (dwTotal > 100) {
        dwDone /= 100;
        dwTotal /= 100;
    }
    if (dwTotal == 0)
        return 100;
    ULONGLONG percent = (ULONGLONG)dwDone * 100 / dwTotal;
    return percent > 100 ? 100 : (int)percent;
}

LONG DownLoadSpeed(DWORD dwReceivedBefore, DWORD dwReceivedNow, WORD wTickBefore, WORD wTickNow)
{
    if (wTickNow <= wTickBefore)
        return -1;
    LONG lDiff = dwReceivedNow > dwReceivedBefore ? (LONG)(dwReceivedNow - dwReceivedBefore) : 0;
    return (LONG)(((LONGLONG)lDiff << 10) / (wTickNow - wTickBefore));
}
