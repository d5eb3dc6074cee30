#include "Customer.h"

#include <algorithm>
#include <functional>
#include <thread>

#include "LoadLog.h"
#include "account/LoginResult.h"
#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "net/NameValueList.h"
#include "platform/PlatformReply.h"
#include "servers/OperationOutcome.h"
#include "servers/OperationRequests.h"
#include "servers/ServerListApi.h"
#include "servers/ServerPage.h"

namespace load {
namespace {

namespace net = vpsdesk::net;
namespace platform = vpsdesk::platform;
namespace servers = vpsdesk::servers;

constexpr std::string_view kReloginPath = "/user/khdloginpd";
constexpr std::string_view kProfilePath = "/user/userinfo";
// The machine code every client sends with its sign-in.
constexpr std::string_view kMachineCode = "4C4F41442D42454E43482D4D41434849";

double MillisecondsSince(Customer::Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Customer::Clock::now() - start).count();
}

std::string Shorten(std::string text) {
    constexpr size_t kShown = 120;
    if (text.size() > kShown) text = text.substr(0, kShown) + "...";
    return text;
}

}  // namespace

Customer::Customer(platform::SiteConstants site, std::string account, std::string password,
                   LoadLog& log)
    : site_(std::move(site)),
      account_(std::move(account)),
      password_(std::move(password)),
      log_(log),
      random_(static_cast<unsigned>(std::hash<std::string>{}(account_))) {}

void Customer::Run(Clock::time_point start, Clock::time_point end) {
    std::this_thread::sleep_until(start);
    Clock::time_point next_list = start;
    Clock::time_point next_profile = start;
    Clock::time_point next_operation = start + NextOperationIn();
    StartUp();
    while (Clock::now() < end) {
        const Clock::time_point now = Clock::now();
        if (!signed_in_) {
            // As the client does after its sign-in: the profile, then the list.
            if (now >= next_list && SignIn() && Clock::now() < end) {
                LoadProfile();
                ListServers();
                next_profile = now + kProfileEvery;
            }
            if (now >= next_list) next_list = now + kListEvery;
        } else if (now >= next_list) {
            ListServers();
            next_list += kListEvery;
        } else if (now >= next_profile) {
            LoadProfile();
            next_profile += kProfileEvery;
        } else if (now >= next_operation) {
            Operate();
            next_operation = Clock::now() + NextOperationIn();
        }
        const Clock::time_point wake =
            signed_in_ ? std::min({next_list, next_profile, next_operation, end})
                       : std::min(next_list, end);
        if (wake > Clock::now()) std::this_thread::sleep_until(wake);
    }
}

Customer::Clock::duration Customer::NextOperationIn() {
    // Between 15 and 45 s: longer than a restart's working status, so that an operation
    // never finds his server busy with the previous one.
    return std::chrono::milliseconds(std::uniform_int_distribution<int>(15'000, 45'000)(random_));
}

net::WebReply Customer::Send(const std::string& url, net::WebRequestOptions options, double& ms,
                             std::string& failure) {
    options.cookies_in = cookies_;
    const Clock::time_point start = Clock::now();
    net::WebReply reply = net::WebRequest(url, options);
    ms = MillisecondsSince(start);
    if (!reply.Ok()) {
        failure = "no reply (engine error " + std::to_string(static_cast<int>(reply.error)) + ")";
    } else if (reply.status != 200) {
        failure = "status " + std::to_string(reply.status);
    } else {
        cookies_ = reply.cookies;
    }
    return reply;
}

std::string Customer::SendOperation(const platform::PlatformRequest& request, double& ms,
                                    std::string& failure) {
    net::WebRequestOptions options;
    options.verb = request.post ? net::HttpVerb::Post : net::HttpVerb::Get;
    if (request.post) options.body = request.form;
    if (!request.headers.empty()) options.headers = request.headers;
    options.no_redirect = request.no_redirect;
    const net::WebReply reply = Send(site_.BaseUrl() + request.path, options, ms, failure);
    return platform::ReadPlatformReply(reply.body, request.ReplyPath());
}

void Customer::StartUp() {
    double ms = 0;
    std::string failure;
    const net::WebReply reply = Send(site_.CommandUrl() + "ver", {}, ms, failure);
    if (failure.empty() && net::ReplyText(reply.body).empty()) failure = "no version";
    log_.Record("start-up", ms, failure);
}

bool Customer::SignIn() {
    net::NameValueList form;
    form.Add("username", account_);
    form.Add("password", password_);
    form.Add("khdkey", kMachineCode);
    form.Add("zd", "1");
    form.Add("ver", site_.local_version);
    net::WebRequestOptions options;
    options.verb = net::HttpVerb::Post;
    options.body_bytes = form.BuildFormBytes();
    cookies_.clear();  // a fresh client has no session yet
    double ms = 0;
    std::string failure;
    const net::WebReply reply =
        Send(site_.BaseUrl() + std::string(kReloginPath), options, ms, failure);
    const std::string text = platform::ReadPlatformReply(reply.body, kReloginPath);
    if (failure.empty() &&
        !vpsdesk::account::InterpretLoginReply(text, vpsdesk::account::LoginMode::kAuto).success)
        failure = "reply \"" + Shorten(text) + "\"";
    if (failure.empty() && cookies_.find("PDSESSION=") == std::string::npos)
        failure = "no session cookie";
    log_.Record("sign-in", ms, failure);
    signed_in_ = failure.empty();
    return signed_in_;
}

void Customer::ListServers() {
    net::WebRequestOptions options;
    options.verb = net::HttpVerb::Post;
    double ms = 0;
    std::string failure;
    const net::WebReply reply =
        Send(servers::ServerListUrl(site_.BaseUrl(), 1), options, ms, failure);
    const std::string text = platform::ReadPlatformReply(reply.body, servers::kServerListPath);
    const servers::ServerPage page = servers::ParseServerPage(text);
    if (failure.empty() && (!page.readable || page.count != 1 || page.rows.size() != 1))
        failure = "not his one server: \"" + Shorten(text) + "\"";
    if (failure.empty()) server_id_ = page.rows[0][servers::column::kId];
    log_.Record("list", ms, failure);
}

void Customer::LoadProfile() {
    double ms = 0;
    std::string failure;
    const net::WebReply reply = Send(site_.BaseUrl() + std::string(kProfilePath), {}, ms, failure);
    std::string text = platform::ReadPlatformReply(reply.body, kProfilePath);
    if (failure.empty() &&
        (!net::JsonReadable(text) || net::JsonReadValue(text, "data.username") != account_ ||
         net::JsonReadValue(text, "data.VerificationResult") != "1"))
        failure = "not his profile: \"" + Shorten(text) + "\"";
    log_.Record("profile", ms, failure);
}

void Customer::Operate() {
    if (server_id_.empty()) return;  // no list has shown his server yet
    double ms = 0;
    std::string failure;
    if (restart_next_) {
        const std::string text = SendOperation(servers::RestartRequest(server_id_), ms, failure);
        if (failure.empty() && servers::RestartOutcome(text).text != "操作成功，请耐心等待")
            failure = "reply \"" + Shorten(text) + "\"";
        log_.Record("restart", ms, failure);
    } else {
        const std::string remark = "备注" + std::to_string(++remarks_);
        const std::string text = SendOperation(
            servers::RemarkRequest(account_, password_, server_id_, remark), ms, failure);
        if (failure.empty() && servers::RemarkOutcome(text).text != "设置成功")
            failure = "reply \"" + Shorten(text) + "\"";
        log_.Record("remark", ms, failure);
    }
    restart_next_ = !restart_next_;
}

}  // namespace load
