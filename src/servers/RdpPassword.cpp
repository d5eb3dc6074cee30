#include "servers/RdpPassword.h"

#include <optional>

#include "net/EcmaEscape.h"
#include "net/Text.h"

namespace vpsdesk::servers {

net::ByteArray RdpPasswordBuffer(std::string_view password) {
    net::ByteArray buffer;
    buffer.reserve(kRdpPasswordBuffer);
    if (!password.empty()) {
        // The text is held as UTF-8 inside; every password the platform sends is in GBK's
        // repertoire, so this gives the same UTF-16 units as a conversion from GBK.
        std::u16string units = net::Utf8ToUtf16(password);
        units.push_back(u'\0');
        for (char16_t unit : units) {
            buffer.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            buffer.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
    }
    buffer.resize(kRdpPasswordBuffer, 0);  // zero-filled, or cut without a terminator
    return buffer;
}

std::string ProtectRdpPassword(std::string_view password, const os::DataProtection& protection) {
    std::optional<net::ByteArray> blob = protection.Protect(RdpPasswordBuffer(password));
    return (blob ? net::UpperHex(net::BytesToString(*blob)) : std::string()) + "0";
}

}  // namespace vpsdesk::servers
