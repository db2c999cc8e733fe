#pragma once
// Warnings to the user: an information box titled "ATTENZIONE" with one OK
// button. Tests replace the box with a handler of their own, since a modal
// box would wait for a click that never comes.

#include <QString>
#include <functional>

class QWidget;

namespace ui {

void attention(QWidget *parent, const QString &text);

using AttentionHandler = std::function<void(const QString &text)>;
// An empty handler restores the message box.
void setAttentionHandler(AttentionHandler handler);

} // namespace ui
