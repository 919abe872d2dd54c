#pragma once

#include <QByteArray>
#include <QString>

// How replacing a file's content went: Failure says why it failed (empty on success), and Unchanged
// whether the file is still exactly as it was.
struct Replacement {
    QString Failure;
    bool Unchanged = true;
};

// Makes Bytes the file's whole content, or leaves the file as it was and says why not. The file is
// replaced whole once the new content is complete, keeping its owner, group and permissions. A symbolic
// link is followed, also to a file that does not exist yet. A file with several names (hard links), in a
// folder that takes no new file, or whose owner or permissions a new file could not take, is rewritten
// in place instead: its old content is held in memory meanwhile and written back if the new one does
// not fit; only when that fails too is the file no longer unchanged.
Replacement ReplaceFileContent(const QString& Path, const QByteArray& Bytes);
