#include "widgets/ErrorDisplay.h"

#include <QString>

#include "lexicon/DataFolder.h"
#include "text/Errors.h"
#include "widgets/Messages.h"
#include "widgets/QtText.h"

namespace sorvanta::widgets {

bool runGuarded(const Messages& messages, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const text::RuntimeError& error) {
    messages.show(lexicon::kProgramCaption, std::string_view(error.what()));
    return false;
  }
}

}  // namespace sorvanta::widgets
