#pragma once
// One program per working folder. A second copy there would append every
// row of the log twice and put every report on the air twice.

#include <QLockFile>
#include <QString>

#include <memory>

namespace ui {

inline const QString kLockFileName = QStringLiteral("meteo-aprs.lock");

// The working folder's lock, held until it is destroyed. A lock left by a
// copy that crashed is taken over. When the lock cannot be had, the user is
// told why (a running copy holds it, or the folder cannot be written) and
// the result is nullptr: the program ends.
std::unique_ptr<QLockFile> lockWorkingFolder(const QString &folder);

} // namespace ui
