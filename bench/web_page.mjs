// What the browser page's benchmark and tests share: a static server for a
// folder, and a switch that makes every <glyph-aquarium> of a served page
// redraw every cell each frame, the cost and the picture that painting only
// the changed cells is measured against.
import { readFile } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.wasm': 'application/wasm' };

// Answers 404 for the paths in `missing`, as a server without those files would.
export function serve(root, missing = []) {
  const server = http.createServer(async (request, response) => {
    try {
      const name = decodeURIComponent(new URL(request.url, 'http://h').pathname);
      if (missing.includes(name)) throw new Error('missing');
      const file = path.join(root, name);
      const body = await readFile(file);
      response.writeHead(200, { 'content-type': types[path.extname(file)] ?? 'application/octet-stream' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The shared core's tick forgets what was drawn first, so each frame finds every cell changed.
export const redrawWhole = (page) => page.evaluate(async () => {
  const core = await (await import('./core-loader.js')).loadCore();
  const tick = core._glyph_tick;
  core._glyph_tick = (aquarium) => { core._glyph_forget_drawn(aquarium); return tick(aquarium); };
});
