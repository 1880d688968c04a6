// The desktop program's windows. Every form is created once, when the program starts, and lives
// until it ends; forms are shown and hidden, so their controls keep their values between
// showings. Forms reach each other through this hub, and the hub turns the controls into the
// settings file's Preferences and into a run's RunRequest.
#pragma once

#include <filesystem>
#include <memory>

#include "engine/run.h"
#include "settings/settings_file.h"

namespace ostrel::gui {

class IntroWindow;
class FileForm;
class RunTimeForm;
class SegmentForm;
class SpecialForm;
class UserPrefForm;
class ColourPrefForm;
class ColourPickForm;
class DrawWindow;
class HelpWindow;
class WhatsNewWindow;
class ModelWindow;

class Forms {
 public:
  // `settings_file` is the ostrel.ini the forms read and save; the input and output folders start
  // at `default_folder` when the file names none, or one that has gone.
  Forms(std::filesystem::path settings_file, std::filesystem::path default_folder);
  // ostrel.ini in `program_folder`, which is the default folder too.
  explicit Forms(const std::filesystem::path& program_folder);
  ~Forms();
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;

  IntroWindow& intro() { return *intro_; }
  FileForm& file() { return *file_; }
  RunTimeForm& runtime() { return *runtime_; }
  SegmentForm& segments() { return *segments_; }
  SpecialForm& special() { return *special_; }
  UserPrefForm& user_pref() { return *user_pref_; }
  ColourPrefForm& colour_pref() { return *colour_pref_; }
  ColourPickForm& colour_pick() { return *colour_pick_; }
  DrawWindow& draw() { return *draw_; }
  HelpWindow& help() { return *help_; }
  WhatsNewWindow& whats_new() { return *whats_new_; }
  ModelWindow& model_window() { return *model_window_; }

  const std::filesystem::path& program_folder() const { return program_folder_; }
  const std::filesystem::path& settings_file() const { return settings_file_; }

  // Reads ostrel.ini (creating it when missing) into the controls; messages as message boxes.
  void load_settings();
  // Writes ostrel.ini from the controls. A failure is shown and false returned; the file
  // keeps its previous content.
  bool save_settings();

  // What the settings file holds, from the controls; and the other way round.
  Preferences preferences();
  void apply(const Preferences& prefs);

  // Every option of a run, read from the controls: the preferences, the run-time options, the
  // segment options and the file selection (input file, output folder).
  RunRequest run_request();

 private:
  static bool resources();

  bool resources_;  // first: the forms' help pages and icon are registered before they are built
  std::filesystem::path settings_file_;
  std::filesystem::path program_folder_;  // the default folder
  std::unique_ptr<IntroWindow> intro_;
  std::unique_ptr<FileForm> file_;
  std::unique_ptr<RunTimeForm> runtime_;
  std::unique_ptr<SegmentForm> segments_;
  std::unique_ptr<SpecialForm> special_;
  std::unique_ptr<UserPrefForm> user_pref_;
  std::unique_ptr<ColourPrefForm> colour_pref_;
  std::unique_ptr<ColourPickForm> colour_pick_;
  std::unique_ptr<DrawWindow> draw_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<WhatsNewWindow> whats_new_;
  std::unique_ptr<ModelWindow> model_window_;
};

}  // namespace ostrel::gui
