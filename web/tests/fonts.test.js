// The pages embed the desktop's fonts cut to Latin-1: each must draw every Latin-1 glyph at every
// size exactly as the full font does, through the pages' own FreeType (font_check.cpp in node).
'use strict';

const assert = require('node:assert');
const {it} = require('node:test');
const fs = require('node:fs');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const site = require('./site');

const BUILD = process.env.EASEL_WEB_BUILD || path.join(site.ROOT, 'build', 'web-cmake');

it('the embedded fonts draw every Latin-1 glyph as the full fonts do', function () {
  const pairs = fs.readFileSync(path.join(BUILD, 'fonts', 'fonts.txt'), 'utf8').trim().split('\n');
  assert.strictEqual(pairs.length, 3);
  for (const pair of pairs) {
    const [full, subset] = pair.split(' ');
    assert.ok(fs.statSync(subset).size < fs.statSync(full).size / 2, `${subset} is not cut`);
    try {
      execFileSync('node', [path.join(BUILD, 'font_check.js'), full, subset], {stdio: 'pipe'});
    } catch (error) {
      assert.fail(`${subset} draws unlike ${full}:\n${error.stdout}${String(error.stderr).slice(-400)}`);
    }
  }
});
