/* The sample products' custom action: it ends the installation as cancelled by the user (1602,
   ERROR_INSTALL_USEREXIT), as a package does when its user presses Cancel in its own dialogs.
   The products run it only when the SAMPLE_CANCEL property names them. */
#include <windows.h>
#include <msi.h>

__declspec(dllexport) UINT __stdcall CancelInstallation(MSIHANDLE installation) {
  (void)installation;
  return ERROR_INSTALL_USEREXIT;
}
