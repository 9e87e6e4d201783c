// Same script, same pixels: a recorded script played in the game's page shows the very frames,
// byte for byte, that the headless host writes for it.
'use strict';

const assert = require('node:assert');
const {after, before, describe, it} = require('node:test');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const site = require('./site');
const png = require('./png');

const REPLAY = process.env.CHILLY_REPLAY ||
               path.join(site.ROOT, 'build', 'release', 'tools', 'chilly-replay');
const SCRIPT = path.join(site.ROOT, 'docs', 'replay-example.scr');

// FNV-1a over the pixels' RGB bytes, the same in the page and here.
function digest(pixels) {
  let h = 0x811c9dc5;
  for (const p of pixels) {
    for (const byte of [(p >> 16) & 255, (p >> 8) & 255, p & 255]) {
      h = Math.imul(h ^ byte, 16777619) >>> 0;
    }
  }
  return h;
}

describe('the game page and the headless host', function () {
  let browser, server, url;
  before(async function () {
    ({server, url} = await site.serve());
    browser = await site.launch();
  });
  after(async function () {
    await site.close(browser);
    server.close();
  });

  it('show the same frames for the same script', async function () {
    const out = fs.mkdtempSync(path.join(os.tmpdir(), 'easel-replay-'));
    execFileSync(REPLAY, [SCRIPT, '--out', out]);
    const expected = fs.readdirSync(out).sort().map(function (name) {
      return digest(png.read(path.join(out, name)).pixels);
    });
    fs.rmSync(out, {recursive: true, force: true});
    assert.ok(expected.length >= 10, expected.length + ' frames');

    const page = await site.open(browser, url, 'virtual-chilly');
    await site.waitForColour(page, 400, 220, [255, 0, 0], 'title screen hat');
    // The script as EASEL.SCR, then every frame the graphics window shows is kept from the
    // title's key on; the key and Ctrl+P come in one batch, as the headless host sends them.
    const script = fs.readFileSync(SCRIPT, 'latin1');
    await page.evaluate(function (script) {
      FS.writeFile('/EASEL.SCR', script);
      window.frames_shown = [];
      Module.easelHost.onPresent = function (title, bytes) {
        if (title !== 'EASEL Graphics') return;
        let h = 0x811c9dc5;
        for (let i = 0; i < bytes.length; i += 4) {
          h = Math.imul(h ^ bytes[i], 16777619) >>> 0;
          h = Math.imul(h ^ bytes[i + 1], 16777619) >>> 0;
          h = Math.imul(h ^ bytes[i + 2], 16777619) >>> 0;
        }
        window.frames_shown.push(h);
      };
      const CTRL = 2;
      Module.easelHost.sendKeys([
        {kind: 3, vk: 0x20, scan: 44, ch: 32}, {kind: 4, vk: 0x20, scan: 44},
        {kind: 3, vk: 0x11, scan: 224, mods: CTRL}, {kind: 3, vk: 0x50, scan: 19, mods: CTRL, ch: 16},
        {kind: 4, vk: 0x50, scan: 19, mods: CTRL}, {kind: 4, vk: 0x11, scan: 224},
      ]);
    }, script);
    await page.waitForFunction(function (count) {
      return window.frames_shown.length >= count;
    }, {timeout: 20000, polling: 50}, expected.length);
    await new Promise(function (resolve) { setTimeout(resolve, 300); });
    const shown = await page.evaluate(function () { return window.frames_shown; });
    // The picture before the script may be shown more than once before the script's frames.
    const matches = function (start) {
      return expected.every(function (h, i) { return shown[start + i] === h; });
    };
    const start = shown.findIndex(function (h, i) { return matches(i); });
    assert.ok(shown.includes(expected[0]), 'the first frame of the script never appeared');
    assert.notStrictEqual(start, -1, 'the frames differ: ' + JSON.stringify({shown, expected}));
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });
});
