#pragma once
// One iconv conversion that no input can stop or loop: each sequence the converter
// rejects becomes `bad`, and `skip` says how many input bytes to step over.
#include <iconv.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vpsdesk::net {

using SkipRule = std::function<std::size_t(std::string_view rest)>;

// Empty when the conversion itself is not available.
std::string Transcode(const char* to, const char* from, std::string_view in, std::string_view bad,
                      const SkipRule& skip);

// The same on a converter the caller opened (for a conversion named at run time).
std::string TranscodeWith(iconv_t cd, std::string_view in, std::string_view bad,
                          const SkipRule& skip);

}  // namespace vpsdesk::net
