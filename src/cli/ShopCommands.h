#pragma once
// The shop's commands: the catalogue, a purchase and a recharge card.
#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

// The product types; with a type its regions; with a region too its products.
CommandResult RunCatalog(CommandContext& context);
// Spends money: confirmed on a terminal or by --yes. Without --os it lists the systems.
CommandResult RunBuy(CommandContext& context);
// The card number is an argument; its password comes from the console.
CommandResult RunRedeem(CommandContext& context);

}  // namespace vpsdesk::cli
