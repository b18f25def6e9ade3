#include "ui/page_binding.h"

#include "platform/cp932.h"
#include "platform/text_codec.h"
#include "ui/qt_text.h"

namespace morva {

QValidator::State Cp932LengthValidator::validate(QString& input, int& /*position*/) const {
  std::string bytes;
  if (!FromQt(codec_, input, &bytes)) return Invalid;
  return bytes.size() <= static_cast<std::size_t>(max_bytes_) ? Acceptable : Invalid;
}

void LimitBytes(TextCodec& codec, QLineEdit* edit, int max_bytes) {
  edit->setValidator(new Cp932LengthValidator(codec, max_bytes, edit));
}

void LimitBytes(TextCodec& codec, QComboBox* combo, int max_bytes) {
  combo->setValidator(new Cp932LengthValidator(codec, max_bytes, combo));
}

QString FieldText(TextCodec& codec, std::string_view cp932) { return ToQt(codec, cp932); }

std::string ControlBytes(TextCodec& codec, const QString& text, std::size_t max_bytes) {
  std::string bytes;
  if (!FromQt(codec, text, &bytes)) return {};
  if (bytes.size() <= max_bytes) return bytes;
  // Cut at a character boundary: a lead byte left last would join whatever follows it.
  std::size_t end = 0;
  while (end < max_bytes) {
    const std::size_t width = cp932::IsLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
    if (end + width > max_bytes) break;
    end += width;
  }
  bytes.resize(end);
  return bytes;
}

}  // namespace morva
