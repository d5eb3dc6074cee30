#include "net/HeaderNames.h"

#include <vector>

#include "net/Text.h"

namespace vpsdesk::net {
namespace {

std::string CapitaliseFirst(std::string piece) {
    if (!piece.empty() && piece[0] >= 'a' && piece[0] <= 'z')
        piece[0] = static_cast<char>(piece[0] - 'a' + 'A');
    return piece;
}

}  // namespace

std::string NormalizeHeaderNames(std::string_view headers) {
    std::vector<std::string> lines;
    for (const std::string& line : SplitText(headers, "\r\n")) {
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string name = line.substr(0, colon);
        if (name.find('-') != std::string::npos) {
            std::vector<std::string> pieces = SplitText(name, "-");
            for (std::string& p : pieces) p = CapitaliseFirst(p);
            std::string joined = JoinText(pieces, "-");
            // A trailing "-" is not an item of the split, but belongs to the name.
            if (EndsWithText(name, "-")) joined += "-";
            name = joined;
        } else {
            name = CapitaliseFirst(name);
        }
        lines.push_back(name + line.substr(colon));
    }
    return JoinText(lines, "\r\n");
}

}  // namespace vpsdesk::net
