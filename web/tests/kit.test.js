// The installed web kit, used as a newcomer would: from a prefix holding the native package and
// the web kit, programs written here, outside the checkout, become pages with easel-web and with
// easel_add_web_page(); in chromium they show the frames that easel-run draws headless from the
// same source built natively; a compile error reaches the user as the compiler wrote it; the
// gallery lists the pages with their first frames.
'use strict';

const assert = require('node:assert');
const {describe, it, before, after} = require('node:test');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {execFileSync, spawnSync} = require('node:child_process');
const site = require('./site');
const png = require('./png');
const {digest, headlessFrames, observeFrames, assertShowsInOrder} = require('./frames');

const BUILD = path.join(site.ROOT, 'build');

// A square, the program's name, and a red dot wherever a click lands.
const DOTS = `#include <easel.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int32_t x, y;
  char key;
  int event;
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  EASEL_rectangle(4, -50, 50, 50, -50, 0);
  EASEL_text(0, -120, 120, 16, "Dots");
  while ((event = EASEL_await_event(&x, &y, &key)) != EASEL_QUIT) {
    if (event == EASEL_MOUSE) EASEL_circle(2, x, y, 10);
  }
  EASEL_close();
  return 0;
}
`;
// C++ with its own main.
const RINGS = `#include <easel.h>

int main() {
  EASEL_open(nullptr, nullptr, nullptr, 0);
  EASEL_logging(0);
  EASEL_clear();
  for (int r = 100; r >= 20; r -= 20) EASEL_circle(r / 20 + 1, 0, 0, r);
  while (EASEL_await_event(nullptr, nullptr, nullptr) != EASEL_QUIT) {
  }
  EASEL_close();
}
`;
const CLICK = {x: 20, y: 30};
const SCRIPT = `EASEL_MOUSE(${CLICK.x}, ${CLICK.y});\n`;

describe('the installed web kit', function () {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'easel-kit-'));
  const prefix = path.join(work, 'prefix');
  const pages = path.join(work, 'site');
  const easelWeb = path.join(prefix, 'bin', 'easel-web');
  let expected;  // the headless frames of dots.c: before and after the script's click

  before(function () {
    for (const tree of ['release', 'web-cmake']) {
      execFileSync('cmake', ['--install', path.join(BUILD, tree), '--prefix', prefix], {stdio: 'pipe'});
    }
    fs.writeFileSync(path.join(work, 'dots.c'), DOTS);
    fs.writeFileSync(path.join(work, 'rings.cpp'), RINGS);
    fs.writeFileSync(path.join(work, 'dots.scr'), SCRIPT);
    const made = execFileSync(easelWeb, ['-o', pages, '--title', 'Dots & co', '--script',
                                         'dots.scr', 'dots.c'], {cwd: work, encoding: 'utf8'});
    assert.strictEqual(made.trim(), path.join(pages, 'dots.html'));
    execFileSync(easelWeb, ['-o', pages, 'rings.cpp'], {cwd: work, stdio: 'pipe'});

    // The same source, native, against the installed package, through easel-run.
    const flags = execFileSync('pkg-config', ['--cflags', '--libs', 'easel-static'], {
      encoding: 'utf8', env: {...process.env, PKG_CONFIG_PATH: path.join(prefix, 'lib', 'pkgconfig')},
    }).trim().split(/\s+/);
    const native = path.join(work, 'dots');
    execFileSync('cc', [path.join(work, 'dots.c'), ...flags, '-o', native]);
    expected = headlessFrames(path.join(prefix, 'bin', 'easel-run'), function (out) {
      return ['--script', path.join(work, 'dots.scr'), '--frames', out, native];
    });
    assert.strictEqual(expected.length, 2);
    assert.notStrictEqual(expected[0], expected[1]);

    // The installed project template, with dots.c and a script beside it, under emcmake.
    const project = path.join(work, 'project');
    fs.cpSync(path.join(prefix, 'share', 'doc', 'easel', 'examples', 'web'), project, {recursive: true});
    fs.copyFileSync(path.join(work, 'dots.c'), path.join(project, 'dots.c'));
    fs.copyFileSync(path.join(work, 'dots.scr'), path.join(project, 'EASEL.SCR'));
    const env = {...process.env, NODE_PATH: '/usr/share/nodejs'};
    execFileSync('emcmake', ['cmake', '-S', project, '-B', path.join(project, 'build'),
                             '-DCMAKE_BUILD_TYPE=Release', '-DCMAKE_FIND_ROOT_PATH=' + prefix],
                 {env: env, stdio: 'pipe'});
    execFileSync('cmake', ['--build', path.join(project, 'build')], {env: env, stdio: 'pipe'});
  });
  after(function () { fs.rmSync(work, {recursive: true, force: true}); });

  const web = site.suite(function () { return pages; });

  it('makes a page that shows the headless frames: its first picture, a click, a played script',
     async function () {
       assert.match(fs.readFileSync(path.join(pages, 'dots.html'), 'utf8'), /<title>Dots &amp; co<\/title>/);
       const played = await web.open('dots.html?script=dots.scr', {beforeRun: observeFrames});
       await assertShowsInOrder(played, expected);
       await played.close();

       const clicked = await web.open('dots', {beforeRun: observeFrames});
       await assertShowsInOrder(clicked, expected.slice(0, 1));
       const point = site.canvasPoint(CLICK.x, CLICK.y);
       await site.click(clicked, 'EASEL Graphics', point.x, point.y);
       await assertShowsInOrder(clicked, expected);
       await clicked.close();
     });

  it('makes the same page through easel_add_web_page() in a project of its own', async function () {
    const built = path.join(work, 'project', 'build');
    for (const file of ['my_program.html', 'my_program.js', 'my_program.wasm', 'my_program.scr']) {
      fs.copyFileSync(path.join(built, file), path.join(pages, file));
    }
    const page = await web.open('my_program.html?script=my_program.scr', {beforeRun: observeFrames});
    await assertShowsInOrder(page, expected);
    await page.close();
  });

  it('reports a compile error as the compiler wrote it, with status 1 and no page', function () {
    fs.writeFileSync(path.join(work, 'broken.c'), '#include <easel.h>\nint main(void) { return nope; }\n');
    const run = spawnSync(easelWeb, ['-o', pages, 'broken.c'], {cwd: work, encoding: 'utf8'});
    assert.strictEqual(run.status, 1);
    assert.match(run.stderr, /broken\.c:2:\d+: error: use of undeclared identifier 'nope'/);
    assert.ok(!fs.existsSync(path.join(pages, 'broken.html')));
  });

  it('writes a gallery of the pages with their first frames as thumbnails', function () {
    execFileSync(easelWeb, ['--index', pages], {stdio: 'pipe'});
    const index = fs.readFileSync(path.join(pages, 'index.html'), 'utf8');
    assert.match(index, /<a href="dots\.html"><img src="dots\.png"[^>]*><br>Dots &amp; co<\/a>/);
    assert.match(index, /<a href="rings\.html"><img src="rings\.png"[^>]*><br>rings<\/a>/);
    // The thumbnail is the first frame the page shows.
    assert.strictEqual(digest(png.read(path.join(pages, 'dots.png')).pixels), expected[0]);
    assert.ok(fs.statSync(path.join(pages, 'rings.png')).size > 0);
  });
});
