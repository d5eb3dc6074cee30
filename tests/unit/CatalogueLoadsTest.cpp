// The purchase page's three stages as the platform and the customer see them: the
// requests each sends, in order, and what the selectors and the product list become.
#include <gtest/gtest.h>

#include "ScriptedCatalogue.h"
#include "shop/CatalogueCount.h"
#include "shop/CatalogueLoads.h"
#include "shop/ProductRow.h"

using namespace vpsdesk::shop;
using vpsdesk::test::ScriptedCatalogue;

namespace {

using Cells = std::array<std::string, kProductColumns>;

constexpr const char* kProduct =
    R"({"id":12,"VPStype":"云电脑A","CpuNum":2,"MAXRAM":2048,"MAXSPACE":40,"Maxmbps8":5,)"
    R"("month":39,"zy":"自营","lx":"KVM"})";

struct RowsCase {
    const char* name;
    std::string reply;
    std::vector<Cells> expected;
};

const Cells kFull = {"云电脑A", "2核", "2048M", "40G", "5M", "39元/月", "12", "自营", "KVM"};
const Cells kUnitsOnly = {"", "核", "M", "G", "M", "元/月", "", "", ""};

}  // namespace

TEST(ProductRows, CellsCarryTheirUnitsAndTheCountDecidesTheRows) {
    const RowsCase cases[] = {
        {"one product", std::string(R"({"count":1,"data":[)") + kProduct + "]}", {kFull}},
        {"count 3, two elements",
         std::string(R"({"count":3,"data":[)") + kProduct + "," + kProduct + "]}",
         {kFull, kFull, kUnitsOnly}},
        {"count as a string reads 0",
         std::string(R"({"count":"1","data":[)") + kProduct + "]}",
         {}},
        {"elements beyond the count are left out",
         std::string(R"({"count":1,"data":[)") + kProduct + "," + kProduct + "]}",
         {kFull}},
        {"negative count", R"({"count":-2,"data":[]})", {}},
        {"not JSON", "<html>502</html>", {}},
    };
    for (const RowsCase& c : cases) {
        std::vector<Cells> got;
        for (const ProductRow& row : ReadProductRows(c.reply)) got.push_back(row.cells);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(ProductRows, AHugeCountStopsAtTheLimit) {
    EXPECT_EQ(ReadProductRows(R"({"count":2000000000,"data":[]})").size(), kMaxListCount);
}

TEST(LoadProductTypes, AppendsEveryNameAndShowsTheFirst) {
    ScriptedCatalogue platform;
    platform.Reply(
        "/user/cplxlist",
        R"({"count":3,"data":[{"cplxmc":"挂机宝"},{"cplxmc":"云电脑"},{"cplxmc":"挂机宝"}]})");
    const auto update = LoadProductTypes(platform.Sender());
    ASSERT_TRUE(update);
    EXPECT_EQ(update->appended, (std::vector<std::string>{"挂机宝", "云电脑", "挂机宝"}));
    EXPECT_EQ(update->text, "挂机宝");
    EXPECT_EQ(platform.SentLines(), std::vector<std::string>{"GET /user/cplxlist"});
}

TEST(LoadProductTypes, AnEmptyReplyChangesNothingAndAnEmptyListKeepsTheText) {
    ScriptedCatalogue silent;
    EXPECT_FALSE(LoadProductTypes(silent.Sender()));

    ScriptedCatalogue none;
    none.Reply("/user/cplxlist", R"({"count":0,"data":[]})");
    const auto update = LoadProductTypes(none.Sender());
    ASSERT_TRUE(update);
    EXPECT_TRUE(update->appended.empty());
    EXPECT_FALSE(update->text);
}

TEST(LoadRegions, LooksUpTheTypeThenListsItsLinesOnce) {
    ScriptedCatalogue platform;
    platform.Reply("/user/cplxlist", R"({"count":1,"data":[{"id":7}]})", "cplxmc=云电脑");
    platform.Reply("/user/xllist",
                   R"({"count":3,"data":[{"xlmc":"宿迁"},{"xlmc":"宿迁"},{"xlmc":"香港"}]})",
                   "lxid=7");
    const RegionsUpdate update = LoadRegions(platform.Sender(), "云电脑");
    EXPECT_EQ(platform.SentLines(), (std::vector<std::string>{"POST /user/cplxlist cplxmc=云电脑",
                                                              "POST /user/xllist lxid=7"}));
    EXPECT_EQ(update.items, (std::vector<std::string>{"宿迁", "香港"}));
    EXPECT_EQ(update.text, "宿迁");
}

TEST(LoadRegions, WithoutLinesTheSelectorReadsComingSoon) {
    struct Case {
        const char* name;
        const char* lines;
        std::optional<std::vector<std::string>> items;
    };
    const Case cases[] = {
        {"empty reply keeps the items", "", std::nullopt},
        {"count 0 empties them", R"({"count":0,"data":[{"xlmc":"宿迁"}]})",
         std::vector<std::string>{}},
        {"not JSON empties them", "<html>", std::vector<std::string>{}},
    };
    for (const Case& c : cases) {
        ScriptedCatalogue platform;
        platform.Reply("/user/xllist", c.lines);
        const RegionsUpdate update = LoadRegions(platform.Sender(), "云电脑");
        EXPECT_EQ(update.items, c.items) << c.name;
        EXPECT_EQ(update.text, "即将上架") << c.name;
        // The lines are asked for even when the type lookup found nothing.
        EXPECT_EQ(platform.SentLines().back(), "POST /user/xllist lxid=") << c.name;
    }
}

TEST(LoadProducts, LooksUpLineAndTypeThenListsTheProducts) {
    ScriptedCatalogue platform;
    platform.Reply("/user/xlmchq", R"({"data":[{"id":4}]})", "xlmc=宿迁");
    platform.Reply("/user/cplxlist", R"({"data":[{"id":7}]})", "cplxmc=云电脑");
    platform.Reply("/user/ycplist", std::string(R"({"count":1,"data":[)") + kProduct + "]}",
                   "xlid=4&cplxid=7");
    const auto rows = LoadProducts(platform.Sender(), "宿迁", "云电脑");
    EXPECT_EQ(platform.SentLines(),
              (std::vector<std::string>{"POST /user/xlmchq xlmc=宿迁",
                                        "POST /user/cplxlist cplxmc=云电脑",
                                        "POST /user/ycplist xlid=4&cplxid=7"}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells, kFull);
}

TEST(LoadProducts, AnEmptyLookupOrListEmptiesTheList) {
    struct Case {
        const char* name;
        const char* line;
        const char* type;
        const char* products;
        std::size_t requests;
    };
    const std::string products = std::string(R"({"count":1,"data":[)") + kProduct + "]}";
    const Case cases[] = {
        {"empty type lookup", R"({"data":[{"id":4}]})", "", products.c_str(), 2},
        {"empty line lookup", "", R"({"data":[{"id":7}]})", products.c_str(), 2},
        {"empty product list", R"({"data":[{"id":4}]})", R"({"data":[{"id":7}]})", "", 3},
    };
    for (const Case& c : cases) {
        ScriptedCatalogue platform;
        platform.Reply("/user/xlmchq", c.line);
        platform.Reply("/user/cplxlist", c.type);
        platform.Reply("/user/ycplist", c.products);
        EXPECT_TRUE(LoadProducts(platform.Sender(), "宿迁", "云电脑").empty()) << c.name;
        EXPECT_EQ(platform.Sent().size(), c.requests) << c.name;
    }
}
