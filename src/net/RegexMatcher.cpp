#include "net/RegexMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <vector>

#include "net/Text.h"

namespace vpsdesk::net {
namespace {

// Enough for any sane pattern over a web page, small enough that a pattern that
// backtracks exponentially gives up at once instead of hanging the caller.
constexpr uint32_t kMatchLimit = 1'000'000;

struct CodeFree {
    void operator()(pcre2_code* p) const { pcre2_code_free(p); }
};
struct ContextFree {
    void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct CompileContextFree {
    void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};

struct Span {
    PCRE2_SIZE start = PCRE2_UNSET;
    PCRE2_SIZE end = PCRE2_UNSET;
};

PCRE2_SPTR Bytes(std::string_view s) {
    return reinterpret_cast<PCRE2_SPTR>(s.data());
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// ECMAScript replacement syntax to PCRE2's: group numbers beyond the pattern's groups
// and every other "$" are literal there but errors or blanks here.
std::string ToPcreReplacement(std::string_view r, uint32_t groups) {
    std::string out;
    size_t i = 0;
    while (i < r.size()) {
        if (r[i] != '$' || i + 1 == r.size()) {
            if (r[i] == '$')
                out.append("$$");
            else
                out.push_back(r[i]);
            ++i;
            continue;
        }
        char next = r[i + 1];
        if (next == '$') {
            out.append("$$");
            i += 2;
        } else if (next == '&') {
            out.append("${0}");
            i += 2;
        } else if (IsDigit(next)) {
            uint32_t one = static_cast<uint32_t>(next - '0');
            uint32_t two = (i + 2 < r.size() && IsDigit(r[i + 2]))
                               ? one * 10 + static_cast<uint32_t>(r[i + 2] - '0')
                               : 0;
            if (two >= 1 && two <= groups) {
                out.append("${").append(std::to_string(two)).append("}");
                i += 3;
            } else if (one >= 1 && one <= groups) {
                out.append("${").append(std::to_string(one)).append("}");
                i += 2;
            } else {
                out.append("$$");
                ++i;
            }
        } else {
            out.append("$$");
            ++i;
        }
    }
    return out;
}

}  // namespace

struct RegexMatcher::State {
    std::string pattern;
    std::string subject;
    bool global = true;
    uint32_t groups = 0;
    std::unique_ptr<pcre2_code, CodeFree> code;
    std::unique_ptr<pcre2_match_context, ContextFree> context;
    std::vector<std::vector<Span>> matches;  // per match: the whole match, then each group

    // Where to look next after an empty match at `offset` that could not be extended:
    // one character on, and over a CRLF pair as a whole, as pcre2_substitute does.
    PCRE2_SIZE StepOver(PCRE2_SIZE offset) const {
        if (offset + 1 < subject.size() && subject[offset] == '\r' && subject[offset + 1] == '\n')
            return offset + 2;
        ++offset;
        while (offset < subject.size() &&
               (static_cast<unsigned char>(subject[offset]) & 0xC0) == 0x80)
            ++offset;
        return offset;
    }

    // False when matching gave up (limits) or failed.
    bool Collect() {
        std::unique_ptr<pcre2_match_data, MatchDataFree> data(
            pcre2_match_data_create_from_pattern(code.get(), nullptr));
        if (!data) return false;
        PCRE2_SIZE offset = 0;
        uint32_t options = 0;
        while (offset <= subject.size()) {
            int rc = pcre2_match(code.get(), Bytes(subject), subject.size(), offset, options,
                                 data.get(), context.get());
            if (rc == PCRE2_ERROR_NOMATCH) {
                if (options == 0) break;
                // No non-empty match where the empty one was: move on by one character.
                offset = StepOver(offset);
                options = 0;
                continue;
            }
            if (rc < 0) return false;
            const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data.get());
            // \K inside a lookahead can end a match before its start; ECMAScript has no
            // such thing and nothing sensible can be reported for it.
            if (ov[0] > ov[1]) return false;
            std::vector<Span> spans(groups + 1);
            for (uint32_t g = 0; g <= groups && g < static_cast<uint32_t>(rc); ++g)
                if (ov[2 * g] != PCRE2_UNSET) spans[g] = {ov[2 * g], ov[2 * g + 1]};
            matches.push_back(std::move(spans));
            if (!global) break;
            offset = ov[1];
            options = ov[0] == ov[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
        }
        return true;
    }

    MatchedText Text(const Span& span, bool want_position) const {
        if (span.start == PCRE2_UNSET) return {};
        MatchedText out;
        out.text = subject.substr(span.start, span.end - span.start);
        if (want_position) out.position = static_cast<long>(span.start);
        return out;
    }
};

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(RegexMatcher&&) noexcept = default;
RegexMatcher& RegexMatcher::operator=(RegexMatcher&&) noexcept = default;

bool RegexMatcher::Create(std::string_view pattern, std::string_view subject, bool case_sensitive,
                          bool multiline, bool global, bool quote_placeholder) {
    state_.reset();
    auto s = std::make_unique<State>();
    s->pattern = quote_placeholder ? ReplaceText(pattern, "#引号", "\"") : std::string(pattern);
    s->subject = std::string(subject);
    s->global = global;

    std::unique_ptr<pcre2_compile_context, CompileContextFree> cc(
        pcre2_compile_context_create(nullptr));
    if (!cc) return false;
    // ECMAScript ends lines at CR and LF alike; pages arrive with either.
    pcre2_set_newline(cc.get(), PCRE2_NEWLINE_ANYCRLF);
    // ECMAScript-like details: \u and \x escapes, [^] and [], backreferences to
    // unset groups match empty, $ without multiline only at the very end. Invalid UTF-8
    // in the subject simply never matches instead of failing the whole search.
    uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_NEVER_BACKSLASH_C |
                       PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF |
                       PCRE2_DOLLAR_ENDONLY;
    if (!case_sensitive) options |= PCRE2_CASELESS;
    if (multiline) options |= PCRE2_MULTILINE;
    int error = 0;
    PCRE2_SIZE error_offset = 0;
    s->code.reset(pcre2_compile(Bytes(s->pattern), s->pattern.size(), options, &error,
                                &error_offset, cc.get()));
    if (!s->code) return false;
    pcre2_pattern_info(s->code.get(), PCRE2_INFO_CAPTURECOUNT, &s->groups);

    s->context.reset(pcre2_match_context_create(nullptr));
    if (!s->context) return false;
    pcre2_set_match_limit(s->context.get(), kMatchLimit);

    if (!s->Collect()) return false;
    state_ = std::move(s);
    return true;
}

int RegexMatcher::MatchCount() const {
    return state_ ? static_cast<int>(state_->matches.size()) : 0;
}

MatchedText RegexMatcher::MatchText(int index, bool want_position) const {
    if (!state_ || index < 1 || index > MatchCount()) return {};
    return state_->Text(state_->matches[static_cast<size_t>(index - 1)][0], want_position);
}

MatchedText RegexMatcher::SubMatchText(int match_index, int sub_index, bool want_position) const {
    if (!state_ || match_index < 1 || match_index > MatchCount() || sub_index < 1 ||
        static_cast<uint32_t>(sub_index) > state_->groups)
        return {};
    const std::vector<Span>& spans = state_->matches[static_cast<size_t>(match_index - 1)];
    return state_->Text(spans[static_cast<size_t>(sub_index)], want_position);
}

int RegexMatcher::SubMatchCount() const {
    if (!state_ || state_->matches.empty()) return 0;
    return static_cast<int>(state_->groups);
}

std::string RegexMatcher::Replace(std::string_view replacement) const {
    if (!state_) return {};
    const State& s = *state_;
    std::string pcre_replacement = ToPcreReplacement(replacement, s.groups);
    uint32_t options = PCRE2_SUBSTITUTE_OVERFLOW_LENGTH | PCRE2_SUBSTITUTE_UNSET_EMPTY;
    if (s.global) options |= PCRE2_SUBSTITUTE_GLOBAL;

    std::string out(s.subject.size() + pcre_replacement.size() + 64, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        PCRE2_SIZE length = out.size();
        int rc =
            pcre2_substitute(s.code.get(), Bytes(s.subject), s.subject.size(), 0, options, nullptr,
                             s.context.get(), Bytes(pcre_replacement), pcre_replacement.size(),
                             reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
        if (rc >= 0) {
            out.resize(length);
            return out;
        }
        if (rc != PCRE2_ERROR_NOMEMORY) break;
        // `length` is now the size needed, terminating zero included.
        out.assign(length, '\0');
    }
    // Create already matched this subject within the same limits, so this is not
    // expected; an empty text is what every failed read gives.
    return {};
}

std::string RegexMatcher::GetPattern() const {
    return state_ ? state_->pattern : std::string();
}

}  // namespace vpsdesk::net
