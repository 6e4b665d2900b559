// Rank titles from a game folder's "Rank.ini".
#include <gtest/gtest.h>

#include <limits.h>

#include "IGameRankManager.h"
#include "ModuleTestSupport.h"

namespace
{

class GameRankManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_ranks = CreateModule<IGameRankManager>(CLSID_GameRankManager, IID_IGameRankManager);
        ASSERT_TRUE(m_ranks);
    }

    // A game folder whose "Rank.ini" holds that text.
    std::string GameFolder(const char* name, const char* rankIni)
    {
        std::string folder = m_folder.SubFolder(name);
        WriteFile(folder + "\\Rank.ini", rankIni);
        return folder;
    }

    const char* Title(long score)
    {
        const tagRankItem* rank = m_ranks->GetRank(score);
        return rank != NULL ? rank->szName : "(none)";
    }

    CTempFolder m_folder;
    ModulePtr<IGameRankManager> m_ranks;
};

TEST_F(GameRankManagerTest, TitleForScoresAtAndAroundEachBound)
{
    // Written out of order: the table sorts itself.
    m_ranks->LoadConfig(GameFolder("game", "[Rank]\r\n高手=1000\r\n新手=0\r\n中级=100\r\n").c_str());
    struct Case
    {
        long score;
        const char* title;
    };
    const Case cases[] = {
        {LONG_MIN, "新手"}, {-5, "新手"},  {-1, "新手"},   {0, "新手"},    {99, "新手"},   {100, "中级"},
        {101, "中级"},      {999, "中级"}, {1000, "高手"}, {1001, "高手"}, {5000, "高手"}, {LONG_MAX, "高手"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(Title(c.score), c.title) << c.score;

    const tagRankItem* top = m_ranks->GetRank(1000);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->lScore, 1000);
}

TEST_F(GameRankManagerTest, ScoreBelowEveryRankGetsTheLowest)
{
    m_ranks->LoadConfig(GameFolder("game", "[Rank]\r\nB=200\r\nA=50\r\n").c_str());
    EXPECT_STREQ(Title(10), "A");
    EXPECT_STREQ(Title(-10), "A");
    EXPECT_STREQ(Title(50), "A");
    EXPECT_STREQ(Title(200), "B");
}

TEST_F(GameRankManagerTest, FolderWithTrailingBackslashAndLongTitle)
{
    std::string folder = GameFolder("game", "[Rank]\r\n"
                                            "Grandmaster of every table in the hall=10\r\n"
                                            "not a rank line\r\n");
    m_ranks->LoadConfig((folder + "\\").c_str());
    EXPECT_STREQ(Title(10), "Grandmaster of every table in t"); // 31 characters
    EXPECT_STREQ(Title(0), "Grandmaster of every table in t");
}

TEST_F(GameRankManagerTest, EmptyOrMissingTableGivesNoRank)
{
    struct Case
    {
        const char* name;
        const char* rankIni; // null: no file
    };
    const Case cases[] = {
        {"empty file", ""},
        {"other section", "[Level]\r\nA=0\r\n"},
        {"empty section", "[Rank]\r\n"},
        {"missing file", NULL},
    };
    std::string good = GameFolder("good", "[Rank]\r\nA=0\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_ranks->LoadConfig(good.c_str());
        ASSERT_NE(m_ranks->GetRank(0), nullptr);
        std::string folder = c.rankIni ? GameFolder(c.name, c.rankIni) : m_folder.SubFolder(c.name);
        m_ranks->LoadConfig(folder.c_str());
        EXPECT_EQ(m_ranks->GetRank(0), nullptr);
    }
}

} // namespace
