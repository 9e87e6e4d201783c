// What the browser tests share: a static server for build/web on 127.0.0.1, Debian's chromium
// driven by puppeteer-core (never a downloaded browser), and helpers that read a window's
// canvas and send it input the way a user would.
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const ROOT = path.resolve(__dirname, '..', '..');
const SITE = process.env.EASEL_WEB_SITE || path.join(ROOT, 'build', 'web');
const CHROMIUM = process.env.EASEL_CHROMIUM || '/usr/lib/chromium/chromium';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.css': 'text/css', '.png': 'image/png',
};

// Serves the built pages (or another folder of pages); only files inside the folder.
function serve(folder = SITE) {
  const server = http.createServer(function (request, response) {
    const url = new URL(request.url, 'http://127.0.0.1');
    const file = path.join(folder, path.normalize(decodeURIComponent(url.pathname)));
    const name = file.endsWith(path.sep) ? path.join(file, 'index.html') : file;
    if (!name.startsWith(folder) || !fs.existsSync(name) || fs.statSync(name).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream'});
    fs.createReadStream(name).pipe(response);
  });
  return new Promise(function (resolve) {
    server.listen(0, '127.0.0.1', function () {
      resolve({server: server, url: 'http://127.0.0.1:' + server.address().port + '/'});
    });
  });
}

async function launch() {
  const profile = fs.mkdtempSync(path.join(require('node:os').tmpdir(), 'easel-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    ],
  });
  browser.profile = profile;
  return browser;
}

async function close(browser) {
  await browser.close();
  fs.rmSync(browser.profile, {recursive: true, force: true});
}

// What a suite of browser tests shares: the site served and one browser, both started before
// its first test and closed after its last (node:test's hooks of the calling suite). `folder`,
// a function, names another folder to serve once the suite's own hooks have made it.
function suite(folder) {
  const {before, after} = require('node:test');
  const shared = {browser: null, url: null, server: null};
  shared.open = function (program, options) {
    return open(shared.browser, shared.url, program, options);
  };
  before(async function () {
    ({server: shared.server, url: shared.url} = await serve(folder ? folder() : SITE));
    shared.browser = await launch();
  });
  after(async function () {
    if (shared.browser) await close(shared.browser);
    if (shared.server) shared.server.close();
  });
  return shared;
}

// In the page, before any of its scripts: `source` (a function's text) runs once with the
// module and `args` just before the program starts (emscripten's preRun), whatever the page
// itself puts in the module.
function installBeforeRun(source, args) {
  const run = (0, eval)('(' + source + ')');
  let module;
  Object.defineProperty(window, 'Module', {
    configurable: true,
    get: function () { return module; },
    set: function (value) {
      module = value;
      module.preRun = [].concat(module.preRun || [], function () {
        if (module.beforeRunDone) return;
        module.beforeRunDone = true;
        run.apply(null, [module].concat(args));
      });
    },
  });
}

// A page of the site (a program's name, or NAME.html?...) with its program running and its
// graphics window on the canvas. Options: scale, the display's device pixels per CSS pixel;
// beforeRun, a function run in the page with the module (and args) before the program starts.
async function open(browser, url, program, options) {
  const {scale = 1, beforeRun = null, args = []} = options || {};
  const page = await browser.newPage();
  await page.setViewport({width: 1100, height: 1000, deviceScaleFactor: scale});
  page.problems = [];
  page.on('pageerror', function (error) { page.problems.push(String(error)); });
  if (beforeRun) await page.evaluateOnNewDocument(installBeforeRun, beforeRun.toString(), args);
  await page.goto(url + (program.includes('.html') ? program : program + '.html'));
  await page.waitForFunction(function () {
    return document.querySelector('canvas[data-title="EASEL Graphics"]') !== null;
  }, {timeout: 20000});
  return page;
}

// The colour at a point of a window's canvas (its whole area, menu bar included) as [r, g, b].
function pixel(page, title, x, y) {
  return page.evaluate(function (title, x, y) {
    const canvas = document.querySelector('canvas[data-title="' + title + '"]');
    const data = canvas.getContext('2d').getImageData(x, y, 1, 1).data;
    return [data[0], data[1], data[2]];
  }, title, x, y);
}

// Waits until a point of the graphics window has a colour.
async function waitForColour(page, x, y, rgb, what) {
  try {
    await page.waitForFunction(function (x, y, rgb) {
      const canvas = document.querySelector('canvas[data-title="EASEL Graphics"]');
      const d = canvas.getContext('2d').getImageData(x, y, 1, 1).data;
      return d[0] === rgb[0] && d[1] === rgb[1] && d[2] === rgb[2];
    }, {timeout: 10000, polling: 50}, x, y, rgb);
  } catch (error) {
    const got = await pixel(page, 'EASEL Graphics', x, y);
    throw new Error(what + ': (' + x + ', ' + y + ') is ' + got + ', not ' + rgb);
  }
}

// The graphics window's pixels, 0x00RRGGBB row by row, and its size.
function frame(page, title) {
  return page.evaluate(function (title) {
    const canvas = document.querySelector('canvas[data-title="' + (title || 'EASEL Graphics') + '"]');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const pixels = new Array(canvas.width * canvas.height);
    for (let i = 0; i < pixels.length; ++i) {
      pixels[i] = (data[4 * i] << 16) | (data[4 * i + 1] << 8) | data[4 * i + 2];
    }
    return {width: canvas.width, height: canvas.height, pixels: pixels};
  }, title);
}

// A point of the graphics window in the package's coordinates (origin at the image's centre, y
// up) as a point of its canvas: the image is 601 x 520 below a 20-pixel menu bar.
function canvasPoint(x, y) {
  return {x: 300 + x, y: 280 - y};
}

// Clicks a canvas point with the mouse, through the canvas's place and CSS size on the page.
async function click(page, title, x, y) {
  const box = await page.evaluate(function (title) {
    const canvas = document.querySelector('canvas[data-title="' + title + '"]');
    const r = canvas.getBoundingClientRect();
    return {left: r.left, top: r.top, scale: r.width / canvas.width};
  }, title);
  await page.mouse.click(box.left + (x + 0.5) * box.scale, box.top + (y + 0.5) * box.scale);
}

// Presses Ctrl and a letter.
async function ctrl(page, letter) {
  await page.keyboard.down('Control');
  await page.keyboard.press('Key' + letter.toUpperCase());
  await page.keyboard.up('Control');
}

// Keeps a frame that a test found wrong as a PPM picture in the artifacts folder.
function keep(name, picture) {
  const folder = process.env.CHILLY_ARTIFACTS || path.join(ROOT, 'build', 'test-artifacts');
  fs.mkdirSync(folder, {recursive: true});
  const body = Buffer.alloc(picture.width * picture.height * 3);
  picture.pixels.forEach(function (p, i) {
    body[3 * i] = (p >> 16) & 255;
    body[3 * i + 1] = (p >> 8) & 255;
    body[3 * i + 2] = p & 255;
  });
  const file = path.join(folder, 'web-' + name + '.ppm');
  fs.writeFileSync(file, Buffer.concat([
    Buffer.from('P6\n' + picture.width + ' ' + picture.height + '\n255\n'), body]));
  console.log('frame kept as ' + file);
}

module.exports = {
  keep,
  ROOT, SITE, serve, launch, close, open, suite, pixel, waitForColour, frame, canvasPoint, click, ctrl,
};
