#include "rdpsettings/RdpSettingValues.h"

#include <algorithm>
#include <vector>

#include "net/Gbk.h"

namespace vpsdesk::rdpsettings {
namespace {

using R = RemoteDesktopSettings;

// A key whose texts are a fixed list, each with what it means.
struct Choices {
    RdpSettingField field;
    std::vector<std::pair<std::string_view, std::string_view>> texts;
};

const std::vector<Choices>& ChoiceKeys() {
    static const std::vector<Choices> keys = [] {
        const std::vector<std::pair<std::string_view, std::string_view>> on_off = {{"0", "off"},
                                                                                   {"1", "on"}};
        std::vector<Choices> list = {
            {&R::window_mode, {{"1", "window"}, {"0", "full screen"}}},
            {&R::forced_login, {{"0", "admin"}, {"1", "console"}, {"2", "none"}}},
            {&R::audio_mode, {{"0", "here"}, {"1", "remote"}, {"2", "none"}}},
            {&R::key_combinations, {{"0", "here"}, {"1", "remote"}, {"2", "full screen only"}}},
        };
        for (RdpSettingField field :
             {&R::map_drives, &R::clipboard, &R::printers, &R::serial_ports, &R::smart_cards,
              &R::auto_reconnect, &R::compression, &R::connection_bar, &R::desktop_background,
              &R::desktop_theme, &R::pnp_devices, &R::audio_capture})
            list.push_back({field, on_off});
        return list;
    }();
    return keys;
}

const Choices* ChoicesOf(RdpSettingField field) {
    for (const Choices& choices : ChoiceKeys())
        if (choices.field == field) return &choices;
    return nullptr;
}

// The drive list is free text, but one line of config.ini and of the connection file:
// no control character, and nothing GBK cannot hold (it would be saved as "?").
bool IsStorableText(std::string_view value) {
    if (std::any_of(value.begin(), value.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
        return false;
    return net::GbkToUtf8(net::Utf8ToGbk(value)) == value;
}

std::string JoinedList(const std::vector<std::string>& texts) {
    std::string out;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) out += i + 1 == texts.size() ? " or " : ", ";
        out += texts[i];
    }
    return out;
}

}  // namespace

std::optional<std::string> RdpValueToStore(RdpSettingField field, std::string_view value) {
    if (value.empty()) return std::string();
    if (const Choices* choices = ChoicesOf(field)) {
        for (const auto& [text, meaning] : choices->texts)
            if (text == value) return std::string(value);
        return std::nullopt;
    }
    if (field == &R::resolution) {
        std::string size(value);
        if (const std::size_t x = size.find_first_of("xX"); x != std::string::npos)
            size.replace(x, 1, "×");
        if (FindResolution(size)) return size;
        return std::nullopt;
    }
    if (field == &R::color_depth) {
        if (FindColorDepth(value)) return std::string(value);
        return std::nullopt;
    }
    if (IsStorableText(value)) return std::string(value);
    return std::nullopt;
}

std::string RdpValuesAccepted(RdpSettingField field) {
    std::vector<std::string> texts;
    if (const Choices* choices = ChoicesOf(field)) {
        for (const auto& [text, meaning] : choices->texts)
            texts.push_back(std::string(text) + " (" + std::string(meaning) + ")");
    } else if (field == &R::resolution) {
        for (const ResolutionChoice& choice : ResolutionChoices()) texts.push_back(choice.stored);
    } else if (field == &R::color_depth) {
        for (const ColorDepthChoice& choice : ColorDepthChoices()) texts.push_back(choice.stored);
    } else {
        return "mount points, each followed by \";\", in characters GBK can hold and with no "
               "control character";
    }
    return JoinedList(texts) + ", or nothing to forget the setting";
}

}  // namespace vpsdesk::rdpsettings
