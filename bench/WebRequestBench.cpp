// Sequential HTTPS GETs on loopback: WebRequest and WinHttpRequest (each on the thread's
// easy handle and connection cache, reset and reused per call) against a raw libcurl loop
// that reuses one easy handle, all in the same run. Prints requests per second, their
// median ratios, the requesting thread's CPU time per request and TLS handshakes per 1,000
// requests, and the raw loop again sending each engine's own header lines.
#include <curl/curl.h>
#include <httplib.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "TestCertificates.h"
#include "net/Text.h"
#include "net/WebRequest.h"
#include "net/WinHttpHeaders.h"
#include "net/WinHttpRequest.h"

namespace {

constexpr int kRequests = 1000;
constexpr int kRounds = 7;

std::atomic<long> g_handshakes{0};

void CountHandshakes(const SSL*, int where, int) {
    if (where & SSL_CB_HANDSHAKE_DONE) g_handshakes.fetch_add(1);
}

size_t Collect(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

struct Result {
    double per_second = 0;
    double cpu_us = 0;  // the requesting thread's CPU time per request
    long handshakes = 0;
    bool ok = true;
};

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

template <typename Fn>
Result Measure(Fn one_request) {
    long before = g_handshakes.load();
    auto start = std::chrono::steady_clock::now();
    double cpu_start = ThreadCpuSeconds();
    Result r;
    for (int i = 0; i < kRequests; ++i) r.ok = one_request() && r.ok;
    r.cpu_us = (ThreadCpuSeconds() - cpu_start) * 1e6 / kRequests;
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    r.per_second = kRequests / took.count();
    r.handshakes = g_handshakes.load() - before;
    return r;
}

// The header lines an engine sends on its own: its agent (none: libcurl sends no agent
// line) and the other lines.
struct Lines {
    std::string agent;
    std::vector<std::string> others;
};

Lines WebRequestLines(const std::string& url) {
    return {"Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
            {"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"}};
}

// The default block of a GET, taken from the engine itself, its agent line included.
Lines WinHttpRequestLines(const std::string& url) {
    vpsdesk::net::WinHttpRequestParams params;
    params.url = url;
    Lines lines;
    for (std::string& line :
         vpsdesk::net::SplitText(vpsdesk::net::WinHttpHeaderBlock(params), "\r\n"))
        if (!line.empty()) lines.others.push_back(std::move(line));
    return lines;
}

// The raw loop: one easy handle, reused. Given an engine's header lines it sends them too,
// which shows how much of the gap is libcurl writing those bytes rather than the engine's
// own work.
Result RawLoop(const std::string& url, const std::string& ca_file, size_t body_size,
               const Lines* same_lines) {
    CURL* easy = curl_easy_init();
    std::string got;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CAINFO, ca_file.c_str());
    curl_easy_setopt(easy, CURLOPT_CAPATH, "/etc/ssl/certs");
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &got);
    curl_slist* lines = nullptr;
    if (same_lines) {
        if (!same_lines->agent.empty())
            curl_easy_setopt(easy, CURLOPT_USERAGENT, same_lines->agent.c_str());
        for (const std::string& line : same_lines->others)
            lines = curl_slist_append(lines, line.c_str());
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, lines);
    }
    Result raw = Measure([&] {
        got.clear();
        return curl_easy_perform(easy) == CURLE_OK && got.size() == body_size;
    });
    curl_easy_cleanup(easy);
    curl_slist_free_all(lines);
    return raw;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const wiretest::TestCertificates& certs = wiretest::Certificates();
    httplib::SSLServer server(certs.server_cert, certs.server_key);
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(100000);
    SSL_CTX_set_info_callback(server.ssl_context(), &CountHandshakes);
    const std::string body(100, 'b');
    server.Get("/b", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "text/plain");
    });
    int port = server.bind_to_any_port("127.0.0.1");
    std::thread listener([&] { server.listen_after_bind(); });
    const std::string url = "https://127.0.0.1:" + std::to_string(port) + "/b";

    vpsdesk::net::SetTlsSettings({certs.ca_file, true});

    const Lines web_lines = WebRequestLines(url);
    const Lines win_lines = WinHttpRequestLines(url);
    std::vector<double> ratios, win_ratios, same_ratios, win_same_ratios, cpu_web, cpu_win, cpu_raw,
        cpu_same, cpu_win_same;
    Result best_web, best_win, best_raw;
    for (int round = 0; round < kRounds; ++round) {
        // A fresh thread starts with an empty connection cache, so each round pays for
        // its own first connection, as the raw loop's fresh handle does.
        Result web;
        std::thread([&] {
            web = Measure([&] { return vpsdesk::net::WebRequest(url).body.size() == body.size(); });
        }).join();

        // The second engine keeps no state between calls, but runs on the same thread cache.
        Result win;
        std::thread([&] {
            win = Measure([&] {
                vpsdesk::net::WinHttpRequestParams p;
                p.url = url;
                return vpsdesk::net::WinHttpRequest(p).text.size() == body.size();
            });
        }).join();

        Result raw = RawLoop(url, certs.ca_file, body.size(), nullptr);
        Result same = RawLoop(url, certs.ca_file, body.size(), &web_lines);
        Result win_same = RawLoop(url, certs.ca_file, body.size(), &win_lines);

        double ratio = web.per_second / raw.per_second;
        ratios.push_back(ratio);
        const double win_ratio = win.per_second / raw.per_second;
        win_ratios.push_back(win_ratio);
        cpu_win.push_back(win.cpu_us);
        same_ratios.push_back(web.per_second / same.per_second);
        cpu_web.push_back(web.cpu_us);
        cpu_raw.push_back(raw.cpu_us);
        cpu_same.push_back(same.cpu_us);
        win_same_ratios.push_back(win.per_second / win_same.per_second);
        cpu_win_same.push_back(win_same.cpu_us);
        std::printf(
            "round %d: WebRequest %6.0f req/s %5.1f us CPU %ld handshake(s) | raw libcurl %6.0f "
            "req/s %5.1f us CPU %ld handshake(s) | ratio %.2f%s\n",
            round + 1, web.per_second, web.cpu_us, web.handshakes, raw.per_second, raw.cpu_us,
            raw.handshakes, ratio, web.ok && raw.ok && same.ok ? "" : "   (failed requests!)");
        std::printf(
            "         WinHttpRequest %6.0f req/s %5.1f us CPU %ld handshake(s) | ratio %.2f%s\n",
            win.per_second, win.cpu_us, win.handshakes, win_ratio,
            win.ok ? "" : "   (failed requests!)");
        if (web.per_second > best_web.per_second) best_web = web;
        if (win.per_second > best_win.per_second) best_win = win;
        if (raw.per_second > best_raw.per_second) best_raw = raw;
    }
    std::printf("\n%d sequential HTTPS GETs of %zu bytes per run, %d runs\n", kRequests,
                body.size(), kRounds);
    std::printf("WebRequest (thread's reused easy handle): best %8.0f req/s, %ld handshakes/1000\n",
                best_web.per_second, best_web.handshakes);
    std::printf("WinHttpRequest (the same):                best %8.0f req/s, %ld handshakes/1000\n",
                best_win.per_second, best_win.handshakes);
    std::printf("raw libcurl (one reused easy handle):     best %8.0f req/s, %ld handshakes/1000\n",
                best_raw.per_second, best_raw.handshakes);
    std::printf("ratio WebRequest/raw: median %.2f, best-vs-best %.2f\n", Median(ratios),
                best_web.per_second / best_raw.per_second);
    std::printf("ratio WinHttpRequest/raw: median %.2f, best-vs-best %.2f\n", Median(win_ratios),
                best_win.per_second / best_raw.per_second);
    std::printf(
        "client CPU per request (median): WebRequest %.1f us, WinHttpRequest %.1f us, raw %.1f "
        "us\n",
        Median(cpu_web), Median(cpu_win), Median(cpu_raw));
    std::printf("raw libcurl sending WebRequest's header lines: ratio median %.2f, %.1f us CPU\n",
                Median(same_ratios), Median(cpu_same));
    std::printf(
        "raw libcurl sending WinHttpRequest's header lines: ratio median %.2f, %.1f us CPU\n",
        Median(win_same_ratios), Median(cpu_win_same));

    while (!server.is_running()) std::this_thread::yield();
    server.stop();
    listener.join();
    return 0;
}
