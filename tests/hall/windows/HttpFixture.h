// Shared set-up of the HTTP tests: a scripted server on 127.0.0.1 and short
// time-outs.
#pragma once

// The class library before the SDK headers, whose macros rename some of its members.
#include <afx.h>

#include "HttpTestServer.h"
#include "HttpTuning.h"
#include "TestPorts.h"

#include <gtest/gtest.h>

#include <string>

class HttpFixture : public testing::Test
{
protected:
    // Short enough that a stalled server costs little, long enough for Wine.
    static constexpr DWORD kShortTimeout = 400;

    void SetUp() override
    {
        m_savedTuning = g_HttpTuning;
        g_HttpTuning.dwHelperTimeout = kShortTimeout;
        g_HttpTuning.dwAsyncTimeout = kShortTimeout;
        ASSERT_TRUE(m_server.Start());
    }

    void TearDown() override
    {
        m_server.Stop();
        g_HttpTuning = m_savedTuning;
    }

    std::string Url(const std::string& strPath) const { return m_server.Url(strPath); }

    CHttpTestServer m_server;
    tagHttpTuning m_savedTuning;
};
