// Time-outs and bounds of the HTTP helpers, kept in one place so that tests
// can shorten them. Read when a helper object or a task is created.
#pragma once

#include <afx.h>

struct tagHttpTuning
{
    DWORD dwHelperTimeout; // CHttpDownLoad: connect and receive time-out, ms
    DWORD dwAsyncTimeout;  // CAsyncDownLoader: connect and receive time-out, ms
    DWORD dwMaxHelperBody; // CHttpDownLoad: largest body taken, bytes
    DWORD dwMaxAsyncBody;  // CAsyncDownLoader: largest body taken, bytes
    int nMaxRedirects;     // redirects followed for one request
};

extern tagHttpTuning g_HttpTuning;

// The values the product runs with.
tagHttpTuning HttpTuningDefaults();
