// Evaluates arbitrary path expressions on a document: the input's first line is the
// expression, the rest the document (a fixed sample when the rest does not load).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "xml/XpObjModel.h"

namespace {

const char kSample[] =
    "<lexunit-annotation name='run.v' ID='12'><subcorpus name='V-np'>"
    "<annotationSet><layers><layer name='FE'><labels><label name='Agent' start='0' end='2'/>"
    "<label name='Goal' itype='INI'/></labels></layer><layer name='Target'><labels>"
    "<label name='Target' start='4' end='6'/></labels></layer></layers>"
    "<sentence ID='7'><text>Kim ran home.</text></sentence></annotationSet></subcorpus>"
    "<subcorpus name='V-np'/><subcorpus name=\"it's\"><annotated>12</annotated></subcorpus>"
    "</lexunit-annotation>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvanta::xml;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t lineEnd = input.find('\n');
  std::string expression(input.substr(0, lineEnd));
  std::string_view document = lineEnd == std::string_view::npos ? "" : input.substr(lineEnd + 1);
  TXpObjModel model;
  if (!model.LoadMemory(document.data(), document.size()))
    model.LoadMemory(kSample, sizeof kSample - 1);
  TXpElement* root = model.Document()->docGetDocumentElement();
  TXpNodeList nodes = root->SelectNodes(expression);
  for (TXpNode* node : nodes)
    if (!node) __builtin_trap();  // results hold only real nodes
  TXpNode* deepest = root;
  while (TXpNode* child = deepest->noGetLastChild()) deepest = child;
  (void)deepest->SelectNodes(expression);
  (void)root->SelectSingleNode(expression);
  (void)root->SelectInteger(expression);
  return 0;
}
