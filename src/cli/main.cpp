// ostrel-cli: the command line front end over the Ostrel library.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <limits>

#include "cli/inspect.h"
#include "cli/run_command.h"
#include "core/run_error.h"
#include "settings/option_table.h"

namespace {

// Messages of the library go to stderr, one line each, in the system's words.
class StderrSink final : public ostrel::MessageSink {
 public:
  void message(const std::string& text) override { std::cerr << text << "\n"; }
};

// The folder that holds the program: where a portable copy keeps its ostrel.ini.
std::string program_folder(const char* argv0) {
  std::error_code error;
  auto self = std::filesystem::canonical("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv0, error);
  return self.parent_path().string();
}

// Whole-number options in plain ranges: "--attempts: Value 0 not in range [1 - 2147483647]".
const CLI::Range kAtLeastOne(1, std::numeric_limits<int>::max());
const CLI::Range kAtLeastZero(0, std::numeric_limits<int>::max());

void add_run_options(CLI::App& command, ostrel::cli::RunOptions& run, bool with_input) {
  if (with_input) {
    command.add_option("INPUT", run.input, "Input file (- for standard input)")->required();
  } else {
    command.add_option("KIND", run.shape_kind, "polygon, pyramid, prism or antiprism")
        ->required()
        ->check(CLI::IsMember({"polygon", "pyramid", "prism", "antiprism"}));
    command.add_option("SIZE", run.shape_size, "n or n/d, e.g. 5 or 7/3")->required();
  }
  command.add_option("-o,--output", run.output_folder, "Output folder (default: the current one)");
  command.add_option("--ini", run.ini,
                     "Settings file (default: a writable ostrel.ini beside the program, else "
                     "~/.config/ostrel/ostrel.ini)");
  command.add_option("--seed", run.seed, "Seed of the random starts (default: from the clock)");
  command
      .add_option("--isomorphs", run.isomorphs,
                  "Stop after this many new isomorphs have been written (default 1)")
      ->check(kAtLeastOne);
  command
      .add_option("--attempts", run.attempts, "Stop after this many isomorph starts (default 20)")
      ->check(kAtLeastOne);
  command
      .add_option("--collapse-stars", run.collapse_stars,
                  "Answer to \"Collapse possible star polygon found in input?\" (default no)")
      ->check(CLI::IsMember({"yes", "no"}));
  command.add_option("--report", run.report, "Write a JSON summary of the run to this file");
  command.add_flag("-q,--quiet", run.quiet, "No progress line");
  command
      .add_option("--jobs", run.jobs,
                  "Threads for attempts run ahead and for the pair sums of the robust start "
                  "(default: Threads of the settings, 0: one per core; more than the cores are not "
                  "used, with a warning); the files are the same for any number")
      ->check(kAtLeastZero);

  // The flags of the option table, each a typed change of its option.
  for (const ostrel::OptionRow& row : ostrel::option_table()) {
    if (row.flag.empty()) continue;
    const ostrel::OptionRow* option = &row;
    if (row.kind == ostrel::OptionKind::kCheck) {
      command.add_flag_callback(
          row.flag,
          [&run, option] {
            run.edits.push_back({option, {}});
          },
          row.help);
      continue;
    }
    CLI::Option* added = command.add_option_function<std::string>(
        row.flag,
        [&run, option](const std::string& text) {
          run.edits.push_back({option, text});
        },
        row.help);
    if (row.kind == ostrel::OptionKind::kChoice) added->check(CLI::IsMember(row.items));
  }
  command
      .add_option("--segment", run.segments,
                  "Placement of segment K: K:edge=E,x=X,y=Y,z=Z,flip=xyz,trans")
      ->allow_extra_args(false);
  command
      .add_option_function<std::vector<std::string>>(
          "--set",
          [&run](const std::vector<std::string>& values) {
            for (const std::string& value : values) run.edits.push_back({nullptr, value});
          },
          "Set any option by its control name: --set Force4=20 --set ForceRhom=r30")
      ->allow_extra_args(false);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Ostrel: models of polyhedra relaxed from their faces", "ostrel-cli"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("ostrel-cli ") + OSTREL_VERSION);

  ostrel::cli::InspectOptions inspect;
  auto* inspect_command =
      app.add_subcommand("inspect", "Parse an input file and print what was read");
  inspect_command->add_option("FILE", inspect.input, "Input file")->required();
  inspect_command->add_flag("--json", inspect.json, "Print one JSON object");
  inspect_command->add_option("--segment", inspect.segment, "Segment to read (from 1)")
      ->check(kAtLeastOne);
  inspect_command->add_flag("--realms", inspect.realms,
                            "Also read every segment and the realm section");
  inspect_command->add_flag("--prepared", inspect.prepared,
                            "Show the model after preparation: faces, edges, vertex links");
  inspect_command->add_option("--set", inspect.assignments,
                              "Run options for the preparation by control name (Weaken=1 ...)");
  inspect_command->add_flag("--collapse-stars", inspect.collapse_stars,
                            "Collapse fans of five or more triangles into star faces");

  ostrel::cli::RunOptions run;
  auto* run_command = app.add_subcommand("run", "Relax an input file and write its output files");
  add_run_options(*run_command, run, true);

  ostrel::cli::RunOptions shape;
  auto* shape_command = app.add_subcommand(
      "shape", "Relax a polygon, pyramid, prism or antiprism on {n} or {n/d} and write its files");
  add_run_options(*shape_command, shape, false);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }

  StderrSink messages;
  int status = 2;
  try {
    if (*inspect_command) status = ostrel::cli::run_inspect(inspect, std::cout, messages);
    if (*run_command) status = ostrel::cli::run_command(run, program_folder(argv[0]));
    if (*shape_command) status = ostrel::cli::run_command(shape, program_folder(argv[0]));
  } catch (const ostrel::RunError& error) {
    messages.message(error.what());
    if (!error.detail().empty()) std::cerr << "  (" << error.detail() << ")\n";
    status = 1;
  }
  // What was printed is part of the result: a full disk or a closed stdout is a failure.
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "Error: Cannot write to standard output\n";
    if (status == 0) status = 1;
  }
  return status;
}
