// The page side of the browser host (linked in front of the program with --pre-js): one canvas
// per window inside the page's #easel-screen element, the clock, and the page's mouse and key
// events turned into the host's input records. The program's wait awaits a promise that the
// next input or a timer at the deadline resolves: nothing runs while the page is idle.
Module.easelHost = (function () {
  'use strict';

  // Input records name their kind ({kind: 'KEY_DOWN', ...}) and may name their modifiers
  // ({mods: 'SHIFT CTRL'}); take() hands them to the C++ half as numbers, in the order of the
  // fields. The fields' order and the numbers of the kinds and modifier bits are given by the
  // C++ half when the host opens (web_host.cpp), so that no side numbers them on its own.
  // Virtual-key codes are win32_keys.h's.
  let fields = [];
  const kinds = Object.create(null);
  const mods = Object.create(null);

  const NAMED_KEYS = {
    Enter: 0x0D, Tab: 0x09, Backspace: 0x08, Escape: 0x1B, ' ': 0x20, ArrowLeft: 0x25,
    ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, Shift: 0x10, Control: 0x11, Alt: 0x12,
    AltGraph: 0x12, Meta: 0x5B, ContextMenu: 0x5D, PageUp: 0x21, PageDown: 0x22, End: 0x23,
    Home: 0x24, Insert: 0x2D, Delete: 0x2E, Pause: 0x13, CapsLock: 0x14, PrintScreen: 0x2C,
    NumLock: 0x90, ScrollLock: 0x91,
    ';': 0xBA, '=': 0xBB, '+': 0xBB, ',': 0xBC, '-': 0xBD, '.': 0xBE, '/': 0xBF, '`': 0xC0,
    '[': 0xDB, '\\': 0xDC, ']': 0xDD, "'": 0xDE,
  };
  // Keys known by where they are: the keypad, and punctuation the layout names otherwise.
  const POSITIONAL_KEYS = {
    Numpad0: 0x60, Numpad1: 0x61, Numpad2: 0x62, Numpad3: 0x63, Numpad4: 0x64, Numpad5: 0x65,
    Numpad6: 0x66, Numpad7: 0x67, Numpad8: 0x68, Numpad9: 0x69, NumpadMultiply: 0x6A,
    NumpadAdd: 0x6B, NumpadSubtract: 0x6D, NumpadDecimal: 0x6E, NumpadDivide: 0x6F,
    NumpadEnter: 0x0D, Semicolon: 0xBA, Equal: 0xBB, Comma: 0xBC, Minus: 0xBD, Period: 0xBE,
    Slash: 0xBF, Backquote: 0xC0, BracketLeft: 0xDB, Backslash: 0xDC, BracketRight: 0xDD,
    Quote: 0xDE, IntlBackslash: 0xE2,
  };
  // Scan codes: the USB usage of each physical key, the numbers the desktop host uses too, so
  // that each press keeps its own character.
  // Keys that share their virtual-key code with a key that is not extended (bit 24 of lParam).
  const EXTENDED_CODES = new Set(['ControlRight', 'AltRight', 'NumpadEnter']);
  const SCAN_CODES = (function () {
    const codes = {};
    for (let i = 0; i < 26; ++i) codes['Key' + String.fromCharCode(65 + i)] = 4 + i;
    for (let i = 1; i <= 9; ++i) codes['Digit' + i] = 29 + i;
    codes.Digit0 = 39;
    for (let i = 1; i <= 12; ++i) codes['F' + i] = 57 + i;
    for (let i = 13; i <= 24; ++i) codes['F' + i] = 91 + i;
    for (let i = 1; i <= 9; ++i) codes['Numpad' + i] = 88 + i;
    const rest = [
      'Enter', 40, 'Escape', 41, 'Backspace', 42, 'Tab', 43, 'Space', 44, 'Minus', 45, 'Equal', 46,
      'BracketLeft', 47, 'BracketRight', 48, 'Backslash', 49, 'Semicolon', 51, 'Quote', 52,
      'Backquote', 53, 'Comma', 54, 'Period', 55, 'Slash', 56, 'CapsLock', 57, 'PrintScreen', 70,
      'ScrollLock', 71, 'Pause', 72, 'Insert', 73, 'Home', 74, 'PageUp', 75, 'Delete', 76,
      'End', 77, 'PageDown', 78, 'ArrowRight', 79, 'ArrowLeft', 80, 'ArrowDown', 81,
      'ArrowUp', 82, 'NumLock', 83, 'NumpadDivide', 84, 'NumpadMultiply', 85,
      'NumpadSubtract', 86, 'NumpadAdd', 87, 'NumpadEnter', 88, 'Numpad0', 98,
      'NumpadDecimal', 99, 'IntlBackslash', 100, 'ContextMenu', 101, 'ControlLeft', 224,
      'ShiftLeft', 225, 'AltLeft', 226, 'MetaLeft', 227, 'ControlRight', 228, 'ShiftRight', 229,
      'AltRight', 230, 'MetaRight', 231,
    ];
    for (let i = 0; i < rest.length; i += 2) codes[rest[i]] = rest[i + 1];
    return codes;
  })();

  const windows = new Map();  // id -> {figure, canvas, context, x, y}
  const queue = [];           // input records not yet taken
  let wake = null;            // resolves the pending wait
  let nextId = 1;
  let start = 0;
  let screen = null;
  let resumed = 0;            // when the program last began to run (opened, a wait or turn ended)
  let runStart = 0;           // when its current run began (opened, or a wait ended)
  let lastTurn = 0;           // when the page last had the browser (opened, a wait or turn ended)
  let turnOver = null;        // resolves the pending turn
  // A message to the page itself: a task of its own after those already queued (input,
  // drawing), without the clamped delay of a chain of zero timeouts.
  const turns = new MessageChannel();
  turns.port1.onmessage = function () {
    const resolve = turnOver;
    turnOver = null;
    lastTurn = performance.now();
    resumed = lastTurn;
    if (resolve) resolve();
  };

  function now() {
    return performance.now() - start;
  }

  function push(record) {
    record.time = Math.floor(now());
    queue.push(record);
    if (wake) wake();
  }

  // (No destructuring here: emscripten's JS optimiser does not parse it.)
  function windowOfElement(element) {
    let found = 0;
    windows.forEach(function (w, id) {
      if (w.canvas === element) found = id;
    });
    return found;
  }

  // Whole canvas pixels per device pixel: sharp, like the desktop's whole-number scale.
  function cssSize(canvas) {
    const ratio = window.devicePixelRatio || 1;
    const scale = Math.max(1, Math.floor(ratio + 1e-6));
    canvas.style.width = (canvas.width * scale / ratio) + 'px';
    canvas.style.height = (canvas.height * scale / ratio) + 'px';
  }

  // Mouse positions in canvas pixels, through the canvas's CSS scale in floats.
  function mouseRecord(kind, id, canvas, event) {
    const box = canvas.getBoundingClientRect();
    const x = box.width > 0 ? (event.clientX - box.left) * canvas.width / box.width : 0;
    const y = box.height > 0 ? (event.clientY - box.top) * canvas.height / box.height : 0;
    return {
      kind: kind, window: id, x: Math.floor(x), y: Math.floor(y), button: event.button + 1,
      mods: modifiers(event),
    };
  }

  function modifiers(event) {
    return (event.shiftKey ? mods.SHIFT : 0) | (event.ctrlKey ? mods.CTRL : 0) |
           (event.altKey ? mods.ALT : 0);
  }

  // The single Unicode character a key's name stands for, or -1.
  function keyCharacter(key) {
    if (typeof key !== 'string' || key.length === 0) return -1;
    const code = key.codePointAt(0);
    return key.length === (code > 0xFFFF ? 2 : 1) ? code : -1;
  }

  function virtualKey(event) {
    const ch = keyCharacter(event.key);
    if (ch >= 0) {
      if (ch >= 0x61 && ch <= 0x7A) return ch - 0x20;
      if (ch >= 0x41 && ch <= 0x5A) return ch;
    }
    if (event.key in NAMED_KEYS) return NAMED_KEYS[event.key];
    const code = event.code || '';
    const f = /^F([0-9]+)$/.exec(event.key);
    if (f && +f[1] >= 1 && +f[1] <= 24) return 0x6F + +f[1];
    if (/^Key[A-Z]$/.test(code)) return code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(code)) return code.charCodeAt(5);
    return POSITIONAL_KEYS[code] || 0;
  }

  // The Latin-1 character the user's layout typed with a press (0 for none or beyond 255); the
  // window system makes the characters of Enter, Tab, Backspace, Esc and Ctrl+letter itself.
  function pressCharacter(event) {
    const ch = keyCharacter(event.key);
    return ch >= 0x20 && ch <= 0xFF && ch !== 0x7F ? ch : 0;
  }

  // Keys go to the window whose canvas has the focus, else to the one that last had it.
  function keyWindow() {
    return windowOfElement(document.activeElement);
  }

  function onKey(event) {
    // Keys typed into the page's own controls stay theirs.
    const active = document.activeElement;
    if (active && active !== document.body && windowOfElement(active) === 0) return;
    const down = event.type === 'keydown';
    const vk = virtualKey(event);
    const record = {
      kind: down ? 'KEY_DOWN' : 'KEY_UP', window: keyWindow(), vk: vk,
      scan: SCAN_CODES[event.code] || 0, mods: modifiers(event),
      ch: down ? pressCharacter(event) : 0,
      extended: EXTENDED_CODES.has(event.code),
    };
    // The page's own meanings of these keys (selecting, scrolling, the browser's menu) would
    // take them from the program; function keys other than F10 stay the browser's.
    const browserKey = /^F([0-9]+)$/.test(event.key) && event.key !== 'F10';
    if (!browserKey && !event.metaKey) event.preventDefault();
    push(record);
  }

  function listen() {
    document.addEventListener('keydown', onKey);
    document.addEventListener('keyup', onKey);
    window.addEventListener('resize', function () {
      for (const w of windows.values()) cssSize(w.canvas);
    });
  }

  // Latin-1 text at a C string's address.
  function latin1(address) {
    let text = '';
    for (let p = address; HEAPU8[p] !== 0; ++p) text += String.fromCharCode(HEAPU8[p]);
    return text;
  }

  // fieldNames, kindNames: names separated by spaces, in the order of their numbers.
  function open(fieldNames, kindNames, shift, ctrl, alt) {
    screen = document.getElementById('easel-screen');
    if (!screen) return false;
    fields = fieldNames.split(' ').filter(function (name) { return name !== ''; });
    kindNames.split(' ').filter(function (name) { return name !== ''; })
        .forEach(function (name, number) { kinds[name] = number; });
    mods.SHIFT = shift;
    mods.CTRL = ctrl;
    mods.ALT = alt;
    start = performance.now();
    resumed = runStart = start;  // the program runs from here to its first wait
    lastTurn = start;
    listen();
    return true;
  }

  function createWindow(title, x, y, width, height) {
    const id = nextId++;
    const figure = document.createElement('figure');
    figure.className = 'easel-window';
    figure.hidden = true;
    const caption = document.createElement('figcaption');
    const name = document.createElement('span');
    name.textContent = title;
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'easel-close';
    close.title = 'Close';
    close.textContent = '\u00D7';
    close.addEventListener('click', function () {
      push({kind: 'CLOSE', window: id});
    });
    caption.append(name, close);
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    canvas.tabIndex = 0;
    canvas.dataset.title = title;
    cssSize(canvas);
    // Pointer events, since only they carry fractional positions; the canvas captures the
    // pointer from the press on, so the release reaches it wherever it happens.
    canvas.addEventListener('pointerdown', function (event) {
      canvas.focus({preventScroll: true});
      canvas.setPointerCapture(event.pointerId);
      push(mouseRecord('MOUSE_DOWN', id, canvas, event));
      event.preventDefault();
    });
    canvas.addEventListener('pointerup', function (event) {
      push(mouseRecord('MOUSE_UP', id, canvas, event));
    });
    canvas.addEventListener('pointermove', function (event) {
      push(mouseRecord('MOUSE_MOVE', id, canvas, event));
    });
    canvas.addEventListener('contextmenu', function (event) {
      event.preventDefault();
    });
    canvas.addEventListener('focus', function () {
      push({kind: 'FOCUS', window: id});
    });
    figure.append(caption, canvas);
    // Windows stand on the page in the order of their places on the screen, top to bottom.
    let before = null;
    for (const other of windows.values()) {
      if ((other.y > y || (other.y === y && other.x > x)) &&
          (before === null || (other.figure.compareDocumentPosition(before) &
                                   Node.DOCUMENT_POSITION_FOLLOWING))) {
        before = other.figure;
      }
    }
    screen.insertBefore(figure, before);
    windows.set(id, {figure: figure, canvas: canvas, context: canvas.getContext('2d'), x: x, y: y});
    return id;
  }

  function showWindow(id, show) {
    const w = windows.get(id);
    if (!w) return;
    const first = w.figure.hidden && show && windows.size > 0 &&
                  ![...windows.values()].some(function (other) { return !other.figure.hidden; });
    w.figure.hidden = !show;
    if (first) w.canvas.focus({preventScroll: true});
  }

  function destroyWindow(id) {
    const w = windows.get(id);
    if (!w) return;
    w.figure.remove();
    windows.delete(id);
    for (let i = queue.length - 1; i >= 0; --i) {
      if (queue[i].window === id) queue.splice(i, 1);
    }
  }

  // The picture at address; rows [top, bottom) changed since the canvas was last drawn.
  function present(id, address, width, height, top, bottom) {
    const w = windows.get(id);
    if (!w) return;
    if (w.canvas.width !== width || w.canvas.height !== height) {
      w.canvas.width = width;
      w.canvas.height = height;
      cssSize(w.canvas);
      top = 0;
      bottom = height;
    }
    const bytes = new Uint8ClampedArray(HEAPU8.buffer, address, width * height * 4);
    if (bottom > top) {
      // An image of the changed rows alone: the browser copies no more than those.
      const band = bytes.subarray(top * width * 4, bottom * width * 4);
      w.context.putImageData(new ImageData(band, width, bottom - top), 0, top);
    }
    if (!host.firstPresent) host.firstPresent = performance.now();
    // An observer sees each frame as it is shown, as the headless host's present observer does.
    if (host.onPresent) host.onPresent(w.canvas.dataset.title, bytes, width, height);
  }

  // A field of an input record as the C++ half reads it: the kind's number (-1 for no kind,
  // which it drops), modifier names as their bits, true as 1, anything missing as 0.
  function numberOf(record, field) {
    const value = record[field];
    if (field === 'kind') return value in kinds ? kinds[value] : -1;
    if (field === 'mods' && typeof value === 'string') {
      return value.split(' ').reduce(function (bits, name) { return bits | (mods[name] || 0); }, 0);
    }
    return +value || 0;
  }

  function take(address) {
    const record = queue.shift();
    if (!record) return false;
    for (let i = 0; i < fields.length; ++i) {
      HEAPF64[(address >> 3) + i] = numberOf(record, fields[i]);
    }
    return true;
  }

  // For measuring (host.busy = {ms: 0, runs: 0, longest: 0, span: 0}): the time the program
  // ran, the runs from one wait to the next, the longest stretch it kept the browser (up to a
  // wait or a turn), and the longest run, turns included (a whole playback).
  function endStretch() {
    if (host.busy && resumed > 0) {
      const ms = performance.now() - resumed;
      host.busy.ms += ms;
      host.busy.longest = Math.max(host.busy.longest || 0, ms);
    }
    resumed = 0;
  }

  function runBegins() {
    resumed = performance.now();
    runStart = resumed;
  }

  // Resolves when input arrives or the clock reaches the deadline (negative: none).
  function wait(deadline) {
    endStretch();
    if (host.busy && runStart > 0) {
      host.busy.runs += 1;
      host.busy.span = Math.max(host.busy.span || 0, performance.now() - runStart);
    }
    runStart = 0;
    if (queue.length > 0) {
      runBegins();
      return Promise.resolve();
    }
    return new Promise(function (resolve) {
      let timer = 0;
      wake = function () {
        wake = null;
        if (timer) clearTimeout(timer);
        runBegins();
        lastTurn = resumed;
        resolve();
      };
      if (deadline < 0) return;
      // A timer may fire a little before the clock shows its time: wait again for the rest.
      const arm = function () {
        const left = deadline - now();
        if (left <= 0) {
          wake();
        } else {
          timer = setTimeout(arm, Math.ceil(left));
        }
      };
      arm();
    });
  }

  // The page only handles its events and draws while the program is suspended. A program that
  // goes on without waiting (a script played back runs from event to event) asks at every look
  // for input whether it has run for turnMs since the page last had the browser, and if so lets
  // it run one turn: the page keeps answering, and shows the frames of the playback.
  function turnDue() {
    return performance.now() - lastTurn >= host.turnMs;
  }

  function takeTurn() {
    endStretch();
    return new Promise(function (resolve) {
      turnOver = resolve;
      turns.port2.postMessage(null);
    });
  }

  // The page (web/page/page.js) sends a key press of its own, as when it starts a playback.
  function sendKeys(records) {
    for (const record of records) push(Object.assign({window: 0}, record));
  }

  const host = {
    open: open, createWindow: createWindow, showWindow: showWindow, destroyWindow: destroyWindow,
    present: present, now: now, take: take, wait: wait, latin1: latin1, sendKeys: sendKeys,
    // Two frames of a 60 Hz display: the page answers at once to the eye, and a playback pays
    // for showing a frame (the canvas, the browser's drawing) half as often as at every frame.
    turnDue: turnDue, takeTurn: takeTurn, turnMs: 33,
    windows: windows, onPresent: null, firstPresent: 0, busy: null,
  };
  return host;
})();
