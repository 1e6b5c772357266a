#include <QApplication>

#include "frmMain.h"
#include "registry/settings.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  ovn::Settings settings;
  ovn::frmMain window(settings);
  window.show();
  return QApplication::exec();
}
