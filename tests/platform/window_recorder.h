// For the USER tests: a window class whose procedure records every message it is given (then
// lets a test's hook answer it, or DefWindowProcA), a fixture that clears the record, and a
// poll helper.
#pragma once

#include <functional>
#include <vector>

#include "platform/support.h"

struct Received {
  HWND hwnd;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

inline std::vector<Received>& received() {
  static std::vector<Received> log;
  return log;
}

// Answers a message instead of DefWindowProcA when it returns true.
using MessageHook = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;
inline MessageHook& message_hook() {
  static MessageHook hook;
  return hook;
}

inline LRESULT CALLBACK recording_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  received().push_back(Received{hwnd, message, wparam, lparam});
  LRESULT result = 0;
  if (message_hook() && message_hook()(hwnd, message, wparam, lparam, &result)) return result;
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// Registers (once per reset) a recording class with the given background.
inline void register_recorder(const char* class_name, HBRUSH background) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = recording_proc;
  wc.hbrBackground = background;
  wc.lpszClassName = class_name;
  RegisterClassA(&wc);
}

// A recording window of that outer size with a white background.
inline HWND make_window(const char* title, int width = 200, int height = 150,
                        DWORD style = WS_OVERLAPPEDWINDOW) {
  register_recorder("Recorder", static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return CreateWindowA("Recorder", title, style, 0, 0, width, height, nullptr, nullptr, nullptr,
                       nullptr);
}

// Messages of one kind the window has received so far.
inline std::vector<Received> received_of(UINT message) {
  std::vector<Received> out;
  for (const Received& r : received())
    if (r.message == message) out.push_back(r);
  return out;
}

// Takes one message for any window; WM_NULL when there is none.
inline MSG poll() {
  MSG msg{};
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) msg.message = WM_NULL;
  return msg;
}

class UserTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    received().clear();
    message_hook() = nullptr;
  }
  void TearDown() override {
    message_hook() = nullptr;
    PlatformTest::TearDown();
  }
};
