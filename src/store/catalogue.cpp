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

QString SqlDouble(const QString& value) {
    QString out = value;
    return out.replace(QChar('\''), QStringLiteral("''"));
}

QString SqlQuote(const QString& value) { return QChar('\'') + SqlDouble(value) + QChar('\''); }

QString SqlName(const QString& name) { return '"' + QString(name).replace('"', "\"\"") + '"'; }

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

RecordSet OpenUserTable() {
    Database db(kUserFile);
    return db.openRecordset("select * from tabel1");
}

RecordSet OpenSchoolTable() {
    Database db(kUserFile);
    return db.openRecordset("select * from tabel2");
}

QString SchoolName() {
    RecordSet rs = OpenSchoolTable();
    return rs.isEmpty() ? QString() : rs.fields(0);
}

std::unique_ptr<Database> OpenRosterDatabase() { return std::make_unique<Database>(kRosterFile); }

} // namespace store
