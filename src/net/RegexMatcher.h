#pragma once
// Regular expressions over reply texts (finding a page's declared character set, for
// one). ECMAScript-like syntax and behaviour on top of PCRE2 in UTF mode: \w \d \s are
// ASCII-only, \uXXXX and \xXX are character escapes, "." does not match CR or LF, and in
// multiline mode ^ and $ match at CR, LF and CRLF line breaks.
#include <memory>
#include <string>
#include <string_view>

namespace vpsdesk::net {

struct MatchedText {
    std::string text;
    long position = -1;  // zero-based byte offset in the subject; -1 when not asked for or absent
};

class RegexMatcher {
  public:
    RegexMatcher();
    ~RegexMatcher();
    RegexMatcher(RegexMatcher&&) noexcept;
    RegexMatcher& operator=(RegexMatcher&&) noexcept;
    RegexMatcher(const RegexMatcher&) = delete;
    RegexMatcher& operator=(const RegexMatcher&) = delete;

    // Compiles `pattern`, keeps `subject` and collects its matches (only the first unless
    // `global`); with `quote_placeholder` every "#引号" in the pattern stands for a double
    // quote. Replaces whatever an earlier call set up. False when the pattern does not
    // compile or matching gives up (a pattern that backtracks without end); the matcher
    // is then empty and every read gives empty text or 0.
    bool Create(std::string_view pattern, std::string_view subject, bool case_sensitive = false,
                bool multiline = true, bool global = true, bool quote_placeholder = false);

    int MatchCount() const;
    // Match `index` (1-based); empty for a missing one.
    MatchedText MatchText(int index, bool want_position = false) const;
    // Capture group `sub_index` (1-based) of match `match_index` (1-based); empty when
    // either is missing or the group took no part in the match.
    MatchedText SubMatchText(int match_index, int sub_index, bool want_position = false) const;
    // Capture groups of the pattern, or 0 when nothing matched.
    int SubMatchCount() const;

    // The subject with the matches (all of them when global) replaced. In `replacement`
    // $1-$99 insert a group (an unknown group number stays literal), $& the whole match
    // and $$ a dollar sign; any other $ is literal.
    std::string Replace(std::string_view replacement) const;

    // The pattern in use (after the quote placeholder); empty when there is none.
    std::string GetPattern() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vpsdesk::net
