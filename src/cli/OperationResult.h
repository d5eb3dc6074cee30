#pragma once
// A server operation's outcome as vpsctl ends with it: the platform's text on stdout when
// it was carried out, else on stderr with the status telling a refusal from no answer.
#include "cli/CommandResult.h"
#include "platform/PlatformRequest.h"
#include "servers/OperationOutcome.h"

namespace vpsdesk::cli {

// Where the window would show nothing for a refusal, the reply is shown as it stands.
CommandResult OperationResult(const servers::OperationOutcome& outcome,
                              const platform::PlatformResponse& reply = {});

}  // namespace vpsdesk::cli
