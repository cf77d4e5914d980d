#pragma once

#include <QString>

namespace store {

// Flushes temp to disk and renames it over target in one step, so that anyone reading target
// sees either the old file or the new one, whole. Returns false when it could not.
bool CommitReplacement(const QString& temp, const QString& target);

// Replaces target by a byte-for-byte copy of source (a template database). The copy is written
// beside the target and renamed over it; a rollback journal left by the old file is settled or
// removed first, so it can never be applied to the new one. Throws Error (kind Copy) with the
// reason when it fails; target is then unchanged.
void ReplaceWithCopy(const QString& source, const QString& target);

} // namespace store
