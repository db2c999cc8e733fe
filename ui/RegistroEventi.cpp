// The event record's window.
#include "ui/RegistroEventi.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "cycle/event_log.h"
#include "io/file_io.h"
#include "io/text_codec.h"
#include "ui/QtText.h"

namespace ui {
namespace {
// Some thousand lines: weeks of an ordinary station's events.
constexpr std::size_t kShownBytes = 256 * 1024;
} // namespace

RegistroEventi::RegistroEventi(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Registro_Eventi"));
    setWindowTitle(QStringLiteral("Registro eventi"));
    setModal(false);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Eventi"));
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *close = new QPushButton(QStringLiteral("Chiudi"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    resize(900, 420);
}

void RegistroEventi::Form_Load() {
    const auto tail = io::readTail(cycle::kEventLogFileName, kShownBytes);
    QString shown;
    if (!tail) {
        shown = QStringLiteral("Nessun evento registrato finora (%1 non c'è ancora o non si può leggere).")
                    .arg(QString::fromLatin1(cycle::kEventLogFileName));
    } else {
        std::string bytes = *tail;
        // A tail cut in the middle of a line starts at the next whole one.
        if (bytes.size() == kShownBytes && bytes.find('\n') != std::string::npos)
            bytes.erase(0, bytes.find('\n') + 1);
        shown = toQString(io::cp1252ToUtf8(bytes)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    text_->setPlainText(shown.trimmed());
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

} // namespace ui
