#ifndef MORVA_UI_FILE_CHOOSERS_H_
#define MORVA_UI_FILE_CHOOSERS_H_

#include <QString>

class QWidget;

namespace morva {

struct UiContext;

// The file chooser ("ファイルを選択してください"): starts at `from` (an engine path as shown in an
// edit box, in either form; a directory opens inside it) and returns the chosen file as the text of its
// engine path (in host form, see DisplayPathToQt), or an empty text when the person cancelled or chose a
// file that has no engine form.
QString ChooseFile(UiContext& context, QWidget* owner, const QString& from);

// The folder browser ("変換対象フォルダの選択"): starts at `from`, or at the directory of `from` when it
// names a file; returns the chosen directory as ChooseFile returns a file, or an empty text.
QString ChooseFolder(UiContext& context, QWidget* owner, const QString& from);

}  // namespace morva

#endif  // MORVA_UI_FILE_CHOOSERS_H_
