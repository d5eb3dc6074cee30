#pragma once
// Data protection with AES-256-GCM under a random per-user key kept in a file that only
// the user can read (mode 0600), made on first use.
// Blob: version byte 1, 12-byte nonce, ciphertext (as long as the data), 16-byte tag.
#include <filesystem>

#include "os/DataProtection.h"

namespace vpsdesk::os {

class KeyFileDataProtection : public DataProtection {
  public:
    static constexpr std::uint8_t kVersion = 1;
    static constexpr size_t kNonceSize = 12;
    static constexpr size_t kTagSize = 16;
    static constexpr size_t kKeySize = 32;

    // The key file; UserDataProtection() uses "protection.key" in the per-user data folder.
    explicit KeyFileDataProtection(std::filesystem::path key_file);

    std::optional<net::ByteArray> Protect(const net::ByteArray& data) const override;
    std::optional<net::ByteArray> Unprotect(const net::ByteArray& blob) const override;

  private:
    // The key, made and stored when the file does not exist yet. nullopt when the file
    // cannot be read or made, or does not hold a key of the right size.
    std::optional<net::ByteArray> LoadKey(bool create) const;

    std::filesystem::path key_file_;
};

}  // namespace vpsdesk::os
