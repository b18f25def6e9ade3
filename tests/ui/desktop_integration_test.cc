// The desktop program among the others on a Linux desktop: Qt's own texts in Japanese, and an about box
// that sends nobody to an address the project does not own.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include "ui/about_dialog.h"
#include "ui/qt_translations.h"

namespace morva {

class DesktopIntegrationTest : public QObject {
  Q_OBJECT

 private slots:
  // The buttons Qt names itself speak Japanese once the translation is in, and English again without
  // it, so the texts checked are Qt's and not a fixed label of ours.
  void QtsOwnTextsAreJapanese() {
    const auto texts = [] {
      QMessageBox box(QMessageBox::Question, QStringLiteral("MORVA"), QStringLiteral("?"),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      return QStringList{box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
                         box.button(QMessageBox::Cancel)->text()};
    };
    QCOMPARE(texts(), (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")}));
    {
      const InstalledTranslations translations = InstallTranslations(UiLanguage::kJapanese);
      QVERIFY2(translations.has_qt(), "qtbase_ja.qm is not in Qt's translations directory");
      const QStringList japanese = texts();
      QVERIFY2(japanese[0].startsWith(QStringLiteral("はい")), qPrintable(japanese.join(u' ')));
      QVERIFY2(japanese[1].startsWith(QStringLiteral("いいえ")), qPrintable(japanese.join(u' ')));
      QVERIFY2(japanese[2].startsWith(QStringLiteral("キャンセル")), qPrintable(japanese.join(u' ')));
    }
    QCOMPARE(texts()[0], QStringLiteral("&Yes"));
  }

  void AboutBoxLinksNowhere() {
    AboutDialog about(nullptr);
    for (const QLabel* label : about.findChildren<QLabel*>()) {
      QVERIFY2(!label->text().contains(QStringLiteral("://")) && !label->text().contains(QStringLiteral("example")),
               qPrintable(label->text()));
      QVERIFY(label->openExternalLinks() == false || !label->text().contains(QStringLiteral("href")));
    }
  }
};

}  // namespace morva

QTEST_MAIN(morva::DesktopIntegrationTest)
#include "desktop_integration_test.moc"
