#pragma once
// The texts each key may hold, as the settings window writes them. A value set by hand
// (vpsctl) is held to these, so that the window and the launcher read it as it was meant:
// the launcher copies most texts verbatim into the connection file.
#include <optional>
#include <string>
#include <string_view>

#include "rdpsettings/RemoteDesktopSettings.h"

namespace vpsdesk::rdpsettings {

// The text to store for `value` under the key of `field`, or nullopt when the key may not
// hold it. The empty text is always accepted: it means "never set", and the window then
// shows its default. A window size may be typed with a plain "x" ("1024x768").
std::optional<std::string> RdpValueToStore(RdpSettingField field, std::string_view value);

// What the key of `field` may hold, for a message: for example "0 (off) or 1 (on)".
std::string RdpValuesAccepted(RdpSettingField field);

}  // namespace vpsdesk::rdpsettings
