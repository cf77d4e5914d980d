#include "accounts.h"

#include "catalogue.h"
#include "database.h"
#include "statements.h"

#include <QRegularExpression>
#include <sodium.h>

#include <cstring>

namespace store {

namespace {

HashCost& currentCost() {
    static HashCost cost = defaultHashCost();
    return cost;
}

void initSodium() {
    static const int ready = sodium_init();
    if (ready < 0) throw Error(Error::Engine, kUserFile, QString(), QStringLiteral("libsodium cannot start"));
}

// A stored hash is verified only where its own cost is one this program could have chosen: a
// damaged string asking for gigabytes is refused, not tried.
bool plausibleHash(const QString& stored) {
    static const QRegularExpression shape(QStringLiteral("^\\$argon2id\\$v=19\\$m=(\\d{1,9}),t=(\\d{1,3}),p=1\\$"));
    const QRegularExpressionMatch m = shape.match(stored);
    return m.hasMatch() && m.captured(1).toULongLong() <= 1024 * 1024 && m.captured(2).toInt() <= 64 &&
           stored.size() < crypto_pwhash_STRBYTES;
}

// The two columns of tabel1 as the file names them (a file of an older program may name them
// otherwise; they are read by position).
struct Columns {
    QString name, password;
};
Columns accountColumns(Database& db) {
    const QStringList c = db.columns("tabel1");
    if (c.size() < 2) throw Error(Error::TableMissing, db.path(), QString(), QString(), 0, "tabel1");
    return {sqlName(c.at(0)), sqlName(c.at(1))};
}

// The rows of this name that are accounts (both values present), with their rowids.
RecordSet rowsOf(Database& db, const Columns& c, const QString& name) {
    return db.openTableWithRowids("tabel1", c.name + " = " + SqlQuote(name) + " and " + c.password + " is not null");
}

int setPassword(Database& db, const Columns& c, const QString& name, const QString& hash) {
    return db.execute("update tabel1 set " + c.password + " = " + SqlQuote(hash) + " where " + c.name + " = " +
                      SqlQuote(name));
}

} // namespace

// libsodium's interactive cost (2 passes over 64 MiB): about 0.2 s of processor time here.
HashCost defaultHashCost() { return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE}; }
HashCost hashCost() { return currentCost(); }
void setHashCost(HashCost cost) { currentCost() = cost; }

CredentialProblem credentialProblem(const QString& text) {
    if (text.isEmpty()) return CredentialProblem::Empty;
    if (text.size() > kMaxCredentialLength) return CredentialProblem::TooLong;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull()) return CredentialProblem::Nul;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) return CredentialProblem::LoneSurrogate;
    }
    return CredentialProblem::Fine;
}

QString hashPassword(const QString& password) {
    initSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    const HashCost cost = currentCost();
    if (crypto_pwhash_str(out, utf8.constData(), utf8.size(), cost.passes, cost.bytes) != 0)
        throw Error(Error::Engine, kUserFile, QString(), QStringLiteral("out of memory while hashing a password"),
                    kNoMem);
    return QString::fromLatin1(out);
}

bool isPasswordHash(const QString& stored) { return stored.startsWith(QLatin1String("$argon2")); }

bool passwordMatches(const QString& stored, const QString& typed) {
    if (stored.isNull() || typed.isNull()) return false;
    if (!isPasswordHash(stored)) return stored == typed;
    if (!plausibleHash(stored)) return false;
    initSodium();
    // The library reads a buffer of its full string size: the hash, then zeros.
    char buffer[crypto_pwhash_STRBYTES] = {};
    const QByteArray latin = stored.toLatin1();
    std::memcpy(buffer, latin.constData(), size_t(latin.size()));
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(buffer, utf8.constData(), utf8.size()) == 0;
}

bool signIn(const QString& name, const QString& password) {
    if (name.isNull() || password.isNull()) return false;
    Database db(kUserFile);
    RecordSet rows = db.openTableWithRowids("tabel1");
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        const QStringList& row = rows.rows().at(rows.position());
        if (row.size() < 2 || row.at(0).isNull() || row.at(0) != name) continue;
        if (!passwordMatches(row.at(1), password)) continue;
        if (!isPasswordHash(row.at(1))) {
            // The row as it was read: changed meanwhile by another copy, that copy's value stands.
            // A file that cannot be written (a read-only medium) still lets the person in.
            try {
                const Columns c = accountColumns(db);
                db.execute("update tabel1 set " + c.password + " = " + SqlQuote(hashPassword(password)) + " where " +
                           rows.current().condition());
            } catch (const Error&) {
            }
        }
        return true;
    }
    return false;
}

QStringList accountNames() {
    Database db(kUserFile, Database::ReadOnly);
    const RecordSet rs = db.openRecordset("select * from tabel1");
    QStringList names;
    for (const QStringList& row : rs.rows())
        if (row.size() >= 2 && !row.at(0).isNull() && !row.at(1).isNull() && !names.contains(row.at(0)))
            names << row.at(0);
    return names;
}

AccountResult addAccount(const QString& name, const QString& password) {
    const QString hash = hashPassword(password);
    Database db(kUserFile);
    const Columns c = accountColumns(db);
    // One statement: two copies adding the same name at once add it once.
    const int added = db.execute("insert into tabel1 (" + c.name + "," + c.password + ") select " + SqlQuote(name) +
                                 "," + SqlQuote(hash) + " where not exists (select 1 from tabel1 where " + c.name +
                                 " = " + SqlQuote(name) + ")");
    return added ? AccountResult::Done : AccountResult::Exists;
}

AccountResult changePassword(const QString& name, const QString& current, const QString& password) {
    bool known = false;
    {
        Database db(kUserFile);
        const Columns c = accountColumns(db);
        const RecordSet rows = rowsOf(db, c, name);
        if (rows.isEmpty()) return AccountResult::Missing;
        for (const QStringList& row : rows.rows()) known = known || passwordMatches(row.value(1), current);
    }
    if (!known) return AccountResult::WrongPassword;
    return resetPassword(name, password);
}

AccountResult resetPassword(const QString& name, const QString& password) {
    const QString hash = hashPassword(password);
    Database db(kUserFile);
    return setPassword(db, accountColumns(db), name, hash) ? AccountResult::Done : AccountResult::Missing;
}

AccountResult removeAccount(const QString& name) {
    Database db(kUserFile);
    const Columns c = accountColumns(db);
    const QString n = SqlQuote(name);
    // One statement: two copies removing the last two accounts at once leave one.
    const int removed =
        db.execute("delete from tabel1 where " + c.name + " = " + n + " and exists (select 1 from tabel1 where " +
                   c.name + " <> " + n + " and " + c.password + " is not null)");
    if (removed) return AccountResult::Done;
    return rowsOf(db, c, name).isEmpty() ? AccountResult::Missing : AccountResult::LastAccount;
}

} // namespace store
