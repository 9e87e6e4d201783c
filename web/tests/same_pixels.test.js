// Same script, same pixels: a recorded script opened in the game's page ("Open script...") shows
// the very frames, byte for byte, that the headless host writes for it.
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
    // Past the title and halted in one batch, so that the clock moves nothing before the
    // script; then every frame the graphics window shows is kept.
    await page.evaluate(function () {
      const CTRL = 2;
      Module.easelHost.sendKeys([
        {kind: 3, vk: 0x20, scan: 44, ch: 32}, {kind: 4, vk: 0x20, scan: 44},
        {kind: 3, vk: 0x11, scan: 224, mods: CTRL}, {kind: 3, vk: 0x48, scan: 11, mods: CTRL, ch: 8},
        {kind: 4, vk: 0x48, scan: 11, mods: CTRL}, {kind: 4, vk: 0x11, scan: 224},
      ]);
    });
    await site.waitForColour(page, 400, 380, [255, 255, 255], 'winter ground');
    await page.evaluate(function () {
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
    });
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#open-script')]);
    await chooser.accept([SCRIPT]);
    await page.waitForFunction(function (count) {
      return window.frames_shown.length >= count;
    }, {timeout: 20000, polling: 50}, expected.length);
    await new Promise(function (resolve) { setTimeout(resolve, 300); });
    const shown = await page.evaluate(function () { return window.frames_shown; });
    const start = shown.indexOf(expected[0]);
    assert.notStrictEqual(start, -1, 'the first frame of the script never appeared');
    assert.deepStrictEqual(shown.slice(start, start + expected.length), expected);
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });
});
