#include "net/PageText.h"

#include <algorithm>

#include "net/Charset.h"
#include "net/Gbk.h"
#include "net/RegexMatcher.h"
#include "net/Text.h"

namespace vpsdesk::net {
namespace {

constexpr std::size_t kHeadBytes = 1024;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
  public:
    explicit Converter(const std::string& from) : cd_(iconv_open("UTF-8", from.c_str())) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return cd_; }

  private:
    iconv_t cd_;
};

}  // namespace

std::string DeclaredCharset(const ByteArray& bytes) {
    const ByteArray head(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(
                                                            std::min(bytes.size(), kHeadBytes)));
    const std::string head_text = ReplyText(head);
    // Most replies declare nothing; they are spared compiling the expression.
    if (!ContainsText(head_text, "charset=", true)) return {};
    RegexMatcher matcher;
    if (!matcher.Create(R"(<meta.+?charset=[^\w]?([-\w]+))", head_text,
                        /*case_sensitive=*/false, /*multiline=*/true, /*global=*/true))
        return {};
    return matcher.SubMatchText(1, 1).text;
}

std::string PageText(const ByteArray& bytes) {
    const std::string charset = DeclaredCharset(bytes);
    // Exact case on purpose: a page that says "GBK" goes through the named conversion.
    if (charset.empty() || charset == "gbk" || charset == "gb2312") return ReplyText(bytes);
    const Converter converter(charset);
    if (!converter.Ok()) return ReplyText(bytes);
    const std::string_view in(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string text =
        TranscodeWith(converter.Get(), in, kReplacement, [](std::string_view) { return 1; });
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

}  // namespace vpsdesk::net
