#include "platform/SiteConstants.h"

#include <mutex>

#include "net/Gbk.h"
#include "net/ReplyStatus.h"
#include "net/Text.h"
#include "net/WebRequest.h"
#include "platform/SiteSlots.h"

namespace vpsdesk::platform {
namespace {

std::string ReadSlotBytes(const volatile char* slot, std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        char c = slot[i];
        if (c == '\0') break;
        bytes.push_back(c);
    }
    return bytes;
}

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.';
}

std::mutex& SiteMutex() {
    static std::mutex mutex;
    return mutex;
}

// Never destroyed: workers may still build URLs while the process exits.
SiteConstants& SiteStore() {
    static SiteConstants* site = new SiteConstants{BuiltInSiteHost(), BuiltInLocalVersion()};
    return *site;
}

// Never destroyed, like the constants.
SiteResources& ResourceStore() {
    static SiteResources* resources = new SiteResources;
    return *resources;
}

}  // namespace

std::string SlotValue(std::string_view slot_bytes, std::string_view filler,
                      std::string_view fallback) {
    std::string_view text = slot_bytes.substr(0, slot_bytes.find('\0'));
    std::string value = net::TrimText(net::GbkToUtf8(text));
    // An empty slot is as unusable as an unstamped one: an empty host reaches nothing and
    // an empty version label would announce an update at every start.
    if (value.empty() || net::ContainsText(value, filler)) return std::string(fallback);
    return value;
}

std::string BuiltInSiteHost() {
    return SlotValue(ReadSlotBytes(slots::kSiteSlot, kSiteSlotSize), kSiteFiller, kDefaultSiteHost);
}

std::string BuiltInLocalVersion() {
    return SlotValue(ReadSlotBytes(slots::kVersionSlot, kVersionSlotSize), kVersionFiller,
                     kDefaultLocalVersion);
}

bool IsValidSiteHost(std::string_view host) {
    std::string_view name = host;
    size_t colon = host.find(':');
    if (colon != std::string_view::npos) {
        name = host.substr(0, colon);
        std::string_view port = host.substr(colon + 1);
        if (port.empty() || port.size() > 5) return false;
        long value = 0;
        for (char c : port) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        if (value < 1 || value > 65535) return false;
    }
    if (name.empty() || name.size() > 253 || name.front() == '.' || name.front() == '-')
        return false;
    for (char c : name)
        if (!IsHostChar(c)) return false;
    return true;
}

std::string UsageText() {
    return "usage: vpsdesk [--site HOST[:PORT]] [--ca-file PEM]\n"
           "       vpsdesk --help | --version\n"
           "The desktop client of the cloud-server platform: sign in, see the servers you\n"
           "rent, connect to them by remote desktop, manage and renew them.\n"
           "  --site HOST[:PORT]  talk to this platform instead of the built-in one\n"
           "  --ca-file PEM       also trust the certificate authorities in PEM\n"
           "                      (certificates are always verified)\n"
           "  --help, -h          print this text and end\n"
           "  --version           print the version and end\n"
           "Settings and remote-desktop files are kept beside the program when its folder\n"
           "is writable, else in $XDG_DATA_HOME/vpsdesk.\n";
}

StartupOptions ParseStartupOptions(const std::vector<std::string>& args) {
    StartupOptions out;
    auto take = [&](size_t& i, std::string_view flag, std::optional<std::string>& into) {
        const std::string& arg = args[i];
        if (arg == flag) {
            if (i + 1 >= args.size()) {
                out.error = std::string(flag) + " needs a value";
                return true;
            }
            into = args[++i];
            return true;
        }
        if (arg.size() > flag.size() && arg.compare(0, flag.size(), flag) == 0 &&
            arg[flag.size()] == '=') {
            into = arg.substr(flag.size() + 1);
            return true;
        }
        return false;
    };
    for (size_t i = 0; i < args.size() && out.error.empty(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") out.help = true;
        if (args[i] == "--version") out.version = true;
        if (take(i, "--site", out.site)) continue;
        take(i, "--ca-file", out.ca_file);
    }
    if (out.error.empty() && out.site && !IsValidSiteHost(*out.site))
        out.error = "--site expects HOST[:PORT], got \"" + *out.site + "\"";
    if (out.error.empty() && out.ca_file && out.ca_file->empty())
        out.error = "--ca-file needs a file name";
    return out;
}

StartupOptions ParseStartupOptions(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
    return ParseStartupOptions(args);
}

SiteConstants ResolveSiteConstants(const StartupOptions& options) {
    SiteConstants site{BuiltInSiteHost(), BuiltInLocalVersion()};
    if (options.site && options.error.empty()) site.site_host = *options.site;
    return site;
}

void SetSiteConstants(SiteConstants constants) {
    std::lock_guard lock(SiteMutex());
    SiteStore() = std::move(constants);
}

SiteConstants Site() {
    std::lock_guard lock(SiteMutex());
    return SiteStore();
}

void SetSiteResources(SiteResources resources) {
    std::lock_guard lock(SiteMutex());
    ResourceStore() = std::move(resources);
}

SiteResources Resources() {
    std::lock_guard lock(SiteMutex());
    return ResourceStore();
}

SiteConstants InstallSiteConstants(const StartupOptions& options) {
    SiteConstants site = ResolveSiteConstants(options);
    SetSiteConstants(site);
    if (options.error.empty() && options.ca_file) net::SetTlsSettings({*options.ca_file, true});
    return site;
}

void FetchVersion(const SiteConstants& site, SiteResources& out) {
    const net::WebReply reply = net::WebRequest(site.CommandUrl() + "ver");
    out.version_reply = net::ReplyText(reply.body);
    out.version_status = net::ReplyStatus(reply.headers);
}

SiteResources FetchSiteResources(const SiteConstants& site) {
    const std::string base = site.BaseUrl();
    const std::string command = site.CommandUrl();
    SiteResources out;
    FetchVersion(site, out);
    out.logo_image = net::WebRequest(base + "/img/logo.png").body;
    out.banner_image1 = net::WebRequest(base + "/img/vx.png").body;
    out.banner_image2 = net::WebRequest(base + "/img/vx2.png").body;
    out.client_title = net::ReplyText(net::WebRequest(command + "biaoti").body);
    out.help_text = net::ReplyText(net::WebRequest(command + "help").body);
    return out;
}

}  // namespace vpsdesk::platform
