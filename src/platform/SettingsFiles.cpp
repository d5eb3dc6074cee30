#include "platform/SettingsFiles.h"

#include "net/Text.h"
#include "os/ProfileDocument.h"
#include "os/ProfileFile.h"

namespace vpsdesk::platform {
namespace {

constexpr std::string_view kConfigSection = "Config";
constexpr std::string_view kUpdateSection = "更新";
constexpr std::string_view kUpdateAddressKey = "API地址";
constexpr mode_t kPrivateFile = 0600;

std::string FileNameFromTitle(std::string_view title) {
    std::string name(title);
    for (char& c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
    return name + ".ini";
}

bool ReadsAsOne(const std::filesystem::path& file, std::string_view key) {
    return net::TextToInt(os::ReadProfileString(file, kConfigSection, key)) == 1;
}

}  // namespace

AccountSettingsFile::AccountSettingsFile(const std::filesystem::path& documents_folder,
                                         std::string_view client_title) {
    // Without a Documents folder there is no file; a bare name would land in the current
    // directory instead.
    if (!documents_folder.empty()) path_ = documents_folder / FileNameFromTitle(client_title);
}

namespace {

// The Documents folder the file lives in need not exist on a fresh or minimal desktop;
// a save makes it, as the desktop's own tools would.
void MakeFolderOf(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
}

}  // namespace

bool AccountSettingsFile::SaveRememberedLogin(bool remember, std::string_view account,
                                              std::string_view password) const {
    if (path_.empty()) return false;
    MakeFolderOf(path_);
    os::ProfileValues values = {
        {"Rememberaccount", remember ? "1" : "0"},
        {"zh", remember ? std::string(account) : std::string()},
        {"mm", remember ? std::string(password) : std::string()},
    };
    bool ok = os::WriteProfileStrings(path_, kConfigSection, values, kPrivateFile);
    // The file holds a password: an older file that others could read is tightened too.
    std::error_code ignored;
    if (ok)
        std::filesystem::permissions(
            path_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
            std::filesystem::perm_options::replace, ignored);
    return ok;
}

bool AccountSettingsFile::CanRemember(std::string_view account, std::string_view password) {
    // The same rule the writer applies, on a document of its own.
    os::ProfileDocument probe;
    return probe.Set(kConfigSection, "zh", account) && probe.Set(kConfigSection, "mm", password);
}

bool AccountSettingsFile::SaveAutoLogin(bool auto_login) const {
    if (path_.empty()) return false;
    MakeFolderOf(path_);
    return os::WriteProfileString(path_, kConfigSection, "zdlogin", auto_login ? "1" : "0",
                                  kPrivateFile);
}

RememberedLogin AccountSettingsFile::LoadRememberedLogin() const {
    RememberedLogin login;
    if (path_.empty() || !ReadsAsOne(path_, "Rememberaccount")) return login;
    login.remember = true;
    login.account = os::ReadProfileString(path_, kConfigSection, "zh");
    login.password = os::ReadProfileString(path_, kConfigSection, "mm");
    login.auto_login = ReadsAsOne(path_, "zdlogin");
    return login;
}

UpdateSettingsFile::UpdateSettingsFile(const std::filesystem::path& program_folder) {
    if (!program_folder.empty()) path_ = program_folder / kUpdateSettingsFileName;
}

bool UpdateSettingsFile::WriteUpdateAddress(std::string_view command_url) const {
    if (path_.empty()) return false;
    return os::WriteProfileString(path_, kUpdateSection, kUpdateAddressKey, command_url);
}

std::string UpdateSettingsFile::ReadUpdateAddress() const {
    if (path_.empty()) return {};
    return os::ReadProfileString(path_, kUpdateSection, kUpdateAddressKey);
}

}  // namespace vpsdesk::platform
