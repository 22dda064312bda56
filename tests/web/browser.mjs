// The page as a person meets it, in Debian's headless Chromium driven by
// playwright-core.  Usage: node browser.mjs CASE BUILD_DIR MODULES_DIR SCREENSHOT_CHECK
// Exits 77 when Chromium, playwright-core or the checker is missing.
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, writeFileSync, readFileSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';

const [caseName, build, modules, checker] = process.argv.slice(2);
const chromiumPath = '/usr/bin/chromium';
const skip = (why) => { console.log(`skipped: ${why}`); process.exit(77); };
if (!existsSync(chromiumPath)) skip('no /usr/bin/chromium');
if (!existsSync(path.join(modules, 'node_modules/playwright-core'))) skip(`no playwright-core in ${modules}`);
const { chromium } = createRequire(path.join(modules, 'package.json'))('playwright-core');
const out = path.join(build, 'web-tests', caseName);
execFileSync('mkdir', ['-p', out]);
const fail = (message) => { throw new Error(message); };
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const types = { '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.wasm': 'application/wasm' };
function serve(root) {
  const server = http.createServer(async (request, response) => {
    try {
      const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://h').pathname));
      const body = await readFile(file);
      response.writeHead(200, { 'content-type': types[path.extname(file)] ?? 'application/octet-stream' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const browser = await chromium.launch({ executablePath: chromiumPath, headless: true });
const servers = [];
const errors = [];
async function open(url, options = {}) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 }, ...options });
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(url);
  await page.waitForFunction(() => document.querySelector('glyph-aquarium')?.columns > 0);
  return page;
}
async function served(root, query, options) {
  const server = await serve(root);
  servers.push(server);
  return open(`http://127.0.0.1:${server.address().port}/${query}`, options);
}
const aquarium = (page) => page.evaluate(() => {
  const { columns, rows, ticks, seed, running } = document.querySelector('glyph-aquarium');
  return { columns, rows, ticks, seed, running, fullscreen: !!document.fullscreenElement };
});
const ticking = async (page, expected) => {
  const before = (await aquarium(page)).ticks;
  await sleep(600);
  const after = (await aquarium(page)).ticks;
  if ((after > before) !== expected) fail(`ticks went from ${before} to ${after}: ${expected ? 'stopped' : 'still ticking'}`);
};
// Water in its colour on grid rows 5 to 8, the castle's colours at the
// bottom right and a changed second shot, by the native hosts' checker.
async function checkShots(page, name) {
  if (!existsSync(checker)) skip('no screenshot checker (configure with -DGLYPH_SCREENSHOT_CHECK=...)');
  const shots = [];
  for (const which of ['first', 'later']) {
    const png = path.join(out, `${name}-${which}.png`);
    await page.screenshot({ path: png });
    execFileSync('convert', [png, `ppm:${png}.ppm`]);
    shots.push(`${png}.ppm`);
    await sleep(1000);
  }
  console.log(execFileSync(checker, [shots[0], 'auto', 'auto', shots[1]], { encoding: 'utf8' }));
}

const cases = {
  async page() {
    // Counts the characters drawn, to see that a frame repaints only what changed.
    const page = await served(build, 'index.html?seed=7');
    await page.evaluate(() => {
      const draw = CanvasRenderingContext2D.prototype.fillText;
      window.drawn = 0;
      CanvasRenderingContext2D.prototype.fillText = function (text, ...rest) { window.drawn += text.length; return draw.call(this, text, ...rest); };
    });
    await checkShots(page, 'page');
    // Painting the changes alone must leave the picture a full redraw makes at the same tick.
    const whole = await served(build, 'index.html?seed=7&redraw=all');
    const stopped = await page.evaluate(() => { const a = document.querySelector('glyph-aquarium'); a.stop(); return a.ticks; });
    await whole.waitForFunction((n) => { const a = document.querySelector('glyph-aquarium'); return a.ticks >= n && (a.stop(), true); }, stopped, { polling: 'raf' });
    if ((await aquarium(whole)).ticks !== stopped) fail('the full redraw did not stop at the same tick');
    await page.screenshot({ path: path.join(out, 'changes.png') });
    await whole.screenshot({ path: path.join(out, 'whole.png') });
    const differing = spawnSync('compare', ['-metric', 'AE', ...['changes', 'whole', 'diff'].map((n) => path.join(out, `${n}.png`))], { encoding: 'utf8' }).stderr;
    console.log(`after ${stopped} ticks, ${differing} pixels differ from a full redraw`);
    if (differing !== '0') fail('painting the changes leaves another picture');
    await page.evaluate(() => document.querySelector('glyph-aquarium').start());
    const perFrame = async () => {
      const before = await page.evaluate(() => [window.drawn, document.querySelector('glyph-aquarium').ticks]);
      await sleep(1000);
      const after = await page.evaluate(() => [window.drawn, document.querySelector('glyph-aquarium').ticks]);
      return (after[0] - before[0]) / (after[1] - before[1]);
    };
    const changed = await perFrame();
    await page.evaluate(() => document.querySelector('glyph-aquarium').setAttribute('redraw', 'all'));
    const full = await perFrame();
    console.log(`${changed.toFixed(0)} characters drawn a frame, ${full.toFixed(0)} when every row is redrawn`);
    if (changed > full * 0.8) fail('frames draw more than the changed cells');
  },
  async resize() {
    const page = await served(build, 'index.html?seed=9');
    await sleep(500);
    const before = await aquarium(page);
    await page.setViewportSize({ width: 800, height: 600 });
    await sleep(300);
    const after = await aquarium(page);
    console.log(`${before.columns}x${before.rows} after ${before.ticks} ticks, then ${after.columns}x${after.rows} after ${after.ticks}`);
    if (after.rows !== Math.floor(600 / (800 / before.rows)) || after.columns >= before.columns) fail('the grid did not follow the window');
    if (after.ticks >= before.ticks || after.seed !== 9) fail('the aquarium did not start afresh with its seed');
    await ticking(page, true);
  },
  async screensaver() {
    const page = await served(build, 'index.html?screensaver&seed=5');
    await page.evaluate(() => {
      window.endings = 0;
      document.querySelector('glyph-aquarium').addEventListener('ended', () => ++window.endings);
      window.wakeLocks = 0;
      if (navigator.wakeLock) {
        const request = navigator.wakeLock.request.bind(navigator.wakeLock);
        navigator.wakeLock.request = (type) => { ++window.wakeLocks; return request(type); };
      }
    });
    const expect = async (fullscreen, after) => {
      await sleep(200);
      if ((await aquarium(page)).fullscreen !== fullscreen) fail(`${fullscreen ? 'not' : 'still'} full screen after ${after}`);
    };
    await page.mouse.click(640, 400);
    await expect(true, 'a click');
    await page.mouse.move(700, 400);
    await page.mouse.move(760, 420);
    await expect(true, 'movements within the grace period');
    await sleep(2000);
    await page.keyboard.press('a');
    await expect(false, 'a key');
    await page.keyboard.press('b');
    await expect(true, 'a key on the start control');
    await sleep(2100);
    await page.mouse.move(300, 300); // the first position seen
    await expect(true, 'the first movement after the grace period');
    await page.mouse.move(310, 300);
    await expect(false, 'a movement after the grace period');
    await page.mouse.click(640, 400);
    await page.mouse.click(640, 400, { button: 'right' });
    await expect(false, 'a right click');
    const { endings, wakeLocks, offered } = await page.evaluate(() => ({ ...window, offered: !!navigator.wakeLock }));
    console.log(`${endings} endings, ${wakeLocks} wake lock requests (offered: ${offered})`);
    if (endings !== 3 || (offered && wakeLocks !== 3)) fail('each run must end with an ended event and hold a wake lock');
    await ticking(page, true);
  },
  async still() {
    const page = await served(build, 'index.html?seed=4', { reducedMotion: 'reduce' });
    await ticking(page, false);
    await page.getByRole('button').click();
    await ticking(page, true);
  },
  async hidden() {
    // Headless Chromium keeps every tab visible, so the page is told the browser's way it is hidden.
    const page = await served(build, 'index.html?seed=2');
    const hide = (hidden) => page.evaluate((hidden) => {
      Object.defineProperty(document, 'hidden', { configurable: true, get: () => hidden });
      document.dispatchEvent(new Event('visibilitychange'));
    }, hidden);
    await ticking(page, true);
    await hide(true);
    await ticking(page, false);
    await hide(false);
    await ticking(page, true);
  },
  async file() {
    const page = await open(`file://${build}/glyphmarinae.html?seed=3`);
    await checkShots(page, 'file');
  },
  async npm() {
    const scratch = mkdtempSync(path.join(os.tmpdir(), 'glyph-npm-'));
    const version = JSON.parse(readFileSync(path.join(build, 'npm/package.json'))).version;
    const tarball = execFileSync('npm', ['pack', '--pack-destination', scratch, path.join(build, 'npm')], { encoding: 'utf8' }).trim();
    if (tarball !== `glyphmarinae-${version}.tgz`) fail(`npm pack made ${tarball}`);
    execFileSync('npm', ['install', '--offline', '--no-audit', '--no-fund', `./${tarball}`], { cwd: scratch });
    const installed = (file) => path.join(scratch, 'node_modules/glyphmarinae', file);
    const { license } = JSON.parse(readFileSync(installed('package.json')));
    if (license !== 'MIT' || !existsSync(installed('LICENSE'))) fail(`the installed package's licence is ${license}, or it lacks LICENSE`);
    writeFileSync(path.join(scratch, 'index.html'), `<!DOCTYPE html><link rel="icon" href="data:,">
<script type="importmap">{ "imports": { "glyphmarinae": "./node_modules/glyphmarinae/glyph-aquarium.js" } }</script>
<script type="module">import 'glyphmarinae';</script>
<glyph-aquarium seed="7" fps="20" style="width: 640px; height: 400px"></glyph-aquarium>`);
    const page = await served(scratch, 'index.html');
    await ticking(page, true);
    execFileSync('rm', ['-rf', scratch]);
  },
};

let status = 0;
try {
  await cases[caseName]();
  if (errors.length) fail(`console errors: ${errors.join(' | ')}`);
  console.log(`ok ${caseName}`);
} catch (error) {
  console.error(`FAIL [${caseName}]: ${error.message}`);
  status = 1;
}
await browser.close();
for (const server of servers) server.close();
process.exit(status);
