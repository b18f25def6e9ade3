#ifndef MORVA_PLATFORM_DOCUMENT_OPENER_H_
#define MORVA_PLATFORM_DOCUMENT_OPENER_H_

#include <memory>
#include <string>
#include <string_view>

namespace morva {

class FileSystem;

// Result codes of DocumentOpener::Open, the ones the program turns into its messages. Anything above
// kDocumentOpened means the document was handed to a viewer.
inline constexpr int kDocumentNoResources = 0;     // the viewer could not be started (no memory, no process)
inline constexpr int kDocumentNotFound = 2;        // the document does not exist
inline constexpr int kDocumentBadViewer = 11;      // the viewer exists but could not be run
inline constexpr int kDocumentNoAssociation = 31;  // no program opens this kind of document
inline constexpr int kDocumentViewerMissing = 1;   // the desktop's opener program is not installed
inline constexpr int kDocumentFailed = 5;          // any other failure
inline constexpr int kDocumentOpened = 32;

// The program the desktop's opener runs, and the package that carries it, named when it is missing.
inline constexpr char kDocumentViewerProgram[] = "xdg-open";
inline constexpr char kDocumentViewerPackage[] = "xdg-utils";

// The message (UTF-8) for an opening of the document of kind `kind` ("ヘルプ", "ログ"), whose file
// name ends in `extension` ("html", "txt"), that ended in the result `result`; empty for a success.
std::string DocumentOpenFailureMessage(std::string_view kind, std::string_view extension, int result);

// Opens a document (the log, the help) with the program the desktop associates with its type.
class DocumentOpener {
 public:
  DocumentOpener() = default;
  DocumentOpener(const DocumentOpener&) = delete;
  DocumentOpener& operator=(const DocumentOpener&) = delete;
  virtual ~DocumentOpener() = default;

  // Asks the desktop to show the document at the engine path `engine_path`. Returns a value above
  // kDocumentOpened once a viewer was started with it, otherwise one of the failure codes above.
  // Returns as soon as the request has been handed over: never waits for the viewer, which may run for
  // as long as the person reads.
  virtual int Open(std::string_view engine_path) = 0;
};

// The desktop's opener: starts `program` (normally xdg-open, looked up in PATH) with the document's
// host path as its only argument, without a shell, detached: it belongs to no process of ours and is
// never waited for. Open tells a missing document (kDocumentNotFound), a program that is not installed
// (kDocumentViewerMissing) or cannot be run (kDocumentBadViewer); what the program does after it
// started is its own to report. `fs` maps the path and must outlive the opener.
std::unique_ptr<DocumentOpener> NewXdgDocumentOpener(FileSystem* fs, std::string program = kDocumentViewerProgram);

}  // namespace morva

#endif  // MORVA_PLATFORM_DOCUMENT_OPENER_H_
