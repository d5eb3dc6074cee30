#pragma once
// A server page over a reference platform whose replies each test scripts. One platform,
// without demo data, serves the whole suite and is reset before every test.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "net/Gbk.h"
#include "servers/gui/ServerListPage.h"

namespace vpsdesk::ui::guitest {

class ScriptedPageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { platform_ = new LocalPlatform("scripted-page", false); }
    static void TearDownTestSuite() {
        delete platform_;
        platform_ = nullptr;
    }

    void SetUp() override {
        platform_->Control("reset", {}, true);
        page_ = std::make_unique<servers::ServerListPage>();
        page_->SetSite(platform_->Site());
        page_->SetPageText(QStringLiteral("1"));
        page_->show();
        PumpUntil([&] { return page_->isVisible(); });
    }
    void TearDown() override { page_.reset(); }

    // The next reply for `path` is `utf8_body`, sent as GBK, with HTTP `status`.
    static void Script(const std::string& path, const std::string& utf8_body, int status = 200) {
        platform_->Script(path, net::Utf8ToGbk(utf8_body), status);
    }

    static inline LocalPlatform* platform_ = nullptr;
    std::unique_ptr<servers::ServerListPage> page_;
};

}  // namespace vpsdesk::ui::guitest
