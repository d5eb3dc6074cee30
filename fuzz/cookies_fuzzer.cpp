// Cookie texts, reply header blocks and URLs as a hostile platform or a broken proxy could
// send them.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "FuzzCheck.h"
#include "net/Cookies.h"
#include "net/HeaderNames.h"
#include "net/Text.h"
#include "net/Url.h"

namespace net = vpsdesk::net;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string separator = input.ConsumeRandomLengthString(3);
    std::string old_cookies = input.ConsumeRandomLengthString(256);
    std::string new_cookies = input.ConsumeRandomLengthString(256);
    const std::string block = input.ConsumeRemainingBytesAsString();

    const std::string unique = net::ListRemoveDuplicates(block, separator);
    if (!separator.empty()) {
        std::vector<std::string> items = net::SplitText(unique, separator);
        std::sort(items.begin(), items.end());
        FUZZ_CHECK(std::adjacent_find(items.begin(), items.end()) == items.end());
    }

    const std::string merged = net::CookieMerge(old_cookies, new_cookies);
    const std::vector<std::string> merged_items = net::SplitText(merged, "; ");
    for (const std::string& item : merged_items) FUZZ_CHECK(!net::EndsWithText(item, "=deleted"));
    // What the reply set wins: each of its cookies is kept as it came.
    for (const std::string& item : net::SplitText(new_cookies, "; ")) {
        if (item.empty() || net::EndsWithText(item, "=deleted")) continue;
        FUZZ_CHECK(std::find(merged_items.begin(), merged_items.end(), item) != merged_items.end());
    }
    (void)net::CookieName(block);

    (void)net::CollectReplyCookies(block);
    const std::string headers = net::NormalizeHeaderNames(block);
    FUZZ_CHECK(net::NormalizeHeaderNames(headers) == headers);

    const net::UrlParts parts = net::SplitUrl(block);
    FUZZ_CHECK(parts.host == net::UrlHost(block));
    FUZZ_CHECK(parts.port == net::UrlPort(block));
    FUZZ_CHECK(parts.path == net::UrlPath(block));
    FUZZ_CHECK(parts.secure == net::IsSecureUrl(block));
    (void)net::UrlHost(block, true);
    return 0;
}
