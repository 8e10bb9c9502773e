// Fuzz target: any file content read as a container header gives a consistent verdict and record.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "folders/container/Container.h"
#include "folders/container/ContainerHeader.h"

namespace {

// FuzzDevice: the temporary handheld root, removed when the fuzzer exits.
struct FuzzDevice {
  std::string root;
  FuzzDevice() {
    char pattern[] = "/tmp/qm_container_fuzz_XXXXXX";
    if (::mkdtemp(pattern) == nullptr) std::abort();
    root = pattern;
    std::filesystem::create_directories(root + "/device");
    ::setenv("QM_HOME", root.c_str(), 1);
    ::setenv("QM_DEVICE_ROOT", (root + "/device").c_str(), 1);
    ::setenv("QM_DEVICE_MOUNTS", (root + "/none.conf").c_str(), 1);
  }
  ~FuzzDevice() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

const std::string& ContainerFile() {
  static const FuzzDevice device;
  static const std::string file = device.root + "/device/fuzz.zsf";
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(ContainerFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  folders::VolumeRecord record{};
  record.sizeKb = 0xDEADBEEF;
  record.algorithm = 0xBEEF;
  const int valid = folders::ReadContainerHeader(record, u"\\fuzz.zsf");
  if (valid == 1) {
    // A container's size is its file's size, and its cipher number is at most 50.
    if (size < folders::kHeaderSize || record.sizeKb != size / 1024 ||
        record.algorithm > folders::kLargestAlgorithm)
      std::abort();
  } else if (valid != 0 || record.sizeKb != 0 || record.algorithm != 0) {
    std::abort();
  }
  return 0;
}
