// An example's page in Debian's chromium: bounce.html?script=... plays the example's script from
// its first wait, as the headless runner does, and the click that hits the ball scores.
'use strict';

const assert = require('node:assert');
const {describe, it} = require('node:test');
const site = require('./site');

const GOLD = [204, 153, 51], WHITE = [255, 255, 255];

describe('an example page', function () {
  const web = site.suite();

  it('plays the script named in its address: a miss scores nothing, a hit one star', async function () {
    const page = await web.open('bounce.html?script=scripts/bounce.scr');
    const star = site.canvasPoint(280, 228), second = site.canvasPoint(255, 228);
    await site.waitForColour(page, star.x, star.y, GOLD, 'the first point\'s star');
    assert.deepStrictEqual(await site.pixel(page, 'EASEL Graphics', second.x, second.y), WHITE);
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });

  it('says in the page when the script cannot be fetched, and the package says it in its log',
     async function () {
       const page = await web.open('bounce.html?script=scripts/missing.scr');
       await page.waitForFunction(function () {
         return /Cannot fetch the script/.test(document.getElementById('status').textContent);
       }, {timeout: 10000});
       // The log window shows its newest line at the bottom: dark pixels there once the package
       // wrote its line (the example itself logs only hits, and nothing hits without a script).
       await page.waitForFunction(function () {
         const canvas = document.querySelector('canvas[data-title="EASEL Text"]');
         const d = canvas.getContext('2d').getImageData(0, canvas.height - 20, 300, 20).data;
         for (let i = 0; i < d.length; i += 4) if (d[i] < 100) return true;
         return false;
       }, {timeout: 10000});
       await page.close();
     });
});
