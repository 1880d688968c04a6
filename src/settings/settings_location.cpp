#include "settings/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace ostrel {
namespace {

// $HOME, else the home folder of the user's account; empty when neither is known.
std::filesystem::path home_folder(const EnvironmentLookup& environment) {
  const char* home = environment("HOME");
  if (home != nullptr && *home != '\0') return home;
  if (const passwd* account = ::getpwuid(::getuid());
      account != nullptr && account->pw_dir != nullptr) {
    return account->pw_dir;
  }
  return {};
}

}  // namespace

SettingsLocation find_settings_location(const std::filesystem::path& program_folder,
                                        const std::string& ini,
                                        const EnvironmentLookup& environment) {
  SettingsLocation location;
  const std::filesystem::path home = home_folder(environment);
  std::error_code error;
  location.default_folder = std::filesystem::current_path(error);
  if (error) location.default_folder = home.empty() ? program_folder : home;

  if (!ini.empty()) {
    location.file = ini;
    return location;
  }
  const std::filesystem::path beside = settings_path(program_folder);
  if (::access(beside.c_str(), W_OK) == 0) {
    location.file = beside;
    return location;
  }
  const char* config = environment("XDG_CONFIG_HOME");
  if (config != nullptr && std::filesystem::path(config).is_absolute()) {
    location.file = std::filesystem::path(config) / "ostrel" / "ostrel.ini";
  } else if (!home.empty()) {
    location.file = home / ".config" / "ostrel" / "ostrel.ini";
  } else {
    location.file = beside;
  }
  return location;
}

Preferences load_settings_at(const SettingsLocation& location, MessageSink& sink) {
  std::error_code error;
  const std::filesystem::path folder = location.file.parent_path();
  if (!folder.empty() && !std::filesystem::exists(location.file, error)) {
    // A failure shows when the file cannot be written into it.
    std::filesystem::create_directories(folder, error);
  }
  return load_settings(location.file, location.default_folder, sink);
}

}  // namespace ostrel
