#pragma once
// The image's UDF file system, where there is one, read with libcdio: SLKV_618.04 in its
// root must be at sector 362 with 3542016 bytes, and no other file, directory or file entry
// may lie inside those sectors. libcdio trusts what it reads, so this runs only in the child
// process of directory_reader.h, never in the program itself.

#include "image/directory_report.h"

namespace vorlan {

// `path` names the image (the child's /proc/self/fd/N of the open image).
DirectoryReport walkUdf(const char* path);

}  // namespace vorlan
