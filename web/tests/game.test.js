// The game's page in Debian's chromium: the title on the canvas, keys and clicks reaching the
// game, the Run menu by mouse and by Alt, halting and stepping, and a script recorded in the page,
// played back, downloaded and played by the headless host to the same pixels.
'use strict';

const assert = require('node:assert');
const {describe, it} = require('node:test');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const site = require('./site');
const png = require('./png');

const GRAPHICS = 'EASEL Graphics';
const BLACK = [0, 0, 0], WHITE = [255, 255, 255], RED = [255, 0, 0], BROWN = [153, 102, 51];
const REPLAY = process.env.CHILLY_REPLAY ||
               path.join(site.ROOT, 'build', 'release', 'tools', 'chilly-replay');

function at(x, y) {
  return site.canvasPoint(x, y);
}

// The game past its title, then Ctrl with each letter, in one batch so that no tick of the clock
// comes between the key and those commands; the periodic event the game already waited for still
// comes with the next tick.
async function gameWithKeys(web, letters, address) {
  const page = await web.open(address || 'virtual-chilly');
  const hat = at(100, 60);
  await site.waitForColour(page, hat.x, hat.y, RED, 'title screen hat');
  await page.evaluate(function (letters) {
    const CTRL = 'CTRL';
    const records = [{kind: 'KEY_DOWN', vk: 0x20, scan: 44, ch: 32},
                     {kind: 'KEY_UP', vk: 0x20, scan: 44},
                     {kind: 'KEY_DOWN', vk: 0x11, scan: 224, mods: CTRL}];
    for (const letter of letters) {
      const vk = letter.charCodeAt(0);
      // The layout's letter: the window system makes the control character of Ctrl+letter.
      records.push({kind: 'KEY_DOWN', vk: vk, scan: vk - 61, mods: CTRL, ch: vk + 32},
                   {kind: 'KEY_UP', vk: vk, scan: vk - 61, mods: CTRL});
    }
    records.push({kind: 'KEY_UP', vk: 0x11, scan: 224});
    Module.easelHost.sendKeys(records);
  }, letters);
  const ground = at(100, -100);
  await site.waitForColour(page, ground.x, ground.y, WHITE, 'winter ground');
  await new Promise(function (resolve) { setTimeout(resolve, 300); });
  return page;
}

function isCircle(line) {
  return /^[a-z ]+ circle at \(-?\d+,-?\d+\), radius \d+$/.test(line);
}

async function sameFrameFor(page, ms) {
  const first = JSON.stringify(await site.frame(page));
  await new Promise(function (resolve) { setTimeout(resolve, ms); });
  return first === JSON.stringify(await site.frame(page));
}

describe('the game page', function () {
  const web = site.suite();

  it('shows the title, starts on a key and browns the ground on "Change Season"', async function () {
    // A display of 1.5 device pixels per CSS pixel: the canvas is shown one to one in device
    // pixels (sharp), and clicks are mapped through its CSS size.
    const page = await web.open('virtual-chilly', {scale: 1.5});
    const devicePixels = await page.evaluate(function () {
      const canvas = document.querySelector('canvas[data-title="EASEL Graphics"]');
      return canvas.getBoundingClientRect().width * window.devicePixelRatio;
    });
    // Layout keeps CSS sizes in 1/64 pixels.
    assert.ok(Math.abs(devicePixels - 601) < 0.1, devicePixels + ' device pixels wide');
    const background = at(-250, -150), hat = at(100, 60), ground = at(100, -100);
    await site.waitForColour(page, hat.x, hat.y, RED, 'title screen hat');
    assert.deepStrictEqual(await site.pixel(page, GRAPHICS, background.x, background.y), BLACK);
    // The title's letters: white pixels inside the box of "VIRTUAL CHILLY!!".
    const title = await page.evaluate(function () {
      const canvas = document.querySelector('canvas[data-title="EASEL Graphics"]');
      const d = canvas.getContext('2d').getImageData(120, 35, 360, 45).data;
      let white = 0;
      for (let i = 0; i < d.length; i += 4) white += d[i] === 255 && d[i + 1] === 255 ? 1 : 0;
      return white;
    });
    assert.ok(title > 500, 'title letters: ' + title + ' white pixels');
    await page.keyboard.press('Space');
    await site.waitForColour(page, ground.x, ground.y, WHITE, 'winter ground');
    const button = at(-250, -17);
    await site.click(page, GRAPHICS, button.x, button.y);
    await site.waitForColour(page, ground.x, ground.y, BROWN, 'spring ground');
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });

  it('opens the Run menu with the mouse and with Alt, and its keys halt and step', async function () {
    const page = await gameWithKeys(web, ['H']);
    // Halted: nothing changes while the clock runs.
    assert.ok(await sameFrameFor(page, 400), 'a halted game kept drawing');
    // "Run" is the first title of the menu bar; its popup falls over the sky below it.
    const title = {x: 30, y: 10}, popup = {x: 280, y: 200};
    const bar = await site.pixel(page, GRAPHICS, title.x, title.y);
    const sky = await site.pixel(page, GRAPHICS, popup.x, popup.y);
    const changes = async function (point, from, what) {
      await page.waitForFunction(function (point, from) {
        const canvas = document.querySelector('canvas[data-title="EASEL Graphics"]');
        const d = canvas.getContext('2d').getImageData(point.x, point.y, 1, 1).data;
        return d[0] !== from[0] || d[1] !== from[1] || d[2] !== from[2];
      }, {timeout: 10000, polling: 50}, point, from).catch(function () {
        throw new Error(what);
      });
      return site.pixel(page, GRAPHICS, point.x, point.y);
    };
    await site.click(page, GRAPHICS, 15, 10);
    const menu = await changes(popup, sky, 'a click on "Run" opened no popup');
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    await site.waitForColour(page, popup.x, popup.y, sky, 'Escape closed the popup');
    // Alt alone selects the menu bar's first title; Down opens its popup, as the mouse did.
    await page.keyboard.press('Alt');
    await changes(title, bar, 'Alt selected no title');
    await page.keyboard.press('ArrowDown');
    await site.waitForColour(page, popup.x, popup.y, menu, 'Alt, Down opened the popup');
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    await site.waitForColour(page, popup.x, popup.y, sky, 'Escape closed the popup');
    await site.waitForColour(page, title.x, title.y, bar, 'Escape left the menu bar');
    // Ctrl+F advances one frame: the sky moves once, then stands still again.
    const before = JSON.stringify(await site.frame(page));
    await site.ctrl(page, 'F');
    await page.waitForFunction(function (before) {
      const canvas = document.querySelector('canvas[data-title="EASEL Graphics"]');
      const d = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      const pixels = [];
      for (let i = 0; i < d.length; i += 4) pixels.push((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]);
      return JSON.stringify({width: canvas.width, height: canvas.height, pixels: pixels}) !== before;
    }, {timeout: 10000, polling: 50}, before);
    assert.ok(await sameFrameFor(page, 400), 'one step went on drawing');
    // The page neither scrolled nor selected anything on those keys.
    assert.deepStrictEqual(await page.evaluate(function () {
      return [window.scrollY, String(window.getSelection())];
    }), [0, '']);
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });

  it('records a script, plays it back, and the headless host plays the download to the same pixels',
     async function () {
       // Recording from the first turn on, as the headless host plays a script from there.
       const page = await gameWithKeys(web, ['R', 'H']);
       const season = at(-250, -17), colour = at(-250, 83), ground = at(100, -100);
       await site.click(page, GRAPHICS, colour.x, colour.y);
       await site.click(page, GRAPHICS, colour.x, colour.y);
       await site.click(page, GRAPHICS, season.x, season.y);
       await site.waitForColour(page, ground.x, ground.y, BROWN, 'spring ground');
       await site.ctrl(page, 'R');
       const recorded = await site.frame(page);

       // Download script: the file that leaves the browser.
       const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'easel-download-'));
       const cdp = await page.createCDPSession();
       await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
       await page.click('#download-script');
       const file = path.join(downloads, 'EASEL.SCR');
       for (let i = 0; i < 100 && !fs.existsSync(file); ++i) {
         await new Promise(function (resolve) { setTimeout(resolve, 100); });
       }
       const script = fs.readFileSync(file, 'latin1');
       // Halted, the game got the tick it was waiting for, the three clicks and nothing else.
       assert.strictEqual(script, 'EASEL_PERIODIC(1);\nEASEL_MOUSE(-250, 83);\n' +
                                  'EASEL_MOUSE(-250, 83);\nEASEL_MOUSE(-250, -17);\n');

       // Three more seasons bring winter back; playing the script, as a file opened in the
       // page, browns the ground again.
       for (let i = 0; i < 3; ++i) await site.click(page, GRAPHICS, season.x, season.y);
       await site.waitForColour(page, ground.x, ground.y, WHITE, 'winter again');
       const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#open-script')]);
       await chooser.accept([file]);
       await site.waitForColour(page, ground.x, ground.y, BROWN, 'spring ground played back');

       // The headless host plays the downloaded script into a fresh game: its last frame is
       // the page's, pixel for pixel.
       const out = fs.mkdtempSync(path.join(os.tmpdir(), 'easel-replay-'));
       execFileSync(REPLAY, [file, '--out', out]);
       const frames = fs.readdirSync(out).sort();
       const last = png.read(path.join(out, frames[frames.length - 1]));
       assert.strictEqual(last.width, recorded.width);
       assert.strictEqual(last.height, recorded.height);
       const differing = last.pixels.findIndex(function (p, i) { return p !== recorded.pixels[i]; });
       if (differing !== -1) site.keep('recorded-page', recorded);
       assert.strictEqual(differing, -1, 'first differing pixel at ' + differing);
       fs.rmSync(out, {recursive: true, force: true});
       fs.rmSync(downloads, {recursive: true, force: true});
       assert.deepStrictEqual(page.problems, []);
       await page.close();
     });

  it('copies the log to the console with ?EASEL_LOG=stderr in its address', async function () {
    const lines = [];
    const page = await gameWithKeys(web, 'L', 'virtual-chilly.html?EASEL_LOG=stderr');
    page.on('console', function (message) { lines.push(message.text()); });
    // Logging is on (Ctrl+L) and the snowmen walk: every frame describes its circles.
    for (let waited = 0; waited < 10000 && !lines.some(isCircle); waited += 50) {
      await new Promise(function (resolve) { setTimeout(resolve, 50); });
    }
    assert.ok(lines.some(isCircle), 'no log line in the console: ' + lines.slice(0, 5).join(' | '));
    await page.close();
  });
});
