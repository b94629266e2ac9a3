// Screenshots of the page in headless Chromium, in the scenes of tools/scenes.h (as
// korvane_scenes prints them) and with the error box of a refused press, for the README and
// for review. Every step is real input: clicks, keys and typing.
// Run from the project root after scripts/web.sh and a Linux build (for build/tools/korvane_scenes), with
// tests/web's packages installed:  node tools/web-screenshots.cjs [out-dir]
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const puppeteer = require(path.resolve('tests/web/node_modules/puppeteer-core'));

const out = process.argv[2] || 'docs/web';
const scenes = JSON.parse(execFileSync('build/tools/korvane_scenes', { encoding: 'utf8' }));
// A refused press: the box over the window.
scenes.push({ name: 'refused', tab: 0, entries: [['Text4', '1092x']], button: 'Command6', scrolls: [], planner: [] });

async function enter(page, name, text) {
  const list = await page.$(`select#${name}`);
  if (list) return page.select(`#${name}`, text);
  await page.click(`#${name}`, { clickCount: 3 });
  await page.keyboard.press('End');
  await page.keyboard.down('Shift');
  await page.keyboard.press('Home');
  await page.keyboard.up('Shift');
  await page.keyboard.type(text);
}

async function shoot(browser, scene) {
  const page = await browser.newPage();
  // The planner is the larger window; the box shows in the middle of the page.
  await page.setViewport(scene.planner.length ? { width: 1100, height: 800 } : { width: 640, height: 420 });
  await page.goto(`file://${path.resolve('build-web/korvane.html')}`);
  await page.evaluate(() => window.korvane.ready);
  await page.click(`[role="tab"]:nth-child(${scene.tab + 1})`);
  for (const [name, text] of scene.entries) await enter(page, name, text);
  for (const [name, value] of scene.scrolls) {
    await page.focus(`#${name}`);
    await page.keyboard.press('Home');
    for (let i = 0; i < value; ++i) await page.keyboard.press('ArrowDown');
  }
  if (scene.button) await page.click(`#${scene.button}`);
  let window = '#main';
  if (scene.planner.length) {
    await page.focus('#Text4');
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyL');
    await page.keyboard.up('Control');
    for (const [name, text] of scene.planner) await enter(page, name, text);
    if (scene.plannerRow) await page.click(`#${scene.plannerRow}`);
    if (scene.plannerClick) await page.click(`#${scene.plannerClick}`);
    window = '#planner';
  }
  await new Promise((done) => setTimeout(done, 100));
  const target = (await page.$('dialog[open]')) ? page : await page.$(window);
  await target.screenshot({ path: `${out}/${scene.name}.png` });
  await page.close();
}

(async () => {
  fs.mkdirSync(out, { recursive: true });
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu'],
  });
  for (const scene of scenes) await shoot(browser, scene);
  await browser.close();
})();
