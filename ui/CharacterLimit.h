#pragma once
// A length limit for a QLineEdit that counts characters, not UTF-16 units.
// What does not fit is taken from the end of what was just typed or pasted
// (it ends at the cursor), so the text already there and the cursor stay as
// they were: a key pressed in a full field does nothing, a paste keeps its
// beginning, and a text set by the program keeps its first characters.

#include <QValidator>

namespace ui {

class CharacterLimit : public QValidator {
    Q_OBJECT
public:
    CharacterLimit(int limit, QObject *parent) : QValidator(parent), limit_(limit) {}
    State validate(QString &text, int &cursor) const override;

private:
    int limit_;
};

} // namespace ui
