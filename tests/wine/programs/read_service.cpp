// Prints what the service-control adapter reads of one service, one "name=value" line each,
// in UTF-8, so that the end-to-end tests can compare it with the system's own tools.
#include <windows.h>

#include <string>

#include "foundation/format.h"
#include "foundation/text.h"
#include "platform/win32/win32_ports.h"

namespace {

void Print(const std::wstring& line) {
  const std::string bytes = setup::ToUtf8(line + L"\n");
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    Print(L"usage: read-service <service name>");
    return 2;
  }
  const auto service = setup::platform::win32::CreateServiceControl()->ReadInstalledService(argv[1]);
  if (!service) {
    Print(L"exists=0");
    return 0;
  }
  Print(L"exists=1");
  if (const auto& configuration = service->configuration) {
    Print(setup::Format(L"start=%u", configuration->startType));
    Print(L"display=" + configuration->displayName);
    Print(L"path=" + configuration->executablePath);
    Print(L"account=" + configuration->logonAccount);
  }
  Print(setup::Format(L"delayed=%d", service->delayedAutoStart ? 1 : 0));
  Print(L"description=" + service->description);
  if (service->currentState) Print(setup::Format(L"state=%u", *service->currentState));
  return 0;
}
