// A script played in the page: one without end leaves the page answering and showing its
// frames, and the Run menu's keys reach the program while it plays (Ctrl+H halts, Ctrl+P ends
// the playback); a script beyond the page's bound is refused as one it cannot read.
'use strict';

const assert = require('node:assert');
const {describe, it} = require('node:test');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const site = require('./site');

const ENDLESS = 'EASEL_KBD(32);\nEASEL_PERIODIC(2147483647);\n';

// The page's answer to a question, or a failure once it has not answered in time: a page whose
// program never lets the browser run would keep the test waiting for ever.
function answer(page, question, what) {
  let timer = null;
  const late = new Promise(function (resolve, reject) {
    timer = setTimeout(function () { reject(new Error(what)); }, 10000);
  });
  return Promise.race([page.evaluate(question), late]).finally(function () {
    clearTimeout(timer);
  });
}

// A digest of the graphics window's canvas (FNV-1a over its pixels), computed in the page.
function picture() {
  const canvas = document.querySelector('canvas[data-title="EASEL Graphics"]');
  const d = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  const words = new Uint32Array(d.buffer, d.byteOffset, d.length / 4);
  let hash = 0x811C9DC5;
  for (let i = 0; i < words.length; ++i) hash = Math.imul(hash ^ words[i], 0x01000193) >>> 0;
  return hash;
}

describe('a script played in the page', function () {
  const web = site.suite();

  it('without end leaves the page answering and takes Ctrl+H, and Ctrl+P ends it', async function () {
    // The address holds the script's own address: its line ends escaped twice.
    const script = 'data:text/plain,' + encodeURIComponent(ENDLESS);
    const address = 'virtual-chilly.html?script=' + encodeURIComponent(script);
    const page = await web.open(address);
    // The game past its title, its snowmen walking: frame after frame reaches the canvas while
    // the page still answers.
    const pictures = new Set();
    for (let i = 0; i < 40 && pictures.size < 3; ++i) {
      pictures.add(await answer(page, picture, 'the page stopped answering during playback'));
    }
    assert.strictEqual(pictures.size, 3, 'the playback showed no new frames');
    // Ctrl+A and Ctrl+H set and clear the animation's own clock, which a playback does not use:
    // the script plays on.
    await site.ctrl(page, 'A');
    await site.ctrl(page, 'H');
    const before = await answer(page, picture, 'the page stopped answering after Ctrl+H');
    let playing = false;
    for (let i = 0; i < 40 && !playing; ++i) {
      playing = await answer(page, picture, 'the page stopped answering after Ctrl+H') !== before;
    }
    assert.ok(playing, 'the playback stopped on Ctrl+H');
    // Ctrl+P ends the playback; the game, halted by Ctrl+H, then stands still.
    await site.ctrl(page, 'P');
    let previous = null, still = false;
    for (let i = 0; i < 50 && !still; ++i) {
      await new Promise(function (resolve) { setTimeout(resolve, 200); });
      const now = await answer(page, picture, 'the page stopped answering after Ctrl+P');
      still = now === previous;
      previous = now;
    }
    assert.ok(still, 'the game went on after Ctrl+P');
    await new Promise(function (resolve) { setTimeout(resolve, 400); });
    assert.strictEqual(await answer(page, picture, 'no answer'), previous,
                       'a halted game kept drawing');
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });

  it('larger than the page takes is refused unread, as one the package cannot read', async function () {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'easel-large-'));
    const file = path.join(folder, 'large.scr');
    fs.writeFileSync(file, ENDLESS);
    fs.truncateSync(file, 64 * 1024 * 1024 + 1);  // sparse: nothing written
    const lines = [];
    const page = await web.open('virtual-chilly.html?EASEL_LOG=stderr');
    page.on('console', function (message) { lines.push(message.text()); });
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#open-script')]);
    await chooser.accept([file]);
    await page.waitForFunction(function () {
      return document.getElementById('status').className === 'problem';
    }, {timeout: 10000});
    assert.strictEqual(await page.evaluate(function () {
      return document.getElementById('status').textContent;
    }), 'Cannot read large.scr: larger than 64 MB.');
    for (let i = 0; i < 100 && !lines.includes('Cannot open script file EASEL.SCR for reading'); ++i) {
      await new Promise(function (resolve) { setTimeout(resolve, 100); });
    }
    assert.ok(lines.includes('Cannot open script file EASEL.SCR for reading'), lines.join('\n'));
    fs.rmSync(folder, {recursive: true, force: true});
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });
});
