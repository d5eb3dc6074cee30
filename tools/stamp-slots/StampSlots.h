#pragma once
// Writing a platform host or a version label into a built client's slots. A slot is found
// by its run of filler bytes and the zero after it, so only a slot that was never stamped
// can be stamped: start from a fresh build.
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::stamp {

enum class SlotKind { kSite, kVersion };

// The value as the slot will hold it (GBK bytes), or nullopt with `error` set when the
// client would not read it back unchanged: too long, empty, spaces at either end, control
// characters, characters GBK cannot hold, the slot's filler, or (site) not HOST[:PORT].
std::optional<std::string> SlotBytesFor(SlotKind kind, std::string_view utf8_value,
                                        std::string* error);

// Writes `gbk_value` into the one unstamped slot of `kind` in `binary`, zeros after it.
// False with `error` set when there is no such slot or more than one.
bool StampSlot(std::string& binary, SlotKind kind, std::string_view gbk_value, std::string* error);

}  // namespace vpsdesk::stamp
