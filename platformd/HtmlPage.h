#pragma once
// The platform's few browser pages: one plain layout, and text made safe to put in it.
#include <string>

namespace platformd {

// A whole page: `title` as the title and heading, then `body` (already HTML). The page
// names an inline icon, so a browser asks for nothing else.
std::string HtmlPage(const std::string& title, const std::string& body);

// `text` with the characters that HTML reads as markup replaced by entities.
std::string HtmlEscape(const std::string& text);

}  // namespace platformd
