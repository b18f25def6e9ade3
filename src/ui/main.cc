// morva: the desktop program. Builds the services and the session, shows the main window and runs the
// event loop until it closes.
#include <QApplication>
#include <memory>
#include <string>

#include "engine/session.h"
#include "platform/document_opener.h"
#include "platform/file_system.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "ui/main_window.h"
#include "ui/qt_user_interface.h"
#include "ui/window_context.h"
#include "ui/qt_text.h"

int main(int argc, char** argv) {
  using namespace morva;
  QApplication app(argc, argv);

  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  if (codec == nullptr) return 1;
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  QtUserInterface ui(*codec);
  Session session(*codec, *fs, ui);
  std::unique_ptr<RegexService> regex = NewPcre2RegexService(codec.get());
  session.host.regex = regex.get();
  std::unique_ptr<DocumentOpener> opener = NewXdgDocumentOpener(fs.get());
  session.host.document_opener = opener.get();

  std::string program_directory;
  if (!EnginePathFromQt(*codec, *fs, QCoreApplication::applicationDirPath(), &program_directory)) return 1;
  session.host.program_directory = program_directory;
  UiContext context{session, program_directory};

  MainWindow window(context);
  ui.set_context(&context);
  ui.set_main_window(&window);
  window.show();
  const int code = app.exec();
  ui.set_main_window(nullptr);
  return code;
}
