#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

#include "support/test_support.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;
using test::MessageRecorder;
using test::read_file;
using test::TempDir;
using test::write_file;
using Messages = std::vector<std::string>;

const std::string kFolder = "/opt/ostrel";
const std::string kProblem(kSettingsProblem);
const std::string kUnknown(kUnknownSettingsLine);

// A new file for a program in /opt/ostrel, byte for byte.
const std::string kDefaultFile =
    "diri=/opt/ostrel\r\n"
    "diro=/opt/ostrel\r\n"
    "f001=100\r\n"
    "f002=100\r\n"
    "f003=10\r\n"
    "f004=10\r\n"
    "f005=20\r\n"
    "f006=100\r\n"
    "fram=3\r\n"
    "vsol=1\r\n"
    "vfrm=1\r\n"
    "vswt=1\r\n"
    "vanm=1\r\n"
    "voff=1\r\n"
    "scrn=3\r\n"
    "colb=0.0.0\r\n"
    "cole=0.0.0\r\n"
    "edge=0\r\n"
    "nedg=0\r\n"
    "hedg=255.255.0\r\n"
    "beep=0\r\n"
    "rlin=255.255.0\r\n"
    "rfac=192\r\n"
    "rtrn=1\r\n"
    "tran=0.5\r\n"
    "ssol=solid\r\n"
    "sfrm=frame\r\n"
    "sswt=switch\r\n"
    "sanm=anim\r\n"
    "vscl=1\r\n"
    "vxsz=5\r\n"
    "vxcl=255\r\n"
    "vcyl=1\r\n"
    "scyl=cylinder\r\n"
    "cyls=1\r\n"
    "cylc=255.255.0\r\n"
    "cy2c=0.255.255\r\n"
    "extc=255.0.0\r\n"
    "comc=255.0.0\r\n"
    "disb=255.255.0\r\n"
    "vlab=1\r\n"
    "otsm=0\r\n"
    "rcl1=255.0.255\r\n"
    "rcl2=128.0.255\r\n"
    "rcl3=128.0.128\r\n"
    "hxc1=0.255.128\r\n"
    "hxc2=0.128.255\r\n"
    "rclo=0\r\n"
    "clp3=0.0.255\r\n"
    "clp4=255.128.0\r\n"
    "clp5=0.255.0\r\n"
    "cl52=0.160.0\r\n"
    "clp6=0.160.255\r\n"
    "clp7=205\r\n"
    "clp8=255.0.255\r\n"
    "cl83=128.0.128\r\n"
    "clpx=255.0.0\r\n"
    "clx3=160.64.0\r\n"
    "cls1=0.0.255\r\n"
    "cls2=255.0.0\r\n"
    "cls3=0.255.0\r\n"
    "cls4=255.128.0\r\n"
    "cls5=255.0.255\r\n"
    "clph=255.255.0\r\n"
    "uc00=128.128.128\r\n"
    "uc01=128.128.128\r\n"
    "uc02=128.128.128\r\n"
    "uc03=128.128.128\r\n"
    "uc04=128.128.128\r\n"
    "uc05=128.128.128\r\n"
    "uc06=128.128.128\r\n"
    "uc07=128.128.128\r\n"
    "uc08=128.128.128\r\n"
    "uc09=128.128.128\r\n"
    "uc10=128.128.128\r\n"
    "uc11=128.128.128\r\n"
    "uc12=128.128.128\r\n"
    "uc13=128.128.128\r\n"
    "uc14=128.128.128\r\n"
    "uc15=128.128.128\r\n"
    "uc16=128.128.128\r\n"
    "uc17=128.128.128\r\n"
    "xcl1=0.0.0\r\n"
    "xcl2=255.255.255\r\n"
    "lbcv=255.255.255\r\n"
    "lbcf=28.128.128\r\n"
    "mxit=7\r\n"
    "end \r\n"
    " \r\n";

// The records of a text split at CR LF.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
  return lines;
}

// Every key of the file, in the order of a new file.
std::vector<std::string> all_keys() {
  std::vector<std::string> keys;
  for (const auto& line : lines_of(kDefaultFile)) {
    if (line.size() > 4 && line[4] == '=') keys.push_back(line.substr(0, 4));
  }
  return keys;
}

struct Reading {
  Preferences prefs = initial_preferences();
  Messages messages;
  bool ended = false;
};
// Reads `text` into initial values, with the program in /opt/ostrel and the directories in
// `existing` present.
Reading read_text(const std::string& text, std::set<std::string> existing = {kFolder}) {
  LoadContext context;
  context.program_folder = kFolder;
  context.directory_exists = [existing](const std::string& path) { return existing.count(path); };
  MessageRecorder recorder;
  Reading reading;
  reading.ended = read_settings_text(text, reading.prefs, context, recorder);
  reading.messages = recorder.messages;
  return reading;
}

TEST(SettingsFile, NewFileIsWrittenByteForByte) {
  EXPECT_EQ(default_settings_text(kFolder), kDefaultFile);
}

TEST(SettingsFile, NewFileWinsOverTheInitialValues) {
  Preferences initial = initial_preferences();
  EXPECT_EQ(initial.CylSuffix, "molecule");
  Reading reading = read_text(kDefaultFile);
  EXPECT_TRUE(reading.ended);
  EXPECT_EQ(reading.messages, Messages{});
  const Preferences& prefs = reading.prefs;
  EXPECT_EQ(prefs.CylSuffix, "cylinder");
  EXPECT_EQ(prefs.VRMLBack, "0.0.0");
  EXPECT_EQ(prefs.VRMLEdge, "0.0.0");
  EXPECT_EQ(prefs.LabFCol, "28.128.128");
  EXPECT_FALSE(prefs.RhomColO);
  EXPECT_EQ(prefs.InDir + "|" + prefs.OutDir, kFolder + "|" + kFolder);
  EXPECT_TRUE(prefs.SolidVRML && prefs.OffFile && prefs.CylVRML && prefs.RealmTrans);
  EXPECT_FALSE(prefs.BeepIt || prefs.Edge || prefs.OutSame);
  EXPECT_EQ(prefs.VertexLabel, kVertexLabelBillboard);
}

// The value a save writes for `key`: how each case below observes the control it set.
std::string saved_value(const Preferences& prefs, const std::string& key) {
  for (const auto& record : lines_of(saved_settings_text(prefs))) {
    if (record.rfind(key + "=", 0) == 0) return record.substr(5);
  }
  ADD_FAILURE() << key << " not saved";
  return {};
}

TEST(SettingsFile, ReadsRecords) {
  struct Case {
    std::string text;  // "end" follows
    Messages messages;
    std::string key;
    std::string saved;  // the value then saved for key
  };
  const std::string x120(120, 'x');
  const Case cases[] = {
      {"F001=50", {}, "f001", "50"},  // keys in any case
      {"VxCl=1.2.3", {}, "vxcl", "1.2.3"},
      {"f002:42", {}, "f002", "42"},                    // fifth character not checked
      {"f001=100,5", {kUnknown + "5"}, "f001", "100"},  // a comma ends a record
      {"f004=1\nf004=2\rf004=3", {}, "f004", "3"},      // lone LF and lone CR too
      {"   f003=7   ", {}, "f003", "7"},
      {"ssol=" + x120, {}, "ssol", x120.substr(0, 99)},
      {"ssol=" + std::string(98, ' ') + "ab", {}, "ssol", "a"},  // cut, then trimmed
      {"f001=1\r\n", {kUnknown}, "f001", "1"},                   // a blank line
      {"ab", {kUnknown + "ab"}, "f001", ""},
      {"zzzz= a,b ", {kUnknown + "zzzz= a", kUnknown + "b"}, "f001", ""},
      {"endx", {kUnknown + "endx"}, "f001", ""},
      {"f001=1\r\nEND\r\nf001=2\r\nbogus", {}, "f001", "1"},
      {"end of part one\r\nf001=3", {}, "f001", "3"},
      {"mxit=abc,clp7=300.x", {}, "mxit", "abc"},  // numbers kept as text
      {"vsol=2", {}, "vsol", "0"},
      {"vsol=1,vsol=yes", {}, "vsol", "0"},
      {"vsol= 1", {}, "vsol", "1"},
      {"vsol=1.0", {}, "vsol", "1"},
      {"rtrn=", {}, "rtrn", " 0"},
      {"beep= 1", {}, "beep", " 1"},
      {"vlab=0", {}, "vlab", "0"},
      {"vlab=2", {}, "vlab", "0"},
      {"vlab=0,vlab=1", {}, "vlab", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Reading reading = read_text(c.text + "\r\nend\r\n");
    EXPECT_TRUE(reading.ended);
    EXPECT_EQ(reading.messages, c.messages);
    EXPECT_EQ(saved_value(reading.prefs, c.key), c.saved);
  }
}

TEST(SettingsFile, MissingEndIsReportedAfterEveryRecord) {
  Reading reading = read_text("f001=5\r\nzzzz\r\nf002=6\r\n");
  EXPECT_FALSE(reading.ended);
  EXPECT_EQ(reading.messages, (Messages{kUnknown + "zzzz", kProblem}));
  EXPECT_EQ(reading.prefs.Force[1], "5");
  EXPECT_EQ(reading.prefs.Force[2], "6");

  Reading empty = read_text("");
  EXPECT_FALSE(empty.ended);
  EXPECT_EQ(empty.messages, Messages{kProblem});
  EXPECT_EQ(empty.prefs, initial_preferences());
}

TEST(SettingsFile, OverflowingFlagStopsReadingWithItsErrorNumber) {
  Reading reading = read_text("f001=5\r\nvsol=1e999\r\nf001=6\r\nend");
  EXPECT_FALSE(reading.ended);
  EXPECT_EQ(reading.messages, Messages{"Ostrel has detected error number 6"});
  EXPECT_EQ(reading.prefs.Force[1], "5");
}

TEST(SettingsFile, MissingDirectoryIsResetToTheProgramFolder) {
  Reading reading = read_text("diri=/gone\r\ndiro=/data/out\r\nend\r\n", {kFolder, "/data/out"});
  EXPECT_EQ(reading.messages, Messages{std::string(kSettingsPathReset) + kFolder});
  EXPECT_EQ(reading.prefs.InDir, kFolder);
  EXPECT_EQ(reading.prefs.OutDir, "/data/out");
}

TEST(SettingsFile, LargeVertexSizeWarnsWhenTheTextChanges) {
  const std::string warning(kVertexSphereWarning);
  struct Case {
    std::string text;
    std::size_t warnings;
  };
  const Case cases[] = {{"vxsz=20", 0},          {"vxsz=25", 1},         {"vxsz=20.5", 1},
                        {"vxsz=21,vxsz=210", 2}, {"vxsz=25,vxsz=25", 1}, {"vxsz=30%", 1},
                        {"vxsz=1e999", 1}};
  for (const auto& c : cases) {
    Reading reading = read_text(c.text + "\r\nend");
    EXPECT_EQ(reading.messages, Messages(c.warnings, warning)) << c.text;
  }
}

TEST(SettingsFile, SaveWritesEveryKeyInSaveOrderAndForm) {
  Preferences prefs = read_text(kDefaultFile).prefs;
  prefs.SolidSuffix = "  solid ";
  prefs.FrameSuffix = "";
  std::vector<std::string> records = lines_of(saved_settings_text(prefs));
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.back(), "end ");
  records.pop_back();

  std::vector<std::string> keys;
  for (const auto& record : records) keys.push_back(record.substr(0, 4));
  std::istringstream order(
      "diri diro f001 f002 f003 f004 f005 f006 fram vsol vfrm vswt vanm vcyl voff scrn beep colb "
      "cole nedg edge rlin rfac rtrn tran hedg ssol sfrm sswt sanm scyl vxsz vxcl vlab vscl cyls "
      "cylc cy2c extc comc disb otsm rcl1 rcl2 rcl3 rclo hxc1 hxc2 clp3 clp4 clp5 cl52 clp6 clp7 "
      "clp8 cl83 clpx clx3 cls1 cls2 cls3 cls4 cls5 clph uc00 uc01 uc02 uc03 uc04 uc05 uc06 uc07 "
      "uc08 uc09 uc10 uc11 uc12 uc13 uc14 uc15 uc16 uc17 xcl1 xcl2 lbcv lbcf mxit");
  std::vector<std::string> expected_keys{std::istream_iterator<std::string>(order), {}};
  EXPECT_EQ(keys, expected_keys);

  std::set<std::string> saved(records.begin(), records.end());
  for (const char* record :
       {"diri=/opt/ostrel", "beep= 0", "edge= 0", "rtrn= 1", "vsol=1", "otsm=0", "rclo=0", "vlab=1",
        "ssol=solid", "sfrm= ", "lbcf=28.128.128", "uc17=128.128.128", "mxit=7"}) {
    EXPECT_EQ(saved.count(record), 1u) << record;
  }
}

// Reading a file that gives every key `value_of(key)`, saving and reading again gives back the
// same values.
void expect_round_trip(const std::function<std::string(const std::string&)>& value_of,
                       Preferences& read_back) {
  std::string text;
  for (const auto& key : all_keys()) text += key + "=" + value_of(key) + "\r\n";
  text += "end\r\n";
  Reading first = read_text(text, {kFolder, "/in", "/out"});
  Reading second = read_text(saved_settings_text(first.prefs), {kFolder, "/in", "/out"});
  EXPECT_TRUE(second.ended);
  EXPECT_EQ(second.prefs, first.prefs);
  read_back = second.prefs;
}

TEST(SettingsFile, SaveThenLoadGivesBackEveryValue) {
  Preferences prefs;
  // Distinct texts show each key reaches its own control; flags and vlab all go off.
  expect_round_trip(
      [](const std::string& key) {
        if (key == "diri") return std::string("/in");
        if (key == "diro") return std::string("/out");
        return key + "v";
      },
      prefs);
  EXPECT_EQ(prefs.InDir + prefs.OutDir, "/in/out");
  EXPECT_EQ(prefs.Force[6], "f006v");
  EXPECT_EQ(prefs.VertexSize, "vxszv");
  EXPECT_EQ(prefs.VertexCol, "vxclv");
  EXPECT_EQ(prefs.CylCol2, "cy2cv");
  EXPECT_EQ(prefs.Colour10, "clpxv");
  EXPECT_EQ(prefs.Colour103, "clx3v");
  EXPECT_EQ(prefs.ColourS[5], "cls5v");
  EXPECT_EQ(prefs.UCol[0], "uc00v");
  EXPECT_EQ(prefs.UCol[17], "uc17v");
  EXPECT_EQ(prefs.XCol2, "xcl2v");
  EXPECT_EQ(prefs.LabFCol, "lbcfv");
  EXPECT_EQ(prefs.VertexLabel, kVertexLabelStandard);
  EXPECT_FALSE(prefs.RhomColO || prefs.BeepIt || prefs.Edge || prefs.RealmTrans || prefs.OutSame);

  // Every flag on, vlab Billboard.
  expect_round_trip([](const std::string&) { return std::string("1"); }, prefs);
  EXPECT_TRUE(prefs.RhomColO && prefs.BeepIt && prefs.Edge && prefs.RealmTrans && prefs.OutSame &&
              prefs.SolidVRML && prefs.OffFile);
  EXPECT_EQ(prefs.VertexLabel, kVertexLabelBillboard);
}

TEST(SettingsFile, GltfStlAndNetChoicesAreSavedAfterTheOtherRecordsOnlyWhenOn) {
  Preferences prefs;
  prefs.InDir = "/in";
  prefs.OutDir = "/out";
  const std::string plain = saved_settings_text(prefs);
  prefs.GltfFile = prefs.StlFile = prefs.NetFile = true;
  const std::vector<std::string> records = lines_of(saved_settings_text(prefs));
  ASSERT_GE(records.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(records.end() - 4, records.end()),
            (std::vector<std::string>{"vglb=1", "vstl=1", "vnet=1", "end "}));
  Reading reading = read_text(saved_settings_text(prefs), {kFolder, "/in", "/out"});
  EXPECT_TRUE(reading.prefs.GltfFile && reading.prefs.StlFile && reading.prefs.NetFile);
  EXPECT_TRUE(reading.messages.empty());
  reading = read_text(plain, {kFolder, "/in", "/out"});
  EXPECT_FALSE(reading.prefs.GltfFile || reading.prefs.StlFile || reading.prefs.NetFile);
  // Threads is kept the same way: a record only when it is not the default 0 (one per core).
  EXPECT_EQ(plain.find("thrd"), std::string::npos);
  prefs.Threads = "2";
  EXPECT_EQ(read_text(saved_settings_text(prefs), {kFolder, "/in", "/out"}).prefs.Threads, "2");
}

TEST(SettingsFile, AppliesToRunSettings) {
  Preferences prefs = read_text(kDefaultFile).prefs;
  prefs.InDir = "/in";
  prefs.OutDir = "/out";
  prefs.OutSame = true;
  prefs.Force[6] = "60";
  prefs.SolidVRML = false;
  prefs.VertexLabel = kVertexLabelStandard;
  prefs.ColourS[5] = "5.5.5";
  prefs.CylSuffix = "mol";
  RunSettings run;
  apply_to_run_settings(prefs, run);
  EXPECT_EQ(run.InDir + run.OutDir, "/in/out");
  EXPECT_TRUE(run.OutSame);
  EXPECT_EQ(run.Force, prefs.Force);
  EXPECT_FALSE(run.SolidVRML);
  EXPECT_EQ(run.VertexLabel, kVertexLabelStandard);
  EXPECT_EQ(run.ColourS, prefs.ColourS);
  EXPECT_EQ(run.CylSuffix, "mol");
  EXPECT_EQ(run.VRMLBack, "0.0.0");
  EXPECT_EQ(run.LabFCol, "28.128.128");
  EXPECT_FALSE(run.RhomColO);
}

// ---- Files ----

TEST(SettingsFileOnDisk, FirstStartCreatesTheDefaultFileAndReadsIt) {
  TempDir folder;
  fs::path path = settings_path(folder.path());
  EXPECT_EQ(path, folder.path() / "ostrel.ini");
  MessageRecorder recorder;
  Preferences prefs = load_settings(path, folder.path(), recorder);
  EXPECT_EQ(recorder.messages, Messages{});
  EXPECT_EQ(read_file(path), default_settings_text(folder.path().string()));
  EXPECT_EQ(prefs.CylSuffix, "cylinder");
  EXPECT_EQ(prefs.InDir, folder.path().string());
}

TEST(SettingsFileOnDisk, UnwritableFolderFallsBackToDefaultValues) {
  TempDir folder;
  fs::path path = settings_path(folder.path() / "no such folder");
  MessageRecorder recorder;
  Preferences prefs = load_settings(path, folder.path(), recorder);
  EXPECT_EQ(recorder.messages,
            Messages{"Ostrel could not write the settings file " + path.string() +
                     "; the default settings are used for this session."});
  EXPECT_EQ(prefs.CylSuffix, "cylinder");
  EXPECT_EQ(prefs.InDir, folder.path().string());
  EXPECT_FALSE(fs::exists(path));
}

TEST(SettingsFileOnDisk, UnreadableFileReportsAnErrorNumber) {
  TempDir folder;
  fs::path path = settings_path(folder.path());
  fs::create_directory(path);  // exists, but cannot be read as a file
  MessageRecorder recorder;
  Preferences prefs = load_settings(path, folder.path(), recorder);
  EXPECT_EQ(recorder.messages, Messages{"Ostrel has detected error number 75"});
  EXPECT_EQ(prefs.CylSuffix, "molecule");
  EXPECT_EQ(prefs.InDir, fs::current_path().string());
}

TEST(SettingsFileOnDisk, SaveReplacesTheFileAndKeepsItsPermissions) {
  TempDir folder;
  fs::path path = settings_path(folder.path());
  write_file(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  Preferences prefs;
  prefs.InDir = prefs.OutDir = folder.path().string();
  prefs.BeepIt = true;
  ASSERT_TRUE(save_settings(path, prefs));
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  MessageRecorder recorder;
  EXPECT_EQ(load_settings(path, folder.path(), recorder), prefs);
  EXPECT_EQ(recorder.messages, Messages{});
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
}

TEST(SettingsFileOnDisk, SaveThroughALinkReplacesTheFileItNames) {
  TempDir folder;
  fs::path real = folder.path() / "real.ini";
  fs::path link = settings_path(folder.path());
  write_file(real, "old");
  fs::create_symlink(real, link);
  ASSERT_TRUE(save_settings(link, Preferences{}));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read_file(real), saved_settings_text(Preferences{}));
}

TEST(SettingsFileOnDisk, FailedSaveLeavesTheOldFileIntact) {
  TempDir folder;
  fs::path path = settings_path(folder.path());
  const std::string old_text = default_settings_text(folder.path().string());
  write_file(path, old_text);

  // Let no file grow past 100 bytes, so that the write fails half way.
  rlimit saved_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_limit), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved_limit;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  SettingsWriteResult result = save_settings(path, Preferences{});
  setrlimit(RLIMIT_FSIZE, &saved_limit);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(result);
  EXPECT_EQ(result.message, "Ostrel could not write the settings file " + path.string() +
                                "; the previous settings file is unchanged and the settings "
                                "apply to this session only.");
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(read_file(path), old_text);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);  // no leftovers
}

TEST(SettingsFileOnDisk, ReadOnlyFolderIsReportedAndTheFileKept) {
  TempDir folder;
  fs::path path = settings_path(folder.path());
  write_file(path, "end\r\n");
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  bool writable = ::access(folder.path().c_str(), W_OK) == 0;  // true for root
  SettingsWriteResult result = save_settings(path, Preferences{});
  fs::permissions(folder.path(), fs::perms::owner_all);
  if (writable) GTEST_SKIP() << "the folder stays writable for this user";
  EXPECT_FALSE(result);
  EXPECT_EQ(read_file(path), "end\r\n");
}

}  // namespace
}  // namespace ostrel
