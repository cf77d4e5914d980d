#include "privacy.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace store {

void keepNewFilesPrivate() {
#ifdef Q_OS_UNIX
    ::umask(077);
#endif
}

void makeCopyPrivate(const QString& file) {
#ifdef Q_OS_UNIX
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
#else
    Q_UNUSED(file);
#endif
}

} // namespace store
