// The script file "EASEL.SCR": writing the events that the wait returns, one line each with runs
// of periodic events as one line and every line flushed as it is written; reading them back in
// place of the user's input; and the Run menu's record, playback and play-one commands.
//
// One file handle and one counter serve both directions, so only one direction is ever active:
// starting one ends the other first. While recording, an open file is always one opened for
// writing; otherwise it is always one opened for reading.
#include <string_view>

#include "internal.h"

namespace {

const char SCRIPT_NAME[] = "EASEL.SCR";
constexpr size_t SCRIPT_LINE_SIZE = 512;  // 511 characters and the terminating zero
constexpr size_t MAX_NUMBER_LENGTH = 11;  // a sign and ten digits

struct ScriptLine {
  char text[SCRIPT_LINE_SIZE];
  size_t length;
};

// Reads one line, its newline kept, like fgets in text mode into a 512-byte buffer: a longer
// line comes in pieces of 511 characters, each of them a line, so that a file without end (a
// device that reads as endless zero bytes) still yields a line at a time. CR LF, the line end of
// scripts made on Windows, reads as one newline. The length is counted so that stray zero bytes
// cannot hide the end of what was read.
void read_line(FILE* file, ScriptLine* line) {
  line->length = 0;
  int c = 0;
  while (line->length < SCRIPT_LINE_SIZE - 1 && (c = std::getc(file)) != EOF) {
    if (c == '\r') {
      const int next = std::getc(file);
      if (next == '\n') {
        c = next;
      } else if (next != EOF) {
        std::ungetc(next, file);
      }
    }
    line->text[line->length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  line->text[line->length] = '\0';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Finds the next number at or after *position: skips to the first digit (or minus sign, when
// signed), takes the run of such characters and reads its value as a decimal integer with an
// optional leading minus, as far as it goes: a run without a digit after that sign ("-", "--5")
// is 0. False when no run is found, or the number is longer than eleven characters or beyond
// 32 bits. *position ends after the run.
bool read_number(std::string_view line, size_t* position, bool is_signed, int32_t* value) {
  auto fits = [is_signed](char c) { return is_digit(c) || (is_signed && c == '-'); };
  size_t start = *position;
  while (start < line.size() && !fits(line[start])) ++start;
  if (start == line.size()) return false;
  size_t end = start;
  while (end < line.size() && fits(line[end])) ++end;
  *position = end;

  size_t digit = start;
  const bool negative = line[digit] == '-';
  if (negative) ++digit;
  int64_t number = 0;
  while (digit < end && is_digit(line[digit])) {
    if (digit - start + 1 > MAX_NUMBER_LENGTH) return false;
    number = number * 10 + (line[digit] - '0');
    ++digit;
  }
  if (negative) number = -number;
  if (number < INT32_MIN || number > INT32_MAX) return false;
  *value = static_cast<int32_t>(number);
  return true;
}

// Sets the pending event from one line. A line of no known form (another kind letter, a line
// too short, a missing or unreadable number) sets nothing and returns 0.
int play_line(const ScriptLine& line) {
  constexpr size_t KIND_POSITION = 6;  // the first character after "EASEL_"
  if (line.length <= KIND_POSITION) return 0;
  const std::string_view text(line.text, line.length);
  size_t position = KIND_POSITION;
  switch (text[KIND_POSITION]) {
    case 'M': {
      int32_t x = 0;
      int32_t y = 0;
      if (!read_number(text, &position, true, &x) || !read_number(text, &position, true, &y)) {
        return 0;
      }
      package.event_kind = EASEL_MOUSE;
      package.event_x = x;
      package.event_y = y;
      return 1;
    }
    case 'K': {
      int32_t key = 0;
      if (!read_number(text, &position, true, &key)) return 0;
      package.event_kind = EASEL_KBD;
      package.event_key = static_cast<char>(static_cast<uint8_t>(key & 0xFF));
      return 1;
    }
    case 'P': {
      int32_t count = 0;
      if (!read_number(text, &position, false, &count)) return 0;
      package.event_kind = EASEL_PERIODIC;
      package.periodic_count = count - 1;  // this call delivers the first of the run
      return 1;
    }
    default:
      return 0;
  }
}

// Writes one line and flushes it at once: a recording that is killed loses at most the pending
// run of periodic events, never a line already returned to the program. A lost line is said
// in the log rather than passed over.
void write_line(const char* line) {
  const bool written =
      std::fputs(line, package.script_file) >= 0 && std::fflush(package.script_file) == 0;
  if (!written && !package.script_write_failing) {
    EASEL_printf("Cannot write script file %s\n", SCRIPT_NAME);
  }
  package.script_write_failing = written ? 0 : 1;
}

void set_check(UINT id, bool checked) {
  CheckMenuItem(package.run_menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void script_write_event(int kind, int x, int y, int key) {
  if (package.script_file == nullptr) {
    // Binary on every system: a script holds the same bytes (LF line ends) wherever it was
    // recorded, and the reader takes CR LF as well.
    package.script_file = std::fopen(SCRIPT_NAME, "wb");
    if (package.script_file == nullptr) {
      EASEL_printf("Cannot open script file %s for writing\n", SCRIPT_NAME);
      return;
    }
    package.script_write_failing = 0;
  }
  char line[SCRIPT_LINE_SIZE];
  switch (kind) {
    case EASEL_MOUSE:
      std::snprintf(line, sizeof line, "EASEL_MOUSE(%d, %d);\n", x, y);
      break;
    case EASEL_KBD:
      std::snprintf(line, sizeof line, "EASEL_KBD(%d);\n",
                    static_cast<int>(static_cast<int8_t>(static_cast<uint8_t>(key & 0xFF))));
      break;
    case EASEL_PERIODIC:
      std::snprintf(line, sizeof line, "EASEL_PERIODIC(%d);\n", package.periodic_count);
      break;
    default:
      return;
  }
  write_line(line);
}

int script_read_event() {
  if (package.script_file == nullptr) {
    // Binary, so that Windows neither ends the file at a Ctrl+Z byte nor turns its line ends.
    package.script_file = std::fopen(SCRIPT_NAME, "rb");
    if (package.script_file == nullptr) {
      EASEL_printf("Cannot open script file %s for reading\n", SCRIPT_NAME);
      script_end_playback();
      return 0;
    }
  }
  if (package.periodic_count > 0) {
    package.periodic_count -= 1;
    package.event_kind = EASEL_PERIODIC;
    return 1;
  }
  ScriptLine line;
  do {
    read_line(package.script_file, &line);
    // Tested after the read, so a final line without its newline is not played. A read error
    // ends the script the same way, rather than being taken for an endless run of empty lines.
    if (std::feof(package.script_file) || std::ferror(package.script_file)) {
      EASEL_printf("EOF encountered in script file %s\n", SCRIPT_NAME);
      script_end_playback();
      return 0;
    }
  } while (line.text[0] == '\n');
  return play_line(line);
}

void script_end_playback() {
  package.playing = 0;
  package.play_one = 0;
  set_check(IDM_PLAYBACK, false);
}

void script_close() {
  if (package.script_file == nullptr) return;
  std::fclose(package.script_file);
  package.script_file = nullptr;
}

void script_start_recording() {
  if (package.playing || package.play_one) {
    script_stop_playback();
    package.play_one = 0;
  }
  // A file still open for reading (after play-one commands or the end of a script) is closed,
  // so that the first line written opens "EASEL.SCR" afresh. Periodic events still owed to a
  // playback were never delivered and must not be counted into the recording.
  script_close();
  package.periodic_count = 0;
  package.recording = 1;
  set_check(IDM_RECORD, true);
}

void script_stop_recording() {
  package.recording = 0;
  set_check(IDM_RECORD, false);
  if (package.periodic_count > 0) {
    script_write_event(EASEL_PERIODIC, 0, 0, 0);
    package.periodic_count = 0;
  }
  script_close();
}

void script_start_playback() {
  // Ending the recording first writes its pending run and closes the file, so the playback
  // reads the script just recorded, from its first line.
  if (package.recording) script_stop_recording();
  package.running = 0;
  package.step_pending = 0;
  package.playing = 1;
  set_check(IDM_PLAYBACK, true);
}

void script_stop_playback() {
  package.playing = 0;
  set_check(IDM_PLAYBACK, false);
  script_close();
}

void script_play_one() {
  if (package.recording) script_stop_recording();
  package.play_one = 1;
  package.running = 0;
  package.step_pending = 0;
}
