#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "TempFolderTest.h"
#include "os/KeyFileDataProtection.h"

using namespace vpsdesk::os;
using vpsdesk::net::ByteArray;
namespace fs = std::filesystem;

class OsDataProtection : public vpsdesk::test::TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        key_ = dir_ / "protection.key";
    }

    fs::path key_;
};

TEST_F(OsDataProtection, RoundTripsUnderAPrivateKeyMadeOnFirstUse) {
    ByteArray password(512, 0);
    password[0] = 'p';
    password[2] = 'w';
    EXPECT_EQ(KeyFileDataProtection(key_).Unprotect(ByteArray(40, 1)), std::nullopt);
    EXPECT_FALSE(fs::exists(key_));  // unprotecting never makes a key

    auto blob = KeyFileDataProtection(key_).Protect(password);
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->size(), 1 + 12 + 512 + 16u);
    struct stat info {};
    ASSERT_EQ(stat(key_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(info.st_size, 32);

    // Another instance (a later run) finds the same key; nonces differ per blob.
    KeyFileDataProtection later(key_);
    EXPECT_EQ(later.Unprotect(*blob), password);
    EXPECT_NE(later.Protect(password), blob);
    EXPECT_EQ(later.Unprotect(*later.Protect(ByteArray())), ByteArray());
}

TEST_F(OsDataProtection, AnyAlteredByteOrForeignKeyIsRejected) {
    KeyFileDataProtection protection(key_);
    auto blob = protection.Protect(ByteArray(512, 7));
    ASSERT_TRUE(blob);
    for (size_t i : {size_t{0}, size_t{5}, size_t{100}, blob->size() - 1}) {
        ByteArray altered = *blob;
        altered[i] ^= 1;
        EXPECT_EQ(protection.Unprotect(altered), std::nullopt) << "byte " << i;
    }
    EXPECT_EQ(protection.Unprotect(ByteArray(blob->begin(), blob->end() - 1)), std::nullopt);
    EXPECT_EQ(KeyFileDataProtection(dir_ / "other.key").Protect(ByteArray(1)).has_value(), true);
    EXPECT_EQ(KeyFileDataProtection(dir_ / "other.key").Unprotect(*blob), std::nullopt);
}

TEST_F(OsDataProtection, DamagedKeyFileIsNeitherUsedNorReplaced) {
    std::ofstream(key_, std::ios::binary) << "short";
    EXPECT_EQ(KeyFileDataProtection(key_).Protect(ByteArray(512)), std::nullopt);
    EXPECT_EQ(fs::file_size(key_), 5u);
    EXPECT_EQ(KeyFileDataProtection(dir_ / "no" / "folder.key").Protect(ByteArray(1)),
              std::nullopt);
}

TEST_F(OsDataProtection, AKeyFileOthersCanReadIsMadePrivateAgainOnUse) {
    // Left group- or world-readable by an older install or a restore; the key stays the
    // same, only the permission is taken back, whichever way the key is used.
    struct Case {
        mode_t left;
        bool protect;
    };
    for (const Case c : {Case{0640, true}, Case{0604, true}, Case{0640, false}, Case{0604, false},
                         Case{0666, true}}) {
        const fs::path key = dir_ / ("key-" + std::to_string(c.left) + (c.protect ? "p" : "u"));
        const auto blob = KeyFileDataProtection(key).Protect(ByteArray(16, 3));
        ASSERT_TRUE(blob);
        ASSERT_EQ(chmod(key.c_str(), c.left), 0);

        KeyFileDataProtection later(key);
        if (c.protect) {
            EXPECT_TRUE(later.Protect(ByteArray(1)));
        } else {
            EXPECT_EQ(later.Unprotect(*blob), ByteArray(16, 3));
        }
        struct stat info {};
        ASSERT_EQ(stat(key.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u)
            << std::oct << c.left << (c.protect ? " protect" : " unprotect");
        EXPECT_EQ(later.Unprotect(*blob), ByteArray(16, 3));
    }
}
