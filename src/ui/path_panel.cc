#include "ui/path_panel.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <string>

#include "core/app_settings.h"
#include "platform/path_utils.h"
#include "ui/page_binding.h"
#include "ui/file_choosers.h"
#include "ui/path_box.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_path_panel.h"

namespace morva {
namespace {

constexpr int kWildcardHistory = 8;   // wildcards kept in SET_12
constexpr int kWildcardsOffered = 7;  // wildcards the drop-down offers after a collection
constexpr char kStampFormat[] = "yyyy/MM/dd HH:mm:ss";

QDateTime ParseStamp(std::string_view text) {
  return QDateTime::fromString(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                               QString::fromLatin1(kStampFormat));
}

}  // namespace

PathPanel::PathPanel(UiContext& context, const std::optional<QString>& argument, QWidget* parent)
    : QWidget(parent), context_(context), ui_(std::make_unique<Ui::PathPanel>()) {
  ui_->setupUi(this);
  ui_->pathCombo->lineEdit()->setMaxLength(static_cast<int>(kMaxPath));
  const AppSettings& app = context_.session.job.app;
  TextCodec& codec = context_.session.host.codec;
  // Counted in code page 932 bytes, as the record holds it: a wildcard it could not hold would leave the
  // record's older one in force while the box shows the new one.
  LimitBytes(codec, ui_->wildcardCombo, 80);

  // People read host paths; the history stays in the engine's form, kept by each item.
  for (const auto& path : app.dirfil) {
    if (path.has_value() && !path->empty()) AddPathItem(context_.session.host.fs, codec, ui_->pathCombo, *path);
  }
  if (argument.has_value()) {
    ui_->pathCombo->setEditText(*argument);
  } else if (ui_->pathCombo->count() > 0) {
    ui_->pathCombo->setCurrentIndex(0);
  } else {
    ui_->pathCombo->addItem(QString());
  }

  const std::array<QCheckBox*, 9> checks = Flags();
  for (std::size_t i = 1; i < checks.size(); ++i) checks[i]->setChecked(app.sw_set[i]);

  QStringList history;
  for (const QString& w : ToQt(codec, app.set_12.view()).split(QLatin1Char('\t'), Qt::SkipEmptyParts)) history << w;
  FillWildcards(ToQt(codec, app.set_11.view()), history, kWildcardHistory);

  const int year = QDate::currentDate().year();
  const QDateTime lower = ParseStamp(app.set_dt1.view());
  const QDateTime upper = ParseStamp(app.set_dt2.view());
  const QDateTime lower_shown = lower.isValid() ? lower : QDateTime(QDate(year, 1, 1), QTime(0, 0, 0));
  const QDateTime upper_shown = upper.isValid() ? upper : QDateTime(QDate(year, 1, 1), QTime(23, 59, 59));
  ui_->lowerDate->setDate(lower_shown.date());
  ui_->lowerTime->setTime(lower_shown.time());
  ui_->upperDate->setDate(upper_shown.date());
  ui_->upperTime->setTime(upper_shown.time());
  ui_->lowerCheck->setChecked((app.set_dts & AppSettings::kRangeLower) != 0);
  ui_->upperCheck->setChecked((app.set_dts & AppSettings::kRangeUpper) != 0);
  ApplyEnableRules(nullptr);

  // Wiring: every change that changes the targets lists them again.
  connect(ui_->pathCombo->lineEdit(), &QLineEdit::textEdited, this, [this] { emit Changed(true); });
  connect(ui_->pathCombo, &QComboBox::activated, this, [this] { emit Changed(false); });
  // Enter takes the path typed: the target list shows what it names, the path tidied.
  connect(ui_->pathCombo->lineEdit(), &QLineEdit::returnPressed, this, [this] { emit Changed(false); });
  connect(ui_->wildcardCombo->lineEdit(), &QLineEdit::textEdited, this, [this] { emit Changed(false); });
  connect(ui_->wildcardCombo, &QComboBox::activated, this, [this] { emit Changed(false); });
  for (std::size_t i = 1; i < checks.size(); ++i) {
    QCheckBox* check = checks[i];
    connect(check, &QCheckBox::clicked, this, [this, check] {
      ApplyEnableRules(check);
      if (check == ui_->shortcutCheck) FollowShortcut();
      emit Changed(false);
    });
  }
  for (QCheckBox* check : {ui_->lowerCheck, ui_->upperCheck}) {
    connect(check, &QCheckBox::clicked, this, [this] {
      ApplyEnableRules(nullptr);
      emit Changed(false);
    });
  }
  for (QDateTimeEdit* edit : {static_cast<QDateTimeEdit*>(ui_->lowerDate), static_cast<QDateTimeEdit*>(ui_->lowerTime),
                              static_cast<QDateTimeEdit*>(ui_->upperDate), static_cast<QDateTimeEdit*>(ui_->upperTime)}) {
    connect(edit, &QDateTimeEdit::dateTimeChanged, this, [this] { emit Changed(false); });
  }
  connect(ui_->browseFolderButton, &QPushButton::clicked, this, [this] {
    const QString chosen = ChooseFolder(context_, this, PathText());
    if (!chosen.isEmpty()) SetPathText(chosen);
  });
  connect(ui_->browseFileButton, &QPushButton::clicked, this, [this] {
    QString from = PathText();
    std::string engine;
    Host& host = context_.session.host;
    if (EnginePathFromQt(host.codec, host.fs, from, &engine) && QFileInfo(HostPathToQt(host.fs, engine)).isDir()) {
      from = ToQt(host.codec, JoinPath(engine, "*.*"));
    }
    const QString chosen = ChooseFile(context_, this, from);
    if (!chosen.isEmpty()) SetPathText(chosen);
    ui_->pathCombo->setFocus();
  });
}

PathPanel::~PathPanel() = default;

std::array<QCheckBox*, 9> PathPanel::Flags() const {
  return {nullptr,
          ui_->shortcutCheck,
          ui_->recurseCheck,
          ui_->directoriesCheck,
          ui_->itselfCheck,
          ui_->wildcardCheck,
          ui_->directoriesOnlyCheck,
          ui_->exifOnlyCheck,
          ui_->id3OnlyCheck};
}

void PathPanel::FillWildcards(const QString& current, const QStringList& history, int looked_at) {
  const QSignalBlocker block(ui_->wildcardCombo);
  ui_->wildcardCombo->clear();
  int seen = 0;
  if (!current.isEmpty()) {
    ui_->wildcardCombo->addItem(current);
    ++seen;
  }
  for (const QString& w : history) {
    if (seen >= looked_at) break;
    ++seen;
    if (w.compare(current, Qt::CaseInsensitive) == 0) continue;
    ui_->wildcardCombo->addItem(w);
  }
  ui_->wildcardCombo->setEditText(current);
}

QStringList PathPanel::WildcardHistory() const {
  QStringList entries;
  for (int i = 0; i < ui_->wildcardCombo->count(); ++i) entries << ui_->wildcardCombo->itemText(i);
  return entries;
}

void PathPanel::ApplyEnableRules(const QCheckBox* clicked) {
  const bool directories = ui_->directoriesCheck->isChecked();
  if (!directories && clicked != nullptr) {
    ui_->itselfCheck->setChecked(false);
    ui_->directoriesOnlyCheck->setChecked(false);
  }
  ui_->itselfCheck->setEnabled(directories);
  ui_->directoriesOnlyCheck->setEnabled(directories);
  const bool exif = ui_->exifOnlyCheck->isChecked();
  const bool id3 = ui_->id3OnlyCheck->isChecked();
  ui_->exifOnlyCheck->setEnabled(!directories && !id3);
  ui_->id3OnlyCheck->setEnabled(!directories && !exif);
  ui_->directoriesCheck->setEnabled(!exif && !id3);
  ui_->wildcardCombo->setEnabled(ui_->wildcardCheck->isChecked());
  for (auto [check, date, time] : {std::tuple{ui_->lowerCheck, ui_->lowerDate, ui_->lowerTime},
                                   std::tuple{ui_->upperCheck, ui_->upperDate, ui_->upperTime}}) {
    date->setEnabled(check->isChecked());
    time->setEnabled(check->isChecked());
  }
}

void PathPanel::FollowShortcut() {
  if (!ui_->shortcutCheck->isChecked()) return;
  Host& host = context_.session.host;
  std::string engine;
  if (!EnginePathFromQt(host.codec, host.fs, PathText().trimmed(), &engine)) return;
  const QFileInfo info(HostPathToQt(host.fs, engine));
  if (!info.isSymLink()) return;
  std::string target;
  if (EnginePathFromQt(host.codec, host.fs, info.symLinkTarget(), &target)) {
    ui_->pathCombo->setEditText(DisplayPathToQt(host.fs, host.codec, target));
  }
}

bool PathPanel::Collect() {
  AppSettings& app = context_.session.job.app;
  Host& host = context_.session.host;

  // 1. The path leads the history. A history entry left as shown keeps its own engine path; a path
  // typed in the host's form is kept in the engine's, which validation and enumeration read.
  const QString typed = PathText();
  std::string path;
  bool taken = PathItemFor(ui_->pathCombo, typed, &path);
  if (!taken) {
    taken = typed.isEmpty() || FromQt(host.codec, typed, &path);
    if (taken && !IsEnginePathForm(path) && !path.empty()) {
      std::string engine;
      if (EnginePathFromQt(host.codec, host.fs, typed.trimmed(), &engine)) path = engine;
    }
  }
  taken = taken && path.size() < kMaxPath;
  if (taken) app.PushTargetPath(path);
  {
    const QSignalBlocker block(ui_->pathCombo);
    ui_->pathCombo->clear();
    for (const auto& entry : app.dirfil) {
      if (entry.has_value() && !entry->empty()) AddPathItem(host.fs, host.codec, ui_->pathCombo, *entry);
    }
    ui_->pathCombo->setEditText(path.empty() ? typed : DisplayPathToQt(host.fs, host.codec, path));
  }

  // 2. The flags.
  const std::array<QCheckBox*, 9> checks = Flags();
  for (std::size_t i = 1; i < checks.size(); ++i) app.sw_set[i] = checks[i]->isChecked();

  // 3. The wildcard and its history: the wildcard first, then the older ones, no two equal.
  const QString wildcard = ui_->wildcardCombo->currentText();
  std::string wildcard_cp932;
  if (FromQt(host.codec, wildcard, &wildcard_cp932)) app.set_11.Assign(wildcard_cp932);
  const QString current = ToQt(host.codec, app.set_11.view());
  QStringList history;
  if (!current.isEmpty()) history << current;
  for (const QString& w : WildcardHistory()) {
    if (history.size() >= kWildcardHistory) break;
    if (w.isEmpty() || w.compare(current, Qt::CaseInsensitive) == 0) continue;
    history << w;
  }
  // A history that will not fit the record (or has no code page 932 form) keeps the stored one.
  std::string joined;
  if (FromQt(host.codec, history.join(QLatin1Char('\t')), &joined)) app.set_12.Assign(joined);
  FillWildcards(current, history.mid(current.isEmpty() ? 0 : 1), kWildcardsOffered);

  // 4. The time range.
  app.set_dts = (ui_->lowerCheck->isChecked() ? AppSettings::kRangeLower : 0) |
                (ui_->upperCheck->isChecked() ? AppSettings::kRangeUpper : 0);
  const QString format = QString::fromLatin1(kStampFormat);
  const QString lower = QDateTime(ui_->lowerDate->date(), ui_->lowerTime->time()).toString(format);
  const QString upper = QDateTime(ui_->upperDate->date(), ui_->upperTime->time()).toString(format);
  app.set_dt1.Assign(ui_->lowerCheck->isChecked() ? lower.toStdString() : std::string());
  app.set_dt2.Assign(ui_->upperCheck->isChecked() ? upper.toStdString() : std::string());
  return taken;
}

QString PathPanel::PathText() const { return ui_->pathCombo->currentText(); }

void PathPanel::SetPathText(const QString& path) {
  ui_->pathCombo->setEditText(path);
  emit Changed(false);
}

void PathPanel::ClearDirectoryTargets() {
  ui_->directoriesCheck->setChecked(false);
  ui_->itselfCheck->setChecked(false);
  ui_->directoriesOnlyCheck->setChecked(false);
  ApplyEnableRules(ui_->directoriesCheck);
  ui_->wildcardCheck->setEnabled(true);
}

TargetListQuery PathPanel::Query(bool typing) const {
  TargetListQuery query;
  query.mode = 1;
  query.path_text = PathText();
  query.typing = typing;
  const std::array<QCheckBox*, 9> checks = Flags();
  for (std::size_t i = 1; i < checks.size(); ++i) query.flags[i] = checks[i]->isChecked();
  query.wildcard = ui_->wildcardCombo->currentText();
  const QString format = QString::fromLatin1(kStampFormat);
  if (ui_->lowerCheck->isChecked()) {
    query.lower_bound = QDateTime(ui_->lowerDate->date(), ui_->lowerTime->time()).toString(format);
  }
  if (ui_->upperCheck->isChecked()) {
    query.upper_bound = QDateTime(ui_->upperDate->date(), ui_->upperTime->time()).toString(format);
  }
  return query;
}

void PathPanel::FocusPath() { ui_->pathCombo->setFocus(); }

}  // namespace morva
