#pragma once
// The requests of the server operations and the renewal, as plain values: the path under
// the base URL (query included), the form body, the extra header lines and whether
// redirects are followed. Sending them is the caller's business.
#include <string_view>

#include "platform/PlatformRequest.h"

namespace vpsdesk::servers {

using OperationRequest = platform::PlatformRequest;
using OperationReply = platform::PlatformResponse;

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
