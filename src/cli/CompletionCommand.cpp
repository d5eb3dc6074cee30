#include "cli/CompletionCommand.h"

#include "cli/Command.h"

namespace vpsdesk::cli {
namespace {

constexpr std::string_view kGlobalWords = "--site --ca-file --account --help --version";

std::string Join(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) out += (out.empty() ? "" : "|") + word;
    return out;
}

}  // namespace

std::string BashCompletion() {
    std::string names;
    std::string cases;
    for (const Command& command : CommandTable()) {
        names += std::string(names.empty() ? "" : " ") + std::string(command.name);
        std::string words = "--help";
        for (std::string_view option : command.options) words += " " + std::string(option);
        if (command.name == "rdp-settings") words += " get set";
        cases += "        " + std::string(command.name) + ") words=\"" + words + "\" ;;\n";
    }
    return "# bash completion for vpsctl\n"
           "_vpsctl() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local command=\"\" words i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n"
           "            " + Join(ValueOptions()) + ") ((i++)) ;;\n"
           "            -*) ;;\n"
           "            *) command=${COMP_WORDS[i]}; break ;;\n"
           "        esac\n"
           "    done\n"
           "    case $prev in\n"
           "        --ca-file) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
           "        --period) COMPREPLY=($(compgen -W \"day month year\" -- \"$cur\")); return ;;\n"
           "        " + Join(ValueOptions()) + ") COMPREPLY=(); return ;;\n"
           "    esac\n"
           "    case $command in\n"
           "        \"\") words=\"" + names + " " + std::string(kGlobalWords) + "\" ;;\n" +
           cases +
           "        *) words=\"\" ;;\n"
           "    esac\n"
           "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "}\n"
           "complete -F _vpsctl vpsctl\n";
}

CommandResult RunCompletion(CommandContext&) { return CommandResult::Done(BashCompletion()); }

}  // namespace vpsdesk::cli
