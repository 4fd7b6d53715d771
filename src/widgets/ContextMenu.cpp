#include "widgets/ContextMenu.h"

#include <QAbstractItemView>

namespace sorvanta::widgets {

namespace {
constexpr const char* kObjectName = "ContextMenu";
}

ContextMenu::ContextMenu(QAbstractItemView& view) : QMenu(&view) {
  setObjectName(kObjectName);
  view.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&view, &QWidget::customContextMenuRequested, this, [this, &view](const QPoint& at) {
    popupFor(view.indexAt(at).row(), view.viewport()->mapToGlobal(at));
  });
}

ContextMenu& ContextMenu::of(QAbstractItemView& view) {
  if (auto* menu = view.findChild<ContextMenu*>(kObjectName, Qt::FindDirectChildrenOnly))
    return *menu;
  return *new ContextMenu(view);
}

void ContextMenu::contribute(Contribution contribution, Scope scope) {
  (scope == Scope::Row ? rowContributions_ : viewContributions_).push_back(std::move(contribution));
}

void ContextMenu::fill(int row) {
  // Deletes the actions the previous filling made; those owned elsewhere stay.
  clear();
  for (const auto* group : {&rowContributions_, &viewContributions_}) {
    for (const Contribution& contribution : *group) {
      const qsizetype before = actions().size();
      contribution(*this, row);
      if (before > 0 && actions().size() > before) insertSeparator(actions()[before]);
    }
  }
}

bool ContextMenu::popupFor(int row, const QPoint& globalAt) {
  if (isVisible()) hide();
  fill(row);
  if (actions().isEmpty()) return false;
  popup(globalAt);
  return true;
}

}  // namespace sorvanta::widgets
