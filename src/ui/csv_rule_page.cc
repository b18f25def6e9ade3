#include "ui/csv_rule_page.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "core/conversion_settings.h"
#include "ui/dropped_paths.h"
#include "ui/file_choosers.h"
#include "ui/page_binding.h"
#include "ui/path_box.h"
#include "ui/window_context.h"
#include "ui_csv_rule_page.h"

namespace morva {

CsvRulePage::CsvRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::CsvRulePage>()) {
  ui_->setupUi(this);
  TextCodec& codec = context_.session.host.codec;
  LimitBytes(codec, ui_->pathEdit, 260);
  const ConversionSettings& s = context_.session.job.settings;
  ShowPathInBox(context_.session.host.fs, codec, ui_->pathEdit, s.fnm_csv_pth.view());
  ShowBits(s.fnm_csv_opt, {{ui_->caseSensitiveCheck, ConversionSettings::kCsvCaseSensitive},
                           {ui_->regexCheck, ConversionSettings::kCsvRegex}});
  // The box takes the drop itself (a file dropped anywhere else on the window is a target).
  ui_->pathEdit->installEventFilter(this);
  connect(ui_->browseButton, &QPushButton::clicked, this, [this] {
    const QString chosen = ChooseFile(context_, this, ui_->pathEdit->text());
    if (chosen.isEmpty()) return;
    ui_->pathEdit->setText(chosen);
    ui_->pathEdit->setFocus();
  });
}

CsvRulePage::~CsvRulePage() = default;

bool CsvRulePage::eventFilter(QObject* watched, QEvent* event) {
  if (watched != ui_->pathEdit) return JobPage::eventFilter(watched, event);
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDragMoveEvent*>(event);
    if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList paths = DroppedEnginePaths(context_, drop->mimeData());
    if (paths.size() == 1) {
      ui_->pathEdit->setText(paths.front());
      drop->acceptProposedAction();
    }
    return true;
  }
  return JobPage::eventFilter(watched, event);
}

void CsvRulePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  Host& host = context_.session.host;
  // The record holds the engine's form, as every path box gives it; a text that names no path is kept
  // as typed, for validation to refuse with its message.
  std::string path;
  if (!PathFromBox(host.fs, host.codec, ui_->pathEdit, &path) || !s.fnm_csv_pth.Assign(path)) {
    StoreText(host.codec, ui_->pathEdit->text(), &s.fnm_csv_pth);
  }
  s.fnm_csv_opt = static_cast<std::uint8_t>(CollectBits({{ui_->caseSensitiveCheck, ConversionSettings::kCsvCaseSensitive},
                                                         {ui_->regexCheck, ConversionSettings::kCsvRegex}}));
}

}  // namespace morva
