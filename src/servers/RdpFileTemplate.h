#pragma once
// The remote-desktop connection file: a fixed 47-line template whose placeholders
// ("%name%") are replaced one after the other, so a value that holds a later placeholder
// is replaced again, exactly like the Windows client's files are made.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vpsdesk::servers {

// Lines joined with CR LF, no line break after the last one.
std::string_view RdpFileTemplate();
inline constexpr int kRdpFileLines = 47;

// The placeholder (with its "%" signs) and its value, in the order of replacement.
using RdpPlaceholders = std::vector<std::pair<std::string, std::string>>;

// The texts that fill one connection file.
struct RdpFileFields {
    std::string full_address;  // host + ":" + port
    std::string protected_password;
    std::string window_mode, width, height, color_depth;
    std::string compression, key_combinations, audio_mode;
    std::string printers, serial_ports, smart_cards, drives, pnp_devices;
    std::string clipboard, audio_capture, connection_bar, auto_reconnect;
    std::string desktop_background, desktop_theme;
};

// The fixed order: address, account, password, domain, then the settings.
RdpPlaceholders RdpPlaceholderValues(const RdpFileFields& fields);

// The template with every placeholder replaced in `values` order (UTF-8 text).
std::string FillRdpTemplate(const RdpPlaceholders& values);

}  // namespace vpsdesk::servers
