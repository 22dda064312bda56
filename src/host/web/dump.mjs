// Prints what `glyphmarinae --dump` prints for the same options, computed by
// the WebAssembly build: node dump.mjs [--seed S] [--size CxR] [--ticks T] [--colour]
import { readFile } from 'node:fs/promises';
import createGlyphCore from './glyphmarinae-core.mjs';

const usage = 'usage: node dump.mjs [--seed N] [--size COLSxROWS] [--ticks N] [--colour]';
const fail = (message) => {
  process.stderr.write(`dump.mjs: ${message}\n`);
  process.exit(2);
};

const options = { seed: Math.floor(Date.now() / 1000) >>> 0, columns: 80, rows: 24, ticks: 0, colour: 0 };
const args = process.argv.slice(2);
const whole = (text, low, high, what) => {
  if (!/^\d+$/.test(text ?? '') || Number(text) < low || Number(text) > high) fail(`${what} must be ${low} to ${high}`);
  return Number(text);
};
for (let i = 0; i < args.length; ++i) {
  const [name, inline] = args[i].split(/=(.*)/s);
  const value = () => inline ?? args[++i];
  switch (name) {
  case '--seed': options.seed = whole(value(), 0, 4294967295, '--seed'); break;
  case '--ticks': options.ticks = whole(value(), 0, Number.MAX_SAFE_INTEGER, '--ticks'); break;
  case '--size': {
    const size = /^(\d+)x(\d+)$/.exec(value() ?? '') ?? fail('--size must be COLSxROWS');
    options.columns = whole(size[1], 1, 1000, '--size columns');
    options.rows = whole(size[2], 1, 1000, '--size rows');
    break;
  }
  case '--colour': case '--color': options.colour = 1; break;
  case '--help': process.stdout.write(`${usage}\n`); process.exit(0);
  default: fail(`unknown option ${args[i]} (${usage})`);
  }
}

// Node's fetch cannot read a file path, so the module is handed its bytes.
const wasmBinary = await readFile(new URL('./glyphmarinae-core.wasm', import.meta.url));
const core = await createGlyphCore({ wasmBinary });
const aquarium = core._glyph_new();
core._glyph_start(aquarium, options.columns, options.rows, options.seed);
for (let i = 0; i < options.ticks; ++i) core._glyph_tick(aquarium);
core._glyph_compose(aquarium);
process.stdout.write(core.UTF8ToString(core._glyph_text(aquarium, options.colour)));
core._glyph_free(aquarium);
