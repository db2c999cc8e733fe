// A QLineEdit limit that counts characters and keeps the cursor and the text already typed.
#include "ui/CharacterLimit.h"

namespace ui {

QValidator::State CharacterLimit::validate(QString &text, int &cursor) const {
    int excess = static_cast<int>(text.toUcs4().size()) - limit_;
    if (excess <= 0)
        return Acceptable;
    int end = qBound(0, cursor, static_cast<int>(text.size()));
    int start = end;
    // Whole characters only: never half of a surrogate pair.
    while (excess > 0 && start > 0) {
        --start;
        if (start > 0 && text.at(start).isLowSurrogate() && text.at(start - 1).isHighSurrogate())
            --start;
        --excess;
    }
    text.remove(start, end - start);
    cursor = start;
    // A cursor at the very start cannot have inserted anything: cut the end.
    while (excess > 0) {
        int last = static_cast<int>(text.size()) - 1;
        if (last > 0 && text.at(last).isLowSurrogate() && text.at(last - 1).isHighSurrogate())
            --last;
        text.truncate(last);
        --excess;
    }
    return Acceptable;
}

} // namespace ui
