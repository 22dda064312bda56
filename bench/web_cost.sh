#!/usr/bin/env bash
# The browser page's cost: Chromium's CPU (user + system of all its
# processes) over the same seconds at 1280x800, for the page as shipped and,
# in the same run, for the same page made to redraw every cell each frame
# (web_page.mjs's redrawWhole); the time to the first frame and the sizes of
# what a browser loads. Fails when the page uses more than a third of the
# full redraw's CPU. Both are served over http, as the switch reaches into
# the page's modules.
#   bash bench/web_cost.sh [SECONDS]     (default 20; needs the web stage's build-web)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GLYPH_WEB_BUILD:-$top/build-web}
seconds=${1:-20}
[ -f "$build/glyphmarinae-core.wasm" ] && [ -d "$build/test-modules/node_modules/playwright-core" ] ||
  { echo "web_cost: build $build first (scripts/test.d/web.sh)" >&2; exit 1; }

for file in glyphmarinae-core.wasm glyphmarinae-core.mjs core-loader.js painter.js screensaver.js glyph-aquarium.js \
            glyphmarinae.html; do
  printf '%-24s %7d bytes, %6d gzipped\n' "$file" "$(stat -c %s "$build/$file")" "$(gzip -9c "$build/$file" | wc -c)"
done

BENCH=$top/bench BUILD=$build SECONDS_MEASURED=$seconds CLOCK_TICKS=$(getconf CLK_TCK) node --input-type=module <<'NODE'
import { createRequire } from 'node:module';
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
const build = process.env.BUILD;
const { redrawWhole, serve } = await import(path.join(process.env.BENCH, 'web_page.mjs'));
const site = await serve(build);
const seconds = Number(process.env.SECONDS_MEASURED);
const { chromium } = createRequire(path.join(build, 'test-modules/package.json'))('playwright-core');

// User + system seconds of a process and all its descendants, from /proc.
function treeSeconds(root) {
  const stats = new Map();
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const fields = readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
      stats.set(Number(pid), { parent: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]) });
    } catch { /* ended meanwhile */ }
  }
  const inTree = (pid) => pid === root || (stats.has(pid) && pid > 1 && inTree(stats.get(pid).parent));
  let ticks = 0;
  for (const [pid, { ticks: own }] of stats) if (inTree(pid)) ticks += own;
  return ticks / Number(process.env.CLOCK_TICKS);
}

async function measure(whole) {
  const server = await chromium.launchServer({ executablePath: '/usr/bin/chromium', headless: true });
  const browser = await chromium.connect(server.wsEndpoint());
  const pid = server.process().pid;
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.addInitScript(() => document.addEventListener('ready', () => { window.firstFrame = performance.now(); }, true));
  await page.goto(`http://127.0.0.1:${site.address().port}/index.html?seed=1`);
  await page.waitForFunction(() => window.firstFrame !== undefined);
  if (whole) await redrawWhole(page);
  const firstFrame = await page.evaluate(() => window.firstFrame);
  const grid = await page.evaluate(() => { const a = document.querySelector('glyph-aquarium'); return `${a.columns}x${a.rows}`; });
  await page.waitForTimeout(2000); // past the start-up
  const before = treeSeconds(pid);
  await page.waitForTimeout(seconds * 1000);
  const used = treeSeconds(pid) - before;
  await browser.close();
  await server.close();
  return { firstFrame, grid, share: (100 * used) / seconds };
}

const changed = await measure(false);
const whole = await measure(true);
site.close();
for (const [name, run] of [['changed cells only', changed], ['every cell each frame', whole]])
  console.log(`${name.padEnd(22)} ${run.grid}: ${run.share.toFixed(1)} % of a core, first frame after ${run.firstFrame.toFixed(0)} ms`);
const ratio = changed.share / whole.share;
console.log(`the page uses ${(100 * ratio).toFixed(0)} % of the full redraw's CPU`);
process.exit(ratio <= 1 / 3 ? 0 : 1);
NODE
