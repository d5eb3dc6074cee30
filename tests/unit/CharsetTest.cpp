// Conversions share the thread's converters: whatever one conversion ran into, the next
// starts clean, on every thread.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "net/EcmaEscape.h"
#include "net/Gbk.h"

using namespace vpsdesk::net;

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Charset, AConversionCutShortLeavesTheNextOneWhole) {
    EXPECT_EQ(GbkToUtf8("a\xC4"), "a" + kFffd);
    EXPECT_EQ(GbkToUtf8("\xC4\xE3"), "你");
    EXPECT_EQ(Utf8ToGbk("a\xE4\xBD"), "a??");
    EXPECT_EQ(Utf8ToGbk("你"), "\xC4\xE3");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("x\xE4\xBD")), "x" + kFffd + kFffd);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("你")), "你");
}

TEST(Charset, AsciiIsTheSameTextInEitherDirection) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
    EXPECT_EQ(Utf8ToGbk(ascii), ascii);
    EXPECT_EQ(GbkToUtf8(ascii), ascii);
    // One byte past ASCII and the text is converted as a whole.
    EXPECT_EQ(Utf8ToGbk(ascii + "中"), ascii + "\xD6\xD0");
    EXPECT_EQ(GbkToUtf8(ascii + "\xC4\xE3"), ascii + "你");
}

TEST(Charset, ThreadsConvertSideBySide) {
    std::vector<std::thread> threads;
    std::vector<int> good(4, 0);
    for (size_t t = 0; t < good.size(); ++t) {
        threads.emplace_back([&good, t] {
            for (int i = 0; i < 200; ++i) {
                const std::string text = "第" + std::to_string(t) + "行" + std::to_string(i);
                if (GbkToUtf8(Utf8ToGbk(text)) == text && GbkToUtf8("\xFF") == kFffd) ++good[t];
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(good, std::vector<int>(4, 200));
}

}  // namespace
