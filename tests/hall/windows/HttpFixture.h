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
    // For the tests that wait for a stalled server to time out: short
    // enough that it costs little, long enough for Wine.
    static constexpr DWORD kShortTimeout = 400;
    // Every other test: a loaded machine must never turn a slow answer
    // into a failure.
    static constexpr DWORD kPatientTimeout = 15000;

    void SetUp() override
    {
        m_savedTuning = g_HttpTuning;
        g_HttpTuning.dwHelperTimeout = kPatientTimeout;
        g_HttpTuning.dwAsyncTimeout = kPatientTimeout;
        ASSERT_TRUE(m_server.Start());
    }

    void UseShortTimeouts()
    {
        g_HttpTuning.dwHelperTimeout = kShortTimeout;
        g_HttpTuning.dwAsyncTimeout = kShortTimeout;
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
