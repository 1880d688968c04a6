// ostrel-cli: the command line front end over the Ostrel library.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>

#include "cli/inspect.h"
#include "cli/run_command.h"
#include "core/run_error.h"

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
                  "Threads for attempts run ahead and for the pair sums (default: one per core); "
                  "the files are the same for any number")
      ->check(kAtLeastZero);

  auto flag = [&](const char* name, const char* help, std::vector<std::string> assignments) {
    command.add_flag_callback(
        name,
        [&run, assignments] {
          run.assignments.insert(run.assignments.end(), assignments.begin(), assignments.end());
        },
        help);
  };
  auto value = [&](const char* name, const char* help, std::string control,
                   std::vector<std::string> extra = {}) {
    command.add_option_function<std::string>(
        name,
        [&run, control, extra](const std::string& text) {
          run.assignments.insert(run.assignments.end(), extra.begin(), extra.end());
          run.assignments.push_back(control + "=" + text);
        },
        help);
  };
  flag("--once", "'Once' mode: one attempt at an output file", {"Once=1"});
  value("--weaken", "Weaken faces of at most LIMIT corners (implies --once)", "WeakenLimit",
        {"Weaken=1", "Once=1"});
  flag("--isomorph", "Vertex isomorph detection", {"Isomorph=1"});
  flag("--no-coincidence-check", "Permit coincident vertices", {"Coincidence=1"});
  flag("--xy", "Confine the model to the XY plane", {"XYConfine=1"});
  flag("--incord", "Write the input coordinates as entered, without relaxing", {"incord=1"});
  flag("--ignore-coordinates", "OFF input: relax from random starts, not the file's points",
       {"IgnoreCoordinates=1"});
  flag("--gltf", "Also write NAME.glb, a glTF 2.0 binary of the solid faces", {"GltfFile=1"});
  flag("--stl", "Also write NAME.stl, a binary STL of the solid surface", {"StlFile=1"});
  flag("--net", "Also write NAME_net.svg: the solid unfolded into a net for a paper model",
       {"NetFile=1"});
  command
      .add_option_function<double>(
          "--net-edge",
          [&run](double millimetres) {
            std::ostringstream text;
            text << millimetres;
            run.assignments.push_back("NetEdge=" + text.str());
          },
          "Printed edge length of the net in millimetres (default 30)")
      ->check(CLI::PositiveNumber);
  command
      .add_option_function<std::string>(
          "--net-page",
          [&run](const std::string& text) { run.assignments.push_back("NetPage=" + text); },
          "Paper of the net's pages: a4 or letter (default a4)")
      ->check(CLI::IsMember({"a4", "letter"}));
  flag("--debug", "Keep the debug log <name>_debug.txt in the output folder", {"Debug=1"});
  flag("--reghex", "Keep hexagons regular while local inflation is on", {"RegHex=1"});
  flag("--stress", "Also write every VRML style with stress cones (\"_stress\")", {"StressMap=1"});
  value("--smooth", "Smooth edges whose dihedral angle is below ANGLE degrees (\"_smooth\")",
        "SmoothAngle", {"Smooth=1"});
  flag("--labels", "Label the vertices in the VRML files", {"Labelling=1"});
  flag("--side-labels", "Label the faces in the VRML files", {"SideLab=1"});
  flag("--all-vertices", "Put a sphere on every vertex", {"HighVert=1"});
  flag("--all-cylinders", "Put a cylinder on every edge", {"AllCyl=1"});
  flag("--userdata", "Write the run options into the VRML header", {"Userdata=1"});
  value("--highlight", "Highlight faces of the kind N/D (0: every face)", "HighlightVal",
        {"Highlight=1"});
  value("--glob-lim", "Global inflation limit (default 99)", "GlobLim");
  value("--max-iter", "Iteration limit as a power of ten", "MaxIter");
  value("--band-length", "Length of the bands (links)", "BandLen");
  value("--sqrt-hop", "Modified hop: multiplier x sqrt(hop distance)", "SqrtMult", {"SqrtHop=1"});
  value("--select-face", "Faces N/D given their own local inflation", "SelectFace");
  command
      .add_option_function<std::string>(
          "--inflate",
          [&run](const std::string& text) {
            static const std::map<std::string, std::string> items{{"global", "0"},
                                                                  {"none", "1"},
                                                                  {"local-one", "2"},
                                                                  {"local-diagonal", "3"},
                                                                  {"stress", "4"}};
            run.assignments.push_back("InflateOption=" + items.at(text));
          },
          "Inflation: global, none, local-one, local-diagonal or stress (stress majorization)")
      ->check(CLI::IsMember({"global", "none", "local-one", "local-diagonal", "stress"}));
  value("--augment", "Raise pyramids on the faces of kind N/D (\"_aug\")", "AugmentVal",
        {"Augment=1"});
  command
      .add_option_function<std::string>(
          "--augment-option",
          [&run](const std::string& text) {
            static const std::map<std::string, std::string> items{
                {"leave", "1"}, {"remove", "2"}, {"bands", "3"}};
            run.assignments.push_back("AugmentOption=" + items.at(text));
          },
          "Base face of a pyramid: leave, remove or bands (kept, hidden)")
      ->check(CLI::IsMember({"leave", "remove", "bands"}));
  command
      .add_option_function<std::string>(
          "--augment-colour",
          [&run](const std::string& text) {
            static const std::map<std::string, std::string> items{
                {"original", "0"}, {"highlight", "1"}, {"triangle", "2"}};
            run.assignments.push_back("AugmentColour=" + items.at(text));
          },
          "Colour of the new triangles: original, highlight or triangle")
      ->check(CLI::IsMember({"original", "highlight", "triangle"}));
  command
      .add_option_function<std::string>(
          "--local-option",
          [&run](const std::string& text) {
            static const std::map<std::string, std::string> items{
                {"value", "0"}, {"range", "1"}, {"differential", "2"}, {"differential-range", "3"}};
            run.assignments.push_back("LocalOption=" + items.at(text));
          },
          "Local diagonal option: value, range, differential or differential-range")
      ->check(CLI::IsMember({"value", "range", "differential", "differential-range"}));
  command
      .add_option("--segment", run.segments,
                  "Placement of segment K: K:edge=E,x=X,y=Y,z=Z,flip=xyz,trans")
      ->allow_extra_args(false);
  command
      .add_option_function<std::vector<std::string>>(
          "--set",
          [&run](const std::vector<std::string>& values) {
            run.assignments.insert(run.assignments.end(), values.begin(), values.end());
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
