#pragma once
// The last step of every file written whole under a temporary name (QSaveFile).
#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace platform {

// Writes bytes to the open file and renames it into place. QSaveFile buffers small writes, so a
// disk that fills up shows only when the buffer is flushed, and commit() does not look at that:
// without the flush the cut file would replace the old one. False on any failure, with the
// system's description in `error`; the old file is then kept and the temporary one dropped.
bool writeAndCommit(QSaveFile& file, const QByteArray& bytes, QString* error = nullptr);
// The same last step for a file whose bytes were written piece by piece: flushes what is still
// buffered and renames it into place only when that reached the disk.
bool commitWritten(QSaveFile& file, QString* error = nullptr);
// Puts the whole file `from` in the place of `to` in one step: a reader sees the old file or the
// new one, never neither. False, with the system's reason in `error`, when it cannot; both files
// are then as they were.
bool replaceFile(const QString& from, const QString& to, QString* error = nullptr);

}  // namespace platform
