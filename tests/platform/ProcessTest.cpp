// The platformd executable: start-up lines, a stored database and TLS files that outlive
// the process, and a clean stop on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "PlatformFixture.h"
#include "net/Text.h"

namespace platformd::test {
namespace {

class RunningPlatform {
  public:
    explicit RunningPlatform(const std::vector<std::string>& args) {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv{const_cast<char*>(PLATFORMD_EXE)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(PLATFORMD_EXE, argv.data());
            _exit(127);
        }
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
        char line[512];
        // The port comes first, then the CA file, then the rest.
        while (out_ != nullptr && std::fgets(line, sizeof line, out_) != nullptr) {
            std::string text = line;
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            lines_.push_back(text);
            if (vpsdesk::net::StartsWithText(text, "url ")) break;
        }
    }
    ~RunningPlatform() {
        if (pid_ > 0 && exit_code_ < 0) Stop();
        if (out_ != nullptr) std::fclose(out_);
    }
    int Stop() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return exit_code_;
    }
    std::string Line(size_t i) const { return i < lines_.size() ? lines_[i] : ""; }
    std::string Rest() const {
        std::string all;
        for (const std::string& l : lines_) all += l + "\n";
        return all;
    }

  private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    std::vector<std::string> lines_;
    int exit_code_ = -1;
};

TEST(ProcessTest, SeededCustomersComeWithTheDemoDataOnly) {
    {
        // Their servers need the demo's catalogue.
        RunningPlatform run({"--port", "0", "--customers", "2"});
        EXPECT_EQ(run.Stop(), 2);
    }
    RunningPlatform run({"--port", "0", "--demo", "--customers", "2"});
    EXPECT_TRUE(vpsdesk::net::ContainsText(run.Rest(), "customer1 ... customer2 / demo2026"))
        << run.Rest();
    EXPECT_EQ(run.Stop(), 0);
}

TEST(ProcessTest, KeepsItsDatabaseAndCertificatesAcrossRuns) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("platformd-process-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<std::string> args = {"--port",
                                     "0",
                                     "--demo",
                                     "--db",
                                     (dir / "data.db").string(),
                                     "--tls-dir",
                                     (dir / "tls").string()};
    std::string ca;
    {
        RunningPlatform run(args);
        ASSERT_TRUE(vpsdesk::net::StartsWithText(run.Line(0), "port ")) << run.Rest();
        int port = static_cast<int>(vpsdesk::net::TextToInt(run.Line(0).substr(5)));
        ca = run.Line(1).substr(3);
        EXPECT_EQ(ca, (dir / "tls" / "ca.pem").string());
        EXPECT_TRUE(vpsdesk::net::ContainsText(run.Rest(), "demo2026"));
        TestClient client("https://127.0.0.1:" + std::to_string(port), ca);
        EXPECT_EQ(client
                      .PostBytes("/user/khdloginpd",
                                 "username=demo&password=demo2026&khdkey=K&zd=1&ver=Ver 4.92")
                      .Text(),
                  "1000");
        EXPECT_EQ(client
                      .Post("/user/data/vpsbz", Form({{"username", "demo"},
                                                      {"password", "demo2026"},
                                                      {"id", "1"},
                                                      {"bz", "kept"}}))
                      .Text(),
                  "1000");
        EXPECT_EQ(run.Stop(), 0);
    }
    std::ifstream first_ca(ca);
    std::string ca_text((std::istreambuf_iterator<char>(first_ca)),
                        std::istreambuf_iterator<char>());
    {
        RunningPlatform run(args);
        int port = static_cast<int>(vpsdesk::net::TextToInt(run.Line(0).substr(5)));
        // The same CA still verifies the server, and the remark is still there.
        TestClient client("https://127.0.0.1:" + std::to_string(port), ca);
        EXPECT_EQ(client
                      .PostBytes("/user/khdloginpd",
                                 "username=demo&password=demo2026&khdkey=K&zd=1&ver=Ver 4.92")
                      .Text(),
                  "1000");
        vpsdesk::net::JsonDocument doc;
        doc.Parse(client.PostBytes("/user/data/vpslist?page=1&limit=5&ljs=1", "").Text());
        EXPECT_EQ(doc.GetText("data[0].corewhatuser"), "kept");
        EXPECT_EQ(doc.GetText("count"), "7");
        EXPECT_EQ(run.Stop(), 0);
    }
    std::ifstream second_ca(ca);
    EXPECT_EQ(
        std::string((std::istreambuf_iterator<char>(second_ca)), std::istreambuf_iterator<char>()),
        ca_text);
    fs::remove_all(dir);
}

TEST(ProcessTest, SigtermDoesNotWaitForARequestInAScriptedDelay) {
    RunningPlatform run({"--port", "0", "--control-token", "t"});
    ASSERT_TRUE(vpsdesk::net::StartsWithText(run.Line(0), "port ")) << run.Rest();
    const std::string base = "https://127.0.0.1:" + run.Line(0).substr(5);
    TestClient control(base, run.Line(1).substr(3));
    const std::vector<std::string> token = {"X-Control-Token: t"};
    control.PostBytes("/__control/script?path=/khd&delay_ms=60000", "late", token);
    TestClient late(base, run.Line(1).substr(3));
    std::thread waiting([&late] { late.Get("/khd?act=ver"); });
    vpsdesk::net::JsonDocument doc;
    for (int i = 0; i < 100 && doc.GetText("count") != "1"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        doc.Parse(control.Get("/__control/requests", token).Text());
    }
    ASSERT_EQ(doc.GetText("count"), "1");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run.Stop(), 0);
    // Generous: the delay is a minute, and the stop must not sit it out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    waiting.join();
}

}  // namespace
}  // namespace platformd::test
