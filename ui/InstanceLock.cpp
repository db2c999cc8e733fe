// The working folder's lock file, so that two copies never share one folder.
#include "ui/InstanceLock.h"

#include <QDir>

namespace ui {

std::unique_ptr<QLockFile> lockWorkingFolder(const QString &folder) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(kLockFileName));
    // The program runs for months: a lock is stale only when the copy that
    // wrote it is gone, never because it is old (where the file system
    // cannot hold the lock itself, age alone would hand it to a second copy).
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace ui
