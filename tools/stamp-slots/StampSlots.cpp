#include "StampSlots.h"

#include "net/Gbk.h"
#include "net/Text.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::stamp {
namespace {

struct SlotShape {
    std::size_t size;
    std::string_view filler_gbk;
    std::string_view filler;
    const char* name;
};

SlotShape ShapeOf(SlotKind kind) {
    if (kind == SlotKind::kSite)
        return {platform::kSiteSlotSize, platform::kSiteFillerGbk, platform::kSiteFiller, "site"};
    return {platform::kVersionSlotSize, platform::kVersionFillerGbk, platform::kVersionFiller,
            "version"};
}

std::string UnstampedPattern(const SlotShape& shape) {
    std::string pattern;
    while (pattern.size() < shape.size) pattern.append(shape.filler_gbk);
    pattern.push_back('\0');
    return pattern;
}

bool Fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

}  // namespace

std::optional<std::string> SlotBytesFor(SlotKind kind, std::string_view utf8_value,
                                        std::string* error) {
    const SlotShape shape = ShapeOf(kind);
    const std::string what = std::string(shape.name) + " value";
    auto refuse = [error](const std::string& message) -> std::optional<std::string> {
        Fail(error, message);
        return std::nullopt;
    };
    if (utf8_value.empty()) return refuse(what + " is empty");
    if (net::TrimText(utf8_value) != utf8_value)
        return refuse(what + " starts or ends with a space");
    for (char c : utf8_value) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return refuse(what + " holds a control character");
    }
    std::string gbk = net::Utf8ToGbk(utf8_value);
    if (net::GbkToUtf8(gbk) != utf8_value) return refuse(what + " has characters GBK cannot hold");
    if (net::ContainsText(utf8_value, shape.filler))
        return refuse(what + " contains the filler character " + std::string(shape.filler) +
                      ", so the client would ignore it");
    if (gbk.size() > shape.size)
        return refuse(what + " takes " + std::to_string(gbk.size()) +
                      " GBK bytes; the slot holds " + std::to_string(shape.size));
    if (kind == SlotKind::kSite && !platform::IsValidSiteHost(utf8_value))
        return refuse(what + " is not HOST[:PORT]");
    return gbk;
}

bool StampSlot(std::string& binary, SlotKind kind, std::string_view gbk_value, std::string* error) {
    const SlotShape shape = ShapeOf(kind);
    if (gbk_value.size() > shape.size) return Fail(error, "value does not fit the slot");
    const std::string pattern = UnstampedPattern(shape);
    const std::size_t at = binary.find(pattern);
    if (at == std::string::npos)
        return Fail(error, std::string("no unstamped ") + shape.name +
                               " slot found (already stamped, or not a client binary)");
    if (binary.find(pattern, at + 1) != std::string::npos)
        return Fail(error,
                    std::string("more than one ") + shape.name + " slot found; refusing to guess");
    std::string filled(gbk_value);
    filled.resize(shape.size, '\0');
    binary.replace(at, shape.size, filled);
    return true;
}

}  // namespace vpsdesk::stamp
