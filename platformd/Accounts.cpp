#include "Accounts.h"

#include <openssl/rand.h>

#include "Database.h"
#include "Exchange.h"
#include "PasswordHash.h"
#include "PngImage.h"
#include "Router.h"
#include "Rules.h"
#include "SessionStore.h"
#include "StopSignal.h"
#include "TestControl.h"

namespace platformd {

void Accounts::Register(Router& router) {
    router.Get("/user/captcha", [this](Exchange& ex) { Captcha(ex); });
    router.Post("/user/loginpost", [this](Exchange& ex) { Login(ex, true); });
    router.Post("/user/khdloginpd", [this](Exchange& ex) { Login(ex, false); });
    router.Any("/user/logout.asp", [](Exchange& ex) {
        ex.SignOut();
        ex.Html(
            "<html><head><meta http-equiv=\"refresh\" content=\"0;url=/\"></head>"
            "<body>已退出登录</body></html>");
    });
    router.Any("/user/data/usernmae", [this](Exchange& ex) { UserName(ex); });
    router.Any("/user/userinfo", [this](Exchange& ex) { UserInfo(ex); });
    router.Post("/user/sm2", [this](Exchange& ex) { RealName(ex); });
    registration_.Register(router);
}

void Accounts::Captcha(Exchange& ex) {
    unsigned char random[16];
    if (RAND_bytes(random, sizeof random) != 1) throw std::runtime_error("no randomness");
    std::string answer;
    for (int i = 0; i < 4; ++i) answer += static_cast<char>('0' + random[i] % 10);
    const std::string& sid = ex.EnsureSession();
    s_.sessions.SetCaptcha(sid, answer);
    s_.control.RecordCaptcha(answer);

    PngImage image(84, 32, 0xF2F5FA);
    for (int i = 0; i < 4; ++i) {
        int dy = random[4 + i] % 6;
        std::uint32_t colour =
            0x203060u + static_cast<std::uint32_t>(random[8 + i] % 0x40) * 0x10101u;
        image.Digit(6 + i * 19, 3 + dy, answer[static_cast<size_t>(i)] - '0', 3, colour);
    }
    for (int i = 0; i < 3; ++i) {
        image.Line(0, random[12 + i] % 32, 83, random[13 + i] % 32, 0x9AA8C0);
    }
    ex.Res().set_header("Cache-Control", "no-store");
    ex.Bytes(image.Encode(), "image/png");
}

std::string Accounts::CheckCredentials(Exchange& ex, const std::string& name,
                                       const std::string& password) {
    // Every attempt from a source that keeps guessing waits, whichever account it names.
    const std::string& source = ex.Req().remote_addr;
    if (!s_.stop.Sleep(throttle_.Delay(source, LoginThrottle::Clock::now()))) return "1001";
    std::int64_t id = 0;
    PasswordHash stored;
    {
        auto lock = s_.db.Lock();
        auto st = s_.db.Prepare("SELECT id, salt, hash FROM users WHERE name=?");
        st.Bind(name);
        if (st.Step()) {
            id = st.Int(0);
            stored = {st.Text(1), st.Text(2)};
        }
    }
    // The slow hash runs outside the store's lock, and runs for an unknown name too, against
    // a hash of nothing, so that the reply's time does not tell which names exist.
    static const PasswordHash kNoAccount = HashPassword("");
    const bool matches = CheckPassword(password, id == 0 ? kNoAccount : stored);
    if (id == 0 || !matches) {
        throttle_.Failed(source, LoginThrottle::Clock::now());
        return "1001";
    }
    ex.SignIn(id);
    return "1000";
}

void Accounts::Login(Exchange& ex, bool with_captcha) {
    FormBody form = with_captcha
                        ? ex.Form({"username", "password", "captcha", "khdkey", "zd", "ver"})
                        : ex.Form({"username", "password", "khdkey", "zd", "ver"});
    if (with_captcha) {
        // Each picture allows one guess, so the captcha cannot be tried repeatedly.
        std::string expected =
            ex.SessionId().empty() ? "" : s_.sessions.TakeCaptcha(ex.SessionId());
        if (expected.empty() || form.Get("captcha") != expected) {
            ex.Text("1002");
            return;
        }
    }
    ex.Text(CheckCredentials(ex, form.Get("username"), form.Get("password")));
}

void Accounts::UserName(Exchange& ex) {
    if (ex.UserId() == 0) {
        ex.Status(401, "请先登录");
        return;
    }
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare("SELECT name FROM users WHERE id=?");
    st.Bind(ex.UserId());
    nlohmann::ordered_json doc;
    doc["status"] = 200;
    doc["data"]["username"] = st.Step() ? st.Text(0) : "";
    ex.Json(doc);
}

void Accounts::UserInfo(Exchange& ex) {
    if (ex.UserId() == 0) {
        ex.Status(401, "请先登录");
        return;
    }
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare(
        "SELECT name, truename, verified, balance, mobile, qq, email FROM users WHERE id=?");
    st.Bind(ex.UserId());
    if (!st.Step()) {
        ex.Status(401, "请先登录");
        return;
    }
    nlohmann::ordered_json data;
    data["username"] = st.Text(0);
    data["truename"] = st.Text(1);
    data["VerificationResult"] = st.Int(2) ? 1 : 0;
    data["usermoney"] = FormatMoney(st.Int(3));
    data["mobi"] = st.Text(4);
    data["QQ"] = st.Text(5);
    data["email"] = st.Text(6);
    nlohmann::ordered_json doc;
    doc["status"] = 200;
    doc["data"] = data;
    ex.Json(doc);
}

void Accounts::RealName(Exchange& ex) {
    if (ex.UserId() == 0) {
        ex.Text("请先登录");
        return;
    }
    FormBody form = ex.Form({"truename", "perid", "mobi"});
    // Escaped by the client's script escape, which a form decoding would undo only in part.
    std::string name = UnescapeScriptText(form.Raw("truename"));
    std::string perid = form.Get("perid");
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare("SELECT mobile, verified FROM users WHERE id=?");
    st.Bind(ex.UserId());
    if (!st.Step()) {
        ex.Text("请先登录");
        return;
    }
    if (st.Int(1)) {
        ex.Text("已完成实名认证");
        return;
    }
    // A name is two to twenty characters (counted as UTF-8 lead bytes).
    size_t chars = 0;
    for (unsigned char c : name) chars += (c & 0xC0) != 0x80;
    if (chars < 2 || chars > 20 || !IsIdNumber(perid) || form.Get("mobi") != st.Text(0)) {
        ex.Text("1001");
        return;
    }
    s_.db.Prepare("UPDATE users SET truename=?, perid=?, verified=1 WHERE id=?")
        .Bind(name)
        .Bind(perid)
        .Bind(ex.UserId())
        .Run();
    ex.Text("1000");
}

}  // namespace platformd
