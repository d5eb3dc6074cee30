#pragma once
// The process environment as the folder rules see it, so that tests can hand them a
// made-up one instead of the real variables.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::os {

// Looks up one environment variable; nullopt when it is not set.
using Environment = std::function<std::optional<std::string>(std::string_view name)>;

// The real environment of this process. "HOME" falls back to the password database
// when the variable is unset or empty, as most desktop tools do.
Environment SystemEnvironment();

// $HOME, or an empty path when neither the variable nor the password database knows it.
std::filesystem::path HomeFolder(const Environment& env);

// The variable as an absolute path; unset, empty or relative values count as unset, which
// is what the XDG base-directory rules require.
std::optional<std::filesystem::path> AbsolutePathVariable(const Environment& env,
                                                          std::string_view name);

}  // namespace vpsdesk::os
