#pragma once
// SIGINT and SIGTERM cancel the running command instead of killing the process: the command
// sees its progress's cancel flag, removes its temporaries, leaves the older files as they
// were, and the program exits 130. A second signal ends the process at once.
#include "text/Progress.h"

namespace sorvanta::cli {

class SignalCancel {
 public:
  // Routes both signals to progress.cancel() until destroyed; the earlier handlers return then.
  explicit SignalCancel(text::Progress& progress);
  ~SignalCancel();
  SignalCancel(const SignalCancel&) = delete;
  SignalCancel& operator=(const SignalCancel&) = delete;
};

}  // namespace sorvanta::cli
