#include "net/Charset.h"

#include <algorithm>
#include <cerrno>

#include "net/ThreadConverter.h"

namespace vpsdesk::net {

std::string Transcode(const char* to, const char* from, std::string_view in, std::string_view bad,
                      const SkipRule& skip) {
    if (in.empty()) return {};
    const ThreadConverter converter(to, from);
    iconv_t cd = converter.Get();
    if (!cd) return {};
    return TranscodeWith(cd, in, bad, skip);
}

std::string TranscodeWith(iconv_t cd, std::string_view in, std::string_view bad,
                          const SkipRule& skip) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char buf[4096];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ, or EINVAL for a sequence cut off at the end.
        out.append(bad);
        std::size_t n = std::clamp<std::size_t>(skip(std::string_view(src, left)), 1, left);
        src += n;
        left -= n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace vpsdesk::net
