#pragma once
// Protection of secrets bound to the current user, such as the password buffer of a
// remote-desktop connection file: only this user can turn a blob back into the data.
#include <memory>
#include <optional>

#include "net/ByteArray.h"

namespace vpsdesk::os {

class DataProtection {
  public:
    virtual ~DataProtection() = default;
    // The blob for `data`; nullopt when protection is not available.
    virtual std::optional<net::ByteArray> Protect(const net::ByteArray& data) const = 0;
    // The data back; nullopt when the blob was not made by this user or was altered.
    virtual std::optional<net::ByteArray> Unprotect(const net::ByteArray& blob) const = 0;
};

// The current user's protection on the operating system the client runs on.
std::unique_ptr<DataProtection> UserDataProtection();

}  // namespace vpsdesk::os
