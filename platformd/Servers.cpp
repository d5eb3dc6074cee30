#include "Servers.h"

#include "Database.h"
#include "Exchange.h"
#include "PasswordHash.h"
#include "Router.h"
#include "Rules.h"
#include "Text.h"

namespace platformd {

namespace {

std::string RamText(std::int64_t mb) {
    return mb >= 1024 && mb % 1024 == 0 ? std::to_string(mb / 1024) + "G"
                                        : std::to_string(mb) + "M";
}

bool IsDigits(const std::string& text) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

std::optional<Servers::Owned> Servers::FindOwned(Services& s, std::int64_t user_id,
                                                 const std::string& id) {
    if (user_id == 0 || !IsDigits(id)) return std::nullopt;
    auto st = s.db.Prepare(
        "SELECT s.id, s.product_id, p.type_id, s.end_time, s.busy_until, s.refund FROM servers s "
        "JOIN products p ON p.id=s.product_id WHERE s.id=? AND s.user_id=?");
    st.Bind(ReadInteger(id)).Bind(user_id);
    if (!st.Step()) return std::nullopt;
    return Owned{st.Int(0), st.Int(1), st.Int(2), st.Int(3), st.Int(4), st.Int(5) != 0};
}

void Servers::Register(Router& router) {
    router.Any("/user/data/vpslist", [this](Exchange& ex) { List(ex); });
    router.Any("/user/data/vpscz", [this](Exchange& ex) { Restart(ex); });
    router.Post("/user/data/vpsbz", [this](Exchange& ex) { SetRemark(ex); });
    router.Post("/user/VPSIDos", [this](Exchange& ex) { OsList(ex); });
    router.Post("/user/data/installos", [this](Exchange& ex) { Install(ex); });
    router.Post("/user/data/vpspassword", [this](Exchange& ex) { ChangePassword(ex); });
    router.Any("/user/ajax_tk_mng.asp", [this](Exchange& ex) { Refund(ex); });
    renewal_.Register(router);
}

void Servers::List(Exchange& ex) {
    if (ex.UserId() == 0) {
        ex.Status(401, "请先登录");
        return;
    }
    // Clamped, so the row offset below cannot overflow.
    long long page = std::clamp(ReadInteger(ex.Query("page")), 1LL, 1000000LL);
    long long limit = ex.Req().has_param("limit") ? ReadInteger(ex.Query("limit")) : 5;
    limit = std::clamp(limit, 1LL, 100LL);
    std::int64_t now = Now();
    nlohmann::ordered_json doc;
    auto lock = s_.db.Lock();
    auto count = s_.db.Prepare("SELECT COUNT(*) FROM servers WHERE user_id=?");
    count.Bind(ex.UserId());
    doc["count"] = count.Step() ? count.Int(0) : 0;
    doc["data"] = nlohmann::ordered_json::array();
    auto st = s_.db.Prepare(
        "SELECT s.id, t.name, t.id, s.name, s.address, s.password, p.cpu, p.ram_mb, p.mbps, "
        "s.end_time, s.state, s.remark, s.busy_until, s.busy_text, s.refund FROM servers s "
        "JOIN products p ON p.id=s.product_id JOIN types t ON t.id=p.type_id "
        "WHERE s.user_id=? ORDER BY s.id LIMIT ? OFFSET ?");
    st.Bind(ex.UserId()).Bind(limit).Bind((page - 1) * limit);
    while (st.Step()) {
        bool expired = st.Int(9) <= now;
        std::string zt = st.Int(12) > now ? st.Text(13) : st.Int(14) ? "退款审核中" : "";
        nlohmann::ordered_json row;
        row["id"] = st.Int(0);
        row["VPStype"] = st.Text(1);
        row["VPStypeID"] = st.Int(2);
        row["vpsname"] = st.Text(3);
        row["ycdz"] = st.Text(4);
        row["VPSpassword"] = st.Text(5);
        row["CpuNum"] = std::to_string(st.Int(6));
        row["MaxRAM"] = RamText(st.Int(7));
        row["Maxmbps8"] = std::to_string(st.Int(8)) + "M";
        row["endtime"] = FormatTime(st.Int(9));
        row["status"] = expired ? "已到期" : st.Text(10);
        row["corewhatuser"] = st.Text(11);
        row["zt"] = zt;
        doc["data"].push_back(row);
    }
    ex.Json(doc);
}

void Servers::Restart(Exchange& ex) {
    if (ex.UserId() == 0) {
        ex.Status(401, "请先登录");
        return;
    }
    auto lock = s_.db.Lock();
    auto server = FindOwned(s_, ex.UserId(), ex.Query("id"));
    std::int64_t now = Now();
    if (!server) {
        ex.Status(404, "服务器不存在");
    } else if (ex.Query("cz") != "reset") {
        ex.Status(400, "不支持的操作");
    } else if (server->end_time <= now) {
        ex.Status(500, "服务器已到期，请先续费");
    } else if (server->refund) {
        ex.Status(500, "服务器退款审核中，无法操作");
    } else if (server->busy_until > now) {
        ex.Status(500, "服务器正在操作中，请稍后再试");
    } else {
        s_.db
            .Prepare(
                "UPDATE servers SET state='运行中', busy_until=?, busy_text='重启中' WHERE id=?")
            .Bind(now + s_.busy_seconds)
            .Bind(server->id)
            .Run();
        ex.Status(200, "操作成功");
    }
}

void Servers::SetRemark(Exchange& ex) {
    FormBody form = ex.Form({"username", "password", "id", "bz"});
    std::string remark = form.Get("bz");
    // The client sends the remark raw: an "&" splits the form, and a "+" or "%XX" would be
    // stored as something else than what the customer typed. Refused, not altered.
    if (!form.Readable() || form.Raw("bz") != remark) {
        ex.Text("1002");
        return;
    }
    std::int64_t user = ex.UserId();
    PasswordHash stored;
    {
        auto lock = s_.db.Lock();
        auto st = s_.db.Prepare("SELECT salt, hash FROM users WHERE id=? AND name=?");
        st.Bind(user).Bind(form.Get("username"));
        if (user == 0 || !st.Step() || !FindOwned(s_, user, form.Get("id"))) {
            ex.Text("1001");
            return;
        }
        stored = {st.Text(0), st.Text(1)};
    }
    if (!CheckPassword(form.Get("password"), stored)) {
        ex.Text("1001");
        return;
    }
    // Any printable text is kept exactly as typed; control characters and over-long
    // remarks are refused.
    size_t chars = 0;
    for (unsigned char c : remark) {
        if (c < 0x20 || c == 0x7F) {
            ex.Text("1002");
            return;
        }
        chars += (c & 0xC0) != 0x80;
    }
    if (chars > 50) {
        ex.Text("1002");
        return;
    }
    auto lock = s_.db.Lock();
    s_.db.Prepare("UPDATE servers SET remark=? WHERE id=? AND user_id=?")
        .Bind(remark)
        .Bind(ReadInteger(form.Get("id")))
        .Bind(user)
        .Run();
    ex.Text("1000");
}

void Servers::OsList(Exchange& ex) {
    nlohmann::ordered_json doc;
    doc["count"] = 0;
    doc["data"] = nlohmann::ordered_json::array();
    auto lock = s_.db.Lock();
    if (auto server = FindOwned(s_, ex.UserId(), ex.Form({"id"}).Get("id"))) {
        auto st = s_.db.Prepare("SELECT id, name FROM os WHERE type_id=? ORDER BY id");
        st.Bind(server->type_id);
        while (st.Step()) doc["data"].push_back({{"osid", st.Int(0)}, {"osname", st.Text(1)}});
        doc["count"] = doc["data"].size();
    }
    ex.Json(doc);
}

void Servers::Install(Exchange& ex) {
    FormBody form = ex.Form({"osid", "id"});
    auto lock = s_.db.Lock();
    auto server = FindOwned(s_, ex.UserId(), form.Get("id"));
    std::int64_t now = Now();
    if (!server) {
        ex.Text("1001");
        return;
    }
    auto os = s_.db.Prepare("SELECT id FROM os WHERE id=? AND type_id=?");
    os.Bind(ReadInteger(form.Get("osid"))).Bind(server->type_id);
    if (!IsDigits(form.Get("osid")) || !os.Step()) {
        ex.Text("1001");
    } else if (server->end_time <= now || server->refund) {
        ex.Text("1002");
    } else if (server->busy_until > now) {
        ex.Text("1003");
    } else {
        std::int64_t os_id = os.Int(0);
        os.Reset();
        s_.db.Prepare("UPDATE servers SET os_id=?, busy_until=?, busy_text='重装系统中' WHERE id=?")
            .Bind(os_id)
            .Bind(now + s_.busy_seconds)
            .Bind(server->id)
            .Run();
        ex.Text("1000");
    }
}

void Servers::ChangePassword(Exchange& ex) {
    FormBody form = ex.Form({"password", "id"});
    std::string password = form.Get("password");
    auto lock = s_.db.Lock();
    auto server = FindOwned(s_, ex.UserId(), form.Get("id"));
    if (!server || server->end_time <= Now()) {
        ex.Text("1001");
    } else if (!IsPasswordFormat(password)) {
        ex.Text("1002");
    } else if (HasDigitRun(password)) {
        ex.Text("1003");
    } else {
        s_.db.Prepare("UPDATE servers SET password=? WHERE id=?")
            .Bind(password)
            .Bind(server->id)
            .Run();
        ex.Text("1000");
    }
}

void Servers::Refund(Exchange& ex) {
    if (ex.Query("module") != "sqtk") {
        ex.Html("错误：未知操作");
        return;
    }
    auto lock = s_.db.Lock();
    auto server = FindOwned(s_, ex.UserId(), ex.Query("id"));
    if (ex.UserId() == 0) {
        ex.Html("错误：请先登录");
    } else if (!server) {
        ex.Html("错误：服务器不存在");
    } else if (server->refund) {
        ex.Html("错误：该服务器已提交退款申请，请勿重复提交");
    } else if (server->end_time <= Now()) {
        ex.Html("错误：已到期的服务器不能退款");
    } else {
        s_.db.Prepare("UPDATE servers SET refund=1 WHERE id=?").Bind(server->id).Run();
        ex.Html("提交成功");
    }
}

}  // namespace platformd
