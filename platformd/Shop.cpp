#include "Shop.h"

#include <openssl/rand.h>

#include <stdexcept>

#include "Database.h"
#include "Exchange.h"
#include "Ledger.h"
#include "Renewal.h"
#include "Router.h"
#include "Rules.h"
#include "Text.h"

namespace platformd {

namespace {

using Json = nlohmann::ordered_json;

Json List(Json rows) {
    Json doc;
    doc["count"] = rows.size();
    doc["data"] = std::move(rows);
    return doc;
}

std::string RandomServerPassword() {
    static const char* chars = "abcdefghjkmnpqrstuvwxyzABCDEFGHJKMNPQRSTUVWXYZ";
    unsigned char bytes[12];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no randomness");
    std::string out;
    for (int i = 0; i < 8; ++i) out += chars[bytes[i] % 46];
    for (int i = 8; i < 12; ++i) out += static_cast<char>('0' + bytes[i] % 10);
    return out;
}

}  // namespace

void Shop::Register(Router& router) {
    router.Any("/user/cplxlist", [this](Exchange& ex) { Types(ex); });
    router.Any("/user/xllist", [this](Exchange& ex) { Lines(ex); });
    router.Any("/user/xlmchq", [this](Exchange& ex) { LineByName(ex); });
    router.Any("/user/ycplist", [this](Exchange& ex) { Products(ex); });
    router.Post("/user/ycpjgb", [this](Exchange& ex) { Prices(ex); });
    router.Post("/user/ycpos", [this](Exchange& ex) { OsList(ex); });
    router.Post("/user/data/buy", [this](Exchange& ex) { Buy(ex); });
}

void Shop::Types(Exchange& ex) {
    // A GET lists every type; a POST with "cplxmc" looks one up by name.
    FormBody form = ex.Form({"cplxmc"});
    bool lookup = ex.Req().method == "POST" && form.Has("cplxmc");
    Json rows = Json::array();
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare(lookup ? "SELECT id, name FROM types WHERE name=? ORDER BY id"
                                   : "SELECT id, name FROM types ORDER BY id");
    if (lookup) st.Bind(form.Get("cplxmc"));
    while (st.Step()) rows.push_back({{"id", st.Int(0)}, {"cplxmc", st.Text(1)}});
    ex.Json(List(std::move(rows)));
}

void Shop::Lines(Exchange& ex) {
    Json rows = Json::array();
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare(
        "SELECT DISTINCT l.id, l.name FROM lines l JOIN products p ON p.line_id=l.id "
        "WHERE p.type_id=? ORDER BY l.id");
    st.Bind(ReadInteger(ex.Form({"lxid"}).Get("lxid")));
    while (st.Step()) rows.push_back({{"id", st.Int(0)}, {"xlmc", st.Text(1)}});
    ex.Json(List(std::move(rows)));
}

void Shop::LineByName(Exchange& ex) {
    Json rows = Json::array();
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare("SELECT id, name FROM lines WHERE name=?");
    st.Bind(ex.Form({"xlmc"}).Get("xlmc"));
    while (st.Step()) rows.push_back({{"id", st.Int(0)}, {"xlmc", st.Text(1)}});
    ex.Json(List(std::move(rows)));
}

void Shop::Products(Exchange& ex) {
    FormBody form = ex.Form({"xlid", "cplxid"});
    Json rows = Json::array();
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare(
        "SELECT id, model, cpu, ram_mb, disk_gb, mbps, month, zy, lx FROM products "
        "WHERE line_id=? AND type_id=? ORDER BY id");
    st.Bind(ReadInteger(form.Get("xlid")))
        .Bind(ReadInteger(form.Get("cplxid")));
    while (st.Step()) {
        Json row;
        row["id"] = st.Int(0);
        row["VPStype"] = st.Text(1);
        row["CpuNum"] = st.Int(2);
        row["MAXRAM"] = st.Int(3);
        row["MAXSPACE"] = st.Int(4);
        row["Maxmbps8"] = st.Int(5);
        row["month"] = st.Int(6);
        row["zy"] = st.Text(7);
        row["lx"] = st.Text(8);
        rows.push_back(row);
    }
    ex.Json(List(std::move(rows)));
}

void Shop::Prices(Exchange& ex) {
    Json rows = Json::array();
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare("SELECT day, month, annual FROM products WHERE id=?");
    st.Bind(ReadInteger(ex.Form({"id"}).Get("id")));
    if (st.Step())
        rows.push_back({{"day", st.Int(0)}, {"month", st.Int(1)}, {"Annual", st.Int(2)}});
    ex.Json(List(std::move(rows)));
}

void Shop::OsList(Exchange& ex) {
    Json rows = Json::array();
    auto lock = s_.db.Lock();
    auto st = s_.db.Prepare(
        "SELECT o.id, o.name FROM os o JOIN products p ON p.type_id=o.type_id WHERE p.id=? "
        "ORDER BY o.id");
    st.Bind(ReadInteger(ex.Form({"id"}).Get("id")));
    while (st.Step()) rows.push_back({{"osid", st.Int(0)}, {"osname", st.Text(1)}});
    ex.Json(List(std::move(rows)));
}

void Shop::Buy(Exchange& ex) {
    FormBody form = ex.Form({"year", "id", "osid", "duration"});
    std::string period = form.Get("year");
    long long duration = ReadInteger(form.Get("duration"));
    if (ex.UserId() == 0) {
        ex.Status(401, "请先登录");
        return;
    }
    auto lock = s_.db.Lock();
    auto user = s_.db.Prepare("SELECT verified FROM users WHERE id=?");
    user.Bind(ex.UserId());
    if (!user.Step() || user.Int(0) == 0) {
        ex.Status(403, "请先完成实名认证");
        return;
    }
    auto product =
        s_.db.Prepare("SELECT id, type_id, day, month, annual, model FROM products WHERE id=?");
    product.Bind(ReadInteger(form.Get("id")));
    if (!product.Step()) {
        ex.Status(404, "产品不存在");
        return;
    }
    const char* caption = PeriodCaption(period);
    if (caption == nullptr || duration < 1 || duration > 36) {
        ex.Status(400, "购买时长不正确");
        return;
    }
    auto os = s_.db.Prepare("SELECT id FROM os WHERE id=? AND type_id=?");
    os.Bind(ReadInteger(form.Get("osid"))).Bind(product.Int(1));
    if (!os.Step()) {
        ex.Status(400, "请选择操作系统");
        return;
    }
    std::int64_t price = period == "day"     ? product.Int(2)
                         : period == "month" ? product.Int(3)
                                             : product.Int(4);
    if (price <= 0) {
        ex.Status(400, "该产品不支持按" + std::string(caption) + "购买");
        return;
    }
    std::int64_t product_id = product.Int(0), os_id = os.Int(0);
    std::string model = product.Text(5);
    user.Reset();
    product.Reset();
    os.Reset();
    std::int64_t now = Now();
    std::int64_t until = 0;
    AddPeriod(now, period, static_cast<int>(duration), until);
    Transaction tx(s_.db);
    if (!Debit(s_.db, ex.UserId(), price * duration * 100,
               "购买" + model + "（" + caption + "）")) {
        ex.Status(402, "余额不足，请先充值");
        return;
    }
    s_.db
        .Prepare(
            "INSERT INTO servers(user_id, product_id, name, address, password, start_time, "
            "end_time, state, busy_until, busy_text, os_id) VALUES(?,?,?,'',?,?,?,'运行中',?,?,?)")
        .Bind(ex.UserId())
        .Bind(product_id)
        .Bind(std::string("pending"))
        .Bind(RandomServerPassword())
        .Bind(now)
        .Bind(until)
        .Bind(now + s_.busy_seconds)
        .Bind(std::string("开通中"))
        .Bind(os_id)
        .Run();
    std::int64_t id = s_.db.LastInsertId();
    // Every address handed out is on this machine: the client connects to it.
    s_.db.Prepare("UPDATE servers SET name=?, address=? WHERE id=?")
        .Bind("vps" + std::to_string(10000 + id))
        .Bind("127.0.0.1:" + std::to_string(33890 + id % 1000))
        .Bind(id)
        .Run();
    tx.Commit();
    ex.Status(200, "开通成功");
}

}  // namespace platformd
