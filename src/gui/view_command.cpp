#include "gui/view_command.h"

#include <QApplication>
#include <QImageWriter>
#include <QString>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "gui/model_view.h"
#include "gui/model_window.h"

namespace ostrel::gui {
namespace {

constexpr const char* kUsage =
    "usage: ostrel --view FILE.off [--screenshot OUT.png [--size WxH]] [--rotate YAW,PITCH] "
    "[--frame]\n";

struct ViewArguments {
  std::string file;
  std::string screenshot;
  int width = 800;
  int height = 800;
  ViewAngles angles;
  bool frame = false;
};

// Two numbers joined by `separator` ("800x600", "30,-15"), both read whole.
bool read_pair(std::string_view text, char separator, double& first, double& second) {
  const std::size_t split = text.find(separator);
  if (split == std::string_view::npos) return false;
  bool ok_first = false, ok_second = false;
  first = QString::fromUtf8(text.substr(0, split)).toDouble(&ok_first);
  second = QString::fromUtf8(text.substr(split + 1)).toDouble(&ok_second);
  return ok_first && ok_second;
}

// The arguments, or the message saying what is wrong with them.
std::optional<ViewArguments> read_arguments(int argc, char** argv, std::string& problem) {
  ViewArguments arguments;
  for (int k = 1; k < argc; ++k) {
    const std::string_view option = argv[k];
    if (option == "--frame") {
      arguments.frame = true;
      continue;
    }
    if (k + 1 >= argc) {
      problem = "ostrel: " + std::string(option) + " needs a value";
      return std::nullopt;
    }
    const std::string_view value = argv[++k];
    if (option == "--view") {
      arguments.file = value;
    } else if (option == "--screenshot") {
      arguments.screenshot = value;
    } else if (option == "--size") {
      double width = 0, height = 0;
      if (!read_pair(value, 'x', width, height) || width < 16 || height < 16 || width > 8192 ||
          height > 8192 || width != static_cast<int>(width) || height != static_cast<int>(height)) {
        problem = "ostrel: --size takes WIDTHxHEIGHT in pixels, 16 to 8192 each, e.g. 800x600";
        return std::nullopt;
      }
      arguments.width = static_cast<int>(width);
      arguments.height = static_cast<int>(height);
    } else if (option == "--rotate") {
      if (!read_pair(value, ',', arguments.angles.yaw, arguments.angles.pitch) ||
          !std::isfinite(arguments.angles.yaw) || !std::isfinite(arguments.angles.pitch)) {
        problem = "ostrel: --rotate takes YAW,PITCH in degrees, two finite numbers, e.g. 30,-15";
        return std::nullopt;
      }
    } else {
      problem = "ostrel: unknown option " + std::string(option);
      return std::nullopt;
    }
  }
  if (arguments.file.empty()) {
    problem = "ostrel: --view needs the OFF file to show";
    return std::nullopt;
  }
  return arguments;
}

}  // namespace

bool is_view_command(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    if (std::string_view(argv[k]) == "--view") return true;
  }
  return false;
}

int view_main(int argc, char** argv) {
  std::string problem;
  const std::optional<ViewArguments> arguments = read_arguments(argc, argv, problem);
  if (!arguments) {
    std::fprintf(stderr, "%s\n%s", problem.c_str(), kUsage);
    return 2;
  }
  // A picture needs no display.
  if (!arguments->screenshot.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  QApplication::setApplicationName("Ostrel");
  QApplication::setDesktopFileName("ostrel");

  ModelWindow window;
  const QString problem_text = window.load_file(QString::fromLocal8Bit(arguments->file.c_str()));
  if (!problem_text.isEmpty()) {
    std::fprintf(stderr, "ostrel: %s\n", qPrintable(problem_text));
    return 1;
  }
  if (const std::string why = view_problem(*window.view().scene()); !why.empty()) {
    std::fprintf(stderr, "ostrel: cannot show %s: %s\n", arguments->file.c_str(), why.c_str());
    return 1;
  }
  window.view().set_angles(arguments->angles);
  window.show_frame(arguments->frame);
  if (arguments->screenshot.empty()) {
    window.show();
    return QApplication::exec();
  }
  const QString out = QString::fromLocal8Bit(arguments->screenshot.c_str());
  QImageWriter writer(out, "png");
  if (!writer.write(window.view().picture(QSize(arguments->width, arguments->height)))) {
    std::fprintf(stderr, "ostrel: cannot write %s: %s\n", qPrintable(out),
                 qPrintable(writer.errorString()));
    return 1;
  }
  return 0;
}

}  // namespace ostrel::gui
