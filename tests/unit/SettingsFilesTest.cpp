#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempFolderTest.h"
#include "platform/SettingsFiles.h"

using namespace vpsdesk::platform;
namespace fs = std::filesystem;

class SettingsFiles : public vpsdesk::test::TempFolderTest {};

TEST_F(SettingsFiles, AccountFileBytesAfterEachSave) {
    AccountSettingsFile file(dir_, "云主机");
    EXPECT_EQ(file.Path(), dir_ / "云主机.ini");

    ASSERT_TRUE(file.SaveRememberedLogin(true, "用户", "pw"));
    EXPECT_EQ(Bytes(file.Path()),
              "[Config]\r\nRememberaccount=1\r\nzh=\xD3\xC3\xBB\xA7\r\nmm=pw\r\n");
    struct stat info {};
    ASSERT_EQ(stat(file.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);  // it holds a password

    ASSERT_TRUE(file.SaveAutoLogin(true));
    EXPECT_EQ(Bytes(file.Path()),
              "[Config]\r\nRememberaccount=1\r\nzh=\xD3\xC3\xBB\xA7\r\nmm=pw\r\nzdlogin=1\r\n");

    // Unticking "remember" empties the account and password at once.
    ASSERT_TRUE(file.SaveRememberedLogin(false, "用户", "pw"));
    EXPECT_EQ(Bytes(file.Path()), "[Config]\r\nRememberaccount=0\r\nzh=\r\nmm=\r\nzdlogin=1\r\n");

    // An older file that others could read is tightened on the next save.
    ASSERT_EQ(chmod(file.Path().c_str(), 0644), 0);
    ASSERT_TRUE(file.SaveRememberedLogin(true, "a", "b"));
    ASSERT_EQ(stat(file.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

// A desktop without a Documents folder yet: the first save makes it, rather than failing
// and telling the customer at every login.
TEST_F(SettingsFiles, TheFirstSaveMakesTheDocumentsFolder) {
    for (const bool remembered : {true, false}) {
        const fs::path documents = dir_ / (remembered ? "a" : "b") / "Documents";
        AccountSettingsFile file(documents, "云主机");
        ASSERT_TRUE(remembered ? file.SaveRememberedLogin(true, "user", "pw")
                               : file.SaveAutoLogin(true));
        EXPECT_TRUE(fs::is_regular_file(file.Path()));
    }
}

TEST_F(SettingsFiles, RememberedLoginIsLoadedOnlyWhenRememberReadsAsOne) {
    AccountSettingsFile file(dir_, "t");
    EXPECT_EQ(file.LoadRememberedLogin().remember, false);  // no file yet

    ASSERT_TRUE(file.SaveRememberedLogin(true, "用户名/账号", "secret"));
    ASSERT_TRUE(file.SaveAutoLogin(true));
    RememberedLogin login = file.LoadRememberedLogin();
    EXPECT_TRUE(login.remember);
    EXPECT_EQ(login.account, "用户名/账号");  // a hint text is stored like any other
    EXPECT_EQ(login.password, "secret");
    EXPECT_TRUE(login.auto_login);

    // "zdlogin" = 1 is ignored when the login is not remembered.
    ASSERT_TRUE(file.SaveRememberedLogin(false, "", ""));
    login = file.LoadRememberedLogin();
    EXPECT_FALSE(login.remember);
    EXPECT_FALSE(login.auto_login);
    EXPECT_EQ(login.account, "");

    std::ofstream(file.Path(), std::ios::binary) << "[config]\nRememberaccount= 1x\nzdlogin=01\n";
    login = file.LoadRememberedLogin();
    EXPECT_TRUE(login.remember);
    EXPECT_TRUE(login.auto_login);
}

TEST_F(SettingsFiles, ALoginThatCannotBeRememberedIsToldAndLeavesTheFileAsItWas) {
    AccountSettingsFile file(dir_, "t");
    // Invalid bytes in the stored account read back as U+FFFD, which GBK cannot write.
    const std::string held = "[Config]\r\nRememberaccount=1\r\nzh=\x81\x20x\r\nmm=pw\r\n";
    const RememberedLogin stored = [&] {
        std::ofstream(file.Path(), std::ios::binary) << held;
        return file.LoadRememberedLogin();
    }();
    struct Case {
        const char* account;
        const char* password;
        bool storable;
    };
    const Case cases[] = {
        {"用户", "pw", true},
        {"demo", "", true},
        {stored.account.c_str(), stored.password.c_str(), false},
        {"demo", "pw\xF0\x9F\x98\x80", false},  // an emoji in the password
        {"de\xF3\xA0\x81\x81mo", "pw", false},  // a tag character iconv would drop
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.account);
        std::ofstream(file.Path(), std::ios::binary | std::ios::trunc) << held;
        EXPECT_EQ(AccountSettingsFile::CanRemember(c.account, c.password), c.storable);
        EXPECT_EQ(file.SaveRememberedLogin(true, c.account, c.password), c.storable);
        if (!c.storable) {
            EXPECT_EQ(Bytes(file.Path()), held);
        }
    }
}

TEST_F(SettingsFiles, TitleBecomesASafeFileNameInTheFolder) {
    EXPECT_EQ(AccountSettingsFile(dir_, "").Path(), dir_ / ".ini");
    EXPECT_EQ(AccountSettingsFile(dir_, "../a/b\\c\n").Path(), dir_ / ".._a_b_c_.ini");
    AccountSettingsFile nowhere({}, "t");
    EXPECT_FALSE(nowhere.SaveAutoLogin(true));
    EXPECT_FALSE(nowhere.LoadRememberedLogin().remember);
}

TEST_F(SettingsFiles, UpdateAddressIsWrittenInGbkBesideTheProgram) {
    UpdateSettingsFile file(dir_);
    EXPECT_EQ(file.Path(), dir_ / "更新配置.ini");
    EXPECT_EQ(file.ReadUpdateAddress(), "");
    ASSERT_TRUE(file.WriteUpdateAddress("https://a.example/khd?act="));
    ASSERT_TRUE(file.WriteUpdateAddress("https://b.example/khd?act="));
    EXPECT_EQ(Bytes(file.Path()),
              "[\xB8\xFC\xD0\xC2]\r\nAPI\xB5\xD8\xD6\xB7=https://b.example/khd?act=\r\n");
    EXPECT_EQ(file.ReadUpdateAddress(), "https://b.example/khd?act=");
}
