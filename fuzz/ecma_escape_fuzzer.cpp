// The escape helpers on arbitrary text: escape() then unescape() gives back every string
// of code units, valid UTF-8 survives the trip through UTF-16, and the decoders and the
// literal reader accept anything without fault.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "FuzzCheck.h"
#include "net/EcmaEscape.h"

namespace net = vpsdesk::net;

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::u16string CodeUnits(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool keep_brackets = input.ConsumeBool();
    const bool keep_punctuation = input.ConsumeBool();
    const int prefix_kind = input.ConsumeIntegralInRange(0, 2);
    const std::string prefix = input.ConsumeRandomLengthString(8);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::u16string units = CodeUnits(text);
    const std::string escaped = net::EcmaEscape(units);
    FUZZ_CHECK(net::EcmaUnescape(net::Utf8ToUtf16(escaped)) == units);

    const std::u16string wide = net::Utf8ToUtf16(text);
    const bool has_replacement = text.find(kReplacement) != std::string::npos;
    if (!has_replacement && wide.find(u'\xFFFD') == std::u16string::npos) {
        FUZZ_CHECK(net::Utf16ToUtf8(wide) == text);
    }
    FUZZ_CHECK(net::EcmaUnescape(net::Utf8ToUtf16(net::EcmaEscape(wide))) == wide);

    (void)net::DecodeUnicodeEscapes(text);
    (void)net::ReadQuotedLiteral(wide, false);
    (void)net::ReadQuotedLiteral(wide, true);
    std::optional<std::string> u_prefix;
    if (prefix_kind == 1) u_prefix = prefix;
    if (prefix_kind == 2) u_prefix = "%25u";
    const std::string text_escaped =
        net::EscapeText(text, keep_brackets, keep_punctuation, u_prefix);
    // Without a replacing prefix the result is plain escape() output with some characters
    // left literal, so unescape() gives the literal's value back.
    if (prefix_kind == 0 && !text_escaped.empty()) {
        const std::optional<std::u16string> value = net::ReadQuotedLiteral(wide, true);
        if (value) FUZZ_CHECK(net::EcmaUnescape(net::Utf8ToUtf16(text_escaped)) == *value);
    }
    return 0;
}
