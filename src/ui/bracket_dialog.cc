#include "ui/bracket_dialog.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/conversion_settings.h"
#include "ui/panel_messages.h"
#include "ui/window_context.h"
#include "ui_bracket_dialog.h"

namespace morva {

BracketDialog::BracketDialog(UiContext& context, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::BracketDialog>()) {
  ui_->setupUi(this);
  pairs_ = {ui_->pair1Check,  ui_->pair2Check,  ui_->pair3Check,  ui_->pair4Check,  ui_->pair5Check,  ui_->pair6Check,
            ui_->pair7Check,  ui_->pair8Check,  ui_->pair9Check,  ui_->pair10Check, ui_->pair11Check, ui_->pair12Check,
            ui_->pair13Check, ui_->pair14Check, ui_->pair15Check, ui_->pair16Check};
  const ConversionSettings& s = context_.session.job.settings;
  for (std::size_t i = 0; i < pairs_.size(); ++i) pairs_[i]->setChecked(s.sw_kakko[i]);
  ui_->okButton->setDefault(true);
  connect(ui_->okButton, &QPushButton::clicked, this, &BracketDialog::Confirm);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

BracketDialog::~BracketDialog() = default;

void BracketDialog::Confirm() {
  if (std::none_of(pairs_.begin(), pairs_.end(), [](const QCheckBox* box) { return box->isChecked(); })) {
    ShowPanelWarning(
        context_, QCoreApplication::translate("BracketDialog", "全ての括弧を対象としない設定にすることはできません。"));
    return;
  }
  ConversionSettings& s = context_.session.job.settings;
  for (std::size_t i = 0; i < pairs_.size(); ++i) s.sw_kakko[i] = pairs_[i]->isChecked();
  accept();
}

}  // namespace morva
