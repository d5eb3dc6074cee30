#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <vector>

#include "TempFolderTest.h"
#include "os/DocumentsFolder.h"
#include "os/ProgramFolder.h"

using namespace vpsdesk::os;
namespace fs = std::filesystem;

class OsFolders : public vpsdesk::test::TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        vars_["HOME"] = (dir_ / "home").string();
        fs::create_directories(dir_ / "home");
    }

    Environment Env() const {
        return [vars = vars_](std::string_view name) -> std::optional<std::string> {
            auto it = vars.find(std::string(name));
            if (it == vars.end()) return std::nullopt;
            return it->second;
        };
    }

    std::map<std::string, std::string> vars_;
};

TEST_F(OsFolders, ProgramFolderIsTheWritableExecutableFolderElseUserData) {
    fs::path install = dir_ / "install";
    fs::create_directories(install);
    EXPECT_EQ(ChooseProgramFolder(install, Env()), install);

    // Not a usable folder: the per-user data folder, made private.
    fs::path data = dir_ / "home" / ".local" / "share" / "vpsdesk";
    EXPECT_EQ(ChooseProgramFolder(dir_ / "gone", Env()), data);
    struct stat info {};
    ASSERT_EQ(stat(data.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    vars_["XDG_DATA_HOME"] = "relative/data";  // ignored: XDG paths must be absolute
    EXPECT_EQ(UserDataFolder(Env()), data);
    vars_["XDG_DATA_HOME"] = (dir_ / "xdg").string();
    EXPECT_EQ(UserDataFolder(Env()), dir_ / "xdg" / "vpsdesk");

    // A folder this user may not write, whoever runs the test: the per-user data folder.
    std::vector<fs::path> asked;
    auto answer = [&asked](bool writable) {
        return [&asked, writable](const fs::path& folder) {
            asked.push_back(folder);
            return writable;
        };
    };
    EXPECT_EQ(ChooseProgramFolder(install, Env(), answer(false)), dir_ / "xdg" / "vpsdesk");
    EXPECT_EQ(ChooseProgramFolder(install, Env(), answer(true)), install);
    EXPECT_EQ(asked, (std::vector<fs::path>{install, install}));
    EXPECT_EQ(ChooseProgramFolder(dir_ / "gone", Env(), answer(true)), dir_ / "xdg" / "vpsdesk");
    EXPECT_FALSE(ExecutableFolder().empty());
}

TEST_F(OsFolders, AnInstallUnderUsrIsTheSystemsEvenForAUserWhoMayWriteThere) {
    const auto writable = [](const fs::path&) { return true; };
    for (const char* folder :
         {"/usr/bin", "/usr/lib/vpsdesk", "/usr/local/bin", "/usr/./bin", "/usr"})
        EXPECT_TRUE(IsSystemInstall(folder, writable)) << folder;
    for (const char* folder : {"/opt/vpsdesk", "/home/u/vpsdesk", "/usrlocal/bin", "/srv/usr/bin"})
        EXPECT_FALSE(IsSystemInstall(folder, writable)) << folder;
    EXPECT_TRUE(IsSystemInstall("/opt/vpsdesk", [](const fs::path&) { return false; }));
    // Root may write /usr/bin, and still the files go to the per-user folder.
    EXPECT_EQ(ChooseProgramFolder("/usr/bin", Env(), writable), UserDataFolder(Env()));
}

TEST_F(OsFolders, SettingsLeftBesideAReadOnlyClientAreAdoptedOnceNeverOverwritten) {
    const fs::path install = dir_ / "install", data = dir_ / "data";
    fs::create_directories(install);
    fs::create_directories(data);
    const auto put = [](const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    };
    const auto text = [](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    // GBK bytes, copied as they are.
    put(install / "config.ini", "[RDP]\r\n\xbc\xf4\xcc\xf9\xb0\xe5=0\r\n");
    put(install / "更新配置.ini", "[更新]\r\n");
    fs::create_directories(install / "History");
    const std::string_view names[] = {"config.ini", "更新配置.ini", "History", "missing.ini"};

    EXPECT_EQ(AdoptFilesLeftBeside(install, data, names),
              (std::vector<std::string>{"config.ini", "更新配置.ini"}));
    EXPECT_EQ(text(data / "config.ini"), text(install / "config.ini"));
    EXPECT_FALSE(fs::exists(data / "History")) << "a folder is not a settings file";
    EXPECT_FALSE(fs::exists(data / "missing.ini"));

    // The program folder's copy is the customer's from now on.
    put(data / "config.ini", "newer");
    fs::remove(data / "更新配置.ini");
    fs::create_symlink(dir_ / "nowhere", data / "更新配置.ini");
    EXPECT_TRUE(AdoptFilesLeftBeside(install, data, names).empty());
    EXPECT_EQ(text(data / "config.ini"), "newer");
    EXPECT_TRUE(fs::is_symlink(data / "更新配置.ini"));

    // The executable's own folder, and a system-wide installation, adopt nothing.
    fs::remove(data / "config.ini");
    EXPECT_TRUE(AdoptFilesLeftBeside(install, install, names).empty());
    EXPECT_TRUE(AdoptFilesLeftBeside(install, dir_ / "install" / ".", names).empty());
    EXPECT_TRUE(AdoptFilesLeftBeside("/usr/bin", data, names).empty());
    EXPECT_TRUE(AdoptFilesLeftBeside(install, {}, names).empty());
    EXPECT_FALSE(fs::exists(data / "config.ini"));
}

// MayWriteFolder's answer for a user other than root, who may write almost anywhere;
// nullopt when the test cannot take that user's identity.
std::optional<bool> MayWriteAsNobody(const fs::path& folder) {
    const pid_t pid = fork();
    if (pid < 0) return std::nullopt;
    if (pid == 0) {
        // Only system calls between fork and exit: the test process may have threads.
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        _exit(MayWriteFolder(folder) ? 0 : 1);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

TEST_F(OsFolders, TheWriteCheckFollowsTheFolderPermissions) {
    fs::path open = dir_ / "open", closed = dir_ / "closed";
    fs::create_directories(open);
    fs::create_directories(closed);
    ASSERT_EQ(chmod(open.c_str(), 0777), 0);
    ASSERT_EQ(chmod(closed.c_str(), 0555), 0);
    std::ofstream(dir_ / "file") << "x";
    EXPECT_TRUE(MayWriteFolder(open));
    EXPECT_FALSE(MayWriteFolder(dir_ / "gone"));
    EXPECT_FALSE(MayWriteFolder(dir_ / "file"));  // no search permission on a plain file
    if (geteuid() != 0) {
        EXPECT_FALSE(MayWriteFolder(closed));
    } else {
        // Root writes into the closed folder; an ordinary user may not.
        ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
        std::optional<bool> open_answer = MayWriteAsNobody(open);
        std::optional<bool> closed_answer = MayWriteAsNobody(closed);
        if (!open_answer || !closed_answer) GTEST_SKIP() << "cannot run as another user";
        EXPECT_TRUE(*open_answer);
        EXPECT_FALSE(*closed_answer);
    }
    chmod(closed.c_str(), 0755);
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
    fs::path home = dir_ / "home";
    EXPECT_EQ(DocumentsFolderFor(Env()), home / "Documents");

    fs::create_directories(home / ".config");
    std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
    EXPECT_EQ(DocumentsFolderFor(Env()), home / "Docs");

    vars_["XDG_CONFIG_HOME"] = (dir_ / "cfg").string();  // has no user-dirs.dirs
    EXPECT_EQ(DocumentsFolderFor(Env()), home / "Documents");

    OverrideDocumentsFolder(dir_ / "docs");
    EXPECT_EQ(DocumentsFolder(), dir_ / "docs");
    OverrideDocumentsFolder({});
    OverrideProgramFolder(dir_ / "prog");
    EXPECT_EQ(ProgramFolder(), dir_ / "prog");
    OverrideProgramFolder({});
}
