// sorvanta-explorer: the desktop program. Creates the main window, the sentence dialog and the
// about box, in that order, and runs the event loop until the main window closes.
#include <QApplication>

#include "shell/SVEAbout.h"
#include "shell/SentFrames.h"
#include "shell/SorvantaForm.h"
#include "settings/QtSettingsStore.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/HelpViewer.h"
#include "xml/HeapRetention.h"

int main(int argc, char* argv[]) {
  sorvanta::xml::retainFreedMemory();
  QApplication application(argc, argv);
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
