#include "os/DocumentsFolder.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "net/Text.h"
#include "os/CachedFolder.h"

namespace vpsdesk::os {
namespace fs = std::filesystem;
namespace {

std::string_view TrimBlanks(std::string_view s) {
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The file is a shell fragment: a value may be double-quoted and use backslash escapes.
std::string Unquote(std::string_view value) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::string(value);
    value = value.substr(1, value.size() - 2);
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        out += value[i];
    }
    return out;
}

}  // namespace

fs::path DocumentsDirFromUserDirs(std::string_view file_text, const fs::path& home) {
    std::string found;
    for (const std::string& raw : net::SplitText(file_text, "\n")) {
        std::string_view line = TrimBlanks(raw);
        if (!net::StartsWithText(line, "XDG_DOCUMENTS_DIR=")) continue;
        // Later lines win, as when the shell sources the file.
        found = Unquote(TrimBlanks(line.substr(sizeof("XDG_DOCUMENTS_DIR=") - 1)));
    }
    for (std::string_view prefix : {"$HOME", "${HOME}"}) {
        if (!net::StartsWithText(found, prefix)) continue;
        std::string rest = found.substr(prefix.size());
        if (!rest.empty() && rest.front() != '/') return {};  // "$HOMEX" is another variable
        if (home.empty()) return {};
        while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
        return rest.empty() ? home : home / rest;
    }
    fs::path path(found);
    return path.is_absolute() ? path : fs::path();
}

fs::path DocumentsFolderFor(const Environment& env) {
    fs::path home = HomeFolder(env);
    fs::path config = AbsolutePathVariable(env, "XDG_CONFIG_HOME")
                          .value_or(home.empty() ? fs::path() : home / ".config");
    if (!config.empty()) {
        std::ifstream in(config / "user-dirs.dirs", std::ios::binary);
        if (in) {
            std::ostringstream text;
            text << in.rdbuf();
            fs::path documents = DocumentsDirFromUserDirs(text.str(), home);
            if (!documents.empty()) return documents;
        }
    }
    return home.empty() ? fs::path() : home / "Documents";
}

static CachedFolder& DocumentsFolderCache() {
    static CachedFolder cache([] { return DocumentsFolderFor(SystemEnvironment()); });
    return cache;
}

fs::path DocumentsFolder() {
    return DocumentsFolderCache().Get();
}

void OverrideDocumentsFolder(const fs::path& folder) {
    DocumentsFolderCache().Override(folder);
}

}  // namespace vpsdesk::os
