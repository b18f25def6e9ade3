#include "ui/gui_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "settings/settings_file.h"
#include "ui/main_window.h"
#include "ui/progress_dialog.h"
#include "ui/qt_text.h"

namespace morva {

UiHarness::UiHarness(const QString& program_directory, const MessageCatalogue* translation)
    : codec(NewIconvTextCodec()),
      fs(NewPosixFileSystem(codec.get())),
      regex(NewPcre2RegexService(codec.get())),
      ui(*codec, *fs, translation),
      session(*codec, *fs, ui),
      context{session, {}} {
  session.host.regex = regex.get();
  EnginePathFromQt(*codec, *fs, program_directory, &context.program_directory);
  session.host.program_directory = context.program_directory;
}

std::string EnginePath(UiHarness& harness, const QString& host_path) {
  std::string engine;
  if (!EnginePathFromQt(*harness.codec, *harness.fs, host_path, &engine)) {
    QTest::qFail(qPrintable("no engine path for " + host_path), __FILE__, __LINE__);
  }
  return engine;
}

void SetUpperCaseJob(ConversionSettings& settings) {
  settings.sw_fnm = static_cast<std::int16_t>(NameRule::kGeneral);
  settings.fnm_ipn_sel = ConversionSettings::kGeneralCase;
  settings.fnm_ipn2 = 1;
}

bool MakeNumberedFiles(const QString& directory, int count) {
  const QDir dir(directory);
  for (int i = 0; i < count; ++i) {
    QFile file(dir.filePath(QStringLiteral("f%1.txt").arg(i, 3, 10, QLatin1Char('0'))));
    if (!file.open(QIODevice::WriteOnly)) return false;
  }
  return true;
}

void Touch(const QString& path) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}

Job QuietJob() {
  Job job;
  job.app.sw_set[AppSettings::kSetShowList] = false;
  return job;
}

bool ShowAsMainWindow(UiHarness& harness, MainWindow& window) {
  harness.ui.set_main_window(&window);
  window.show();
  return QTest::qWaitForWindowExposed(&window);
}

QWidget* OpenProgressDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<ProgressDialog*>(widget) != nullptr && widget->isVisible()) return widget;
  }
  return nullptr;
}

void WriteSettings(const QString& home, const Job& job, const QByteArray& extra) {
  QFile file(QDir(home).filePath(QStringLiteral("morva.dat")));
  QVERIFY(file.open(QIODevice::WriteOnly));
  const std::string text = FormatSettingsText(job.settings, job.app);
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.write(extra);
}

}  // namespace morva
