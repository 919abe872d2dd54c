#pragma once

#include <QByteArray>
#include <QString>

// What replacing a file needs of the system beyond the toolkit; one file per system.

// One look at a file about to be replaced: what the new file must keep of it.
struct ExistingFile {
    bool SeveralNames = false; // hard links: a new file would part them
    uint Owner = 0, Group = 0, Permissions = 0;
    bool Known = false; // whether the look succeeded
};
ExistingFile LookAt(const QString& Path);

// Gives the new file open at Handle the old one's owner, group and permissions; false where the system
// refuses any of them.
bool TakeOver(int Handle, const ExistingFile& Old);

// Makes Bytes the whole content of the file open at Handle; 0, or the system's error number.
int Overwrite(int Handle, const QByteArray& Bytes);

// Whether the system's error number says that the user's share of the disk is used up.
bool QuotaExceeded(int Error);
