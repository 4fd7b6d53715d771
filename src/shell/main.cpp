// sorvanta-explorer: the desktop program. Creates the main window, the sentence dialog and the
// about box, in that order, and runs the event loop until the main window closes.
#include <QApplication>
#include <algorithm>
#include <iostream>

#include "shell/ProgramIcon.h"
#include "shell/ProgramOptions.h"
#include "shell/SVEAbout.h"
#include "shell/SentFrames.h"
#include "shell/SorvantaForm.h"
#include "settings/QtSettingsStore.h"
#include "text/Version.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/HelpViewer.h"
#include "xml/HeapRetention.h"

int main(int argc, char* argv[]) {
  // --version and --help answer on the terminal, without a display.
  if (const std::optional<int> status = sorvanta::shell::answerProgramOption(
          std::vector<std::string>(argv + std::min(argc, 1), argv + argc), std::cout))
    return *status;
  sorvanta::xml::retainFreedMemory();
  QApplication application(argc, argv);
  QApplication::setApplicationVersion(sorvanta::kVersion);
  sorvanta::shell::applyProgramIcon();
  sorvanta::settings::redirectSettingsFromEnvironment();
  sorvanta::widgets::initHelpResources();

  sorvanta::shell::TSVExplorer SVExplorer;
  sorvanta::shell::TFormSentFEs FormSentFEs;
  sorvanta::shell::TAboutBox AboutBox;

  sorvanta::widgets::runGuarded(SVExplorer.messages(), [&] {
    SVExplorer.show();
    QApplication::exec();
  });
  return 0;
}
