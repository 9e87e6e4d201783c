const m = require('fs').readFileSync('measure.js', 'utf8');
const gameScript = eval('(' + m.match(/function gameScript[\s\S]*?\n}/)[0] + ')');
const playOnStart = eval('(' + m.match(/function playOnStart[\s\S]*?\n}/)[0] + ')');
(async () => {
  const sites = {};
  for (const dir of ['/tmp/siteA', '/tmp/webprof/site']) {
    process.env.EASEL_WEB_SITE = dir; delete require.cache[require.resolve('./site.js')];
    sites[dir] = await require('./site.js').serve();
  }
  const site = require('./site.js'); const browser = await site.launch(); const res = {};
  for (let i = 0; i < 4; ++i) for (const dir of Object.keys(sites)) for (const n of [300, 1300]) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(playOnStart, gameScript(n));
    await page.goto(sites[dir].url + 'virtual-chilly.html');
    await page.waitForFunction(() => Module.easelHost.busy && Module.easelHost.busy.runs >= 2, {timeout: 60000});
    const t = await page.evaluate(() => Module.easelHost.busy.longest);
    ((res[dir] = res[dir] || {})[n] = res[dir][n] || []).push(t);
    await page.close();
  }
  for (const dir in res) { const a = Math.min(...res[dir][300]), b = Math.min(...res[dir][1300]); console.log(dir, ((b - a) / 1000).toFixed(3), 'ms/frame', JSON.stringify(res[dir])); }
  await site.close(browser); for (const s of Object.values(sites)) s.server.close();
})();
