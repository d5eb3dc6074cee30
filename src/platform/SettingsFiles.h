#pragma once
// The two small settings files of the client: the remembered login in the Documents
// folder and the address the updater reads beside the program.
#include <filesystem>
#include <string>
#include <string_view>

namespace vpsdesk::platform {

// What the login page starts with.
struct RememberedLogin {
    bool remember = false;    // "记住密码" ticked
    std::string account;      // meaningful only when `remember`
    std::string password;     // meaningful only when `remember`
    bool auto_login = false;  // "自动登录" ticked; only ever set together with `remember`
};

// The client title + ".ini" in the Documents folder, section "Config". It holds the
// password in plain text, so it is created readable by the user only.
class AccountSettingsFile {
  public:
    // The title is the platform's text; characters that would lead out of the folder or
    // break the name ("/", "\", control characters) become "_". An empty title gives
    // ".ini".
    AccountSettingsFile(const std::filesystem::path& documents_folder,
                        std::string_view client_title);

    const std::filesystem::path& Path() const { return path_; }

    // "Rememberaccount", "zh", "mm" in that order: "1", the account and the password when
    // `remember`, else "0" and two empty texts. One replacement of the file, so the three
    // never disagree. False when nothing was stored (the settings are then not kept).
    bool SaveRememberedLogin(bool remember, std::string_view account,
                             std::string_view password) const;
    // Whether SaveRememberedLogin can keep this account and password: false when either
    // holds a character the file's GBK cannot write, so it would not read back the same.
    static bool CanRemember(std::string_view account, std::string_view password);
    // "zdlogin" = "1" or "0".
    bool SaveAutoLogin(bool auto_login) const;
    // "zh", "mm" and "zdlogin" count only when "Rememberaccount" reads as the number 1.
    RememberedLogin LoadRememberedLogin() const;

  private:
    std::filesystem::path path_;
};

inline constexpr std::string_view kUpdateSettingsFileName = "更新配置.ini";

// "更新配置.ini" in the program folder, section "更新", key "API地址".
class UpdateSettingsFile {
  public:
    explicit UpdateSettingsFile(const std::filesystem::path& program_folder);

    const std::filesystem::path& Path() const { return path_; }

    bool WriteUpdateAddress(std::string_view command_url) const;
    std::string ReadUpdateAddress() const;

  private:
    std::filesystem::path path_;
};

}  // namespace vpsdesk::platform
