// The message queue: retrieval order, filters, key translation, mouse and close input, dispatch
// and WaitMessage on the virtual clock.
#include "internal.h"
#include "menu/menu_private.h"
#include "platform/window_recorder.h"
#include "testing/raw_input.h"

namespace {

using QueueTest = UserTest;

TEST_F(QueueTest, RetrievalOrderIsPostedQuitInputPaintTimer) {
  HWND hwnd = make_window("W");
  ASSERT_TRUE(hwnd);
  ShowWindow(hwnd, SW_SHOW);  // first show: needs painting
  SetTimer(hwnd, 5, 100, nullptr);
  headless_key(0, "W", 'K', 'k');
  PostMessageA(hwnd, WM_USER, 1, 0);
  PostMessageA(hwnd, WM_USER + 1, 2, 0);
  PostQuitMessage(3);
  PostQuitMessage(4);  // several calls make one WM_QUIT, with the last code
  headless_advance(100);

  MSG peeked{};
  ASSERT_TRUE(PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(peeked.message, UINT(WM_USER));

  MSG m = poll();
  EXPECT_EQ(m.message, UINT(WM_USER));
  EXPECT_EQ(poll().message, UINT(WM_USER + 1));
  m = poll();
  EXPECT_EQ(m.message, UINT(WM_QUIT));
  EXPECT_EQ(m.wParam, WPARAM(4));
  EXPECT_EQ(m.hwnd, nullptr);
  EXPECT_EQ(poll().message, UINT(WM_KEYDOWN));
  EXPECT_EQ(poll().message, UINT(WM_KEYUP));
  // WM_PAINT is made at each retrieval until the window is validated.
  m = poll();
  EXPECT_EQ(m.message, UINT(WM_PAINT));
  EXPECT_EQ(m.hwnd, hwnd);
  EXPECT_EQ(poll().message, UINT(WM_PAINT));
  DispatchMessageA(&m);  // DefWindowProcA validates
  m = poll();
  EXPECT_EQ(m.message, UINT(WM_TIMER));
  EXPECT_EQ(m.wParam, WPARAM(5));
  EXPECT_EQ(poll().message, UINT(WM_NULL));
}

TEST_F(QueueTest, FiltersAndBadArguments) {
  HWND a = make_window("A");
  HWND b = make_window("B");
  HWND c = make_window("C");
  PostMessageA(a, WM_USER, 0, 0);
  PostMessageA(b, WM_USER + 5, 0, 0);
  PostQuitMessage(0);

  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, b);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_QUIT)) << "WM_QUIT ignores the filter";
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(m.hwnd, a);

  EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
  DestroyWindow(b);
  PostMessageA(nullptr, WM_USER, 0, 0);
  EXPECT_FALSE(PeekMessageA(&m, b, 0, 0, PM_REMOVE)) << "destroyed window as filter";
  EXPECT_FALSE(PostMessageA(b, WM_USER, 0, 0));
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(GlobalAlloc(GMEM_MOVEABLE, 4)), WM_USER, 0, 0));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) << "thread message survives";
  EXPECT_EQ(m.hwnd, nullptr);

  // Paint and timer messages are made only for the window the filter names.
  ShowWindow(a, SW_SHOW);
  EXPECT_FALSE(PeekMessageA(&m, c, 0, 0, PM_REMOVE)) << "another window's paint";
  ASSERT_TRUE(PeekMessageA(&m, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_PAINT));
  DispatchMessageA(&m);
  SetTimer(a, 1, 10, nullptr);
  headless_advance(10);
  EXPECT_FALSE(PeekMessageA(&m, c, 0, 0, PM_REMOVE)) << "another window's timer";
  ASSERT_TRUE(PeekMessageA(&m, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_TIMER));
}

TEST_F(QueueTest, PostedQueueIsBounded) {
  HWND hwnd = make_window("W");
  int accepted = 0;
  for (int i = 0; i < 20000; ++i) accepted += PostMessageA(hwnd, WM_USER, WPARAM(i), 0);
  EXPECT_EQ(accepted, 10000);
  EXPECT_EQ(poll().wParam, WPARAM(0)) << "the oldest are kept";
}

// Pumps every message as a program would, returning the WM_CHAR characters in order.
std::vector<int> typed_characters() {
  std::vector<int> chars;
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) {
    TranslateMessage(&m);
    if (m.message == WM_CHAR) chars.push_back(int(m.wParam));
    DispatchMessageA(&m);
  }
  return chars;
}

// A press and release as a host reports them: the layout's text with the press, the modifiers
// the host knows of.
void host_key(unsigned vk, int ch, unsigned mods = 0) {
  host::InputEvent key{};
  key.kind = host::InputKind::KEY_DOWN;
  key.vk = vk;
  key.ch = ch;
  key.mods = mods;
  headless_raw_input(0, "W", key);
  key.kind = host::InputKind::KEY_UP;
  key.ch = 0;
  headless_raw_input(0, "W", key);
}

TEST_F(QueueTest, KeysTranslateToLatin1AndControlCharacters) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  // Hosts report the layout's text; Enter, Tab, Backspace and Esc make their characters whatever
  // that is, Ctrl+letter its control character, Ctrl with another key none, and Ctrl+Alt
  // (AltGr) the layout's character.
  host_key(0, 233);  // é, a key without a virtual-key code
  host_key('A', 'a', host::MOD_CTRL);
  host_key(VK_RETURN, 0);
  host_key(VK_TAB, 0);
  host_key(VK_BACK, 0);
  host_key(VK_ESCAPE, 0);
  host_key(VK_OEM_4, '[', host::MOD_CTRL);
  host_key('E', 233, host::MOD_CTRL | host::MOD_ALT);
  host_key(VK_LEFT, 0);  // no character
  EXPECT_EQ(typed_characters(), (std::vector<int>{233, 1, 13, 9, 8, 27, 233}));
  // Ctrl held down is known to the window system even where the host reports no modifiers with
  // the letter (the testing layer's chords, a host that tells late).
  host::InputEvent ctrl{};
  ctrl.kind = host::InputKind::KEY_DOWN;
  ctrl.vk = VK_CONTROL;
  headless_raw_input(0, "W", ctrl);
  host_key('R', 'r');
  ctrl.kind = host::InputKind::KEY_UP;
  headless_raw_input(0, "W", ctrl);
  host_key('R', 'r');
  EXPECT_EQ(typed_characters(), (std::vector<int>{18, 'r'}));

  // The character comes right after its key-down, before the key-up.
  headless_type(0, "W", 'q');
  received().clear();
  typed_characters();
  std::vector<UINT> order;
  for (const Received& r : received())
    if (r.message != WM_PAINT) order.push_back(r.message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

TEST_F(QueueTest, EachQueuedPressKeepsItsOwnCharacterRepostedToo) {
  HWND text = make_window("Text");
  HWND graphics = make_window("Graphics");
  ShowWindow(text, SW_SHOW);
  // All typed before one poll: Shift+M, o, m, then a and Ctrl+A (the same key twice).
  headless_key_down(0, "Text", VK_SHIFT, 0);
  headless_type(0, "Text", 'M');
  headless_key_up(0, "Text", VK_SHIFT);
  headless_type(0, "Text", 'o');
  headless_type(0, "Text", 'm');
  headless_type(0, "Text", 'a');
  headless_ctrl_key(0, "Text", 'a');
  // As the log window does, every key message is passed on to another window; both translate.
  std::vector<int> own, passed_on;
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) {
    TranslateMessage(&m);
    if (m.message == WM_CHAR) (m.hwnd == text ? own : passed_on).push_back(int(m.wParam));
    if (m.hwnd == text && (m.message == WM_KEYDOWN || m.message == WM_KEYUP))
      PostMessageA(graphics, m.message, m.wParam, m.lParam);
    DispatchMessageA(&m);
  }
  const std::vector<int> typed{'M', 'o', 'm', 'a', 1};
  EXPECT_EQ(own, typed);
  EXPECT_EQ(passed_on, typed);
}

TEST_F(QueueTest, KeyMessageParametersAndRepostedKeys) {
  HWND text = make_window("Text");
  HWND graphics = make_window("Graphics");
  ShowWindow(text, SW_SHOW);
  headless_type(0, "Text", 233);
  MSG down = poll();
  ASSERT_EQ(down.message, UINT(WM_KEYDOWN));
  EXPECT_EQ(down.hwnd, text);
  unsigned scan = (uintptr_t(down.lParam) >> 16) & 0xFF;
  EXPECT_EQ(uintptr_t(down.lParam), uintptr_t(1u | scan << 16));
  MSG up = poll();
  ASSERT_EQ(up.message, UINT(WM_KEYUP));
  EXPECT_EQ(uintptr_t(up.lParam), uintptr_t(1u | scan << 16 | 3u << 30));

  // Passed on to another window with the same parameters, after the key-up, it still
  // translates to the character of that press.
  ASSERT_TRUE(PostMessageA(graphics, WM_KEYDOWN, down.wParam, down.lParam));
  MSG forwarded = poll();
  EXPECT_TRUE(TranslateMessage(&forwarded));
  MSG ch = poll();
  EXPECT_EQ(ch.message, UINT(WM_CHAR));
  EXPECT_EQ(ch.hwnd, graphics);
  EXPECT_EQ(ch.wParam, WPARAM(233));

  // As on Win32, every key message is translated, with or without a character: key-ups,
  // keys without a character (arrows) and system keys; other messages are not.
  EXPECT_TRUE(TranslateMessage(&up));
  MSG arrow{graphics, WM_KEYDOWN, VK_LEFT, LPARAM(1u | 0x4Bu << 16 | 1u << 24), 0, {}};
  EXPECT_TRUE(TranslateMessage(&arrow));
  for (UINT message : {UINT(WM_SYSKEYDOWN), UINT(WM_SYSKEYUP)}) {
    MSG sys{graphics, message, VK_F10, LPARAM(1u | 0x44u << 16), 0, {}};
    EXPECT_TRUE(TranslateMessage(&sys));
  }
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) {
    EXPECT_NE(m.message, UINT(WM_CHAR)) << "no character for them";
    EXPECT_NE(m.message, UINT(WM_SYSCHAR));
    DispatchMessageA(&m);
  }
  MSG click{graphics, WM_LBUTTONDOWN, 0, 0, 0, {}};
  EXPECT_FALSE(TranslateMessage(&click));
  EXPECT_FALSE(TranslateMessage(nullptr));
}

TEST_F(QueueTest, ExtendedKeysSetBit24) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  const unsigned keys[] = {VK_LEFT, VK_DOWN,   VK_INSERT,  VK_DELETE,     VK_HOME,
                           VK_END,  VK_PRIOR,  VK_NEXT,    VK_DIVIDE,     VK_NUMLOCK,
                           'A',     VK_RETURN, VK_CONTROL, VK_NUMPAD0 + 4};
  for (unsigned vk : keys) headless_key(0, "W", vk, 0);
  // Right Ctrl and keypad Enter share their codes with keys that are not extended.
  host::InputEvent right_ctrl{};
  right_ctrl.kind = host::InputKind::KEY_DOWN;
  right_ctrl.vk = VK_CONTROL;
  right_ctrl.extended = true;
  headless_raw_input(0, "W", right_ctrl);
  right_ctrl.kind = host::InputKind::KEY_UP;
  headless_raw_input(0, "W", right_ctrl);
  std::vector<std::pair<WPARAM, bool>> got;
  for (MSG m = poll(); m.message != WM_NULL; m = poll())
    got.emplace_back(m.wParam, (uintptr_t(m.lParam) >> 24) & 1);
  const std::vector<std::pair<WPARAM, bool>> expected{
      {VK_LEFT, true},     {VK_LEFT, true},     {VK_DOWN, true},         {VK_DOWN, true},
      {VK_INSERT, true},   {VK_INSERT, true},   {VK_DELETE, true},       {VK_DELETE, true},
      {VK_HOME, true},     {VK_HOME, true},     {VK_END, true},          {VK_END, true},
      {VK_PRIOR, true},    {VK_PRIOR, true},    {VK_NEXT, true},         {VK_NEXT, true},
      {VK_DIVIDE, true},   {VK_DIVIDE, true},   {VK_NUMLOCK, true},      {VK_NUMLOCK, true},
      {'A', false},        {'A', false},        {VK_RETURN, false},      {VK_RETURN, false},
      {VK_CONTROL, false}, {VK_CONTROL, false}, {VK_NUMPAD0 + 4, false}, {VK_NUMPAD0 + 4, false},
      {VK_CONTROL, true},  {VK_CONTROL, true}};
  EXPECT_EQ(got, expected);
}

TEST_F(QueueTest, KeyFilterFindsAKeyBehindAClickNotTaken) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  headless_click(10, "W", 5, 5);
  headless_key(10, "W", 'K', 'k');
  headless_advance(10);
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_KEYDOWN));
  EXPECT_EQ(m.wParam, WPARAM('K'));
  // The click waits where it was, ahead of the key's release.
  EXPECT_EQ(poll().message, UINT(WM_LBUTTONDOWN));
  EXPECT_EQ(poll().message, UINT(WM_LBUTTONUP));
  EXPECT_EQ(poll().message, UINT(WM_KEYUP));
}

TEST_F(QueueTest, TextWithoutKeyPressIsACharacterAtOnce) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  headless_text(0, nullptr, 0xE9);
  headless_text(0, nullptr, 0);       // nothing
  headless_text(0, nullptr, 0x263A);  // not Latin-1: nothing
  MSG m = poll();
  EXPECT_EQ(m.message, UINT(WM_CHAR));
  EXPECT_EQ(m.hwnd, hwnd);
  EXPECT_EQ(m.wParam, WPARAM(0xE9));
  EXPECT_TRUE(TranslateMessage(&m)) << "a key message, as under Wine; it posts nothing";
  for (m = poll(); m.message != WM_NULL; m = poll()) {
    EXPECT_NE(m.message, UINT(WM_CHAR));
    DispatchMessageA(&m);
  }
}

TEST_F(QueueTest, KeysGoToTheFocusWindow) {
  HWND a = make_window("A");
  HWND b = make_window("B");
  ShowWindow(a, SW_SHOW);
  ShowWindow(b, SW_SHOW);  // shown last: has the keyboard
  headless_type(0, nullptr, 'x');
  EXPECT_EQ(poll().hwnd, b);
  poll();

  // Alt went down and its release was lost to another program: the focus coming back lets it
  // go, so the next key is an ordinary one.
  headless_key_down(0, nullptr, VK_MENU, 0);
  EXPECT_EQ(poll().message, UINT(WM_SYSKEYDOWN));
  host::InputEvent focus{};
  focus.kind = host::InputKind::FOCUS;
  headless_raw_input(0, "A", focus);
  headless_type(0, nullptr, 'y');
  MSG m = poll();
  EXPECT_EQ(m.hwnd, a);
  EXPECT_EQ(m.message, UINT(WM_KEYDOWN));
  poll();

  ShowWindow(a, SW_HIDE);  // the keyboard goes back to the other visible window
  headless_type(0, nullptr, 'z');
  EXPECT_EQ(poll().hwnd, b);
}

TEST_F(QueueTest, MouseButtonsInClientCoordinates) {
  HWND hwnd = make_window("W", 200, 150);
  SetMenu(hwnd, CreateMenu());
  ShowWindow(hwnd, SW_SHOW);
  headless_click(0, "W", 10, 20);
  MSG m = poll();
  EXPECT_EQ(m.message, UINT(WM_LBUTTONDOWN));
  EXPECT_EQ(m.lParam, MAKELPARAM(10, 20));
  m = poll();
  EXPECT_EQ(m.message, UINT(WM_LBUTTONUP));
  EXPECT_EQ(m.lParam, MAKELPARAM(10, 20));

  // On the menu bar: WM_NCLBUTTONDOWN (HTMENU, window coordinates), which opens nothing where no
  // item is; below and beyond the edges: nothing.
  headless_menu_click(0, "W", 5);
  for (m = poll(); m.message == WM_PAINT; m = poll()) DispatchMessageA(&m);
  EXPECT_EQ(m.message, UINT(WM_NCLBUTTONDOWN));
  EXPECT_EQ(m.wParam, WPARAM(HTMENU));
  EXPECT_EQ(m.lParam, MAKELPARAM(5, plat::MENU_BAR_HEIGHT / 2));
  DispatchMessageA(&m);
  headless_window_click(0, "W", 199, 150 + 5);
  headless_window_click(0, "W", 250, 40);
  // Right button, and a window point translated to the client.
  host::InputEvent right{};
  right.kind = host::InputKind::MOUSE_DOWN;
  right.button = 3;
  right.x = 30;
  right.y = plat::MENU_BAR_HEIGHT + 7;
  headless_raw_input(0, "W", right);
  for (m = poll(); m.message == WM_PAINT; m = poll()) DispatchMessageA(&m);
  EXPECT_EQ(m.message, UINT(WM_RBUTTONDOWN));
  EXPECT_EQ(m.lParam, MAKELPARAM(30, 7));
}

TEST_F(QueueTest, MovesMergeAndHeldModifiersReachClicks) {
  HWND hwnd = make_window("W", 200, 150);
  ShowWindow(hwnd, SW_SHOW);
  // More moves than the input queue holds, then a click: moves not yet routed merge into the
  // latest, so the click is not crowded out.
  host::InputEvent move{};
  move.kind = host::InputKind::MOUSE_MOVE;
  for (int i = 0; i < 12000; ++i) {
    move.x = i % 200;
    headless_raw_input(0, "W", move);
  }
  // Shift held on the keyboard: the click carries MK_SHIFT though its host reported no modifiers.
  headless_key_down(0, "W", VK_SHIFT, 0);
  headless_click(0, "W", 10, 20);
  headless_key_up(0, "W", VK_SHIFT);
  MSG m = poll();
  while (m.message == WM_PAINT || m.message == WM_KEYDOWN) {
    DispatchMessageA(&m);
    m = poll();
  }
  EXPECT_EQ(m.message, UINT(WM_LBUTTONDOWN));
  EXPECT_EQ(m.wParam, WPARAM(0x0001 | 0x0004));  // MK_LBUTTON | MK_SHIFT
  EXPECT_EQ(m.lParam, MAKELPARAM(10, 20));
}

TEST_F(QueueTest, CloseRequestDestroysThroughTheDefaultProcedure) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  headless_close_request(0, "W");
  MSG m = poll();
  ASSERT_EQ(m.message, UINT(WM_CLOSE));
  EXPECT_EQ(m.hwnd, hwnd);
  DispatchMessageA(&m);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(received_of(WM_DESTROY).size(), 1u);
}

TEST_F(QueueTest, DispatchAndSendReachTheProcedure) {
  HWND hwnd = make_window("W");
  message_hook() = [](HWND, UINT msg, WPARAM w, LPARAM, LRESULT* r) {
    if (msg != WM_USER) return false;
    *r = LRESULT(w * 2);
    return true;
  };
  MSG m{};
  m.hwnd = hwnd;
  m.message = WM_USER;
  m.wParam = 21;
  EXPECT_EQ(DispatchMessageA(&m), 42);
  EXPECT_EQ(SendMessageA(hwnd, WM_USER, 5, 0), 10);
  m.hwnd = nullptr;
  EXPECT_EQ(DispatchMessageA(&m), 0);
  EXPECT_EQ(DispatchMessageA(nullptr), 0);
  DestroyWindow(hwnd);
  EXPECT_EQ(SendMessageA(hwnd, WM_USER, 5, 0), 0);
}

TEST_F(QueueTest, WaitMessageReturnsAtTheNextTickExactly) {
  HWND hwnd = make_window("W");
  headless_advance(30);
  SetTimer(hwnd, 2, 100, nullptr);
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 130u);
  EXPECT_EQ(poll().message, UINT(WM_TIMER));

  // With something already waiting, it returns at once.
  PostMessageA(hwnd, WM_USER, 0, 0);
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 130u);
}

TEST_F(QueueTest, ClickAtFiveSecondsComesThroughWhileATimerRuns) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  SetTimer(hwnd, 2, 100, nullptr);
  headless_click(5000, "W", 50, 50);
  int ticks = 0;
  MSG m{};
  for (;;) {
    WaitMessage();
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    if (m.message == WM_LBUTTONDOWN) break;
    if (m.message == WM_TIMER) ++ticks;
    DispatchMessageA(&m);
  }
  EXPECT_EQ(headless_now(), 5000u);
  EXPECT_EQ(m.time, DWORD(5000));
  EXPECT_EQ(ticks, 49) << "ticks at 100..4900; the click is input and comes before the 5000 tick";
}

TEST_F(QueueTest, WaitMessageReturnsAtOnceForAPaintOrAQuit) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  headless_text(1000, "W", 'x');  // the only later input: a wait that misses a message ends here
  InvalidateRect(hwnd, nullptr, TRUE);
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 0u) << "a window needing paint";
  MSG m = poll();
  EXPECT_EQ(m.message, UINT(WM_PAINT));
  DispatchMessageA(&m);
  PostQuitMessage(0);
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 0u) << "a quit";
  EXPECT_EQ(poll().message, UINT(WM_QUIT));
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 1000u);
  EXPECT_EQ(poll().message, UINT(WM_CHAR));
}

// Win32's rule: WaitMessage waits for what arrived since the last PeekMessageA looked, whether
// or not that peek removed what it saw.
TEST_F(QueueTest, WaitMessageWaitsForWhatArrivedAfterTheLastLook) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  PostMessageA(hwnd, WM_USER, 0, 0);
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 0u) << "posted after the last look";
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  headless_click(500, "W", 5, 5);
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 500u) << "the message seen and left did not end the wait";
  EXPECT_EQ(poll().message, UINT(WM_USER));
  EXPECT_EQ(poll().message, UINT(WM_LBUTTONDOWN));
  EXPECT_EQ(poll().message, UINT(WM_LBUTTONUP));

  // A tick seen and left in the queue: the wait ends at the timer's next tick on its grid.
  SetTimer(hwnd, 1, 100, nullptr);
  headless_advance(150);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, UINT(WM_TIMER));
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 700u);
  EXPECT_EQ(poll().message, UINT(WM_TIMER));
  KillTimer(hwnd, 1);

  // After a look that found nothing, anything new ends the wait when it comes.
  EXPECT_EQ(poll().message, UINT(WM_NULL));
  headless_type(900, "W", 'q');
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 900u);
  EXPECT_EQ(poll().message, UINT(WM_KEYDOWN));
}

// An open menu is modal, as on Win32: the default handling of F10 runs the menu's own loop,
// which waits (no CPU) and hands the timer's ticks to the procedure while the program's own
// loop gets nothing until the menu closes.
TEST_F(QueueTest, AnOpenMenuRunsItsOwnLoopUntilItCloses) {
  static std::vector<std::pair<UINT, uint64_t>> got;
  got.clear();
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_TIMER || msg == WM_COMMAND) got.emplace_back(msg, headless_now());
    return DefWindowProcA(w, msg, wp, lp);
  };
  wc.lpszClassName = "Modal";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("Modal", "W", 0, 0, 0, 200, 150, nullptr, nullptr, nullptr, nullptr);
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 8, "&Quit");
  AppendMenuA(bar, MF_POPUP, UINT_PTR(popup), "&Run");
  SetMenu(hwnd, bar);
  ShowWindow(hwnd, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  SetTimer(hwnd, 1, 100, nullptr);

  headless_key(150, "W", VK_F10, 0);
  headless_key(420, "W", VK_DOWN, 0);
  headless_key(450, "W", VK_RETURN, 13);
  std::vector<std::pair<UINT, uint64_t>> outer;
  for (;;) {
    MSG m{};
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    outer.emplace_back(m.message, headless_now());
    if (m.message == WM_COMMAND) break;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  // The program's loop: the tick at 100, F10 at 150, then nothing until the command at 450.
  const std::vector<std::pair<UINT, uint64_t>> expected_outer{
      {WM_TIMER, 100}, {WM_SYSKEYDOWN, 150}, {WM_SYSKEYUP, 150}, {WM_COMMAND, 450}};
  EXPECT_EQ(outer, expected_outer);
  // The ticks at 200, 300 and 400 reached the procedure inside the menu's loop, on time.
  const std::vector<std::pair<UINT, uint64_t>> expected_inner{
      {WM_TIMER, 100}, {WM_TIMER, 200}, {WM_TIMER, 300}, {WM_TIMER, 400}};
  EXPECT_EQ(got, expected_inner);
  plat::MenuView menu;
  EXPECT_FALSE(plat::menu_view(hwnd, &menu));

  // A quit posted while the menu is open closes the menu and reaches the program's loop.
  KillTimer(hwnd, 1);
  headless_key(500, "W", VK_F10, 0);
  headless_at(600, [] { PostQuitMessage(7); });
  MSG m{};
  for (m = poll(); m.message != WM_NULL && m.message != WM_QUIT; m = poll()) DispatchMessageA(&m);
  ASSERT_EQ(m.message, UINT(WM_NULL));
  WaitMessage();
  for (m = poll(); m.message != WM_QUIT; m = poll()) {
    ASSERT_NE(m.message, UINT(WM_NULL));
    DispatchMessageA(&m);
  }
  EXPECT_EQ(m.wParam, WPARAM(7));
  EXPECT_EQ(headless_now(), 600u);
  EXPECT_FALSE(plat::menu_view(hwnd, &menu));
}

using QueueDeathTest = QueueTest;

TEST_F(QueueDeathTest, AWaitThatCouldNeverEndFailsLoudly) {
  make_window("W");
  EXPECT_DEATH(WaitMessage(), "could never end");
  headless_set_time_limit(1000);
  SetTimer(nullptr, 0, 5000, nullptr);
  EXPECT_DEATH(WaitMessage(), "past the time limit");
}

}  // namespace
