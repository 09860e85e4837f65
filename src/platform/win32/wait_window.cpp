#include "platform/wait_window.h"

#include "platform/win32/form_window.h"

namespace {

HWND g_form = nullptr;
HFONT g_font = nullptr;

constexpr int TWIPS_PER_INCH = 1440;
const wchar_t* const TITOLO = L"scenario-compiler";

int pixel(int twips, int dpi) { return MulDiv(twips, dpi, TWIPS_PER_INCH); }

}  // namespace

HWND form_window() { return g_form; }

std::wstring wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

void message_box(const std::string& text) { MessageBoxW(g_form, wide(text).c_str(), TITOLO, MB_OK); }

void show_wait_window(std::ostream&) {
    HINSTANCE istanza = GetModuleHandleW(nullptr);
    WNDCLASSW classe{};
    classe.lpfnWndProc = DefWindowProcW;
    classe.hInstance = istanza;
    classe.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    classe.lpszClassName = L"Form1";
    RegisterClassW(&classe);

    HDC schermo = GetDC(nullptr);
    const int dpi_x = GetDeviceCaps(schermo, LOGPIXELSX), dpi_y = GetDeviceCaps(schermo, LOGPIXELSY);
    ReleaseDC(nullptr, schermo);

    // The client area is 4200 by 2688 twips; the frame comes around it.
    const DWORD stile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r{0, 0, pixel(4200, dpi_x), pixel(2688, dpi_y)};
    AdjustWindowRect(&r, stile, FALSE);
    g_form = CreateWindowExW(0, L"Form1", TITOLO, stile, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, istanza, nullptr);
    if (g_form == nullptr) return;  // no display: the run goes on without its window

    HWND label1 = CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT, pixel(960, dpi_x),
                                  pixel(960, dpi_y), pixel(2652, dpi_x), pixel(792, dpi_y), g_form, nullptr,
                                  istanza, nullptr);
    g_font = CreateFontW(-MulDiv(24, dpi_y, 72), 0, 0, 0, 700, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    SendMessageW(label1, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
    ShowWindow(g_form, SW_SHOWNORMAL);
    // Painted once, now: no message is pumped while the run works.
    RedrawWindow(g_form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void close_wait_window() {
    if (g_form != nullptr) DestroyWindow(g_form);
    g_form = nullptr;
    if (g_font != nullptr) DeleteObject(g_font);
    g_font = nullptr;
}
