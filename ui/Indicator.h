#pragma once
// A small filled rectangle whose border and fill are colour values in the
// Windows convention the records use: 0x00BBGGRR for a plain colour and
// 0x800000nn for system colour nn, resolved against the widget's palette.

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "cycle/window_view.h"
#include "records/records.h"

class QLabel;

namespace ui {

// The main window's background: system colour 15, the button face.
inline constexpr quint32 kWindowBackground = 0x8000000Fu;
inline constexpr quint32 kBlack = 0x000000u;
inline constexpr quint32 kRed = 0x0000FFu;
inline constexpr quint32 kDarkRed = 0x000080u;
inline constexpr quint32 kGreen = 0x00FF00u;
inline constexpr quint32 kDarkGreen = 0x008000u;

QColor colorFromValue(quint32 value, const QPalette &palette);

// A label's text colour.
void setForeColor(QLabel *label, cycle::Colour colour);

class Indicator : public QWidget {
    Q_OBJECT
public:
    explicit Indicator(QWidget *parent = nullptr);
    // Green for a maximum, red for a minimum, the background when off.
    void setLook(records::Look look);
    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setBorderColor(quint32 value);
    void setFillColor(quint32 value);

    quint32 border_ = kWindowBackground + 1;
    quint32 fill_ = kWindowBackground;
};

} // namespace ui
