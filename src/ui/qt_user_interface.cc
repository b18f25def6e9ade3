#include "ui/qt_user_interface.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "ui/extraction_dialog.h"
#include "ui/main_window.h"
#include "ui/output_directory_dialog.h"
#include "ui/preview_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/window_context.h"
#include "ui/qt_text.h"

namespace morva {
namespace {

constexpr char kCaption[] = "MORVA";

void ShowBox(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QString::fromLatin1(kCaption), text, QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace

QtUserInterface::QtUserInterface(TextCodec& codec, FileSystem& fs) : codec_(codec), fs_(fs) {}

QtUserInterface::~QtUserInterface() = default;

// The dialogs still open belong to the old window: they go before it does.
void QtUserInterface::set_main_window(MainWindow* window) {
  EndWaitNotice();
  extraction_.reset();
  progress_.reset();
  main_window_ = window;
}

QWidget* QtUserInterface::owner() const { return main_window_; }

void QtUserInterface::ShowWarning(std::string_view text) {
  EndWaitNotice();
  ShowBox(owner(), QMessageBox::Warning, ToQt(codec_, text));
}

void QtUserInterface::ShowInformation(std::string_view text) {
  EndWaitNotice();
  ShowBox(owner(), QMessageBox::Information, ToQt(codec_, text));
}

void QtUserInterface::ShowError(std::string_view text) {
  EndWaitNotice();
  ShowBox(owner(), QMessageBox::Critical, ToQt(codec_, text));
}

void QtUserInterface::ShowSummary(SummaryKind kind, std::string_view text) {
  EndWaitNotice();
  ShowBox(owner(), kind == SummaryKind::kRun ? QMessageBox::Warning : QMessageBox::Information, ToQt(codec_, text));
}

// Modeless and shown before the engine blocks on the log: a modal box would hold the wait back until
// the person clicked it, when the notice needs no answer.
void QtUserInterface::ShowWaitNotice(std::string_view text) {
  wait_notice_ = std::make_unique<QMessageBox>(QMessageBox::Information, QString::fromLatin1(kCaption),
                                               ToQt(codec_, text), QMessageBox::NoButton, owner());
  wait_notice_->setWindowModality(Qt::NonModal);
  wait_notice_->show();
  QCoreApplication::processEvents();
}

void QtUserInterface::EndWaitNotice() { wait_notice_.reset(); }

bool QtUserInterface::AskYesNo(std::string_view text) {
  EndWaitNotice();
  QMessageBox box(QMessageBox::Question, QString::fromLatin1(kCaption), ToQt(codec_, text),
                  QMessageBox::Yes | QMessageBox::No, owner());
  return box.exec() == QMessageBox::Yes;
}

void QtUserInterface::OpenExtractionDialog() {
  EndWaitNotice();
  extraction_ = std::make_unique<ExtractionDialog>(codec_, owner());
  extraction_->show();
}

void QtUserInterface::CloseExtractionDialog() { extraction_.reset(); }

void QtUserInterface::OpenProgressDialog(std::string_view status_text, int total) {
  EndWaitNotice();
  progress_ = std::make_unique<ProgressDialog>(codec_, fs_, owner());
  progress_->Start(status_text, total);
}

void QtUserInterface::UpdateProgress(const ProgressState& state) {
  if (progress_ != nullptr) progress_->Update(state);
}

void QtUserInterface::CloseProgressDialog() { progress_.reset(); }

bool QtUserInterface::PollCancel() {
  EndWaitNotice();
  // With a progress dialog shown, only it takes input (it is modal to the program). Without one (none
  // opened, or hidden by a confirmed cancel), nothing may: a click would reach the main window while
  // the engine is still at work.
  const bool dialog_open =
      (extraction_ != nullptr && extraction_->isVisible()) || (progress_ != nullptr && progress_->isVisible());
  QCoreApplication::processEvents(dialog_open ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  if (extraction_ != nullptr && extraction_->TakeCancelRequest()) cancel_requested_ = true;
  if (progress_ != nullptr && progress_->TakeCancelRequest()) cancel_requested_ = true;
  return cancel_requested_;
}

void QtUserInterface::ClearCancel() { cancel_requested_ = terminating_; }

void QtUserInterface::RequestTermination() {
  terminating_ = true;
  cancel_requested_ = true;
}

PreviewChoice QtUserInterface::ShowPreview(std::vector<PreviewRecord>& records, const std::vector<std::string>& targets,
                                           std::string* copy_directory) {
  if (context_ == nullptr) return PreviewChoice::kCancel;
  return RunPreviewDialog(*context_, owner(), records, targets, copy_directory);
}

bool QtUserInterface::AskOutputDirectory(std::string* directory) {
  return context_ != nullptr && AskCopyOutputDirectory(*context_, owner(), directory);
}

void QtUserInterface::RefreshTargetList() {
  if (main_window_ != nullptr) main_window_->RefreshTargetList();
}

}  // namespace morva
