#pragma once
// A test fixture for window halves driven in this process against the real platform: an
// offscreen application object, a demo platform child and the demo customer signed in
// through the client's own silent re-login.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace e2e {

class SignedInApplication : public ::testing::Test {
  protected:
    // Starts platformd with `args` and signs the demo customer in; the profile is read
    // into `session_`. Call from SetUp and stop on a fatal failure.
    void StartSignedIn(const std::vector<std::string>& args = {"--demo"});
    void TearDown() override { application_.reset(); }

    int argc_ = 1;
    char name_[10] = "e2e_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
    TempFolder root_;
    std::unique_ptr<Platform> platform_;
    vpsdesk::platform::SiteConstants site_;
    vpsdesk::platform::SessionState session_;
};

}  // namespace e2e
