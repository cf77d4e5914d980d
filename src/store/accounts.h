#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>

// The accounts of "uinfo.dat" (tabel1: name, password). Passwords are kept as Argon2id strings
// ("$argon2id$v=19$m=…"); a row written before that, by an import or by an SQLite tool, holds its
// password as typed, is compared exactly, and is replaced by its hash when it logs in.
namespace store {

// What one hash costs: passes over memory and the memory itself.
struct HashCost {
    unsigned long long passes;
    std::size_t bytes;
};
// The program's cost (docs/performance.md says how long it takes); tests lower it.
HashCost defaultHashCost();
HashCost hashCost();
void setHashCost(HashCost cost);

// The longest name or password accepted, in characters.
constexpr int kMaxCredentialLength = 64;
// Why a name or password cannot be stored, or Fine.
enum class CredentialProblem { Fine, Empty, TooLong, Nul, LoneSurrogate };
CredentialProblem credentialProblem(const QString& text);

// The Argon2id string of a password.
QString hashPassword(const QString& password);
// True when stored is an Argon2id string (whole or damaged), not a password kept as typed.
bool isPasswordHash(const QString& stored);
// True when typed is the password stored: verified against a hash, or equal to a plain text. A
// missing (null) value or a damaged hash never matches.
bool passwordMatches(const QString& stored, const QString& typed);

// The login: true when a row of tabel1 holds this name and password. A plain-text password that
// matched is replaced by its hash at once (an update of the row as it was read).
bool signIn(const QString& name, const QString& password);

// The names of the accounts, each once, in the order of the table.
QStringList accountNames();

enum class AccountResult {
    Done,
    Exists,        // add: an account of that name is there already
    Missing,       // the account is not there (removed meanwhile)
    WrongPassword, // change: the current password does not match
    LastAccount,   // remove: no other account would be left
};
// Adds an account (the name must be new).
AccountResult addAccount(const QString& name, const QString& password);
// Sets the password of every row of this name when current matches one of them. Two copies that
// change it at once both write; the later one's password is the one kept.
AccountResult changePassword(const QString& name, const QString& current, const QString& password);
// Sets the password of every row of this name, without asking for the current one.
AccountResult resetPassword(const QString& name, const QString& password);
// Removes every row of this name, unless no account of another name would be left.
AccountResult removeAccount(const QString& name);

} // namespace store
