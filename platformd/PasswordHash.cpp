#include "PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>
#include <vector>

namespace platformd {

namespace {

constexpr int kIterations = 20000;
constexpr size_t kLength = 32;

std::string ToHex(const unsigned char* data, size_t n) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string Derive(std::string_view password, const std::string& salt) {
    unsigned char out[kLength];
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char*>(salt.data()),
                          static_cast<int>(salt.size()), kIterations, EVP_sha256(), kLength,
                          out) != 1) {
        throw std::runtime_error("PBKDF2 failed");
    }
    return ToHex(out, kLength);
}

}  // namespace

PasswordHash HashPassword(std::string_view password) {
    unsigned char salt[16];
    if (RAND_bytes(salt, sizeof salt) != 1) throw std::runtime_error("no randomness");
    PasswordHash result;
    result.salt = ToHex(salt, sizeof salt);
    result.hash = Derive(password, result.salt);
    return result;
}

bool CheckPassword(std::string_view password, const PasswordHash& stored) {
    std::string hash = Derive(password, stored.salt);
    return hash.size() == stored.hash.size() &&
           CRYPTO_memcmp(hash.data(), stored.hash.data(), hash.size()) == 0;
}

}  // namespace platformd
