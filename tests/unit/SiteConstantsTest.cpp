// The slot rule, the developer options and the process's site constants.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "net/CurlShare.h"
#include "net/WebRequest.h"
#include "platform/PlatformApi.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

using namespace vpsdesk::platform;

namespace {

std::string Repeat(std::string_view unit, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out.append(unit);
    return out;
}

std::string Zeros(size_t n) {
    return std::string(n, '\0');
}

}  // namespace

TEST(SiteSlots, UnstampedSlotsGiveTheBuiltInValues) {
    // This build's slots are unstamped.
    EXPECT_EQ(BuiltInSiteHost(), kDefaultSiteHost);
    EXPECT_EQ(BuiltInLocalVersion(), "Ver 4.92");
    EXPECT_EQ(SlotValue(Repeat(kSiteFillerGbk, 12) + Zeros(1), kSiteFiller, "dflt"), "dflt");
    EXPECT_EQ(SlotValue(Repeat(kVersionFillerGbk, 8) + Zeros(1), kVersionFiller, "dflt"), "dflt");
}

TEST(SiteSlots, OneFillerAnywhereInTheTextMeansTheDefault) {
    const std::string filler(kSiteFillerGbk);
    EXPECT_EQ(SlotValue("vps.example.org" + filler + Zeros(7), kSiteFiller, "d"), "d");
    EXPECT_EQ(SlotValue(filler + "vps.example.org" + Zeros(7), kSiteFiller, "d"), "d");
    EXPECT_EQ(SlotValue("vps" + filler + ".example.org" + Zeros(7), kSiteFiller, "d"), "d");
    // Only the text up to the first zero counts.
    EXPECT_EQ(SlotValue("vps.example.org" + Zeros(1) + filler + Zeros(6), kSiteFiller, "d"),
              "vps.example.org");
    // Each slot looks for its own filler.
    EXPECT_EQ(SlotValue("Ver " + filler + Zeros(10), kVersionFiller, "d"), "Ver 水");
}

TEST(SiteSlots, ValueIsTrimmedAndDecodedFromGbk) {
    EXPECT_EQ(SlotValue("  vps.example.org " + Zeros(6), kSiteFiller, "d"), "vps.example.org");
    EXPECT_EQ(SlotValue("\xA1\xA1Ver 5.0\xA1\xA1" + Zeros(5), kVersionFiller, "d"), "Ver 5.0");
    EXPECT_EQ(SlotValue("\xB0\xE6\xB1\xBE 5" + Zeros(9), kVersionFiller, "d"), "版本 5");
    // A slot filled to the last byte has no zero of its own; the reader stops at its end.
    std::string full = "abcdefghijklmnop";
    EXPECT_EQ(SlotValue(full, kVersionFiller, "d"), full);
    // Nothing left is no value.
    EXPECT_EQ(SlotValue(Zeros(17), kVersionFiller, "Ver 4.92"), "Ver 4.92");
    EXPECT_EQ(SlotValue("   " + Zeros(14), kVersionFiller, "Ver 4.92"), "Ver 4.92");
}

TEST(StartupOptionsTest, SiteAndCaFileFromTheCommandLine) {
    StartupOptions o = ParseStartupOptions(
        {"-platform", "offscreen", "--site", "127.0.0.1:8443", "--ca-file=/tmp/ca.pem"});
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(o.site, "127.0.0.1:8443");
    EXPECT_EQ(o.ca_file, "/tmp/ca.pem");

    o = ParseStartupOptions({"--site=vps.example.org"});
    EXPECT_EQ(o.site, "vps.example.org");
    EXPECT_FALSE(o.ca_file.has_value());

    SiteConstants site = ResolveSiteConstants(o);
    EXPECT_EQ(site.site_host, "vps.example.org");
    EXPECT_EQ(site.local_version, "Ver 4.92");
    EXPECT_EQ(site.BaseUrl(), "https://vps.example.org");
    EXPECT_EQ(site.CommandUrl(), "https://vps.example.org/khd?act=");
    EXPECT_EQ(ResolveSiteConstants({}).site_host, kDefaultSiteHost);

    const char* argv[] = {"vpsdesk", "--site", "h.example:1"};
    EXPECT_EQ(ParseStartupOptions(3, argv).site, "h.example:1");
}

TEST(StartupOptionsTest, MalformedOptionsAreReportedNotUsed) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--site"},
             {"--ca-file"},
             {"--ca-file="},
             {"--site", "https://h.example"},
             {"--site", "h.example/path"},
             {"--site", "user@h.example"},
             {"--site", "h.example:"},
             {"--site", "h.example:70000"},
             {"--site", "h.example:8a"},
             {"--site", "h example"},
             {"--site", ""},
         }) {
        StartupOptions o = ParseStartupOptions(args);
        EXPECT_NE(o.error, "") << args.back();
        EXPECT_EQ(ResolveSiteConstants(o).site_host, kDefaultSiteHost);
    }
}

TEST(SiteConstantsTest, AddressesAndBrowserHeadersFollowTheSite) {
    const SiteConstants site{"127.0.0.1:9443", "Ver 4.92"};
    EXPECT_EQ(site.BaseUrl(), "https://127.0.0.1:9443");
    EXPECT_EQ(site.CommandUrl(), "https://127.0.0.1:9443/khd?act=");
    EXPECT_EQ(
        vpsdesk::platform::BrowserHeaders(site),
        "Accept: image/gif, image/jpeg, image/pjpeg, application/x-ms-application, "
        "application/xaml+xml, application/x-ms-xbap, */*\r\n"
        "Referer: https://127.0.0.1:9443/user/cloud-logininfo.asp\r\n"
        "Accept-Language: zh-Hans-CN,zh-Hans;q=0.5\r\n"
        "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko\r\n"
        "Host: 127.0.0.1:9443\r\n"
        "Connection: Keep-Alive\r\n"
        "Cache-Control: no-cache");
}

TEST(SiteConstantsTest, InstalledFromTheCommandLine) {
    SiteConstants before = Site();
    vpsdesk::net::TlsSettings tls_before = vpsdesk::net::CurlShare::Instance().Tls();
    SiteConstants site = InstallSiteConstants(
        ParseStartupOptions({"--site", "127.0.0.1:8443", "--ca-file", "/tmp/ca.pem"}));
    EXPECT_EQ(site.site_host, "127.0.0.1:8443");
    EXPECT_EQ(Site().BaseUrl(), "https://127.0.0.1:8443");
    EXPECT_EQ(vpsdesk::net::CurlShare::Instance().Tls().ca_file, "/tmp/ca.pem");
    EXPECT_TRUE(vpsdesk::net::CurlShare::Instance().Tls().verify);
    SetSiteConstants(before);
    vpsdesk::net::SetTlsSettings(tls_before);
}

TEST(SessionStateTest, TextsAndFlagsAcrossThreads) {
    SessionState state;
    std::thread writer([&] {
        state.SetCredentials("demo", "p&w=1");
        state.SetProfile({"demo", "1", "138", "10001", "a@b.c", "12.50"});
        state.sign_in_completed = 1;
    });
    while (state.sign_in_completed.load() == 0) std::this_thread::yield();
    EXPECT_EQ(state.SessionAccount(), "demo");
    EXPECT_EQ(state.SessionPassword(), "p&w=1");
    EXPECT_EQ(state.Profile().balance, "12.50");
    writer.join();
    state.SetUserName("");
    EXPECT_EQ(state.UserName(), "");
    EXPECT_EQ(state.Profile().email, "a@b.c");  // the rest of the profile stays
    EXPECT_EQ(&Session(), &Session());
}
