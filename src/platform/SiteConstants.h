#pragma once
// The deployment values (platform host, version label) and the site resources that every
// client fetches at start-up. The two values come from fixed-width slots in the binary's
// constant data, so packaging can write them into a finished build without rebuilding.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/ByteArray.h"

namespace vpsdesk::platform {

// Slot geometry: the text bytes, then one zero byte that is never overwritten.
inline constexpr std::size_t kSiteSlotSize = 24;
inline constexpr std::size_t kVersionSlotSize = 16;
// The filler characters a slot is shipped with, as GBK bytes and as text.
inline constexpr std::string_view kSiteFillerGbk = "\xCB\xAE";     // 水
inline constexpr std::string_view kVersionFillerGbk = "\xE0\xA3";  // 啵
inline constexpr std::string_view kSiteFiller = "水";
inline constexpr std::string_view kVersionFiller = "啵";

// Used while the site slot is unstamped. A placeholder only: packaging stamps the real
// platform host into the slot.
inline constexpr std::string_view kDefaultSiteHost = "vps.example.com";
inline constexpr std::string_view kDefaultLocalVersion = "Ver 4.92";

// The slot rule on raw slot bytes: the bytes up to the first zero (or all of them),
// decoded from GBK and trimmed. When the filler is still in there anywhere, or nothing
// is left, `fallback` is used.
std::string SlotValue(std::string_view slot_bytes, std::string_view filler,
                      std::string_view fallback);

// The values the slots of this binary hold, read at run time.
std::string BuiltInSiteHost();
std::string BuiltInLocalVersion();

struct SiteConstants {
    std::string site_host;      // host[:port], no scheme, no path
    std::string local_version;  // e.g. "Ver 4.92"

    std::string BaseUrl() const { return "https://" + site_host; }
    std::string CommandUrl() const { return BaseUrl() + "/khd?act="; }
};

// The developer options of the command line.
struct StartupOptions {
    std::optional<std::string> site;     // --site HOST[:PORT]
    std::optional<std::string> ca_file;  // --ca-file PEM
    bool help = false;                   // --help or -h: print the usage and end
    bool version = false;                // --version: print the version and end
    std::string error;                   // set when an option is malformed
};

// What --help prints.
std::string UsageText();

// Reads "--site X", "--site=X", "--ca-file X", "--ca-file=X", "--help", "-h" and
// "--version"; every other argument is
// left for others (the toolkit has its own). `args` excludes the program name.
StartupOptions ParseStartupOptions(const std::vector<std::string>& args);
StartupOptions ParseStartupOptions(int argc, const char* const* argv);

// A host name or IPv4 address with an optional port: what a request URL can carry
// between "https://" and the path.
bool IsValidSiteHost(std::string_view host);

// The slots' values with the command line's site in place of the built-in host.
SiteConstants ResolveSiteConstants(const StartupOptions& options);

// The process's site constants: set once at start-up, read by every request afterwards.
// Reads return a copy, so a test that moves the site between platforms stays race-free.
void SetSiteConstants(SiteConstants constants);
SiteConstants Site();

// Start-up: the resolved constants become the process's, and a CA file named on the
// command line is trusted from then on (certificates stay verified).
SiteConstants InstallSiteConstants(const StartupOptions& options);

// What the platform serves every client at start-up. Anything that failed is empty.
struct SiteResources {
    std::string version_reply;  // text of command "ver"
    int version_status = 0;     // HTTP status of that reply; 0 when none came
    net::ByteArray logo_image;
    net::ByteArray banner_image1;
    net::ByteArray banner_image2;
    std::string client_title;  // command "biaoti"
    std::string help_text;     // command "help"

    // "Ver " + the reply, as compared with the local version label.
    std::string ServerVersion() const { return "Ver " + version_reply; }
};

// The resources as start-up fetched them, for the windows that show them later (the main
// window's pictures and help caption, the client title in greetings). Empty until set.
void SetSiteResources(SiteResources resources);
SiteResources Resources();

// Command "ver": fills `version_reply` and `version_status` of `out`.
void FetchVersion(const SiteConstants& site, SiteResources& out);

// The six fetches, in this order: "ver", /img/logo.png, /img/vx.png, /img/vx2.png,
// "biaoti", "help".
SiteResources FetchSiteResources(const SiteConstants& site);

}  // namespace vpsdesk::platform
