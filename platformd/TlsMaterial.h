#pragma once
// The server's TLS identity: a self-signed CA and a server certificate for 127.0.0.1 and
// localhost signed by it. Clients trust the CA file, so the server certificate is verified
// like any other.
#include <openssl/types.h>

#include <string>

namespace platformd {

class TlsMaterial {
  public:
    // Loads ca.pem, server.pem and server.key from `dir`, creating the directory and
    // generating all of them (plus ca.key) when the server files are missing.
    explicit TlsMaterial(const std::string& dir);
    ~TlsMaterial();
    TlsMaterial(const TlsMaterial&) = delete;
    TlsMaterial& operator=(const TlsMaterial&) = delete;

    X509* ServerCert() const { return cert_; }
    EVP_PKEY* ServerKey() const { return key_; }
    const std::string& CaPath() const { return ca_path_; }

  private:
    void Generate(const std::string& dir);

    X509* cert_ = nullptr;
    EVP_PKEY* key_ = nullptr;
    std::string ca_path_;
};

}  // namespace platformd
