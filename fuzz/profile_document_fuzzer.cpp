// An INI file of arbitrary bytes: a key is set, the file is written and read again, and
// the value must read back while every other key keeps its value. A refused key leaves
// every byte as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "FuzzCheck.h"
#include "net/Text.h"
#include "os/ProfileDocument.h"

using vpsdesk::os::ProfileDocument;

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return vpsdesk::net::AsciiLower(TrimBlanks(a)) == vpsdesk::net::AsciiLower(TrimBlanks(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string other_section = input.ConsumeRandomLengthString(16);
    const std::string other_key = input.ConsumeRandomLengthString(16);
    ProfileDocument document(input.ConsumeRemainingBytesAsString());

    const std::optional<std::string> other_before = document.Get(other_section, other_key);
    (void)document.Get(section, key);
    const std::string before = document.Bytes();
    if (!document.Set(section, key, value)) {
        FUZZ_CHECK(document.Bytes() == before);
        return 0;
    }

    const ProfileDocument written(document.Bytes());
    const std::optional<std::string> read_back = written.Get(section, key);
    FUZZ_CHECK(read_back.has_value());
    // The reader drops blanks around a value and a pair of quotes of either kind.
    const bool plain = TrimBlanks(value) == value && value.find_first_of("\"'") == std::string::npos &&
                       value.size() <= ProfileDocument::kValueByteLimit;
    if (plain) FUZZ_CHECK(*read_back == value);

    if (!SameName(section, other_section) || !SameName(key, other_key)) {
        FUZZ_CHECK(written.Get(other_section, other_key) == other_before);
    }
    return 0;
}
