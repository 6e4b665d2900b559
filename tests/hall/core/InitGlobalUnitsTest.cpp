// The global units' start-up in a program folder assembled from the built
// libraries, run as a process of its own (the folder is the program's).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "StateTestSupport.h"

namespace
{

const char* const kLibraries[] = {"afx.dll",     "common.dll",   "Helper.dll", "VQString.dll",
                                  "Brindle.dll", "Download.dll", "Rivesh.dll", "Gellbrook.dll"};

std::string BinFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    *strrchr(path, '\\') = '\0';
    return std::string(path) + "\\";
}

// Runs the program and answers its lines as key -> values.
std::multimap<std::string, std::string> RunProgram(const std::string& program)
{
    std::multimap<std::string, std::string> lines;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), NULL, TRUE};
    HANDLE readEnd = NULL, writeEnd = NULL;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return lines;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    // Started from elsewhere: the program must find its folder itself.
    BOOL started =
        CreateProcessA(NULL, &commandLine[0], NULL, NULL, TRUE, 0, NULL, BinFolder().c_str(), &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        ADD_FAILURE() << "cannot start " << program;
        return lines;
    }
    std::string output;
    char buffer[1024];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, NULL) && got > 0)
        output.append(buffer, got);
    CloseHandle(readEnd);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            lines.emplace(line.substr(0, equals), line.substr(equals + 1));
        start = end + 1;
    }
    return lines;
}

std::string Value(const std::multimap<std::string, std::string>& lines, const std::string& key)
{
    auto it = lines.find(key);
    return it != lines.end() ? it->second : std::string("<none>");
}

class InitGlobalUnits : public testing::Test
{
protected:
    // Copies the program and the libraries, all but one.
    std::string Assemble(const std::string& missing)
    {
        std::string bin = BinFolder();
        EXPECT_TRUE(CopyFileA((bin + "global_units_probe.exe").c_str(), (folder.Path() + "Tavrel.exe").c_str(), FALSE));
        for (const char* library : kLibraries) {
            if (missing != library) {
                EXPECT_TRUE(CopyFileA((bin + library).c_str(), (folder.Path() + library).c_str(), FALSE)) << library;
            }
        }
        folder.Write("config\\original\\StaticCfg.ini", "[SubStation]\r\nId=21\r\nName=North\r\n");
        folder.Write("config\\original\\Region.ini", "[Province]\r\n110000=Beijing\r\n");
        return folder.Path() + "Tavrel.exe";
    }

    CStateFolder folder;
};

TEST_F(InitGlobalUnits, SucceedsFromAnAssembledProgramFolder)
{
    auto lines = RunProgram(Assemble(""));
    EXPECT_EQ(Value(lines, "result"), "1");
    EXPECT_EQ(Value(lines, "work"), folder.Path());
    EXPECT_EQ(Value(lines, "resource"), folder.Path() + "Res\\");
    EXPECT_EQ(Value(lines, "current"), folder.Path());
    EXPECT_EQ(Value(lines, "font"), "1");
    EXPECT_EQ(Value(lines, "modules"), "111111");
    EXPECT_EQ(Value(lines, "substation"), "21 North");
    EXPECT_EQ(Value(lines, "provinces"), "1");
    EXPECT_EQ(Value(lines, "avatar"), "0");
    EXPECT_NE(Value(lines, "string"), "<none>");
    EXPECT_EQ(lines.count("box"), 0u);
}

struct MissingCase
{
    const char* library;
    const char* modules;
    const char* box;
};

class MissingModule : public InitGlobalUnits, public testing::WithParamInterface<MissingCase>
{};

TEST_P(MissingModule, FailsWithItsBox)
{
    auto lines = RunProgram(Assemble(GetParam().library));
    EXPECT_EQ(Value(lines, "result"), "0");
    EXPECT_EQ(Value(lines, "modules"), GetParam().modules);
    ASSERT_EQ(lines.count("box"), 1u);
    EXPECT_EQ(Value(lines, "box"), std::string("系统消息|") + GetParam().box + "|32");
}

INSTANTIATE_TEST_SUITE_P(Libraries, MissingModule,
                         testing::Values(MissingCase{"Brindle.dll", "000000", "头像组件创建失败！"},
                                         MissingCase{"Download.dll", "110000", "下载组件创建失败！"},
                                         MissingCase{"Rivesh.dll", "111000", "玩家形象组件创建失败！"},
                                         MissingCase{"Gellbrook.dll", "111110", "好友组件创建失败！"}));

} // namespace
