#include "extraction/console_extraction_progress.h"

#include "foundation/format.h"

namespace setup {

void MSIExtractionProgressHandler::OnFileStart(std::wstring_view path) {
  console_.Write(Format(L"extracting %s...", path) + L"\r\n");
}

}  // namespace setup
