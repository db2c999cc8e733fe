#pragma once
// One program per working folder. A second copy there would append every
// row of the log twice and put every report on the air twice.

#include <QLockFile>
#include <QString>

#include <memory>

namespace ui {

inline const QString kLockFileName = QStringLiteral("meteo-aprs.lock");

// The working folder's lock, held until it is destroyed; nullptr when a
// running copy holds it. A lock left by a copy that crashed is taken over.
std::unique_ptr<QLockFile> lockWorkingFolder(const QString &folder);

} // namespace ui
