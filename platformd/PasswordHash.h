#pragma once
// Account passwords are kept as salted PBKDF2-HMAC-SHA256, never in clear.
#include <string>
#include <string_view>

namespace platformd {

struct PasswordHash {
    std::string salt;  // hexadecimal
    std::string hash;  // hexadecimal
};

PasswordHash HashPassword(std::string_view password);
bool CheckPassword(std::string_view password, const PasswordHash& stored);

}  // namespace platformd
