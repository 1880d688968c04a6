#include "gui_test_support.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "gui/file_form.h"

namespace ostrel::gui::test {

MessageLog::MessageLog() {
  Messages::set_hook([this](MessageKind kind, const QString& text) {
    texts_ << text;
    if (kind == MessageKind::kYesNo) return yes_no_answer;
    if (kind == MessageKind::kOkCancel) return ok_cancel_answer;
    return true;
  });
}

MessageLog::~MessageLog() {
  Messages::set_hook({});
}

void type_into(QObject* form, const QString& name, const QString& text) {
  auto* box = control<QLineEdit>(form, name);
  box->setText(text);
}

void click(QObject* form, const QString& name) {
  auto* button = control<QAbstractButton>(form, name);
  if (!button->isEnabled()) throw std::runtime_error(("disabled: " + name).toStdString());
  button->click();
}

void choose(QObject* form, const QString& name) {
  control<QRadioButton>(form, name)->setChecked(true);
}

void unchoose_all(QObject* form, const QString& first_option_name) {
  auto* option = control<QAbstractButton>(form, first_option_name);
  QButtonGroup* group = option->group();
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(true);
}

namespace {

QtMessageHandler previous_handler = nullptr;

// The offscreen platform cannot raise windows or hint their sizes; its notes about that are
// dropped so that the test output shows what matters.
void quiet_platform_notes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith("This plugin does not support")) return;
  if (previous_handler != nullptr) previous_handler(type, context, text);
}

}  // namespace

FormsUnderTest::FormsUnderTest() {
  static const bool installed = [] {
    previous_handler = qInstallMessageHandler(quiet_platform_notes);
    return true;
  }();
  (void)installed;
  forms = std::make_unique<Forms>(program_folder.path().toStdString());
  forms->load_settings();
  forms->file().set_input_folder(work_folder.path());
  forms->file().set_output_folder(work_folder.path());
}

FormsUnderTest::~FormsUnderTest() = default;

QString FormsUnderTest::write_input(const QString& name, const QByteArray& text) {
  QFile file(QDir(work_folder.path()).filePath(name));
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write input");
  file.write(text);
  return work_folder.path();
}

void FormsUnderTest::copy_example(const QString& name) {
  const QString source = QDir(OSTREL_EXAMPLES_DIR).filePath(name);
  if (!QFile::copy(source, QDir(work_folder.path()).filePath(name))) {
    throw std::runtime_error("cannot copy example");
  }
}

void FormsUnderTest::open_runtime_for(const QString& file) {
  FileForm& files = forms->file();
  files.open();
  auto* list = control<QListWidget>(&files, "InFile");
  const auto items = list->findItems(file, Qt::MatchExactly);
  if (items.isEmpty()) throw std::runtime_error(("not listed: " + file).toStdString());
  list->setCurrentItem(items.first());
  click(&files, "Run");
}

QStringList FormsUnderTest::work_files() const {
  return QDir(work_folder.path()).entryList(QDir::Files, QDir::Name);
}

}  // namespace ostrel::gui::test
