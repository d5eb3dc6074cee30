#pragma once
// What the client does after a server operation's reply: which box it shows, and whether
// the server list is refreshed and the operation's window closed. Reading the replies
// here keeps every rule of the reply tables in one widget-free place.
#include <string>
#include <string_view>

namespace vpsdesk::servers {

enum class BoxKind {
    None,
    Plain,    // a message box with an OK button
    Toolkit,  // the toolkit's message box, with a title
    Timed,    // a box with a title that closes itself after kTimedBoxMs
};

inline constexpr int kTimedBoxMs = 5000;

struct OperationOutcome {
    BoxKind box = BoxKind::None;
    std::string title;
    std::string text;
    bool refresh = false;  // run the server list refresh afterwards
    bool close = false;    // close the operation's window afterwards
    bool done = false;     // the platform carried the operation out

    bool operator==(const OperationOutcome&) const = default;
};

inline constexpr std::string_view kNetworkFailedText = "网络连接失败，请检查网络后重试";

// Where an operation would show an empty text, or nothing, for a request that never got
// an answer, the customer is told that the network failed instead. A prescribed text
// ("设置失败", "重置失败") stays as it is.
OperationOutcome WithNetworkFailure(OperationOutcome outcome, bool network_failed);

// Restart: the reply's "status" as JSON text equal to "200" (the number, not the string).
OperationOutcome RestartOutcome(std::string_view reply);
// Set remark: result codes "1000" and "1002"; the window closes whatever the result.
OperationOutcome RemarkOutcome(std::string_view reply);
// Install OS: without a chosen OS id nothing is sent and nothing refreshed.
OperationOutcome InstallWithoutOsOutcome();
OperationOutcome InstallOutcome(std::string_view reply);
// Change password: the local check before any request, then the result codes.
bool PasswordsMatch(std::string_view password, std::string_view repeat);
OperationOutcome PasswordMismatchOutcome();
OperationOutcome PasswordOutcome(std::string_view reply);
// Refund: the text after the last "错误：", or the success text for a reply without it.
OperationOutcome RefundOutcome(std::string_view reply);
// Renewal: "1000" renews; any other reply is shown as it stands and the window stays.
OperationOutcome RenewOutcome(std::string_view reply);
OperationOutcome InsufficientBalanceOutcome();

}  // namespace vpsdesk::servers
