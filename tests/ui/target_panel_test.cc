// The target list window, the output-directory dialog and the list entry dialog on real temporary
// trees, offscreen.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ui/gui_test_support.h"
#include "ui/list_entry_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box_answerer.h"
#include "ui/output_directory_dialog.h"
#include "ui/path_panel.h"
#include "ui/list_panel.h"
#include "ui/qt_text.h"
#include "ui/target_list_model.h"
#include "ui/target_list_window.h"

namespace morva {
namespace {

// The rows of the target list window as "name" or "name (grey)".
QStringList Rows(TargetListWindow& list) {
  QStringList rows;
  TargetListModel& model = list.model();
  for (int i = 0; i < model.rowCount(); ++i) {
    rows << model.NameAt(i) + (model.GreyAt(i) ? QStringLiteral(" (grey)") : QString());
  }
  return rows;
}

// Drives the path dialogs (entry, output directory) whenever one is the active modal window: fills
// in the next text and presses OK, or presses キャンセル when no text is left.
class PathDialogDriver {
 public:
  explicit PathDialogDriver(QStringList texts) : texts_(std::move(texts)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Drive(); });
    timer_.start();
  }

 private:
  void Drive() {
    QWidget* dialog = QApplication::activeModalWidget();
    auto* edit = dialog != nullptr ? dialog->findChild<QLineEdit*>(QStringLiteral("pathEdit")) : nullptr;
    if (edit == nullptr || !dialog->isVisible()) return;
    if (texts_.isEmpty()) {
      dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
      return;
    }
    edit->setText(texts_.takeFirst());
    dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
  }

  QStringList texts_;
  QTimer timer_;
};

}  // namespace

class TargetPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(home_.isValid() && tree_.isValid());
    Touch(tree_.filePath(QStringLiteral("a.jpg")));
    Touch(tree_.filePath(QStringLiteral("b.txt")));
    QVERIFY(QDir(tree_.path()).mkdir(QStringLiteral("sub")));
    Touch(tree_.filePath(QStringLiteral("sub/c.txt")));
  }
  void cleanup() {
    QDir(tree_.path()).removeRecursively();
    QDir().mkpath(tree_.path());
  }

  void GreyRowsFollowTheFlags() {
    UiHarness harness(home_.path());
    MainWindow window(harness.context, {tree_.path()});
    harness.ui.set_main_window(&window);
    TargetListWindow* list = window.target_list_window();
    QVERIFY(list != nullptr);  // shown by default
    QCOMPARE(Rows(*list), (QStringList{"a.jpg", "b.txt", "sub (grey)"}));
    window.path_panel()->findChild<QCheckBox*>(QStringLiteral("directoriesCheck"))->click();
    window.path_panel()->findChild<QCheckBox*>(QStringLiteral("directoriesOnlyCheck"))->click();
    QCOMPARE(Rows(*list), (QStringList{"a.jpg (grey)", "b.txt (grey)", "sub"}));
    window.path_panel()->findChild<QCheckBox*>(QStringLiteral("directoriesCheck"))->click();
    window.path_panel()->findChild<QCheckBox*>(QStringLiteral("exifOnlyCheck"))->click();
    QCOMPARE(Rows(*list), (QStringList{"a.jpg (grey)", "b.txt (grey)", "sub (grey)"}));  // no Exif date in any
    harness.ui.set_main_window(nullptr);
  }

  // In file-list mode the list panel and the target list window show every entry by its host path,
  // and the run takes the engine paths they stand for.
  void ListModeShowsHostPathsAndRunsTheirEnginePaths() {
    UiHarness harness(home_.path());
    const QStringList paths = {tree_.filePath(QStringLiteral("a.jpg")), tree_.filePath(QStringLiteral("sub/c.txt"))};
    MainWindow window(harness.context, paths);
    harness.ui.set_main_window(&window);
    QCOMPARE(window.list_panel()->Texts(), paths);
    QCOMPARE(window.list_panel()->Items(),
             (std::vector<std::string>{EnginePath(harness, paths[0]), EnginePath(harness, paths[1])}));
    QCOMPARE(Rows(*window.target_list_window()), paths);
    harness.ui.set_main_window(nullptr);
  }

  void PathIsTidiedUnlessBeingTyped() {
    UiHarness harness(home_.path());
    MainWindow window(harness.context);
    harness.ui.set_main_window(&window);
    const QString sub = ToQt(*harness.codec, EnginePath(harness, tree_.filePath(QStringLiteral("sub"))));
    QString messy = sub;
    messy.insert(messy.lastIndexOf(QLatin1Char('\\')), QLatin1Char('\\'));
    messy += QStringLiteral("\\");
    auto* edit = window.path_panel()->findChild<QComboBox*>(QStringLiteral("pathCombo"))->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, messy);  // typed: left as it is
    QCOMPARE(window.path_panel()->PathText(), messy);
    window.path_panel()->SetPathText(messy);  // chosen: tidied before it is listed
    QCOMPARE(window.path_panel()->PathText(), sub);
    QCOMPARE(Rows(*window.target_list_window()), (QStringList{"c.txt"}));
    harness.ui.set_main_window(nullptr);
  }

  void WalksTheTree() {
    UiHarness harness(home_.path());
    MainWindow window(harness.context, {tree_.filePath(QStringLiteral("sub"))});
    harness.ui.set_main_window(&window);
    TargetListWindow* list = window.target_list_window();
    auto* parent = list->findChild<QPushButton*>(QStringLiteral("parentButton"));
    auto* selected = list->findChild<QPushButton*>(QStringLiteral("selectedButton"));
    auto* table = list->findChild<QTableView*>(QStringLiteral("entryTable"));
    QVERIFY(!selected->isEnabled());
    MessageBoxAnswerer answerer;
    parent->click();
    QCOMPARE(window.path_panel()->PathText(), tree_.path());  // people read host paths
    table->selectRow(2);  // "sub"
    QVERIFY(selected->isEnabled());
    selected->click();
    QCOMPARE(window.path_panel()->PathText(), tree_.filePath(QStringLiteral("sub")));
    QVERIFY(answerer.texts().isEmpty());  // no confirmation asked for by default

    window.path_panel()->SetPathText(QStringLiteral("Z:\\"));
    QVERIFY(!parent->isEnabled());  // a drive root has no parent
    window.path_panel()->SetPathText(ToQt(*harness.codec, EnginePath(harness, tree_.filePath(QStringLiteral("b.txt")))));
    QCOMPARE(Rows(*list), (QStringList{"b.txt"}));
    table->selectRow(0);
    selected->click();
    QCOMPARE(answerer.texts(), (QStringList{QStringLiteral("指定のファイルは、変換対象そのものです。")}));
    harness.ui.set_main_window(nullptr);
  }

  void OutputDirectoryIsCheckedAndCreated() {
    UiHarness harness(home_.path());
    std::string directory;
    {
      MessageBoxAnswerer answerer;
      // A file is refused and the dialog stays; a missing chain is created after the question.
      PathDialogDriver driver({tree_.filePath(QStringLiteral("b.txt")), tree_.filePath(QStringLiteral("out/2024/copies"))});
      QVERIFY(AskCopyOutputDirectory(harness.context, nullptr, &directory));
      QCOMPARE(answerer.texts(), (QStringList{QStringLiteral("指定されたパスはディレクトリではありません。"),
                                              QStringLiteral("指定した出力先ディレクトリは存在しません。作成しますか？")}));
    }
    QVERIFY(QFileInfo(tree_.filePath(QStringLiteral("out/2024/copies"))).isDir());
    QCOMPARE(directory, EnginePath(harness, tree_.filePath(QStringLiteral("out/2024/copies"))));
    QCOMPARE(std::string(harness.session.job.app.cpdir.view()), directory);
  }

  void ListEntryIsChecked_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QStringLiteral("nothing-here") << QStringLiteral("変換対象パスが不正です。");
    QTest::newRow("root") << QStringLiteral("Z:\\") << QStringLiteral("変換対象としてルートディレクトリは指定できません。");
    QTest::newRow("dot") << QStringLiteral("sub\\.") << QStringLiteral("変換対象として「..」または「.」の指定はできません。");
    QTest::newRow("a file") << QStringLiteral("b.txt") << QString();
  }
  void ListEntryIsChecked() {
    QFETCH(QString, entry);
    QFETCH(QString, message);
    UiHarness harness(home_.path());
    // Names inside the tree are given in the engine's form, so that "\." stays as typed.
    QString typed = entry;
    if (!entry.startsWith(QStringLiteral("Z:"))) {
      typed = ToQt(*harness.codec, EnginePath(harness, tree_.path())) + QLatin1Char('\\') + entry;
    }
    ListEntryDialog dialog(harness.context, QString());
    MessageBoxAnswerer answerer;
    PathDialogDriver driver({typed});  // then キャンセル, when the entry was refused and the dialog stayed
    const int result = dialog.exec();
    QCOMPARE(result, message.isEmpty() ? int{QDialog::Accepted} : int{QDialog::Rejected});
    QCOMPARE(answerer.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    if (message.isEmpty()) QCOMPARE(dialog.entry(), tree_.filePath(entry));  // shown in host form
  }

 private:
  QTemporaryDir home_;
  QTemporaryDir tree_;
};

}  // namespace morva

QTEST_MAIN(morva::TargetPanelTest)
#include "target_panel_test.moc"
