// Figures of the game's page in headless chromium (not a test; `node web/tests/measure.js`):
// the first frame after navigation, the time the program runs per animation frame, the main
// thread's use of a core while the game is halted, and the page's gzipped transfer size.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const site = require('./site');

function sleep(ms) {
  return new Promise(function (resolve) { setTimeout(resolve, ms); });
}

async function main() {
  const {server, url} = await site.serve();
  const browser = await site.launch();
  const figures = {};

  // First frame: from the start of navigation to the graphics window's first picture.
  const firsts = [];
  for (let i = 0; i < 5; ++i) {
    const page = await site.open(browser, url, 'virtual-chilly');
    await page.waitForFunction(function () { return Module.easelHost.firstPresent > 0; });
    firsts.push(await page.evaluate(function () { return Module.easelHost.firstPresent; }));
    await page.close();
  }
  figures.first_frame_ms = firsts.map(function (t) { return Math.round(t); });

  const page = await site.open(browser, url, 'virtual-chilly');
  await page.waitForFunction(function () { return Module.easelHost.firstPresent > 0; });
  await sleep(300);
  await page.keyboard.press('Space');
  await sleep(300);
  // Ten snowmen moving, then the time the program ran for each wait it came back from.
  const add = site.canvasPoint(-250, 8), go = site.canvasPoint(-250, 233);
  for (let i = 0; i < 10; ++i) await site.click(page, 'EASEL Graphics', add.x, add.y);
  await site.click(page, 'EASEL Graphics', go.x, go.y);
  await sleep(500);
  await page.evaluate(function () { Module.easelHost.busy = {ms: 0, runs: 0}; });
  await sleep(5000);
  const busy = await page.evaluate(function () { return Module.easelHost.busy; });
  figures.run_per_wake_ms = +(busy.ms / Math.max(1, busy.runs)).toFixed(3);
  figures.wakes = busy.runs;

  // Halted: the main thread's busy time over ten seconds.
  await site.ctrl(page, 'H');
  await sleep(1000);
  const cdp = await page.createCDPSession();
  await cdp.send('Performance.enable');
  const task = async function () {
    const {metrics} = await cdp.send('Performance.getMetrics');
    return metrics.find(function (m) { return m.name === 'TaskDuration'; }).value;
  };
  const before = await task();
  const start = Date.now();
  await sleep(10000);
  const used = (await task()) - before;
  figures.halted_core_percent = +(100 * used / ((Date.now() - start) / 1000)).toFixed(3);
  await page.close();
  await site.close(browser);
  server.close();

  // What the page transfers, each file gzipped.
  let bytes = 0;
  for (const name of ['virtual-chilly.html', 'page.js', 'page.css', 'virtual-chilly.js',
                      'virtual-chilly.wasm']) {
    bytes += zlib.gzipSync(fs.readFileSync(path.join(site.SITE, name)), {level: 9}).length;
  }
  figures.gzipped_page_bytes = bytes;
  console.log(JSON.stringify(figures, null, 2));
}

main().catch(function (error) {
  console.error(error);
  process.exit(1);
});
