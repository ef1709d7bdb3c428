// The same file cases on both implementations: natively on the files in
// memory, under Wine on the real ones the build made (cmake/testfiles.cmake).
#pragma once

#include <string>

#include "files/files.h"

namespace brv {

Files& ConformanceFiles();
// The folder of the sample files (sample.dll, signed.dll, tampered.dll,
// badblob.dll, truncated.dll, garbage.dll, folder.dll), also the value of
// the environment variable BRV_SAMPLES.
std::string SampleFolder();
// A file held open by another handle that shares it with no one.
std::string LockedFile();

}  // namespace brv
