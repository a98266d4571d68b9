#include "app/batch_widget.hpp"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <iterator>

#include "app/folder_drop.hpp"
#include "app/laid_out_window.hpp"
#include "app/message_box.hpp"
#include "app/path_edit.hpp"
#include "app/status_label.hpp"

namespace k2v {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

BatchWidget::BatchWidget(BatchWindowSetup setup, QWidget* parent) : QWidget(parent) {
  setObjectName("Batch");
  const std::map<std::string, QWidget*> c = LayOutWindow(this, kBatchLayout);
  SourceRoot = ControlNamed<PathEdit>(c, "SourceRoot");
  DestinationRoot = ControlNamed<PathEdit>(c, "DestinationRoot");
  SourceBrowse = ControlNamed<QPushButton>(c, "SourceBrowse");
  DestinationBrowse = ControlNamed<QPushButton>(c, "DestinationBrowse");
  Progress = ControlNamed<QProgressBar>(c, "Progress");
  Borings = ControlNamed<QTableWidget>(c, "Borings");
  Summary = ControlNamed<StatusLabel>(c, "Summary");
  Execute = ControlNamed<QPushButton>(c, "Execute");
  Cancel = ControlNamed<QPushButton>(c, "Cancel");
  OpenReport = ControlNamed<QPushButton>(c, "OpenReport");
  OpenUncodedList = ControlNamed<QPushButton>(c, "OpenUncodedList");

  Borings->setColumnCount(static_cast<int>(std::size(kBatchColumns)));
  QStringList headings;
  for (size_t i = 0; i < std::size(kBatchColumns); ++i) {
    headings << QString::fromUtf8(kBatchColumns[i].heading);
    Borings->setColumnWidth(static_cast<int>(i), TwipsToPixels(kBatchColumns[i].width, 96));
  }
  Borings->setHorizontalHeaderLabels(headings);
  Borings->horizontalHeader()->setStretchLastSection(true);

  model_ = std::make_unique<BatchWindow>(*this, std::move(setup));
  BatchWindow* m = model_.get();
  connect(SourceBrowse, &QPushButton::clicked, this, [m] { m->SourceBrowse_Click(); });
  connect(DestinationBrowse, &QPushButton::clicked, this, [m] { m->DestinationBrowse_Click(); });
  connect(Execute, &QPushButton::clicked, this, [m] { m->Execute_Click(); });
  connect(Cancel, &QPushButton::clicked, this, [m] { m->Cancel_Click(); });
  connect(OpenReport, &QPushButton::clicked, this, [m] { m->OpenReport_Click(); });
  connect(OpenUncodedList, &QPushButton::clicked, this, [m] { m->OpenUncodedList_Click(); });
  for (BatchPath which : {BatchPath::Source, BatchPath::Destination}) {
    connect(new FolderDrop(PathBox(which)), &FolderDrop::Dropped, this,
            [m, which](const QString& path) { m->PathDropped(which, path.toStdString()); });
  }
}

// The behaviour first: it waits for its batch, which may still wake the window.
BatchWidget::~BatchWidget() { model_.reset(); }

std::string BatchWidget::PathText(BatchPath which) const { return PathBox(which)->text().toStdString(); }

void BatchWidget::SetPathText(BatchPath which, const std::string& text) { PathBox(which)->setText(Q(text)); }

std::string BatchWidget::ChooseFolder(const std::string& title, const std::string& start) {
  return QFileDialog::getExistingDirectory(this, Q(title), Q(start)).toStdString();
}

void BatchWidget::ShowRows(const std::vector<BatchRow>& rows) {
  Borings->clearContents();
  Borings->setRowCount(static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) ShowRow(static_cast<int>(i), rows[i]);
}

void BatchWidget::ShowRow(int index, const BatchRow& row) {
  const std::string* cells[] = {&row.boring, &row.result, &row.layers, &row.uncodedLayers, &row.message};
  for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
    auto* item = new QTableWidgetItem(Q(*cells[column]));
    // The counts right-aligned.
    if (column == 2 || column == 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (column == 4) item->setToolTip(Q(row.message));
    Borings->setItem(index, column, item);
  }
  Borings->scrollToItem(Borings->item(index, 0));
}

void BatchWidget::ShowProgress(int done, int total) {
  Progress->setRange(0, total);
  Progress->setValue(done);
}

void BatchWidget::ShowSummary(const std::string& text) { Summary->SetFullText(Q(text)); }

void BatchWidget::SetRunning(bool running) {
  for (QWidget* off :
       {static_cast<QWidget*>(SourceRoot), static_cast<QWidget*>(DestinationRoot), static_cast<QWidget*>(SourceBrowse),
        static_cast<QWidget*>(DestinationBrowse), static_cast<QWidget*>(Execute)}) {
    off->setEnabled(!running);
  }
  Cancel->setEnabled(running);
}

void BatchWidget::EnableResults(bool report, bool uncodedList) {
  OpenReport->setEnabled(report);
  OpenUncodedList->setEnabled(uncodedList);
}

MessageAnswer BatchWidget::ShowMessage(const MessageBoxContent& box) { return ShowMessageBox(this, box); }

bool BatchWidget::OpenFile(const std::string& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path))); }

void BatchWidget::WakeUp() {
  QMetaObject::invokeMethod(
      this, [this] { model_->Pump(); }, Qt::QueuedConnection);
}

void BatchWidget::Close() {
  closing_ = true;
  close();
}

void BatchWidget::closeEvent(QCloseEvent* event) {
  // A batch under way is stopped first; the window closes when it has ended.
  if (closing_ || !model_->Running()) {
    event->accept();
    return;
  }
  event->ignore();
  model_->Close_Click();
}

}  // namespace k2v
