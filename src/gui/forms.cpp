#include "gui/forms.h"

#include <QDir>

#include "gui/colour_pick_form.h"
#include "gui/colour_pref_form.h"
#include "gui/controls.h"
#include "gui/draw_window.h"
#include "gui/file_form.h"
#include "gui/help_window.h"
#include "gui/intro_window.h"
#include "gui/messages.h"
#include "gui/model_window.h"
#include "gui/runtime_form.h"
#include "gui/segment_form.h"
#include "gui/special_form.h"
#include "gui/user_pref_form.h"
#include "settings/settings_location.h"

// The help page, the change history and the icon are compiled into the forms' library; a
// static library needs them registered by hand.
static bool load_resources() {
  Q_INIT_RESOURCE(ostrel);
  return true;
}

namespace ostrel::gui {
namespace {

QString folder_or_current(const std::string& folder) {
  return folder.empty() ? QDir::currentPath() : QString::fromStdString(folder);
}

}  // namespace

bool Forms::resources() {
  return load_resources();
}

Forms::Forms(const std::filesystem::path& program_folder)
    : Forms(settings_path(program_folder), program_folder) {}

Forms::Forms(std::filesystem::path settings_file, std::filesystem::path default_folder)
    : resources_(resources()),
      settings_file_(std::move(settings_file)),
      program_folder_(std::move(default_folder)),
      intro_(std::make_unique<IntroWindow>(*this)),
      file_(std::make_unique<FileForm>(*this)),
      runtime_(std::make_unique<RunTimeForm>(*this)),
      segments_(std::make_unique<SegmentForm>(*this)),
      special_(std::make_unique<SpecialForm>(*this)),
      user_pref_(std::make_unique<UserPrefForm>(*this)),
      colour_pref_(std::make_unique<ColourPrefForm>(*this)),
      colour_pick_(std::make_unique<ColourPickForm>(*this)),
      draw_(std::make_unique<DrawWindow>()),
      help_(std::make_unique<HelpWindow>(*this)),
      whats_new_(std::make_unique<WhatsNewWindow>()),
      model_window_(std::make_unique<ModelWindow>()) {
  const QIcon icon(ostrel_logo(64));
  for (QWidget* form : std::initializer_list<QWidget*>{
           intro_.get(), file_.get(), runtime_.get(), segments_.get(), special_.get(),
           user_pref_.get(), colour_pref_.get(), colour_pick_.get(), draw_.get(), help_.get(),
           whats_new_.get(), model_window_.get()}) {
    form->setWindowIcon(icon);
  }
}

Forms::~Forms() = default;

void Forms::load_settings() {
  MessageBoxSink sink;
  apply(load_settings_at({settings_file_, program_folder_}, sink));
}

bool Forms::save_settings() {
  SettingsWriteResult result = ostrel::save_settings(settings_file(), preferences());
  if (!result) Messages::show(result.message);
  return static_cast<bool>(result);
}

Preferences Forms::preferences() {
  Preferences prefs;
  prefs.InDir = file_->input_folder().toStdString();
  prefs.OutDir = file_->chosen_output_folder().toStdString();
  prefs.OutSame = file_->out_same();
  user_pref_->fill(prefs);
  colour_pref_->fill(prefs);
  colour_pick_->fill(prefs);
  return prefs;
}

void Forms::apply(const Preferences& prefs) {
  file_->set_input_folder(folder_or_current(prefs.InDir));
  file_->set_output_folder(folder_or_current(prefs.OutDir));
  file_->set_out_same(prefs.OutSame);
  user_pref_->apply(prefs);
  colour_pref_->apply(prefs);
  colour_pick_->apply(prefs);
}

RunRequest Forms::run_request() {
  RunRequest request;
  RunSettings& settings = request.settings;
  apply_to_run_settings(preferences(), settings);
  settings.InFile = file_->selected_file().toStdString();
  runtime_->fill(settings);
  segments_->fill(settings);
  request.input = std::filesystem::path(settings.InDir) / settings.InFile;
  request.output_folder = file_->output_folder().toStdString();
  // A simple shape chosen on its form is run instead of the input file.
  request.shape = special_->chosen_shape();
  return request;
}

}  // namespace ostrel::gui
