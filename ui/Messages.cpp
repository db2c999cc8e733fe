// Warnings in a box titled "ATTENZIONE", or to the handler tests install.
#include "ui/Messages.h"

#include <QMessageBox>

namespace ui {
namespace {
AttentionHandler &handler() {
    static AttentionHandler h;
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

void setAttentionHandler(AttentionHandler h) { handler() = std::move(h); }

} // namespace ui
