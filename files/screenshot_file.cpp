// raylib encodes the PNG; its writer picks the format from the file name's extension, so the
// temporary name ends in .png.
#include "files/screenshot_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool SaveImageAsPng(const Image &image, const char *path, std::string *error)
{
    const std::string temporary = std::string(path) + ".partial-" + std::to_string((long)getpid()) + ".png";
    struct stat written = {};
    if (!ExportImage(image, temporary.c_str()) || stat(temporary.c_str(), &written) != 0 || written.st_size == 0)
    {
        std::remove(temporary.c_str());
        *error = std::string("cannot write ") + path + ": the picture could not be encoded or stored";
        return false;
    }
    if (std::rename(temporary.c_str(), path) != 0)
    {
        *error = std::string("cannot write ") + path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
