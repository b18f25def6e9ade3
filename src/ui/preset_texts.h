#ifndef MORVA_UI_PRESET_TEXTS_H_
#define MORVA_UI_PRESET_TEXTS_H_

#include <QCoreApplication>
#include <QString>

#include "core/preset_table.h"

namespace morva {

// What the preset dialogs call each kind: "変換設定", "変換制御文" or "文字列置換設定".
inline QString PresetKindName(PresetKind kind) {
  switch (kind) {
    case PresetKind::kStatement: return QCoreApplication::translate("PresetText", "変換制御文");
    case PresetKind::kReplacement: return QCoreApplication::translate("PresetText", "文字列置換設定");
    case PresetKind::kJob:
      break;
  }
  return QCoreApplication::translate("PresetText", "変換設定");
}

}  // namespace morva

#endif  // MORVA_UI_PRESET_TEXTS_H_
