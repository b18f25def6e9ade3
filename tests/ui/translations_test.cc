// The window's English translation is complete: lupdate run over the forms and the code finds no text
// that the translation file lacks or has left unfinished, and every translation keeps its source's
// arguments (%1, %2...) and keyboard mnemonic.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace morva {
namespace {

struct Message {
  QString context;
  QString source;
  QString translation;
  QString type;  // "unfinished", "vanished", "obsolete" or empty for a finished one
  bool operator==(const Message&) const = default;
};

QList<Message> ReadTs(const QString& path) {
  QList<Message> messages;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return messages;
  QXmlStreamReader xml(&file);
  QString context;
  Message message;
  while (!xml.atEnd()) {
    if (!xml.readNextStartElement()) continue;
    if (xml.name() == u"name") context = xml.readElementText();
    if (xml.name() == u"message") message = Message{context, {}, {}, {}};
    if (xml.name() == u"source") message.source = xml.readElementText();
    if (xml.name() == u"translation") {
      message.type = xml.attributes().value(QStringLiteral("type")).toString();
      message.translation = xml.readElementText();
      messages.append(message);
    }
  }
  return messages;
}

QStringList Arguments(const QString& text) {
  static const QRegularExpression kArgument(QStringLiteral("%[0-9]+"));
  QStringList found;
  for (auto it = kArgument.globalMatch(text); it.hasNext();) found << it.next().captured();
  found.sort();
  return found;
}

// A mnemonic marks the letter after a single '&'.
bool HasMnemonic(QString text) { return text.remove(QStringLiteral("&&")).contains(u'&'); }

}  // namespace

class TranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryTextOfTheWindowHasAnEnglishTranslation() {
    const QDir source(QStringLiteral(MORVA_SOURCE_DIR));
    const QString committed = source.filePath(QStringLiteral("resources/translations/morva_en.ts"));
    QTemporaryDir dir;
    const QString updated = QDir(dir.path()).filePath(QStringLiteral("morva_en.ts"));
    QVERIFY(QFile::copy(committed, updated));
    QProcess lupdate;
    lupdate.start(QStringLiteral(MORVA_LUPDATE),
                  {source.filePath(QStringLiteral("src/ui")), source.filePath(QStringLiteral("resources")),
                   QStringLiteral("-extensions"), QStringLiteral("cc,h,ui"), QStringLiteral("-source-language"),
                   QStringLiteral("ja"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                   QStringLiteral("none"), QStringLiteral("-ts"), updated});
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);

    const QList<Message> messages = ReadTs(updated);
    QVERIFY(messages.size() > 300);
    for (const Message& m : messages) {
      const QString where = m.context + QStringLiteral(": ") + m.source;
      QVERIFY2(m.type.isEmpty() && !m.translation.isEmpty(), qPrintable(where + QStringLiteral(" has no translation")));
      QVERIFY2(Arguments(m.translation) == Arguments(m.source),
               qPrintable(where + QStringLiteral(" -> ") + m.translation));
      QVERIFY2(HasMnemonic(m.translation) == HasMnemonic(m.source),
               qPrintable(where + QStringLiteral(" -> ") + m.translation));
    }
    // Nothing the sources no longer hold lingers in the file either: run the target update_translations.
    QVERIFY2(ReadTs(committed) == messages, "morva_en.ts is not up to date with the sources");
  }
};

}  // namespace morva

QTEST_MAIN(morva::TranslationsTest)
#include "translations_test.moc"
