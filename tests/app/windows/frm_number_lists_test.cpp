// The open/save window and the memory list driven offscreen: listing, selecting, the value windows, adding,
// editing, deleting, writing and its failure, and the command-line start. The services and the Yes/No
// question are scripted, so no dialog opens; files live in a temporary folder.
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "frmMain.h"
#include "frmMemList.h"
#include "frmOpenSave.h"
#include "modal_window.h"
#include "registry/registry.h"
#include "registry/settings_store.h"

namespace ovn {
namespace {

}  // namespace

class FrmNumberListsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void OpenListsTheFileReversedAndRemembersItsFolder();
  void SelectedValueShowsThroughA40CharacterWindow();
  void OpenOkPutsTheValueIntoTheEntry();
  void SaveWritesTheListAsShownWithTheAddedNumber();
  void NameWithASpaceIsAskedAgain();
  void DeleteAsksFirst();
  void BadHeaderIsToldAndTheListKept();
  void FailedSaveIsToldAndTheListKept();
  void SavingNothingIsRefusedWithoutAWindow();
  void CommandLineStartShowsTheOpenWindowFirst();
  void FileDialogGivesNumAndOffersAllFilesWhenOpening();
  void OkWithoutAFileKeepsTheAddedNumberInTheChosenFile();
  void ReadOnlyFilesAreListedButNeverChanged();
  void BytesThatAreNotUtf8AreWrittenBackExactly();

  void MemoryListLoadsValuesVerbatimAndAppends();
  void SameNamesSelectTheFirstValue();
  void EditAndDeleteRewriteTheFile();
  void ClearDeletesTheFileAndReopeningCreatesItEmpty();
  void InsertSetsTheEntryThroughA72CharacterWindow();
  void MemoryListWithoutAFileUsesTheDataFolder();
  void TwoMemoryListWindowsKeepEachOthersChanges();

 private:
  YesNoQuestion ScriptedQuestion();
  frmOpenSave& OpenSave();
  frmMemList& MemList();
  std::filesystem::path Write(const std::string& name, const std::string& content) const;
  static std::string Text(const std::filesystem::path& file);
  template <class Widget>
  static Widget* Child(QWidget& window, const char* name) {
    return window.findChild<Widget*>(QString::fromUtf8(name));
  }
  static void Select(QWidget& window, const char* list, int row) {
    auto* view = Child<QTreeWidget>(window, list);
    view->setCurrentItem(view->topLevelItem(row));
  }
  static void Click(QWidget& window, const char* name) { Child<QPushButton>(window, name)->click(); }

  std::filesystem::path folder_;
  RecordingMessages messages_;
  ScriptedInput input_;
  MemoryClipboard clipboard_;
  std::optional<Platform> platform_;
  std::deque<bool> yes_answers_;
  std::vector<QString> questions_;
  Settings settings_;
  std::unique_ptr<Calculator> calculator_;
  std::unique_ptr<QWidget> main_window_;
};

void FrmNumberListsTest::init() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvanel-lists-XXXXXX").string();
  QVERIFY(::mkdtemp(pattern.data()) != nullptr);
  folder_ = pattern;
  ::setenv("ORVANEL_CONFIG_DIR", folder_.c_str(), 1);
  ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
  messages_.shown.clear();
  input_ = ScriptedInput();
  yes_answers_.clear();
  questions_.clear();
  settings_ = Settings();
  platform_.emplace(Platform{messages_, input_, clipboard_});
  calculator_ = std::make_unique<Calculator>(settings_, *platform_);
  main_window_ = std::make_unique<QWidget>();
  main_window_->show();
}

void FrmNumberListsTest::cleanup() {
  main_window_.reset();  // deletes the windows it owns
  calculator_.reset();
  ::unsetenv("ORVANEL_CONFIG_DIR");
  ::unsetenv("XDG_DATA_HOME");
  std::filesystem::remove_all(folder_);
}

// Records each question and answers from yes_answers_, No when it runs out.
YesNoQuestion FrmNumberListsTest::ScriptedQuestion() {
  return [this](const QString& text, const QString&, QMessageBox::Icon) {
    questions_.push_back(text);
    if (yes_answers_.empty()) return false;
    const bool yes = yes_answers_.front();
    yes_answers_.pop_front();
    return yes;
  };
}

frmOpenSave& FrmNumberListsTest::OpenSave() {
  return *new frmOpenSave(*calculator_, settings_, *platform_, ScriptedQuestion(), main_window_.get());
}

frmMemList& FrmNumberListsTest::MemList() {
  return *new frmMemList(*calculator_, *platform_, ScriptedQuestion(), main_window_.get());
}

std::filesystem::path FrmNumberListsTest::Write(const std::string& name, const std::string& content) const {
  const std::filesystem::path file = folder_ / name;
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

std::string FrmNumberListsTest::Text(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void FrmNumberListsTest::OpenListsTheFileReversedAndRemembersItsFolder() {
  const auto file = Write("list.num", "a 1\r\n\r\nb  22 \r\n");
  frmOpenSave& window = OpenSave();
  window.OpenChosenFile(file.string());
  QCOMPARE(window.Records(), (std::vector<NumberRecord>{{"b", "22"}, {"a", "1"}}));
  QCOMPARE(Child<QLineEdit>(window, "txtFileName")->text().toStdString(), file.string());
  QCOMPARE(settings_.PastPath, folder_.string());
  QCOMPARE(ReadRegistryString(RegistryRoot::kLocalMachine, kSettingsKey, "PastPath"), folder_.string());
  // A missing file is created empty and lists nothing.
  window.OpenChosenFile((folder_ / "new.num").string());
  QVERIFY(window.Records().empty());
  QVERIFY(std::filesystem::exists(folder_ / "new.num"));
  QVERIFY(messages_.shown.empty());
}

void FrmNumberListsTest::SelectedValueShowsThroughA40CharacterWindow() {
  std::string longest;
  for (int digit = 0; digit < 45; ++digit) longest += static_cast<char>('0' + digit % 10);
  frmOpenSave& window = OpenSave();
  window.OpenChosenFile(Write("long.num", "long " + longest + "\r\nshort 5\r\n").string());
  auto* value = Child<QLineEdit>(window, "txtValue");
  auto* scroll = Child<QScrollBar>(window, "hscResult");
  Select(window, "lvwNumbers", 1);
  QCOMPARE(window.SelectedValue, longest);
  QCOMPARE(Child<QLabel>(window, "lblSize")->text(), QStringLiteral("45"));
  QTRY_COMPARE(value->text().toStdString(), longest.substr(0, 40));
  QCOMPARE(scroll->maximum(), 5);
  scroll->setValue(5);
  QTRY_COMPARE(value->text().toStdString(), longest.substr(5));
  Select(window, "lvwNumbers", 0);
  QTRY_COMPARE(value->text(), QStringLiteral("5"));
  QCOMPARE(scroll->maximum(), 0);
}

void FrmNumberListsTest::OpenOkPutsTheValueIntoTheEntry() {
  frmOpenSave& window = OpenSave();
  window.OpenChosenFile(Write("list.num", "a 1\r\nb 22\r\n").string());
  // With nothing selected the entry is kept.
  calculator_->CurrentNumber = "5";
  Click(window, "cmdOK");
  QCOMPARE(calculator_->CurrentNumber, std::string("5"));
  Select(window, "lvwNumbers", 0);
  Click(window, "cmdOK");
  QCOMPARE(calculator_->CurrentNumber, std::string("22"));
  QVERIFY(!window.isVisible());
}

void FrmNumberListsTest::SaveWritesTheListAsShownWithTheAddedNumber() {
  const auto file = Write("list.OsV", "");
  frmOpenSave& window = OpenSave();
  window.OpenSaveMode = false;
  window.OpenChosenFile(Write("list.num", "a 1\r\nb 22\r\n").string());
  calculator_->CurrentNumber = "-7.5";
  input_.answers = {"c"};
  Click(window, "cmdAddNum");
  QCOMPARE(input_.Prompts(), std::vector<std::string>{"Введите новое имя числа:"});
  Click(window, "cmdOK");
  // The file is written from the top of the list: its records come back reversed.
  QCOMPARE(Text(folder_ / "list.num"), std::string("b 22\r\na 1\r\nc -7.5\r\n"));
  // A framed name gets the header and the closing line.
  window.OpenChosenFile(file.string());
  input_.answers = {"d"};
  Click(window, "cmdAddNum");
  Click(window, "cmdOK");
  const NumberListContent written = ReadNumberList(file);
  QCOMPARE(written.records, (std::vector<NumberRecord>{{"d", "-7.5"}}));
  QVERIFY(written.warning.empty());
  QVERIFY(messages_.shown.empty());
}

void FrmNumberListsTest::NameWithASpaceIsAskedAgain() {
  frmOpenSave& window = OpenSave();
  calculator_->CurrentNumber = "3";
  input_.answers = {"two words", "two_words", "x y", ""};
  Click(window, "cmdAddNum");
  Click(window, "cmdAddNum");  // asked again after "x y", then cancelled with an empty name
  QCOMPARE(window.Records(), (std::vector<NumberRecord>{{"two_words", "3"}}));
  QCOMPARE(input_.asked.size(), std::size_t{4});
  QVERIFY(input_.asked[1].prompt.find("пробел") != std::string::npos);
}

void FrmNumberListsTest::DeleteAsksFirst() {
  frmOpenSave& window = OpenSave();
  window.OpenChosenFile(Write("list.num", "a 1\r\nb 22\r\n").string());
  Select(window, "lvwNumbers", 0);
  yes_answers_ = {false, true};
  Click(window, "cmdDeleteNum");
  QCOMPARE(window.Records().size(), std::size_t{2});
  Click(window, "cmdDeleteNum");
  QCOMPARE(window.Records(), (std::vector<NumberRecord>{{"a", "1"}}));
  QCOMPARE(questions_.front(), QStringLiteral("Вы действительно хотите удалить это число"));
  QCOMPARE(Text(folder_ / "list.num"), std::string("a 1\r\nb 22\r\n"));  // only OK writes
}

void FrmNumberListsTest::BadHeaderIsToldAndTheListKept() {
  frmOpenSave& window = OpenSave();
  window.OpenSaveMode = false;
  const auto good = Write("good.num", "a 1\r\n");
  window.OpenChosenFile(good.string());
  const std::string refused = "Orvane Script Settings\r\nSaved Numbers\r\nVersion=2\r\n";
  QVERIFY(!window.OpenChosenFile(Write("bad.osv", refused).string()));
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QCOMPARE(messages_.shown[0].text, std::string("Неправильная версия сохраненного списка чисел!"));
  QCOMPARE(messages_.shown[0].title, std::string("Ошибка!"));
  QVERIFY(messages_.shown[0].icon == MessageIcon::kWarning);
  QCOMPARE(window.Records(), (std::vector<NumberRecord>{{"a", "1"}}));
  // The refused file's name is forgotten: OK writes the list to the file it came from, never over it.
  QCOMPARE(Child<QLineEdit>(window, "txtFileName")->text().toStdString(), good.string());
  Click(window, "cmdOK");
  QCOMPARE(Text(folder_ / "bad.osv"), refused);
}

void FrmNumberListsTest::FailedSaveIsToldAndTheListKept() {
  const auto inner = folder_ / "inner";
  std::filesystem::create_directory(inner);
  frmOpenSave& window = OpenSave();
  window.OpenSaveMode = false;
  window.OpenChosenFile((inner / "list.num").string());
  calculator_->CurrentNumber = "1";
  input_.answers = {"kept"};
  Click(window, "cmdAddNum");
  std::filesystem::remove_all(inner);  // the folder is gone when the list is written
  Click(window, "cmdOK");
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QCOMPARE(messages_.shown[0].title, std::string("Ошибка сохранения !!!"));
  QVERIFY(messages_.shown[0].icon == MessageIcon::kCritical);
  QVERIFY(messages_.shown[0].text.find((inner / "list.num").string()) != std::string::npos);
  QCOMPARE(window.Records(), (std::vector<NumberRecord>{{"kept", "1"}}));
}

void FrmNumberListsTest::SavingNothingIsRefusedWithoutAWindow() {
  main_window_.reset();
  frmMain window(settings_, *platform_);
  window.calculator().CurrentNumber = "";
  window.findChild<QAction*>(QStringLiteral("mnuSave"))->trigger();
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QCOMPARE(messages_.shown[0].text, std::string("Нечего сохранять !!!"));
  QCOMPARE(messages_.shown[0].title, std::string("Ошибка сохранения !!!"));
  QVERIFY(window.findChild<frmOpenSave*>() == nullptr);
}

void FrmNumberListsTest::CommandLineStartShowsTheOpenWindowFirst() {
  main_window_.reset();
  frmMain window(settings_, *platform_);
  window.show();  // hidden by the start, whatever showed it before
  window.StartWithFile(Write("given.num", "a 1\r\nb 22\r\n").string());
  auto* open = window.findChild<frmOpenSave*>();
  QVERIFY(open != nullptr);
  QVERIFY(open->isVisible());
  QVERIFY(!window.isVisible());
  QCOMPARE(open->windowTitle(), QStringLiteral("Открыть число"));
  QCOMPARE(open->Records(), (std::vector<NumberRecord>{{"b", "22"}, {"a", "1"}}));
  Select(*open, "lvwNumbers", 1);
  Click(*open, "cmdOK");
  QVERIFY(window.isVisible());
  QVERIFY(!open->isVisible());
  QVERIFY(!open->OpenFromCommandLine);
  QCOMPARE(window.calculator().CurrentNumber, std::string("1"));
  // A cancelled start gives the main window back too.
  window.hide();
  window.StartWithFile((folder_ / "given.num").string());
  Click(*open, "cmdCancel");
  QVERIFY(window.isVisible());
}

void FrmNumberListsTest::FileDialogGivesNumAndOffersAllFilesWhenOpening() {
  frmOpenSave& window = OpenSave();
  QStringList filters;
  QString suffix;
  WhenModalOpens([&](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    QVERIFY(files != nullptr);
    filters = files->nameFilters();
    suffix = files->defaultSuffix();
    files->reject();
  });
  Click(window, "cmdBrowse");
  QCOMPARE(filters.size(), 2);
  QVERIFY(filters[1].contains(QStringLiteral("(*)")));
  QCOMPARE(suffix, QStringLiteral("num"));
}

void FrmNumberListsTest::OkWithoutAFileKeepsTheAddedNumberInTheChosenFile() {
  frmOpenSave& window = OpenSave();
  window.OpenSaveMode = false;
  calculator_->CurrentNumber = "8";
  input_.answers = {"kept"};
  Click(window, "cmdAddNum");
  // A path longer than 255 characters; the name is typed without ".num".
  const auto folder = folder_ / std::string(200, 'd');
  std::filesystem::create_directory(folder);
  WhenModalOpens([&](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    QVERIFY(files != nullptr);
    files->selectFile(QString::fromStdString((folder / std::string(60, 'l')).string()));
    QMetaObject::invokeMethod(files, "accept");
  });
  Click(window, "cmdOK");
  QVERIFY(messages_.shown.empty());
  QCOMPARE(Text(folder / (std::string(60, 'l') + ".num")), std::string("kept 8\r\n"));
}

void FrmNumberListsTest::ReadOnlyFilesAreListedButNeverChanged() {
  const auto file = Write("ro.num", "a 1\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  frmOpenSave& open = OpenSave();
  QVERIFY(open.OpenChosenFile(file.string()));
  QCOMPARE(open.Records(), (std::vector<NumberRecord>{{"a", "1"}}));

  settings_.MemListFile = file.string();
  frmMemList& window = MemList();
  QCOMPARE(window.Entries(), (std::vector<NumberRecord>{{"a", "1"}}));
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QVERIFY(messages_.shown[0].text.find("только для чтения") != std::string::npos);
  for (const char* name : {"cmdAdd", "cmdEdit", "cmdDel", "cmdClear"}) {
    QVERIFY2(!Child<QPushButton>(window, name)->isEnabled(), name);
  }
  QVERIFY(Child<QPushButton>(window, "cmdOK")->isEnabled());
  QCOMPARE(Text(file), std::string("a 1\r\n"));
}

void FrmNumberListsTest::BytesThatAreNotUtf8AreWrittenBackExactly() {
  const std::string cp1251 = "\xD7\xE8\xF1\xEB\xEE 12\r\n";  // "Число" in the old single-byte code page
  frmOpenSave& window = OpenSave();
  window.OpenSaveMode = false;
  window.OpenChosenFile(Write("old\xEC.num", cp1251).string());
  Click(window, "cmdOK");
  QCOMPARE(Text(folder_ / "old\xEC.num"), cp1251);
  Select(window, "lvwNumbers", 0);
  QCOMPARE(window.SelectedValue, std::string("12"));
  // Правка answered with the value as the box showed it keeps the value's bytes.
  settings_.MemListFile = Write("mem.num", "n \xFF\r\n").string();
  frmMemList& memory = MemList();
  Select(memory, "lvwMemList", 0);
  input_.answers = {QString::fromStdString("\xFF").toStdString()};
  Click(memory, "cmdEdit");
  QCOMPARE(Text(settings_.MemListFile), std::string("n \xFF\r\n"));
}

void FrmNumberListsTest::MemoryListLoadsValuesVerbatimAndAppends() {
  settings_.MemListFile = Write("mem.num", "a  1\r\n\r\nb 2\r\n").string();
  frmMemList& window = MemList();
  QCOMPARE(window.Entries(), (std::vector<NumberRecord>{{"a", " 1"}, {"b", "2"}}));
  calculator_->CurrentNumber = "12.5";
  input_.answers = {"x"};
  Click(window, "cmdAdd");
  QCOMPARE(input_.Prompts(), std::vector<std::string>{"Введите имя числа"});
  QCOMPARE(Text(settings_.MemListFile), std::string("a  1\r\n\r\nb 2\r\nx 12.5\r\n"));
  auto* list = Child<QTreeWidget>(window, "lvwMemList");
  QCOMPARE(list->topLevelItem(2)->text(0), QStringLiteral("x"));
  QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral(" 1"));
}

void FrmNumberListsTest::SameNamesSelectTheFirstValue() {
  // A name ending in "osv" frames no memory list.
  settings_.MemListFile = Write("mem.osv", "n 1\r\nn 2\r\n").string();
  frmMemList& window = MemList();
  Select(window, "lvwMemList", 1);
  QCOMPARE(window.SelectedValue, std::string("1"));
}

void FrmNumberListsTest::EditAndDeleteRewriteTheFile() {
  settings_.MemListFile = Write("mem.num", "a 1\r\nb 2\r\nc 3\r\n").string();
  frmMemList& window = MemList();
  Select(window, "lvwMemList", 1);
  input_.answers = {"20", "bb"};
  yes_answers_ = {true};
  Click(window, "cmdEdit");
  QCOMPARE(questions_.front(), QStringLiteral("Хотите изменить имя числа?"));
  QCOMPARE(Text(settings_.MemListFile), std::string("a 1\r\nbb 20\r\nc 3\r\n"));
  QCOMPARE(Child<QTreeWidget>(window, "lvwMemList")->topLevelItem(1)->text(0), QStringLiteral("bb"));
  QCOMPARE(window.SelectedValue, std::string("20"));  // the edited value is the one shown and inserted
  // An empty value keeps the old one; No keeps the name.
  input_.answers = {""};
  yes_answers_ = {false};
  Click(window, "cmdEdit");
  QCOMPARE(Text(settings_.MemListFile), std::string("a 1\r\nbb 20\r\nc 3\r\n"));

  Select(window, "lvwMemList", 0);
  yes_answers_ = {false, true};
  Click(window, "cmdDel");
  QCOMPARE(window.Entries().size(), std::size_t{3});
  Click(window, "cmdDel");
  QCOMPARE(Text(settings_.MemListFile), std::string("bb 20\r\nc 3\r\n"));
  QCOMPARE(Child<QTreeWidget>(window, "lvwMemList")->topLevelItemCount(), 2);
}

void FrmNumberListsTest::ClearDeletesTheFileAndReopeningCreatesItEmpty() {
  settings_.MemListFile = Write("mem.num", "a 1\r\n").string();
  frmMemList& window = MemList();
  yes_answers_ = {true};
  Click(window, "cmdClear");
  QCOMPARE(questions_.front(), QStringLiteral("Вы действительно хотите очистить список чисел?"));
  QVERIFY(window.Entries().empty());
  QVERIFY(!std::filesystem::exists(settings_.MemListFile));
  Click(window, "cmdCancel");  // unloads the window
  frmMemList& again = MemList();
  QVERIFY(again.Entries().empty());
  QVERIFY(std::filesystem::exists(settings_.MemListFile));
  QCOMPARE(Text(settings_.MemListFile), std::string());
}

void FrmNumberListsTest::InsertSetsTheEntryThroughA72CharacterWindow() {
  const std::string longest(80, '9');
  settings_.MemListFile = Write("mem.num", "big " + longest + "\r\n").string();
  frmMemList& window = MemList();
  window.show();
  Select(window, "lvwMemList", 0);
  auto* shown = Child<QLineEdit>(window, "txtResult");
  QTRY_COMPARE(shown->text().toStdString(), longest.substr(0, 72));
  QCOMPARE(Child<QScrollBar>(window, "hscResult")->maximum(), 8);
  calculator_->NewNumber = true;
  Click(window, "cmdOK");
  QCOMPARE(calculator_->CurrentNumber, longest);
  // Вставить with nothing selected keeps the entry.
  Child<QTreeWidget>(window, "lvwMemList")->setCurrentItem(nullptr);
  calculator_->CurrentNumber = "3";
  Click(window, "cmdOK");
  QCOMPARE(calculator_->CurrentNumber, std::string("3"));
  QVERIFY(calculator_->NewNumber);  // untouched
  QVERIFY(!window.isVisible());
  QCOMPARE(window.Entries().size(), std::size_t{1});  // hidden, not unloaded
}

void FrmNumberListsTest::MemoryListWithoutAFileUsesTheDataFolder() {
  settings_.MemListFile = "";
  calculator_->CurrentNumber = "4";
  input_.answers = {"kept"};
  Click(MemList(), "cmdAdd");
  QCOMPARE(Text(folder_ / "data" / "orvanel" / "memlist.num"), std::string("kept 4\r\n"));
}

void FrmNumberListsTest::TwoMemoryListWindowsKeepEachOthersChanges() {
  settings_.MemListFile = Write("mem.num", "a 1\r\nb 2\r\n").string();
  frmMemList& first = MemList();
  frmMemList& second = MemList();
  calculator_->CurrentNumber = "3";
  input_.answers = {"c"};
  Click(first, "cmdAdd");
  Select(second, "lvwMemList", 0);
  yes_answers_ = {true};
  Click(second, "cmdDel");
  QCOMPARE(Text(settings_.MemListFile), std::string("b 2\r\nc 3\r\n"));
  QCOMPARE(second.Entries(), (std::vector<NumberRecord>{{"b", "2"}, {"c", "3"}}));
}

}  // namespace ovn

QTEST_MAIN(ovn::FrmNumberListsTest)
#include "frm_number_lists_test.moc"
