// Feeds arbitrary bytes to the ostrel.ini reader and checks that whatever it makes of them
// survives a save: saving the values read and reading the saved text gives the same values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace {

// Directories "exist" by a fixed rule, so that runs are repeatable and touch no disk.
bool fake_directory_exists(const std::string& path) {
  return path == "/prog" || (!path.empty() && path[0] == '/' && path.size() % 2 == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ostrel::LoadContext context;
  context.program_folder = "/prog";
  context.directory_exists = fake_directory_exists;
  ostrel::NullMessageSink sink;

  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ostrel::Preferences prefs;
  prefs.InDir = prefs.OutDir = "/cwd";  // the current directory, as load_settings starts them
  ostrel::read_settings_text(bytes, prefs, context, sink);

  ostrel::Preferences again;
  bool ended = ostrel::read_settings_text(ostrel::saved_settings_text(prefs), again, context, sink);
  if (!ended || !(again == prefs)) __builtin_trap();
  return 0;
}
