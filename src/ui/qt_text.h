#ifndef MORVA_UI_QT_TEXT_H_
#define MORVA_UI_QT_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

namespace morva {

class TextCodec;
class FileSystem;
class MessageCatalogue;

// The one crossing between the engine's code page 932 bytes and Qt's UTF-16 strings. A character
// without a Unicode form shows as "\xNN" escapes of its bytes (see DisplayText) rather than being dropped
// or becoming a replacement character, so that a broken text is seen and can be read.
QString ToQt(TextCodec& codec, std::string_view cp932);

// One of the engine's messages as the window shows it: translated by `translation` when the window
// speaks another language than the engine's Japanese, as written when `translation` is null.
QString MessageToQt(TextCodec& codec, const MessageCatalogue* translation, std::string_view cp932);

// The code page 932 form of `text`; false (and *cp932 untouched) when a character has none, so a caller
// refuses the input with its own message instead of storing a replacement character.
bool FromQt(TextCodec& codec, const QString& text, std::string* cp932);

// The engine path of what a person typed, dropped or chose: an engine path as it stands, a host path
// ("/home/me/a.mp3", relative ones from the current directory) converted. False when it has no engine
// form (a name without a code page 932 form).
bool EnginePathFromQt(TextCodec& codec, FileSystem& fs, const QString& given, std::string* engine);

// An engine path as people read it in the window: its host path ("/home/me/a.jpg"), or the text as it
// stands when it has none (see DisplayPath). Every path the program puts before a person goes through
// this, path boxes it fills included; EnginePathFromQt takes such a text back.
QString DisplayPathToQt(FileSystem& fs, TextCodec& codec, std::string_view engine_path);

// The host path of an engine path, for Qt's file dialogs and the desktop; empty when it has none.
QString HostPathToQt(FileSystem& fs, std::string_view engine_path);

}  // namespace morva

#endif  // MORVA_UI_QT_TEXT_H_
