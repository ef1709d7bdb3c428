// The same file cases on both implementations: natively on the files in
// memory, under Wine on the real ones the build made (cmake/testfiles.cmake).
#pragma once

#include <string>

#include "files/files.h"

namespace brv {

Files& ConformanceFiles();
// The folder of tests/files/make-samples.sh's files, also the value of BRV_SAMPLES.
std::string SampleFolder();
// A file held open by another handle that shares it with no one.
std::string LockedFile();
// The bytes of a sample file as the build made it (in the native build).
std::string SampleBytes(const std::string& name);

}  // namespace brv
