// Blocking HTTP download helper, the build the custom-face thread uses: a
// body into the caller's stream, one URL at a time or a batch on one
// connection.
#pragma once

#include "HttpDownLoadBase.h"

class CFaceHttpDownLoad : public CHttpDownLoadBase
{
public:
    CFaceHttpDownLoad();

    // The body into pStream (written at its position, flushed, left open),
    // through Open. 1 only when the stream got the whole body.
    BOOL DownloadToStream(LPCTSTR pszUrl, CFile* pStream);
    // The same through Connect: the first URL of a batch makes the
    // connection, the later ones reuse it. A URL for another server, port or
    // scheme than the held connection is refused.
    BOOL DownloadBatchToStream(LPCTSTR pszUrl, CFile* pStream);

    // Keeps a held connection when the URL names its server, port and scheme
    // (1), refuses any other (0); otherwise makes session and connection.
    BOOL Connect(LPCTSTR pszUrl);
    using CHttpDownLoadBase::OpenRequest;

private:
    BOOL IsWebUrl(LPCTSTR pszUrl) const;
    BOOL ReadToStream(CFile* pStream);
};
