#pragma once

#include <QDateTime>
#include <QString>

// File copies that never leave a half-written file under the target's name: the copy is written
// to a temporary file beside the target, flushed to disk and renamed over the target.
namespace FileCopy {

// Copies `source` to `target`, replacing it; the copy keeps the source's last-write time.
// Throws CorvelError with the reason.
void copyReplacing(const QString& source, const QString& target);

// Renames the finished temporary file `temporary` over `target`, giving it first the exact
// last-write time of `dateSource` (when not empty). Removes `temporary` and throws CorvelError
// on failure.
void commitTemporary(const QString& temporary, const QString& target, const QString& dateSource);

// A name for a temporary file beside `target` that does not exist yet.
QString temporaryNameFor(const QString& target);

// The last-write time of a file; invalid when it does not exist.
QDateTime lastWriteTime(const QString& path);

}  // namespace FileCopy
