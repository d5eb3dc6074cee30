#pragma once
// A throwaway certificate authority and a server certificate for 127.0.0.1 / localhost,
// made once per process; the CA is written as PEM to a temporary folder.
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <string>

namespace wiretest {

struct TestCertificates {
    std::string ca_file;
    X509* server_cert = nullptr;
    EVP_PKEY* server_key = nullptr;
};

const TestCertificates& Certificates();

}  // namespace wiretest
