#include "IniReader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// "[section]key=value|..." in map order: one string shows the whole document.
std::string Dump(const CIniReader& reader)
{
    std::string out;
    for (const auto& s : reader.GetSections()) {
        out += "[" + s.first + "]";
        for (const auto& e : s.second->GetEntries())
            out += e.first + "=" + e.second->GetValue() + "|";
    }
    return out;
}

std::string LoadDump(const std::string& text)
{
    CIniReader reader;
    std::istringstream in(text);
    reader.Load(in);
    return Dump(reader);
}

struct ParseCase
{
    const char* name;
    const char* text;
    const char* expected;
};

const ParseCase kParseCases[] = {
    {"key trimmed, value keeps its blanks", "[s]\n k = v  \n", "[s]k= v  |"},
    {"line starting with = ignored", "[s]\n=x\n", "[s]"},
    {"entries before the first section ignored", "a=1\n[s]\nb=2\n", "[s]b=2|"},
    {"CR LF line ends", "[s]\r\nk=v\r\n", "[s]k=v|"},
    {"blanks after the closing bracket", "[abc]  \t\r\nk=v\n", "[abc]k=v|"},
    {"section name trimmed", "  [ s\t]\nk=v\n", "[s]k=v|"},
    {"hash comment is no entry", "[s]\n#k=v\n", "[s]"},
    {"semicolon comment is no entry", "[s]\n;k=v\n", "[s]"},
    {"indented comment", "[s]\n  # k=v\n", "[s]"},
    {"later value of a key wins", "[s]\nk=1\nk=2\n", "[s]k=2|"},
    {"repeated section merges", "[s]\na=1\n[t]\nb=2\n[s]\nc=3\n", "[s]a=1|c=3|[t]b=2|"},
    {"value may hold =", "[s]\nk=a=b\n", "[s]k=a=b|"},
    {"empty value", "[s]\nk=\n", "[s]k=|"},
    {"text after the bracket is an entry", "[s]\n[a]=b\n", "[s][a]=b|"},
    {"lone bracket is no header", "[s]\n[\nk=v\n", "[s]k=v|"},
    {"line without = ignored", "[s]\njunk\n\n   \nk=v", "[s]k=v|"},
    {"keys and names are case-sensitive", "[S]\nK=1\n[s]\nk=2\n", "[S]K=1|[s]k=2|"},
};

class IniParse : public testing::TestWithParam<ParseCase>
{};

TEST_P(IniParse, Load)
{
    EXPECT_EQ(LoadDump(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniParse, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += isalnum((unsigned char)*p) ? *p : '_';
                             return name;
                         });

TEST(IniReader, SecondLoadReplacesFirst)
{
    CIniReader reader;
    std::istringstream first("[a]\nx=1\n[b]\ny=2\n");
    reader.Load(first);
    std::istringstream second("[c]\nz=3\n");
    reader.Load(second);
    EXPECT_EQ(Dump(reader), "[c]z=3|");
}

TEST(IniReader, LookupsTrimAndDoNotCreate)
{
    CIniReader reader;
    std::istringstream in("[s]\nk=v\n");
    reader.Load(in);

    EXPECT_EQ(reader.GetValue(" s\t", " k "), "v");
    EXPECT_EQ(reader.GetValue("s", "missing"), "");
    EXPECT_EQ(reader.GetValue("missing", "k"), "");
    EXPECT_EQ(reader.GetSections().size(), 1u);

    CIniSection* s = reader.GetSection("s");
    EXPECT_EQ(s, reader.AddSection("\ts "));
    EXPECT_EQ(s->GetReader(), &reader);
    CIniEntry* k = s->FindKey("\tk ");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->GetSection(), s);
    EXPECT_EQ(k, s->AddKey(" k"));
    EXPECT_EQ(s->FindKey("K"), nullptr);
    EXPECT_EQ(s->AddKey(" new ")->GetKey(), "new");
}

// A folder of its own per test, removed with everything in it.
class IniFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "tavrel_ini_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), NULL);
    }

    void TearDown() override
    {
        for (const std::string& name : Files()) {
            SetFileAttributesA((m_folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((m_folder + name).c_str());
        }
        RemoveDirectoryA(m_folder.c_str());
    }

    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((m_folder + "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void WriteFile(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    std::string m_folder;
};

TEST_F(IniFileTest, SavesSortedWithCrLfAndReplacesTheOldFile)
{
    std::string path = m_folder + "update.ini";
    WriteFile(path, "old content that is longer than the new one\r\n");

    CIniReader reader;
    std::istringstream in("[b]\nz=1\n a = x \n[B]\nk=v\n[中文]\n名=值\n[a]\n");
    reader.Load(in);
    ASSERT_TRUE(reader.SaveToFile(path.c_str()));

    // Byte order: upper case before lower case, GBK after ASCII.
    EXPECT_EQ(ReadFile(path), "[B]\r\nk=v\r\n[a]\r\n[b]\r\na= x \r\nz=1\r\n[中文]\r\n名=值\r\n");
    EXPECT_EQ(Files(), std::vector<std::string>{"update.ini"});

    CIniReader again;
    std::ifstream file(path, std::ios::binary);
    again.Load(file);
    EXPECT_EQ(Dump(again), Dump(reader));
}

TEST_F(IniFileTest, FailedSaveKeepsTheOldFile)
{
    std::string path = m_folder + "update.ini";
    WriteFile(path, "[old]\r\nk=v\r\n");
    // Held open without delete sharing, the old file cannot be replaced.
    HANDLE held =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    CIniReader reader;
    std::istringstream in("[new]\nk=v\n");
    reader.Load(in);
    EXPECT_FALSE(reader.SaveToFile(path.c_str()));
    CloseHandle(held);
    EXPECT_EQ(ReadFile(path), "[old]\r\nk=v\r\n");
    EXPECT_EQ(Files(), std::vector<std::string>{"update.ini"}); // no temporary file left

    EXPECT_FALSE(reader.SaveToFile((m_folder + "no such folder\\update.ini").c_str()));
}

} // namespace
