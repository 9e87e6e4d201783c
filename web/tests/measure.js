// Figures of the game's page in headless chromium (not a test; `node web/tests/measure.js`):
// the first frame after navigation; a frame's cost in the page against the native one, for
// frames drawn from a script and for ticks shown in real time; a long playback's time with and
// without the page's turns, and how soon the page answers while a script plays; the main
// thread's use of a core while the game is halted; and the page's gzipped transfer size. Run it
// on a quiet machine.
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const {execFileSync} = require('node:child_process');
const path = require('node:path');
const zlib = require('node:zlib');
const site = require('./site');

const RELEASE = path.join(site.ROOT, 'build', 'release');
const EASEL_RUN = path.join(RELEASE, 'tools', 'easel-run');
const GAME = path.join(RELEASE, 'app', 'virtual-chilly');

// The game past its title with ten snowmen going, then COUNT periodic events.
function gameScript(count) {
  let text = 'EASEL_KBD(32);\n' + 'EASEL_MOUSE(-250, 33);\n'.repeat(10) + 'EASEL_MOUSE(-250, 233);\n';
  text += 'EASEL_PERIODIC(1);\n'.repeat(count);
  return text;
}

// In the page before its program starts: the script as EASEL.SCR, Ctrl+P waiting for the first
// wait, and the host's count of the time the program runs between waits; with turns 'none',
// the page never takes a turn while the program runs.
function playOnStart(module, text, turns) {
  FS.writeFile('/EASEL.SCR', text);
  module.easelHost.busy = {ms: 0, runs: 0, longest: 0, span: 0};
  if (turns === 'none') module.easelHost.turnMs = Infinity;
  const CTRL = 'CTRL';
  module.easelHost.sendKeys([
    {kind: 'KEY_DOWN', vk: 0x11, scan: 224, mods: CTRL},
    {kind: 'KEY_DOWN', vk: 0x50, scan: 19, mods: CTRL, ch: 0x70},
    {kind: 'KEY_UP', vk: 0x50, scan: 19, mods: CTRL}, {kind: 'KEY_UP', vk: 0x11, scan: 224},
  ]);
}

// The game on the desktop (SDL on Xvfb, driven by xdotool), ten snowmen going: the CPU time per
// 100 ms tick over ten seconds, from /proc, of the game and of the X server that puts its
// pictures on the screen (as the page's figure holds the browser's painting).
function desktopTickMs() {
  const script = `
    set -e
    Xvfb :97 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
    trap 'kill $game $xvfb 2>/dev/null' EXIT
    export DISPLAY=:97
    for i in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    cd "$(mktemp -d)"; "$1" >/dev/null 2>&1 & game=$!
    window=$(timeout 30 xdotool search --sync --name '^EASEL Graphics$' | head -n 1)
    sleep 1; xdotool windowfocus --sync "$window" key space; sleep 0.5
    for i in $(seq 10); do xdotool mousemove 50 247 click 1; done
    xdotool mousemove 50 47 click 1; sleep 1
    cpu() { awk '{print $14 + $15}' /proc/$1/stat; }
    a=$(cpu $game); x=$(cpu $xvfb); sleep 10; b=$(cpu $game); y=$(cpu $xvfb)
    hz=$(getconf CLK_TCK)
    echo $(( (b - a) * 1000 / hz )) $(( (y - x) * 1000 / hz ))`;
  const [game, server] = execFileSync('bash', ['-c', script, 'measure', GAME]).toString().trim()
                             .split(' ').map(Number);
  return {game: +(game / 100).toFixed(3), withServer: +((game + server) / 100).toFixed(3)};
}

function sleep(ms) {
  return new Promise(function (resolve) { setTimeout(resolve, ms); });
}

async function main() {
  const {server, url} = await site.serve();
  const browser = await site.launch();
  const figures = {};

  // First frame: from the start of navigation to the graphics window's first picture, in a
  // browser that has shown a page already (the index), as a user's browser has; the median of
  // seven loads.
  const index = await browser.newPage();
  await index.goto(url + 'index.html');
  await index.close();
  const firsts = [];
  for (let i = 0; i < 7; ++i) {
    const page = await site.open(browser, url, 'virtual-chilly');
    await page.waitForFunction(function () { return Module.easelHost.firstPresent > 0; });
    firsts.push(Math.round(await page.evaluate(function () { return Module.easelHost.firstPresent; })));
    await page.close();
  }
  figures.first_frame_ms = firsts;
  figures.first_frame_median_ms = firsts.slice().sort(function (a, b) { return a - b; })[3];

  // A frame's cost, the same work in the page and natively: the game leaves its title, ten
  // snowmen are added and set going, then periodic events are played from a script, each one
  // a frame drawn and shown. The difference between a short and a long script is the cost of
  // its extra frames, without start-up and exit.
  const SHORT = 1000, LONG = 4000;
  const nativeMs = {}, pageMs = {};
  for (const count of [SHORT, LONG]) {
    const text = gameScript(count);
    const file = path.join(os.tmpdir(), 'easel-measure-' + count + '.scr');
    fs.writeFileSync(file, text);
    nativeMs[count] = Infinity;
    for (let i = 0; i < 3; ++i) {
      const start = process.hrtime.bigint();
      execFileSync(EASEL_RUN, ['--script', file, GAME]);
      nativeMs[count] = Math.min(nativeMs[count], Number(process.hrtime.bigint() - start) / 1e6);
    }
    fs.rmSync(file);
    // The whole script plays in one run of the program, between two waits (the page's turns
    // included): its longest. Also without the turns, and the longest time the page waited for
    // one.
    const playback = async function (turns) {
      let best = {span: Infinity, longest: Infinity};
      for (let i = 0; i < 3; ++i) {
        const played = await site.open(browser, url, 'virtual-chilly',
                                       {beforeRun: playOnStart, args: [text, turns]});
        await played.waitForFunction(function () {
          return Module.easelHost.busy !== null && Module.easelHost.busy.runs >= 2;
        }, {timeout: 120000, polling: 100});
        const busy = await played.evaluate(function () { return Module.easelHost.busy; });
        if (busy.span < best.span) best = busy;
        await played.close();
      }
      return best;
    };
    const turning = await playback('page');
    pageMs[count] = turning.span;
    if (count === LONG) {
      figures.page_playback_ms = +turning.span.toFixed(1);
      figures.page_playback_without_turns_ms = +(await playback('none')).span.toFixed(1);
    }
  }
  figures.native_frame_ms = +((nativeMs[LONG] - nativeMs[SHORT]) / (LONG - SHORT)).toFixed(3);
  figures.page_frame_ms = +((pageMs[LONG] - pageMs[SHORT]) / (LONG - SHORT)).toFixed(3);
  figures.page_to_native = +(figures.page_frame_ms / figures.native_frame_ms).toFixed(2);

  // A script without end playing: the longest the program kept the browser over three seconds,
  // and how long the page took to answer, the median and the longest of twenty questions.
  const endless = encodeURIComponent('EASEL_KBD(32);\nEASEL_PERIODIC(2147483647);\n');
  const playing = await site.open(browser, url, 'virtual-chilly.html?script=' +
                                  encodeURIComponent('data:text/plain,' + endless));
  await sleep(1000);
  await playing.evaluate(function () { Module.easelHost.busy = {ms: 0, runs: 0, longest: 0}; });
  const answers = [];
  for (let i = 0; i < 20; ++i) {
    const asked = Date.now();
    await playing.evaluate(function () { return 0; });
    answers.push(Date.now() - asked);
    await sleep(150);
  }
  answers.sort(function (a, b) { return a - b; });
  figures.endless_playback_longest_run_ms =
      +(await playing.evaluate(function () { return Module.easelHost.busy.longest; })).toFixed(1);
  figures.endless_playback_answer_ms = {median: answers[10], longest: answers[19]};
  await playing.close();

  // A frame as the player sees it, shown each tick in real time: the same game (ten snowmen
  // going) in the page, where a tick's cost is the main thread's (program, canvas, events), and
  // on the desktop under Xvfb, where it is the CPU time of the game and the X server.
  const page = await site.open(browser, url, 'virtual-chilly');
  await page.waitForFunction(function () { return Module.easelHost.firstPresent > 0; });
  await sleep(300);
  await page.keyboard.press('Space');
  await sleep(300);
  const add = site.canvasPoint(-250, 33), go = site.canvasPoint(-250, 233);
  for (let i = 0; i < 10; ++i) await site.click(page, 'EASEL Graphics', add.x, add.y);
  await site.click(page, 'EASEL Graphics', go.x, go.y);
  await sleep(1000);
  const cdp = await page.createCDPSession();
  await cdp.send('Performance.enable');
  const task = async function () {
    const {metrics} = await cdp.send('Performance.getMetrics');
    return metrics.find(function (m) { return m.name === 'TaskDuration'; }).value;
  };
  await page.evaluate(function () { Module.easelHost.busy = {ms: 0, runs: 0, longest: 0}; });
  let before = await task();
  await sleep(10000);
  const ticking = (await task()) - before;
  const ticks = await page.evaluate(function () { return Module.easelHost.busy.runs; });
  figures.page_tick_ms = +(1000 * ticking / Math.max(1, ticks)).toFixed(3);
  const desktop = desktopTickMs();
  figures.desktop_game_tick_ms = desktop.game;
  figures.desktop_tick_ms = desktop.withServer;
  figures.page_tick_to_desktop = +(figures.page_tick_ms / figures.desktop_tick_ms).toFixed(2);

  // Halted: the main thread's busy time over ten seconds.
  await site.ctrl(page, 'H');
  await sleep(1000);
  before = await task();
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
