#include "TestCertificates.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace wiretest {
namespace {

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("test certificates: ") + what);
}

EVP_PKEY* NewKey() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    Check(key != nullptr, "key");
    return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    Check(ext != nullptr && X509_add_ext(cert, ext, -1) == 1, "extension");
    X509_EXTENSION_free(ext);
}

X509* NewCert(const char* common_name, long serial, EVP_PKEY* key, X509* issuer,
              EVP_PKEY* issuer_key) {
    X509* cert = X509_new();
    Check(cert != nullptr, "certificate");
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 7L * 24 * 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
    X509_set_issuer_name(cert, issuer ? X509_get_subject_name(issuer) : name);
    X509* signer = issuer ? issuer : cert;
    AddExtension(cert, signer, NID_subject_key_identifier, "hash");
    if (issuer) {
        AddExtension(cert, signer, NID_authority_key_identifier, "keyid:always");
        AddExtension(cert, signer, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(cert, signer, NID_key_usage, "critical,digitalSignature");
        AddExtension(cert, signer, NID_ext_key_usage, "serverAuth");
        AddExtension(cert, signer, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    } else {
        AddExtension(cert, signer, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(cert, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    }
    Check(X509_sign(cert, issuer_key ? issuer_key : key, EVP_sha256()) > 0, "signature");
    return cert;
}

struct Owner {
    TestCertificates certs;
    std::string dir;
    X509* ca = nullptr;
    EVP_PKEY* ca_key = nullptr;

    Owner() {
        char pattern[] = "/tmp/vpsdesk-wire-XXXXXX";
        Check(mkdtemp(pattern) != nullptr, "temp dir");
        dir = pattern;
        ca_key = NewKey();
        ca = NewCert("vpsdesk test CA", 1, ca_key, nullptr, nullptr);
        certs.server_key = NewKey();
        certs.server_cert = NewCert("127.0.0.1", 2, certs.server_key, ca, ca_key);
        certs.ca_file = dir + "/ca.pem";
        FILE* f = std::fopen(certs.ca_file.c_str(), "w");
        Check(f != nullptr && PEM_write_X509(f, ca) == 1, "ca file");
        std::fclose(f);
    }
    ~Owner() {
        std::remove(certs.ca_file.c_str());
        ::rmdir(dir.c_str());
        X509_free(certs.server_cert);
        EVP_PKEY_free(certs.server_key);
        X509_free(ca);
        EVP_PKEY_free(ca_key);
    }
};

}  // namespace

const TestCertificates& Certificates() {
    static Owner owner;
    return owner.certs;
}

}  // namespace wiretest
