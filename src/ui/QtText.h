#pragma once
// The one place where texts cross between the program (UTF-8 std::string) and the widgets
// (QString). Nothing else in the program holds a QString for longer than a call.
#include <QString>
#include <string>
#include <string_view>

namespace vpsdesk::ui {

// Invalid UTF-8 sequences become U+FFFD; the conversion never fails.
QString Qs(std::string_view text);
std::string U8(const QString& text);

}  // namespace vpsdesk::ui
