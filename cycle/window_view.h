#pragma once
// Everything the main window shows after a tick, built in one place: every
// caption by its control's role, every colour and every look. The window
// applies it as it stands.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cycle/tick.h"
#include "cycle/window_roles.h"
#include "records/records.h"

namespace cycle {

enum class Colour { Black, Red };

// The status bar's problems come from two sources: the Heavy Weather folder
// (none known, or currdat.lst not found in it), and a tick that found the
// file. Each source's problems stay on screen until it reports again.
struct StatusProblems {
    std::vector<std::string> folder; // always replaces what was shown
    // nullopt keeps what an earlier tick said (a tick without currdat.lst
    // cannot tell whether a problem is gone).
    std::optional<std::vector<std::string>> tick;
};

struct WindowView {
    // The timer's interval from now on.
    std::optional<int> intervalMs;
    // Label captions in the order they are set, and Text1's text.
    std::vector<std::pair<Role, std::string>> captions;
    std::optional<std::string> text1;
    bool text1Written = true; // false: greyed, marked as never sent
    bool stale = false; // readings Heavy Weather stopped updating: their panels greyed
    bool currdatMissing = false; // told missing: the panels greyed as for old readings
    std::vector<std::pair<Role, Colour>> colours;
    // Shape1..Shape4; nullopt keeps the look a shape has.
    std::array<std::optional<records::Look>, 4> shapes;
    StatusProblems status;
};

WindowView windowView(const TickOutcome &outcome);

} // namespace cycle
