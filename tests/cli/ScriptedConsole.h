#pragma once
// A console that answers from a script, as piped standard input or a terminal would, and
// remembers what it was asked.
#include <deque>
#include <string>
#include <vector>

#include "cli/Console.h"

namespace vpsdesk::cli::test {

class ScriptedConsole : public Console {
  public:
    bool terminal = false;
    std::deque<std::string> answers;
    struct Question {
        std::string prompt;
        bool echo;
    };
    std::vector<Question> asked;

    bool IsTerminal() override { return terminal; }
    std::optional<std::string> ReadLine(std::string_view prompt, bool echo) override {
        asked.push_back({std::string(prompt), echo});
        if (answers.empty()) return std::nullopt;
        std::string answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace vpsdesk::cli::test
