#include "Commands.h"

#include <openssl/evp.h>

#include <fstream>
#include <iterator>

#include "Exchange.h"
#include "PngImage.h"
#include "Router.h"
#include "TestControl.h"

namespace platformd {

namespace {

std::string Logo() {
    PngImage image(300, 90, 0x1E3C72);
    for (int x = 0; x < 300; ++x) {
        std::uint32_t blue = 0x72 + static_cast<std::uint32_t>(x * 0x60 / 300);
        image.Fill(x, 0, 1, 90, 0x1E3C00 | blue);
    }
    image.Fill(20, 20, 50, 50, 0xFFFFFF);
    image.Fill(30, 30, 30, 30, 0x2A5298);
    return image.Encode();
}

// A square of blocks in the manner of a scannable code, different for each seed.
std::string Banner(unsigned seed) {
    PngImage image(140, 140, 0xFFFFFF);
    unsigned state = seed;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            state = state * 1103515245u + 12345u;
            if ((state >> 16) & 1) image.Fill(x * 10, y * 10, 10, 10, 0x111111);
        }
    }
    for (int corner : {0, 1, 2}) {
        int cx = corner == 1 ? 90 : 0, cy = corner == 2 ? 90 : 0;
        image.Fill(cx, cy, 50, 50, 0x111111);
        image.Fill(cx + 10, cy + 10, 30, 30, 0xFFFFFF);
        image.Fill(cx + 17, cy + 17, 16, 16, 0x111111);
    }
    return image.Encode();
}

std::string Sha256Hex(const std::string& data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    EVP_Digest(data.data(), data.size(), digest, &n, EVP_sha256(), nullptr);
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned i = 0; i < n; ++i) {
        out += hex[digest[i] >> 4];
        out += hex[digest[i] & 15];
    }
    return out;
}

}  // namespace

Commands::Commands(Services& services)
    : s_(services), logo_(Logo()), banner1_(Banner(1)), banner2_(Banner(2)) {}

void Commands::Register(Router& router) {
    router.Any("/khd", [this](Exchange& ex) { Command(ex); });
    router.Get("/img/logo.png", [this](Exchange& ex) { ex.Bytes(logo_, "image/png"); });
    router.Get("/img/vx.png", [this](Exchange& ex) { ex.Bytes(banner1_, "image/png"); });
    router.Get("/img/vx2.png", [this](Exchange& ex) { ex.Bytes(banner2_, "image/png"); });
}

void Commands::Command(Exchange& ex) {
    std::string act = ex.Query("act");
    if (act == "ver") {
        // Stored as the bytes to answer, so tests can set any reply, line breaks included.
        ex.Bytes(s_.control.Version(), "text/plain; charset=GBK");
    } else if (act == "biaoti") {
        ex.Text(kTitle);
    } else if (act == "help") {
        ex.Text("双击服务器即可远程连接；右键可重启、重装系统、续费或申请退款。客服QQ：10000");
    } else if (act == "gg") {
        ex.Text("新用户注册即送体验金，实名认证后即可使用\r\n显卡云服务器限时八折，欢迎选购\r\n");
    } else if (act == "tcgg") {
        ex.Text("欢迎使用" + std::string(kTitle) + "！本平台为演示平台，所有服务器均为本机地址。");
    } else if (act == "download") {
        Download(ex);
    } else {
        ex.Text("");
        ex.Res().status = 404;
    }
}

// The updater's download: the configured client package, with its version and SHA-256
// in headers so the updater can check what it received before replacing anything.
void Commands::Download(Exchange& ex) {
    std::string data;
    if (!s_.update_file.empty()) {
        std::ifstream in(s_.update_file, std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) data.clear();
    }
    if (data.empty()) {
        ex.Text("");
        ex.Res().status = 404;
        return;
    }
    std::string version;
    for (char c : s_.control.Version()) {
        if (static_cast<unsigned char>(c) >= 0x20) version += c;  // no header injection
    }
    ex.Res().set_header("X-Version", version);
    ex.Res().set_header("X-Content-SHA256", Sha256Hex(data));
    ex.Res().set_header("Content-Disposition", "attachment; filename=\"vpsdesk\"");
    ex.Bytes(std::move(data), "application/octet-stream");
}

}  // namespace platformd
