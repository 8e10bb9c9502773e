// A DeviceDriver over the C exports of a loaded driver module.
#include "outside/devicemanager/ModuleDriver.h"

#include <filesystem>
#include <string>

#include "outside/devicemanager/DriverInterface.h"
#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/Module.h"
#include "platform/Text.h"

namespace devicemanager {
namespace {

class ModuleDriver final : public DeviceDriver {
 public:
  ModuleDriver(platform::Module module, DriverInitFunction init, DriverDeinitFunction deinit,
               DriverOpenFunction open, DriverCloseFunction close,
               DriverIoControlFunction ioControl)
      : module_(std::move(module)),
        init_(init),
        deinit_(deinit),
        open_(open),
        close_(close),
        ioControl_(ioControl) {}

  uint32_t Init(std::span<const uint8_t> info, uint32_t handle) override {
    uint32_t error = 0;
    context_ = init_(info.data(), static_cast<uint32_t>(info.size()), handle, &error);
    if (context_ != 0) return 0;
    // A driver that fails without saying why still failed.
    return error != 0 ? error : platform::ERROR_GEN_FAILURE;
  }

  void Deinit() override {
    if (context_ != 0) deinit_(context_);
    context_ = 0;
  }

  uint32_t Open(uint32_t access, uint32_t share, uintptr_t& open) override {
    uint32_t error = 0;
    open = open_(context_, access, share, &error);
    if (open != 0) return 0;
    return error != 0 ? error : platform::ERROR_GEN_FAILURE;
  }

  void Close(uintptr_t open) override { close_(open); }

  uint32_t IoControl(uintptr_t open, uint32_t code, std::span<uint8_t> input,
                     std::span<uint8_t> output, uint32_t& returned) override {
    returned = 0;
    const uint32_t rc = ioControl_(
        open, code, input.empty() ? nullptr : input.data(), static_cast<uint32_t>(input.size()),
        output.empty() ? nullptr : output.data(), static_cast<uint32_t>(output.size()), &returned);
    if (returned > output.size()) returned = static_cast<uint32_t>(output.size());
    return rc;
  }

  const std::string& file() const override { return module_.path(); }

 private:
  platform::Module module_;
  DriverInitFunction init_;
  DriverDeinitFunction deinit_;
  DriverOpenFunction open_;
  DriverCloseFunction close_;
  DriverIoControlFunction ioControl_;
  uintptr_t context_ = 0;
};

template <typename Fn>
Fn Export(const platform::Module& m, const std::string& prefix, const char* suffix) {
  return m.Function<Fn>((prefix + suffix).c_str());
}

}  // namespace

uint32_t LoadModuleDriver(std::u16string_view dllName, std::u16string_view prefix,
                          std::unique_ptr<DeviceDriver>& out) {
  out.reset();
  if (dllName.empty() || dllName.find_first_of(u"\\/") != std::u16string_view::npos)
    return platform::ERROR_INVALID_PARAMETER;
  const std::string file = platform::ModuleFileName(platform::Utf16ToUtf8(dllName));
  const platform::FilePath path = platform::ResolveDevicePath("\\Windows\\" + file);
  std::error_code ec;
  if (!path.ok() || !std::filesystem::is_regular_file(path.host, ec))
    return platform::ERROR_FILE_NOT_FOUND;
  platform::Module module;
  if (const uint32_t rc = module.Load(path.host)) return rc;
  const std::string p = platform::Utf16ToUtf8(prefix);
  auto init = Export<DriverInitFunction>(module, p, kInitExport);
  auto deinit = Export<DriverDeinitFunction>(module, p, kDeinitExport);
  auto open = Export<DriverOpenFunction>(module, p, kOpenExport);
  auto close = Export<DriverCloseFunction>(module, p, kCloseExport);
  auto ioControl = Export<DriverIoControlFunction>(module, p, kIoControlExport);
  if (!init || !deinit || !open || !close || !ioControl) return platform::ERROR_PROC_NOT_FOUND;
  out = std::make_unique<ModuleDriver>(std::move(module), init, deinit, open, close, ioControl);
  return 0;
}

}  // namespace devicemanager
