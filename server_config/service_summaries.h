// The summaries of the service page: one line each for the unencrypted web server, the SSL
// web server and the service of an entry, with what differs from the initial values in bold.
#pragma once

#include <vector>

#include "platform/gui.h"
#include "run/language_catalog.h"
#include "server_config/service_entry.h"

namespace setup {

std::vector<platform::TextRun> HttpSummary(const LanguageCatalog& languages, const ServiceEntry& entry);
std::vector<platform::TextRun> SslSummary(const LanguageCatalog& languages, const ServiceEntry& entry);
std::vector<platform::TextRun> ServiceSummary(const LanguageCatalog& languages, const ServiceEntry& entry);

}  // namespace setup
