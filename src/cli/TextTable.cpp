#include "cli/TextTable.h"

#include <locale.h>

#include <algorithm>
#include <cwchar>

namespace vpsdesk::cli {
namespace {

// Switches this thread to a UTF-8 character locale and back, leaving the process's own
// locale untouched. The locale is loaded once: loading it costs milliseconds, and a table
// measures every cell.
class Utf8Locale {
  public:
    Utf8Locale() {
        static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        if (utf8) previous_ = ::uselocale(utf8);
    }
    ~Utf8Locale() {
        if (previous_) ::uselocale(previous_);
    }
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

  private:
    locale_t previous_ = nullptr;
};

}  // namespace

std::size_t DisplayWidth(std::string_view text) {
    const Utf8Locale utf8;
    std::mbstate_t state{};
    std::size_t width = 0;
    while (!text.empty()) {
        wchar_t character = 0;
        const std::size_t used = std::mbrtowc(&character, text.data(), text.size(), &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
            used == 0) {
            // An invalid or cut sequence, or a zero byte: one byte, one column.
            state = {};
            text.remove_prefix(1);
            ++width;
            continue;
        }
        const int columns = ::wcwidth(character);
        width += columns < 0 ? 1 : static_cast<std::size_t>(columns);
        text.remove_prefix(used);
    }
    return width;
}

TextTable::TextTable(std::vector<std::string> headers) { rows_.push_back(std::move(headers)); }

void TextTable::AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

std::string TextTable::Render() const {
    std::vector<std::size_t> widths;
    for (const auto& row : rows_) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    std::string out;
    for (const auto& row : rows_) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) line += "  ";
            line += row[c];
            if (c + 1 < row.size()) line.append(widths[c] - DisplayWidth(row[c]), ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string SystemsTable(const std::vector<std::string>& ids,
                         const std::vector<std::string>& names) {
    TextTable table({"ID", "系统"});
    for (std::size_t i = 0; i < ids.size() && i < names.size(); ++i)
        table.AddRow({ids[i], names[i]});
    return table.Render();
}

}  // namespace vpsdesk::cli
