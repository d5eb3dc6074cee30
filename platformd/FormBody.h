#pragma once
// The client's form bodies: raw GBK name=value pairs joined by "&", never percent-encoded.
//
// A raw "&" inside a value cannot be told from a pair separator in general. Where the
// handler knows which fields come in which order, the value of a field runs up to the
// "&name=" of the field that follows it, so a password or remark holding "&" or "=" still
// arrives whole. Only a value that itself contains "&<next field name>=" stays ambiguous.
// Without a known layout the body is split at every "&", then at the first "=".
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

    // The first value of `name`, or empty text.
    std::string Get(std::string_view name) const;
    bool Has(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>>& Pairs() const { return pairs_; }

  private:
    bool ParseInOrder(std::string_view body, const std::vector<std::string_view>& fields);
    void ParseLoose(std::string_view body);
    void AddPair(std::string_view name, std::string_view value);

    std::vector<std::pair<std::string, std::string>> pairs_;
};

// Undoes the escaping of the real-name form: "%25u" first becomes "%u", then "%uXXXX" and
// "%XX" escapes are decoded as the escape() of a browser script writes them. Malformed
// escapes are kept literally.
std::string UnescapeScriptText(std::string_view text);

}  // namespace platformd
