// The main window with each job page and each name rule page, the bracket, settings and preset dialogs,
// for morva-screenshots.
#include <QComboBox>
#include <QTabWidget>
#include <QTemporaryDir>

#include "ui/bracket_dialog.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/preset_load_dialog.h"
#include "ui/preset_save_dialog.h"
#include "ui/qt_text.h"
#include "ui/screenshots.h"
#include "ui/settings_dialog.h"

namespace morva {
namespace {

// A few saved presets of each kind, so that the dialogs show rows.
void FillPresets(TextCodec& codec, Presets& presets) {
  std::string names[3];
  FromQt(codec, QStringLiteral("写真の日付"), &names[0]);
  FromQt(codec, QStringLiteral("mp3 tracks"), &names[1]);
  FromQt(codec, QStringLiteral("連番"), &names[2]);
  for (int i = 0; i < 3; ++i) {
    presets.job.entries[i].name = names[i];
    presets.job.entries[i].job = std::make_unique<ConversionSettings>();
    presets.statement.entries[i].name = names[i];
    presets.statement.entries[i].text = "<FILE>_<SNUM>";
    presets.replacement.entries[i].name = names[i];
    presets.replacement.entries[i].text = "IMG_\tphoto_";
  }
  presets.job.last_name = names[0];
}

}  // namespace

bool RenderPageShots(const QDir& out) {
  QTemporaryDir home;
  if (!home.isValid()) return false;
  bool ok = true;
  UiHarness harness(home.path());
  harness.session.job.app.sw_set[AppSettings::kSetShowList] = false;
  MainWindow window(harness.context);
  harness.ui.set_main_window(&window);
  // The settings file was missing: the job the window shows is the default one; the presets come now.
  FillPresets(*harness.codec, harness.session.job.presets);
  const char* const rules[] = {"none", "general", "width", "replacement", "serial", "date", "id3_name", "statement", "csv"};
  for (int rule = 0; rule <= 8; ++rule) {
    window.ShowJobPage(rule, true);
    window.adjustSize();
    ok = SaveShot(window, out, QStringLiteral("page_rule_%1").arg(QString::fromLatin1(rules[rule]))) && ok;
  }
  const char* const jobs[] = {"attributes", "timestamps", "deletion", "id3"};
  for (int code = 11; code <= 14; ++code) {
    window.ShowJobPage(code, true);
    window.adjustSize();
    ok = SaveShot(window, out, QStringLiteral("page_%1").arg(QString::fromLatin1(jobs[code - 11]))) && ok;
  }
  {
    BracketDialog dialog(harness.context, &window);
    ok = SaveShot(dialog, out, QStringLiteral("bracket_dialog")) && ok;
  }
  {
    SettingsDialog dialog(harness.context, &window);
    ok = SaveShot(dialog, out, QStringLiteral("settings_dialog")) && ok;
  }
  const char* const kinds[] = {"job", "statement", "replacement"};
  for (int kind = 0; kind < 3; ++kind) {
    PresetSaveDialog save(harness.context, static_cast<PresetKind>(kind), {}, &window);
    ok = SaveShot(save, out, QStringLiteral("preset_save_dialog_%1").arg(QString::fromLatin1(kinds[kind]))) && ok;
    PresetLoadDialog load(harness.context, static_cast<PresetKind>(kind), &window);
    ok = SaveShot(load, out, QStringLiteral("preset_load_dialog_%1").arg(QString::fromLatin1(kinds[kind]))) && ok;
  }
  harness.ui.set_main_window(nullptr);
  return ok;
}

}  // namespace morva
