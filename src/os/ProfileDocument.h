#pragma once
// The contents of one INI ("profile") file, read and edited the way the Windows profile
// functions do it, so files written by either side read the same on the other. The
// document holds the file's GBK bytes; names and values cross the interface as UTF-8.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::os {

class ProfileDocument {
  public:
    // The reader's buffer is 10,240 bytes including the terminator.
    static constexpr size_t kValueByteLimit = 10239;

    ProfileDocument() = default;
    explicit ProfileDocument(std::string gbk_bytes) : bytes_(std::move(gbk_bytes)) {}

    const std::string& Bytes() const { return bytes_; }

    // The value of `key` in the first section named `section` (both case-insensitive),
    // trimmed of spaces and tabs, without a pair of enclosing quotes, and cut to
    // kValueByteLimit GBK bytes at a character boundary. nullopt when either is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Get for each of `keys` in one pass over the document, in their order.
    std::vector<std::optional<std::string>> GetMany(std::string_view section,
                                                    std::span<const std::string_view> keys) const;

    // Replaces the key's line in place as "key=value", keeping the key's spelling; or
    // appends the key after the last non-blank line of its section; or appends
    // "[section]" and the key at the end. New lines use the document's line ending
    // (CR LF for a document without one); a last line that ends in a lone CR gets its LF.
    // Returns false and changes nothing when the line could not be read back as written:
    // a line break or zero byte in any part, "=" in the key, "]" in the section, a key
    // starting with "[", an empty name, or a character that GBK cannot hold. The edited
    // document is read back before it is kept.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::string bytes_;
};

}  // namespace vpsdesk::os
