// GBK both ways: arbitrary bytes decode to valid UTF-8, and text GBK can hold survives
// UTF-8 -> GBK -> UTF-8 unchanged.
#include <fuzzer/FuzzedDataProvider.h>
#include <iconv.h>

#include <cerrno>
#include <string>

#include "FuzzCheck.h"
#include "net/ByteArray.h"
#include "net/Gbk.h"

namespace net = vpsdesk::net;

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// glibc's UTF-8 decoder refuses overlong forms, surrogates and values past U+10FFFF.
bool ValidUtf8(std::string_view text) {
    static const iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string in(text);
    char* in_at = in.data();
    size_t in_left = in.size();
    while (in_left > 0) {
        char buffer[256];
        char* out_at = buffer;
        size_t out_left = sizeof buffer;
        if (iconv(cd, &in_at, &in_left, &out_at, &out_left) == static_cast<size_t>(-1) &&
            errno != E2BIG)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = net::GbkToUtf8(bytes);
    FUZZ_CHECK(ValidUtf8(text));
    if (text.find(kReplacement) == std::string::npos) {
        FUZZ_CHECK(net::GbkToUtf8(net::Utf8ToGbk(text)) == text);
    }

    net::ByteArray reply(bytes.begin(), bytes.end());
    const std::string reply_text = net::ReplyText(reply);
    FUZZ_CHECK(ValidUtf8(reply_text));
    FUZZ_CHECK(reply_text.find('\0') == std::string::npos);

    // The same bytes taken as UTF-8: when they are valid and every character reached GBK,
    // they come back as they went in.
    const std::string gbk = net::Utf8ToGbk(bytes);
    if (ValidUtf8(bytes) && bytes.find('?') == std::string::npos &&
        gbk.find('?') == std::string::npos) {
        FUZZ_CHECK(net::GbkToUtf8(gbk) == bytes);
    }
    return 0;
}
