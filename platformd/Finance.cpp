#include "Finance.h"

#include "Database.h"
#include "Exchange.h"
#include "HtmlPage.h"
#include "Ledger.h"
#include "Router.h"
#include "Rules.h"
#include "SessionStore.h"
#include "Text.h"

namespace platformd {

namespace {

// Payment tokens are 32 hexadecimal digits; anything else never reaches the store.
bool IsToken(const std::string& text) {
    if (text.size() != 32) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace

void Finance::Register(Router& router) {
    router.Post("/user/pay/czkzf", [this](Exchange& ex) { RedeemCard(ex); });
    router.Post("/user/zfbzf", [this](Exchange& ex) { StartPayment(ex); });
    router.Get("/user/pay/page", [this](Exchange& ex) { PaymentPage(ex); });
    router.Post("/user/pay/confirm", [this](Exchange& ex) { ConfirmPayment(ex); });
    router.Any("/user/data/moneylist", [this](Exchange& ex) { Records(ex); });
}

void Finance::RedeemCard(Exchange& ex) {
    FormBody form = ex.Form({"cid", "cpass"});
    if (ex.UserId() == 0) {
        ex.Text("请先登录");
        return;
    }
    if (TooManyCardFailures(ex.UserId())) {
        ex.Text("尝试次数过多，请10分钟后再试");
        return;
    }
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare("SELECT password, amount, used_by FROM cards WHERE number=?");
    st.Bind(form.Get("cid"));
    if (!st.Step() || st.Text(0) != form.Get("cpass")) {
        CountCardFailure(ex.UserId());
        ex.Text("卡号或卡密错误");
        return;
    }
    if (!st.IsNull(2)) {
        ex.Text("该卡已被使用");
        return;
    }
    std::int64_t amount = st.Int(1);
    st.Reset();
    Transaction tx(s_.db);
    s_.db.Prepare("UPDATE cards SET used_by=?, used_at=? WHERE number=? AND used_by IS NULL")
        .Bind(ex.UserId())
        .Bind(Now())
        .Bind(form.Get("cid"))
        .Run();
    Credit(s_.db, ex.UserId(), amount, "充值卡充值 " + form.Get("cid"));
    tx.Commit();
    ex.Text("充值成功");
}

bool Finance::TooManyCardFailures(std::int64_t user_id) {
    std::lock_guard lock(failures_mutex_);
    auto it = card_failures_.find(user_id);
    if (it == card_failures_.end()) return false;
    if (Now() - it->second.second >= kCardFailureWindow) {
        card_failures_.erase(it);
        return false;
    }
    return it->second.first >= kMaxCardFailures;
}

void Finance::CountCardFailure(std::int64_t user_id) {
    std::lock_guard lock(failures_mutex_);
    auto& entry = card_failures_[user_id];
    if (entry.first == 0) entry.second = Now();
    ++entry.first;
}

void Finance::StartPayment(Exchange& ex) {
    FormBody form = ex.Form({"ORDERMONEY", "USERNAME"});
    std::int64_t cents = 0;
    // An empty reply is the client's "recharge failed"; it opens anything else in a browser.
    if (ex.UserId() == 0 || !ParseMoney(form.Get("ORDERMONEY"), cents)) {
        ex.Text("");
        return;
    }
    auto lock = s_.db.Lock();
    // The order is always the signed-in customer's. The account box must name him; any
    // other name gets the same reply whether or not it exists.
    auto st = s_.db.Prepare("SELECT name FROM users WHERE id=?");
    st.Bind(ex.UserId());
    if (!st.Step() || st.Text(0) != form.Get("USERNAME")) {
        ex.Text("");
        return;
    }
    std::string token = RandomToken();
    s_.db.Prepare("INSERT INTO payments(token, user_id, amount, created) VALUES(?,?,?,?)")
        .Bind(token)
        .Bind(ex.UserId())
        .Bind(cents)
        .Bind(Now())
        .Run();
    ex.Text(s_.public_base + "/user/pay/page?order=" + token);
}

void Finance::PaymentPage(Exchange& ex) {
    std::string token = ex.Query("order");
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare(
        "SELECT u.name, p.amount, p.paid FROM payments p JOIN users u ON u.id=p.user_id "
        "WHERE p.token=?");
    st.Bind(token);
    if (!IsToken(token) || !st.Step()) {
        ex.Html(HtmlPage("订单不存在", "<p>订单不存在或已失效。</p>"));
        ex.Res().status = 404;
        return;
    }
    if (st.Int(2)) {
        ex.Html(HtmlPage("订单已支付", "<p>该订单已经支付。</p>"));
        return;
    }
    ex.Html(HtmlPage("在线支付", "<p>充值账号：" + HtmlEscape(st.Text(0)) + "</p><p>充值金额：" +
                                 FormatMoney(st.Int(1)) +
                                 " 元</p>"
                                 "<form method=\"post\" action=\"/user/pay/confirm\">"
                                 "<input type=\"hidden\" name=\"order\" value=\"" +
                                 token +
                                 "\">"
                                 "<button id=\"pay\" type=\"submit\">支付</button></form>"));
}

void Finance::ConfirmPayment(Exchange& ex) {
    std::string token = ex.Form({"order"}).Get("order");
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare("SELECT user_id, amount, paid FROM payments WHERE token=?");
    st.Bind(token);
    if (!IsToken(token) || !st.Step()) {
        ex.Html(HtmlPage("订单不存在", "<p>订单不存在或已失效。</p>"));
        ex.Res().status = 404;
        return;
    }
    if (st.Int(2)) {
        ex.Html(HtmlPage("订单已支付", "<p>该订单已经支付，没有重复扣款。</p>"));
        return;
    }
    std::int64_t user = st.Int(0), amount = st.Int(1);
    st.Reset();
    Transaction tx(s_.db);
    s_.db.Prepare("UPDATE payments SET paid=1 WHERE token=?").Bind(token).Run();
    Credit(s_.db, user, amount, "在线充值");
    tx.Commit();
    ex.Html(
        HtmlPage("支付成功", "<p>已充值 " + FormatMoney(amount) + " 元，请返回客户端查看余额。</p>"));
}

void Finance::Records(Exchange& ex) {
    if (ex.UserId() == 0) {
        ex.Status(401, "请先登录");
        return;
    }
    // Clamped, so the row offset below cannot overflow.
    long long page = std::clamp(ReadInteger(ex.Query("page")), 1LL, 1000000LL);
    long long limit = ex.Req().has_param("limit") ? ReadInteger(ex.Query("limit")) : 5;
    limit = std::clamp(limit, 1LL, 100LL);
    nlohmann::ordered_json doc;
    auto lock = s_.db.Lock();
    auto count = s_.db.Prepare("SELECT COUNT(*) FROM finance WHERE user_id=?");
    count.Bind(ex.UserId());
    doc["count"] = count.Step() ? count.Int(0) : 0;
    doc["data"] = nlohmann::ordered_json::array();
    auto st = s_.db.Prepare(
        "SELECT at, income, expense, zt, forwhat FROM finance WHERE user_id=? "
        "ORDER BY at DESC, id DESC LIMIT ? OFFSET ?");
    st.Bind(ex.UserId()).Bind(limit).Bind((page - 1) * limit);
    while (st.Step()) {
        nlohmann::ordered_json row;
        row["attime"] = FormatTime(st.Int(0));
        row["shouru"] = FormatMoney(st.Int(1));
        row["zhichu"] = FormatMoney(st.Int(2));
        row["zt"] = st.Text(3);
        row["forwhat"] = st.Text(4);
        doc["data"].push_back(row);
    }
    ex.Json(doc);
}

}  // namespace platformd
