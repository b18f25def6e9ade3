#ifndef MORVA_UI_PAGE_BINDING_H_
#define MORVA_UI_PAGE_BINDING_H_

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QValidator>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "core/fixed_text.h"

namespace morva {

class TextCodec;

// The small moves every option page makes between its controls and the job record.

// A check box and the bit of a flag set it stands for.
using FlagBox = std::pair<QCheckBox*, int>;

inline void ShowBits(int value, std::initializer_list<FlagBox> boxes) {
  for (const auto& [box, bit] : boxes) box->setChecked((value & bit) != 0);
}

inline int CollectBits(std::initializer_list<FlagBox> boxes) {
  int value = 0;
  for (const auto& [box, bit] : boxes) {
    if (box->isChecked()) value |= bit;
  }
  return value;
}

// The list entry `index`, or the first one when the record holds a number the list does not have.
inline void ShowIndex(QComboBox* combo, int index) {
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : 0);
}

// Refuses an edit that would make the text longer than `max_bytes` in code page 932, or that holds a
// character without a code page 932 form: the record stores bytes, and its capacity is in bytes.
class Cp932LengthValidator : public QValidator {
 public:
  Cp932LengthValidator(TextCodec& codec, int max_bytes, QObject* parent)
      : QValidator(parent), codec_(codec), max_bytes_(max_bytes) {}
  State validate(QString& input, int& position) const override;

 private:
  TextCodec& codec_;
  int max_bytes_;
};

// Limits `edit` (or an editable drop-down) to `max_bytes` code page 932 bytes.
void LimitBytes(TextCodec& codec, QLineEdit* edit, int max_bytes);
void LimitBytes(TextCodec& codec, QComboBox* combo, int max_bytes);

// The text of a record field for a control.
QString FieldText(TextCodec& codec, std::string_view cp932);

// The code page 932 form of a control's text, at most `max_bytes` long (cut at a character boundary);
// empty when it has no code page 932 form, which the validators above never let in.
std::string ControlBytes(TextCodec& codec, const QString& text, std::size_t max_bytes);

template <std::size_t N>
void StoreText(TextCodec& codec, const QString& text, FixedText<N>* field) {
  field->Assign(ControlBytes(codec, text, FixedText<N>::kMaxLength));
}

}  // namespace morva

#endif  // MORVA_UI_PAGE_BINDING_H_
