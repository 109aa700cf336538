// A fresh folder under /tmp for a test that writes files, removed with everything in it when
// the test ends, and the few file helpers such tests share.
#pragma once

#include <string>
#include <vector>

struct TEMP_FOLDER_T
{
    TEMP_FOLDER_T();
    ~TEMP_FOLDER_T();
    TEMP_FOLDER_T(const TEMP_FOLDER_T &) = delete;
    TEMP_FOLDER_T &operator=(const TEMP_FOLDER_T &) = delete;

    std::string Path(const std::string &name) const { return path + "/" + name; }
    // The names in the folder (not . and ..), sorted.
    std::vector<std::string> Names(void) const;

    std::string path;
};

// While it lives, no file of this process may grow beyond the limit: writes past it fail with
// EFBIG, as they would on a full disk, and SIGXFSZ is ignored.
struct FILE_SIZE_LIMIT_T
{
    explicit FILE_SIZE_LIMIT_T(unsigned long bytes);
    ~FILE_SIZE_LIMIT_T();
    FILE_SIZE_LIMIT_T(const FILE_SIZE_LIMIT_T &) = delete;
    FILE_SIZE_LIMIT_T &operator=(const FILE_SIZE_LIMIT_T &) = delete;

    unsigned long old_limit = 0;
    void (*old_handler)(int) = nullptr;
};

// Plain reads and writes for setting up and checking; "" for a file that cannot be read.
std::string FileContents(const std::string &path);
void PutFile(const std::string &path, const std::string &contents);
bool PathExists(const std::string &path);
