#include "app_win32/batch_window_view.hpp"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app_win32/win32_window.hpp"
#include "platform/wide_text.hpp"
#include "window/window_layout.hpp"

namespace k2v {

namespace {

constexpr const wchar_t* kFormClass = L"K2VBatch";
constexpr const wchar_t* kPictureClass = L"K2VBatchPicture";
constexpr int kFirstControlId = 100;
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

COLORREF Background() { return ColourOf(kBatchLayout.background); }

std::vector<std::wstring> Cells(const BatchRow& row) {
  return {Widen(row.boring), Widen(row.result), Widen(row.layers), Widen(row.uncodedLayers), Widen(row.message)};
}

int CALLBACK StartIn(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

BatchWindowView::BatchWindowView(BatchWindowSetup setup) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static bool registered = false;
  if (!registered) {
    registered = true;
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW c{};
    c.cbSize = sizeof(c);
    c.hInstance = instance;
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.hbrBackground = CreateSolidBrush(Background());
    c.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    c.lpfnWndProc = FormProc;
    c.lpszClassName = kFormClass;
    RegisterClassExW(&c);
    c.hIcon = nullptr;
    c.lpfnWndProc = PictureProc;
    c.lpszClassName = kPictureClass;
    RegisterClassExW(&c);
  }
  grey_ = CreateSolidBrush(Background());
  form_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, Widen(kBatchLayout.caption).c_str(),
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
  picture_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPictureClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, form_,
                             nullptr, instance, this);
  controls_ = std::make_unique<LaidOutControls>(picture_, kBatchLayout, kFirstControlId);
  HWND table = (*controls_)[Borings];
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
  Layout(DpiOf(form_));
  // In the middle of the screen.
  RECT work{}, window{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(form_, &window);
  SetWindowPos(form_, nullptr, work.left + (work.right - work.left - (window.right - window.left)) / 2,
               work.top + (work.bottom - work.top - (window.bottom - window.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A folder dropped from Explorer on a path box.
  DragAcceptFiles(picture_, TRUE);
  model_ = std::make_unique<BatchWindow>(*this, std::move(setup));
}

BatchWindowView::~BatchWindowView() {
  // The behaviour first: it waits for its batch, which may still wake the window.
  model_.reset();
  if (form_) DestroyWindow(form_);
  if (font_) DeleteObject(font_);
  if (grey_) DeleteObject(grey_);
}

void BatchWindowView::Layout(int dpi) {
  RECT frame{0, 0, TwipsToPixels(kBatchLayout.clientWidth, dpi), TwipsToPixels(kBatchLayout.clientHeight, dpi)};
  AdjustForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE)),
               static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_EXSTYLE)), dpi);
  SetWindowPos(form_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (font_) DeleteObject(font_);
  font_ = MakeUiFont(dpi);
  controls_->Place(dpi, font_);
  for (size_t i = 0; i < std::size(kBatchColumns); ++i) {
    ListView_SetColumnWidth((*controls_)[Borings], static_cast<int>(i), TwipsToPixels(kBatchColumns[i].width, dpi));
  }
  InvalidateRect(form_, nullptr, TRUE);
}

HWND BatchWindowView::Control(const std::string& name) const {
  if (name == "Batch") return form_;
  return controls_->Named(name);
}

HWND BatchWindowView::PathBox(BatchPath which) const {
  return (*controls_)[which == BatchPath::Source ? SourceRoot : DestinationRoot];
}

int BatchWindowView::Run() {
  ShowWindow(form_, SW_SHOW);
  UpdateWindow(form_);
  SetFocus(PathBox(BatchPath::Source));
  running_ = true;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(form_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  running_ = false;
  return static_cast<int>(msg.wParam);
}

void BatchWindowView::ProcessPendingEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!form_ || !IsDialogMessageW(form_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

std::string BatchWindowView::PathText(BatchPath which) const { return Narrow(TextOfWindow(PathBox(which))); }

void BatchWindowView::SetPathText(BatchPath which, const std::string& text) {
  HWND box = PathBox(which);
  SetWindowTextW(box, Widen(text).c_str());
  // The end of a long path shows.
  const LPARAM end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

std::string BatchWindowView::ChooseFolder(const std::string& title, const std::string& start) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const std::wstring caption = Widen(title);
  const std::wstring startIn = Widen(start);
  BROWSEINFOW info{};
  info.hwndOwner = form_;
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
  HWND table = (*controls_)[Borings];
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
  HWND table = (*controls_)[Borings];
  std::vector<std::wstring> cells = Cells(row);
  for (size_t column = 0; column < cells.size(); ++column) {
    ListView_SetItemText(table, index, static_cast<int>(column), cells[column].data());
  }
  ListView_EnsureVisible(table, index, FALSE);
}

void BatchWindowView::ShowProgress(int done, int total) {
  HWND bar = (*controls_)[Progress];
  SendMessageW(bar, PBM_SETRANGE32, 0, total);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done), 0);
}

void BatchWindowView::ShowSummary(const std::string& text) {
  SetWindowTextW((*controls_)[Summary], Widen(text).c_str());
}

void BatchWindowView::SetRunning(bool running) {
  for (Index off : {SourceRoot, SourceBrowse, DestinationRoot, DestinationBrowse, Execute}) {
    EnableWindow((*controls_)[off], !running);
  }
  EnableWindow((*controls_)[Cancel], running);
  // The focus leaves a control that was turned off.
  if (running) SetFocus((*controls_)[Cancel]);
}

void BatchWindowView::EnableResults(bool report, bool uncodedList) {
  EnableWindow((*controls_)[OpenReport], report);
  EnableWindow((*controls_)[OpenUncodedList], uncodedList);
}

MessageAnswer BatchWindowView::ShowMessage(const MessageBoxContent& box) {
  if (messageSeam_) return messageSeam_(box);
  return ShowMessageBox(form_ && IsWindowVisible(form_) ? form_ : nullptr, box);
}

bool BatchWindowView::OpenFile(const std::string& path) {
  if (openSeam_) return openSeam_(path);
  const auto done = reinterpret_cast<INT_PTR>(
      ShellExecuteW(form_, L"open", SystemPath(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return done > 32;
}

void BatchWindowView::WakeUp() {
  if (form_) PostMessageW(form_, kWakeUp, 0, 0);
}

void BatchWindowView::Close() {
  if (form_) DestroyWindow(form_);
}

void BatchWindowView::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  // Ids follow the table from its second control on.
  switch (id - kFirstControlId + 1) {
    case SourceBrowse: model_->SourceBrowse_Click(); break;
    case DestinationBrowse: model_->DestinationBrowse_Click(); break;
    case Execute: model_->Execute_Click(); break;
    case Cancel: model_->Cancel_Click(); break;
    case OpenReport: model_->OpenReport_Click(); break;
    case OpenUncodedList: model_->OpenUncodedList_Click(); break;
    default: break;
  }
}

void BatchWindowView::OnDrop(HDROP drop) {
  POINT at{};
  DragQueryPoint(drop, &at);
  std::wstring path;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
    path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
  }
  DragFinish(drop);
  if (path.empty()) return;
  for (BatchPath which : {BatchPath::Source, BatchPath::Destination}) {
    RECT r{};
    GetWindowRect(PathBox(which), &r);
    MapWindowPoints(nullptr, picture_, reinterpret_cast<POINT*>(&r), 2);
    if (PtInRect(&r, at)) model_->PathDropped(which, Narrow(path));
  }
}

LRESULT CALLBACK BatchWindowView::FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Remember(hwnd, message, lParam);
  BatchWindowView* self = WindowBehind<BatchWindowView>(hwnd);
  if (!self || !self->form_ || !self->model_) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->OnFormMessage(message, wParam, lParam);
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
        if (IsChild(picture_, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
          SendMessageW(focus, BM_CLICK, 0, 0);
        }
      } else if (lParam != 0) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_CLOSE: model_->Close_Click(); return 0;
    case kWakeUp: model_->Pump(); return 0;
    case WM_DESTROY:
      form_ = nullptr;
      if (running_) PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      Layout(HIWORD(wParam));
      SetWindowPos(form_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(form_, message, wParam, lParam);
}

LRESULT CALLBACK BatchWindowView::PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Remember(hwnd, message, lParam);
  BatchWindowView* self = WindowBehind<BatchWindowView>(hwnd);
  if (!self || !self->picture_ || !self->model_) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->OnPictureMessage(message, wParam, lParam);
}

LRESULT BatchWindowView::OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, Background());
      return reinterpret_cast<LRESULT>(grey_);
    }
    case WM_DROPFILES: OnDrop(reinterpret_cast<HDROP>(wParam)); return 0;
    default: break;
  }
  return DefWindowProcW(picture_, message, wParam, lParam);
}

}  // namespace k2v
