#pragma once
// One page of the server list as the platform's reply describes it, read into plain rows.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "servers/ServerRow.h"

namespace vpsdesk::servers {

inline constexpr std::string_view kEmptyListNotice = "没有开通的云服务器";
inline constexpr std::string_view kExpiredStatus = "已到期";
inline constexpr std::string_view kRunningStatus = "运行中";

// The page selector offers at most this many pages. A reply claiming an absurd count must
// not make the client build millions of selector entries.
inline constexpr long long kMaxPageEntries = 10000;
// A page holds five rows; a hostile reply must not build a huge table either.
inline constexpr std::size_t kMaxRowsPerReply = 100;

struct ServerPage {
    // The reply was a JSON document with a "count". Anything else (a failed request, an
    // error page, another document) says nothing about the servers and changes nothing.
    bool readable = false;
    long long count = 0;  // every server of the account, all pages
    // Entries of the page selector: ServerPageCount(count), at most kMaxPageEntries.
    long long page_count = 0;
    // One row per "VPStypeID" in the reply, at most kMaxRowsPerReply; columns 5 and 7 are
    // never filled.
    std::vector<ServerRow> rows;

    bool Empty() const { return count < 1; }
};

// count / 5 rounded up, with the 1e-7 tolerance of a double division; 0 for count < 1.
long long ServerPageCount(long long count);

// Case-insensitive, non-overlapping occurrences of "VPStypeID" anywhere in the reply.
std::size_t CountServerRows(std::string_view reply);

// `zt` replaces `status` unless it is empty or the server has expired.
std::string DisplayStatus(std::string_view status, std::string_view zt);

// The reply text of the server list request; an empty or unparsable reply is not readable
// and reads as count 0.
ServerPage ParseServerPage(std::string_view reply);

}  // namespace vpsdesk::servers
