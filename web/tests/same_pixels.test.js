// Same script, same pixels: a script played in a page shows, byte for byte and in order, every
// frame that the headless host writes for it through easel-run (the game through chilly-replay,
// which is easel-run with the key that leaves the title screen first).
'use strict';

const assert = require('node:assert');
const {describe, it} = require('node:test');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const site = require('./site');
const png = require('./png');

const RELEASE = path.join(site.ROOT, 'build', 'release');
const REPLAY = process.env.CHILLY_REPLAY || path.join(RELEASE, 'tools', 'chilly-replay');
const EASEL_RUN = process.env.EASEL_RUN || path.join(RELEASE, 'tools', 'easel-run');

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

describe('a page and the headless host', function () {
  const web = site.suite();

  it('show the same frames for the same script: the game', async function () {
    const script = path.join(site.ROOT, 'docs', 'replay-example.scr');
    const expected = headlessFrames(REPLAY, function (out) { return [script, '--out', out]; });
    assert.ok(expected.length >= 10, expected.length + ' frames');

    const page = await web.open('virtual-chilly', {beforeRun: observeFrames});
    await site.waitForColour(page, 400, 220, [255, 0, 0], 'title screen hat');
    // The script as EASEL.SCR; the title's key and Ctrl+P come in one batch, as the headless
    // host sends them.
    await page.evaluate(function (text) {
      FS.writeFile('/EASEL.SCR', text);
      const CTRL = 'CTRL';
      Module.easelHost.sendKeys([
        {kind: 'KEY_DOWN', vk: 0x20, scan: 44, ch: 32}, {kind: 'KEY_UP', vk: 0x20, scan: 44},
        {kind: 'KEY_DOWN', vk: 0x11, scan: 224, mods: CTRL},
        {kind: 'KEY_DOWN', vk: 0x50, scan: 19, mods: CTRL, ch: 0x70},
        {kind: 'KEY_UP', vk: 0x50, scan: 19, mods: CTRL}, {kind: 'KEY_UP', vk: 0x11, scan: 224},
      ]);
    }, fs.readFileSync(script, 'latin1'));
    await assertShowsInOrder(page, expected);
    await page.close();
  });

  for (const example of ['bounce', 'paint']) {
    it('show the same frames for the same script: the example ' + example, async function () {
      const script = path.join(site.ROOT, 'examples', 'scripts', example + '.scr');
      const program = path.join(RELEASE, 'examples', example);
      const expected = headlessFrames(EASEL_RUN, function (out) {
        return ['--script', script, '--frames', out, program];
      });
      assert.ok(expected.length >= 3, expected.length + ' frames');
      assert.ok(new Set(expected).size >= 2, 'the script changes the picture');

      const page = await web.open(example + '.html?script=scripts/' + example + '.scr',
                                   {beforeRun: observeFrames});
      await assertShowsInOrder(page, expected);
      await page.close();
    });
  }
});
