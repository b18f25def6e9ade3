// morva: the desktop program. One instance per user: a later start hands over to the running one and
// ends. Builds the services and the session, shows the main window (which loads the settings and takes
// the command-line paths) and runs the event loop until it closes.
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "engine/session.h"
#include "platform/document_opener.h"
#include "platform/file_system.h"
#include "platform/interface_language.h"
#include "platform/message_catalogue.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "platform/user_area_table.h"
#include "settings/program_directory.h"
#include "ui/handed_over_targets.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/qt_translations.h"
#include "ui/qt_user_interface.h"
#include "ui/single_instance.h"
#include "ui/termination_signals.h"
#include "ui/window_context.h"

int main(int argc, char** argv) {
  using namespace morva;
  // Answered before Qt stands: they need no display, and a script or a package check may ask them
  // where there is none.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("morva %s\n", MORVA_VERSION);
    return 0;
  }
  // Otherwise "--help" would become the target path.
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::printf(
        "usage: morva [PATH...]\n"
        "       morva --help | --version\n"
        "One PATH is the target path; two or more are the target list. A running morva takes the PATHs of\n"
        "a later start as its targets. See morva(1) and morva-cli(1).\n");
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/morva/icons/morva.svg")));
  const UiLanguage language = UiLanguageOfEnvironment();
  const InstalledTranslations translations = InstallTranslations(language);
  // The engine speaks Japanese (and writes its log so); the window shows its messages in English too.
  std::optional<MessageCatalogue> english;
  if (language == UiLanguage::kEnglish) english.emplace(EnglishMessages());
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();

  // Caught from before the socket that tells other starts this one runs: a signal sent once the socket
  // is seen is never the default kill. It is delivered by the event loop, after the window is built.
  TerminationSignals termination;
  QString socket_error;
  const QString socket_path = SingleInstance::DefaultSocketPath(&socket_error);
  if (socket_path.isEmpty()) {
    std::fprintf(stderr, "morva: no private directory for the single-instance socket, running alone (%s)\n",
                 qPrintable(socket_error));
  }
  SingleInstance instance(socket_path);
  if (instance.ClaimOrHandOver(arguments) == SingleInstance::Claim::kHandedOver) return 0;

  // Beside the executable in a build tree, under ~/.config/morva when installed: shared with morva-cli.
  std::string error;
  const std::string host_directory = ProgramDirectory(&error);
  // Without its table the program still works, but names holding a character outside code page 932
  // stay hidden.
  std::unique_ptr<UserAreaTable> table;
  if (!host_directory.empty()) {
    const std::string table_path = host_directory + "/" + std::string(UserAreaTable::kFileName);
    if (Status s = UserAreaTable::Open(table_path, &table); !s.ok()) {
      std::fprintf(stderr, "morva: names with characters outside code page 932 stay hidden (%s)\n",
                   s.ToString().c_str());
    }
  }
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec(table.get());
  if (codec == nullptr) return 1;
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  QtUserInterface ui(*codec, *fs, english.has_value() ? &*english : nullptr);
  Session session(*codec, *fs, ui);
  // Without regular expressions the program cannot convert names: it ends without a word.
  std::unique_ptr<RegexService> regex = NewPcre2RegexService(codec.get());
  if (regex == nullptr) return 1;
  session.host.regex = regex.get();
  std::unique_ptr<DocumentOpener> opener = NewXdgDocumentOpener(fs.get());
  session.host.document_opener = opener.get();

  const QString qt_directory = QFile::decodeName(QByteArray::fromStdString(host_directory));
  std::string program_directory;
  if (host_directory.empty() || !EnginePathFromQt(*codec, *fs, qt_directory, &program_directory)) {
    if (error.empty()) error = host_directory + " has no code page 932 form";
    std::fprintf(stderr, "morva: cannot find the program directory (%s)\n", error.c_str());
    // Started from a menu, nobody reads stderr: the person is told in a window too.
    QMessageBox::critical(
        nullptr, QStringLiteral("MORVA"),
        QCoreApplication::translate("Main", "設定とログを置くディレクトリを用意できませんでした。\n") +
            QString::fromLocal8Bit(error.c_str()));
    return 1;
  }
  session.host.program_directory = program_directory;
  UiContext context{session, program_directory, english.has_value() ? &*english : nullptr, language};

  MainWindow window(context, arguments);
  ui.set_main_window(&window);
  HandedOverTargets handed_over(window);
  QObject::connect(&instance, &SingleInstance::PathsHandedOver, &handed_over, &HandedOverTargets::Take);
  QObject::connect(&instance, &SingleInstance::ActivationRequested, &window, &MainWindow::BringForward);
  // A termination signal ends the program as its close box does. A run in progress is cancelled and the
  // dialogs it would still open return at once: every event loop is told to end, so nothing waits for
  // an answer that will not come. The window saves the settings as it goes.
  QObject::connect(&termination, &TerminationSignals::Requested, &app, [&ui] {
    ui.RequestTermination();
    QCoreApplication::exit(0);
  });
  window.show();
  const int code = app.exec();
  ui.set_main_window(nullptr);
  return code;
}
