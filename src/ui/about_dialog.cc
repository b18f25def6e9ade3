#include "ui/about_dialog.h"

#include <QIcon>
#include <QLayout>

#include "ui_about_dialog.h"

namespace morva {

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::AboutDialog>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  ui_->iconLabel->setPixmap(QIcon(QStringLiteral(":/dialogs/about_app.svg")).pixmap(48, 48));
  QFont product = ui_->productLabel->font();
  product.setBold(true);
  ui_->productLabel->setFont(product);
  // As large as its texts in any font, and no larger.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

AboutDialog::~AboutDialog() = default;

void ShowAboutDialog(UiContext&, QWidget* owner) {
  AboutDialog dialog(owner);
  dialog.exec();
}

}  // namespace morva
