#pragma once

#include <QByteArray>
#include <QString>

// Makes Bytes the file's whole content, or leaves the file as it was and returns why not (empty on
// success). The file is replaced whole once the new content is complete, keeping its owner, group
// and permissions. A symbolic link is followed, also to a file that does not exist yet. A file with
// several names (hard links), or in a folder that takes no new file, is rewritten in place instead:
// its old content is held in memory meanwhile and written back if the new one does not fit.
QString ReplaceFileContent(const QString& Path, const QByteArray& Bytes);
