#include "ui/qt_user_interface.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <utility>

#include "ui/extraction_dialog.h"
#include "ui/main_window.h"
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

QtUserInterface::QtUserInterface(TextCodec& codec, FileSystem& fs, const MessageCatalogue* translation)
    : codec_(codec), fs_(fs), translation_(translation), gui_(std::make_unique<QObject>()) {}

QString QtUserInterface::Shown(std::string_view text) const { return MessageToQt(codec_, translation_, text); }

QtUserInterface::~QtUserInterface() {
  for (const QPointer<CancellableDialog>& old : retired_) delete old.data();
}

// The dialogs still open belong to the old window: they go before it does.
void QtUserInterface::set_main_window(MainWindow* window) {
  EndWaitNotice();
  Dispose(extraction_);
  Dispose(progress_);
  main_window_ = window;
}

template <typename Dialog>
void QtUserInterface::Dispose(std::unique_ptr<Dialog>& dialog) {
  std::erase_if(retired_, [](const QPointer<CancellableDialog>& old) {
    if (old != nullptr && old->asking()) return false;
    delete old.data();
    return true;
  });
  if (dialog == nullptr) return;
  if (!dialog->asking()) {
    dialog.reset();
    return;
  }
  // The cancel question is open, the dialog's reject() waiting for it further down this thread's stack
  // (the worker's call came in through the question's event loop): the question is answered No and the
  // dialog goes once it has returned.
  dialog->EndQuestion();
  dialog->hide();
  retired_.emplace_back(dialog.release());
}

QWidget* QtUserInterface::owner() const { return main_window_; }

bool QtUserInterface::OnGuiThread() const { return QThread::currentThread() == gui_->thread(); }

template <typename Work>
bool QtUserInterface::DoOnGuiThread(Work work) {
  if (OnGuiThread()) {
    work();
    return true;
  }
  // Once the program ends nobody answers: the GUI thread may already be waiting for this thread.
  if (terminating_) return false;
  bool done = false;
  QMetaObject::invokeMethod(
      gui_.get(),
      [this, &work, &done] {
        if (terminating_) return;
        work();
        done = true;
      },
      Qt::BlockingQueuedConnection);
  return done;
}

void QtUserInterface::ShowWarning(std::string_view text) {
  EndWaitNotice();
  DoOnGuiThread([&] { ShowBox(owner(), QMessageBox::Warning, Shown(text)); });
}

void QtUserInterface::ShowInformation(std::string_view text) {
  EndWaitNotice();
  DoOnGuiThread([&] { ShowBox(owner(), QMessageBox::Information, Shown(text)); });
}

void QtUserInterface::ShowError(std::string_view text) {
  EndWaitNotice();
  DoOnGuiThread([&] { ShowBox(owner(), QMessageBox::Critical, Shown(text)); });
}

void QtUserInterface::ShowSummary(SummaryKind kind, std::string_view text) {
  EndWaitNotice();
  DoOnGuiThread([&] {
    ShowBox(owner(), kind == SummaryKind::kRun ? QMessageBox::Warning : QMessageBox::Information, Shown(text));
  });
}

// Modeless and shown before the engine blocks on the log: a modal box would hold the wait back until
// the person clicked it, when the notice needs no answer.
void QtUserInterface::ShowWaitNotice(std::string_view text) {
  const bool from_gui = OnGuiThread();
  DoOnGuiThread([&] {
    wait_notice_ = std::make_unique<QMessageBox>(QMessageBox::Information, QString::fromLatin1(kCaption), Shown(text),
                                                 QMessageBox::NoButton, owner());
    wait_notice_->setWindowModality(Qt::NonModal);
    wait_notice_->show();
    wait_notice_open_ = true;
  });
  // The engine blocks this thread next: on the GUI thread the notice must be painted first.
  if (from_gui) QCoreApplication::processEvents();
}

void QtUserInterface::EndWaitNotice() {
  // Asked before nearly every call: the worker crosses over only when there is a notice to close.
  if (!OnGuiThread() && !wait_notice_open_) return;
  DoOnGuiThread([this] {
    wait_notice_.reset();
    wait_notice_open_ = false;
  });
}

bool QtUserInterface::AskYesNo(std::string_view text) {
  EndWaitNotice();
  bool yes = false;
  DoOnGuiThread([&] {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kCaption), Shown(text),
                    QMessageBox::Yes | QMessageBox::No, owner());
    yes = box.exec() == QMessageBox::Yes;
  });
  return yes;
}

void QtUserInterface::WatchCancel(CancellableDialog* dialog) {
  // A confirmed cancel rejects the dialog: the worker reads the flag at its next poll.
  QObject::connect(dialog, &QDialog::rejected, gui_.get(), [this] { cancel_requested_ = true; });
  // A dialog deleted while asking (with its owner) never says that its question is over.
  auto open = std::make_shared<bool>(false);
  const auto set_open = [this, open](bool now) {
    if (*open == now) return;
    *open = now;
    const std::lock_guard<std::mutex> lock(question_mu_);
    questions_open_ += now ? 1 : -1;
    if (!now) question_answered_.notify_all();
  };
  QObject::connect(dialog, &CancellableDialog::Asking, gui_.get(), set_open);
  QObject::connect(dialog, &QObject::destroyed, gui_.get(), [set_open] { set_open(false); });
}

void QtUserInterface::OpenExtractionDialog() {
  EndWaitNotice();
  DoOnGuiThread([this] {
    Dispose(extraction_);
    extraction_ = std::make_unique<ExtractionDialog>(codec_, owner());
    WatchCancel(extraction_.get());
    extraction_->show();
  });
}

void QtUserInterface::CloseExtractionDialog() {
  DoOnGuiThread([this] { Dispose(extraction_); });
}

void QtUserInterface::OpenProgressDialog(std::string_view status_text, int total) {
  EndWaitNotice();
  DoOnGuiThread([&] {
    {
      const std::lock_guard<std::mutex> lock(progress_mu_);
      pending_progress_.reset();
    }
    Dispose(progress_);
    progress_ = std::make_unique<ProgressDialog>(codec_, fs_, translation_, owner());
    WatchCancel(progress_.get());
    progress_->Start(status_text, total);
  });
}

void QtUserInterface::UpdateProgress(const ProgressState& state) {
  if (OnGuiThread()) {
    if (progress_ != nullptr) progress_->Update(state);
    return;
  }
  // The path is made readable here, where the file system may be used; the GUI thread shows the latest
  // state whenever it gets to it, so a fast run does not fill its queue.
  PendingProgress latest{state, DisplayPathToQt(fs_, codec_, state.path)};
  bool queued = false;
  {
    const std::lock_guard<std::mutex> lock(progress_mu_);
    queued = pending_progress_.has_value();
    pending_progress_ = std::move(latest);
  }
  if (!queued) QMetaObject::invokeMethod(gui_.get(), [this] { ShowPendingProgress(); }, Qt::QueuedConnection);
}

void QtUserInterface::ShowPendingProgress() {
  std::optional<PendingProgress> latest;
  {
    const std::lock_guard<std::mutex> lock(progress_mu_);
    latest = std::exchange(pending_progress_, std::nullopt);
  }
  if (latest.has_value() && progress_ != nullptr) progress_->Update(latest->state, latest->shown_path);
}

void QtUserInterface::CloseProgressDialog() {
  DoOnGuiThread([this] {
    ShowPendingProgress();
    Dispose(progress_);
  });
}

bool QtUserInterface::PollCancel() {
  EndWaitNotice();
  if (!OnGuiThread()) {
    std::unique_lock<std::mutex> lock(question_mu_);
    question_answered_.wait(lock, [this] { return questions_open_ == 0 || terminating_ || stop_requested_; });
    return cancel_requested_;
  }
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

void QtUserInterface::ClearCancel() { cancel_requested_ = terminating_ || stop_requested_; }

void QtUserInterface::RequestTermination() {
  terminating_ = true;
  cancel_requested_ = true;
  const std::lock_guard<std::mutex> lock(question_mu_);
  question_answered_.notify_all();
}

void QtUserInterface::RequestStop() {
  stop_requested_ = true;
  cancel_requested_ = true;
  const std::lock_guard<std::mutex> lock(question_mu_);
  question_answered_.notify_all();
}

void QtUserInterface::ClearStopRequest() { stop_requested_ = false; }

}  // namespace morva
