// The crash filter in a child program that installs it as the hall does,
// against the reporter stand-in, which appends one line per report.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "CrashReport.h"
#include "TempFolder.h"
#include "TestWait.h"

namespace
{

struct Report
{
    DWORD pid = 0, size = 0, thread = 0, code = 0;
};

std::vector<Report> ReadReports(const std::string& text)
{
    std::vector<Report> reports;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        Report r;
        unsigned long pid = 0, size = 0, thread = 0, code = 0;
        if (sscanf(line.c_str(), "report pid=%lu size=%lu thread=%lu code=%lx", &pid, &size, &thread, &code) == 4) {
            r.pid = pid, r.size = size, r.thread = thread, r.code = code;
            reports.push_back(r);
        } else {
            ADD_FAILURE() << "reporter wrote: " << line;
        }
    }
    return reports;
}

struct Case
{
    const char* child;    // what the child does
    const char* reporter; // how the reporter behaves
    const char* wait;     // the child's longest wait for the reporter, ms
    DWORD exitCode;
    bool mainThread; // the report names the child's main thread
};

const Case kCases[] = {
    {"main", "", "60000", EXCEPTION_ACCESS_VIOLATION, true},
    {"worker", "", "60000", EXCEPTION_ACCESS_VIOLATION, false},
    {"both", "", "60000", EXCEPTION_ACCESS_VIOLATION, false},
    {"throw", "", "60000", CRASH_UNCAUGHT_CPP_EXCEPTION, true},
    // A reporter that dies or hangs without signalling does not keep the
    // crashed program alive: it ends on the reporter's end or the bound.
    {"main", "die", "60000", EXCEPTION_ACCESS_VIOLATION, true},
    {"main", "hang", "300", EXCEPTION_ACCESS_VIOLATION, true},
    // The second crash of a process starts no second reporter and goes on
    // to the previous filter, which does not handle it.
    {"direct", "", "60000", 10 * EXCEPTION_EXECUTE_HANDLER + EXCEPTION_CONTINUE_SEARCH, true},
};

class CrashReport : public ::testing::TestWithParam<Case>
{};

TEST_P(CrashReport, ReporterStartsOnceAndTheProgramEndsWithTheCode)
{
    const Case& c = GetParam();
    CTempFolder folder("crash");
    std::string reportFile = folder.File("reports.txt");
    SetEnvironmentVariableA("TAVREL_MURLOW_REPORT", reportFile.c_str());
    SetEnvironmentVariableA("TAVREL_MURLOW_MODE", c.reporter);

    std::string command = std::string("crash_child.exe ") + c.child + " " + c.wait;
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA("crash_child.exe", line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process));
    DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetEnvironmentVariableA("TAVREL_MURLOW_REPORT", NULL);
    SetEnvironmentVariableA("TAVREL_MURLOW_MODE", NULL);

    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the crashed program hangs";
    const bool bHangs = std::string(c.reporter) == "hang";
    if (bHangs) {
        // The program no longer waits for a reporter that never signals, so
        // a reporter that started late (a slow emulator) may find it gone:
        // it still writes its one line, a report or "unreadable".
        ASSERT_TRUE(PumpUntil([&] { return folder.Read("reports.txt").find('\n') != std::string::npos; }, 60000));
        const std::string text = folder.Read("reports.txt");
        if (text.compare(0, 11, "unreadable ") == 0) {
            EXPECT_EQ(text, "unreadable pid=" + std::to_string(process.dwProcessId) + "\n");
            EXPECT_GE(exitCode, 0xC0000000u);
            return;
        }
    }
    std::vector<Report> reports = ReadReports(folder.Read("reports.txt"));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].pid, process.dwProcessId);
    EXPECT_EQ(reports[0].size, sizeof(tagCrashRecord));
    EXPECT_NE(reports[0].thread, 0u);
    if (c.mainThread) {
        EXPECT_EQ(reports[0].thread, process.dwThreadId);
    } else if (std::string(c.child) == "worker") {
        EXPECT_NE(reports[0].thread, process.dwThreadId);
    }
    if (std::string(c.child) == "direct") {
        EXPECT_EQ(exitCode, c.exitCode);
        EXPECT_EQ(reports[0].code, 0xE0000001u);
    } else {
        // The program ends with the code of its crash, as the reporter read
        // it. A hardware fault's code is the platform's: the i386 emulator
        // reports a bad write as an illegal instruction.
        EXPECT_EQ(exitCode, reports[0].code);
        if (c.exitCode != EXCEPTION_ACCESS_VIOLATION) {
            EXPECT_EQ(exitCode, c.exitCode);
        } else {
            EXPECT_GE(exitCode, 0xC0000000u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Crashes, CrashReport, ::testing::ValuesIn(kCases));

} // namespace
