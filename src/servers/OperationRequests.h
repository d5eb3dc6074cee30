#pragma once
// The requests of the server operations and the renewal, as plain values: the path under
// the base URL (query included), the form body, the extra header lines and whether
// redirects are followed. Sending them is the caller's business.
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::servers {

struct OperationRequest {
    bool post = false;
    std::string path;     // under the base URL, query included
    std::string form;     // the form body, values as they stand (not URL-encoded)
    std::string headers;  // extra header lines joined by "\r\n"; empty for none
    std::optional<bool> no_redirect;

    // The path without its query: the name the reply reading goes by.
    std::string_view ReplyPath() const;
    bool operator==(const OperationRequest&) const = default;
};

// What came back: the reply as text, and whether the network failed before the platform
// could answer (as opposed to the platform answering, whatever it said).
struct OperationReply {
    std::string text;
    bool network_failed = false;
};

OperationRequest RestartRequest(std::string_view id);
// The platform checks the signed-in account's name and password with every remark.
OperationRequest RemarkRequest(std::string_view account, std::string_view password,
                               std::string_view id, std::string_view remark);
OperationRequest OsListRequest(std::string_view id);
OperationRequest InstallRequest(std::string_view os_id, std::string_view id);
OperationRequest PasswordRequest(std::string_view new_password, std::string_view id);
// `host` is the platform's host name, sent in the request's own "Host" line.
OperationRequest RefundRequest(std::string_view id, std::string_view host);
OperationRequest RenewalPricesRequest(std::string_view id);
// `period` is "day", "month" or "Annual"; the field is "year" whatever the period.
OperationRequest RenewRequest(std::string_view period, std::string_view id);

}  // namespace vpsdesk::servers
