#pragma once
// Form bodies read the way a standard server reads them: split at every "&", then at
// the first "=", then "+" becomes a space and "%XX" its byte (a malformed escape stays as
// it is); the bytes are GBK.
//
// The client sends values raw, so a value holding "&" splits into pieces a handler never
// asked for. When the handler names its fields, a body with a name outside them, a name
// twice or an empty piece cannot be what a customer meant: it is held unreadable and
// reads as a form without fields, so the handler refuses it instead of storing a
// truncated value.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platformd {

class FormBody {
  public:
    FormBody() = default;
    // `gbk_body` is the request body as received; names and values are kept as UTF-8.
    explicit FormBody(std::string_view gbk_body,
                      const std::vector<std::string_view>& expected_fields = {});

    // The first value of `name`, decoded, or empty text.
    std::string Get(std::string_view name) const;
    // The value as it came, before "+" and "%XX" were decoded (GBK converted to UTF-8).
    std::string Raw(std::string_view name) const;
    bool Has(std::string_view name) const;
    // False when the body does not split into the named fields.
    bool Readable() const { return readable_; }
    const std::vector<std::pair<std::string, std::string>>& Pairs() const { return pairs_; }

  private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::vector<std::string> raw_values_;
    bool readable_ = true;
};

// "+" as a space and "%XX" as its byte; anything else, malformed escapes included, as it is.
std::string DecodeFormText(std::string_view text);

// Undoes the escaping of the real-name form: "%25u" first becomes "%u", then "%uXXXX" and
// "%XX" escapes are decoded as the escape() of a browser script writes them. Malformed
// escapes are kept literally.
std::string UnescapeScriptText(std::string_view text);

}  // namespace platformd
