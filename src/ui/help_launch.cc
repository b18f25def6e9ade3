#include "ui/help_launch.h"

#include <utility>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "core/user_interface.h"
#include "log/log_view.h"
#include "platform/document_opener.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "platform/path_utils.h"
#include "platform/private_file.h"
#include "settings/program_directory.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"

namespace morva {
namespace {

// Without the host's opener: Qt's own way to the desktop, which tells only whether it worked.
int OpenWithQt(FileSystem& fs, const std::string& path) {
  FindData data;
  if (!fs.Stat(path, &data).ok()) return kDocumentNotFound;
  const QString host_path = HostPathToQt(fs, path);
  if (host_path.isEmpty()) return kDocumentNotFound;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(host_path)) ? kDocumentOpened + 1 : kDocumentFailed;
}

}  // namespace

std::string HelpOpenFailureMessage(int result) {
  // The extension is the document's own, so that an association to fix names the right type.
  return DocumentOpenFailureMessage("ヘルプ", "html", result);
}

std::string_view HelpFileName(UiLanguage language) {
  return language == UiLanguage::kJapanese ? kHelpFileName : kEnglishHelpFileName;
}

std::string FindHelpDocument(FileSystem& fs, const std::vector<std::string>& directories,
                             const std::string& program_directory, std::string_view file_name) {
  for (const std::string& directory : directories) {
    const std::string path = JoinPath(directory, file_name);
    FindData data;
    if (fs.Stat(path, &data).ok()) return path;
  }
  return JoinPath(program_directory, file_name);
}

bool OpenHelp(UiContext& context) {
  Host& host = context.session.host;
  const QString beside = QCoreApplication::applicationDirPath();
  const QString installed = QString::fromLatin1(kInstalledDataDirectory.data(),
                                                static_cast<qsizetype>(kInstalledDataDirectory.size()));
  std::vector<std::string> directories;
  for (const QString& directory : {beside, QDir::cleanPath(beside + QLatin1Char('/') + installed)}) {
    std::string engine;
    if (EnginePathFromQt(host.codec, host.fs, directory, &engine)) directories.push_back(std::move(engine));
  }
  const std::string path =
      FindHelpDocument(host.fs, directories, context.program_directory, HelpFileName(context.language));
  const int result = host.document_opener != nullptr ? host.document_opener->Open(path) : OpenWithQt(host.fs, path);
  const std::string message = HelpOpenFailureMessage(result);
  if (message.empty()) return true;
  host.ui.ShowWarning(Cp932Text(host.codec, message));
  return false;
}

bool OpenLog(UiContext& context) { return ViewLog(context.session.log_context(), PrivateDirectory()); }

}  // namespace morva
