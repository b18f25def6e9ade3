#include "ui/qt_text.h"

#include "platform/display_text.h"
#include "platform/file_system.h"
#include "platform/message_catalogue.h"
#include "platform/path_utils.h"
#include "platform/text_codec.h"

namespace morva {

QString ToQt(TextCodec& codec, std::string_view cp932) {
  std::u16string utf16;
  if (codec.Cp932ToUtf16(cp932, &utf16).ok()) {
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
  }
  const std::string shown = DisplayText(codec, cp932);
  return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

QString MessageToQt(TextCodec& codec, const MessageCatalogue* translation, std::string_view cp932) {
  const QString japanese = ToQt(codec, cp932);
  if (translation == nullptr) return japanese;
  const QByteArray utf8 = japanese.toUtf8();
  const std::string translated = translation->Translate(std::string_view(utf8.constData(), utf8.size()));
  return QString::fromUtf8(translated.data(), static_cast<qsizetype>(translated.size()));
}

bool FromQt(TextCodec& codec, const QString& text, std::string* cp932) {
  std::string out;
  const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
  if (!codec.Utf16ToCp932(utf16, &out).ok()) return false;
  *cp932 = std::move(out);
  return true;
}

bool EnginePathFromQt(TextCodec& codec, FileSystem& fs, const QString& given, std::string* engine) {
  const QByteArray utf8 = given.toUtf8();
  return PathAsGiven(codec, fs, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), engine).ok();
}

QString DisplayPathToQt(FileSystem& fs, TextCodec& codec, std::string_view engine_path) {
  const std::string shown = DisplayPath(fs, codec, engine_path);
  return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

QString HostPathToQt(FileSystem& fs, std::string_view engine_path) {
  std::string host;
  if (!fs.ToHostPath(engine_path, &host).ok()) return {};
  return QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size()));
}

}  // namespace morva
