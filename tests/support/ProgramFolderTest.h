#pragma once
// A temporary folder that stands in for the program folder, where config.ini and History/
// live, for the length of one test.
#include <fstream>
#include <string>
#include <string_view>

#include "TempFolderTest.h"
#include "net/Gbk.h"
#include "os/ProgramFolder.h"

namespace vpsdesk::test {

class ProgramFolderTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        os::OverrideProgramFolder(dir_);
    }
    void TearDown() override {
        os::OverrideProgramFolder({});
        TempFolderTest::TearDown();
    }

    // config.ini from UTF-8 text, stored in GBK as the client stores it.
    void PutConfig(std::string_view utf8) const {
        std::ofstream(dir_ / "config.ini", std::ios::binary) << net::Utf8ToGbk(utf8);
    }
    // config.ini as UTF-8 text.
    std::string ConfigText() const { return net::GbkToUtf8(Bytes(dir_ / "config.ini")); }
};

}  // namespace vpsdesk::test
