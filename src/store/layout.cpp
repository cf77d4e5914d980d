#include "layout.h"

#include "catalogue.h"
#include "filecopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// The SQL of the data files is compiled into this library; a static library registers it by hand.
static void initSchemaResource() { Q_INIT_RESOURCE(schema); }

namespace store {

namespace {

QStringList schemaStatements(const QString& schema) {
    static const bool registered = (initSchemaResource(), true);
    Q_UNUSED(registered);
    QFile f(":/schema/" + schema + ".sql");
    if (!f.open(QIODevice::ReadOnly)) throw Error(Error::Missing, f.fileName(), QString(), "no schema");
    QStringList statements;
    for (QString part : QString::fromUtf8(f.readAll()).split(';')) {
        QStringList lines;
        for (const QString& line : part.split('\n'))
            if (!line.trimmed().startsWith("--")) lines << line;
        const QString statement = lines.join('\n').trimmed();
        if (!statement.isEmpty()) statements << statement;
    }
    return statements;
}

} // namespace

void CreateFromSchema(const QString& schema, const QString& path) {
    const QString temp = path + ".new";
    QFile::remove(temp);
    {
        const QString name = "lumno-layout-" + path;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(temp);
            if (!db.open()) throw Error(Error::Engine, path, QString(), db.lastError().text());
            QSqlQuery q(db);
            for (const QString& statement : schemaStatements(schema)) {
                if (!q.exec(statement)) {
                    const QString text = q.lastError().text();
                    db.close();
                    QFile::remove(temp);
                    throw Error(Error::Engine, path, statement, text);
                }
            }
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    if (!CommitReplacement(temp, path)) {
        QFile::remove(temp);
        throw Error(Error::Copy, path, QString(), "rename failed");
    }
}

QStringList LayOutDataFiles(const QString& folder) {
    const struct {
        QString file, schema;
    } files[] = {{kUserFile, "uinfo"},       {kRosterFile, "addonduty"},      {kMinutesFile, "cahier"},
                 {kEventsFile, "snote"},     {kAttendanceFile, "teacher"},    {kMinutesTemplate, "cahier"},
                 {kEventsTemplate, "snote"}, {kAttendanceTemplate, "teacher"}};
    QDir dir(folder);
    if (!dir.mkpath("database")) throw Error(Error::Copy, dir.filePath("database"), QString(), "mkdir failed");
    QStringList created;
    for (const auto& f : files) {
        const QString path = dir.filePath(f.file);
        if (QFileInfo::exists(path)) continue;
        CreateFromSchema(f.schema, path);
        created << f.file;
    }
    return created;
}

} // namespace store
