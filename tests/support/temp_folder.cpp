// Test folders: mkdtemp to create, a depth-first walk to remove.
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <csignal>
#include <ftw.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace
{
int RemoveEntry(const char *path, const struct stat *, int, struct FTW *)
{
    return std::remove(path);
}
} // namespace

TEMP_FOLDER_T::TEMP_FOLDER_T()
{
    char name[] = "/tmp/galaxy_test-XXXXXX";
    if (mkdtemp(name))
        path = name;
    else
        ADD_FAILURE() << "cannot make a temporary folder";
}

TEMP_FOLDER_T::~TEMP_FOLDER_T()
{
    if (!path.empty()) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::vector<std::string> TEMP_FOLDER_T::Names(void) const
{
    std::vector<std::string> names;
    DIR *folder = opendir(path.c_str());
    if (!folder) return names;
    while (const dirent *entry = readdir(folder))
    {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

FILE_SIZE_LIMIT_T::FILE_SIZE_LIMIT_T(unsigned long bytes)
{
    struct rlimit limit = {};
    getrlimit(RLIMIT_FSIZE, &limit);
    old_limit = (unsigned long)limit.rlim_cur;
    old_handler = signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FILE_SIZE_LIMIT_T::~FILE_SIZE_LIMIT_T()
{
    struct rlimit limit = {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = old_limit;
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, old_handler);
}

std::string FileContents(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

void PutFile(const std::string &path, const std::string &contents)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
    ASSERT_TRUE(file.good()) << "cannot set up " << path;
}

bool PathExists(const std::string &path)
{
    struct stat info = {};
    return lstat(path.c_str(), &info) == 0;
}
