#include "ui/path_box.h"

#include <QByteArray>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

#include "ui/qt_text.h"

namespace morva {
namespace {

// The box's dynamic properties: the engine path kept and the text it was shown as.
constexpr char kEnginePathProperty[] = "morvaEnginePath";
constexpr char kShownPathProperty[] = "morvaShownPath";
constexpr int kEnginePathRole = Qt::UserRole;

QByteArray Bytes(std::string_view text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

void ShowPathInBox(FileSystem& fs, TextCodec& codec, QLineEdit* box, std::string_view engine_path) {
  const QString shown = DisplayPathToQt(fs, codec, engine_path);
  box->setProperty(kEnginePathProperty, Bytes(engine_path));
  box->setProperty(kShownPathProperty, shown);
  box->setText(shown);
}

bool PathFromBox(FileSystem& fs, TextCodec& codec, const QLineEdit* box, std::string* engine) {
  const QVariant shown = box->property(kShownPathProperty);
  if (shown.isValid() && shown.toString() == box->text()) {
    *engine = box->property(kEnginePathProperty).toByteArray().toStdString();
    return true;
  }
  const QString typed = box->text().trimmed();
  if (typed.isEmpty()) {
    engine->clear();
    return true;
  }
  return EnginePathFromQt(codec, fs, typed, engine);
}

void AddPathItem(FileSystem& fs, TextCodec& codec, QComboBox* combo, std::string_view engine_path) {
  combo->addItem(DisplayPathToQt(fs, codec, engine_path), Bytes(engine_path));
}

bool PathItemFor(const QComboBox* combo, const QString& text, std::string* engine) {
  for (int i = 0; i < combo->count(); ++i) {
    const QVariant kept = combo->itemData(i, kEnginePathRole);
    if (combo->itemText(i) != text || !kept.isValid()) continue;
    *engine = kept.toByteArray().toStdString();
    return true;
  }
  return false;
}

}  // namespace morva
