#include "ui/statement_rule_page.h"

#include <QCoreApplication>
#include <QTextCursor>
#include <algorithm>

#include "core/conversion_settings.h"
#include "ui/page_binding.h"
#include "ui/panel_messages.h"
#include "ui/preset_load_dialog.h"
#include "ui/preset_save_dialog.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_statement_rule_page.h"

namespace morva {
namespace {

constexpr std::size_t kStatementMax = 200;

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

}  // namespace

StatementRulePage::StatementRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::StatementRulePage>()) {
  ui_->setupUi(this);
  accepted_text_ = FieldText(context_.session.host.codec, context_.session.job.settings.fnm_usr1.view());
  ui_->statementEdit->setPlainText(accepted_text_);
  connect(ui_->statementEdit, &QPlainTextEdit::textChanged, this, &StatementRulePage::KeepWithinLimit);
  connect(ui_->savePresetButton, &QPushButton::clicked, this, &StatementRulePage::SavePresetCommand);
  connect(ui_->loadPresetButton, &QPushButton::clicked, this, &StatementRulePage::LoadPresetCommand);
}

StatementRulePage::~StatementRulePage() = default;

// A multi-line box has no validator: an edit that goes over the limit (or brings a character without a
// code page 932 form) is undone.
void StatementRulePage::KeepWithinLimit() {
  const QString text = ui_->statementEdit->toPlainText();
  std::string bytes;
  if (FromQt(context_.session.host.codec, text, &bytes) && bytes.size() <= kStatementMax) {
    accepted_text_ = text;
    return;
  }
  const QSignalBlocker block(ui_->statementEdit);
  ui_->statementEdit->setPlainText(accepted_text_);
  ui_->statementEdit->moveCursor(QTextCursor::End);
}

std::string StatementRulePage::CleanStatement(bool trailing_too) {
  TextCodec& codec = context_.session.host.codec;
  std::string text = ControlBytes(codec, ui_->statementEdit->toPlainText(), kStatementMax);
  const std::size_t before = text.size();
  if (trailing_too) {
    while (!text.empty() && IsLineBreak(text.back())) text.pop_back();
  }
  const bool inside = std::any_of(text.begin(), text.end(), IsLineBreak);
  if (inside) {
    ShowPanelWarning(context_, QCoreApplication::translate(
                                   "StatementRulePage",
                                   "変換制御文中に '\\n' または '\\r' を検出しました。この文字は削除されます。"));
    text.erase(std::remove_if(text.begin(), text.end(), IsLineBreak), text.end());
  }
  if (text.size() != before) ui_->statementEdit->setPlainText(ToQt(codec, text));
  return text;
}

void StatementRulePage::Collect() {
  context_.session.job.settings.fnm_usr1.Assign(CleanStatement(false));
}

void StatementRulePage::SavePresetCommand() {
  std::string bytes;
  if (!FromQt(context_.session.host.codec, ui_->statementEdit->toPlainText(), &bytes) || bytes.empty()) {
    ShowPanelWarning(context_, QCoreApplication::translate("StatementRulePage", "変換制御文が指定されていません。"));
    return;
  }
  if (bytes.size() > kStatementMax) {
    ShowPanelWarning(context_,
                     QCoreApplication::translate("StatementRulePage", "変換制御文が長すぎます。（最大%1バイト）")
                         .arg(kStatementMax));
    return;
  }
  const std::string statement = CleanStatement(true);
  if (statement.empty()) {
    ShowPanelWarning(context_, QCoreApplication::translate("StatementRulePage", "変換制御文が指定されていません。"));
    return;
  }
  SavePreset(context_, PresetKind::kStatement, statement, this);
}

void StatementRulePage::LoadPresetCommand() {
  const int slot = LoadPreset(context_, PresetKind::kStatement, this);
  if (slot < 0) return;
  ui_->statementEdit->setPlainText(
      ToQt(context_.session.host.codec, context_.session.job.presets.statement.entries[slot].text));
}

}  // namespace morva
