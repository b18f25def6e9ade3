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
inline constexpr int kDocumentFailed = 5;          // any other failure
inline constexpr int kDocumentOpened = 32;

// Opens a document (the log, the help) with the program the desktop associates with its type.
class DocumentOpener {
 public:
  DocumentOpener() = default;
  DocumentOpener(const DocumentOpener&) = delete;
  DocumentOpener& operator=(const DocumentOpener&) = delete;
  virtual ~DocumentOpener() = default;

  // Asks the desktop to show the document at the engine path `engine_path`. Returns a value above
  // kDocumentOpened once a viewer accepted it, otherwise one of the failure codes above. Returns when
  // the request has been handed over, not when the viewer closes.
  virtual int Open(std::string_view engine_path) = 0;
};

// The desktop's opener: runs `program` (normally "xdg-open", looked up in PATH) with the document's
// host path as its only argument, without a shell, and maps its exit status: 0 opened, 2 not found,
// 3 (no tool for the type) no association, 1 and 4 failed. `fs` maps the path and must outlive the
// opener.
std::unique_ptr<DocumentOpener> NewXdgDocumentOpener(FileSystem* fs, std::string program = "xdg-open");

}  // namespace morva

#endif  // MORVA_PLATFORM_DOCUMENT_OPENER_H_
