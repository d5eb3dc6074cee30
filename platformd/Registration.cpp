#include "Registration.h"

#include <openssl/rand.h>

#include <stdexcept>

#include "Database.h"
#include "Exchange.h"
#include "HtmlPage.h"
#include "PasswordHash.h"
#include "Router.h"
#include "Rules.h"
#include "SessionStore.h"
#include "TestControl.h"

namespace platformd {

namespace {

std::string RandomDigits(int n) {
    unsigned char bytes[32];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no randomness");
    std::string out;
    for (int i = 0; i < n; ++i) out += static_cast<char>('0' + bytes[i] % 10);
    return out;
}

// Ten letters and digits without a run of consecutive digits.
std::string RandomPassword() {
    static const char* chars = "abcdefghjkmnpqrstuvwxyzABCDEFGHJKMNPQRSTUVWXYZ23456789";
    for (;;) {
        unsigned char bytes[10];
        if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no randomness");
        std::string out;
        for (unsigned char b : bytes) out += chars[b % 54];
        if (!HasDigitRun(out)) return out;
    }
}

bool AccountExists(Database& db, const std::string& mobile) {
    auto st = db.Prepare("SELECT 1 FROM users WHERE name=? OR mobile=?");
    st.Bind(mobile).Bind(mobile);
    return st.Step();
}

}  // namespace

void Registration::Register(Router& router) {
    router.Post("/user/data/Register", [this](Exchange& ex) {
        std::string act = ex.Query("act");
        if (act == "yzm") {
            SendCode(ex);
        } else if (act == "reg") {
            CreateAccount(ex);
        } else {
            ex.Text("1009");
        }
    });
    router.Post("/page/GetPasswd/GetPasswd", [this](Exchange& ex) { Recover(ex); });
    router.Get("/user/findpwd/index.html", [](Exchange& ex) {
        // A plain form: the browser posts it in GBK, and "page" asks for an answer in words.
        ex.Html(HtmlPage(
            "找回密码",
            "<p>请输入账号和注册时的手机号码，新密码将以短信发送到该手机。</p>"
            "<form method=\"post\" action=\"/page/GetPasswd/GetPasswd\" accept-charset=\"GBK\">"
            "<input type=\"hidden\" name=\"page\" value=\"1\">"
            "<p><label>账号：<input name=\"username\" required></label></p>"
            "<p><label>手机号码：<input name=\"mobi\" required></label></p>"
            "<p><button type=\"submit\">找回密码</button></p></form>"));
    });
}

void Registration::SendCode(Exchange& ex) {
    std::string mobile = ex.Form({"mobi"}).Get("mobi");
    if (!IsMobileNumber(mobile)) {
        ex.Text("1001");
        return;
    }
    auto lock = s_.db.Lock();
    if (AccountExists(s_.db, mobile)) {
        ex.Text("1003");
        return;
    }
    std::int64_t now = Now();
    auto last = s_.db.Prepare("SELECT sent_at FROM sms WHERE mobile=?");
    last.Bind(mobile);
    if (last.Step() && now - last.Int(0) < kResendSeconds) {
        ex.Text("1002");
        return;
    }
    std::string code = RandomDigits(6);
    s_.db.Prepare("INSERT OR REPLACE INTO sms(mobile, code, sent_at, tries) VALUES(?,?,?,0)")
        .Bind(mobile)
        .Bind(code)
        .Bind(now)
        .Run();
    s_.control.RecordSms(mobile, "您的注册验证码是" + code + "，10分钟内有效。");
    ex.Text("1000");
}

void Registration::CreateAccount(Exchange& ex) {
    FormBody form = ex.Form({"mobi", "password", "captcha"});
    std::string mobile = form.Get("mobi");
    std::string password = form.Get("password");
    if (!IsMobileNumber(mobile)) {
        ex.Text("1004");
        return;
    }
    auto lock = s_.db.Lock();
    if (AccountExists(s_.db, mobile)) {
        ex.Text("1003");
        return;
    }
    auto st = s_.db.Prepare("SELECT code, sent_at, tries FROM sms WHERE mobile=?");
    st.Bind(mobile);
    if (!st.Step()) {
        ex.Text("1001");
        return;
    }
    std::string code = st.Text(0);
    std::int64_t sent_at = st.Int(1), tries = st.Int(2);
    st.Reset();
    if (Now() - sent_at > kCodeLifetime || tries >= kMaxTries) {
        ex.Text("1006");
        return;
    }
    if (form.Get("captcha") != code) {
        // Counted, so six digits cannot be guessed by trying them all.
        s_.db.Prepare("UPDATE sms SET tries=tries+1 WHERE mobile=?").Bind(mobile).Run();
        ex.Text("1002");
        return;
    }
    if (!IsPasswordFormat(password)) {
        ex.Text("1005");
        return;
    }
    if (HasDigitRun(password)) {
        ex.Text("1008");
        return;
    }
    lock.unlock();
    PasswordHash hash = HashPassword(password);
    lock.lock();
    if (AccountExists(s_.db, mobile)) {
        ex.Text("1003");
        return;
    }
    s_.db.Prepare("INSERT INTO users(name, mobile, salt, hash) VALUES(?,?,?,?)")
        .Bind(mobile)
        .Bind(mobile)
        .Bind(hash.salt)
        .Bind(hash.hash)
        .Run();
    s_.db.Prepare("DELETE FROM sms WHERE mobile=?").Bind(mobile).Run();
    ex.Text("1000");
}

void Registration::Recover(Exchange& ex) {
    FormBody form = ex.Form({"username", "mobi", "page"});
    std::string name = form.Get("username");
    std::string mobile = form.Get("mobi");
    const bool from_page = form.Get("page") == "1";
    // The client reads the bare code; the web page's customer reads a sentence.
    auto answer = [&ex, from_page](const std::string& code) {
        if (!from_page) {
            ex.Text(code);
            return;
        }
        const std::string back = "<p><a href=\"/user/findpwd/index.html\">返回</a></p>";
        if (code == "1000")
            ex.Html(HtmlPage("找回密码", "<p>新密码已通过短信发送到您的手机，请登录后及时修改。</p>"));
        else if (code == "1016")
            ex.Html(HtmlPage("找回密码", "<p>请求过于频繁，请稍后再试。</p>" + back));
        else
            ex.Html(HtmlPage("找回密码", "<p>账号与手机号码不匹配。</p>" + back));
    };
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare("SELECT id FROM users WHERE name=? AND mobile=?");
    st.Bind(name).Bind(mobile);
    if (mobile.empty() || !st.Step()) {
        answer("1015");
        return;
    }
    std::int64_t id = st.Int(0);
    std::int64_t now = Now();
    auto last = s_.db.Prepare("SELECT sent_at FROM sms WHERE mobile=?");
    last.Bind(mobile);
    if (last.Step() && now - last.Int(0) < kResendSeconds) {
        answer("1016");
        return;
    }
    std::string password = RandomPassword();
    PasswordHash hash = HashPassword(password);
    s_.db.Prepare("UPDATE users SET salt=?, hash=?, failed=0 WHERE id=?")
        .Bind(hash.salt)
        .Bind(hash.hash)
        .Bind(id)
        .Run();
    s_.db.Prepare("INSERT OR REPLACE INTO sms(mobile, code, sent_at, tries) VALUES(?,'',?,0)")
        .Bind(mobile)
        .Bind(now)
        .Run();
    s_.sessions.RemoveUser(id);
    s_.control.RecordSms(mobile,
                         "您的账号" + name + "的新密码是" + password + "，请登录后及时修改。");
    answer("1000");
}

}  // namespace platformd
