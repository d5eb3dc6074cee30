#include "os/KeyFileDataProtection.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>

#include "os/FileBytes.h"
#include "os/ProgramFolder.h"

namespace vpsdesk::os {
namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

CipherContext NewContext() {
    return CipherContext(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
}

int AsInt(size_t n) {
    return static_cast<int>(n);
}

// Publishes a new key with link(), which fails when another process got there first, so
// two first uses at once cannot leave data protected under a key that was then replaced.
bool PublishKey(const std::filesystem::path& key_file, const net::ByteArray& key) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = key_file;
    temp += ".new" + std::to_string(getpid()) + "." + std::to_string(counter++);
    unlink(temp.c_str());
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool written =
        write(fd, key.data(), key.size()) == static_cast<ssize_t>(key.size()) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    bool published = written && (link(temp.c_str(), key_file.c_str()) == 0 || errno == EEXIST);
    unlink(temp.c_str());
    return published;
}

}  // namespace

KeyFileDataProtection::KeyFileDataProtection(std::filesystem::path key_file)
    : key_file_(std::move(key_file)) {}

std::unique_ptr<DataProtection> UserDataProtection() {
    std::filesystem::path folder = UserDataFolder(SystemEnvironment());
    // Without a data folder there is nowhere to keep a key: every use then fails.
    return std::make_unique<KeyFileDataProtection>(folder.empty() ? std::filesystem::path()
                                                                  : folder / "protection.key");
}

std::optional<net::ByteArray> KeyFileDataProtection::LoadKey(bool create) const {
    if (key_file_.empty()) return std::nullopt;
    FileRead read = ReadFileBytes(key_file_);
    if (read.status == ReadStatus::kMissing && create) {
        net::ByteArray key(kKeySize);
        if (RAND_bytes(key.data(), AsInt(key.size())) != 1 || !PublishKey(key_file_, key))
            return std::nullopt;
        read = ReadFileBytes(key_file_);
    }
    if (read.status != ReadStatus::kRead || read.bytes.size() != kKeySize) return std::nullopt;
    // A key others can read protects nothing; take the permission back.
    struct stat info {};
    if (stat(key_file_.c_str(), &info) == 0 && (info.st_mode & 077) != 0)
        chmod(key_file_.c_str(), 0600);
    return net::ToBytes(read.bytes);
}

std::optional<net::ByteArray> KeyFileDataProtection::Protect(const net::ByteArray& data) const {
    std::optional<net::ByteArray> key = LoadKey(true);
    if (!key) return std::nullopt;
    net::ByteArray blob(1 + kNonceSize + data.size() + kTagSize);
    blob[0] = kVersion;
    std::uint8_t* nonce = blob.data() + 1;
    std::uint8_t* out = nonce + kNonceSize;
    if (RAND_bytes(nonce, AsInt(kNonceSize)) != 1) return std::nullopt;

    CipherContext ctx = NewContext();
    int n = 0;
    int tail = 0;
    if (!ctx ||
        EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, key->data(), nonce) != 1 ||
        EVP_EncryptUpdate(ctx.get(), nullptr, &n, blob.data(), 1) != 1 ||  // version as AAD
        EVP_EncryptUpdate(ctx.get(), out, &n, data.data(), AsInt(data.size())) != 1 ||
        EVP_EncryptFinal_ex(ctx.get(), out + n, &tail) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, AsInt(kTagSize), out + data.size()) !=
            1)
        return std::nullopt;
    return blob;
}

std::optional<net::ByteArray> KeyFileDataProtection::Unprotect(const net::ByteArray& blob) const {
    if (blob.size() < 1 + kNonceSize + kTagSize || blob[0] != kVersion) return std::nullopt;
    std::optional<net::ByteArray> key = LoadKey(false);
    if (!key) return std::nullopt;
    const std::uint8_t* nonce = blob.data() + 1;
    const std::uint8_t* in = nonce + kNonceSize;
    const size_t size = blob.size() - 1 - kNonceSize - kTagSize;
    net::ByteArray tag(in + size, in + size + kTagSize);
    net::ByteArray data(size + 1);  // never empty, so data() is a real buffer

    CipherContext ctx = NewContext();
    int n = 0;
    int tail = 0;
    if (!ctx ||
        EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, key->data(), nonce) != 1 ||
        EVP_DecryptUpdate(ctx.get(), nullptr, &n, blob.data(), 1) != 1 ||
        EVP_DecryptUpdate(ctx.get(), data.data(), &n, in, AsInt(size)) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, AsInt(kTagSize), tag.data()) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), data.data() + n, &tail) != 1)
        return std::nullopt;
    data.resize(size);
    return data;
}

}  // namespace vpsdesk::os
