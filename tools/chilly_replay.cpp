// chilly-replay: turns a recorded "EASEL.SCR" back into pictures without a desktop. It runs the
// real game on the headless host in virtual time: a key at the title, then the script played by
// the package's own playback (Ctrl+P, with the script copied as "EASEL.SCR" into a private
// working directory), and a PNG of the graphics window after every N-th event and after the
// last. The same script always gives the same files, byte for byte.
//
// Usage: chilly-replay SCRIPT --out DIR [--every N]
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/main.h"
#include "easel/internal.h"
#include "platform/headless.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* USAGE = "usage: chilly-replay SCRIPT --out DIR [--every N]";
constexpr const char* GRAPHICS = "EASEL Graphics";
constexpr int BAD_INPUT = 2;

// Virtual times: the title's key, Ctrl+P, and the close once the script has played (scripted
// events do not wait for the clock, so the whole script plays at the moment of Ctrl+P).
constexpr uint64_t TITLE_KEY_AT = 10;
constexpr uint64_t PLAYBACK_AT = 20;
constexpr uint64_t CLOSE_AT = 30;
constexpr uint64_t TIME_LIMIT = 60000;

struct Options {
  std::string script;
  std::string out;
  int every = 1;
};

// What the present observer does: count the frames of the script, write every N-th one and
// keep the latest so the frame after the last event can be written at the end.
struct Replay {
  fs::path out;
  int every = 1;
  bool finishing = false;  // showing frames the game drew but no wait brought to the screen
  int frames = 0;
  int written = 0;
  std::vector<uint32_t> latest;
  int width = 0;
  int height = 0;
  bool latest_written = false;
  std::string failed;  // the first file that could not be written
};

Replay replay;

bool parse_count(const char* text, int* value) {
  const char* end = text + std::strlen(text);
  auto [rest, error] = std::from_chars(text, end, *value);
  return error == std::errc() && rest == end && *text != '\0' && *value >= 1;
}

bool parse_arguments(int argc, char** argv, Options* options) {
  bool have_out = false, have_every = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc && !have_out) {
      options->out = argv[++i];
      have_out = !options->out.empty();
      if (!have_out) return false;
    } else if (arg == "--every" && i + 1 < argc && !have_every) {
      if (!parse_count(argv[++i], &options->every)) return false;
      have_every = true;
    } else if (!arg.empty() && arg[0] != '-' && options->script.empty()) {
      options->script = arg;
    } else {
      return false;
    }
  }
  return have_out && !options->script.empty();
}

// The whole file, or false with the reason in `error`.
bool read_file(const std::string& path, std::string* content, std::string* error) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) content->append(buffer, count);
  const bool failed = std::ferror(file) != 0;
  if (failed) *error = std::strerror(errno);
  std::fclose(file);
  return !failed;
}

bool write_file(const fs::path& path, const std::string& content) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && ok;
}

fs::path frame_path(int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06d.png", frame);
  return replay.out / name;
}

void write_frame(int frame, const std::vector<uint32_t>& pixels, int width, int height) {
  const fs::path path = frame_path(frame);
  if (headless_write_png(path.string(), pixels, width, height)) {
    ++replay.written;
  } else if (replay.failed.empty()) {
    replay.failed = path.string();
  }
}

// While the script plays, every wait takes its event in one pass, and every pass first shows
// what the pass before copied to the window: so from the start of the script on, the graphics
// window's presents are the pictures after its events, one each, in order. The one after the
// last event is shown by the wait that finds the end of the script. The script file is open
// from the first event on and stays open at its end, which marks these presents.
void on_present(const char* title) {
  if (std::strcmp(title, GRAPHICS) != 0) return;
  if (package.script_file == nullptr && !replay.finishing) return;
  ++replay.frames;
  if (!headless_window_pixels(GRAPHICS, &replay.latest, &replay.width, &replay.height)) return;
  replay.latest_written = replay.frames % replay.every == 0;
  if (replay.latest_written) write_frame(replay.frames, replay.latest, replay.width, replay.height);
}

// A game that ended inside the script (a key on the melted screen) drew its last two frames
// without another wait to show them: the one copied to the window and the one still in the
// off-screen image. They are shown here the way the pump would have.
void show_unshown_frames() {
  replay.finishing = true;
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  HDC screen = GetDC(package.graphics_window);
  BitBlt(screen, 0, 0, IMAGE_WIDTH, IMAGE_HEIGHT, package.offscreen_dc, 0, 0, SRCCOPY);
  ReleaseDC(package.graphics_window, screen);
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  replay.finishing = false;
}

void play(const Options& options) {
  headless_reset();  // the game runs on the headless host
  headless_set_time_limit(TIME_LIMIT);
  headless_set_present_observer(on_present);
  headless_type(TITLE_KEY_AT, GRAPHICS, ' ');
  headless_ctrl_key(PLAYBACK_AT, GRAPHICS, 'P');
  headless_close_request(CLOSE_AT, GRAPHICS);
  replay.every = options.every;
  WinMain(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
  if (package.playing) show_unshown_frames();
  headless_set_present_observer(nullptr);
  if (replay.frames > 0 && !replay.latest_written)
    write_frame(replay.frames, replay.latest, replay.width, replay.height);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::puts(USAGE);
    return 0;
  }
  if (!parse_arguments(argc, argv, &options)) {
    std::fprintf(stderr, "%s\n", USAGE);
    return BAD_INPUT;
  }

  std::string script, error;
  if (!read_file(options.script, &script, &error)) {
    std::fprintf(stderr, "chilly-replay: cannot read script %s: %s\n", options.script.c_str(),
                 error.c_str());
    return BAD_INPUT;
  }
  std::error_code failure;
  replay.out = fs::absolute(options.out, failure);
  if (!failure) fs::create_directories(replay.out, failure);
  if (failure || !fs::is_directory(replay.out)) {
    std::fprintf(stderr, "chilly-replay: cannot make output directory %s: %s\n",
                 options.out.c_str(), failure ? failure.message().c_str() : "not a directory");
    return BAD_INPUT;
  }

  // A private working directory, so that the package's "EASEL.SCR" is this script and no
  // other file is touched.
  std::string work = (fs::temp_directory_path(failure) / "chilly-replay-XXXXXX").string();
  const fs::path home = fs::current_path(failure);
  const bool made = mkdtemp(work.data()) != nullptr;
  bool ready = made && write_file(fs::path(work) / "EASEL.SCR", script);
  if (ready) {
    fs::current_path(work, failure);
    ready = !failure;
  }
  if (!ready) {
    std::fprintf(stderr, "chilly-replay: cannot prepare a working directory %s: %s\n", work.c_str(),
                 failure ? failure.message().c_str() : std::strerror(errno));
    if (made) fs::remove_all(work, failure);
    return 1;
  }

  play(options);

  fs::current_path(home, failure);
  fs::remove_all(work, failure);
  std::printf("%d events played, %d frames written\n", replay.frames, replay.written);
  if (!replay.failed.empty()) {
    std::fprintf(stderr, "chilly-replay: cannot write %s\n", replay.failed.c_str());
    return 1;
  }
  return 0;
}
