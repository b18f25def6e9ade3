// The dialogs (preview, progress, extraction, about, run selection), for morva-screenshots: each on
// what the engine made of a real temporary tree.
#include <QFile>
#include <QTemporaryDir>

#include "engine/conversion_run.h"
#include "log/log_writer.h"
#include "platform/engine_text.h"
#include "ui/about_dialog.h"
#include "ui/extraction_dialog.h"
#include "ui/gui_test_support.h"
#include "ui/modal_driver_support.h"
#include "ui/preview_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/run_selection_dialog.h"
#include "ui/screenshots.h"

namespace morva {
namespace {

bool Touch(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly);
}

// Names a replacement of "x" by "y" partly fails on: x1 would take y1's name.
bool MakePreviewTree(const QDir& dir) {
  bool ok = dir.mkpath(QStringLiteral("x アルバム"));
  for (const char* name : {"x1.txt", "x2.txt", "y1.txt", "写真 x3.jpg", "メモ.txt", "x アルバム/x4.mp3",
                           "x アルバム/y4.mp3", "x アルバム/曲 x5.mp3"}) {
    ok = Touch(dir.filePath(QString::fromUtf8(name))) && ok;
  }
  return ok;
}

// Runs the job of `harness` for real, answering its question and its summary.
bool RunJob(UiHarness& harness) {
  ModalDriver driver;
  driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
      .Answer(QStringLiteral("完全成功："), QMessageBox::Ok);
  const ConversionResult result = Run(harness.session, nullptr, false);
  return driver.done() && result.outcome == ConversionOutcome::kRunFinished;
}

bool PreviewShot(const QDir& out) {
  QTemporaryDir home, tree;
  if (!home.isValid() || !tree.isValid() || !MakePreviewTree(QDir(tree.path()))) return false;
  UiHarness harness(home.path());
  ConversionSettings& job = harness.session.job.settings;
  job.sw_fnm = static_cast<std::int16_t>(NameRule::kReplace);
  job.fnm_ckn1.Assign("x");
  job.fnm_ckn3.Assign("y");
  job.sw_atr = {true, false, false, false};
  harness.session.job.app.sw_set[AppSettings::kSetRecurse] = true;
  harness.session.job.app.dirfil[0] = EnginePath(harness, tree.path());
  // The engine's preview, whose plan the dialog below shows.
  Plan plan;
  if (Preview(harness.session, &plan, false).outcome != ConversionOutcome::kPreviewClosed || plan.records.empty()) {
    return false;
  }
  harness.session.job.app.prew = 900;
  harness.session.job.app.preh = 320;
  harness.session.job.app.prec[1] = 300;
  std::string copy_directory;
  PreviewDialog dialog(harness.context, plan.records, plan.paths, &copy_directory, nullptr);
  return SaveShot(dialog, out, QStringLiteral("preview"));
}

bool ProgressShots(const QDir& out) {
  QTemporaryDir home;
  if (!home.isValid()) return false;
  UiHarness harness(home.path());
  TextCodec& codec = *harness.codec;
  ProgressDialog progress(codec, *harness.fs, nullptr, nullptr);
  progress.Start(Cp932Text(codec, "変換中です．．．"), 120);
  ProgressState state;
  state.path = Cp932Text(codec, "Z:\\home\\me\\写真\\2013\\x アルバム\\曲 x5.mp3");
  state.position = 45;
  state.total = 120;
  state.counts = Cp932Text(codec, "45 / 120 完了 （37%）");
  state.title = Cp932Text(codec, "MORVA - 変換状況（37%）");
  progress.Update(state);
  ExtractionDialog extraction(codec, nullptr);
  AboutDialog about(nullptr);
  return SaveShot(progress, out, QStringLiteral("progress")) &&
         SaveShot(extraction, out, QStringLiteral("extraction")) && SaveShot(about, out, QStringLiteral("about"));
}

bool RunSelectionShot(const QDir& out) {
  QTemporaryDir home, renamed, deleted;
  if (!home.isValid() || !renamed.isValid() || !deleted.isValid() || !MakePreviewTree(QDir(renamed.path())) ||
      !Touch(QDir(deleted.path()).filePath(QStringLiteral("old.txt")))) {
    return false;
  }
  UiHarness harness(home.path());
  ConversionSettings& job = harness.session.job.settings;
  AppSettings& app = harness.session.job.app;
  job.sw_fnm = static_cast<std::int16_t>(NameRule::kGeneral);
  job.fnm_ipn_sel = ConversionSettings::kGeneralCase;
  job.fnm_ipn2 = 1;
  app.dirfil[0] = EnginePath(harness, renamed.path());
  if (!RunJob(harness)) return false;
  job.sw_fnm = 0;
  job.sw_del = {true, true, false};
  app.dirfil[0] = EnginePath(harness, deleted.path());
  if (!RunJob(harness)) return false;
  std::vector<LoggedRun> runs;
  if (ScanRuns(*harness.fs, *harness.codec, LogPath(harness.session.host), &runs) != 2) return false;
  RunSelectionDialog dialog(harness.context, std::move(runs), nullptr);
  return SaveShot(dialog, out, QStringLiteral("run_selection"));
}

}  // namespace

bool RenderDialogShots(const QDir& out) {
  const bool preview = PreviewShot(out);
  const bool progress = ProgressShots(out);
  const bool runs = RunSelectionShot(out);
  return preview && progress && runs;
}

}  // namespace morva
