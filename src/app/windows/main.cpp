#include <QApplication>
#include <QMessageBox>

#include <string>

#include "frmMain.h"
#include "global/global.h"
#include "platform/file_type_registration.h"
#include "platform/program_documents.h"
#include "registry/settings.h"
#include "registry/settings_store.h"

namespace {

// A problem with the settings file is told, never hidden: the settings then keep their defaults.
void TellSettingsProblem(const std::string& problem) {
  if (!problem.empty()) {
    QMessageBox::warning(nullptr, QStringLiteral("Orvane Lite 0.1"), QString::fromStdString(problem));
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  ovn::Settings settings;
  TellSettingsProblem(ovn::LoadSettings(settings));
  // At every start, so that "num" files follow the program wherever it now lies; the tests never get here
  // and so never touch the real data folder. A desktop that cannot be told keeps its old associations.
  ovn::RegisterFileType(ovn::NumFileType(ovn::ProgramFile()), ovn::UserDataHome());
  TellSettingsProblem(ovn::LoadPrecisionOverrides(settings));
  ovn::frmMain window(settings);
  // Started with a number-list file (as its associated program), the open window for it comes first.
  if (argc > 1) {
    window.StartWithFile(argv[1]);
  } else {
    window.show();
  }
  return QApplication::exec();
}
