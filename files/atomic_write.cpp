// Atomic replacement, folder creation, never-overwriting names and whole-file reads, on
// POSIX calls directly: stdio cannot fsync, and only open() can create exclusively.
#include "files/atomic_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool Fail(std::string *error, const char *what, const std::string &path, int code)
{
    if (error) *error = std::string("cannot ") + what + " " + path + ": " + std::strerror(code);
    return false;
}

bool WriteAll(int fd, const std::string &contents)
{
    size_t done = 0;
    while (done < contents.size())
    {
        const ssize_t wrote = write(fd, contents.data() + done, contents.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote == 0) errno = ENOSPC; // a full disk may also show as writing nothing
        if (wrote <= 0) return false;
        done += (size_t)wrote;
    }
    return true;
}

// Without this the rename itself may be lost in a crash, leaving the old file; that is
// still whole, so a failure here is not reported.
void SyncFolder(const std::string &folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}
} // namespace

ATOMIC_FILE_T::~ATOMIC_FILE_T()
{
    AbandonAtomicFile(this);
}

bool OpenAtomicFile(ATOMIC_FILE_T *file, const char *path, std::string *error)
{
    AbandonAtomicFile(file);
    if (!path || !*path) return Fail(error, "write", "an unnamed file", ENOENT);
    file->path = path;
    file->failure = 0;
    // The rename would refuse a folder only after everything was written.
    struct stat target = {};
    if (stat(path, &target) == 0 && S_ISDIR(target.st_mode)) return Fail(error, "write", path, EISDIR);
    std::string temporary = FolderOf(path) + "/.galaxy_viewer-XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) return Fail(error, "write", path, errno);
    file->fd = fd;
    file->temporary = temporary;

    // mkstemp makes the file private; a replaced file keeps its mode, a new one gets the
    // usual rw-r--r--.
    struct stat old = {};
    const mode_t mode = stat(path, &old) == 0 && S_ISREG(old.st_mode) ? (old.st_mode & 07777) : 0644;
    if (fchmod(fd, mode) != 0) file->failure = errno ? errno : EIO;
    return true;
}

bool AppendAtomicFile(ATOMIC_FILE_T *file, const std::string &piece)
{
    if (file->fd < 0 && file->failure == 0) file->failure = EBADF;
    if (file->failure != 0) return false;
    errno = 0;
    if (!WriteAll(file->fd, piece)) file->failure = errno ? errno : EIO;
    return file->failure == 0;
}

bool CommitAtomicFile(ATOMIC_FILE_T *file, std::string *error)
{
    if (file->fd < 0 && file->failure == 0) file->failure = EBADF;
    errno = 0;
    if (file->failure == 0 && fsync(file->fd) != 0) file->failure = errno ? errno : EIO;
    if (file->fd >= 0 && close(file->fd) != 0 && file->failure == 0) file->failure = errno;
    file->fd = -1;
    if (file->failure == 0 && rename(file->temporary.c_str(), file->path.c_str()) != 0) file->failure = errno;
    if (file->failure != 0)
    {
        const int failure = file->failure;
        AbandonAtomicFile(file);
        return Fail(error, "write", file->path, failure);
    }
    file->temporary.clear();
    SyncFolder(FolderOf(file->path));
    return true;
}

void AbandonAtomicFile(ATOMIC_FILE_T *file)
{
    if (file->fd >= 0) close(file->fd);
    file->fd = -1;
    if (!file->temporary.empty()) unlink(file->temporary.c_str());
    file->temporary.clear();
}

bool WriteFileAtomically(const char *path, const std::string &contents, std::string *error)
{
    ATOMIC_FILE_T file;
    if (!OpenAtomicFile(&file, path, error)) return false;
    AppendAtomicFile(&file, contents);
    return CommitAtomicFile(&file, error);
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool MakeFolders(const char *path, std::string *error)
{
    if (!path || !*path) return Fail(error, "create folder", "an unnamed folder", ENOENT);
    const std::string whole = path;
    for (size_t end = 1; end <= whole.size(); end++)
    {
        if (end < whole.size() && whole[end] != '/') continue;
        const std::string part = whole.substr(0, end);
        if (mkdir(part.c_str(), 0755) == 0) continue;
        const int code = errno;
        struct stat info = {};
        if (code == EEXIST && stat(part.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
        return Fail(error, "create folder", part, code == EEXIST ? ENOTDIR : code);
    }
    return true;
}

bool ReserveUniquePath(const char *folder, const char *stem, const char *extension, std::string *path,
                       std::string *error)
{
    const std::string base = std::string(folder) + "/" + stem;
    const std::string dot_extension = std::string(".") + (extension[0] == '.' ? extension + 1 : extension);
    for (int number = 1; number <= 100000; number++)
    {
        const std::string candidate =
            number == 1 ? base + dot_extension : base + "-" + std::to_string(number) + dot_extension;
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0)
        {
            close(fd);
            *path = candidate;
            return true;
        }
        if (errno != EEXIST) return Fail(error, "create", candidate, errno);
    }
    return Fail(error, "find a free name for", base + dot_extension, EEXIST);
}

bool ReadWholeFile(const char *path, std::string *contents, bool *missing, std::string *error)
{
    if (missing) *missing = false;
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        if (missing) *missing = errno == ENOENT;
        return Fail(error, "read", path, errno);
    }
    std::string text;
    char buffer[65536];
    for (;;)
    {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0)
        {
            const int code = errno;
            close(fd);
            return Fail(error, "read", path, code);
        }
        if (got == 0) break;
        text.append(buffer, (size_t)got);
    }
    close(fd);
    *contents = text;
    return true;
}
