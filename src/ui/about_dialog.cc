#include "ui/about_dialog.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QUrl>

#include "ui_about_dialog.h"

namespace morva {

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::AboutDialog>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  ui_->iconLabel->setPixmap(QIcon(QStringLiteral(":/dialogs/about_app.svg")).pixmap(48, 48));
  QFont product = ui_->productLabel->font();
  product.setBold(true);
  ui_->productLabel->setFont(product);
  QFont link = ui_->linkLabel->font();
  link.setBold(true);
  link.setUnderline(true);
  link.setPixelSize(12);
  ui_->linkLabel->setFont(link);
  ui_->linkLabel->setText(WebAddress());
  ui_->linkLabel->setCursor(Qt::PointingHandCursor);
  ui_->linkLabel->installEventFilter(this);
  ShowLink(LinkLook::kFresh);
  // As large as its texts in any font, and no larger.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

AboutDialog::~AboutDialog() = default;

QString AboutDialog::WebAddress() { return QStringLiteral("https://morva.example.org/"); }

void AboutDialog::ShowLink(LinkLook look) {
  QColor colour(0x00, 0x00, 0xFF);
  if (look == LinkLook::kHovered) colour = QColor(0x00, 0x80, 0xFF);
  if (look == LinkLook::kVisited) colour = QColor(0xFF, 0x00, 0xA0);
  QPalette palette = ui_->linkLabel->palette();
  palette.setColor(QPalette::WindowText, colour);
  ui_->linkLabel->setPalette(palette);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != ui_->linkLabel) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Enter:
      ShowLink(LinkLook::kHovered);
      break;
    case QEvent::Leave:
      ShowLink(visited_ ? LinkLook::kVisited : LinkLook::kFresh);
      break;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Without a browser nothing happens, as a click on a dead link does.
        QDesktopServices::openUrl(QUrl(WebAddress()));
        visited_ = true;
        ShowLink(LinkLook::kVisited);
        return true;
      }
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void ShowAboutDialog(UiContext&, QWidget* owner) {
  AboutDialog dialog(owner);
  dialog.exec();
}

}  // namespace morva
