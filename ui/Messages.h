#pragma once
// Warnings and questions to the user. A warning is an information box titled
// "ATTENZIONE" with one OK button (a warning box for a value refused); a question has two buttons named by what
// they do. Tests replace the boxes with handlers of their own, since a modal
// box would wait for a click that never comes.

#include <QString>
#include <functional>

class QWidget;

namespace ui {

void attention(QWidget *parent, const QString &text);

// The same with the warning icon: a value the user gave is refused.
void warning(QWidget *parent, const QString &text);

using AttentionHandler = std::function<void(const QString &text)>;
// An empty handler restores the message box.
void setAttentionHandler(AttentionHandler handler);

// True when the user picks `yes`; Esc and the box's frame pick `no`.
bool confirm(QWidget *parent, const QString &text, const QString &yes, const QString &no);

using ConfirmHandler = std::function<bool(const QString &text)>;
// An empty handler restores the question box.
void setConfirmHandler(ConfirmHandler handler);

} // namespace ui
