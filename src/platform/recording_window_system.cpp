#include "platform/recording_window_system.h"

namespace tw::platform {

namespace {
std::string hex(WindowHandle h) {
  return std::to_string(h);
}
}  // namespace

std::vector<std::string> RecordingWindowSystem::callsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& c : calls) {
    if (c.rfind(prefix, 0) == 0) out.push_back(c);
  }
  return out;
}

WindowHandle RecordingWindowSystem::findWindow(const std::string& title) {
  calls.emplace_back("findWindow " + title);
  return existingWindow;
}

void RecordingWindowSystem::showWindowNormal(WindowHandle window) {
  calls.emplace_back("showWindowNormal " + hex(window));
}

void RecordingWindowSystem::setForegroundWindow(WindowHandle window) {
  calls.emplace_back("setForegroundWindow " + hex(window));
  if (!activationRefused && !goneWindows.contains(window)) foreground = window;
}

WindowHandle RecordingWindowSystem::foregroundWindow() {
  calls.emplace_back("foregroundWindow");
  return foreground;
}

std::string RecordingWindowSystem::windowTitle(WindowHandle window) {
  calls.emplace_back("windowTitle " + hex(window));
  if (goneWindows.contains(window)) return "";
  auto it = titles.find(window);
  return it == titles.end() ? "" : it->second;
}

PixelRect RecordingWindowSystem::windowRect(WindowHandle window) {
  calls.emplace_back("windowRect " + hex(window));
  auto it = rects.find(window);
  return it == rects.end() ? PixelRect{} : it->second;
}

void RecordingWindowSystem::setWindowTopmost(WindowHandle window, const PixelRect& r) {
  calls.emplace_back("setWindowTopmost " + hex(window) + " " + std::to_string(r.left) + "," +
                     std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                     std::to_string(r.bottom));
}

void RecordingWindowSystem::raiseTopmost(WindowHandle window) {
  calls.emplace_back("raiseTopmost " + hex(window));
}

bool RecordingWindowSystem::windowExists(WindowHandle window) {
  calls.emplace_back("windowExists " + hex(window));
  return window != 0 && !goneWindows.contains(window);
}

bool RecordingWindowSystem::windowHung(WindowHandle window) {
  calls.emplace_back("windowHung " + hex(window));
  return hungWindows.contains(window);
}

bool RecordingWindowSystem::foregroundIsThreadOf(WindowHandle window) {
  calls.emplace_back("foregroundIsThreadOf " + hex(window));
  return foreground == window;
}

bool RecordingWindowSystem::setClipboardText(const std::string& text) {
  calls.emplace_back("setClipboardText " + text);
  if (clipboardFailures > 0) {
    --clipboardFailures;
    return false;
  }
  clipboard = text;
  return true;
}

void RecordingWindowSystem::releaseHeldModifiers() {
  calls.emplace_back("releaseHeldModifiers");
}

SendResult RecordingWindowSystem::sendKeys(const std::string& keys, KeyWait wait,
                                           WindowHandle target) {
  calls.emplace_back("sendKeys " + keys + (wait == KeyWait::Yes ? " wait " : " nowait ") +
                     hex(target));
  return keysResult;
}

void RecordingWindowSystem::runPendingEvents() {
  if (!pendingEvents) return;
  auto run = std::move(pendingEvents);
  pendingEvents = nullptr;
  run();
}

void RecordingWindowSystem::doEvents() {
  calls.emplace_back("doEvents");
  runPendingEvents();
}

std::optional<std::string> RecordingWindowSystem::findExecutable(const std::string& file,
                                                                 const std::string& directory) {
  calls.emplace_back("findExecutable " + file + " " + directory);
  return executable;
}

void RecordingWindowSystem::startProgram(const std::string& commandLine) {
  calls.emplace_back("startProgram " + commandLine);
}

bool RecordingWindowSystem::onAnyMonitor(const PixelRect&) {
  return allOnMonitor;
}

bool RecordingWindowSystem::acquireInstanceLock(const std::string& name) {
  calls.emplace_back("acquireInstanceLock " + name);
  return !lockTaken;
}

void RecordingWindowSystem::sleep(int milliseconds) {
  calls.emplace_back("sleep " + std::to_string(milliseconds));
}

void RecordingWindowSystem::reportError(const std::string& message, WindowHandle) {
  calls.emplace_back("reportError " + message);
  errors.push_back(message);
}

bool RecordingWindowSystem::askRetry(const std::string& message, WindowHandle) {
  calls.emplace_back("askRetry " + message);
  runPendingEvents();  // a message box answers events while it is open
  if (retryAnswers.empty()) return false;
  const bool retry = retryAnswers.front();
  retryAnswers.pop_front();
  return retry;
}

}  // namespace tw::platform
