// The texts and figures of the game download window's rows: plain functions
// over the numbers the download service and the installer report.
#pragma once

#include <afx.h>

// "%d(KB)" below 1024 KB, else megabytes or gigabytes with one decimal
// ("1.5(MB)").
CString FormatDownLoadSize(DWORD dwKB);
// "%d(KB/S)" below 1024, else "%d(M/S)" or "%d(G/S)".
CString FormatDownLoadSpeed(LONG lSpeed);
// Percentage of a download: 100 once received reaches the total (a total
// of 0 included).
int DownLoadPercent(LONG lReceived, LONG lTotal);
// Percentage of an installation: both divided by 100 first when the total
// is above 100; at most 100; a total of 0 shows 100.
int InstallPercent(DWORD dwDone, DWORD dwTotal);
// KB per second between two reports ((received difference << 10) / ms),
// or -1 when the 16-bit tick has not moved forward (no division then).
LONG DownLoadSpeed(DWORD dwReceivedBefore, DWORD dwReceivedNow, WORD wTickBefore, WORD wTickNow);
