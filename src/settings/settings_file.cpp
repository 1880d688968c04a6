#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <iterator>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "core/lenient_number.h"
#include "core/run_error.h"
#include "settings/option_table.h"

namespace ostrel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kKeyLength = 4;
constexpr std::size_t kValueStart = 5;  // the sixth character; the fifth is the "=" not checked
constexpr std::size_t kValueLength = 99;

// The keys of ostrel.ini are those of the option table's rows that name one, and the colour
// picker's colours below, which are no run options.
using PickerField = std::string& (*)(Preferences&);

template <auto Member>
std::string& picker(Preferences& prefs) {
  return prefs.*Member;
}

template <std::size_t Index>
std::string& user_colour(Preferences& prefs) {
  return prefs.UCol[Index];
}

struct PickerKey {
  std::string_view key;
  PickerField field;
};

using P = Preferences;
constexpr PickerKey kPickerKeys[] = {
    {"uc00", &user_colour<0>},    {"uc01", &user_colour<1>},    {"uc02", &user_colour<2>},
    {"uc03", &user_colour<3>},    {"uc04", &user_colour<4>},    {"uc05", &user_colour<5>},
    {"uc06", &user_colour<6>},    {"uc07", &user_colour<7>},    {"uc08", &user_colour<8>},
    {"uc09", &user_colour<9>},    {"uc10", &user_colour<10>},   {"uc11", &user_colour<11>},
    {"uc12", &user_colour<12>},   {"uc13", &user_colour<13>},   {"uc14", &user_colour<14>},
    {"uc15", &user_colour<15>},   {"uc16", &user_colour<16>},   {"uc17", &user_colour<17>},
    {"xcl1", &picker<&P::XCol1>}, {"xcl2", &picker<&P::XCol2>},
};

// The keys of a newly created file, in its order. Keys of the table not named here were added
// after the file's layout was settled: a new file has none of them (its text stays as it always
// was), and a save writes each after all the others, only when it differs from its default. A
// reader that does not know them reports an unknown line and reads on.
constexpr std::string_view kNewFileOrder[] = {
    "diri", "diro", "f001", "f002", "f003", "f004", "f005", "f006", "fram", "vsol", "vfrm",
    "vswt", "vanm", "voff", "scrn", "colb", "cole", "edge", "nedg", "hedg", "beep", "rlin",
    "rfac", "rtrn", "tran", "ssol", "sfrm", "sswt", "sanm", "vscl", "vxsz", "vxcl", "vcyl",
    "scyl", "cyls", "cylc", "cy2c", "extc", "comc", "disb", "vlab", "otsm", "rcl1", "rcl2",
    "rcl3", "hxc1", "hxc2", "rclo", "clp3", "clp4", "clp5", "cl52", "clp6", "clp7", "clp8",
    "cl83", "clpx", "clx3", "cls1", "cls2", "cls3", "cls4", "cls5", "clph", "uc00", "uc01",
    "uc02", "uc03", "uc04", "uc05", "uc06", "uc07", "uc08", "uc09", "uc10", "uc11", "uc12",
    "uc13", "uc14", "uc15", "uc16", "uc17", "xcl1", "xcl2", "lbcv", "lbcf", "mxit",
};

// The order in which a save writes those keys (not the order of a new file).
constexpr std::string_view kSaveOrder[] = {
    "diri", "diro", "f001", "f002", "f003", "f004", "f005", "f006", "fram", "vsol", "vfrm",
    "vswt", "vanm", "vcyl", "voff", "scrn", "beep", "colb", "cole", "nedg", "edge", "rlin",
    "rfac", "rtrn", "tran", "hedg", "ssol", "sfrm", "sswt", "sanm", "scyl", "vxsz", "vxcl",
    "vlab", "vscl", "cyls", "cylc", "cy2c", "extc", "comc", "disb", "otsm", "rcl1", "rcl2",
    "rcl3", "rclo", "hxc1", "hxc2", "clp3", "clp4", "clp5", "cl52", "clp6", "clp7", "clp8",
    "cl83", "clpx", "clx3", "cls1", "cls2", "cls3", "cls4", "cls5", "clph", "uc00", "uc01",
    "uc02", "uc03", "uc04", "uc05", "uc06", "uc07", "uc08", "uc09", "uc10", "uc11", "uc12",
    "uc13", "uc14", "uc15", "uc16", "uc17", "xcl1", "xcl2", "lbcv", "lbcf", "mxit",
};

// Both orders name the same keys, each once.
constexpr bool orders_agree() {
  if (std::size(kSaveOrder) != std::size(kNewFileOrder)) return false;
  for (std::size_t i = 0; i < std::size(kSaveOrder); ++i) {
    bool found = false;
    for (std::string_view key : kNewFileOrder) found = found || key == kSaveOrder[i];
    if (!found) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (kSaveOrder[j] == kSaveOrder[i]) return false;
    }
  }
  return true;
}
static_assert(orders_agree());

// One key: the option row that holds it, or the picker colour.
struct KeyEntry {
  std::string_view key;
  const OptionRow* row = nullptr;
  PickerField picker = nullptr;
};

struct KeyTable {
  std::vector<KeyEntry> layout;  // the keys of a new file
  std::vector<KeyEntry> extra;   // the keys added later, in the option table's order
  std::unordered_map<std::string_view, KeyEntry> by_key;
};

bool in_layout(std::string_view key) {
  return std::find(std::begin(kNewFileOrder), std::end(kNewFileOrder), key) !=
         std::end(kNewFileOrder);
}

const KeyTable& key_table() {
  static const KeyTable table = [] {
    KeyTable t;
    for (const OptionRow& row : option_table()) {
      if (row.ini.empty()) continue;
      const KeyEntry entry{row.ini, &row, nullptr};
      t.by_key.emplace(entry.key, entry);
      if (!in_layout(entry.key)) t.extra.push_back(entry);
    }
    for (const PickerKey& key : kPickerKeys)
      t.by_key.emplace(key.key, KeyEntry{key.key, nullptr, key.field});
    for (std::string_view key : kNewFileOrder) t.layout.push_back(t.by_key.at(key));
    return t;
  }();
  return table;
}

const KeyEntry* find_key(std::string_view key) {
  const auto& by_key = key_table().by_key;
  const auto found = by_key.find(key);
  return found == by_key.end() ? nullptr : &found->second;
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string lower_ascii(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

// Splits the file into records: each ends at a comma, a CR LF pair, a lone CR or a lone LF, or
// at the end of the text. Blanks around a record are not part of it. An empty line is an empty
// record; nothing after the last separator is no record.
class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : rest_(bytes) {}

  std::optional<std::string_view> next() {
    if (rest_.empty()) return std::nullopt;
    std::size_t end = rest_.find_first_of(",\r\n");
    std::string_view record = rest_.substr(0, end);
    if (end == std::string_view::npos) {
      rest_ = {};
    } else {
      std::size_t separator = (rest_.compare(end, 2, kLineEnd) == 0) ? 2 : 1;
      rest_.remove_prefix(end + separator);
    }
    return trim_blanks(record);
  }

 private:
  std::string_view rest_;
};

void apply_directory(std::string& field, const std::string& value, const LoadContext& context,
                     MessageSink& sink) {
  if (context.directory_exists && context.directory_exists(value)) {
    field = value;
    return;
  }
  sink.message(std::string(kSettingsPathReset) + context.program_folder);
  field = context.program_folder;
}

// The stored options of `prefs` as a run's settings, which the option table's fields address.
RunSettings run_view(const Preferences& prefs) {
  RunSettings run;
  static_cast<StoredOptions&>(run) = prefs;
  return run;
}

void apply_record(const KeyEntry& entry, const std::string& value, RunSettings& run,
                  Preferences& prefs, const LoadContext& context, MessageSink& sink) {
  if (entry.picker != nullptr) {
    entry.picker(prefs) = value;
    return;
  }
  const OptionRow& row = *entry.row;
  switch (row.kind) {
    case OptionKind::kText: {
      std::string& field = row.text(run);
      if (row.ini_style == IniStyle::kDirectory) {
        apply_directory(field, value, context, sink);
        break;
      }
      // The box reacts to a change of its text as it does to typing.
      bool changed = field != value;
      field = value;
      if (changed && entry.key == "vxsz" && vertex_size_warns(value)) {
        sink.message(std::string(kVertexSphereWarning));
      }
      break;
    }
    case OptionKind::kCheck: row.check(run) = lenient_value(value) == 1.0; break;
    case OptionKind::kChoice: {
      const double number = lenient_value(value);
      const bool item =
          number >= row.lowest && number <= row.highest && number == std::floor(number);
      row.choice(run) = item ? static_cast<int>(number) : row.lowest;
      break;
    }
  }
}

// The value a save writes for one key. The accessors only read here.
std::string saved_value(const KeyEntry& entry, const RunSettings& run, const Preferences& prefs) {
  if (entry.picker != nullptr) return entry.picker(const_cast<Preferences&>(prefs));
  auto& values = const_cast<RunSettings&>(run);
  const OptionRow& row = *entry.row;
  switch (row.kind) {
    case OptionKind::kText:
      return row.ini_style == IniStyle::kSuffix ? tidy_suffix(row.text(values)) : row.text(values);
    case OptionKind::kCheck:
      if (row.ini_style == IniStyle::kBlankFlag) return row.check(values) ? " 1" : " 0";
      return row.check(values) ? "1" : "0";
    case OptionKind::kChoice: return std::to_string(row.choice(values));
  }
  return {};
}

// The value a newly created file holds for one key: the program folder for the directories,
// "1" or "0" for check boxes, the text as held for the rest.
std::string new_file_value(const KeyEntry& entry, const RunSettings& run,
                           const Preferences& defaults, const std::string& program_folder) {
  if (entry.row != nullptr && entry.row->ini_style == IniStyle::kDirectory) return program_folder;
  if (entry.row != nullptr && entry.row->kind == OptionKind::kCheck) {
    return entry.row->check(const_cast<RunSettings&>(run)) ? "1" : "0";
  }
  return saved_value(entry, run, defaults);
}

void append_record(std::string& text, std::string_view key, std::string_view value) {
  text.append(key).append("=").append(value).append(kLineEnd);
}

// ---- Files ----

std::string system_reason(int error_number) {
  return std::error_code(error_number, std::generic_category()).message();
}

// Reads a whole file. Returns 0 on success, else the errno of the failure.
int read_whole_file(const std::filesystem::path& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  bytes.clear();
  char buffer[8192];
  for (;;) {
    ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      return error;
    }
    if (count == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return 0;
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

// Writes `bytes` to a new file beside `path` and renames it over `path`, so that `path` holds
// either its old content or the whole new one. Returns 0 on success, else the errno.
int replace_file(const std::filesystem::path& path, std::string_view bytes) {
  // Follow a symbolic link, so that the file it names is replaced and the link stays.
  std::filesystem::path target = path;
  std::error_code error;
  if (std::filesystem::is_symlink(path, error)) {
    auto resolved = std::filesystem::weakly_canonical(path, error);
    if (!error) target = resolved;
  }

  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = target;
    temporary += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return errno;
  }
  if (fd < 0) return EEXIST;

  // Keep the permissions of the file being replaced.
  struct stat old_status {};
  if (::stat(target.c_str(), &old_status) == 0) ::fchmod(fd, old_status.st_mode & 07777);

  int failure = 0;
  if (!write_all(fd, bytes) || ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
  if (failure != 0) ::unlink(temporary.c_str());
  return failure;
}

SettingsWriteResult write_result(int failure, const std::filesystem::path& path,
                                 std::string_view consequence) {
  SettingsWriteResult result;
  if (failure == 0) return result;
  result.written = false;
  result.message = "Ostrel could not write the settings file " + path.string() + "; ";
  result.message += consequence;
  result.reason = system_reason(failure);
  return result;
}

}  // namespace

bool read_settings_text(std::string_view bytes, Preferences& prefs, const LoadContext& context,
                        MessageSink& sink) {
  RunSettings run = run_view(prefs);
  const auto done = [&](bool complete) {
    static_cast<StoredOptions&>(prefs) = run;
    return complete;
  };
  RecordReader records(bytes);
  while (auto record = records.next()) {
    std::string key = lower_ascii(record->substr(0, kKeyLength));
    // "end" is tested before the key table, so it never draws the unknown-record message.
    if (key == "end") return done(true);
    if (key == "end ") continue;
    const KeyEntry* entry = find_key(key);
    if (entry == nullptr) {
      sink.message(std::string(kUnknownSettingsLine).append(*record));
      continue;
    }
    std::string_view raw_value;
    if (record->size() > kValueStart) raw_value = record->substr(kValueStart, kValueLength);
    try {
      apply_record(*entry, std::string(trim_blanks(raw_value)), run, prefs, context, sink);
    } catch (const RunError& error) {
      // A flag whose number is too large for any real (overflow): reading stops there.
      sink.message(std::string(kSettingsErrorNumber) + std::to_string(error.number()));
      return done(false);
    }
  }
  sink.message(std::string(kSettingsProblem));
  return done(false);
}

std::string default_settings_text(const std::string& program_folder) {
  const Preferences defaults;
  const RunSettings run = run_view(defaults);
  std::string text;
  for (const KeyEntry& entry : key_table().layout) {
    append_record(text, entry.key, new_file_value(entry, run, defaults, program_folder));
  }
  text.append("end ").append(kLineEnd);
  text.append(" ").append(kLineEnd);
  return text;
}

std::string saved_settings_text(const Preferences& prefs) {
  const RunSettings run = run_view(prefs);
  std::string text;
  for (std::string_view key : kSaveOrder) {
    append_record(text, key, saved_value(*find_key(key), run, prefs));
  }
  const Preferences defaults;
  const RunSettings default_run = run_view(defaults);
  for (const KeyEntry& entry : key_table().extra) {
    const std::string value = saved_value(entry, run, prefs);
    if (value != saved_value(entry, default_run, defaults)) append_record(text, entry.key, value);
  }
  text.append("end ").append(kLineEnd);
  return text;
}

std::string tidy_suffix(std::string_view text) {
  std::string_view trimmed = trim_blanks(text);
  return trimmed.empty() ? std::string(" ") : std::string(trimmed);
}

bool vertex_size_warns(std::string_view text) {
  try {
    return lenient_value(text) > 20.0;
  } catch (const RunError&) {
    return true;  // a number too large for any real is above 20 too
  }
}

std::filesystem::path settings_path(const std::filesystem::path& program_folder) {
  return program_folder / "ostrel.ini";
}

SettingsWriteResult create_default_settings(const std::filesystem::path& path,
                                            const std::string& program_folder) {
  return write_result(replace_file(path, default_settings_text(program_folder)), path,
                      "the default settings are used for this session.");
}

SettingsWriteResult save_settings(const std::filesystem::path& path, const Preferences& prefs) {
  return write_result(replace_file(path, saved_settings_text(prefs)), path,
                      "the previous settings file is unchanged and the settings apply to this "
                      "session only.");
}

Preferences load_settings(const std::filesystem::path& path,
                          const std::filesystem::path& program_folder, MessageSink& sink) {
  LoadContext context;
  context.program_folder = program_folder.string();

  Preferences prefs = initial_preferences();
  std::error_code error;
  auto current = std::filesystem::current_path(error);
  prefs.InDir = prefs.OutDir = error ? context.program_folder : current.string();

  std::string bytes;
  int failure = read_whole_file(path, bytes);
  if (failure == ENOENT) {
    SettingsWriteResult created = create_default_settings(path, context.program_folder);
    if (!created) {
      // Go on as if the new file had been written and read back.
      sink.message(created.message);
      bytes = default_settings_text(context.program_folder);
      failure = 0;
    } else {
      failure = read_whole_file(path, bytes);
    }
  }
  if (failure != 0) {
    sink.message(std::string(kSettingsErrorNumber) + std::to_string(kSettingsReadError));
    return prefs;
  }
  read_settings_text(bytes, prefs, context, sink);
  return prefs;
}

Preferences initial_preferences() {
  Preferences prefs;
  prefs.Force = {};
  prefs.FrameVal.clear();
  prefs.Screen.clear();
  prefs.SolidVRML = prefs.FrameVRML = prefs.SwitchVRML = prefs.AnimVRML = false;
  prefs.OffFile = false;
  prefs.CylSuffix = "molecule";
  prefs.VRMLBack = "10";
  prefs.VRMLEdge = "0";
  prefs.RhomColO = true;
  prefs.LabFCol = "128.128.128";
  return prefs;
}

void apply_to_run_settings(const Preferences& prefs, RunSettings& run) {
  static_cast<StoredOptions&>(run) = prefs;
}

}  // namespace ostrel
