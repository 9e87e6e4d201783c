// The page around a program says in one line what keeps it from running: opened as a file
// instead of served, in a browser without WebAssembly, or with the program's code missing.
'use strict';

const assert = require('node:assert');
const {describe, it} = require('node:test');
const path = require('node:path');
const site = require('./site');

async function status(page) {
  await page.waitForFunction(function () {
    return document.getElementById('status').className === 'problem';
  }, {timeout: 10000});
  return page.evaluate(function () { return document.getElementById('status').textContent; });
}

describe('the page', function () {
  const web = site.suite();

  it('opened from file:// says that it must be served, and how', async function () {
    const page = await web.browser.newPage();
    await page.goto('file://' + path.join(site.SITE, 'virtual-chilly.html'));
    assert.match(await status(page), /must be served over HTTP.*make web-serve/);
    await page.close();
  });

  it('in a browser without WebAssembly says so and loads nothing', async function () {
    const page = await web.browser.newPage();
    await page.evaluateOnNewDocument(function () { delete window.WebAssembly; });
    const loaded = [];
    page.on('request', function (request) { loaded.push(request.url()); });
    await page.goto(web.url + 'virtual-chilly.html');
    assert.match(await status(page), /cannot run WebAssembly/);
    assert.ok(!loaded.some(function (u) { return u.endsWith('.wasm'); }), loaded.join(' '));
    await page.close();
  });

  it('without its program\'s code says which file is missing and how to build it', async function () {
    const page = await web.browser.newPage();
    await page.setRequestInterception(true);
    page.on('request', function (request) {
      if (request.url().endsWith('.wasm')) request.respond({status: 404, body: ''});
      else request.continue();
    });
    await page.goto(web.url + 'virtual-chilly.html');
    assert.match(await status(page), /^Cannot load virtual-chilly\.wasm \(404.*"make web"/);
    await page.close();
  });
});
