#include "app_win32/win32_window.hpp"

#include "platform/wide_text.hpp"

namespace k2v {

namespace {

// The size of the UI font, in points.
constexpr int kFontPoints = 9;

template <typename Fn>
Fn User32(const char* name) {
  FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontIsInstalled(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, FontFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

// The window's DPI (per monitor where the system knows it), else the system's.
int DpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32<AdjustFn>("AdjustWindowRectExForDpi");
  if (adjust) {
    adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

void Remember(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
}

std::wstring TextOfWindow(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background, HICON icon) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW c{};
  c.cbSize = sizeof(c);
  if (GetClassInfoExW(instance, name, &c)) return;
  c = WNDCLASSEXW{};
  c.cbSize = sizeof(c);
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = background;
  c.hIcon = icon;
  c.lpfnWndProc = proc;
  c.lpszClassName = name;
  RegisterClassExW(&c);
}

void SetPathBoxText(HWND box, const std::string& text) {
  SetWindowTextW(box, Widen(text).c_str());
  const LPARAM end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

Dropped TakeDrop(HDROP drop) {
  Dropped dropped{};
  DragQueryPoint(drop, &dropped.at);
  std::wstring path;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
    path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
  }
  DragFinish(drop);
  dropped.path = Narrow(path);
  return dropped;
}

bool DroppedOn(HWND control, HWND parent, POINT at) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return PtInRect(&r, at);
}

std::wstring UiFontFace() {
  for (const wchar_t* face : {L"Meiryo UI", L"Yu Gothic UI", L"MS UI Gothic"}) {
    if (FontIsInstalled(face)) return face;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return metrics.lfMessageFont.lfFaceName;
}

HFONT MakeUiFont(int dpi) {
  return CreateFontW(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     UiFontFace().c_str());
}

COLORREF ColourOf(Colour colour) { return RGB(colour.red, colour.green, colour.blue); }

MessageAnswer ShowMessageBox(HWND owner, const MessageBoxContent& box) {
  std::string text = box.text;
  if (!box.informative.empty()) text += "\n\n" + box.informative;
  UINT flags = box.buttons == MessageButtons::Ok ? MB_OK : MB_YESNO;
  if (box.icon) {
    switch (*box.icon) {
      case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
      case MessageIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
      case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
      case MessageIcon::Critical: flags |= MB_ICONERROR; break;
    }
  }
  const int answer = MessageBoxW(owner, Widen(text).c_str(), Widen(box.title).c_str(), flags);
  if (answer == IDYES) return MessageAnswer::Yes;
  return box.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

}  // namespace k2v
