// Where the program keeps the user's files, worked out from the environment alone (the XDG
// base directory variables and HOME), so tests can steer it by setting variables.
#pragma once

#include <string>

// $XDG_DATA_HOME/galaxy_viewer when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/galaxy_viewer; empty when HOME is not an absolute path either.
std::string UserDataFolder(void);

// $XDG_PICTURES_DIR when it is an absolute path, else $HOME/Pictures when that folder
// exists, else the data folder.
std::string UserPicturesFolder(void);
