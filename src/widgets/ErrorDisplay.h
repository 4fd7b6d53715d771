#pragma once
// The application's standard error display: the one place that catches the runtime errors
// which end a command (text::RuntimeError) and shows their message in a modal box.
#include <functional>

namespace sorvanta::widgets {

class Messages;

// Runs command; when it ends with a text::RuntimeError, shows the error's exact message with
// messages under the program's caption, and returns false. True when command completed.
bool runGuarded(const Messages& messages, const std::function<void()>& command);

}  // namespace sorvanta::widgets
