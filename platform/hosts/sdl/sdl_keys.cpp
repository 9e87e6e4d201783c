// The SDL host's key map: Win32 virtual-key codes, 8-bit scan codes and modifier bits from SDL's
// key records, and UTF-8 text decoded to Latin-1.
// Letters and punctuation follow the user's layout, as Win32's codes do; the digit row and keys
// that the layout gives no Latin letter (a Cyrillic layout, say) fall back to their position.
#include "hosts/sdl/sdl_host.h"

namespace sdl_host {

namespace {

unsigned named_key(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    case SDLK_LGUI:
      return VK_LWIN;
    case SDLK_RGUI:
      return VK_RWIN;
    case SDLK_APPLICATION:
      return VK_APPS;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_END:
      return VK_END;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_INSERT:
      return VK_INSERT;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_PAUSE:
      return VK_PAUSE;
    case SDLK_CAPSLOCK:
      return VK_CAPITAL;
    case SDLK_PRINTSCREEN:
      return VK_SNAPSHOT;
    case SDLK_NUMLOCKCLEAR:
      return VK_NUMLOCK;
    case SDLK_SCROLLLOCK:
      return VK_SCROLL;
    case ';':
      return VK_OEM_1;
    case '=':
    case '+':
      return VK_OEM_PLUS;
    case ',':
      return VK_OEM_COMMA;
    case '-':
      return VK_OEM_MINUS;
    case '.':
      return VK_OEM_PERIOD;
    case '/':
      return VK_OEM_2;
    case '`':
      return VK_OEM_3;
    case '[':
      return VK_OEM_4;
    case '\\':
      return VK_OEM_5;
    case ']':
      return VK_OEM_6;
    case '\'':
      return VK_OEM_7;
    default:
      break;
  }
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + unsigned(sym - SDLK_F1);
  if (sym >= SDLK_F13 && sym <= SDLK_F24) return VK_F1 + 12 + unsigned(sym - SDLK_F13);
  return 0;
}

// Keys known by where they are: the keypad, and keys whose layout symbol has no code above.
unsigned positional_key(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + unsigned(sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
    return VK_NUMPAD0 + 1 + unsigned(sc - SDL_SCANCODE_KP_1);
  }
  switch (sc) {
    case SDL_SCANCODE_KP_0:
      return VK_NUMPAD0;
    case SDL_SCANCODE_KP_MULTIPLY:
      return VK_MULTIPLY;
    case SDL_SCANCODE_KP_PLUS:
      return VK_ADD;
    case SDL_SCANCODE_KP_MINUS:
      return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PERIOD:
      return VK_DECIMAL;
    case SDL_SCANCODE_KP_DIVIDE:
      return VK_DIVIDE;
    case SDL_SCANCODE_SEMICOLON:
      return VK_OEM_1;
    case SDL_SCANCODE_EQUALS:
      return VK_OEM_PLUS;
    case SDL_SCANCODE_COMMA:
      return VK_OEM_COMMA;
    case SDL_SCANCODE_MINUS:
      return VK_OEM_MINUS;
    case SDL_SCANCODE_PERIOD:
      return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH:
      return VK_OEM_2;
    case SDL_SCANCODE_GRAVE:
      return VK_OEM_3;
    case SDL_SCANCODE_LEFTBRACKET:
      return VK_OEM_4;
    case SDL_SCANCODE_BACKSLASH:
      return VK_OEM_5;
    case SDL_SCANCODE_RIGHTBRACKET:
      return VK_OEM_6;
    case SDL_SCANCODE_APOSTROPHE:
      return VK_OEM_7;
    case SDL_SCANCODE_NONUSBACKSLASH:
      return VK_OEM_102;
    default:
      return 0;
  }
}

bool is_keypad(SDL_Scancode sc) {
  return sc >= SDL_SCANCODE_KP_DIVIDE && sc <= SDL_SCANCODE_KP_PERIOD &&
         sc != SDL_SCANCODE_KP_ENTER;
}

}  // namespace

unsigned virtual_key(const SDL_Keysym& key) {
  const SDL_Keycode sym = key.sym;
  const SDL_Scancode sc = key.scancode;
  // The digit row keeps its digit codes on layouts whose unshifted symbols are others (AZERTY).
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + unsigned(sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return '0';
  if (is_keypad(sc)) return positional_key(sc);
  if (sym >= 'a' && sym <= 'z') return 'A' + unsigned(sym - 'a');
  if (sym >= '0' && sym <= '9') return unsigned(sym);
  const unsigned named = named_key(sym);
  return named != 0 ? named : positional_key(sc);
}

unsigned scan_code(SDL_Scancode scancode) {
  const int sc = int(scancode);
  // SDL's codes past 255 (media and mode keys) go to the unused 0xE8..0xFF.
  if (sc >= 0 && sc < 0xE8) return unsigned(sc);
  if (sc >= int(SDL_SCANCODE_MODE) && sc < int(SDL_SCANCODE_MODE) + 24) {
    return 0xE8 + unsigned(sc - int(SDL_SCANCODE_MODE));
  }
  return 0;
}

unsigned modifier_bits(uint16_t sdl_mods) {
  unsigned mods = 0;
  if (sdl_mods & KMOD_SHIFT) mods |= host::MOD_SHIFT;
  if (sdl_mods & KMOD_CTRL) mods |= host::MOD_CTRL;
  if (sdl_mods & KMOD_ALT) mods |= host::MOD_ALT;
  return mods;
}

bool is_modifier_key(SDL_Keycode key) {
  switch (key) {
    case SDLK_LCTRL:
    case SDLK_RCTRL:
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
    case SDLK_LALT:
    case SDLK_RALT:
    case SDLK_LGUI:
    case SDLK_RGUI:
    case SDLK_MODE:
    case SDLK_CAPSLOCK:
    case SDLK_NUMLOCKCLEAR:
    case SDLK_SCROLLLOCK:
      return true;
    default:
      return false;
  }
}

int latin1_from_utf8(const char* text, int* out, int capacity) {
  int count = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (p != nullptr && *p != 0 && count < capacity) {
    const unsigned lead = *p;
    int length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
    } else {
      ++p;  // a stray continuation byte or an invalid lead
      continue;
    }
    int i = 1;
    for (; i < length && (p[i] & 0xC0) == 0x80; ++i) code = (code << 6) | (p[i] & 0x3F);
    if (i < length) {
      p += i;  // cut short: skip what was read, resynchronise on the next lead byte
      continue;
    }
    p += length;
    // Overlong forms of a small character are not that character.
    const bool overlong = (length == 2 && code < 0x80) || (length > 2 && code < 0x800);
    if (!overlong && code <= 0xFF) out[count++] = int(code);
  }
  return count;
}

}  // namespace sdl_host
