#include "net/Gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace vpsdesk::net {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// An iconv descriptor is stateful, so each conversion opens its own; opening is cheap
// compared with the requests these texts travel in.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `in`; on an unconvertible input sequence appends `bad` and skips
    // `skip(rest)` input bytes.
    template <typename Skip>
    std::string Run(std::string_view in, std::string_view bad, Skip skip) {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        char buf[4096];
        char* src = const_cast<char*>(in.data());
        size_t left = in.size();
        while (left > 0) {
            char* dst = buf;
            size_t room = sizeof buf;
            size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buf, static_cast<size_t>(dst - buf));
            if (r != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (truncated at the end): replace and step over.
            out.append(bad);
            size_t n = std::min(left, skip(std::string_view(src, left)));
            src += n;
            left -= n;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};

size_t Utf8SequenceLength(std::string_view s) {
    auto c = static_cast<unsigned char>(s[0]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    // Only skip a whole character when it is well formed; otherwise one byte.
    if (n > s.size()) return 1;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
    return n;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    if (gbk.empty()) return {};
    Converter c("UTF-8", "CP936");
    if (!c.ok()) return std::string(gbk);
    return c.Run(gbk, kReplacement, [](std::string_view) { return size_t{1}; });
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (utf8.empty()) return {};
    Converter c("CP936", "UTF-8");
    if (!c.ok()) return std::string(utf8);
    return c.Run(utf8, "?", Utf8SequenceLength);
}

std::string ReplyText(const ByteArray& bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return GbkToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<size_t>(end - bytes.begin())));
}

}  // namespace vpsdesk::net
