#include "layout.h"

#include "catalogue.h"
#include "database.h"

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
    if (!f.open(QIODevice::ReadOnly)) throw Error(Error::Missing, f.fileName());
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

void createFromSchema(const QString& schema, const QString& path) {
    // Built beside its place and renamed into it: a rename never replaces an existing file, so
    // a file that appeared meanwhile is kept, and a half-made file is never seen as data.
    const QString temp = path + ".new";
    QFile::remove(temp);
    const QString name = "lumno-layout-" + path;
    QString failure, failed;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(temp);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery q(db);
            for (const QString& statement : schemaStatements(schema)) {
                if (!q.exec(statement)) {
                    failure = q.lastError().text();
                    failed = statement;
                    break;
                }
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (failure.isEmpty() && !QFile::rename(temp, path)) failure = QFile(temp).errorString();
    if (!failure.isEmpty()) {
        QFile::remove(temp);
        throw Error(Error::Engine, path, failed, failure);
    }
}

void addMissingTables(const QString& schema, const QString& path) {
    Database db(path);
    for (const QString& statement : schemaStatements(schema))
        if (statement.startsWith("create table ", Qt::CaseInsensitive))
            db.execute("create table if not exists " + statement.mid(13));
}

QStringList layOutDataFiles(const QString& folder) {
    QVector<QPair<QString, QString>> files; // file, schema
    for (const Book& b : books()) files.append({b.file, b.schema});
    for (const Book& b : books())
        if (!b.templateFile.isEmpty()) files.append({b.templateFile, b.schema});
    QDir dir(folder);
    if (!dir.mkpath("database"))
        throw Error(Error::Replace, dir.filePath("database"), QString(), "cannot create the folder");
    QStringList created;
    for (const auto& [file, schema] : files) {
        const QString path = dir.filePath(file);
        if (QFileInfo::exists(path)) continue;
        createFromSchema(schema, path);
        created << file;
    }
    return created;
}

} // namespace store
