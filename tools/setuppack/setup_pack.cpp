#include "setup_pack.h"

#include "binary_file.h"
#include "pack_error.h"
#include "pe_image.h"
#include "pe_resource_writer.h"

namespace setup::pack {

void MergeResources(ResourceTree& tree, const SetupPlan& plan) {
  NameMap& packages = tree[ResourceId(kPackageResourceType)];
  for (const ResourceId& name : plan.removed) packages.erase(name);
  for (const PlannedResource& resource : plan.resources) packages[resource.name][resource.language] = resource.leaf;
  if (packages.empty()) tree.erase(ResourceId(kPackageResourceType));
}

PackReport PackSetup(const std::filesystem::path& template_path, const std::filesystem::path& description,
                     const std::filesystem::path& output) {
  PeImage image(ReadWholeFile(template_path), Utf8Path(template_path));
  PackReport report;
  report.certificate_table_dropped = image.DropCertificateTable();
  ResourceTree resources = image.Resources();
  MergeResources(resources, ReadSetupDescription(description));

  // Written under a temporary name and renamed when complete, so a failure leaves no setup behind.
  std::filesystem::path partial = output;
  partial += ".partial";
  try {
    OutputFile file(partial);
    WritePeWithResources(image, resources, file);
    file.Close();
    std::filesystem::rename(partial, output);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    throw;
  }
  return report;
}

}  // namespace setup::pack
