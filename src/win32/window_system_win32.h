// The window-system services on real Win32: windows, foreground, clipboard, synthesised keys,
// the event pump, the shell, monitors and the single-instance lock.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "platform/window_system.h"

namespace tw::win32 {

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct LibraryFreer {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

inline HWND ToHwnd(platform::WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline platform::WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<platform::WindowHandle>(window);
}

class Win32WindowSystem final : public platform::WindowSystem {
 public:
  Win32WindowSystem();
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  platform::WindowHandle findWindow(const std::string& title) override;
  void showWindowNormal(platform::WindowHandle window) override;
  void setForegroundWindow(platform::WindowHandle window) override;
  platform::WindowHandle foregroundWindow() override;
  bool isOwnProcessWindow(platform::WindowHandle window) override;
  std::string windowTitle(platform::WindowHandle window) override;
  platform::PixelRect windowRect(platform::WindowHandle window) override;
  void setWindowTopmost(platform::WindowHandle window, const platform::PixelRect& rect) override;
  void raiseTopmost(platform::WindowHandle window) override;

  bool windowExists(platform::WindowHandle window) override;
  bool windowHung(platform::WindowHandle window) override;
  bool foregroundIsThreadOf(platform::WindowHandle window) override;

  [[nodiscard]] bool setClipboardText(const std::string& text) override;
  void releaseHeldModifiers() override;
  [[nodiscard]] platform::SendResult sendKeys(const std::string& keys, platform::KeyWait wait,
                                              platform::WindowHandle target) override;
  void doEvents() override;

  std::optional<std::string> findExecutable(const std::string& file,
                                            const std::string& directory) override;
  void startProgram(const std::string& commandLine) override;

  bool onAnyMonitor(const platform::PixelRect& rect) override;
  std::string executablePath() override;
  bool acquireInstanceLock(const std::string& name) override;
  void sleep(int milliseconds) override;

  void reportError(const std::string& message, platform::WindowHandle owner) override;
  [[nodiscard]] bool askRetry(const std::string& message, platform::WindowHandle owner) override;

 private:
  // The hidden message-only window that owns the clipboard while we write it: with a null owner
  // two programs could open the clipboard at the same time.
  UniqueWindow clipboardOwner_;
  std::vector<UniqueHandle> instanceLocks_;
  UniqueLibrary shell32_;  // loaded at the first lookup of a browser
};

}  // namespace tw::win32
