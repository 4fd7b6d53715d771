// sorvanta query FILE EXPR [--attr NAME | --count | --integer]
#include <ostream>

#include "cli/CliCommand.h"
#include "text/WorkingText.h"
#include "xml/XpObjModel.h"

namespace sorvanta::cli {

int runQueryCommand(CliContext& context) {
  std::vector<std::string> positional;
  std::string attribute;
  enum class Mode { Text, Attribute, Count, Integer } mode = Mode::Text;
  const auto& args = context.args;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (mode != Mode::Text && (arg == "--attr" || arg == "--count" || arg == "--integer"))
      throw UsageError{"choose one of --attr, --count and --integer"};
    if (arg == "--attr") {
      if (++i == args.size()) throw UsageError{"--attr needs an attribute name"};
      attribute = text::utf8ToWorking(args[i]);
      mode = Mode::Attribute;
    } else if (arg == "--count") {
      mode = Mode::Count;
    } else if (arg == "--integer") {
      mode = Mode::Integer;
    } else if (arg.size() > 2 && arg.starts_with("--")) {
      throw UsageError{"unknown option " + arg};
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) throw UsageError{"expected a file and an expression"};

  xml::TXpObjModel model;
  std::string path = text::utf8ToWorking(positional[0]);
  if (!model.LoadDataSource(path)) {
    context.err << "Cannot load " << positional[0] << ": "
                << (model.errors().empty() ? "unknown error" : model.errors().front()) << "\n";
    return 1;
  }
  xml::TXpElement* root = model.Document()->docGetDocumentElement();
  std::string expression = text::utf8ToWorking(positional[1]);
  if (mode == Mode::Integer) {
    context.out << root->SelectInteger(expression) << "\n";
    return 0;
  }
  xml::TXpNodeList nodes = root->SelectNodes(expression);
  if (mode == Mode::Count) {
    context.out << nodes.nlGetLength() << "\n";
    return 0;
  }
  if (mode == Mode::Attribute) {
    for (xml::TXpNode* node : nodes)
      context.out << text::workingToUtf8(xml::attributeText(node, attribute)) << "\n";
  } else {
    for (const std::string& line : xml::nodeTexts(nodes))
      context.out << text::workingToUtf8(line) << "\n";
  }
  return 0;
}

}  // namespace sorvanta::cli
