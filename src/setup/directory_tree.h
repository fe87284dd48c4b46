#pragma once

#include <QString>

namespace pendra::setup {

// Creates every missing folder of the path, letter case aside for those that exist, and
// leaves the working folder at the last one. 0 on success, else the error number of the
// first failing call.
int CreateDirectoryPath(const QString& path);

// Copies the tree below `source` into `target`, which is created first. Every copy is
// writable by its owner and keeps its execute bits; an existing file is replaced, never
// written through. Symbolic links are copied as links, never followed; other special files
// are skipped. 0 on success, else the error number of the first failure.
int CopyDirectoryTree(const QString& source, const QString& target);

// Deletes the folder and everything in it: 1 on success, 0 on the first failure. A symbolic
// link is removed itself, never what it points to, and the walk stays on the folder's file
// system. The file-system root, a user's home folder and any folder holding one are refused.
int RemoveDirectoryTree(const QString& path);

}  // namespace pendra::setup
