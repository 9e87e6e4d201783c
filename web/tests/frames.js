// Frames compared between a page and the headless host: digests of what easel-run writes and of
// what a page's graphics window shows, and the check that the page showed them in order.
'use strict';

const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const png = require('./png');

// FNV-1a over the pixels' RGB bytes; the page computes the same over each frame it shows.
function digest(pixels) {
  let h = 0x811c9dc5;
  for (const p of pixels) {
    for (const byte of [(p >> 16) & 255, (p >> 8) & 255, p & 255]) {
      h = Math.imul(h ^ byte, 16777619) >>> 0;
    }
  }
  return h;
}

// The digests of the frames a headless run writes into a folder it is given (its log aside).
function headlessFrames(command, args) {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'easel-frames-'));
  try {
    execFileSync(command, args(out));
    const frames = fs.readdirSync(out).filter(function (name) { return name.startsWith('frame-'); });
    return frames.sort().map(function (name) {
      return digest(png.read(path.join(out, name)).pixels);
    });
  } finally {
    fs.rmSync(out, {recursive: true, force: true});
  }
}

// Before the program starts: every frame the graphics window shows is kept as a digest, through
// the web host's present observer.
function observeFrames(module) {
  window.frames_shown = [];
  module.easelHost.onPresent = function (title, bytes) {
    if (title !== 'EASEL Graphics') return;
    let h = 0x811c9dc5;
    for (let i = 0; i < bytes.length; i += 4) {
      h = Math.imul(h ^ bytes[i], 16777619) >>> 0;
      h = Math.imul(h ^ bytes[i + 1], 16777619) >>> 0;
      h = Math.imul(h ^ bytes[i + 2], 16777619) >>> 0;
    }
    window.frames_shown.push(h);
  };
}

// Waits until the page has shown every expected frame in order (it may show a picture more
// than once, and pictures of its own between them, such as the one before the script).
async function assertShowsInOrder(page, expected) {
  const inOrder = function (expected) {
    let next = 0;
    for (const h of window.frames_shown) {
      if (next < expected.length && h === expected[next]) ++next;
    }
    return next === expected.length;
  };
  try {
    await page.waitForFunction(inOrder, {timeout: 30000, polling: 100}, expected);
  } catch (error) {
    const shown = await page.evaluate(function () { return window.frames_shown; });
    assert.fail('the page did not show the headless frames in order: ' +
                JSON.stringify({shown: shown, expected: expected}));
  }
  assert.deepStrictEqual(page.problems, []);
}

module.exports = {digest, headlessFrames, observeFrames, assertShowsInOrder};
