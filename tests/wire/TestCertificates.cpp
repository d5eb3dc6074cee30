#include "TestCertificates.h"

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "TlsMaterial.h"

namespace wiretest {
namespace {

// The reference platform's own CA and server certificate, made in a throwaway folder.
struct Owner {
    std::filesystem::path dir;
    std::unique_ptr<platformd::TlsMaterial> material;
    TestCertificates certs;

    Owner() {
        char pattern[] = "/tmp/vpsdesk-wire-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("test certificates: temp dir");
        dir = pattern;
        material = std::make_unique<platformd::TlsMaterial>(dir.string());
        certs.ca_file = material->CaPath();
        certs.server_cert = material->ServerCert();
        certs.server_key = material->ServerKey();
    }
    ~Owner() {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
};

}  // namespace

const TestCertificates& Certificates() {
    static Owner owner;
    return owner.certs;
}

}  // namespace wiretest
