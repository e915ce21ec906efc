// A MessageBoxes that records every box and answers from a queue instead of blocking.
#pragma once

#include "core/ports.h"

#include <deque>
#include <string>
#include <vector>

namespace kestrin::testing {

struct ShownBox {
    std::string text, title;
    Buttons buttons;
    bool operator==(const ShownBox&) const = default;
};

struct RecordingMessageBoxes : MessageBoxes {
    Answer show(const std::string& text, const std::string& title, Buttons buttons) override {
        shown.push_back({text, title, buttons});
        const Answer next = answers.empty() ? Answer::Ok : answers.front();
        answers.erase(answers.begin(), answers.begin() + !answers.empty());
        return next;
    }
    std::vector<ShownBox> shown;
    std::deque<Answer> answers; // answered in order; Ok once empty
};

} // namespace kestrin::testing
