// The property string the service entries hand to the packages: validation of the entries,
// the passwords asked for where none was given, and the NAME=VALUE items of every selected
// entry with the password encrypted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/property_encryption.h"
#include "run/run_context.h"
#include "server_config/service_entry.h"

namespace setup {

// Asks the user for the logon password of a service.
class ServicePasswordPrompt {
 public:
  virtual ~ServicePasswordPrompt() = default;
  // The password entered; none when the user cancelled.
  virtual std::optional<std::wstring> AskPassword(std::wstring_view displayName, std::wstring_view userName) = 0;
};

// The labels of the selected entries that support SSL and have both web servers switched off.
std::vector<std::wstring_view> EntriesWithoutConnection(const std::vector<ServiceEntry>& entries);

// The property string of the selected entries, in entry order. Command-line properties that it
// generates, and every password the entries took from the command line, leave the command
// line's pass-through list, so that each reaches the installer once and no password reaches
// it in plain text.
//
// None keeps the page: an entry without any connection (told in a message box), a password
// dialog cancelled. When the wizard does not wait for the user (`attended` false) a refusal
// also records a failure, so that the run ends instead of asking again; at a quiet level a
// missing password is never asked for and ends the run the same way. A password that cannot
// be encrypted ends the run as well: it is never handed on in plain text.
std::optional<std::wstring> BuildProperties(const RunContext& run, std::vector<ServiceEntry>& entries,
                                            ServicePasswordPrompt& prompt, PropertyEncryption& encryption,
                                            bool attended);

}  // namespace setup
