#include "cli/OperationResult.h"

namespace vpsdesk::cli {

CommandResult OperationResult(const servers::OperationOutcome& outcome,
                              const platform::PlatformResponse& reply) {
    const servers::OperationOutcome shown =
        servers::WithNetworkFailure(outcome, reply.network_failed);
    if (shown.done) return CommandResult::Done(shown.text.empty() ? "" : shown.text + "\n");
    return CommandResult::Failed(reply.network_failed ? kExitNetwork : kExitRefused,
                                 shown.text.empty() ? reply.text : shown.text);
}

}  // namespace vpsdesk::cli
