// Where the programs keep ostrel.ini, and where their input and output folders start.
//
// A portable copy keeps its settings beside the program: an ostrel.ini that stands there and may
// be written is used. An installed program has none (and its folder, /usr/bin, is no place for
// one), so each user gets $XDG_CONFIG_HOME/ostrel/ostrel.ini, by default
// ~/.config/ostrel/ostrel.ini, made with default values the first time it is needed. --ini names
// the file outright. The folders a new file starts with, and a stored folder that has gone is
// reset to, are the user's: the current folder, or the home folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "core/message_sink.h"
#include "settings/settings_file.h"

namespace ostrel {

struct SettingsLocation {
  std::filesystem::path file;            // the ostrel.ini read at start and written by a save
  std::filesystem::path default_folder;  // the current folder, else the home folder
};

// Looks up an environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The settings file for a program in `program_folder`: `ini` when not empty, else the ostrel.ini
// beside the program when it exists and may be written, else the per-user file. Without any
// home folder to be found the file beside the program is used, as a portable copy would.
SettingsLocation find_settings_location(const std::filesystem::path& program_folder,
                                        const std::string& ini,
                                        const EnvironmentLookup& environment =
                                            [](const char* name) -> const char* {
                                              return std::getenv(name);
                                            });

// load_settings() from the location: the folder of a per-user file is made first when the file
// does not exist yet, so that the default file can be written into it.
Preferences load_settings_at(const SettingsLocation& location, MessageSink& sink);

}  // namespace ostrel
