#include "catalogue.h"

#include <QFileInfo>

namespace store {

QStringList TablesOf(const QString& path) {
    const QString name = QFileInfo(path).completeBaseName().toLower();
    if (name == "uinfo") return {"tabel1", "tabel2"};
    if (name == "addonduty") return {"tabaddlist", "tabonduty"};
    if (name == "cahier") return {"tabcahier"};
    if (name == "snote") return {"tabnote"};
    if (name == "teacher") return {"tabkaoqin", "tabaddsort", "tabaddsubject", "tabaddnumber"};
    return {};
}

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

} // namespace store
