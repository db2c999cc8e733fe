// The working folder's lock file, so that two copies never share one folder.
#include "ui/InstanceLock.h"

#include <QDir>

#include "ui/Messages.h"

namespace ui {

std::unique_ptr<QLockFile> lockWorkingFolder(const QString &folder) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(kLockFileName));
    // The program runs for months: a lock is stale only when the copy that
    // wrote it is gone, never because it is old (where the file system
    // cannot hold the lock itself, age alone would hand it to a second copy).
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    const QString shown = QDir::toNativeSeparators(folder);
    if (lock->error() == QLockFile::LockFailedError)
        attention(nullptr, QStringLiteral("meteo-aprs è già in funzione in questa cartella di lavoro:\n%1\n\n"
                                          "Una seconda copia scriverebbe due volte ogni riga dei dati e "
                                          "invierebbe due volte ogni rapporto meteo.")
                               .arg(shown));
    else // a folder unpacked under the programs' folder, a read-only share
        attention(nullptr, QStringLiteral("meteo-aprs non può scrivere nella cartella di lavoro:\n%1\n\n"
                                          "Qui tiene config.kwt, invio.kwt e meteo-aprs.lock. Avviarlo dal menu "
                                          "Start (che lo fa lavorare nella sua cartella dei dati) oppure da una "
                                          "cartella in cui si può scrivere.")
                               .arg(shown));
    return nullptr;
}

} // namespace ui
