// Patterns and subjects from the input: compiling, matching (bounded by PCRE2's match
// limits), reading every match and group, and replacing must never fault.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "FuzzCheck.h"
#include "net/RegexMatcher.h"

using vpsdesk::net::RegexMatcher;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool case_sensitive = input.ConsumeBool();
    const bool multiline = input.ConsumeBool();
    const bool global = input.ConsumeBool();
    const bool quote_placeholder = input.ConsumeBool();
    const std::string pattern = input.ConsumeRandomLengthString(128);
    const std::string replacement = input.ConsumeRandomLengthString(32);
    const std::string subject = input.ConsumeRemainingBytesAsString();

    RegexMatcher matcher;
    if (!matcher.Create(pattern, subject, case_sensitive, multiline, global, quote_placeholder)) {
        FUZZ_CHECK(matcher.MatchCount() == 0);
        return 0;
    }
    const int matches = matcher.MatchCount();
    FUZZ_CHECK(matches >= 0);
    if (!global) FUZZ_CHECK(matches <= 1);
    for (int match = 0; match <= matches + 1; ++match) {
        const auto whole = matcher.MatchText(match, true);
        if (match >= 1 && match <= matches) {
            FUZZ_CHECK(whole.position >= 0);
            FUZZ_CHECK(static_cast<std::size_t>(whole.position) + whole.text.size() <=
                       subject.size());
            FUZZ_CHECK(subject.compare(whole.position, whole.text.size(), whole.text) == 0);
        }
        for (int group = 0; group <= matcher.SubMatchCount() + 1; ++group) {
            const auto part = matcher.SubMatchText(match, group, true);
            if (part.position >= 0) {
                FUZZ_CHECK(subject.compare(part.position, part.text.size(), part.text) == 0);
            }
        }
    }
    (void)matcher.Replace(replacement);
    // Replacing each match by itself changes nothing; by nothing, or by "$$", shortens the
    // subject by exactly the matched bytes.
    FUZZ_CHECK(matcher.Replace("$&") == subject);
    std::size_t matched = 0;
    for (int match = 1; match <= matches; ++match) matched += matcher.MatchText(match).text.size();
    FUZZ_CHECK(matcher.Replace("").size() == subject.size() - matched);
    FUZZ_CHECK(matcher.Replace("$$").size() ==
               subject.size() - matched + static_cast<std::size_t>(matches));
    (void)matcher.GetPattern();
    return 0;
}
