// Warnings and questions in boxes titled "ATTENZIONE", or to the handlers tests install.
#include "ui/Messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {
AttentionHandler &handler() {
    static AttentionHandler h;
    return h;
}
ConfirmHandler &confirmHandler() {
    static ConfirmHandler h;
    return h;
}
} // namespace

void attention(QWidget *parent, const QString &text) {
    if (handler()) {
        handler()(text);
        return;
    }
    QMessageBox::information(parent, QStringLiteral("ATTENZIONE"), text, QMessageBox::Ok);
}

void warning(QWidget *parent, const QString &text) {
    if (handler()) {
        handler()(text);
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("ATTENZIONE"), text, QMessageBox::Ok);
}

void setAttentionHandler(AttentionHandler h) { handler() = std::move(h); }

bool confirm(QWidget *parent, const QString &text, const QString &yes, const QString &no) {
    if (confirmHandler())
        return confirmHandler()(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("ATTENZIONE"), text, QMessageBox::NoButton, parent);
    QPushButton *yesButton = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton *noButton = box.addButton(no, QMessageBox::RejectRole);
    // Enter or a second Esc must not take the way out by accident.
    box.setDefaultButton(noButton);
    box.setEscapeButton(noButton);
    box.exec();
    return box.clickedButton() == yesButton;
}

void setConfirmHandler(ConfirmHandler h) { confirmHandler() = std::move(h); }

} // namespace ui
