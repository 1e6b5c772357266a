// frmAbout ("О программе Orvane Lite 0.1"): the program's name, version and description, and two links to
// the documents shipped with it, the help page and the README. A link under the pointer is underlined in
// blue; a click opens its document with the associated program and leaves the window open.
#pragma once

#include <QDialog>
#include <string_view>

class QLabel;
class QPlainTextEdit;

namespace ovn {

class ProgramDocuments;

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  // `documents` must outlive the window: the links are looked up and opened through it.
  explicit frmAbout(ProgramDocuments& documents, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The pointer over the window itself, outside the links, shows both links plain.
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QLabel* AddLabel(const char* name, const QString& text);
  QLabel* AddLink(const char* name, std::string_view document, const char* tooltip);
  void Form_Load();
  // Underlines `link` in blue and shows the other link plain black; nullptr shows both plain.
  void Highlight(const QLabel* link);
  void Link_Click(const QLabel& link);

  ProgramDocuments& documents_;
  QLabel* lblVersion = nullptr;
  QPlainTextEdit* txtDescription = nullptr;
  QLabel* imgApp = nullptr;
  QLabel* lblURL = nullptr;
  QLabel* lblURLProg = nullptr;
};

}  // namespace ovn
