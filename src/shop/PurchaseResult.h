#pragma once
// The order reply: "status" read as JSON text, so only the number 200 is success (the
// string "200" reads with its quotes and fails), and "data", the text the customer reads
// when it fails.
#include <string>
#include <string_view>

namespace vpsdesk::shop {

inline constexpr std::string_view kOrderNetworkFailedText = "网络连接失败，请检查网络后重试";

struct PurchaseResult {
    bool success = false;
    std::string data;

    // An empty or unreadable reply is a failure with empty data; where the request never
    // got an answer, the customer is told so instead of reading an empty box.
    static PurchaseResult FromReply(std::string_view reply, bool network_failed = false);
};

}  // namespace vpsdesk::shop
