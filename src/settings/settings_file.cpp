#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iterator>
#include <optional>
#include <system_error>

#include "core/lenient_number.h"
#include "core/run_error.h"

namespace ostrel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kKeyLength = 4;
constexpr std::size_t kValueStart = 5;  // the sixth character; the fifth is the "=" not checked
constexpr std::size_t kValueLength = 99;

// How a key's value is read and written.
enum class Kind {
  kDirectory,  // a folder that must exist; written as held
  kNumber,     // a number box, text kept as typed; written as held
  kColour,     // a colour text; written as held
  kSuffix,     // a file-name suffix; written tidied
  kFlag,       // a check box; written "1" or "0"
  kBlankFlag,  // a check box written " 1" or " 0" (beep, edge, rtrn)
  kChoice,     // the VertexLabel option pair; written "1" (Billboard) or "0" (Standard)
};

using TextField = std::string& (*)(Preferences&);
using FlagField = bool& (*)(Preferences&);
using ChoiceField = int& (*)(Preferences&);

template <auto Member>
auto& member(Preferences& prefs) {
  return prefs.*Member;
}

template <auto Member, std::size_t Index>
std::string& element(Preferences& prefs) {
  return (prefs.*Member)[Index];
}

// One key of ostrel.ini: its kind and the control it sets. The value a new file gets is the
// control's value in a default Preferences (the new file's values, stored_options.h).
struct KeyEntry {
  constexpr KeyEntry(std::string_view key_name, Kind key_kind, TextField field)
      : key(key_name), kind(key_kind), text(field) {}
  constexpr KeyEntry(std::string_view key_name, Kind key_kind, FlagField field)
      : key(key_name), kind(key_kind), flag(field) {}
  constexpr KeyEntry(std::string_view key_name, ChoiceField field)
      : key(key_name), kind(Kind::kChoice), choice(field) {}

  std::string_view key;
  Kind kind;
  TextField text = nullptr;
  FlagField flag = nullptr;
  ChoiceField choice = nullptr;
};

using P = Preferences;
constexpr Kind kDir = Kind::kDirectory;
constexpr Kind kNum = Kind::kNumber;
constexpr Kind kCol = Kind::kColour;
constexpr Kind kSuf = Kind::kSuffix;
constexpr Kind kFlg = Kind::kFlag;
constexpr Kind kBlk = Kind::kBlankFlag;

// Every key, in the order of a newly created file.
constexpr KeyEntry kKeys[] = {
    {"diri", kDir, &member<&P::InDir>},       {"diro", kDir, &member<&P::OutDir>},
    {"f001", kNum, &element<&P::Force, 1>},   {"f002", kNum, &element<&P::Force, 2>},
    {"f003", kNum, &element<&P::Force, 3>},   {"f004", kNum, &element<&P::Force, 4>},
    {"f005", kNum, &element<&P::Force, 5>},   {"f006", kNum, &element<&P::Force, 6>},
    {"fram", kNum, &member<&P::FrameVal>},    {"vsol", kFlg, &member<&P::SolidVRML>},
    {"vfrm", kFlg, &member<&P::FrameVRML>},   {"vswt", kFlg, &member<&P::SwitchVRML>},
    {"vanm", kFlg, &member<&P::AnimVRML>},    {"voff", kFlg, &member<&P::OffFile>},
    {"scrn", kNum, &member<&P::Screen>},      {"colb", kCol, &member<&P::VRMLBack>},
    {"cole", kCol, &member<&P::VRMLEdge>},    {"edge", kBlk, &member<&P::Edge>},
    {"nedg", kCol, &member<&P::NakedEdge>},   {"hedg", kCol, &member<&P::HiEdge>},
    {"beep", kBlk, &member<&P::BeepIt>},      {"rlin", kCol, &member<&P::RealmLine>},
    {"rfac", kCol, &member<&P::RealmFace>},   {"rtrn", kBlk, &member<&P::RealmTrans>},
    {"tran", kNum, &member<&P::TransLevel>},  {"ssol", kSuf, &member<&P::SolidSuffix>},
    {"sfrm", kSuf, &member<&P::FrameSuffix>}, {"sswt", kSuf, &member<&P::SwitchSuffix>},
    {"sanm", kSuf, &member<&P::AnimSuffix>},  {"vscl", kNum, &member<&P::VRMLScale>},
    {"vxsz", kNum, &member<&P::VertexSize>},  {"vxcl", kCol, &member<&P::VertexCol>},
    {"vcyl", kFlg, &member<&P::CylVRML>},     {"scyl", kSuf, &member<&P::CylSuffix>},
    {"cyls", kNum, &member<&P::Cylsize>},     {"cylc", kCol, &member<&P::CylCol>},
    {"cy2c", kCol, &member<&P::CylCol2>},     {"extc", kCol, &member<&P::ExtCol>},
    {"comc", kCol, &member<&P::CompCol>},     {"disb", kCol, &member<&P::DistBall>},
    {"vlab", &member<&P::VertexLabel>},       {"otsm", kFlg, &member<&P::OutSame>},
    {"rcl1", kCol, &member<&P::RhomCol1>},    {"rcl2", kCol, &member<&P::RhomCol2>},
    {"rcl3", kCol, &member<&P::RhomCol3>},    {"hxc1", kCol, &member<&P::DHCol1>},
    {"hxc2", kCol, &member<&P::DHCol2>},      {"rclo", kFlg, &member<&P::RhomColO>},
    {"clp3", kCol, &member<&P::Colour3>},     {"clp4", kCol, &member<&P::Colour4>},
    {"clp5", kCol, &member<&P::Colour5>},     {"cl52", kCol, &member<&P::Colour52>},
    {"clp6", kCol, &member<&P::Colour6>},     {"clp7", kCol, &member<&P::Colour7>},
    {"clp8", kCol, &member<&P::Colour8>},     {"cl83", kCol, &member<&P::Colour83>},
    {"clpx", kCol, &member<&P::Colour10>},    {"clx3", kCol, &member<&P::Colour103>},
    {"cls1", kCol, &element<&P::ColourS, 1>}, {"cls2", kCol, &element<&P::ColourS, 2>},
    {"cls3", kCol, &element<&P::ColourS, 3>}, {"cls4", kCol, &element<&P::ColourS, 4>},
    {"cls5", kCol, &element<&P::ColourS, 5>}, {"clph", kCol, &member<&P::ColourH>},
    {"uc00", kCol, &element<&P::UCol, 0>},    {"uc01", kCol, &element<&P::UCol, 1>},
    {"uc02", kCol, &element<&P::UCol, 2>},    {"uc03", kCol, &element<&P::UCol, 3>},
    {"uc04", kCol, &element<&P::UCol, 4>},    {"uc05", kCol, &element<&P::UCol, 5>},
    {"uc06", kCol, &element<&P::UCol, 6>},    {"uc07", kCol, &element<&P::UCol, 7>},
    {"uc08", kCol, &element<&P::UCol, 8>},    {"uc09", kCol, &element<&P::UCol, 9>},
    {"uc10", kCol, &element<&P::UCol, 10>},   {"uc11", kCol, &element<&P::UCol, 11>},
    {"uc12", kCol, &element<&P::UCol, 12>},   {"uc13", kCol, &element<&P::UCol, 13>},
    {"uc14", kCol, &element<&P::UCol, 14>},   {"uc15", kCol, &element<&P::UCol, 15>},
    {"uc16", kCol, &element<&P::UCol, 16>},   {"uc17", kCol, &element<&P::UCol, 17>},
    {"xcl1", kCol, &member<&P::XCol1>},       {"xcl2", kCol, &member<&P::XCol2>},
    {"lbcv", kCol, &member<&P::LabVCol>},     {"lbcf", kCol, &member<&P::LabFCol>},
    {"mxit", kNum, &member<&P::MaxIter>},
};

// Keys added after the file's layout was settled: a new file has none of them (its text stays as
// it always was), and a save writes each after all the others, only when it differs from its
// default (a check box when it is on). A reader that does not know them reports an unknown line
// and reads on.
constexpr KeyEntry kExtraKeys[] = {
    {"vglb", kFlg, &member<&P::GltfFile>},
    {"vstl", kFlg, &member<&P::StlFile>},
    {"vnet", kFlg, &member<&P::NetFile>},
    {"thrd", kNum, &member<&P::Threads>},
};

// The order in which a save writes the keys (not the order of a new file).
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

constexpr const KeyEntry* find_key(std::string_view key) {
  for (const auto& entry : kKeys) {
    if (entry.key == key) return &entry;
  }
  for (const auto& entry : kExtraKeys) {
    if (entry.key == key) return &entry;
  }
  return nullptr;
}

// A save writes every key exactly once.
constexpr bool save_order_covers_every_key() {
  if (std::size(kSaveOrder) != std::size(kKeys)) return false;
  for (std::size_t i = 0; i < std::size(kSaveOrder); ++i) {
    if (find_key(kSaveOrder[i]) == nullptr) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (kSaveOrder[j] == kSaveOrder[i]) return false;
    }
  }
  return true;
}
static_assert(save_order_covers_every_key());

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

void apply_record(const KeyEntry& entry, const std::string& value, Preferences& prefs,
                  const LoadContext& context, MessageSink& sink) {
  switch (entry.kind) {
    case Kind::kDirectory: apply_directory(entry.text(prefs), value, context, sink); break;
    case Kind::kNumber:
    case Kind::kColour:
    case Kind::kSuffix: {
      std::string& field = entry.text(prefs);
      // The box reacts to a change of its text as it does to typing.
      bool changed = field != value;
      field = value;
      if (changed && entry.key == "vxsz" && vertex_size_warns(value)) {
        sink.message(std::string(kVertexSphereWarning));
      }
      break;
    }
    case Kind::kFlag:
    case Kind::kBlankFlag: entry.flag(prefs) = lenient_value(value) == 1.0; break;
    case Kind::kChoice:
      entry.choice(prefs) =
          lenient_value(value) == 1.0 ? kVertexLabelBillboard : kVertexLabelStandard;
      break;
  }
}

// The value a save writes for one key. The accessors only read here.
std::string saved_value(const KeyEntry& entry, const Preferences& prefs) {
  auto& values = const_cast<Preferences&>(prefs);
  switch (entry.kind) {
    case Kind::kDirectory:
    case Kind::kNumber:
    case Kind::kColour: return entry.text(values);
    case Kind::kSuffix: return tidy_suffix(entry.text(values));
    case Kind::kFlag: return entry.flag(values) ? "1" : "0";
    case Kind::kBlankFlag: return entry.flag(values) ? " 1" : " 0";
    case Kind::kChoice: return entry.choice(values) == kVertexLabelStandard ? "0" : "1";
  }
  return {};
}

// The value a newly created file holds for one key: the program folder for the directories,
// "1" or "0" for check boxes and the label choice, the text as held for the rest.
std::string new_file_value(const KeyEntry& entry, const Preferences& defaults,
                           const std::string& program_folder) {
  switch (entry.kind) {
    case Kind::kDirectory: return program_folder;
    case Kind::kFlag:
    case Kind::kBlankFlag: return entry.flag(const_cast<Preferences&>(defaults)) ? "1" : "0";
    default: return saved_value(entry, defaults);
  }
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
  RecordReader records(bytes);
  while (auto record = records.next()) {
    std::string key = lower_ascii(record->substr(0, kKeyLength));
    // "end" is tested before the key table, so it never draws the unknown-record message.
    if (key == "end") return true;
    if (key == "end ") continue;
    const KeyEntry* entry = find_key(key);
    if (entry == nullptr) {
      sink.message(std::string(kUnknownSettingsLine).append(*record));
      continue;
    }
    std::string_view raw_value;
    if (record->size() > kValueStart) raw_value = record->substr(kValueStart, kValueLength);
    try {
      apply_record(*entry, std::string(trim_blanks(raw_value)), prefs, context, sink);
    } catch (const RunError& error) {
      // A flag whose number is too large for any real (overflow): reading stops there.
      sink.message(std::string(kSettingsErrorNumber) + std::to_string(error.number()));
      return false;
    }
  }
  sink.message(std::string(kSettingsProblem));
  return false;
}

std::string default_settings_text(const std::string& program_folder) {
  const Preferences defaults;
  std::string text;
  for (const auto& entry : kKeys) {
    append_record(text, entry.key, new_file_value(entry, defaults, program_folder));
  }
  text.append("end ").append(kLineEnd);
  text.append(" ").append(kLineEnd);
  return text;
}

std::string saved_settings_text(const Preferences& prefs) {
  std::string text;
  for (std::string_view key : kSaveOrder) {
    append_record(text, key, saved_value(*find_key(key), prefs));
  }
  const Preferences defaults;
  for (const auto& entry : kExtraKeys) {
    const std::string value = saved_value(entry, prefs);
    if (value != saved_value(entry, defaults)) append_record(text, entry.key, value);
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
