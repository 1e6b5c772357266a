#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <string>

#include "frmMain.h"
#include "global/global.h"
#include "platform/file_type_registration.h"
#include "platform/program_documents.h"
#include "qt_platform.h"
#include "registry/settings.h"
#include "registry/settings_store.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The built-in picture, drawn by the SVG icon engine of libqt6svg6, which the program links anyway.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/orvanel.svg")));
  if (!ovn::InstallQtTranslations(application)) {
    std::fputs("orvanel: Qt's Russian translations (qt6-translations-l10n) are missing\n", stderr);
  }
  ovn::Settings settings;
  // A problem with the settings file is told, never hidden: the settings then keep their defaults.
  if (const std::string problem = ovn::LoadStartSettings(settings); !problem.empty()) {
    ovn::ShowMessageBox(nullptr, QMessageBox::Warning, QStringLiteral("Orvane Lite 0.1"),
                        QString::fromStdString(problem));
  }
  // At every start, so that "num" files follow the program wherever it now lies; the tests never get here
  // and so never touch the real data folder. A desktop that cannot be told keeps its old associations.
  ovn::RegisterFileType(ovn::NumFileType(ovn::ProgramFile()), ovn::UserDataHome());
  ovn::frmMain window(settings);
  // Started with a number-list file (as its associated program), the open window for it comes first.
  if (argc > 1) {
    window.StartWithFile(argv[1]);
  } else {
    window.show();
  }
  return QApplication::exec();
}
