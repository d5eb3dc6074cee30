#include "cli/RdpSettingsCommand.h"

#include <nlohmann/json.hpp>

#include "cli/TextTable.h"
#include "rdpsettings/RdpSettingValues.h"
#include "rdpsettings/RemoteDesktopSettings.h"

namespace vpsdesk::cli {
namespace {

using rdpsettings::RdpSettingKeys;

CommandResult Show(bool json) {
    const rdpsettings::RemoteDesktopSettings settings = rdpsettings::ReadRemoteDesktopSettings();
    if (json) {
        nlohmann::ordered_json out = nlohmann::ordered_json::object();
        for (const auto& [key, field] : RdpSettingKeys()) out[std::string(key)] = settings.*field;
        return CommandResult::Done(out.dump(2) + "\n");
    }
    // An empty value was never set: the window, and so the next connection, use the default.
    TextTable table({"键", "值", "默认"});
    const rdpsettings::RemoteDesktopSettings& defaults = rdpsettings::RdpWindowDefaults();
    for (const auto& [key, field] : RdpSettingKeys())
        table.AddRow({std::string(key), settings.*field, defaults.*field});
    return CommandResult::Done(table.Render());
}

CommandResult Set(const std::string& key, const std::string& value) {
    for (const auto& [known, field] : RdpSettingKeys()) {
        if (known != key) continue;
        const std::optional<std::string> stored = rdpsettings::RdpValueToStore(field, value);
        if (!stored)
            return CommandResult::Failed(kExitUsage, "rdp-settings: " + key + " cannot be \"" +
                                                         value + "\"; it takes " +
                                                         rdpsettings::RdpValuesAccepted(field));
        rdpsettings::RemoteDesktopSettings settings = rdpsettings::ReadRemoteDesktopSettings();
        settings.*field = *stored;
        if (!rdpsettings::SaveRemoteDesktopSettings(settings))
            return CommandResult::Failed(kExitRefused, "rdp-settings: could not write " +
                                                           rdpsettings::RdpConfigFile().string());
        return CommandResult::Done({});
    }
    std::string keys;
    for (const auto& [known, field] : RdpSettingKeys()) keys += " " + std::string(known);
    return CommandResult::Failed(kExitUsage, "rdp-settings: no key \"" + key + "\"; the keys:" + keys);
}

}  // namespace

CommandResult RunRdpSettings(CommandContext& context) {
    const std::vector<std::string>& words = context.line.arguments;
    if (words.empty() || (words.size() == 1 && words[0] == "get"))
        return Show(context.line.Has("--json"));
    if (words.size() == 3 && words[0] == "set") return Set(words[1], words[2]);
    return CommandResult::Failed(kExitUsage, "usage: vpsctl rdp-settings [get | set KEY VALUE] [--json]");
}

}  // namespace vpsdesk::cli
