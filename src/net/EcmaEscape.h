#pragma once
// The platform writes some replies with JavaScript-style escapes and expects one form
// value escaped the way JavaScript's escape() does it. These helpers follow the
// ECMAScript 3rd edition rules (string literals with the legacy octal escapes, escape and
// unescape from its Annex B) and work, as the language does, on UTF-16 code units.
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::net {

// UTF-8 <-> UTF-16 code units. Invalid UTF-8 bytes become U+FFFD one by one; on the way
// back a surrogate without its partner becomes U+FFFD, since UTF-8 cannot hold it.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Reads `body` as the inside of a single-quoted string literal and gives the value, or
// nothing when it is not a valid body: a trailing backslash, a line terminator (CR, LF,
// U+2028, U+2029, escaped or not), a bare apostrophe, or a malformed \x / \u escape.
// Octal escapes take up to three digits (at most \377); "\8", "\9" and a backslash before
// any other character stand for that character. With `bare_apostrophe` an unescaped
// apostrophe is taken as itself instead of ending the literal.
std::optional<std::u16string> ReadQuotedLiteral(std::u16string_view body,
                                                bool bare_apostrophe = false);

// escape(): A-Z a-z 0-9 @*_+-./ stay, other units below 0x100 become %XX, the rest
// %uXXXX (upper-case hex; each surrogate of a pair on its own).
std::string EcmaEscape(std::u16string_view text);

// unescape(): %uXXXX becomes that code unit, %XX the unit 0x00XX, anything else stays.
std::u16string EcmaUnescape(std::u16string_view text);

// Turns a reply that carries "\u" escapes (and %-escapes, and JSON-style backslash
// escapes) into plain text; CRLF pairs and lone line feeds are kept where they are. A
// text that cannot be read as a literal body comes back unchanged.
std::string DecodeUnicodeEscapes(std::string_view text);

// Reads `text` as a literal body, then escape()s it, leaving apostrophes as they are.
// `keep_brackets` keeps {}[]() literal, `keep_punctuation` keeps : , and the double
// quote; a `u_prefix` that is not "%u" and not blank replaces every "%u". A text that
// cannot be read as a literal body gives empty text.
std::string EscapeText(std::string_view text, bool keep_brackets = false,
                       bool keep_punctuation = false,
                       std::optional<std::string> u_prefix = std::nullopt);

}  // namespace vpsdesk::net
