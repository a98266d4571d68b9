#include "app_win32/batch_window_view.hpp"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app_win32/win32_window.hpp"
#include "platform/wide_text.hpp"
#include "window/window_layout.hpp"

namespace k2v {

namespace {

// Posted by the batch's thread: the window shows what the batch did.
constexpr UINT kWakeUp = WM_APP + 2;

// The controls by their place in the layout's table.
enum Index {
  Picture1,
  SourceLabel,
  SourceRoot,
  SourceBrowse,
  DestinationLabel,
  DestinationRoot,
  DestinationBrowse,
  Progress,
  Borings,
  MessageFrame,
  Summary,
  Execute,
  Cancel,
  OpenReport,
  OpenUncodedList
};
constexpr bool IndexIs(Index index, std::string_view name) { return name == kBatchControls[index].name; }
static_assert(IndexIs(SourceRoot, "SourceRoot") && IndexIs(SourceBrowse, "SourceBrowse") &&
              IndexIs(DestinationRoot, "DestinationRoot") && IndexIs(DestinationBrowse, "DestinationBrowse") &&
              IndexIs(Progress, "Progress") && IndexIs(Borings, "Borings") && IndexIs(Summary, "Summary") &&
              IndexIs(Execute, "Execute") && IndexIs(Cancel, "Cancel") && IndexIs(OpenReport, "OpenReport") &&
              IndexIs(OpenUncodedList, "OpenUncodedList"));

std::vector<std::wstring> Cells(const BatchRow& row) {
  return {Widen(row.boring), Widen(row.result), Widen(row.layers), Widen(row.uncodedLayers), Widen(row.message)};
}

int CALLBACK StartIn(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

BatchWindowView::BatchWindowView(BatchWindowSetup setup)
    : LaidOutWindow(kBatchLayout, "Batch", {L"K2VBatch", L"K2VBatchPicture"}) {
  HWND table = At(Borings);
  ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (size_t i = 0; i < std::size(kBatchColumns); ++i) {
    std::wstring heading = Widen(kBatchColumns[i].heading);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    // The counts right-aligned.
    column.fmt = i == 2 || i == 3 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.pszText = heading.data();
    ListView_InsertColumn(table, static_cast<int>(i), &column);
  }
  Layout(DpiOf(Form()));
  CentreForm();
  model_ = std::make_unique<BatchWindow>(*this, std::move(setup));
}

// The behaviour first: it waits for its batch, which may still wake the window.
BatchWindowView::~BatchWindowView() { model_.reset(); }

void BatchWindowView::Layout(int dpi) {
  LaidOutWindow::Layout(dpi);
  for (size_t i = 0; i < std::size(kBatchColumns); ++i) {
    ListView_SetColumnWidth(At(Borings), static_cast<int>(i), TwipsToPixels(kBatchColumns[i].width, dpi));
  }
}

HWND BatchWindowView::PathBox(BatchPath which) const {
  return At(which == BatchPath::Source ? SourceRoot : DestinationRoot);
}

int BatchWindowView::Run() { return RunMessages(PathBox(BatchPath::Source)); }

std::string BatchWindowView::PathText(BatchPath which) const { return Narrow(TextOfWindow(PathBox(which))); }

void BatchWindowView::SetPathText(BatchPath which, const std::string& text) { SetPathBoxText(PathBox(which), text); }

std::string BatchWindowView::ChooseFolder(const std::string& title, const std::string& start) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const std::wstring caption = Widen(title);
  const std::wstring startIn = Widen(start);
  BROWSEINFOW info{};
  info.hwndOwner = Form();
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = StartIn;
  info.lParam = startIn.empty() ? 0 : reinterpret_cast<LPARAM>(startIn.c_str());
  std::string chosen;
  if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
    std::wstring path(32768, L'\0');
    if (SHGetPathFromIDListEx(list, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) {
      chosen = Narrow(path.c_str());
    }
    CoTaskMemFree(list);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

void BatchWindowView::ShowRows(const std::vector<BatchRow>& rows) {
  HWND table = At(Borings);
  SendMessageW(table, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(table);
  for (size_t i = 0; i < rows.size(); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    std::wstring first = Widen(rows[i].boring);
    item.pszText = first.data();
    ListView_InsertItem(table, &item);
    ShowRow(static_cast<int>(i), rows[i]);
  }
  SendMessageW(table, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(table, nullptr, TRUE);
}

void BatchWindowView::ShowRow(int index, const BatchRow& row) {
  HWND table = At(Borings);
  std::vector<std::wstring> cells = Cells(row);
  for (size_t column = 0; column < cells.size(); ++column) {
    ListView_SetItemText(table, index, static_cast<int>(column), cells[column].data());
  }
  ListView_EnsureVisible(table, index, FALSE);
}

void BatchWindowView::ShowProgress(int done, int total) {
  HWND bar = At(Progress);
  SendMessageW(bar, PBM_SETRANGE32, 0, total);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done), 0);
}

void BatchWindowView::ShowSummary(const std::string& text) { SetWindowTextW(At(Summary), Widen(text).c_str()); }

void BatchWindowView::SetRunning(bool running) {
  for (Index off : {SourceRoot, SourceBrowse, DestinationRoot, DestinationBrowse, Execute}) {
    EnableWindow(At(off), !running);
  }
  EnableWindow(At(Cancel), running);
  // The focus leaves a control that was turned off.
  if (running) SetFocus(At(Cancel));
}

void BatchWindowView::EnableResults(bool report, bool uncodedList) {
  EnableWindow(At(OpenReport), report);
  EnableWindow(At(OpenUncodedList), uncodedList);
}

bool BatchWindowView::OpenFile(const std::string& path) {
  if (openSeam_) return openSeam_(path);
  const auto done = reinterpret_cast<INT_PTR>(
      ShellExecuteW(Form(), L"open", SystemPath(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return done > 32;
}

void BatchWindowView::WakeUp() {
  if (Form()) PostMessageW(Form(), kWakeUp, 0, 0);
}

void BatchWindowView::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (IndexOfId(id)) {
    case SourceBrowse: model_->SourceBrowse_Click(); break;
    case DestinationBrowse: model_->DestinationBrowse_Click(); break;
    case Execute: model_->Execute_Click(); break;
    case Cancel: model_->Cancel_Click(); break;
    case OpenReport: model_->OpenReport_Click(); break;
    case OpenUncodedList: model_->OpenUncodedList_Click(); break;
    default: break;
  }
}

// A folder dropped from Explorer on a path box.
void BatchWindowView::OnDrop(HDROP drop) {
  const Dropped dropped = TakeDrop(drop);
  if (dropped.path.empty()) return;
  for (BatchPath which : {BatchPath::Source, BatchPath::Destination}) {
    if (DroppedOn(PathBox(which), Picture(), dropped.at)) model_->PathDropped(which, dropped.path);
  }
}

LRESULT BatchWindowView::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Esc as the dialog keys send it; Enter on a button that the Tab key
      // made the default one comes as that button's click.
      if (LOWORD(wParam) == IDCANCEL) {
        model_->Close_Click();
      } else if (LOWORD(wParam) == IDOK) {
        const HWND focus = GetFocus();
        if (IsChild(Picture(), focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
          SendMessageW(focus, BM_CLICK, 0, 0);
        }
      } else if (lParam != 0) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_CLOSE: model_->Close_Click(); return 0;
    case kWakeUp: model_->Pump(); return 0;
    default: break;
  }
  return LaidOutWindow::OnFormMessage(message, wParam, lParam);
}

LRESULT BatchWindowView::OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DROPFILES: OnDrop(reinterpret_cast<HDROP>(wParam)); return 0;
    default: break;
  }
  return LaidOutWindow::OnPictureMessage(message, wParam, lParam);
}

}  // namespace k2v
