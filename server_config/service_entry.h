// The settings of one configurable server component: its service (start type, logon account)
// and its web servers (ports, hosts, switches, certificate files).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "packages/setup_package.h"
#include "server_config/service_kinds.h"

namespace setup {

// A certificate file of the SSL web server; only a given file is handed to the package.
struct CertificateFile {
  std::wstring path;
  bool given = false;

  bool operator==(const CertificateFile&) const = default;
};

// What the user can change on the service page, as it stood once initialisation ended; the
// page compares against it to mark changed values.
struct ServiceEntryInitialValues {
  ServiceStartType startType = ServiceStartType::Auto;
  LogonAccount account = LogonAccount::LocalSystem;
  std::wstring userName;
  std::wstring password;
  std::int32_t httpPort = 0;
  bool httpEnabled = true;
  std::int32_t sslPort = 0;
  bool sslEnabled = false;
  std::wstring certificate;
  std::wstring privateKey;
  std::wstring certificateChain;

  bool operator==(const ServiceEntryInitialValues&) const = default;
};

struct ServiceEntry {
  const ServiceKind* kind = nullptr;
  const SetupPackage* package = nullptr;  // its handle flag decides whether the entry takes part
  std::size_t settingsOwner = 0;          // the entry whose certificate files this entry's SSL settings edit

  std::wstring serviceName;
  std::wstring displayName;
  ServiceStartType startType = ServiceStartType::Auto;
  LogonAccount account = LogonAccount::LocalSystem;
  std::wstring userName;
  std::wstring password;  // plain text, never written anywhere; only its encryption leaves the model

  std::int32_t httpPort = 0;
  std::wstring httpHost;  // empty: every address
  bool httpEnabled = true;
  std::int32_t sslPort = 0;
  std::wstring sslHost;
  bool sslEnabled = false;
  CertificateFile certificate{L"C:\\path_to\\certificate"};
  CertificateFile privateKey{L"C:\\path_to\\PrivateKey"};
  CertificateFile certificateChain{L"C:\\path_to\\certificate_chain"};

  ServiceEntryInitialValues initial;

  std::wstring_view Label() const { return kind->label; }
  std::wstring_view Prefix() const { return kind->prefix; }
  std::wstring_view ServicePrefix() const { return kind->servicePrefix; }
  bool IsSelected() const { return package->handle; }
  // The values the page compares against, as they stand now.
  ServiceEntryInitialValues CurrentValues() const;
};

}  // namespace setup
