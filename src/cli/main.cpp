// ostrel-cli: the command line front end over the Ostrel library.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/inspect.h"
#include "engine/run_error.h"

namespace {

// Messages of the library go to stderr, one line each, in the system's words.
class StderrSink final : public ostrel::MessageSink {
 public:
  void message(const std::string& text) override { std::cerr << text << "\n"; }
};

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
      ->check(CLI::PositiveNumber);
  inspect_command->add_flag("--realms", inspect.realms,
                            "Also read every segment and the realm section");

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
  try {
    if (*inspect_command) return ostrel::cli::run_inspect(inspect, std::cout, messages);
  } catch (const ostrel::RunError& error) {
    messages.message(error.what());
    if (!error.detail().empty()) std::cerr << "  (" << error.detail() << ")\n";
    return 1;
  }
  return 2;
}
