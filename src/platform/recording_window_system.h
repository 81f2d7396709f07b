// A WindowSystem for tests: records every call in order as one line of text, answers from the
// values a test sets, and can be told to fail.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace tw::platform {

class RecordingWindowSystem : public WindowSystem {
 public:
  WindowHandle findWindow(const std::string& title) override;
  void showWindowNormal(WindowHandle window) override;
  void setForegroundWindow(WindowHandle window) override;
  WindowHandle foregroundWindow() override;
  bool isOwnProcessWindow(WindowHandle window) override { return ownWindows.contains(window); }
  std::string windowTitle(WindowHandle window) override;
  PixelRect windowRect(WindowHandle window) override;
  void setWindowTopmost(WindowHandle window, const PixelRect& rect) override;
  void raiseTopmost(WindowHandle window) override;
  bool windowExists(WindowHandle window) override;
  bool windowHung(WindowHandle window) override;
  bool foregroundIsThreadOf(WindowHandle window) override;
  bool setClipboardText(const std::string& text) override;
  void releaseHeldModifiers() override;
  SendResult sendKeys(const std::string& keys, KeyWait wait, WindowHandle target) override;
  void doEvents() override;
  std::optional<std::string> findExecutable(const std::string& file,
                                            const std::string& directory) override;
  void startProgram(const std::string& commandLine) override;
  bool onAnyMonitor(const PixelRect& rect) override;
  std::string executablePath() override { return exePath; }
  bool acquireInstanceLock(const std::string& name) override;
  void sleep(int milliseconds) override;
  void reportError(const std::string& message, WindowHandle owner) override;
  bool askRetry(const std::string& message, WindowHandle owner) override;

  // The calls so far, e.g. "setClipboardText abc", "sendKeys {HOME} wait", "doEvents".
  std::vector<std::string> calls;
  // Only the calls that begin with prefix.
  std::vector<std::string> callsStartingWith(const std::string& prefix) const;

  // --- answers ---------------------------------------------------------------------------------
  WindowHandle foreground = 0;
  WindowHandle existingWindow = 0;             // what findWindow returns
  std::map<WindowHandle, std::string> titles;  // windowTitle; absent: ""
  std::map<WindowHandle, PixelRect> rects;
  std::set<WindowHandle> goneWindows;  // windowExists is false for these
  std::set<WindowHandle> hungWindows;
  std::set<WindowHandle> ownWindows;  // windows of this process that are not forms (a message box)
  bool activationRefused = false;     // setForegroundWindow leaves the foreground unchanged
  int clipboardFailures = 0;          // the next n setClipboardText calls fail
  SendResult keysResult = SendResult::Delivered;
  std::optional<std::string> executable;  // what findExecutable returns
  std::string exePath = "C:\\Typewell\\Typewell.exe";
  bool lockTaken = false;  // acquireInstanceLock fails
  bool allOnMonitor = true;
  std::string clipboard;
  std::vector<std::string> errors;  // reported messages
  std::deque<bool> retryAnswers;    // askRetry's answers in turn (true: Retry); then Cancel
  // Runs inside doEvents, and while a question is open: what a pending event would do (a timer
  // tick, a second click, another program letting a file go).
  std::function<void()> pendingEvents;

 private:
  void runPendingEvents();
};

}  // namespace tw::platform
