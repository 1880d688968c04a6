// The one table of run options: a row per option, naming the control that supplies it (which is
// also its `--set` name), its typed field in RunSettings, its command-line flag and help, the
// options a flag turns on with it, the check of a value given as text, and the key ostrel.ini
// keeps it under. The command line's flags and `--set`, the settings file's keys and every lookup
// of an option by its control name come from these rows.
//
// A new option is one row here (and its field in RunSettings, and its use in the engine).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/run_settings.h"

namespace ostrel {

enum class OptionKind {
  kText,    // a text box, kept as typed
  kCheck,   // a check box: on or off
  kChoice,  // an option group: the number of the chosen item, lowest..highest
};

// How ostrel.ini writes an option's value. Read, a check box is on when its value is 1, and an
// option group takes an item number in its range (else its lowest item).
enum class IniStyle {
  kAsHeld,     // a text box's text as held, a check box "1" or "0", an option group's number
  kDirectory,  // a folder, which must exist when read
  kSuffix,     // a file-name suffix, written tidied
  kBlankFlag,  // a check box written " 1" or " 0"
};

struct OptionRow {
  std::string control;  // the control's name, as the forms name it: "GlobLim", "SegEdge(2)"
  OptionKind kind = OptionKind::kText;
  std::string& (*text)(RunSettings&) = nullptr;  // kText
  bool& (*check)(RunSettings&) = nullptr;        // kCheck
  int& (*choice)(RunSettings&) = nullptr;        // kChoice
  int lowest = 0;                                // kChoice: item numbers lowest..highest
  int highest = 0;
  // The command-line flag ("--glob-lim"), empty when the option has none; a check box's flag
  // turns it on, a text box's flag takes its text, an option group's flag one of `items`.
  std::string flag;
  std::string help;
  std::vector<std::string> items;    // kChoice with a flag: item names, from item `lowest` on
  std::vector<std::string> implies;  // check boxes a flag turns on with its own option
  // A field that records that the option was given (by its flag or `--set`), not left as the
  // settings file had it; null when none does.
  bool& (*given)(RunSettings&) = nullptr;
  // Its key in ostrel.ini ("f001"), empty when the file does not keep it. A key that is not part
  // of a newly created file is saved after the others, only when its value is not the default.
  std::string ini;
  IniStyle ini_style = IniStyle::kAsHeld;
};

// Every row, in the order the command line lists the flags (rows without a flag after them).
const std::vector<OptionRow>& option_table();

// The row of control `name` (case-sensitive), or null.
const OptionRow* find_option(std::string_view name);

// Sets the control `name` from `value` as `--set name=value` does: check boxes take 1/0 (also
// yes/no, true/false, on/off; a greyed 2 is off); option groups the number of the chosen item;
// text boxes any text. Returns an empty string on success, else what is wrong.
std::string set_option(RunSettings& settings, std::string_view name, std::string_view value);

// The text a text box of control `name` starts with: its field in a default RunSettings ("" for a
// control that is no text box of the table).
std::string default_option_text(std::string_view name);

// Turns on the check boxes a row's flag implies, then sets the row: a check box on, a text box to
// `value`, an option group to the item named `value` (one of row.items).
void apply_flag(RunSettings& settings, const OptionRow& row, const std::string& value);

}  // namespace ostrel
