#pragma once

#include <QByteArray>
#include <QString>

namespace fenwold {

// Replaces a file so that after a crash or power loss it holds either its old bytes or all of the
// new ones: the bytes go to a sibling temporary file (owner read and write only), which is flushed
// to the disk (F_FULLFSYNC where the system has it) before it is renamed over the file, and the
// folder is flushed after the rename. There is one temporary name per file, so an interrupted
// write leaves at most one leftover, replaced by the next write. False, with the file untouched
// and the temporary file gone, when any step up to the rename fails; after it, only a disk error
// flushing the folder.
bool replaceFileDurably(const QString& path, const QByteArray& bytes);

// The temporary file a replacement of path writes first.
QString durableTemporaryPath(const QString& path);

} // namespace fenwold
