#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "os/DocumentsFolder.h"
#include "os/ProgramFolder.h"

using namespace vpsdesk::os;
namespace fs = std::filesystem;

class OsFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vpsdesk-folders-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        vars_["HOME"] = (root_ / "home").string();
        fs::create_directories(root_ / "home");
    }
    void TearDown() override { fs::remove_all(root_); }

    Environment Env() const {
        return [vars = vars_](std::string_view name) -> std::optional<std::string> {
            auto it = vars.find(std::string(name));
            if (it == vars.end()) return std::nullopt;
            return it->second;
        };
    }

    fs::path root_;
    std::map<std::string, std::string> vars_;
};

TEST_F(OsFolders, ProgramFolderIsTheWritableExecutableFolderElseUserData) {
    fs::path install = root_ / "install";
    fs::create_directories(install);
    EXPECT_EQ(ChooseProgramFolder(install, Env()), install);

    // Not a usable folder: the per-user data folder, made private.
    fs::path data = root_ / "home" / ".local" / "share" / "vpsdesk";
    EXPECT_EQ(ChooseProgramFolder(root_ / "gone", Env()), data);
    struct stat info {};
    ASSERT_EQ(stat(data.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    vars_["XDG_DATA_HOME"] = "relative/data";  // ignored: XDG paths must be absolute
    EXPECT_EQ(UserDataFolder(Env()), data);
    vars_["XDG_DATA_HOME"] = (root_ / "xdg").string();
    EXPECT_EQ(UserDataFolder(Env()), root_ / "xdg" / "vpsdesk");

    if (geteuid() != 0) {  // root may write anywhere
        chmod(install.c_str(), 0555);
        EXPECT_EQ(ChooseProgramFolder(install, Env()), root_ / "xdg" / "vpsdesk");
        chmod(install.c_str(), 0755);
    }
    EXPECT_FALSE(ExecutableFolder().empty());
}

TEST_F(OsFolders, UserDirsValueIsUnquotedAndHomeExpanded) {
    fs::path home = "/home/u";
    EXPECT_EQ(DocumentsDirFromUserDirs("# c\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", home),
              "/home/u/Dokumente");
    EXPECT_EQ(DocumentsDirFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/a\"\n"
                                       "XDG_DOCUMENTS_DIR=\"/srv/My \\\"Docs\\\"\"\n",
                                       home),
              "/srv/My \"Docs\"");  // the later line wins
    EXPECT_EQ(DocumentsDirFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/\"", home), home);
    EXPECT_EQ(DocumentsDirFromUserDirs("XDG_DOCUMENTS_DIR=\"${HOME}/文档\"", home), "/home/u/文档");
    EXPECT_EQ(DocumentsDirFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOMER/x\"", home), "");
    EXPECT_EQ(DocumentsDirFromUserDirs("XDG_DOCUMENTS_DIR=\"Docs\"", home), "");
    EXPECT_EQ(DocumentsDirFromUserDirs("#XDG_DOCUMENTS_DIR=\"/x\"", home), "");
}

TEST_F(OsFolders, DocumentsFolderComesFromConfigHomeElseDocuments) {
    fs::path home = root_ / "home";
    EXPECT_EQ(DocumentsFolderFor(Env()), home / "Documents");

    fs::create_directories(home / ".config");
    std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
    EXPECT_EQ(DocumentsFolderFor(Env()), home / "Docs");

    vars_["XDG_CONFIG_HOME"] = (root_ / "cfg").string();  // has no user-dirs.dirs
    EXPECT_EQ(DocumentsFolderFor(Env()), home / "Documents");

    OverrideDocumentsFolder(root_ / "docs");
    EXPECT_EQ(DocumentsFolder(), root_ / "docs");
    OverrideDocumentsFolder({});
    OverrideProgramFolder(root_ / "prog");
    EXPECT_EQ(ProgramFolder(), root_ / "prog");
    OverrideProgramFolder({});
}
