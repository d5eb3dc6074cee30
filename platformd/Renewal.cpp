#include "Renewal.h"

#include "Database.h"
#include "Exchange.h"
#include "Ledger.h"
#include "Router.h"
#include "Rules.h"
#include "Servers.h"

namespace platformd {

const char* PeriodCaption(const std::string& period) {
    if (period == "day") return "一天";
    if (period == "month") return "一个月";
    if (period == "Annual") return "一年";
    return nullptr;
}

void Renewal::Register(Router& router) {
    router.Post("/user/xfjgb", [this](Exchange& ex) { Prices(ex); });
    router.Post("/user/data/xfbuy", [this](Exchange& ex) { Renew(ex); });
}

void Renewal::Prices(Exchange& ex) {
    auto lock = s_.db.Lock();
    auto server = Servers::FindOwned(s_, ex.UserId(), ex.Form({"id"}).Get("id"));
    if (!server) {
        ex.Status(404, "服务器不存在");
        return;
    }
    auto st = s_.db.Prepare(
        "SELECT p.day, p.month, p.annual, s.start_time, s.end_time FROM servers s "
        "JOIN products p ON p.id=s.product_id WHERE s.id=?");
    st.Bind(server->id);
    st.Step();
    nlohmann::ordered_json row;
    row["day"] = st.Int(0);
    row["month"] = st.Int(1);
    row["Annual"] = st.Int(2);
    row["starttime"] = FormatTime(st.Int(3));
    row["endtime"] = FormatTime(st.Int(4));
    nlohmann::ordered_json doc;
    doc["status"] = 200;
    doc["count"] = 1;
    doc["data"] = nlohmann::ordered_json::array({row});
    ex.Json(doc);
}

void Renewal::Renew(Exchange& ex) {
    FormBody form = ex.Form({"year", "id"});
    std::string period = form.Get("year");
    if (ex.UserId() == 0) {
        ex.Text("请先登录");
        return;
    }
    auto lock = s_.db.Lock();
    auto server = Servers::FindOwned(s_, ex.UserId(), form.Get("id"));
    if (!server) {
        ex.Text("服务器不存在");
        return;
    }
    const char* caption = PeriodCaption(period);
    if (caption == nullptr) {
        ex.Text("续费周期不正确");
        return;
    }
    if (server->refund) {
        ex.Text("退款审核中的服务器不能续费");
        return;
    }
    auto st = s_.db.Prepare("SELECT day, month, annual FROM products WHERE id=?");
    st.Bind(server->product_id);
    st.Step();
    std::int64_t price = period == "day" ? st.Int(0) : period == "month" ? st.Int(1) : st.Int(2);
    st.Reset();
    if (price <= 0) {
        ex.Text("该产品不支持按" + std::string(caption) + "续费");
        return;
    }
    // An expired server is renewed from today, not from its old expiry.
    std::int64_t from = std::max(server->end_time, Now());
    std::int64_t until = 0;
    AddPeriod(from, period, 1, until);
    Transaction tx(s_.db);
    if (!Debit(s_.db, ex.UserId(), price * 100,
               "续费云服务器 #" + std::to_string(server->id) + "（" + caption + "）")) {
        ex.Text("余额不足，请先充值");
        return;
    }
    s_.db.Prepare("UPDATE servers SET end_time=? WHERE id=?").Bind(until).Bind(server->id).Run();
    tx.Commit();
    ex.Text("1000");
}

}  // namespace platformd
