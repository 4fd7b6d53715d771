// Start-up of the main window (FormShow): the splash, the data folder, the two documents,
// the lists and the first frame.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "shell/SVEAbout.h"
#include "shell/SorvantaForm.h"
#include "text/FileIO.h"
#include "widgets/EventPump.h"
#include "widgets/QtText.h"
#include "widgets/ReportListView.h"

namespace sorvanta::shell {

using widgets::toQString;

namespace {

// Names the document that could not be read and why.
QString unreadableDocument(const char* what, const std::string& path,
                           const xml::TXpObjModel& model) {
  if (!text::fileExists(path))
    return QString("The %1 \"%2\" does not exist.").arg(what, toQString(path));
  const QString why = model.errors().empty() ? QString("it is not a well-formed document")
                                             : QString::fromUtf8(model.errors().front().c_str());
  return QString("Cannot read the %1 \"%2\": %3.").arg(what, toQString(path), why);
}

}  // namespace

void TSVExplorer::FormShow() {
  splash_ = std::make_unique<TAboutBox>(nullptr);
  splash_->Comments->setText(kLoadingComments);
  splash_->OKButton->hide();
  splash_->show();
  widgets::repaintNow(*splash_);

  SettingsHandle = std::make_unique<settings::QtSettingsStore>();

  const lexicon::DataFolderPlatform platform{
      executableFolder_, *SettingsHandle,
      [](std::string_view path) { return text::fileExists(path); },
      [this]() -> std::optional<std::string> {
        const std::optional<QString> chosen = SVOpenDialog.execute(this);
        if (!chosen) return std::nullopt;
        return widgets::toWorking(*chosen);
      },
      [this](std::string_view caption, std::string_view text) { messages_.show(caption, text); }};
  const std::optional<lexicon::ReleaseFolder> folder = lexicon::resolveDataFolder(platform);
  // Stopped without data: after the message, the window offers to open a release. DataFolder
  // stays empty, so no command writes anywhere.
  if (!folder) {
    offerOpenRelease();
    return;
  }
  DataFolder = *folder;
  if (!loadFramesDocument(DataFolder.frames(),
                          "The program has no data to show. Open a release whose folder holds "
                          "frXML/frames.xml (File, Open Release…).")) {
    DataFolder = lexicon::ReleaseFolder();
    offerOpenRelease();
    return;
  }
  lexicon::addRecentRelease(*SettingsHandle, DataFolder);
  showLoadedRelease();
  closeSplash();
}

void TSVExplorer::showLoadedRelease() {
  FramesRoot = FramesXpObjModel.Document()->docGetDocumentElement();
  const std::optional<size_t> firstFrame = fillLists();

  loadRelationsDocument();

  if (firstFrame) {
    FramesListView->selectOnly(static_cast<int>(*firstFrame));
  } else {
    FramesListView->clearRowSelection();
  }
  FramesListViewClick();
  showReleaseStatus();
}

bool TSVExplorer::loadFramesDocument(const std::string& path, const char* followUp) {
  if (FramesXpObjModel.LoadDataSource(path)) return true;
  messages_.show(toQString(lexicon::kProgramCaption),
                 unreadableDocument("frames document", path, FramesXpObjModel) + "\n\n" +
                     followUp);
  return false;
}

void TSVExplorer::loadRelationsDocument() {
  const std::string path = DataFolder.relations();
  if (FrRelXpObjModel.LoadDataSource(path)) {
    RelationsRoot = FrRelXpObjModel.Document()->docGetDocumentElement();
    return;
  }
  RelationsRoot = nullptr;
  messages_.show(toQString(lexicon::kProgramCaption),
                 unreadableDocument("frame-relations document", path, FrRelXpObjModel) +
                     "\n\nFrames are shown without their relations.");
}

std::optional<size_t> TSVExplorer::fillLists() {
  lexicon::FramesIndex index = lexicon::fillFramesIndex(FramesRoot);
  NumFrEdit->setText(QString::number(index.numFrames));
  AnnTotEdit->setText(QString::number(index.annotatedTotal));
  NumFEsEdit->setText(QString::number(index.numFrameElements));
  FramesListView->setRows(std::move(index.frames));
  LexUnitListView->setRows(std::move(index.lexUnits));
  FEListView->setRows(std::move(index.frameElements));
  return index.firstFrameRow;
}

void TSVExplorer::closeSplash() {
  if (splash_) splash_->close();
  splash_.reset();
}

}  // namespace sorvanta::shell
