// The platform's pieces that need no server: form parsing, rules, pictures, TLS files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FormBody.h"
#include "PngImage.h"
#include "Rules.h"
#include "TlsMaterial.h"
#include "net/Gbk.h"

namespace platformd {
namespace {

TEST(FormBodyTest, ReadsFormsAsAStandardServerDoes) {
    FormBody form(vpsdesk::net::Utf8ToGbk("username=张三&password=a+b%41%zz&captcha=12=34"),
                  {"username", "password", "captcha"});
    EXPECT_TRUE(form.Readable());
    EXPECT_EQ(form.Get("username"), "张三");
    EXPECT_EQ(form.Get("password"), "a bA%zz");
    EXPECT_EQ(form.Raw("password"), "a+b%41%zz");
    EXPECT_EQ(form.Get("captcha"), "12=34");
    // Fields in another order, or missing, are fine.
    FormBody reordered("captcha=1&username=u", {"username", "password", "captcha"});
    EXPECT_TRUE(reordered.Readable());
    EXPECT_EQ(reordered.Get("username"), "u");
    EXPECT_EQ(reordered.Get("password"), "");
    // Without named fields every piece counts and empty pieces are skipped.
    FormBody loose("b=2&a=1=1&&flag&a=3");
    EXPECT_EQ(loose.Get("a"), "1=1");
    EXPECT_TRUE(loose.Has("flag"));
    EXPECT_EQ(loose.Pairs().size(), 4u);
    EXPECT_TRUE(FormBody("").Pairs().empty());
    EXPECT_TRUE(FormBody("", {"a"}).Readable());
}

TEST(FormBodyTest, ABodyThatDoesNotSplitIntoTheNamedFieldsIsUnreadable) {
    // What a raw "&" in a customer's value produces: never a truncated value.
    for (const char* body : {"username=u&password=p&w=1 x&captcha=1", "username=u&password=p&",
                             "username=u&&password=p", "username=u&username=v",
                             "username=u&password=a&captcha=1&captcha=2", "flag"}) {
        FormBody form(body, {"username", "password", "captcha"});
        EXPECT_FALSE(form.Readable()) << body;
        EXPECT_EQ(form.Get("username"), "") << body;
        EXPECT_TRUE(form.Pairs().empty()) << body;
    }
}

TEST(FormBodyTest, UnescapesTheRealNameForm) {
    EXPECT_EQ(UnescapeScriptText("%25u5F20%25u4E09"), "张三");
    EXPECT_EQ(UnescapeScriptText("A%20B%u00e9"), "A B\xC3\xA9");
    EXPECT_EQ(UnescapeScriptText("%uD83D%uDE00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(UnescapeScriptText("%uD83D"), "\xEF\xBF\xBD");
    EXPECT_EQ(UnescapeScriptText("%zz%u12"), "%zz%u12");
}

TEST(RulesTest, IdNumberCheckDigitAndBirthDate) {
    EXPECT_TRUE(IsIdNumber("11010519491231002X"));
    EXPECT_TRUE(IsIdNumber("11010519491231002x"));
    EXPECT_FALSE(IsIdNumber("110105194912310021"));
    EXPECT_FALSE(IsIdNumber("11010519491231002"));
    EXPECT_FALSE(IsIdNumber("1101051949123100AX"));
    // A check digit that fits but a 30 February.
    std::string base = "11010519490230001";
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i) sum += (base[static_cast<size_t>(i)] - '0') * weights[i];
    EXPECT_FALSE(IsIdNumber(base + "10X98765432"[sum % 11]));
}

TEST(RulesTest, PasswordsAndMobiles) {
    EXPECT_TRUE(IsPasswordFormat("abc123"));
    EXPECT_FALSE(IsPasswordFormat("abc12"));
    EXPECT_FALSE(IsPasswordFormat("abc 123"));
    EXPECT_FALSE(IsPasswordFormat(std::string(21, 'a')));
    EXPECT_TRUE(HasDigitRun("x12345"));
    EXPECT_TRUE(HasDigitRun("98765y"));
    EXPECT_FALSE(HasDigitRun("1234a5678"));
    EXPECT_FALSE(HasDigitRun("demo2026"));
    EXPECT_TRUE(IsMobileNumber("13800138000"));
    EXPECT_FALSE(IsMobileNumber("12800138000"));
    EXPECT_FALSE(IsMobileNumber("1380013800"));
}

TEST(RulesTest, MoneyAndPeriods) {
    std::int64_t cents = 0;
    EXPECT_TRUE(ParseMoney("12.5", cents));
    EXPECT_EQ(cents, 1250);
    EXPECT_TRUE(ParseMoney("7", cents));
    EXPECT_EQ(cents, 700);
    for (const char* bad : {"", "0", "0.00", "-1", "1.234", "1.", "abc", "1e3", "99999999"}) {
        EXPECT_FALSE(ParseMoney(bad, cents)) << bad;
    }
    EXPECT_EQ(FormatMoney(5), "0.05");
    EXPECT_EQ(FormatMoney(-1250), "-12.50");

    std::tm jan31{};
    jan31.tm_year = 124;
    jan31.tm_mon = 0;
    jan31.tm_mday = 31;
    jan31.tm_hour = 12;
    jan31.tm_isdst = -1;
    std::int64_t start = mktime(&jan31);
    std::int64_t out = 0;
    ASSERT_TRUE(AddPeriod(start, "month", 1, out));
    EXPECT_EQ(FormatTime(out).substr(0, 10), "2024-02-29");
    std::tm feb29 = jan31;
    feb29.tm_mon = 1;
    feb29.tm_mday = 29;
    ASSERT_TRUE(AddPeriod(mktime(&feb29), "Annual", 1, out));
    EXPECT_EQ(FormatTime(out).substr(0, 10), "2025-02-28");
    ASSERT_TRUE(AddPeriod(start, "day", 1, out));
    EXPECT_EQ(FormatTime(out).substr(0, 10), "2024-02-01");
    EXPECT_FALSE(AddPeriod(start, "week", 1, out));
}

TEST(PngImageTest, EncodesAValidPicture) {
    PngImage image(7, 3, 0x102030);
    image.Set(6, 2, 0xFFFFFF);
    std::string png = image.Encode();
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    // IHDR, then the IDAT stream inflates to one filter byte plus RGB per row.
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    size_t idat = png.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    auto be32 = [&](size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) |
               (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) |
               static_cast<unsigned char>(png[at + 3]);
    };
    unsigned length = static_cast<unsigned>(be32(idat - 4));
    std::string raw(256, '\0');
    uLongf raw_size = raw.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &raw_size,
                         reinterpret_cast<const Bytef*>(png.data() + idat + 4), length),
              Z_OK);
    EXPECT_EQ(raw_size, 3u * (1 + 7 * 3));
    EXPECT_EQ(raw.substr(1, 3), "\x10\x20\x30");
    EXPECT_EQ(raw.substr(raw_size - 3, 3), "\xFF\xFF\xFF");
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + idat), length + 4);
    EXPECT_EQ(static_cast<unsigned>(be32(idat + 4 + length)), static_cast<unsigned>(crc));
}

TEST(TlsMaterialTest, GeneratesOnceAndReusesAfterwards) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("platformd-tls-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    auto read = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    std::string first;
    {
        TlsMaterial tls(dir.string());
        first = read(tls.CaPath());
        EXPECT_NE(first.find("BEGIN CERTIFICATE"), std::string::npos);
        EXPECT_EQ(std::filesystem::status(dir / "server.key").permissions() &
                      std::filesystem::perms::group_read,
                  std::filesystem::perms::none);
    }
    {
        TlsMaterial tls(dir.string());
        EXPECT_EQ(read(tls.CaPath()), first);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace platformd
