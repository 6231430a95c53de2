// Writes a copy of a PE image whose resource section holds a new resource tree. The section is
// rewritten in place when it is the image's last section; otherwise a new ".rsrc" section is
// appended. Data after the last section (the symbol table) is moved behind the new section.
// SizeOfImage, the resource data directory and the checksum are updated. The image carries no
// certificate table (PeImage::DropCertificateTable): a signature would not match the new bytes.
#pragma once

#include <filesystem>

#include "pe_image.h"
#include "resource_tree.h"

namespace setup::pack {

void WritePeWithResources(const PeImage& image, const ResourceTree& resources, OutputFile& output);

}  // namespace setup::pack
