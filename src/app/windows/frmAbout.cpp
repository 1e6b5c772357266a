#include "frmAbout.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <filesystem>
#include <string>

#include "platform/program_documents.h"

namespace ovn {
namespace {

// The program's version record.
constexpr const char* kProductName = "Orvane Lite";
constexpr int kMinorVersion = 1;
constexpr int kRevision = 1;
constexpr const char* kComments =
    "Orvane Lite 0.1 - программа для вычисления математических операций, или просто говоря калькулятор, тем "
    "не менее имеющий отличия: максимальное количество цифр более 32 000  и др. Версия 0.1 вычисляет "
    "быстрее, чем версия 0.0";

// The maker leaves no e-mail address; the label says so rather than show an invented one.
constexpr const char* kNoMail = "нет";
// Built into the program, so that the picture shows wherever it is installed; drawn by the Qt SVG library
// it links, so that no image plugin needs to be present.
constexpr const char* kPicture = ":/orvanel.svg";
constexpr int kIconSize = 48;
constexpr int kDescriptionColumns = 60;
constexpr int kDescriptionLines = 6;
constexpr const char* kDocumentProperty = "document";

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFrame* Line(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setObjectName(QStringLiteral("Line1"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

// The program's picture, drawn at the label's size in the screen's own pixels.
QPixmap DrawPicture(const QLabel& label) {
  const qreal ratio = label.devicePixelRatioF();
  QPixmap picture(label.size() * ratio);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  QSvgRenderer renderer(QString::fromUtf8(kPicture));
  QPainter painter(&picture);
  renderer.render(&painter, QRectF(QPointF(0, 0), label.size()));
  return picture;
}

void ShowAsLink(QLabel& label, bool under_pointer) {
  QFont font = label.font();
  font.setUnderline(under_pointer);
  label.setFont(font);
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, under_pointer ? QColor(Qt::blue) : QColor(Qt::black));
  label.setPalette(palette);
}

}  // namespace

frmAbout::frmAbout(ProgramDocuments& documents, QWidget* parent) : QDialog(parent), documents_(documents) {
  setObjectName(QStringLiteral("frmAbout"));
  setMouseTracking(true);

  imgApp = AddLabel("imgApp", {});
  imgApp->setFixedSize(kIconSize, kIconSize);
  QLabel* lblTitle = AddLabel("lblTitle", QStringLiteral("Orvane Lite 0.1"));
  QFont title = lblTitle->font();
  title.setBold(true);
  title.setPointSize(title.pointSize() + 4);
  lblTitle->setFont(title);
  lblVersion = AddLabel("lblVersion", {});
  txtDescription = new QPlainTextEdit(this);
  txtDescription->setObjectName(QStringLiteral("txtDescription"));
  txtDescription->setReadOnly(true);
  // Room for the whole description without scrolling.
  const QFontMetrics metrics = txtDescription->fontMetrics();
  txtDescription->setMinimumWidth(metrics.averageCharWidth() * kDescriptionColumns);
  txtDescription->setFixedHeight(metrics.lineSpacing() * kDescriptionLines);
  QLabel* lblEmail = AddLabel("lblEmail", QStringLiteral("EMail:"));
  QLabel* lblMail = AddLabel("lblMail", QString::fromUtf8(kNoMail));
  QLabel* lblWWW = AddLabel("lblWWW", QStringLiteral("WWW"));
  lblURL = AddLink("lblURL", kHelpPage, "Главная страничка!!!");
  lblURLProg = AddLink("lblURLProg", kReadme,
                       "Страница, посвященная этой программе (как подверсии Lite, так и подверсии Pro).");
  auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(imgApp, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(lblTitle, 0, 1);
  grid->addWidget(lblVersion, 1, 1);
  grid->addWidget(txtDescription, 2, 0, 1, 2);
  grid->addWidget(Line(this), 3, 0, 1, 2);
  grid->addWidget(lblEmail, 4, 0);
  grid->addWidget(lblMail, 4, 1);
  grid->addWidget(lblWWW, 5, 0);
  grid->addWidget(lblURL, 5, 1);
  grid->addWidget(lblURLProg, 6, 1);
  grid->addWidget(Line(this), 7, 0, 1, 2);
  grid->addWidget(cmdOK, 8, 1, Qt::AlignRight);
  grid->setColumnStretch(1, 1);

  Form_Load();
}

QLabel* frmAbout::AddLabel(const char* name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString::fromUtf8(name));
  return label;
}

QLabel* frmAbout::AddLink(const char* name, std::string_view document, const char* tooltip) {
  QLabel* link = AddLabel(name, {});
  link->setToolTip(QString::fromUtf8(tooltip));
  link->setProperty(kDocumentProperty, FromView(document));
  link->setCursor(Qt::PointingHandCursor);  // the pointer turns into the hand over the link only
  link->installEventFilter(this);
  return link;
}

void frmAbout::Form_Load() {
  setWindowTitle(QStringLiteral("О программе %1 0.1").arg(QString::fromUtf8(kProductName)));
  lblVersion->setText(QStringLiteral("Version 0.%1.%2").arg(kMinorVersion).arg(kRevision));
  txtDescription->setPlainText(QString::fromUtf8(kComments));
  // Each link reads where its document was found; a missing one reads its bare name.
  for (QLabel* link : {lblURL, lblURLProg}) {
    const std::string document = link->property(kDocumentProperty).toString().toStdString();
    const std::filesystem::path found = documents_.Find(document);
    link->setText(QString::fromStdString(found.empty() ? document : found.string()));
  }
  Highlight(nullptr);
  imgApp->setPixmap(DrawPicture(*imgApp));
  adjustSize();
}

void frmAbout::Highlight(const QLabel* link) {
  ShowAsLink(*lblURL, link == lblURL);
  ShowAsLink(*lblURLProg, link == lblURLProg);
}

void frmAbout::Link_Click(const QLabel& link) {
  documents_.Open(link.property(kDocumentProperty).toString().toStdString());
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblURL || watched == lblURLProg) {
    const auto& link = static_cast<const QLabel&>(*watched);
    if (event->type() == QEvent::Enter) Highlight(&link);
    if (event->type() == QEvent::MouseButtonRelease) {
      // A click is a release of the left button over the link it was pressed on.
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      if (mouse.button() == Qt::LeftButton && link.rect().contains(mouse.position().toPoint())) {
        Link_Click(link);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmAbout::mouseMoveEvent(QMouseEvent* event) {
  Highlight(nullptr);
  QDialog::mouseMoveEvent(event);
}

}  // namespace ovn
