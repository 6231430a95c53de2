#include "server_config/service_properties.h"

#include <set>

#include "foundation/format.h"
#include "foundation/installer_property_text.h"
#include "foundation/text.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "server_config/service_command_line.h"
#include "server_config/service_logon.h"
#include "server_config/service_property_names.h"

namespace setup {

namespace {

// The items of the property string, and the names they carry.
class PropertyWriter {
 public:
  void Plain(std::wstring_view prefix, std::wstring_view key, std::wstring_view value) {
    const std::wstring name = Name(prefix, key);
    text_ += name + L"=" + std::wstring(value) + L" ";
  }
  void Quoted(std::wstring_view prefix, std::wstring_view key, std::wstring_view value) {
    AppendQuotedProperty(text_, Name(prefix, key), value);
  }

  const std::wstring& Text() const { return text_; }
  const std::set<std::wstring>& Names() const { return names_; }

 private:
  std::wstring Name(std::wstring_view prefix, std::wstring_view key) {
    std::wstring name = ServicePropertyName(prefix, key);
    names_.insert(name);
    return name;
  }

  std::wstring text_;
  std::set<std::wstring> names_;
};

std::wstring_view Flag(bool on) { return on ? L"1" : L"0"; }

// Ends the run when nobody is there to put the refusal right: left unreported, the failure
// sends the wizard to its finish page (a failure marked reported would leave the page to walk
// into the same refusal again).
void RecordUnattendedFailure(const RunContext& run, std::int32_t kind) { run.result.Record(kind, 0, false); }

bool HasConnections(const RunContext& run, const std::vector<ServiceEntry>& entries, bool attended) {
  const std::vector<std::wstring_view> labels = EntriesWithoutConnection(entries);
  if (labels.empty()) return true;
  std::wstring joined;
  for (const std::wstring_view label : labels) joined += (joined.empty() ? L"" : L", ") + std::wstring(label);
  const std::wstring message = run.languages.FormatText(IDS_MSG_SERVICE_CONNECTION_NEEDED, joined);
  run.log.WriteLog(log_lines::kServiceConnectionNeeded, message);
  run.ShowMessageBox(message, platform::MessageBoxIcon::Exclamation);
  if (!attended) RecordUnattendedFailure(run, kResultInvalidCommandLine);
  return false;
}

// The password of another user's account: the one given, or the one the user enters now.
bool HavePassword(const RunContext& run, ServiceEntry& entry, ServicePasswordPrompt& prompt, bool attended) {
  if (!entry.password.empty()) return true;
  if (run.commandLine.UiLevel().IsQuiet()) {
    run.log.WriteLog(log_lines::kServicePasswordMissing, entry.displayName, entry.userName,
                     ServicePropertyName(entry.ServicePrefix(), kServicePassword));
    run.result.Record(kResultInvalidCommandLine, 0, false);
    return false;
  }
  std::optional<std::wstring> password = prompt.AskPassword(entry.displayName, entry.userName);
  if (!password) {
    if (!attended) RecordUnattendedFailure(run, kResultUserCancelled);
    return false;
  }
  entry.password = std::move(*password);
  return true;
}

bool AppendPassword(const RunContext& run, const ServiceEntry& entry, PropertyEncryption& encryption,
                    PropertyWriter& writer) {
  const std::wstring encrypted = encryption.GetPropertyKey() ? encryption.EncryptPropertyValue(entry.password) : L"";
  // An empty password encrypts to an empty text: only a password that had text can have failed.
  if (encrypted.empty() && !entry.password.empty()) {
    run.log.WriteLog(log_lines::kServicePasswordNotEncrypted, entry.displayName);
    run.result.Record(kResultInstallFailed, 0, false);
    return false;
  }
  writer.Quoted(entry.ServicePrefix(), kServicePassword, encrypted);
  return true;
}

bool AppendEntry(const RunContext& run, ServiceEntry& entry, ServicePasswordPrompt& prompt,
                 PropertyEncryption& encryption, bool attended, PropertyWriter& writer) {
  const std::wstring_view p = entry.Prefix();
  const std::wstring_view s = entry.ServicePrefix();
  writer.Plain(p, kWebServerPort, Format(L"%d", entry.httpPort));
  writer.Quoted(p, kWebServerHost, entry.httpHost);
  writer.Plain(p, kWebServerEnabled, Flag(entry.httpEnabled));
  if (entry.kind->sslSupported) {
    writer.Plain(p, kSslWebServerPort, Format(L"%d", entry.sslPort));
    writer.Quoted(p, kSslWebServerHost, entry.sslHost);
    writer.Plain(p, kSslWebServerEnabled, Flag(entry.sslEnabled));
    if (entry.certificate.given) writer.Quoted(s, kSslCertificate, entry.certificate.path);
    if (entry.privateKey.given) writer.Quoted(s, kSslPrivateKey, entry.privateKey.path);
    if (entry.certificateChain.given) writer.Quoted(s, kSslCertificateChain, entry.certificateChain.path);
  }
  writer.Quoted(s, kServiceStartType, StartTypeText(entry.startType));
  writer.Quoted(s, kServiceUsername, LogonAccountText(entry));
  if (entry.account != LogonAccount::OtherUser) return true;
  return HavePassword(run, entry, prompt, attended) && AppendPassword(run, entry, encryption, writer);
}

// A password the entries took from the command line (the same names they read).
bool IsTakenPassword(const std::vector<ServiceEntry>& entries, std::wstring_view name) {
  const auto property = SplitServiceProperty(name, L"");
  if (!property || property->key != kServicePassword) return false;
  for (const ServiceEntry& entry : entries) {
    if (EqualsIgnoreCase(property->prefix, entry.ServicePrefix())) return true;
  }
  return false;
}

}  // namespace

std::vector<std::wstring_view> EntriesWithoutConnection(const std::vector<ServiceEntry>& entries) {
  std::vector<std::wstring_view> labels;
  for (const ServiceEntry& entry : entries) {
    if (entry.IsSelected() && entry.kind->sslSupported && !entry.httpEnabled && !entry.sslEnabled) {
      labels.push_back(entry.Label());
    }
  }
  return labels;
}

std::optional<std::wstring> BuildProperties(const RunContext& run, std::vector<ServiceEntry>& entries,
                                            ServicePasswordPrompt& prompt, PropertyEncryption& encryption,
                                            bool attended) {
  if (!HasConnections(run, entries, attended)) return std::nullopt;
  PropertyWriter writer;
  for (ServiceEntry& entry : entries) {
    if (!entry.IsSelected()) continue;
    if (!AppendEntry(run, entry, prompt, encryption, attended, writer)) return std::nullopt;
  }
  run.commandLine.RemoveProperties([&](std::wstring_view name) {
    return writer.Names().contains(std::wstring(name)) || IsTakenPassword(entries, name);
  });
  return writer.Text();
}

}  // namespace setup
