#pragma once
// The logic speaks UTF-8 std::string, the windows QString.

#include <QString>
#include <string>

namespace ui {

inline QString toQString(const std::string &s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace ui
