// The user-service program's crash filter against the reporter stand-in:
// its texts reach the reporter, and a reporter that dies or hangs does not
// keep the crashed program alive.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CrashReport.h"
#include "TempFolder.h"
#include "TestWait.h"

namespace
{

TEST(QuillonCrash, ReportCarriesTheProgramsTextsAndEnds)
{
    struct Case
    {
        const char* reporter;
        const char* wait;
    } cases[] = {{"", "60000"}, {"die", "60000"}, {"hang", "300"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reporter);
        CTempFolder folder("quillon-crash");
        SetEnvironmentVariableA("TAVREL_MURLOW_REPORT", folder.File("reports.txt").c_str());
        SetEnvironmentVariableA("TAVREL_MURLOW_MODE", c.reporter);
        std::string command = std::string("quillon_crash_child.exe ") + c.wait;
        std::vector<char> line(command.begin(), command.end());
        line.push_back(0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process));
        DWORD waited = WaitForSingleObject(process.hProcess, 60000);
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        if (waited != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        SetEnvironmentVariableA("TAVREL_MURLOW_REPORT", NULL);
        SetEnvironmentVariableA("TAVREL_MURLOW_MODE", NULL);

        ASSERT_EQ(WAIT_OBJECT_0, waited) << "the crashed program hangs";
        EXPECT_GE(exitCode, 0xC0000000u) << "ends with its crash's code";
        if (std::string(c.reporter) == "hang") {
            // The program does not wait for a reporter that never signals, so
            // a reporter that started late (a slow emulator) may find it gone:
            // it still writes its one line, a report or "unreadable".
            ASSERT_TRUE(PumpUntil([&] { return folder.Read("reports.txt").find('\n') != std::string::npos; }, 60000));
            if (folder.Read("reports.txt").compare(0, 11, "unreadable ") == 0) {
                EXPECT_EQ("unreadable pid=" + std::to_string(process.dwProcessId) + "\n", folder.Read("reports.txt"));
                continue;
            }
        }
        std::string report = folder.Read("reports.txt");
        EXPECT_NE(std::string::npos, report.find("size=" + std::to_string(sizeof(tagCrashRecord)))) << report;
        EXPECT_NE(std::string::npos, report.find(" app=Brassvale text=TEST\n")) << report;
    }
}

} // namespace
