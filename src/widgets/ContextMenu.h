#pragma once
// The one context menu of a list or grid. Every feature that offers something on the view's
// rows (export, reports, the relation graph) contributes its actions here instead of handling
// the right click itself: Qt shows the menu of only one customContextMenuRequested handler
// properly, and a second handler's blocking exec() never returns in tests.
#include <QMenu>
#include <functional>
#include <vector>

class QAbstractItemView;

namespace sorvanta::widgets {

class ContextMenu : public QMenu {
  Q_OBJECT

 public:
  // Adds a feature's actions to menu for the model row under the pointer (-1: no row). An
  // action made here should be owned by menu (menu.addAction(text)); it lives until the menu
  // is filled again. Actions that outlive the menu (owned by the view) are only added.
  using Contribution = std::function<void(QMenu& menu, int row)>;

  // The context menu of view, made on first use (a child of the view named "ContextMenu"):
  // from then on a right click on the view shows it for the row under the pointer.
  static ContextMenu& of(QAbstractItemView& view);

  // What a contribution's actions act on: the row under the pointer, or the whole view.
  enum class Scope { Row, View };

  // The row contributions come first, then the view's; each group in the order added. Every
  // contribution's actions are separated from the others'.
  void contribute(Contribution contribution, Scope scope = Scope::Row);

  // Fills the menu for row and pops it up at globalAt without waiting for a choice; when no
  // contribution adds an action nothing is shown and false is returned.
  bool popupFor(int row, const QPoint& globalAt);

 private:
  explicit ContextMenu(QAbstractItemView& view);
  void fill(int row);

  std::vector<Contribution> rowContributions_;
  std::vector<Contribution> viewContributions_;
};

}  // namespace sorvanta::widgets
