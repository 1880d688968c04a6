// The settings file ostrel.ini: the user's defaults from one start of the program to the next.
//
// The file is plain text of records "key=value", ended by CR LF (or by a comma). Keys are four
// characters, matched without regard to case; the value is characters 6..104 of the record with
// blanks removed at both ends. The record "end" ends the file.
//
// Preferences holds what the file sets: the values of the controls of the file-selection, user
// preferences, colour preferences and colour picker forms, named after those controls. Reading,
// creating and saving are pure functions over text, so the desktop program, ostrel-cli, the tests
// and the fuzzer share them; the file wrappers below add the disk. Nothing here prints: messages
// go to a MessageSink, write failures come back as a SettingsWriteResult.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/message_sink.h"
#include "core/model.h"
#include "settings/run_settings.h"
#include "settings/stored_options.h"

namespace ostrel {

// Items of the VertexLabel option pair.
inline constexpr int kVertexLabelStandard = 0;   // labels rotate with the object
inline constexpr int kVertexLabelBillboard = 1;  // labels stay oriented to the viewer

// Number of user colours of the colour picker (UCol(0) .. UCol(17)).
inline constexpr std::size_t kUserColourCount = 18;

// Messages shown while loading; a variable part is appended where the text ends in a blank.
inline constexpr std::string_view kUnknownSettingsLine = "Unknown line in ostrel.ini: ";
inline constexpr std::string_view kSettingsPathReset =
    "One of your default file paths was not found.  Ostrel has reset your file paths to ";
inline constexpr std::string_view kSettingsProblem =
    "Ostrel has detected a problem with ostrel.ini  Delete this file and restart ostrel";
inline constexpr std::string_view kSettingsErrorNumber = "Ostrel has detected error number ";
// Shown whenever VertexSize takes a value above 20 (typed, or loaded from the file).
inline constexpr std::string_view kVertexSphereWarning =
    "Warning: Setting the vertex spheres to be > 20% is not recommended as it only serves to "
    "highlight the shortcomings of VRML's sphere node.  Shame! I'd have liked to play with "
    "setting vertex spheres to 50% as well.  Vemm.";

// Error number reported when an existing ostrel.ini cannot be read (path/file access error).
inline constexpr int kSettingsReadError = 75;

// What ostrel.ini holds: the options a run reads (StoredOptions, whose values are those of a
// newly created file) and the colour picker's colours.
struct Preferences : StoredOptions {
  // --- Colour picker (ColourPick form): the colours kept in the buttons' tip texts ---
  std::array<std::string, kUserColourCount> UCol{
      "128.128.128", "128.128.128", "128.128.128", "128.128.128", "128.128.128", "128.128.128",
      "128.128.128", "128.128.128", "128.128.128", "128.128.128", "128.128.128", "128.128.128",
      "128.128.128", "128.128.128", "128.128.128", "128.128.128", "128.128.128", "128.128.128"};
  std::string XCol1 = "0.0.0";
  std::string XCol2 = "255.255.255";

  bool operator==(const Preferences&) const = default;
};

// The values the controls hold before ostrel.ini is read, which stay in force for a key the file
// lacks: those of a new file, but for empty number boxes, only the cylinder file chosen, the
// suffix "molecule", the background "10", the edge colour "0", the rhombus colour override on and
// the face label colour "128.128.128".
Preferences initial_preferences();

// What reading needs besides the text.
struct LoadContext {
  // The folder that holds the program: where a stored directory that does not exist is reset to.
  std::string program_folder;
  // Whether a stored directory exists; asks the file system unless replaced (tests, fuzzing).
  std::function<bool(const std::string&)> directory_exists = [](const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
  };
};

// Applies the records of `bytes` to `prefs` in order, as the program does at start-up:
// - a key not in the table draws kUnknownSettingsLine + the record, and reading goes on;
// - records whose first four characters are "end " are ignored;
// - a diri or diro naming a directory that does not exist draws kSettingsPathReset + the
//   program folder, and that directory becomes the program folder;
// - a vxsz record that changes VertexSize to a number above 20 draws kVertexSphereWarning.
// - a flag or vlab value whose number overflows (vsol=1e999) draws kSettingsErrorNumber + "6"
//   and reading stops there (false is returned, the values read so far stay).
// Returns true when the record "end" was met. Without it (an empty text too) every record has
// been applied and kSettingsProblem is sent last; the caller goes on with the values.
bool read_settings_text(std::string_view bytes, Preferences& prefs, const LoadContext& context,
                        MessageSink& sink);

// The file written when none exists: diri and diro set to the program folder, every other key
// with its default value, then "end " and a record holding a single blank; CR LF line ends.
std::string default_settings_text(const std::string& program_folder);

// The file written by a save, from the current values, in the save order, ended by "end ".
// The five suffixes are written tidied (tidy_suffix).
std::string saved_settings_text(const Preferences& prefs);

// A file-name suffix as the preferences form keeps it: blanks removed at both ends, and a single
// blank when nothing is left (so that two empty suffixes still compare equal).
std::string tidy_suffix(std::string_view text);

// True when the number in a VertexSize text is above 20 (the vertex-sphere warning is due);
// a number too large for any real counts as above 20.
bool vertex_size_warns(std::string_view text);

// program_folder / "ostrel.ini" (a folder ending in a separator does not get a second one).
std::filesystem::path settings_path(const std::filesystem::path& program_folder);

// Outcome of writing ostrel.ini. The file is written to a temporary file beside it and renamed
// over the old one, so a failed write leaves the previous file as it was.
struct SettingsWriteResult {
  bool written = true;
  std::string message;  // when not written: the text to show the user
  std::string reason;   // when not written: the system's reason, for logs
  explicit operator bool() const { return written; }
};

// Writes default_settings_text(program_folder) to `path`. When it fails the message reads
// "Ostrel could not write the settings file <path>; the default settings are used for this
// session."
SettingsWriteResult create_default_settings(const std::filesystem::path& path,
                                            const std::string& program_folder);

// Writes saved_settings_text(prefs) to `path`. When it fails the message reads "Ostrel could not
// write the settings file <path>; the previous settings file is unchanged and the settings apply
// to this session only."; the caller goes on with the values it holds.
SettingsWriteResult save_settings(const std::filesystem::path& path, const Preferences& prefs);

// Start-up: starts from initial_preferences() with InDir and OutDir at the current directory,
// creates the default file when `path` does not exist, then reads it. Never fails; problems go
// to `sink`:
// - the file cannot be created: the create message above, and the values of a new default file
//   are used for this session;
// - the file exists but cannot be read: kSettingsErrorNumber + "75", initial values kept;
// - everything read_settings_text reports.
Preferences load_settings(const std::filesystem::path& path,
                          const std::filesystem::path& program_folder, MessageSink& sink);

// The run's options from the file's records: every value but the colour picker's, including
// InDir, OutDir and OutSame.
void apply_to_run_settings(const Preferences& prefs, RunSettings& run);

}  // namespace ostrel
