#include "settings/settings_location.h"

#include <gtest/gtest.h>

#include <map>

#include "support/test_support.h"

namespace ostrel {
namespace {

// Which ostrel.ini a program uses: --ini, a writable file beside it, else the per-user one.
TEST(SettingsLocation, BesideTheProgramOnlyWhenAFileStandsThere) {
  test::TempDir program;
  std::map<std::string, std::string> variables{{"HOME", "/home/ada"}};
  const EnvironmentLookup environment = [&](const char* name) -> const char* {
    const auto found = variables.find(name);
    return found == variables.end() ? nullptr : found->second.c_str();
  };
  const auto file = [&](const std::string& ini = {}) {
    return find_settings_location(program.path(), ini, environment).file;
  };
  EXPECT_EQ(file(), "/home/ada/.config/ostrel/ostrel.ini");
  variables["XDG_CONFIG_HOME"] = "/cfg";
  EXPECT_EQ(file(), "/cfg/ostrel/ostrel.ini");
  variables["XDG_CONFIG_HOME"] = "relative/cfg";  // not absolute: ignored
  EXPECT_EQ(file(), "/home/ada/.config/ostrel/ostrel.ini");
  EXPECT_EQ(file("/tmp/mine.ini"), "/tmp/mine.ini");
  test::write_file(program.path() / "ostrel.ini", "end \r\n");
  EXPECT_EQ(file(), program.path() / "ostrel.ini");  // a portable copy
  EXPECT_EQ(find_settings_location(program.path(), {}, environment).default_folder,
            std::filesystem::current_path());
}

}  // namespace
}  // namespace ostrel
