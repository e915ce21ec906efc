// A MessageBoxes that records every box and answers from a queue instead of blocking.
#pragma once

#include "core/ports.h"

#include <deque>
#include <string>
#include <vector>

namespace kestrin::testing {

struct ShownBox {
    std::string text;
    std::string title;
    Buttons buttons;
    bool operator==(const ShownBox&) const = default;
};

class RecordingMessageBoxes : public MessageBoxes {
public:
    Answer show(const std::string& text, const std::string& title, Buttons buttons) override {
        shown.push_back({text, title, buttons});
        if (answers.empty())
            return Answer::Ok;
        Answer next = answers.front();
        answers.pop_front();
        return next;
    }

    std::vector<ShownBox> shown;
    std::deque<Answer> answers; // answered in order; Ok once empty
};

} // namespace kestrin::testing
