// The Windows backend: the keyboard's kernel-mode driver, opened as "\\.\zr4700" and driven with
// synchronous DeviceIoControl requests.
#ifdef _WIN32

#include "engine/Device.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace zr4700 {

namespace {

class Win32Handle final : public DeviceHandle {
  public:
    explicit Win32Handle(HANDLE handle) : handle_(handle) {}
    ~Win32Handle() override { CloseHandle(handle_); }
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;

    bool Control(std::uint32_t request, const std::uint8_t* in, std::uint32_t inSize,
                 std::uint8_t* out, std::uint32_t outSize, std::uint32_t& returned) override {
        DWORD bytesReturned = 0;
        BOOL ok = DeviceIoControl(handle_, request, const_cast<std::uint8_t*>(in), inSize, out,
                                  outSize, &bytesReturned, nullptr);
        returned = bytesReturned;
        return ok != FALSE;
    }

  private:
    HANDLE handle_;
};

} // namespace

std::unique_ptr<DeviceHandle> OpenWin32Device(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<Win32Handle>(handle);
}

} // namespace zr4700

#endif
