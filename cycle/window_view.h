#pragma once
// Everything the main window shows after a tick, built in one place: every
// caption by the name of its control, every colour and every look. The
// window applies it as it stands.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cycle/tick.h"
#include "records/records.h"

namespace cycle {

enum class Colour { Black, Red };

struct StatusLine {
    std::string message; // the status bar; empty clears it
    std::string tip;     // every problem, one a line
};

struct WindowView {
    // The timer's interval from now on; nullopt keeps it.
    std::optional<int> intervalMs;
    // Label captions in the order they are set, and Text1's text.
    std::vector<std::pair<std::string, std::string>> captions;
    std::optional<std::string> text1;
    std::vector<std::pair<std::string, Colour>> colours;
    // Shape1..Shape4; nullopt keeps the look a shape has.
    std::array<std::optional<records::Look>, 4> shapes;
    // nullopt: the status bar keeps what it says.
    std::optional<StatusLine> status;
};

WindowView windowView(const TickOutcome &outcome);

} // namespace cycle
