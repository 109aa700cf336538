// Writing the user's files so that nothing is ever half written: the contents go to a
// temporary file beside the target, which replaces the target only once it is complete.
// This folder is the only library code that touches the file system.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Writes contents to a temporary file in path's folder, flushes it to the disk and renames
// it over path. On any failure the temporary file is removed, path is left as it was, and
// *error says what and why ("cannot write <path>: <reason>").
bool WriteFileAtomically(const char *path, const std::string &contents, std::string *error);

// The same replacement for a file written piece by piece, for contents too large to hold at
// once. Until CommitAtomicFile succeeds only the temporary file exists; dropping the record
// uncommitted (or a failed commit) removes it and leaves path as it was.
struct ATOMIC_FILE_T
{
    std::string path;      // the target
    std::string temporary; // beside it, while open
    int fd = -1;
    int failure = 0; // errno of the first failure: later appends do nothing, the commit reports it

    ATOMIC_FILE_T() = default;
    ~ATOMIC_FILE_T();
    ATOMIC_FILE_T(const ATOMIC_FILE_T &) = delete;
    ATOMIC_FILE_T &operator=(const ATOMIC_FILE_T &) = delete;
};

// Creates the temporary file for path; false, with *error as WriteFileAtomically's, when the
// folder cannot take it.
bool OpenAtomicFile(ATOMIC_FILE_T *file, const char *path, std::string *error);
// false once any append has failed.
bool AppendAtomicFile(ATOMIC_FILE_T *file, const std::string &piece);
// Flushes, then renames the temporary over path; on any failure since the open, removes the
// temporary and says what and why.
bool CommitAtomicFile(ATOMIC_FILE_T *file, std::string *error);
// Removes the temporary file; path is left as it was.
void AbandonAtomicFile(ATOMIC_FILE_T *file);

// How far a long write has come, called on the writing thread: done of total items.
using WRITE_PROGRESS_T = std::function<void(uint64_t done, uint64_t total)>;

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
