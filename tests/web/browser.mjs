// The page as a person meets it, in Debian's headless Chromium driven by
// playwright-core.  Usage: node browser.mjs CASE BUILD_DIR MODULES_DIR SCREENSHOT_CHECK
// Exits 77 when Chromium, playwright-core or the checker is missing.
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, writeFileSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { redrawWhole, serve } from '../../bench/web_page.mjs';

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

const browser = await chromium.launch({ executablePath: chromiumPath, headless: true });
const servers = [];
const errors = [];
const warnings = [];
// A window smaller than its screen, as a browser's is but for a kiosk's.
// `init` runs in the page before its scripts; `broken` pages may log errors
// and show no aquarium.
async function open(url, { init, broken, ...options } = {}) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 }, screen: { width: 1920, height: 1080 }, ...options });
  page.on('console', (message) => {
    if (message.type() === 'warning') warnings.push(message.text());
    else if (message.type() === 'error' && !broken) errors.push(message.text());
  });
  page.on('pageerror', (error) => errors.push(error.message));
  if (init) await page.addInitScript(init);
  await page.goto(url);
  if (!broken) await page.waitForFunction(() => document.querySelector('glyph-aquarium')?.columns > 0);
  return page;
}
async function served(root, query, options = {}) {
  const server = await serve(root, options.missing);
  delete options.missing;
  servers.push(server);
  return open(`http://127.0.0.1:${server.address().port}/${query}`, options);
}
// A wake lock that is always granted and that the test can drop as a browser
// does, and a record of the listeners that the element's modules put on the
// window and the document.
function watchPage() {
  window.locks = [];
  Object.defineProperty(navigator, 'wakeLock', { configurable: true, value: { request: async () => {
    const lock = Object.assign(new EventTarget(), { release: async () => lock.dispatchEvent(new Event('release')) });
    window.locks.push(lock);
    return lock;
  } } });
  const live = (window.listeners = []);
  for (const target of [window, document]) {
    const [add, remove] = [target.addEventListener, target.removeEventListener];
    const drop = (type, listener) => live.splice(live.findIndex((l) => l.type === type && l.listener === listener) >>> 0, 1);
    target.addEventListener = function (type, listener, options) {
      if (/\/[a-z-]+\.js:/.test(new Error().stack)) live.push({ type, listener });
      options?.signal?.addEventListener('abort', () => drop(type, listener));
      return add.call(this, type, listener, options);
    };
    target.removeEventListener = function (type, listener, options) { drop(type, listener); return remove.call(this, type, listener, options); };
  }
}
const shadowState = (page) => page.evaluate(() => {
  const a = document.querySelector('glyph-aquarium');
  return { running: a.classList.contains('running-screensaver'), prompt: !a.shadowRoot.querySelector('button').hidden };
});
const expectState = async (page, expected, after) => {
  await sleep(200);
  const state = await shadowState(page);
  if (state.running !== expected.running || state.prompt !== expected.prompt) fail(`${JSON.stringify(state)} after ${after}`);
};
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
    const whole = await served(build, 'index.html?seed=7');
    await redrawWhole(whole);
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
    await redrawWhole(page);
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
    const page = await served(build, 'index.html?screensaver&seed=5', { init: watchPage });
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
    // Moved while it runs in its box, full screen refused: the run ends, and
    // the aquarium waits afresh and keeps swimming.
    await page.evaluate(() => { Element.prototype.requestFullscreen = () => Promise.reject(new TypeError('refused')); });
    await page.mouse.click(640, 400);
    await page.evaluate(() => document.body.append(document.querySelector('glyph-aquarium')));
    await expectState(page, { running: false, prompt: true }, 'a move');
    await ticking(page, true);
    // The browser drops the lock of a hidden tab; nothing the element listens to outlives it.
    await page.mouse.click(640, 400);
    await sleep(200);
    const left = await page.evaluate(async () => {
      await window.locks.at(-1).release();
      document.querySelector('glyph-aquarium').remove();
      return window.listeners.map((l) => l.type);
    });
    if (left.length) fail(`listeners left after the element: ${left.join(', ')}`);
  },
  async typing() {
    // Keys typed into a field of the page stay there; the screensaver waits for its own.
    const page = await served(build, 'index.html?screensaver&seed=5', { init: () => {
      window.fullscreenRequests = 0;
      const request = Element.prototype.requestFullscreen;
      Element.prototype.requestFullscreen = function () { ++window.fullscreenRequests; return request.call(this); };
    } });
    await page.evaluate(() => document.body.insertAdjacentHTML('afterbegin', '<input style="position: fixed; z-index: 1">'));
    await page.click('input');
    await page.keyboard.type('hello');
    const { value, requests } = await page.evaluate(() => ({ value: document.querySelector('input').value, requests: window.fullscreenRequests }));
    if (value !== 'hello' || requests !== 0) fail(`the field holds "${value}", and ${requests} full-screen requests were made`);
  },
  async kiosk() {
    // A window as large as its screen runs at once, and waits again with no prompt over the aquarium.
    const page = await served(build, 'index.html?screensaver&seed=5', { screen: { width: 1280, height: 800 } });
    await expectState(page, { running: true, prompt: false }, 'the start');
    await page.keyboard.press('a');
    await expectState(page, { running: false, prompt: false }, 'a key');
    await page.mouse.click(640, 400);
    await expectState(page, { running: true, prompt: false }, 'a click');
  },
  async life() {
    // Starts counted in the shared core: one a connection, none for a new box that keeps the grid.
    const page = await served(build, 'index.html?seed=5');
    const starts = () => page.evaluate(() => window.starts);
    await page.evaluate(async () => {
      const core = await (await import('./core-loader.js')).loadCore();
      const start = core._glyph_start;
      window.starts = 0;
      core._glyph_start = (...args) => (++window.starts, start(...args));
      const pair = [0, 1].map(() => Object.assign(document.createElement('glyph-aquarium'), { id: 'made', style: 'width: 300px; height: 200px' }));
      document.body.prepend(...pair);
      await Promise.all(pair.map((a) => new Promise((resolve) => a.addEventListener('ready', resolve))));
    });
    await sleep(300);
    const seeds = await page.evaluate(() => [...document.querySelectorAll('#made')].map((a) => a.seed));
    if (seeds[0] === seeds[1] || (await starts()) !== 2) fail(`two made together have seeds ${seeds} and started ${await starts()} times`);
    for (const width of [301, 299, 300, 200]) {
      const before = await page.evaluate(() => [document.querySelector('#made').columns, window.starts]);
      await page.evaluate((width) => { document.querySelector('#made').style.width = `${width}px`; }, width);
      await sleep(200);
      const after = await page.evaluate(() => [document.querySelector('#made').columns, window.starts]);
      if ((after[0] !== before[0]) !== (after[1] > before[1])) fail(`${width} px wide: ${before} columns and starts, then ${after}`);
    }
    // A core that does not load says so in the element, in one line, and with an error event.
    const broken = await served(build, 'index.html', { missing: ['/glyphmarinae-core.wasm'], broken: true, init: () => {
      document.addEventListener('error', (event) => { window.failure = event.message; }, true);
    } });
    await broken.waitForFunction(() => window.failure);
    await broken.screenshot({ path: path.join(out, 'no-core.png') });
    const shown = await broken.evaluate(() => {
      const line = document.querySelector('glyph-aquarium').shadowRoot.querySelector('p');
      return { text: line.textContent, hidden: line.hidden };
    });
    console.log(`without its core: "${shown.text}"`);
    if (shown.hidden || !shown.text.includes('could not start')) fail('no message in the element without its core');
  },
  async attributes() {
    // Refused values: one warning each, naming the attribute and its range, and the default.
    const page = await served(build, 'index.html?seed=abc&fps=0&font-size=1', { reducedMotion: 'reduce' });
    await page.evaluate(() => {
      const a = document.querySelector('glyph-aquarium');
      a.setAttribute('fps', '0');
      a.setAttribute('fps', '61');
      document.body.append(Object.assign(document.createElement('glyph-aquarium'), { style: 'width: auto; height: auto' }));
    });
    await sleep(300);
    const expected = [/seed="abc".*0 to 4294967295/, /fps="0".*1 to 60/, /font-size="1".*4 to 512/, /fps="61".*1 to 60/,
                      /is \d+x0 pixels.*style="width/];
    console.log(warnings.join('\n'));
    if (warnings.length !== expected.length || expected.some((pattern, i) => !pattern.test(warnings[i]))) fail('not the warnings expected');
    const { seed, rows } = await aquarium(page);
    const plain = await aquarium(await served(build, 'index.html', { reducedMotion: 'reduce' }));
    if (!Number.isInteger(seed) || rows !== plain.rows) fail(`defaults not applied: seed ${seed}, ${rows} rows, not ${plain.rows}`);
  },
  async glyphs() {
    // Every '_' of the still frame, at each font size, drawn whole: where the
    // glyph alone, drawn in its cell on a clear canvas, has ink, the page has.
    const page = await served(build, 'index.html?seed=12', { reducedMotion: 'reduce' });
    let castles = 0;
    for (let pixels = 8; pixels <= 32; ++pixels) {
      await page.evaluate((pixels) => document.querySelector('glyph-aquarium').setAttribute('font-size', pixels), pixels);
      const { columns, rows, ticks } = await aquarium(page);
      const text = execFileSync(process.execPath, [path.join(build, 'dump.mjs'), '--seed', '12', '--size', `${columns}x${rows}`,
                                                   '--ticks', String(ticks)], { encoding: 'utf8' }).split('\n');
      const cells = text.flatMap((line, row) => [...line].flatMap((c, column) => (c === '_' ? [[row, column]] : [])));
      castles += text.some((line) => line.includes('(_)'));
      const broken = await page.evaluate(async ({ pixels, cells }) => {
        const { cellFor, fontFamily } = await import('./painter.js');
        const cell = cellFor(await (await import('./core-loader.js')).loadCore(), pixels);
        const canvas = document.querySelector('glyph-aquarium').shadowRoot.querySelector('canvas');
        const drawn = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
        const alone = Object.assign(document.createElement('canvas'), { width: canvas.width, height: canvas.height })
          .getContext('2d', { willReadFrequently: true });
        alone.font = `${pixels}px ${fontFamily}`;
        return cells.filter(([row, column]) => {
          alone.clearRect(0, 0, canvas.width, canvas.height);
          alone.fillText('_', column * cell.width, row * cell.height + cell.ascent);
          const [x, y, w, h] = [Math.floor(column * cell.width) - 1, (row - 1) * cell.height, Math.ceil(cell.width) + 2, 3 * cell.height];
          const ink = alone.getImageData(x, y, w, h).data;
          for (let i = 0; i < w * h; ++i) {
            const at = ((y + Math.floor(i / w)) * canvas.width + x + (i % w)) * 4;
            if (ink[i * 4 + 3] >= 128 && Math.max(drawn[at], drawn[at + 1], drawn[at + 2]) < 40) return true;
          }
          return false;
        });
      }, { pixels, cells });
      if ([10, 14].includes(pixels)) await page.screenshot({ path: path.join(out, `${pixels}px.png`) });
      console.log(`${pixels} px: ${columns}x${rows}, ${cells.length - broken.length} of ${cells.length} underscores whole`);
      if (broken.length) fail(`underscores cut at ${pixels} px, in cells ${JSON.stringify(broken.slice(0, 5))}`);
    }
    console.log(`the castle's (_) unhidden at ${castles} of 25 sizes`);
    if (!castles) fail('the castle was hidden at every size');
  },
  async still() {
    const page = await served(build, 'index.html?seed=4', { reducedMotion: 'reduce' });
    await ticking(page, false);
    if ((await aquarium(page)).ticks !== 400) fail('the still frame is not the scene 400 ticks in');
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
    // The page of modules cannot load them from disk, and says so where it is read.
    const modules = await open(`file://${build}/index.html`, { broken: true });
    await modules.waitForSelector('#needs-server', { state: 'visible', timeout: 5000 });
    await modules.screenshot({ path: path.join(out, 'needs-server.png') });
    if (!/server[^]*glyphmarinae\.html/.test(await modules.textContent('#needs-server'))) fail('the page from disk does not point to the single file');
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
    // Every file the package names, and every module its modules import, is in it.
    const unpacked = path.join(scratch, 'node_modules/glyphmarinae');
    const manifest = JSON.parse(readFileSync(path.join(unpacked, 'package.json')));
    const packed = readdirSync(unpacked);
    const needed = [...manifest.files, manifest.types, manifest.customElements, ...Object.values(manifest.exports['.'])];
    for (const file of packed.filter((name) => /\.m?js$/.test(name))) {
      needed.push(...[...readFileSync(path.join(unpacked, file), 'utf8').matchAll(/from '\.\/([^']+)'/g)].map((m) => m[1]));
    }
    const lacking = needed.map((name) => path.normalize(name)).filter((name) => !packed.includes(name));
    if (lacking.length) fail(`the package lacks ${lacking}`);
    // Imported without a DOM, it defines nothing and throws nothing.
    const observed = JSON.parse(execFileSync(process.execPath, ['--input-type=module', '-e',
      "const { GlyphAquarium } = await import('glyphmarinae'); console.log(JSON.stringify(GlyphAquarium.observedAttributes))"],
    { cwd: scratch, encoding: 'utf8' }));
    const declared = JSON.parse(readFileSync(path.join(unpacked, manifest.customElements))).modules
      .flatMap((module) => module.declarations).find((declaration) => declaration.tagName === 'glyph-aquarium');
    if (JSON.stringify(declared?.attributes.map((a) => a.name).sort()) !== JSON.stringify(observed.sort())) fail('the manifest lacks attributes');
    if (existsSync('/usr/bin/tsc')) {
      writeFileSync(path.join(scratch, 'use.mts'), `import { GlyphAquarium } from 'glyphmarinae';
const aquarium: GlyphAquarium = document.createElement('glyph-aquarium');
aquarium.addEventListener('error', (event) => console.log(event.message, aquarium.seed, aquarium.columns * aquarium.rows));
aquarium.addEventListener('ended', () => aquarium.start());\n`);
      try {
        execFileSync('tsc', ['--noEmit', '--strict', '--module', 'nodenext', '--lib', 'es2022,dom', 'use.mts'], { cwd: scratch, encoding: 'utf8' });
      } catch (error) {
        fail(`the declarations do not type a use of the element: ${error.stdout}`);
      }
    } else {
      console.log('no tsc: the declarations are left unchecked');
    }
    // The README's snippet, as it stands, on a page served from beside node_modules.
    const readme = readFileSync(new URL('../../README.md', import.meta.url), 'utf8');
    const snippet = /\*\*Web component\*\*[^]*?```html\n([^]*?)```/.exec(readme)?.[1] ?? fail('no element snippet in the README');
    writeFileSync(path.join(scratch, 'index.html'), `<!DOCTYPE html><link rel="icon" href="data:,">\n${snippet}`);
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
