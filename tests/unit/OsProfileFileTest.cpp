#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TempFolderTest.h"
#include "net/Gbk.h"
#include "os/ProfileDocument.h"
#include "os/ProfileFile.h"

using namespace vpsdesk::os;
namespace fs = std::filesystem;

namespace {

class ProfileFileTest : public vpsdesk::test::TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        file_ = dir_ / "a.ini";
    }

    std::string Bytes() const { return TempFolderTest::Bytes(file_); }
    void Put(std::string_view bytes) const { std::ofstream(file_, std::ios::binary) << bytes; }
    mode_t Mode() const { return TempFolderTest::Mode(file_); }

    fs::path file_;
};

}  // namespace

TEST(ProfileDocument, WritesLikeWindowsIntoEmptyAndExistingSections) {
    ProfileDocument doc;
    ASSERT_TRUE(doc.Set("Config", "a", "1"));
    ASSERT_TRUE(doc.Set("Other", "x", "9"));
    ASSERT_TRUE(doc.Set("config", "b", "2"));  // section names are case-insensitive
    ASSERT_TRUE(doc.Set("CONFIG", "A", "3"));  // replaced in place, first spelling kept
    EXPECT_EQ(doc.Bytes(), "[Config]\r\na=3\r\nb=2\r\n[Other]\r\nx=9\r\n");
}

TEST(ProfileDocument, AppendsAfterLastNonBlankLineAndKeepsLineEndings) {
    ProfileDocument lf("[S]\nk = v\n\n[T]\n");
    ASSERT_TRUE(lf.Set("S", "n", "1"));
    ASSERT_TRUE(lf.Set("S", "K", "w"));
    ASSERT_TRUE(lf.Set("T", "t", "2"));
    EXPECT_EQ(lf.Bytes(), "[S]\nk=w\nn=1\n\n[T]\nt=2\n");

    ProfileDocument unended("[S]\r\nk=v");  // last line without its line ending
    ASSERT_TRUE(unended.Set("S", "n", "1"));
    ASSERT_TRUE(unended.Set("U", "u", ""));
    EXPECT_EQ(unended.Bytes(), "[S]\r\nk=v\r\nn=1\r\n[U]\r\nu=\r\n");
}

TEST(ProfileDocument, ALoneCrEndingTheFileIsCompletedNotKeptInTheLine) {
    struct Case {
        std::string before, section, key, value, after;
    };
    const Case cases[] = {
        // A key appended to the section whose last line ends in CR alone.
        {"[S]\r\nk=v\r", "S", "n", "1", "[S]\r\nk=v\r\nn=1\r\n"},
        // The section header itself is that line.
        {"[A\r", "A", "k", "v", "[A\r\nk=v\r\n"},
        {"[S]\r\nk=v\r", "T", "t", "2", "[S]\r\nk=v\r\n[T]\r\nt=2\r\n"},
        // A file with LF endings gets the LF it lacks, and its own endings after that.
        {"[S]\nk=v\r", "S", "n", "1", "[S]\nk=v\r\nn=1\n"},
        // Replaced in place, the line keeps the ending it had.
        {"[S]\r\nk=v\r", "S", "k", "w", "[S]\r\nk=w\r"},
    };
    for (const Case& c : cases) {
        ProfileDocument doc(c.before);
        EXPECT_TRUE(doc.Set(c.section, c.key, c.value)) << c.before;
        EXPECT_EQ(doc.Bytes(), c.after) << c.before;
        EXPECT_EQ(doc.Get(c.section, c.key), c.value) << c.before;
        // What was there reads as before.
        ProfileDocument original(c.before);
        for (const auto& [section, key] : {std::pair{"S", "k"}, std::pair{"A", "k"}}) {
            if (section != c.section || key != c.key) {
                EXPECT_EQ(doc.Get(section, key), original.Get(section, key)) << c.before;
            }
        }
    }
}

TEST(ProfileDocument, ReadsTrimmedUnquotedValuesFromFirstMatchingSection) {
    ProfileDocument doc(
        "top=0\r\n[S]\r\n  Key  =  \"quoted value\"  \r\nsingle='x'\r\nodd=\"x\r\nempty=\r\n"
        "[s]\r\nKey=second\r\nonly=here\r\n");
    EXPECT_EQ(doc.Get("s", "KEY"), "quoted value");
    EXPECT_EQ(doc.Get("S", "single"), "x");
    EXPECT_EQ(doc.Get("S", "odd"), "\"x");
    EXPECT_EQ(doc.Get("S", "empty"), "");
    EXPECT_EQ(doc.Get("S", "only"), std::nullopt);  // only the first "[S]" is searched
    EXPECT_EQ(doc.Get("S", "top"), std::nullopt);
    EXPECT_EQ(doc.Get("T", "Key"), std::nullopt);
}

// Reading many keys in one pass gives what reading each alone gives.
TEST(ProfileDocument, ManyKeysReadAsEachAlone) {
    const ProfileDocument doc(vpsdesk::net::Utf8ToGbk(
        "[其他]\r\na=other\r\n[RDP]\r\n剪贴板=0\r\nA = \"quoted\" \r\na=second\r\n"
        "[rdp]\r\nlater=no\r\n[RDP]\r\nb=also no\r\n"));
    const std::string_view keys[] = {
        "a", "剪贴板", "later", "b", "missing", "smile \xF0\x9F\x98\x80", " a "};
    for (const std::string_view section : {"RDP", "rdp", "其他", "none"}) {
        const std::vector<std::optional<std::string>> many = doc.GetMany(section, keys);
        ASSERT_EQ(many.size(), std::size(keys));
        for (size_t i = 0; i < std::size(keys); ++i)
            EXPECT_EQ(many[i], doc.Get(section, keys[i])) << section << " " << keys[i];
    }
    EXPECT_EQ(doc.GetMany("RDP", keys)[0], "quoted");
}

TEST(ProfileDocument, GbkNamesAreMatchedByCharacterNotByByte) {
    // "乚" is 81 5D: its trail byte is ']'. "丄" (81 41) and "乤" (81 61) differ only in a
    // trail byte that looks like 'A'/'a', so folding bytes would confuse them.
    ProfileDocument doc;
    ASSERT_TRUE(doc.Set("乚", "丄", "upper"));
    ASSERT_TRUE(doc.Set("乚", "乤", "lower"));
    EXPECT_EQ(doc.Bytes(), "[\x81\x5D]\r\n\x81\x41=upper\r\n\x81\x61=lower\r\n");
    EXPECT_EQ(doc.Get("乚", "丄"), "upper");
    EXPECT_EQ(doc.Get("乚", "乤"), "lower");
}

TEST(ProfileDocument, NamesGbkCannotHoldFindNothingRatherThanAQuestionMarkKey) {
    // Encoded lossily, these names would read "[S]" / "k?" and "[?]" / "k".
    ProfileDocument doc("[S]\r\nk?=wrong\r\nk=right\r\n[?]\r\nk=wrong\r\n");
    EXPECT_EQ(doc.Get("S", "k\xF0\x9F\x98\x80"), std::nullopt);  // no GBK form
    EXPECT_EQ(doc.Get("S", "k\xDD"), std::nullopt);  // not UTF-8
    EXPECT_EQ(doc.Get("\xF0\x9F\x98\x80", "k"), std::nullopt);
    EXPECT_EQ(doc.Get("S", "k"), "right");
}

TEST(ProfileDocument, ValuesAreCutAtTheReadBufferOnACharacterBoundary) {
    std::string ascii(10239, 'a');
    ProfileDocument fits("[S]\r\nk=" + ascii + "\r\nl=" + ascii + "bc\r\n");
    EXPECT_EQ(fits.Get("S", "k")->size(), 10239u);
    EXPECT_EQ(fits.Get("S", "l"), ascii);
    // 10,238 ASCII bytes then a two-byte character: it does not fit and is dropped whole.
    ProfileDocument split("[S]\r\nk=" + std::string(10238, 'a') + "\xD6\xD0\r\n");
    EXPECT_EQ(split.Get("S", "k"), std::string(10238, 'a'));
}

TEST(ProfileDocument, RefusesWhatWouldNotReadBackAsWritten) {
    ProfileDocument doc("[S]\r\nk=v\r\n");
    EXPECT_FALSE(doc.Set("S", "k", "x\r\nzdlogin=1"));  // would add a key
    EXPECT_FALSE(doc.Set("S", "a=b", "v"));
    EXPECT_FALSE(doc.Set("S]", "k", "v"));
    EXPECT_FALSE(doc.Set("S", "[k", "v"));
    EXPECT_FALSE(doc.Set("S", " ", "v"));
    EXPECT_FALSE(doc.Set("S", "k", "smile \xF0\x9F\x98\x80"));  // no GBK form
    EXPECT_EQ(doc.Bytes(), "[S]\r\nk=v\r\n");
}

TEST_F(ProfileFileTest, CreatesGbkFileWithModeAndReadsItBack) {
    EXPECT_EQ(ReadProfileString(file_, "更新", "API地址", "none  "), "none");
    ASSERT_TRUE(WriteProfileString(file_, "更新", "API地址", "中文", 0600));
    EXPECT_EQ(Bytes(), "[\xB8\xFC\xD0\xC2]\r\nAPI\xB5\xD8\xD6\xB7=\xD6\xD0\xCE\xC4\r\n");
    EXPECT_EQ(Mode(), 0600u);
    EXPECT_EQ(ReadProfileString(file_, "更新", "api地址"), "中文");
}

TEST_F(ProfileFileTest, RewriteKeepsModeFollowsLinksAndLeavesNoTemporaryFiles) {
    Put("[S]\nk=v\n");
    chmod(file_.c_str(), 0640);
    fs::path link = dir_ / "link.ini";
    fs::create_symlink(file_, link);
    ASSERT_TRUE(WriteProfileString(link, "S", "k", "w", 0600));
    EXPECT_EQ(Bytes(), "[S]\nk=w\n");
    EXPECT_EQ(Mode(), 0640u);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(ProfileFileTest, BatchIsAllOrNothingAndFailuresLeaveTheFile) {
    Put("[S]\r\nk=v\r\n");
    EXPECT_FALSE(WriteProfileStrings(file_, "S", {{"a", "1"}, {"b", "bad\n"}}));
    EXPECT_EQ(Bytes(), "[S]\r\nk=v\r\n");
    ASSERT_TRUE(WriteProfileStrings(file_, "S", {{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(Bytes(), "[S]\r\nk=v\r\na=1\r\nb=2\r\n");

    EXPECT_FALSE(WriteProfileString(dir_ / "missing" / "x.ini", "S", "k", "v"));
    EXPECT_FALSE(WriteProfileString(dir_, "S", "k", "v"));  // a folder, not a file
    EXPECT_EQ(ReadProfileString(dir_, "S", "k", "d"), "d");
}

namespace {

// The id of a process that has ended and been reaped.
pid_t EndedProcess() {
    pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

}  // namespace

TEST_F(ProfileFileTest, AWriteRemovesTheTemporariesOfEndedProcessesOnly) {
    Put("[S]\r\nk=v\r\n");
    const std::string dead = std::to_string(EndedProcess());
    // Whether each name is still there after the next write beside a.ini.
    struct Case {
        std::string name;
        bool kept;
    };
    const Case cases[] = {
        {"a.ini.tmp" + dead + ".0", false},               // a killed writer's
        {"a.ini.tmp" + dead + ".17", false},
        {"a.ini.tmp" + std::to_string(getpid()) + ".99", true},  // this process's own
        {"a.ini.tmp1.0", true},                           // a live process (init)
        {"b.ini.tmp" + dead + ".0", true},                // another file's
        {"a.ini.tmp" + dead, true},                       // not the writer's pattern
        {"a.ini.tmp" + dead + ".x", true},
        {"a.ini.tmpx.0", true},
        {"a.ini.bak", true},
    };
    for (const Case& c : cases) std::ofstream(dir_ / c.name) << "partial";
    ASSERT_TRUE(WriteProfileString(file_, "S", "k", "w"));
    EXPECT_EQ(Bytes(), "[S]\r\nk=w\r\n");
    for (const Case& c : cases) EXPECT_EQ(fs::exists(dir_ / c.name), c.kept) << c.name;
}
