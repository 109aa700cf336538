// The user's folders from the XDG variables and HOME. A relative value is ignored, as the
// XDG rules ask: it would put the user's files wherever the program happened to start.
#include "files/user_folders.h"

#include <cstdlib>
#include <sys/stat.h>

namespace
{
const char *const PROGRAM_FOLDER = "galaxy_viewer";

std::string AbsoluteVariable(const char *name)
{
    const char *value = std::getenv(name);
    return value && value[0] == '/' ? value : "";
}
} // namespace

std::string UserDataFolder(void)
{
    const std::string data_home = AbsoluteVariable("XDG_DATA_HOME");
    if (!data_home.empty()) return data_home + "/" + PROGRAM_FOLDER;
    const std::string home = AbsoluteVariable("HOME");
    if (!home.empty()) return home + "/.local/share/" + PROGRAM_FOLDER;
    return "";
}

std::string UserPicturesFolder(void)
{
    const std::string pictures = AbsoluteVariable("XDG_PICTURES_DIR");
    if (!pictures.empty()) return pictures;
    const std::string home = AbsoluteVariable("HOME");
    struct stat info = {};
    if (!home.empty() && stat((home + "/Pictures").c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return home + "/Pictures";
    return UserDataFolder();
}
