#pragma once
// The computer's identifier that login sends: 16 upper-case hexadecimal characters.
#include <string>

#include "os/MachineIdentity.h"

namespace vpsdesk::os {

// The four parts the code is hashed from, in their text forms:
// a = EDX then EAX of CPUID leaf 1 as signed decimal; b = CRC-32 of the disk descriptor
// as signed decimal ("0" without a disk); c = volume serial as signed decimal ("0"
// without one); d = "XX-XX-XX-XX-XX-XX" upper-case, or empty without an adapter.
struct MachineCodeParts {
    std::string a, b, c, d;
};

MachineCodeParts MachineCodeInputs(const MachineIdentitySources& sources);

// Characters 8 to 23 (counting from 1) of the upper-case hex MD5 of the GBK bytes of
// a + b + c + d.
std::string MachineCodeFromParts(const MachineCodeParts& parts);

std::string ComputeMachineCode(const MachineIdentitySources& sources);

}  // namespace vpsdesk::os
