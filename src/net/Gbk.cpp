#include "net/Gbk.h"

#include <algorithm>

#include "net/Charset.h"

namespace vpsdesk::net {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

std::size_t Utf8SequenceLength(std::string_view s) {
    auto c = static_cast<unsigned char>(s[0]);
    std::size_t n = c < 0x80           ? 1
                    : (c >> 5) == 0x6  ? 2
                    : (c >> 4) == 0xE  ? 3
                    : (c >> 3) == 0x1E ? 4
                                       : 1;
    // Only skip a whole character when it is well formed; otherwise one byte.
    if (n > s.size()) return 1;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
    return n;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    return Transcode("UTF-8", "CP936", gbk, kReplacement, [](std::string_view) { return 1; });
}

std::string Utf8ToGbk(std::string_view utf8) {
    return Transcode("CP936", "UTF-8", utf8, "?", Utf8SequenceLength);
}

std::string ReplyText(const ByteArray& bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return GbkToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<std::size_t>(end - bytes.begin())));
}

}  // namespace vpsdesk::net
