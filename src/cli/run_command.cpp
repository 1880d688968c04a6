#include "cli/run_command.h"

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "cli/settings_flags.h"
#include "cli/standard_input.h"
#include "core/number_format.h"
#include "engine/run.h"
#include "input/parser.h"
#include "input/prescan.h"
#include "output/file_set.h"
#include "settings/run_option_checks.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"

namespace ostrel::cli {
namespace {

std::atomic<bool> interrupted{false};

extern "C" void on_interrupt(int) {
  interrupted = true;
}

// Messages as lines on stderr; questions answered by options; Ctrl-C as the Quit button.
class CliHost final : public RunHost {
 public:
  CliHost(bool collapse_stars, bool show_progress)
      : collapse_stars_(collapse_stars), show_progress_(show_progress) {}

  void message(const std::string& text) override {
    clear_progress();
    std::cerr << text << "\n";
  }

  bool ask_yes_no(const std::string& question) override {
    clear_progress();
    std::cerr << question << " " << (collapse_stars_ ? "Yes" : "No")
              << (collapse_stars_
                      ? ""
                      : " (a fan of triangles was found; --collapse-stars yes collapses it)")
              << "\n";
    return collapse_stars_;
  }

  bool ask_resume(const std::string& text) override {
    clear_progress();
    std::cerr << text << "\n";
    return true;
  }

  void progress(const ProgressSnapshot& snapshot) override {
    if (!show_progress_) return;
    std::string line = "iteration " + std::to_string(snapshot.IterationNo) + "  Deform " +
                       FormatOutputNumber(snapshot.Deform, "##0.0#########") + "  Deforp " +
                       FormatOutputNumber(snapshot.Deforp, "##0.0#########") + "  isomorph " +
                       std::to_string(snapshot.IsomorphNo) + "  " + snapshot.ExpandOpt;
    // A robust start has no iterations yet: its stage and cost instead.
    if (!snapshot.start_stage.empty())
      line = "isomorph " + std::to_string(snapshot.IsomorphNo) + "  " + snapshot.start_stage;
    std::cerr << "\r" << line << "\x1b[K" << std::flush;
    line_shown_ = true;
  }

  ButtonPresses poll() override {
    ButtonPresses pressed;
    pressed.quit = interrupted.load();
    return pressed;
  }

  void note(const std::string& text) override {
    clear_progress();
    std::cerr << "note: " << text << "\n";
  }

  void beep() override {
    if (show_progress_) std::cerr << '\a' << std::flush;
  }

  void clear_progress() {
    if (!line_shown_) return;
    std::cerr << "\r\x1b[K" << std::flush;
    line_shown_ = false;
  }

 private:
  bool collapse_stars_;
  bool show_progress_;
  bool line_shown_ = false;
};

// The run's summary as JSON; paths are kept as they are (UTF-8). False when the file could not be
// written, with the message on stderr.
bool write_report(const std::string& path, const RunReport& report) {
  using Json = nlohmann::ordered_json;
  const auto number = [](double value) { return std::isfinite(value) ? Json(value) : Json(); };
  const auto paths = [](const std::vector<std::filesystem::path>& files) {
    Json list = Json::array();
    for (const auto& file : files) list.push_back(file.string());
    return list;
  };
  Json json;
  json["seed"] = std::to_string(report.seed);
  json["end"] = report.end == RunEnd::kFinished ? "finished"
                : report.end == RunEnd::kQuit   ? "quit"
                                                : "error";
  json["isomorphs"] = Json::array();
  for (const IsomorphReport& isomorph : report.isomorphs) {
    json["isomorphs"].push_back({{"number", isomorph.number},
                                 {"iterations", static_cast<long long>(isomorph.iterations)},
                                 {"deform", number(isomorph.deform)},
                                 {"deforp", number(isomorph.deforp)},
                                 {"outcome", outcome_name(isomorph.outcome)},
                                 {"files", paths(isomorph.files)}});
  }
  json["files"] = paths(report.files);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  // A path that is not UTF-8 keeps its place with U+FFFD for the bytes that are not.
  out << json.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
  out.close();
  if (out) return true;
  std::cerr << "Error: Cannot write the report " << path << "\n";
  return false;
}

// Styles whose suffix texts give the same file name overwrite one another in the order they are
// written; say which file is lost, so that nothing goes silently.
void warn_about_overwritten_styles(const RunSettings& settings, const std::filesystem::path& folder,
                                   const std::string& name) {
  if (settings.SegmentCount > 1) return;
  OutputContext context;
  context.OutputDirectory = folder;
  context.OutputName = name;
  std::map<std::filesystem::path, const char*> written;
  static const char* kStyleNames[] = {"solid", "animated", "frame", "switch", "cylinder"};
  for (std::size_t i = 0; i < kVrmlStyles.size(); ++i) {
    VrmlStyle style = kVrmlStyles[i];
    if (!style_enabled(settings, style)) continue;
    auto path = vrml_file_path(settings, context, style);
    auto [earlier, inserted] = written.try_emplace(path, kStyleNames[i]);
    if (!inserted) {
      std::cerr << "Warning: the " << kStyleNames[i] << " file overwrites the " << earlier->second
                << " file " << path.string() << " (their suffixes give the same name)\n";
      earlier->second = kStyleNames[i];
    }
  }
}

}  // namespace

int run_command(const RunOptions& given, const std::string& program_folder) {
  CliHost host(given.collapse_stars == "yes", !given.quiet && ::isatty(2));
  RunOptions options = given;
  StandardInputFile standard_input;
  if (options.input == "-") {
    if (!standard_input.save(std::cin)) {
      std::cerr << "Error: Cannot read standard input\n";
      return 1;
    }
    options.input = standard_input.path().string();
  }

  std::optional<SpecialShape> shape;
  if (!options.shape_kind.empty()) {
    static const std::map<std::string, SpecialShape::Kind> kinds{
        {"polygon", SpecialShape::kPolygon},
        {"pyramid", SpecialShape::kPyramid},
        {"prism", SpecialShape::kPrism},
        {"antiprism", SpecialShape::kAntiprism}};
    shape = SpecialShape{kinds.at(options.shape_kind), 0, 1};
    read_shape_size(options.shape_size, *shape);
    std::string problem = shape_size_problem(*shape);
    if (!problem.empty()) {
      std::cerr << problem << "\n";
      return 2;
    }
  } else {
    std::error_code error;
    if (!std::filesystem::is_regular_file(options.input, error)) {
      std::cerr << "Error: Cannot open input file " << options.input << "\n";
      return 1;
    }
  }
  Preferences preferences =
      load_settings_at(find_settings_location(program_folder, options.ini), host);

  RunRequest request;
  apply_to_run_settings(preferences, request.settings);
  request.input = options.input;
  request.shape = shape;
  request.output_folder = options.output_folder;
  if (!shape) request.settings.SegmentCount = prescan_input_file(options.input).segment_count();
  for (const RunOptions::Edit& edit : options.edits) {
    if (edit.flag != nullptr) {
      apply_flag(request.settings, *edit.flag, edit.value);
      continue;
    }
    std::string problem = set_control_assignment(request.settings, edit.value);
    if (!problem.empty()) {
      std::cerr << "ostrel-cli: " << problem << "\n";
      return 2;
    }
  }
  for (const std::string& segment : options.segments) {
    std::string problem = set_segment_options(request.settings, segment);
    if (!problem.empty()) {
      std::cerr << "ostrel-cli: " << problem << "\n";
      return 2;
    }
  }
  std::vector<std::string> ignored = drop_options_greyed_for_segments(request.settings);
  // The files of a model of several segments are its VRML and OFF files only.
  if (request.settings.SegmentCount > 1) {
    if (request.settings.GltfFile) ignored.push_back("GltfFile");
    if (request.settings.StlFile) ignored.push_back("StlFile");
  }
  if (!ignored.empty()) {
    std::string names;
    for (const std::string& name : ignored) names += (names.empty() ? "" : ", ") + name;
    std::cerr << "Warning: " << names << " ignored: the input has segments\n";
  }
  if (std::string problem = first_run_option_problem(request.settings); !problem.empty()) {
    std::cerr << problem << "\n";
    return 2;
  }
  // The output folder is made (with its parents) before any work, so that a run never relaxes
  // a model only to fail every write.
  std::error_code folder_error;
  std::filesystem::create_directories(request.output_folder, folder_error);
  if (folder_error || !std::filesystem::is_directory(request.output_folder, folder_error)) {
    std::cerr << "Error: Cannot make the output folder " << request.output_folder.string()
              << (folder_error ? ": " + folder_error.message() : std::string()) << "\n";
    return 1;
  }
  warn_about_overwritten_styles(
      request.settings, request.output_folder,
      request.shape ? shape_base_name(*request.shape) : input_base_name(options.input));
  request.seed = options.seed;
  request.limits.new_isomorphs = options.isomorphs;
  request.limits.attempts = options.attempts;
  request.jobs = options.jobs ? *options.jobs : request.settings.threads();

  interrupted = false;
  auto previous = std::signal(SIGINT, on_interrupt);
  RunReport report = run(request, host);
  std::signal(SIGINT, previous);
  host.clear_progress();

  if (!options.seed) std::cerr << "seed: " << report.seed << "\n";
  for (const auto& file : report.files) std::cout << file.string() << "\n";
  const bool reported = options.report.empty() || write_report(options.report, report);

  if (report.end == RunEnd::kQuit) return 130;
  if (report.end == RunEnd::kError || !reported) return 1;
  if (report.files.empty()) {
    std::cerr << "Error: No output file was written\n";
    return 1;
  }
  if (report.nets_not_written > 0) return 1;  // a net asked for and not written is a failure
  return 0;
}

}  // namespace ostrel::cli
