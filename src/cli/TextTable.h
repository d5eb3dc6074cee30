#pragma once
// A table for the terminal: columns aligned by the columns each character takes on
// screen, so a Chinese character counts two.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::cli {

// Screen columns of UTF-8 `text` as wcwidth(3) counts them in a UTF-8 locale; a
// character that is not printable or not valid UTF-8 counts one.
std::size_t DisplayWidth(std::string_view text);

class TextTable {
  public:
    explicit TextTable(std::vector<std::string> headers);
    void AddRow(std::vector<std::string> cells);
    // Header and rows, two spaces between columns, each line ending "\n". The last column
    // is not padded, so no line ends in blanks.
    std::string Render() const;

  private:
    std::vector<std::vector<std::string>> rows_;
};

// The systems on offer, id and name, for a command that needs one named.
std::string SystemsTable(const std::vector<std::string>& ids,
                         const std::vector<std::string>& names);

}  // namespace vpsdesk::cli
