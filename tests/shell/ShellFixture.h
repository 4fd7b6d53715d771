#pragma once
// Drives the main window in tests: settings in a temporary folder, message boxes, the
// open-file dialog and modal dialogs answered by hooks, and real mouse clicks on rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QSettings>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lexicon/DataFolder.h"
#include "shell/SorvantaForm.h"
#include "support/TempDir.h"
#include "widgets/Messages.h"
#include "widgets/ModalDialogs.h"
#include "widgets/OpenFileDialog.h"
#include "settings/QtSettingsStore.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"

namespace sorvanta::testing {

// The sample release folder with its trailing separator.
inline std::string sampleFolder() {
  return std::filesystem::weakly_canonical(sampleReleasePath()).string() + "/";
}

// A small release written into a temporary folder: frames.xml, frRelation.xml (when given)
// and annotation documents luXML/lu<ID>.xml.
inline void writeRelease(const TempDir& dir, const std::string& frames,
                         const std::optional<std::string>& relations,
                         const std::vector<std::pair<std::string, std::string>>& lexUnits = {}) {
  std::filesystem::create_directories(dir.path() / "frXML");
  std::filesystem::create_directories(dir.path() / "luXML");
  dir.write("frXML/frames.xml", frames);
  if (relations) dir.write("frXML/frRelation.xml", *relations);
  for (const auto& [id, document] : lexUnits) dir.write("luXML/lu" + id + ".xml", document);
}

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settingsDir.path().string()));
    widgets::Messages::setTestHook([this](const QString& caption, const QString& text) {
      messages.emplace_back(caption, text);
    });
    widgets::OpenFileDialog::setTestHook([this](const QString& title, const QString& filter) {
      dialogs.emplace_back(title, filter);
      return nextFileName;
    });
    widgets::setModalHook([this](QDialog& dialog) {
      ++modalCount;
      return onModal ? onModal(dialog) : int(QDialog::Rejected);
    });
  }
  ~ShellTest() override {
    window.reset();
    widgets::Messages::setTestHook({});
    widgets::OpenFileDialog::setTestHook({});
    widgets::setModalHook({});
  }

  static std::string storedFolder() {
    return settings::QtSettingsStore().readString(lexicon::kLocationSetting);
  }
  static void storeFolder(const std::string& folder) {
    settings::QtSettingsStore().writeString(lexicon::kLocationSetting, folder);
  }

  // Creates the window as if its executable lay in executableFolder and shows it, which runs
  // the start-up.
  shell::TSVExplorer& openWindow(const std::string& executableFolder) {
    window = std::make_unique<shell::TSVExplorer>();
    window->setExecutableFolder(executableFolder);
    window->show();
    return *window;
  }
  // The window on the sample release, found through the stored folder.
  shell::TSVExplorer& openSample() {
    storeFolder(sampleFolder());
    return openWindow(elsewhere.path().string() + "/");
  }

  static void clickRow(widgets::ReportListView* view, int row,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                       Qt::MouseButton button = Qt::LeftButton) {
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), button, modifiers, view->visualRect(index).center());
  }
  static void clickHeader(widgets::ReportListView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  }
  static void clickCell(widgets::StringGrid* grid, int row, Qt::MouseButton button) {
    const QModelIndex index = grid->model()->index(grid->tableRowOf(row), 0);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), button, Qt::NoModifier, grid->visualRect(index).center());
  }
  // Row number of the first row whose cell equals value, or -1.
  static int rowWhere(const widgets::ReportListView* view, int column, const std::string& value) {
    const auto& rows = view->rows();
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].cell(column) == value) return static_cast<int>(i);
    }
    return -1;
  }
  static std::vector<std::string> gridColumn(const widgets::StringGrid* grid, int column,
                                             int firstRow = 0) {
    std::vector<std::string> cells;
    for (int r = firstRow; r < grid->gridRowCount(); ++r) cells.push_back(grid->cell(column, r));
    return cells;
  }

  TempDir settingsDir;
  TempDir elsewhere;  // an executable folder without a release
  std::unique_ptr<shell::TSVExplorer> window;
  std::vector<std::pair<QString, QString>> messages;
  std::vector<std::pair<QString, QString>> dialogs;  // title and filter of each open-file dialog
  std::optional<QString> nextFileName;               // the open-file dialog's answer
  std::function<int(QDialog&)> onModal;
  int modalCount = 0;
};

}  // namespace sorvanta::testing
