#pragma once
// Text helpers shared by every feature. Texts are UTF-8; positions are 1-based byte
// positions and a search that finds nothing gives -1. Because UTF-8 lead bytes never
// occur inside a character, a match can never start in the middle of one.
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::net {

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
// Each byte as two upper-case hexadecimal digits, in order, no separators.
std::string UpperHex(std::string_view bytes);

// Position of `what` at or after `start` (1-based), or -1.
long FindText(std::string_view text, std::string_view what, long start = 1,
              bool case_insensitive = false);
// Position of the last `what` that starts at or before `start`; a negative `start`
// counts from the end (-1 is the last byte).
long FindTextBackwards(std::string_view text, std::string_view what, long start = -1,
                       bool case_insensitive = false);
bool ContainsText(std::string_view text, std::string_view what, bool case_insensitive = false);
bool StartsWithText(std::string_view text, std::string_view prefix, bool case_insensitive = false);
bool EndsWithText(std::string_view text, std::string_view suffix);

// Replaces every occurrence, left to right, without rescanning replaced text.
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to,
                        bool case_insensitive = false);

// The text between the first `left` at or after `start` and the next `right` after it;
// empty when either is missing. "#引号" in either marker stands for a double quote.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        long start = 1, bool case_insensitive = false);

// The text in front of the first `marker` at or after `start`; empty when missing.
// A negative `start` searches backwards from that many bytes before the end.
std::string TextBefore(std::string_view text, std::string_view marker, long start = 1,
                       bool case_insensitive = false);

// Empty text gives no items; two separators in a row give an empty item; text after the
// last separator is an item only when not empty.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);
std::string JoinText(const std::vector<std::string>& items, std::string_view separator);

// Removes ASCII spaces and full-width spaces (U+3000) at both ends, nothing else.
std::string TrimText(std::string_view text);

// Full-width ASCII forms (U+FF01-U+FF5E) and the full-width space become half-width.
std::string FullWidthToHalfWidth(std::string_view text);

// Full-width folded, then optional spaces, an optional sign and the leading decimal
// digits; 0 when there are none. Saturates instead of overflowing.
long long TextToInt(std::string_view text);

}  // namespace vpsdesk::net
