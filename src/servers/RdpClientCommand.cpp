#include "servers/RdpClientCommand.h"

#include <system_error>

#include "net/Text.h"

namespace vpsdesk::servers {

std::string RdpClientMissingMessage() {
    return "未找到远程桌面程序 xfreerdp，请先安装软件包 freerdp2-x11（例如：sudo apt install "
           "freerdp2-x11）后再连接";
}

std::string RdpClientFailedMessage(int error) {
    return "启动远程桌面程序 xfreerdp 失败：" + std::generic_category().message(error);
}

bool IsExistingDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

namespace {

bool Ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool ExistingPath(const std::string& entry, const DirectoryCheck& exists) {
    return !entry.empty() && entry.front() == '/' && exists(entry);
}

}  // namespace

std::string FreeRdpDriveList(std::string_view stored, const DirectoryCheck& exists) {
    std::string list;
    for (const std::string& entry : net::SplitText(stored, ";")) {
        const bool special = entry == "*" || entry == "DynamicDrives" || entry == "%";
        const bool path = Ascii(entry) && entry.find_first_of("()") == std::string::npos &&
                          ExistingPath(entry, exists);
        if (special || path) list += entry + ";";
    }
    return list;
}

std::vector<std::string> FreeRdpDriveSwitches(std::string_view stored,
                                              const DirectoryCheck& exists) {
    std::vector<std::string> switches;
    for (const std::string& entry : net::SplitText(stored, ";")) {
        if (Ascii(entry) || entry.find_first_of(",\"") != std::string::npos ||
            !ExistingPath(entry, exists))
            continue;
        std::string name = entry;
        for (char& c : name)
            if (c == '/') c = '_';
        switches.push_back("/drive:" + name + "," + entry);
    }
    return switches;
}

os::LaunchRequest RdpClientCommand(const std::filesystem::path& rdp_file,
                                   std::string_view login_switch, std::string_view window_mode,
                                   std::string_view password,
                                   const std::vector<std::string>& device_switches) {
    os::LaunchRequest request;
    request.program = std::string(kRdpClientProgram);
    request.arguments = {rdp_file.string(), "/from-stdin"};
    if (login_switch == " /admin " || login_switch == " /console ")
        request.arguments.push_back("/admin");
    if (window_mode == "0") request.arguments.push_back("/f");
    request.arguments.insert(request.arguments.end(), device_switches.begin(),
                             device_switches.end());
    request.environment = {std::string(kRdpClientLogFilter)};
    request.standard_input = std::string(password) + "\n";
    return request;
}

}  // namespace vpsdesk::servers
