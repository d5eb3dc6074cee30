#pragma once
// The ordered name/value pairs behind every form body and hand-made header block.
// Values go to the platform exactly as held: nothing is percent-encoded unless asked.
#include <string>
#include <string_view>
#include <vector>

#include "net/ByteArray.h"

namespace vpsdesk::net {

class NameValueList {
public:
    // `utf8` marks a pair that must reach the wire as UTF-8 rather than GBK.
    void Add(std::string_view name, std::string_view value, bool utf8 = false);

    std::string BuildForm(bool encode = false) const;
    std::string BuildHeaders(bool encode = false) const;
    std::string BuildJson() const;
    // The form body as wire bytes: GBK, except for pairs added as UTF-8.
    ByteArray BuildFormBytes(bool encode = false) const;

    std::string Get(std::string_view name) const;
    void Set(std::string_view name, std::string_view value);
    void Remove(std::string_view name);
    void Clear();
    std::vector<std::string> Names() const;
    std::vector<std::string> Values() const;
    void LoadForm(std::string_view text, bool utf8 = false);

private:
    struct Entry {
        std::string name;
        std::string value;
        bool utf8 = false;
    };
    std::vector<Entry> entries_;
};

// Percent-encodes the UTF-8 bytes of `text`: zero bytes dropped, letters, digits and
// - . _ ' ( ) * kept, space as "+", every other byte as %XX.
std::string PercentEncodeForm(std::string_view text);

}  // namespace vpsdesk::net
