// Writing the user's files so that nothing is ever half written: the contents go to a
// temporary file beside the target, which replaces the target only once it is complete.
// This folder is the only library code that touches the file system.
#pragma once

#include <string>

// Writes contents to a temporary file in path's folder, flushes it to the disk and renames
// it over path. On any failure the temporary file is removed, path is left as it was, and
// *error says what and why ("cannot write <path>: <reason>").
bool WriteFileAtomically(const char *path, const std::string &contents, std::string *error);

// Creates path and every missing folder above it (mkdir -p). An existing folder is fine.
bool MakeFolders(const char *path, std::string *error);

// Claims a name that no file has yet: <folder>/<stem>.<extension>, else <stem>-2.<extension>,
// -3 and so on, by creating it empty with O_EXCL, so two savers racing never get the same
// name. The caller then writes the real contents over the claimed *path.
bool ReserveUniquePath(const char *folder, const char *stem, const char *extension, std::string *path,
                       std::string *error);

// The folder part of a path: "." for a bare name, "/" for a file at the root.
std::string FolderOf(const std::string &path);

// The whole file in *contents. When it fails because path does not exist, *missing (when
// not null) is set, so a caller can take that for "nothing saved yet".
bool ReadWholeFile(const char *path, std::string *contents, bool *missing, std::string *error);
