// The announced length of an HTTP answer, read as the server sent it.
#pragma once

#include <afxinet.h>

// FALSE when the answer has no Content-Length or it is not a plain number.
BOOL QueryContentLength(const CHttpFile& file, ULONGLONG& nLength);
