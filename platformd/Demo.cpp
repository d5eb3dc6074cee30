#include "Demo.h"

#include <algorithm>

#include "Database.h"
#include "Ledger.h"
#include "PasswordHash.h"
#include "Rules.h"

namespace platformd {

namespace {

std::int64_t AddUser(Database& db, const std::string& name, const std::string& mobile,
                     const std::string& truename, const std::string& perid, std::int64_t balance) {
    PasswordHash hash = HashPassword(Demo::kPassword);
    db.Prepare(
          "INSERT INTO users(name, mobile, salt, hash, truename, perid, verified, qq, email, "
          "balance) VALUES(?,?,?,?,?,?,?,?,?,?)")
        .Bind(name)
        .Bind(mobile)
        .Bind(hash.salt)
        .Bind(hash.hash)
        .Bind(truename)
        .Bind(perid)
        .Bind(truename.empty() ? 0 : 1)
        .Bind(std::string("10001"))
        .Bind(name + "@example.com")
        .Bind(balance)
        .Run();
    return db.LastInsertId();
}

struct ProductRow {
    int type, line;
    const char* model;
    int cpu, ram_mb, disk, mbps, day, month, annual;
    const char* zy;
    const char* lx;
};

struct ServerRow {
    int user, product;
    const char* name;
    int port;
    const char* password;
    int days_left;
    const char* state;
    const char* remark;
};

}  // namespace

std::string Demo::Seed(Database& db) {
    Transaction tx(db);
    std::int64_t demo = AddUser(db, kAccount, "13800138000", "张三", "11010519491231002X", 50000);
    std::int64_t second = AddUser(db, kSecondAccount, kSecondAccount, "", "", 0);

    for (const char* type : {"云服务器", "显卡云服务器", "挂机宝"}) {
        db.Prepare("INSERT INTO types(name) VALUES(?)").Bind(type).Run();
    }
    for (const char* line : {"华东一区", "华南二区"}) {
        db.Prepare("INSERT INTO lines(name) VALUES(?)").Bind(line).Run();
    }
    const ProductRow products[] = {
        {1, 1, "标准型S1", 2, 4096, 40, 5, 0, 30, 300, "自营", "KVM"},
        {1, 1, "标准型S2", 4, 8192, 80, 10, 3, 60, 600, "自营", "KVM"},
        {1, 2, "经济型E1", 1, 2048, 40, 3, 2, 20, 200, "代理", "KVM"},
        {2, 1, "显卡型G1", 8, 16384, 100, 20, 20, 399, 3999, "自营", "GPU"},
    };
    for (const ProductRow& p : products) {
        db.Prepare(
              "INSERT INTO products(type_id, line_id, model, cpu, ram_mb, disk_gb, mbps, day, "
              "month, annual, zy, lx) VALUES(?,?,?,?,?,?,?,?,?,?,?,?)")
            .Bind(p.type)
            .Bind(p.line)
            .Bind(p.model)
            .Bind(p.cpu)
            .Bind(p.ram_mb)
            .Bind(p.disk)
            .Bind(p.mbps)
            .Bind(p.day)
            .Bind(p.month)
            .Bind(p.annual)
            .Bind(p.zy)
            .Bind(p.lx)
            .Run();
    }
    const std::pair<int, const char*> systems[] = {{1, "Windows Server 2019 数据中心版"},
                                                   {1, "Windows Server 2022 标准版"},
                                                   {1, "Ubuntu 22.04"},
                                                   {2, "Windows 10 专业版"},
                                                   {2, "Windows Server 2019 GPU版"},
                                                   {3, "Windows 7 旗舰版"}};
    for (const auto& [type, name] : systems) {
        db.Prepare("INSERT INTO os(type_id, name) VALUES(?,?)").Bind(type).Bind(name).Run();
    }

    std::int64_t now = Now();
    const ServerRow servers[] = {
        {1, 1, "vps10001", 33891, "Demo@Pass1", 30, "运行中", ""},
        {1, 2, "vps10002", 33892, "Demo@Pass2", 90, "运行中", "数据库"},
        {1, 3, "vps10003", 33893, "Demo@Pass3", 60, "已停止", ""},
        {1, 4, "vps10004", 33894, "Demo@Pass4", 10, "运行中", "渲染机"},
        {1, 1, "vps10005", 33895, "Demo@Pass5", -5, "运行中", ""},
        {1, 2, "vps10006", 33896, "Demo@Pass6", -40, "运行中", "旧机器"},
        {1, 3, "vps10007", 33897, "Demo@Pass7", 365, "运行中", ""},
        {2, 3, "vps10008", 33898, "Demo@Pass8", 30, "运行中", ""},
    };
    for (const ServerRow& s : servers) {
        db.Prepare(
              "INSERT INTO servers(user_id, product_id, name, address, password, start_time, "
              "end_time, state, remark, os_id) VALUES(?,?,?,?,?,?,?,?,?,1)")
            .Bind(s.user == 1 ? demo : second)
            .Bind(s.product)
            .Bind(s.name)
            .Bind("127.0.0.1:" + std::to_string(s.port))
            .Bind(s.password)
            .Bind(now - 120LL * 86400)
            .Bind(now + s.days_left * 86400LL)
            .Bind(s.state)
            .Bind(s.remark)
            .Run();
    }

    std::string cards;
    const std::pair<const char*, std::int64_t> card_rows[] = {
        {"CZK100001", 5000}, {"CZK100002", 10000}, {"CZK100003", 20000}};
    int n = 0;
    for (const auto& [number, amount] : card_rows) {
        std::string password = "pass" + std::to_string(2001 + 1111 * n++);
        db.Prepare("INSERT INTO cards(number, password, amount) VALUES(?,?,?)")
            .Bind(number)
            .Bind(password)
            .Bind(amount)
            .Run();
        cards += std::string("  card ") + number + " / " + password + " (" + FormatMoney(amount) +
                 " 元)\n";
    }

    const std::pair<std::int64_t, const char*> history[] = {
        {100000, "充值卡充值"},
        {-3000, "购买标准型S1（一个月）"},
        {-6000, "购买标准型S2（一个月）"},
        {-2000, "购买经济型E1（一个月）"},
        {-39900, "购买显卡型G1（一个月）"},
        {20000, "在线充值"},
        {-3000, "续费云服务器 #1（一个月）"},
        {-6000, "续费云服务器 #2（一个月）"},
    };
    int day = 30;
    for (const auto& [amount, what] : history) {
        AddRecord(db, demo, now - day-- * 86400LL, amount > 0 ? amount : 0,
                  amount < 0 ? -amount : 0, what);
    }
    tx.Commit();

    return std::string("demo account: ") + kAccount + " / " + kPassword +
           " (real-name verified, balance 500.00 元)\n" + "second account: " + kSecondAccount +
           " / " + kPassword + " (not verified)\n" + "recharge cards:\n" + cards;
}

std::string Demo::SeedCustomers(Database& db, int count) {
    if (count <= 0) return {};
    // One slow hash serves every seeded account: hashing each would add seconds to a start.
    const PasswordHash hash = HashPassword(kPassword);
    const std::int64_t now = Now();
    Transaction tx(db);
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        db.Prepare(
              "INSERT INTO users(name, mobile, salt, hash, truename, perid, verified, qq, email, "
              "balance) VALUES(?,?,?,?,?,?,1,'',?,10000)")
            .Bind(CustomerName(n))
            .Bind("137" + std::string(8 - std::min<size_t>(8, number.size()), '0') + number)
            .Bind(hash.salt)
            .Bind(hash.hash)
            .Bind(std::string("李四"))
            .Bind(std::string("11010519491231002X"))
            .Bind(CustomerName(n) + "@example.com")
            .Run();
        const std::int64_t user = db.LastInsertId();
        db.Prepare(
              "INSERT INTO servers(user_id, product_id, name, address, password, start_time, "
              "end_time, state, remark, os_id) VALUES(?,1,?,?,'Load@Pass1',?,?,'运行中','',1)")
            .Bind(user)
            .Bind("load" + number)
            .Bind("127.0.0.1:" + std::to_string(40000 + n % 20000))
            .Bind(now - 86400)
            .Bind(now + 30 * 86400LL)
            .Run();
    }
    tx.Commit();
    return "customers: " + CustomerName(1) + " ... " + CustomerName(count) + " / " + kPassword +
           " (real-name verified, one running server each)\n";
}

std::string Demo::CustomerName(int n) {
    return "customer" + std::to_string(n);
}

std::string Demo::PointRunningServersAt(Database& db, const std::string& address,
                                        const std::string& password) {
    db.Prepare("UPDATE servers SET address = ? WHERE state = '运行中'").Bind(address).Run();
    if (!password.empty())
        db.Prepare("UPDATE servers SET password = ? WHERE state = '运行中'").Bind(password).Run();
    return "running servers connect to " + address + "\n";
}

}  // namespace platformd
