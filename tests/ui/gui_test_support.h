#ifndef MORVA_TESTS_UI_GUI_TEST_SUPPORT_H_
#define MORVA_TESTS_UI_GUI_TEST_SUPPORT_H_

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "ui/qt_user_interface.h"
#include "ui/window_context.h"

namespace morva {

class MainWindow;

// The services, session and context of a desktop program whose program directory (settings file, log)
// is `program_directory`, a host directory the test made. Built as main() builds them, with the real
// file system, codec and regular expressions.
struct UiHarness {
  // The engine's messages are shown translated by `translation` when it is not null.
  explicit UiHarness(const QString& program_directory, const MessageCatalogue* translation = nullptr);

  std::unique_ptr<TextCodec> codec;
  std::unique_ptr<FileSystem> fs;
  std::unique_ptr<RegexService> regex;
  QtUserInterface ui;
  Session session;
  UiContext context;
};

// The engine path of a host path; fails the test (QVERIFY) when it has none.
std::string EnginePath(UiHarness& harness, const QString& host_path);

// Writes the settings file of `home` for `job` as the program itself would, then `extra`.
void WriteSettings(const QString& home, const Job& job, const QByteArray& extra = {});

// The job most tests run: the general rule, names to upper case, extensions left alone.
void SetUpperCaseJob(ConversionSettings& settings);

// Empty files "f000.txt", "f001.txt", ... in `directory`, `count` of them; false when one cannot be made.
bool MakeNumberedFiles(const QString& directory, int count);

// An empty file at host path `path`; fails the test (QVERIFY) when it cannot be made.
void Touch(const QString& path);

// A job whose window shows no target list beside the main window.
Job QuietJob();

// Makes `window` the main window of `harness`'s interface (its dialogs' owner) and shows it as the program
// does; false when it is not exposed in time. The test clears it again before the window goes.
bool ShowAsMainWindow(UiHarness& harness, MainWindow& window);

// The run's progress dialog while it is shown; null otherwise.
QWidget* OpenProgressDialog();

}  // namespace morva

#endif  // MORVA_TESTS_UI_GUI_TEST_SUPPORT_H_
