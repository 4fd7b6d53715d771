// sorvanta query FILE EXPR [--attr NAME | --count | --integer]
#include <ostream>

#include "cli/CliCommand.h"
#include "text/MessageText.h"
#include "text/WorkingText.h"
#include "xml/XpPath.h"
#include "xml/XpObjModel.h"

namespace sorvanta::cli {

CommandRun declareQuery(CommandLine& line) {
  CLI::Option* attribute = line.value("--attr", "an attribute name");
  CLI::Option* count = line.flag("--count");
  CLI::Option* integer = line.flag("--integer");
  line.check([&line, attribute, count, integer] {
    for (const std::string& extra : line.extras())
      if (extra.size() > 2 && extra.starts_with("--")) throw UsageError{"unknown option " + extra};
    if (attribute->count() + count->count() + integer->count() > 1)
      throw UsageError{"choose one of --attr, --count and --integer"};
    if (line.words().size() != 2) throw UsageError{"expected a file and an expression"};
  });
  return [&line, attribute, count, integer](CliContext& context) {
    const std::vector<std::string> words = line.words();
    xml::TXpObjModel model;
    if (!model.LoadDataSource(text::utf8ToWorking(words[0]))) {
      context.err << kMessagePrefix << "Cannot load " << words[0] << ": "
                  << (model.errors().empty() ? "unknown error" : model.errors().front()) << "\n";
      return 1;
    }
    xml::TXpElement* root = model.Document()->docGetDocumentElement();
    const std::string expression = text::utf8ToWorking(words[1]);
    // The query layer selects nothing for an expression it cannot read, or one whose
    // evaluation exceeds its work budget; the command line says which, rather than print
    // nothing as if nothing matched.
    xml::XpPath path;
    if (!path.compile(text::workingToUtf8(expression))) {
      context.err << "sorvanta query: cannot read the expression "
                  << text::workingToUtf8(text::quotedText(expression)) << "\n";
      return 2;
    }
    bool overBudget = false;
    xml::TXpNodeList nodes = path.evaluate(root, &overBudget);
    if (overBudget) {
      context.err << "sorvanta: the query was stopped by its work budget ("
                  << xml::XpPath::maxWork << " nodes read, written and visited); nothing "
                  << "is printed\n";
      return 1;
    }
    if (integer->count() > 0) {
      context.out << root->SelectInteger(expression) << "\n";
      return 0;
    }
    if (count->count() > 0) {
      context.out << nodes.nlGetLength() << "\n";
      return 0;
    }
    if (const std::optional<std::string> name = CommandLine::last(attribute)) {
      for (xml::TXpNode* node : nodes)
        context.out << text::workingToUtf8(xml::attributeText(node, *name)) << "\n";
    } else {
      for (const std::string& text : xml::nodeTexts(nodes))
        context.out << text::workingToUtf8(text) << "\n";
    }
    return 0;
  };
}

}  // namespace sorvanta::cli
