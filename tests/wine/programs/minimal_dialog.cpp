// The smallest Windows program that shows a dialog from its resources: the yardstick for the
// time the launcher takes to show its wizard.
#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(1), nullptr, DialogProc, 0));
}
