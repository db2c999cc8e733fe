#pragma once
// "Registro eventi": the last lines of meteo-aprs-eventi.txt, read-only,
// read afresh each time the window opens.

#include <QDialog>

class QPlainTextEdit;

namespace ui {

class RegistroEventi : public QDialog {
    Q_OBJECT
public:
    explicit RegistroEventi(QWidget *parent = nullptr);
    void Form_Load();

private:
    QPlainTextEdit *text_;
};

} // namespace ui
