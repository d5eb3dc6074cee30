#include "os/MachineCode.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <cstdio>

#include "net/Gbk.h"
#include "net/Text.h"

namespace vpsdesk::os {
namespace {

std::string SignedText(std::uint32_t value) {
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string Md5Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};
    return net::UpperHex(std::string_view(reinterpret_cast<const char*>(digest), length));
}

}  // namespace

MachineCodeParts MachineCodeInputs(const MachineIdentitySources& sources) {
    MachineCodeParts parts;
    CpuSignature cpu = sources.CpuidLeaf1();
    parts.a = SignedText(cpu.edx) + SignedText(cpu.eax);

    std::uint32_t crc = 0;
    if (auto disk = sources.DiskDescriptorBytes())
        crc = static_cast<std::uint32_t>(crc32(0L, disk->data(), static_cast<uInt>(disk->size())));
    parts.b = SignedText(crc);

    parts.c = SignedText(sources.VolumeSerial().value_or(0));

    if (auto mac = sources.FirstAdapterAddress()) {
        char text[18];
        std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", (*mac)[0], (*mac)[1],
                      (*mac)[2], (*mac)[3], (*mac)[4], (*mac)[5]);
        parts.d = text;
    }
    return parts;
}

std::string MachineCodeFromParts(const MachineCodeParts& parts) {
    std::string hex = Md5Hex(net::Utf8ToGbk(parts.a + parts.b + parts.c + parts.d));
    return hex.size() < 23 ? std::string() : hex.substr(7, 16);
}

std::string ComputeMachineCode(const MachineIdentitySources& sources) {
    return MachineCodeFromParts(MachineCodeInputs(sources));
}

}  // namespace vpsdesk::os
