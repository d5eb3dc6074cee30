#include <bit>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>

#include "net/EcmaNumber.h"

using vpsdesk::net::EcmaNumberToString;

// number_to_string.txt holds "<bits in hex> <text>" lines written by a JavaScript engine
// (see gen_number_to_string.js next to it).
TEST(EcmaNumber, MatchesJavaScriptEngineOutput) {
    std::ifstream file(VPSDESK_TEST_DATA "/number_to_string.txt");
    ASSERT_TRUE(file) << "missing test data";
    std::string line;
    int checked = 0;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string hex, expected;
        ASSERT_TRUE(fields >> hex >> expected) << line;
        double value = std::bit_cast<double>(std::stoull(hex, nullptr, 16));
        EXPECT_EQ(EcmaNumberToString(value), expected) << "bits " << hex;
        ++checked;
    }
    EXPECT_GT(checked, 400);
}

TEST(EcmaNumber, LayoutSwitchesAtTheDocumentedBounds) {
    EXPECT_EQ(EcmaNumberToString(1000), "1000");
    EXPECT_EQ(EcmaNumberToString(12.50), "12.5");
    EXPECT_EQ(EcmaNumberToString(-0.0), "0");
    EXPECT_EQ(EcmaNumberToString(1e21), "1e+21");
    EXPECT_EQ(EcmaNumberToString(999999999999999900000.0), "999999999999999900000");
    EXPECT_EQ(EcmaNumberToString(0.000001), "0.000001");
    EXPECT_EQ(EcmaNumberToString(1e-7), "1e-7");
    EXPECT_EQ(EcmaNumberToString(-1.5e-7), "-1.5e-7");
    EXPECT_EQ(EcmaNumberToString(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(EcmaNumberToString(-std::numeric_limits<double>::infinity()), "-Infinity");
}
