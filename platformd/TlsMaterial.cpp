#include "TlsMaterial.h"

#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace platformd {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File Open(const std::string& path, const char* mode) {
    File f(std::fopen(path.c_str(), mode));
    if (!f) throw std::runtime_error("cannot open " + path);
    return f;
}

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("certificate generation failed: ") + what);
}

EVP_PKEY* NewKey() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    Check(key != nullptr, "key");
    return key;
}

void AddExt(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    Check(ext != nullptr, value);
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

X509* NewCert(EVP_PKEY* key, const char* common_name, X509* issuer, EVP_PKEY* issuer_key,
              long days) {
    X509* cert = X509_new();
    Check(cert != nullptr, "x509");
    X509_set_version(cert, 2);
    // A random serial, so a regenerated CA never collides with one a client cached.
    unsigned char serial[16];
    Check(RAND_bytes(serial, sizeof serial) == 1, "serial");
    serial[0] &= 0x7f;
    BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert));
    BN_free(bn);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), days * 24 * 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("vpsdesk platformd"), -1, -1,
                               0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
    X509* signer = issuer ? issuer : cert;
    X509_set_issuer_name(cert, X509_get_subject_name(signer));
    if (issuer == nullptr) {
        AddExt(cert, cert, NID_basic_constraints, "critical,CA:TRUE");
        AddExt(cert, cert, NID_key_usage, "critical,keyCertSign,cRLSign");
        AddExt(cert, cert, NID_subject_key_identifier, "hash");
    } else {
        AddExt(cert, issuer, NID_basic_constraints, "critical,CA:FALSE");
        AddExt(cert, issuer, NID_key_usage, "critical,digitalSignature,keyEncipherment");
        AddExt(cert, issuer, NID_ext_key_usage, "serverAuth");
        AddExt(cert, issuer, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1");
        AddExt(cert, issuer, NID_subject_key_identifier, "hash");
        AddExt(cert, issuer, NID_authority_key_identifier, "keyid");
    }
    Check(X509_sign(cert, issuer_key, EVP_sha256()) > 0, "sign");
    return cert;
}

void WriteCert(const std::string& path, X509* cert) {
    File f = Open(path, "w");
    Check(PEM_write_X509(f.get(), cert) == 1, "write certificate");
}

void WriteKey(const std::string& path, EVP_PKEY* key) {
    File f = Open(path, "w");
    fchmod(fileno(f.get()), 0600);
    Check(PEM_write_PrivateKey(f.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1,
          "write key");
}

}  // namespace

TlsMaterial::TlsMaterial(const std::string& dir) {
    namespace fs = std::filesystem;
    fs::create_directories(dir);
    ca_path_ = (fs::path(dir) / "ca.pem").string();
    std::string cert_path = (fs::path(dir) / "server.pem").string();
    std::string key_path = (fs::path(dir) / "server.key").string();
    if (!fs::exists(ca_path_) || !fs::exists(cert_path) || !fs::exists(key_path)) {
        Generate(dir);
    }
    File cf = Open(cert_path, "r");
    cert_ = PEM_read_X509(cf.get(), nullptr, nullptr, nullptr);
    File kf = Open(key_path, "r");
    key_ = PEM_read_PrivateKey(kf.get(), nullptr, nullptr, nullptr);
    if (cert_ == nullptr || key_ == nullptr) {
        throw std::runtime_error("unreadable certificate or key in " + dir);
    }
}

TlsMaterial::~TlsMaterial() {
    X509_free(cert_);
    EVP_PKEY_free(key_);
}

void TlsMaterial::Generate(const std::string& dir) {
    namespace fs = std::filesystem;
    EVP_PKEY* ca_key = NewKey();
    EVP_PKEY* key = NewKey();
    X509* ca = NewCert(ca_key, "platformd local CA", nullptr, ca_key, 3650);
    X509* cert = NewCert(key, "localhost", ca, ca_key, 825);
    WriteKey((fs::path(dir) / "ca.key").string(), ca_key);
    WriteKey((fs::path(dir) / "server.key").string(), key);
    WriteCert((fs::path(dir) / "server.pem").string(), cert);
    WriteCert(ca_path_, ca);
    X509_free(cert);
    X509_free(ca);
    EVP_PKEY_free(key);
    EVP_PKEY_free(ca_key);
}

}  // namespace platformd
