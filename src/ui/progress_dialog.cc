#include "ui/progress_dialog.h"

#include <QPalette>
#include <algorithm>

#include "ui/qt_text.h"
#include "ui_progress_dialog.h"

namespace morva {
namespace {

// A person cannot read texts that change faster; the run should not wait for them either.
constexpr qint64 kShowEveryMs = 40;

}  // namespace

ProgressDialog::ProgressDialog(TextCodec& codec, FileSystem& fs, const MessageCatalogue* translation, QWidget* owner)
    : CancellableDialog(owner),
      codec_(codec),
      fs_(fs),
      translation_(translation),
      ui_(std::make_unique<Ui::ProgressDialog>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QPalette palette = ui_->progressBar->palette();
  palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0xFF));
  ui_->progressBar->setPalette(palette);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &ProgressDialog::reject);
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::Start(std::string_view status_text, int total) {
  ui_->statusLabel->setText(MessageToQt(codec_, translation_, status_text));
  ui_->progressBar->setRange(0, std::max(total, 0));
  ui_->progressBar->setValue(0);
  show();
  since_shown_.invalidate();
}

void ProgressDialog::Update(const ProgressState& state) { Update(state, DisplayPathToQt(fs_, codec_, state.path)); }

void ProgressDialog::Update(const ProgressState& state, const QString& shown_path) {
  const bool last = state.position >= state.total;
  if (since_shown_.isValid() && !last && since_shown_.elapsed() < kShowEveryMs) return;
  since_shown_.start();
  ui_->pathLabel->setText(shown_path);
  if (ui_->progressBar->maximum() != state.total) ui_->progressBar->setRange(0, std::max(state.total, 0));
  ui_->progressBar->setValue(std::clamp(state.position, 0, std::max(state.total, 0)));
  if (!state.counts.empty()) ui_->countsLabel->setText(MessageToQt(codec_, translation_, state.counts));
  if (!state.title.empty()) setWindowTitle(MessageToQt(codec_, translation_, state.title));
}

}  // namespace morva
