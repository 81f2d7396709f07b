// Typing on real Win32, its keys: the strokes of a Send typed on a thread of their own that waits
// for the target to take them, and the wait for keys that a target takes late; see
// services_win32.h.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

#include "services/key_groups.h"
#include "win32/services/services_win32.h"

namespace tw::win32 {

namespace {

using Clock = std::chrono::steady_clock;
using services::KeysSent;
using services::KeyStroke;

// How long the target may take to take one key.
constexpr std::chrono::milliseconds kKeysBound{1000};
// How long a Typist whose keys the target did not take in time goes on watching for them.
constexpr std::chrono::seconds kWatchBound{30};
constexpr DWORD kWatchPauseMs = 5;
// The first looks at a key only yield between them.
constexpr int kYieldingRounds = 20;

// Waits until the handle is signalled (taking the count of a semaphore), within the bound,
// answering the messages sent to this thread meanwhile: the target's paste asks the clipboard's
// owner, a window of this thread, for the text (under Wine even for data put on the clipboard at
// once), and would wait for it.
bool AwaitAnswering(HANDLE handle, DWORD boundMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const DWORD wait =
        boundMs == INFINITE ? INFINITE : static_cast<DWORD>(std::max<long long>(left.count(), 0));
    const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, wait, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

// Keys of a Send that stopped, or that the target did not take in time, may still be on their
// way to it.
bool Late(KeysSent sent) {
  return sent == KeysSent::TimedOut || sent == KeysSent::LostActivation;
}

bool KeyDown(std::uint8_t key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// The low bit of a key's state turns over at each press that the thread reads ("alternating each
// time the key is pressed"), also for a key without a light: unlike the down bit, it still shows
// a press and release that were read between two looks.
bool Toggled(std::uint8_t key) {
  return (GetKeyState(key) & 1) != 0;
}

// This thread shares the input state of the target's thread for as long as the object lives:
// its GetKeyState then shows the keys as far as the target has read them, for the system changes
// the key state as the thread removes key messages from its queue. Made before the first key is
// sent, since attaching resets the shared key state.
class InputAttachment {
 public:
  explicit InputAttachment(DWORD thread) : thread_(thread) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // attaching needs a message queue
    attached_ = thread != 0 && thread != GetCurrentThreadId() &&
                AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  }
  ~InputAttachment() {
    if (attached_) AttachThreadInput(GetCurrentThreadId(), thread_, FALSE);
  }
  InputAttachment(const InputAttachment&) = delete;
  InputAttachment& operator=(const InputAttachment&) = delete;
  bool Attached() const { return attached_; }

 private:
  DWORD thread_;
  bool attached_ = false;
};

// The window of the target's thread that answers a round trip: its focused one.
HWND Answerer(HWND target, DWORD thread) {
  const HWND focus = ThreadInput(thread).hwndFocus;
  return focus != nullptr ? focus : target;
}

// The last press sent, its key as it stood before: the target has read the press once the key
// reads down (the wait for its group) or its low bit has turned over (the watch, later), where
// the state can show it (attached, and the key not held already).
struct LastPress {
  std::uint8_t key = 0;
  bool shows = false;
  bool toggled = false;
};

}  // namespace

// The keys of one Send, typed on a thread of their own: attached to the target's input, a thread
// shares its key state and its input queue, and Typewell's own window thread must not (a click
// on Typewell meanwhile would be queued with the target's input). The window thread waits until
// the keys are taken or not in time. Keys that the target did not take in time are still on
// their way to it (a paste among them must find the clipboard's text unchanged), so the thread
// then stays attached and watches, for kWatchBound, until the target has read the last press or
// no key can reach a window of it any more.
class Typist final : services::KeyTypist {
 public:
  Typist(std::span<const KeyStroke> strokes, HWND target, DWORD thread)
      : strokes_(strokes.begin(), strokes.end()), target_(target), thread_(thread) {}
  // Asks a watching thread to stop, and waits for it.
  ~Typist() {
    stop_ = true;
    if (worker_) AwaitAnswering(worker_.get(), INFINITE);
  }
  Typist(const Typist&) = delete;
  Typist& operator=(const Typist&) = delete;

  // Types the keys; returns once the target has taken them, or did not in time.
  KeysSent Send() {
    // Raised once, when Send may return: a semaphore of one count.
    answered_.reset(CreateSemaphoreW(nullptr, 0, 1, nullptr));
    if (answered_) worker_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    if (!worker_) return KeysSent::Refused;
    AwaitAnswering(answered_.get(), INFINITE);
    return result_;
  }

  // Waits within the bound until nothing that a late Send sent to the target is pending any
  // more. Once the watch ended without it, the loss of the window or of the
  // activation still shows it.
  KeysSent AwaitTaken(DWORD boundMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
    AwaitAnswering(worker_.get(), boundMs);
    for (; !Done(); Pause(kWatchPauseMs)) {
      if (Clock::now() >= deadline) return KeysSent::TimedOut;
    }
    return KeysSent::Taken;
  }
  // Nothing sent to the target is pending any more: the keys were read or can reach no window.
  bool Done() const {
    return (WaitForSingleObject(worker_.get(), 0) == WAIT_OBJECT_0 && taken_) || Unreachable();
  }
  DWORD Thread() const { return thread_; }

 private:
  bool TargetActive() override { return ForegroundIsThread(thread_); }

  bool SendGroup(std::span<const KeyStroke> group) override {
    if (!group.empty() && !group.back().up) {
      const std::uint8_t key = group.back().virtualKey;
      press_ = {key, attached_ && !KeyDown(key), Toggled(key)};
    }
    return SendStrokes(group);
  }

  // Once the shared key state shows the press read, a round trip shows it handled. Where the
  // state cannot show it, the round trip alone stands in. A Shift is so still held while the key
  // it modifies is handled, also for programs that ask for the state of Shift with
  // GetAsyncKeyState.
  bool AwaitGroupTaken(bool handled) override {
    const auto deadline = Clock::now() + kKeysBound;
    for (int round = 0; press_.shows && !KeyDown(press_.key) && Clock::now() < deadline; ++round) {
      Pause(round < kYieldingRounds ? 0 : 1);
    }
    if (press_.shows && !KeyDown(press_.key)) return false;
    return (press_.shows && !handled) || RoundTrip(Answerer(target_, thread_), deadline);
  }

  // Whether, before the bound or a stop, the target read the last press (or a round trip came
  // back where the key state cannot show it), or no key of the Send can reach a window of it any
  // more: its window went, or it took the loss of the activation (the user clicked Typewell
  // meanwhile). Another program that attaches to the target meanwhile resets the key state, and a
  // low bit that was set then reads as turned over. Under Wine the low bit can read unturned
  // after the target took the keys (the key state of an input with no key left queued is set to
  // the system's), and the loss of the activation ends the watch.
  bool Watch(const LastPress& press) {
    const auto deadline = Clock::now() + kWatchBound;
    while (!stop_ && Clock::now() < deadline) {
      if (Unreachable()) return true;
      if (press.shows ? Toggled(press.key) != press.toggled
                      : RoundTrip(Answerer(target_, thread_), Clock::now() + kKeysBound)) {
        return true;
      }
      Pause(kWatchPauseMs);
    }
    return false;
  }

  // No key can reach a window of the target any more: it is gone, or its thread has taken the
  // loss of the activation (keys go to the thread's focused window, else its active one; a key
  // it reads from now on reaches neither, and under Wine it drops them).
  bool Unreachable() const {
    return !IsWindow(target_) || ThreadInput(thread_).hwndActive == nullptr;
  }

  static DWORD WINAPI Run(void* context) {
    auto& typist = *static_cast<Typist*>(context);
    const InputAttachment attachment(typist.thread_);
    typist.attached_ = attachment.Attached();
    typist.result_ = services::TypeInGroups(typist.strokes_, typist);
    const bool late = Late(typist.result_);
    typist.taken_ = typist.result_ == KeysSent::Taken;
    ReleaseSemaphore(typist.answered_.get(), 1, nullptr);  // result_ stays as it is from here
    if (late) typist.taken_ = typist.Watch(typist.press_);
    return 0;
  }

  const std::vector<KeyStroke> strokes_;
  const HWND target_;
  const DWORD thread_;
  bool attached_ = false;
  LastPress press_;
  KeysSent result_ = KeysSent::Taken;
  std::atomic<bool> taken_{false};
  std::atomic<bool> stop_{false};
  ScopedHandle answered_;
  ScopedHandle worker_;
};

Win32Typing::Win32Typing() : clipboardOwner_(CreateClipboardOwner()) {}

Win32Typing::~Win32Typing() = default;

// A Typist is kept until nothing it sent is pending any more, or until a newer Send to its
// thread: those keys follow its own into the same queue, and attaching to the thread resets the
// key state that it watches.
void Win32Typing::DropTypists(DWORD replacedThread) {
  std::erase_if(typists_, [&](const auto& typist) {
    return typist->Done() || typist->Thread() == replacedThread;
  });
}

KeysSent Win32Typing::Send(std::span<const KeyStroke> strokes, services::WindowHandle target) {
  const HWND window = ToHwnd(target);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (thread == 0) return KeysSent::Refused;
  DropTypists(thread);
  auto typist = std::make_unique<Typist>(strokes, window, thread);
  const KeysSent sent = typist->Send();
  if (Late(sent)) typists_.push_back(std::move(typist));
  return sent;
}

KeysSent Win32Typing::AwaitTaken(services::WindowHandle target) {
  DropTypists(0);
  const DWORD thread = GetWindowThreadProcessId(ToHwnd(target), nullptr);
  const auto found = std::find_if(typists_.begin(), typists_.end(),
                                  [&](const auto& typist) { return typist->Thread() == thread; });
  if (thread == 0 || found == typists_.end()) return KeysSent::Taken;
  return (*found)->AwaitTaken(static_cast<DWORD>(kKeysBound.count()));
}

}  // namespace tw::win32
