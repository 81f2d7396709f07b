// Fuzzes loading Typewell.ini: arbitrary file bytes of any length, screens and window sizes, and
// monitor layouts. An input is the file's bytes followed by a trailer that the fuzzer also
// mutates (read from the end): a flags byte, the screen and window sizes and a second monitor.
// Checks what a load guarantees: colour 0 to 3 and font 0 or 1, Reserved carried, the start
// counted up to 20, what reached the file, and with a realistic screen a position that is not
// 0/0, not beyond the screen less 1000 twips and on a monitor.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "store/settings_file.h"
#include "test_support.h"

namespace {

using tw::store::SettingsRecord;

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "settings_file_fuzz: violated: %s\n", what);
  std::abort();
}

// Six little-endian 16-bit fields from the bytes there are, missing bytes as zero (the
// decoding itself is checked byte for byte by the unit tests).
SettingsRecord FieldsOf(const std::string& bytes) {
  return tw::store::DecodeSettings(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
}

struct Rect {
  double left, top, width, height;
  bool overlaps(const Rect& o) const {
    return left < o.left + o.width && o.left < left + width && top < o.top + o.height &&
           o.top < top + height;
  }
};

struct Scenario {
  bool realistic = true;  // a screen and window of sizes a real system has
  int monitors = 0;       // 0: no monitor check, 1: the primary screen, 2: and a second one
  tw::store::WindowGeometry geometry;
  Rect second{};
  std::string file;
};

Scenario ScenarioOf(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Scenario s;
  const auto flags = in.ConsumeIntegral<std::uint8_t>();
  s.realistic = (flags & 1) == 0;
  s.monitors = (flags >> 1) % 3;
  auto& g = s.geometry;
  if (s.realistic) {
    const int width = in.ConsumeIntegralInRange(3000, 65000);
    const int height = in.ConsumeIntegralInRange(3000, 65000);
    g.screenWidth = width;
    g.screenHeight = height;
    g.windowWidth = in.ConsumeIntegralInRange(1000, width - 1000);
    g.windowHeight = in.ConsumeIntegralInRange(1000, height - 1000);
  } else {
    g.screenWidth = in.ConsumeIntegral<std::int32_t>();
    g.screenHeight = in.ConsumeIntegral<std::int32_t>();
    g.windowWidth = in.ConsumeIntegral<std::int32_t>();
    g.windowHeight = in.ConsumeIntegral<std::int32_t>();
  }
  s.second = {static_cast<double>(in.ConsumeIntegral<std::int16_t>()),
              static_cast<double>(in.ConsumeIntegral<std::int16_t>()),
              static_cast<double>(in.ConsumeIntegral<std::uint16_t>()),
              static_cast<double>(in.ConsumeIntegral<std::uint16_t>())};
  s.file = in.ConsumeRemainingBytesAsString();
  return s;
}

bool OnSomeMonitor(const Scenario& s, const SettingsRecord& r) {
  const Rect window{static_cast<double>(r.WindowLeft), static_cast<double>(r.WindowTop),
                    s.geometry.windowWidth, s.geometry.windowHeight};
  const Rect primary{0, 0, s.geometry.screenWidth, s.geometry.screenHeight};
  return window.overlaps(primary) || (s.monitors == 2 && window.overlaps(s.second));
}

void CheckFile(const Scenario& s, const SettingsRecord& loaded, const std::string& after) {
  const SettingsRecord stored = FieldsOf(s.file);
  if (s.file.empty()) {
    Require(loaded.StartCount == 1 && loaded.Reserved == 0 && loaded.ColorChoice == 0 &&
                loaded.FontChoice == 0,
            "a new record: first start, white, normal");
    if (s.realistic) Require(after.empty(), "loading a new record writes nothing");
    if (after.empty()) return;
  } else {
    Require(loaded.Reserved == stored.Reserved, "Reserved is carried");
    const bool colourValid = stored.ColorChoice >= 0 && stored.ColorChoice <= 3;
    Require(loaded.ColorChoice == (colourValid ? stored.ColorChoice : 1),
            "a colour out of range becomes green, any other is kept");
    const bool fontValid = stored.FontChoice == 0 || stored.FontChoice == 1;
    Require(loaded.FontChoice == (fontValid ? stored.FontChoice : 0),
            "a font out of range becomes normal, any other is kept");
    Require(
        loaded.StartCount == (stored.StartCount < 20 ? stored.StartCount + 1 : stored.StartCount),
        "the start is counted up to 20");
  }
  if (after == s.file) {
    SettingsRecord expected = stored;
    expected.ColorChoice = loaded.ColorChoice;
    Require(loaded == expected, "every other change of the record reaches the file");
    return;
  }
  Require(after.size() == std::max<std::size_t>(s.file.size(), 12), "a save writes 12 bytes");
  Require(after.compare(12, std::string::npos, s.file.size() > 12 ? s.file.substr(12) : "") == 0,
          "bytes after the record are left in place");
  SettingsRecord written = FieldsOf(after);
  // The colour is corrected in memory only; a later save of another field carries it along.
  Require(written.ColorChoice == loaded.ColorChoice || written.ColorChoice == stored.ColorChoice,
          "the file holds the stored or the corrected colour");
  written.ColorChoice = loaded.ColorChoice;
  Require(written == loaded, "the file holds the loaded record");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tw::test::TempFolder folder;  // one program folder for the whole run
  const Scenario s = ScenarioOf(data, size);
  const std::string path = folder.file(tw::store::kSettingsFileName);
  tw::test::WriteFile(path, s.file);

  SettingsRecord loaded;
  tw::store::PositionCheck check;
  if (s.monitors != 0) check = [&s](const SettingsRecord& r) { return OnSomeMonitor(s, r); };
  const auto state = tw::store::LoadSettings(folder.withSeparator(), loaded, s.geometry, check);

  Require((state == tw::store::SettingsFileState::Empty) == s.file.empty(),
          "the state tells an empty file");
  Require(loaded.ColorChoice >= 0 && loaded.ColorChoice <= 3, "ColorChoice is 0 to 3");
  Require(loaded.FontChoice == 0 || loaded.FontChoice == 1, "FontChoice is 0 or 1");
  CheckFile(s, loaded, tw::test::ReadFile(path));
  if (s.realistic) {
    Require(loaded.WindowTop != 0 || loaded.WindowLeft != 0, "the position is not 0/0");
    Require(loaded.WindowTop <= s.geometry.screenHeight - 1000 &&
                loaded.WindowLeft <= s.geometry.screenWidth - 1000,
            "the position is not beyond the screen less 1000 twips");
    if (s.monitors != 0) Require(OnSomeMonitor(s, loaded), "the window lies on a monitor");
  }
  return 0;
}
