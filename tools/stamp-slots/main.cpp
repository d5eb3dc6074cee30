// vpsdesk-stamp: writes the platform host and/or the version label into a built client
// without rebuilding it.
#include <sys/stat.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "StampSlots.h"
#include "os/FileBytes.h"

namespace {

int Usage() {
    std::fputs(
        "usage: vpsdesk-stamp [--site HOST[:PORT]] [--version LABEL] [--output FILE] BINARY\n"
        "Writes the values (UTF-8 on the command line, GBK in the slot) into BINARY,\n"
        "or into a stamped copy at FILE. The site slot holds 24 bytes, the version 16.\n",
        stderr);
    return 2;
}

int Refuse(const std::string& message) {
    std::fprintf(stderr, "vpsdesk-stamp: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using vpsdesk::stamp::SlotKind;
    std::optional<std::string> site, version, output, input;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        auto value = [&](std::optional<std::string>& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        const std::string& a = args[i];
        bool ok = true;
        if (a == "--site")
            ok = value(site);
        else if (a == "--version")
            ok = value(version);
        else if (a == "--output" || a == "-o")
            ok = value(output);
        else if (a == "--help" || a == "-h")
            return Usage();
        else if (!a.empty() && a[0] == '-')
            return Usage();
        else if (input)
            return Usage();
        else
            input = a;
        if (!ok) return Usage();
    }
    if (!input || (!site && !version)) return Usage();

    std::string error;
    std::optional<std::string> site_bytes, version_bytes;
    if (site && !(site_bytes = vpsdesk::stamp::SlotBytesFor(SlotKind::kSite, *site, &error)))
        return Refuse(error);
    if (version &&
        !(version_bytes = vpsdesk::stamp::SlotBytesFor(SlotKind::kVersion, *version, &error)))
        return Refuse(error);

    vpsdesk::os::FileRead read = vpsdesk::os::ReadFileBytes(*input);
    if (read.status != vpsdesk::os::ReadStatus::kRead) return Refuse("cannot read " + *input);
    struct stat st {};
    if (::stat(input->c_str(), &st) != 0) return Refuse("cannot read " + *input);

    std::string binary = std::move(read.bytes);
    if (site_bytes && !vpsdesk::stamp::StampSlot(binary, SlotKind::kSite, *site_bytes, &error))
        return Refuse(error);
    if (version_bytes &&
        !vpsdesk::stamp::StampSlot(binary, SlotKind::kVersion, *version_bytes, &error))
        return Refuse(error);

    const std::string target = output.value_or(*input);
    if (!vpsdesk::os::WriteFileAtomically(target, binary, st.st_mode & 07777))
        return Refuse("cannot write " + target);
    if (site) std::printf("site slot: %s\n", site->c_str());
    if (version) std::printf("version slot: %s\n", version->c_str());
    return 0;
}
