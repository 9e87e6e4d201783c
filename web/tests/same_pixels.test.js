// Same script, same pixels: a script played in a page shows, byte for byte and in order, every
// frame that the headless host writes for it through easel-run (the game through chilly-replay,
// which is easel-run with the key that leaves the title screen first).
'use strict';

const assert = require('node:assert');
const {describe, it} = require('node:test');
const fs = require('node:fs');
const path = require('node:path');
const site = require('./site');
const {headlessFrames, observeFrames, assertShowsInOrder} = require('./frames');

const RELEASE = path.join(site.ROOT, 'build', 'release');
const REPLAY = process.env.CHILLY_REPLAY || path.join(RELEASE, 'tools', 'chilly-replay');
const EASEL_RUN = process.env.EASEL_RUN || path.join(RELEASE, 'tools', 'easel-run');

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
