// <glyph-aquarium>: the aquarium drawn in coloured characters on black,
// sized by its box. Attributes: seed, fps, font-size, screensaver.
import { loadCore } from './core-loader.js';
import { Painter, fontFamily } from './painter.js';
import { Screensaver } from './screensaver.js';

const defaultFps = 10;
// With reduced motion the one still frame is this far in, where fish swim;
// at the first tick every fish is still outside the edges.
const stillTicks = 400;
const defaults = { seed: 'a seed of its own', fps: String(defaultFps), 'font-size': 'a ninety-sixth of its height, at least 8' };

// The attributes take what the native programs' options take.
const rangesOf = (core) => ({
  seed: [0, core._glyph_max_seed() >>> 0],
  fps: [core._glyph_min_fps(), core._glyph_max_fps()],
  'font-size': [core._glyph_min_font_size(), core._glyph_max_font_size()],
});

// Aquariums made so far on the page: the default seed mixes the count in,
// as elements made together share the page's clock and process.
let made = 0;

const style = `
:host { display: block; position: relative; overflow: hidden; background: #000; contain: strict; }
:host([hidden]) { display: none; }
:host(.running-screensaver) { cursor: none; }
canvas { position: absolute; inset: 0; display: block; outline: none; }
button {
  position: absolute; left: 50%; top: 50%; transform: translate(-50%, -50%);
  font: 16px ${fontFamily}; color: #fff; background: rgba(0, 0, 0, 0.75);
  border: 1px solid #0aa; border-radius: 4px; padding: 0.8em 1.4em; cursor: pointer;
}
p {
  position: absolute; inset: 0 0 auto; margin: 0; padding: 0.5em; font: 14px ${fontFamily}; color: #f88;
  white-space: nowrap; overflow: hidden; text-overflow: ellipsis;
}
[hidden] { display: none; }
`;

// Where there is no DOM (a server rendering the page, a test under node) the
// module still loads; the element is defined only where elements can be.
const Base = globalThis.HTMLElement ?? class {};

export class GlyphAquarium extends Base {
  static observedAttributes = ['seed', 'fps', 'font-size', 'screensaver'];

  #core = null;
  #handle = 0;
  #painter;
  #control;
  #failure;
  #screensaver;
  #resizer;
  #connection = null; // aborts the listeners of one connection
  #made = ++made;
  #ownSeed = null;    // the seed used when none is given, picked once the core can
  #seed = null;
  #fps = defaultFps;
  #fontSize = null;   // null: from the height
  #refused = new Map(); // attribute -> the value last warned about
  #warnedOfSize = false;
  #still = false;
  #running = false;   // ticking wanted: start() until stop()
  #timer = 0;
  #due = 0;           // when the next tick is due, in performance.now() time
  #ticks = 0;
  #grid = null;       // the columns and rows the aquarium was started at
  #columns = 0;
  #rows = 0;

  constructor() {
    super();
    const root = this.attachShadow({ mode: 'open' });
    root.innerHTML = `<style>${style}</style><canvas tabindex="-1"></canvas>` +
      '<button type="button" hidden></button><p role="alert" hidden></p>';
    const canvas = root.querySelector('canvas');
    this.#painter = new Painter(canvas);
    this.#control = root.querySelector('button');
    this.#failure = root.querySelector('p');
    this.#screensaver = new Screensaver(this, canvas, this.#control);
    this.#resizer = new ResizeObserver(() => this.#fit());
    this.#control.addEventListener('click', (event) => {
      event.stopPropagation();
      if (!this.screensaver) this.start();
    });
  }

  get seed() { return this.#seed; }
  set seed(value) { this.setAttribute('seed', String(value >>> 0)); }
  get screensaver() { return this.hasAttribute('screensaver') && this.getAttribute('screensaver') !== 'false'; }
  get ticks() { return this.#ticks; }
  get columns() { return this.#columns; }
  get rows() { return this.#rows; }
  get running() { return this.#running; }

  async connectedCallback() {
    let core;
    try {
      core = await loadCore();
    } catch (error) {
      if (this.isConnected) this.#fail(error);
      return;
    }
    if (!this.isConnected || this.#handle) return;
    this.#core = core;
    this.#handle = core._glyph_new();
    this.#failure.hidden = true;
    this.#connection = new AbortController();
    document.addEventListener('visibilitychange', () => this.#pace(), { signal: this.#connection.signal });
    this.#ownSeed ??= core._glyph_default_seed(this.#made) >>> 0;
    for (const name of ['seed', 'fps', 'font-size']) this.#take(name);
    // With reduced motion the page shows one still frame and waits to be started.
    this.#still = matchMedia('(prefers-reduced-motion: reduce)').matches;
    this.#grid = null;
    this.#fit();
    this.#resizer.observe(this);
    if (this.screensaver) this.#screensaver.begin(core, this.#handle);
    else if (this.#still) this.#offerStart();
    if (!this.#still) this.start();
    this.dispatchEvent(new Event('ready'));
  }

  disconnectedCallback() {
    this.stop();
    this.#screensaver.finish();
    this.#resizer.disconnect();
    this.#connection?.abort();
    this.#connection = null;
    if (this.#handle) this.#core._glyph_free(this.#handle);
    this.#handle = 0;
  }

  // Until the core is loaded the attributes wait; they are read on connection.
  attributeChangedCallback(name, before, after) {
    if (before === after || !this.#handle) return;
    if (name === 'screensaver') {
      if (this.screensaver) this.#screensaver.begin(this.#core, this.#handle);
      else this.#screensaver.finish();
      return;
    }
    this.#take(name);
    if (name === 'seed') this.#restart();
    else if (name === 'font-size') this.#fit();
    else this.#pace();
  }

  start() {
    if (!this.screensaver) this.#control.hidden = true;
    this.#running = true;
    this.#pace();
  }

  stop() {
    this.#running = false;
    this.#pace();
  }

  // A value outside the native range is refused, once, and the default applies.
  #take(name) {
    const text = this.getAttribute(name);
    let value = null;
    if (text !== null) {
      const [low, high] = rangesOf(this.#core)[name];
      const number = /^\d+$/.test(text) ? Number(text) : NaN;
      if (number >= low && number <= high) {
        value = number;
        this.#refused.delete(name);
      } else if (this.#refused.get(name) !== text) {
        this.#refused.set(name, text);
        console.warn(`<glyph-aquarium> refused ${name}="${text}": ${name} takes a whole number from ${low} to ${high}; ` +
                     `it is ${defaults[name]} instead`);
      }
    }
    if (name === 'seed') this.#seed = value ?? this.#ownSeed;
    else if (name === 'fps') this.#fps = value ?? defaultFps;
    else this.#fontSize = value;
  }

  #fail(error) {
    const why = String(error?.message ?? error).split('. ')[0];
    this.#failure.textContent = `The aquarium could not start: its WebAssembly core did not load (${why})`;
    this.#failure.hidden = false;
    this.dispatchEvent(new ErrorEvent('error', { error, message: this.#failure.textContent }));
  }

  #offerStart() {
    this.#control.textContent = 'Start the aquarium';
    this.#control.hidden = false;
  }

  // Ticks only while running, connected and visible: a hidden tab costs nothing.
  #pace() {
    clearTimeout(this.#timer);
    this.#timer = 0;
    if (!this.#running || !this.#handle || document.hidden) return;
    this.#due = Math.max(this.#due, performance.now());
    this.#timer = setTimeout(() => this.#frame(), this.#due - performance.now());
  }

  #frame() {
    this.#core._glyph_tick(this.#handle);
    ++this.#ticks;
    this.#painter.paint(this.#core, this.#handle);
    // Due times follow the period, not the end of the last frame, so a slow
    // frame does not slow the aquarium; after a long stall it starts afresh.
    const period = 1000 / this.#fps;
    this.#due = Math.max(this.#due + period, performance.now() - period);
    this.#pace();
  }

  // The aquarium starts afresh only when the grid changes; otherwise a new
  // box or font repaints the same scene.
  #fit() {
    if (!this.#handle) return;
    const width = this.clientWidth;
    const height = this.clientHeight;
    if ((width === 0 || height === 0) && !this.#warnedOfSize) {
      this.#warnedOfSize = true;
      console.warn(`<glyph-aquarium> is ${width}x${height} pixels, so it shows nothing: give it a size in CSS, ` +
                   'for instance style="width: 640px; height: 400px"');
    }
    const pixels = this.#fontSize ?? this.#core._glyph_font_height_for(height);
    const { columns, rows, wiped } = this.#painter.layout(this.#core, width, height, window.devicePixelRatio || 1, pixels);
    this.#columns = columns;
    this.#rows = rows;
    if (this.#grid !== `${columns}x${rows}`) {
      this.#restart();
    } else if (wiped) {
      this.#core._glyph_forget_drawn(this.#handle);
      this.#core._glyph_compose(this.#handle);
      this.#painter.paint(this.#core, this.#handle);
    }
  }

  // Starts the aquarium afresh at the grid, with its seed.
  #restart() {
    if (!this.#handle) return;
    const core = this.#core;
    this.#grid = `${this.#columns}x${this.#rows}`;
    core._glyph_start(this.#handle, this.#columns, this.#rows, this.#seed);
    this.#ticks = 0;
    if (this.#still && !this.#running) {
      core._glyph_advance(this.#handle, stillTicks);
      this.#ticks = stillTicks;
    }
    this.#painter.clear();
    core._glyph_compose(this.#handle);
    this.#painter.paint(core, this.#handle);
  }
}

if (globalThis.customElements && !customElements.get('glyph-aquarium')) customElements.define('glyph-aquarium', GlyphAquarium);
