#include "install/install_sequence.h"

#include "install/current_installation_type.h"
#include "install/installer_error.h"
#include "install/package_sequences.h"
#include "install/uninstall_entry_rewrite.h"
#include "packages/package_installation_state.h"
#include "run/log_lines.h"

namespace setup {

namespace {

enum class Sequence { Extract, Repair, Remove, Modify, Install };

Sequence ChooseSequence(const RunContext& run, const SetupPackage& main) {
  if (run.commandLine.IsExtract()) return Sequence::Extract;
  if (run.commandLine.IsRepair()) return Sequence::Repair;
  if (run.commandLine.IsUninstall()) return Sequence::Remove;
  if (IsPackageInstalled(Detection(run), main)) return Sequence::Modify;
  return Sequence::Install;
}

std::uint32_t Run(PackageSequences& sequences, Sequence sequence) {
  switch (sequence) {
    case Sequence::Extract:
      return sequences.Extract();
    case Sequence::Repair:
      return sequences.Repair();
    case Sequence::Remove:
      return sequences.Remove();
    case Sequence::Modify:
      return sequences.Modify();
    case Sequence::Install:
      return sequences.Install();
  }
  return 0;
}

// The main product's entry after the sequence: rewritten after a successful installation,
// redone after a repair or a change, and restored to the launcher's after a failed removal.
void RewriteAfter(const RunContext& run, const SetupPackage& main, Sequence sequence, std::uint32_t result) {
  if (sequence == Sequence::Install && result == 0) {
    RewriteUninstallEntries(run, UninstallEntryRewrite::Perform, main);
  } else if (sequence == Sequence::Repair || sequence == Sequence::Modify) {
    RewriteUninstallEntries(run, UninstallEntryRewrite::RedoAfterModify, main);
  } else if (sequence == Sequence::Remove && result != 0) {
    RewriteUninstallEntries(run, UninstallEntryRewrite::RollBackPrepareRemove, main);
  }
}

void RecordOutcome(const RunContext& run, std::uint32_t result) {
  RecordInstallerError(run.result, result);
  // The user cancelled, or the installer has already shown its own failure.
  if (result == kInstallerUserCancelled || result == kInstallerFatalError || result == kInstallerSuspended) {
    run.result.reported = true;
  }
}

}  // namespace

void RunInstallSequence(const RunContext& run, const InstallRequest& request) {
  const SetupPackage* main = run.packages.Main();
  if (!main) return;
  run.log.WriteLog(log_lines::kDeterminingPlatform);
  run.log.WriteLog(log_lines::kPlatformDetected, main->is64Bit ? L"64-bit" : L"32-bit");
  if (main->is64Bit && !run.is64BitSystem) {
    RecordOutcome(run, kInstallerPlatformUnsupported);
    return;
  }
  const bool multiPackage = run.packages.packages.size() >= 2;
  run.log.WriteLog(log_lines::kResettingInstallationType);
  if (multiPackage && run.commandLine.IsUninstall()) {
    RewriteUninstallEntries(run, UninstallEntryRewrite::PrepareRemove, *main);
  }
  run.log.WriteLog(log_lines::kStartingTheWork);
  DeleteCurrentInstallationType(*run.platform.registry);
  run.log.WriteLog(log_lines::kDeterminingSequence);
  const Sequence sequence = ChooseSequence(run, *main);
  PackageSequences sequences(run, request);
  const std::uint32_t result = Run(sequences, sequence);
  DeleteCurrentInstallationType(*run.platform.registry);
  if (multiPackage) RewriteAfter(run, *main, sequence, result);
  // A conflicting installation that could not be removed has left its own result.
  if (!sequences.FailureRecorded()) RecordOutcome(run, result);
}

}  // namespace setup
