// The smallest Windows program that shows a dialog (one text, one button, from a template in
// memory): the yardstick for the time the launcher takes to show its wizard.
#include <windows.h>

#include <cstddef>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

// A dialog template: the header, then per item its header, class atom, title and creation data.
struct alignas(4) Template {
  DLGTEMPLATE dialog{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | DS_SETFONT, 0, 2, 0, 0, 220, 80};
  WORD menu = 0, windowClass = 0, title[7] = {'D', 'i', 'a', 'l', 'o', 'g', 0};
  WORD pointSize = 8, face[15] = {'M', 'S', ' ', 'S', 'h', 'e', 'l', 'l', ' ', 'D', 'l', 'g', 0};
  DLGITEMTEMPLATE text{WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 10, 10, 200, 30, 100};
  WORD textClass[2] = {0xFFFF, 0x0082}, textTitle[6] = {'H', 'e', 'l', 'l', 'o', 0}, textData = 0;
  DLGITEMTEMPLATE button{WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 160, 58, 50, 14, IDOK};
  WORD buttonClass[2] = {0xFFFF, 0x0080}, buttonTitle[3] = {'O', 'K', 0}, buttonData = 0;
};
// Every item header starts on a DWORD boundary.
static_assert(offsetof(Template, text) % 4 == 0 && offsetof(Template, button) % 4 == 0);

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  static const Template kTemplate;
  return static_cast<int>(DialogBoxIndirectParamW(instance, &kTemplate.dialog, nullptr, DialogProc, 0));
}
