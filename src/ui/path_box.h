#ifndef MORVA_UI_PATH_BOX_H_
#define MORVA_UI_PATH_BOX_H_

#include <QString>
#include <string>
#include <string_view>

class QComboBox;
class QLineEdit;

namespace morva {

class FileSystem;
class TextCodec;

// Path boxes the program fills. A box shows the host form of an engine path (DisplayPathToQt) and keeps
// the engine path beside the text, so that the text left as it is gives back exactly the path it came
// from, even where the host form would lead elsewhere: a share's "\\server\share" path stays one, a name
// whose bytes have no Unicode form stays those bytes. A text a person typed, dropped or chose is taken
// as typed (EnginePathFromQt): a host path or the engine's "Z:\..." form.

// Shows `engine_path` in `box` and keeps it.
void ShowPathInBox(FileSystem& fs, TextCodec& codec, QLineEdit* box, std::string_view engine_path);

// The engine path `box` stands for: the kept one while the box shows its text unchanged, else what its
// trimmed text names. False when the text has no engine form; an empty text gives an empty path.
bool PathFromBox(FileSystem& fs, TextCodec& codec, const QLineEdit* box, std::string* engine);

// Adds an item showing `engine_path` to `combo`, the engine path kept as the item's data.
void AddPathItem(FileSystem& fs, TextCodec& codec, QComboBox* combo, std::string_view engine_path);

// The engine path kept by the item of `combo` that shows exactly `text`; false when none does.
bool PathItemFor(const QComboBox* combo, const QString& text, std::string* engine);

}  // namespace morva

#endif  // MORVA_UI_PATH_BOX_H_
