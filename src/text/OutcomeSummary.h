#pragma once
// One line that tells what a finished command did: the files it wrote and where, and how many
// warnings it had and where they went. The window shows it in its status bar.
#include <string>
#include <string_view>

#include "text/Outcome.h"

namespace sorvanta::text {

struct OutcomeSummary {
  std::string text;    // e.g. "Select Sample: 5 files written in /data/release/"
  std::string folder;  // the folder of the files written ("" when none), for a link to it
};

// messageLines: lines the command wrote to a messages file named messagesFile (0: none), so
// the summary says "553 messages in SensSemRolesMessages.txt". Warnings shown to the user as
// notices are counted as "N warnings shown".
OutcomeSummary summarizeOutcome(std::string_view command, const Outcome& outcome,
                                size_t messageLines = 0, std::string_view messagesFile = {});

}  // namespace sorvanta::text
