#pragma once
// The two contents the writing helper alternates between, so that a test can tell which
// one a file holds and that it holds all of it. Every value is `size` bytes, distinct per
// key and per variant.
#include <string>

#include "rdpsettings/RemoteDesktopSettings.h"

namespace e2e {

inline std::string VariantValue(int variant, int key, size_t size) {
    std::string value = "v" + std::to_string(variant) + "k" + std::to_string(key) + "-";
    value.resize(size, static_cast<char>((variant == 0 ? 'a' : 'n') + key % 13));
    return value;
}

inline vpsdesk::rdpsettings::RemoteDesktopSettings VariantRecord(int variant, size_t size) {
    vpsdesk::rdpsettings::RemoteDesktopSettings record;
    int key = 0;
    for (const auto& entry : vpsdesk::rdpsettings::RdpSettingKeys())
        record.*entry.field = VariantValue(variant, key++, size);
    return record;
}

}  // namespace e2e
