// <glyph-aquarium>: the aquarium drawn in coloured characters on black,
// sized by its box. Attributes: seed, fps, font-size, screensaver.
import createGlyphCore from './glyphmarinae-core.mjs';

// One WebAssembly instance serves every aquarium on the page; each has its
// own scene in it.
let corePromise = null;
const loadCore = () => (corePromise ??= createGlyphCore());

const cellBytes = 8; // pinned by the C interface: the character, then the colour at byte 4
const fontFamily = '"DejaVu Sans Mono", monospace';
const cssColours = new Map();

// Colours are 0x00BBGGRR.
function cssColour(colour) {
  let css = cssColours.get(colour);
  if (!css) {
    css = `rgb(${colour & 0xff},${(colour >>> 8) & 0xff},${(colour >>> 16) & 0xff})`;
    cssColours.set(colour, css);
  }
  return css;
}

// The seed of a run given none: the calendar time in seconds, as the native hosts do.
const timeSeed = () => Math.floor(Date.now() / 1000) >>> 0;
const wholeAttribute = (text, low, high) => {
  const value = Number(text);
  return text !== null && Number.isInteger(value) && value >= low && value <= high ? value : null;
};

const style = `
:host { display: block; position: relative; overflow: hidden; background: #000; contain: strict; }
:host([hidden]) { display: none; }
:host(.running-screensaver) { cursor: none; }
canvas { position: absolute; inset: 0; display: block; }
button {
  position: absolute; left: 50%; top: 50%; transform: translate(-50%, -50%);
  font: 16px ${fontFamily}; color: #fff; background: rgba(0, 0, 0, 0.75);
  border: 1px solid #0aa; border-radius: 4px; padding: 0.8em 1.4em; cursor: pointer;
}
button[hidden] { display: none; }
`;

export class GlyphAquarium extends HTMLElement {
  static observedAttributes = ['seed', 'fps', 'font-size', 'screensaver'];

  #core = null;
  #handle = 0;
  #canvas;
  #context;
  #control;
  #seed = timeSeed();
  #running = false;   // ticking wanted: start() until stop()
  #timer = 0;
  #due = 0;           // when the next tick is due, in performance.now() time
  #ticks = 0;
  #cell = { width: 0, height: 0, ascent: 0 };
  #columns = 0;
  #rows = 0;
  #active = false;    // in screensaver mode, between entering and leaving full screen
  #wakeLock = null;
  #resizer = new ResizeObserver(() => this.#restart());
  #listeners = [];

  constructor() {
    super();
    const root = this.attachShadow({ mode: 'open' });
    root.innerHTML = `<style>${style}</style><canvas></canvas><button type="button" hidden></button>`;
    this.#canvas = root.querySelector('canvas');
    this.#context = this.#canvas.getContext('2d', { alpha: false });
    this.#control = root.querySelector('button');
    this.#control.addEventListener('click', (event) => {
      event.stopPropagation();
      if (this.screensaver) this.#enter();
      else this.start();
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
    const core = await loadCore();
    if (!this.isConnected || this.#handle) return;
    this.#core = core;
    this.#handle = core._glyph_new();
    this.#listen(document, 'visibilitychange', () => this.#pace());
    this.#listen(document, 'fullscreenchange', () => {
      if (this.#active && document.fullscreenElement !== this) this.#leave();
    });
    this.#listen(window, 'keydown', (event) => this.#onInput(event, true));
    this.#listen(this, 'pointerdown', (event) => this.#onInput(event, event.button === 0 || event.button === 2));
    this.#listen(this, 'pointermove', (event) => this.#onPointerMove(event));
    this.#listen(this, 'contextmenu', (event) => { if (this.#active) event.preventDefault(); });
    this.#resizer.observe(this);
    this.#restart();
    // With reduced motion the page shows one still frame and waits to be started.
    const still = matchMedia('(prefers-reduced-motion: reduce)').matches;
    if (this.screensaver || still) this.#showControl();
    if (!still) this.start();
    this.dispatchEvent(new Event('ready'));
  }

  disconnectedCallback() {
    this.stop();
    this.#resizer.disconnect();
    for (const [target, type, listener] of this.#listeners) target.removeEventListener(type, listener);
    this.#listeners = [];
    if (this.#handle) this.#core._glyph_free(this.#handle);
    this.#handle = 0;
    this.#releaseWakeLock();
  }

  attributeChangedCallback(name, before, after) {
    if (before === after) return;
    if (name === 'seed') {
      this.#seed = wholeAttribute(after, 0, 0xffffffff) ?? timeSeed();
      this.#restart();
    } else if (name === 'font-size') {
      this.#restart();
    } else if (name === 'fps') {
      this.#pace();
    } else if (name === 'screensaver' && this.#handle) {
      if (this.screensaver) this.#showControl();
      else if (this.#active) this.#leave();
    }
  }

  start() {
    this.#control.hidden = !this.screensaver || this.#active;
    this.#running = true;
    this.#pace();
  }

  stop() {
    this.#running = false;
    this.#pace();
  }

  #listen(target, type, listener) {
    target.addEventListener(type, listener);
    this.#listeners.push([target, type, listener]);
  }

  #period() {
    return 1000 / (wholeAttribute(this.getAttribute('fps'), 1, 60) ?? 10);
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
    const stretches = this.#core._glyph_tick(this.#handle);
    ++this.#ticks;
    this.#paint(stretches);
    // Due times follow the period, not the end of the last frame, so a slow
    // frame does not slow the aquarium; after a long stall it starts afresh.
    this.#due = Math.max(this.#due + this.#period(), performance.now() - this.#period());
    this.#pace();
  }

  // A new size or font starts the aquarium afresh at the new grid, with the same seed.
  #restart() {
    if (!this.#handle) return;
    const width = this.clientWidth;
    const height = this.clientHeight;
    const ratio = window.devicePixelRatio || 1;
    const pixels = wholeAttribute(this.getAttribute('font-size'), 1, 1000) ?? this.#core._glyph_font_height_for(height);
    const context = this.#context;
    this.#canvas.width = Math.max(1, Math.round(width * ratio));
    this.#canvas.height = Math.max(1, Math.round(height * ratio));
    this.#canvas.style.width = `${width}px`;
    this.#canvas.style.height = `${height}px`;
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.font = `${pixels}px ${fontFamily}`;
    context.textBaseline = 'alphabetic';
    const metrics = context.measureText('W');
    this.#cell = {
      width: Math.max(1, metrics.width),
      height: Math.max(1, Math.ceil(metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent)),
      ascent: Math.round(metrics.fontBoundingBoxAscent),
    };
    this.#columns = Math.floor(width / this.#cell.width);
    this.#rows = Math.floor(height / this.#cell.height);
    context.fillStyle = '#000';
    context.fillRect(0, 0, width, height);
    this.#core._glyph_start(this.#handle, this.#columns, this.#rows, this.#seed);
    const stretches = this.#core._glyph_compose(this.#handle);
    this.#ticks = 0;
    this.#paint(stretches);
  }

  // Draws the stretches of cells that changed, a row at a time: they are
  // cleared to black and the runs of one colour over them drawn again, a cell
  // further each side and clipped to them, as a glyph may reach a pixel into
  // its neighbour's cell.
  #paint(stretches) {
    const core = this.#core;
    const columns = this.#columns;
    if (columns <= 0) return;
    const whole = this.getAttribute('redraw') === 'all';
    const count = whole ? this.#rows : stretches;
    const at = core._glyph_spans(this.#handle) >>> 2;
    const words = core.HEAP32;
    const span = whole ? (i) => [i, 0, columns] : (i) => [words[at + i * 3], words[at + i * 3 + 1], words[at + i * 3 + 2]];
    const { width, height } = this.#cell;
    const context = this.#context;
    for (let i = 0; i < count;) {
      const [row] = span(i);
      let next = i;
      context.save();
      context.beginPath();
      for (; next < count && span(next)[0] === row; ++next) {
        const [, first, end] = span(next);
        const left = Math.floor(first * width);
        context.rect(left, row * height, (end === columns ? this.clientWidth : Math.ceil(end * width)) - left, height);
      }
      context.clip();
      context.fillStyle = '#000';
      context.fill();
      for (; i < next; ++i) this.#drawRuns(...span(i));
      context.restore();
    }
  }

  #drawRuns(row, first, end) {
    const core = this.#core;
    const columns = this.#columns;
    const bytes = core.HEAPU8;
    const words = core.HEAPU32;
    const { width, height, ascent } = this.#cell;
    const base = core._glyph_cells(this.#handle) + row * columns * cellBytes;
    const stop = Math.min(columns, end + 1);
    let column = Math.max(0, first - 1);
    while (column < stop) {
      const at = base + column * cellBytes;
      if (bytes[at] === 32) { ++column; continue; }
      const colour = words[(at + 4) >>> 2];
      const from = column;
      let text = '';
      for (; column < stop; ++column) {
        const cell = base + column * cellBytes;
        const character = bytes[cell];
        if (character === 32 || words[(cell + 4) >>> 2] !== colour) break;
        text += character === 0 ? ' ' : String.fromCharCode(character);
      }
      this.#context.fillStyle = cssColour(colour);
      this.#context.fillText(text, from * width, row * height + ascent);
    }
  }

  #showControl() {
    this.#control.textContent = this.screensaver
      ? 'Click or press a key: the aquarium fills the screen until you move'
      : 'Start the aquarium';
    this.#control.hidden = false;
  }

  #onInput(event, counts) {
    if (!this.screensaver || !this.#handle) return;
    if (this.#active) {
      if (counts) this.#leave();
    } else if (event.type === 'keydown' || event.target === this) {
      this.#enter();
    }
  }

  #onPointerMove(event) {
    if (!this.#active) return;
    const closes = this.#core._glyph_mouse_closes(this.#handle, Math.round(event.screenX), Math.round(event.screenY),
                                                  performance.now() >>> 0);
    if (closes) this.#leave();
  }

  async #enter() {
    if (this.#active) return;
    this.#active = true;
    this.#control.hidden = true;
    this.classList.add('running-screensaver');
    this.#core._glyph_watch_mouse(this.#handle, performance.now() >>> 0);
    this.start();
    try {
      await this.requestFullscreen();
    } catch {
      // Refused (no user gesture, or a frame without allowfullscreen): the aquarium runs in its box.
    }
    this.#takeWakeLock();
  }

  #leave() {
    if (!this.#active) return;
    this.#active = false;
    this.classList.remove('running-screensaver');
    if (document.fullscreenElement === this) document.exitFullscreen().catch(() => {});
    this.#releaseWakeLock();
    this.#showControl();
    this.dispatchEvent(new Event('ended'));
  }

  async #takeWakeLock() {
    if (!navigator.wakeLock || this.#wakeLock) return;
    try {
      const lock = await navigator.wakeLock.request('screen');
      if (this.#active) {
        this.#wakeLock = lock;
        // The browser drops the lock when the tab is hidden; it is taken again on return.
        lock.addEventListener('release', () => {
          this.#wakeLock = null;
          if (this.#active) document.addEventListener('visibilitychange', () => this.#takeWakeLock(), { once: true });
        });
      } else {
        lock.release();
      }
    } catch {
      // Not offered here (an insecure page, a low battery): the screen may blank on its own.
    }
  }

  #releaseWakeLock() {
    const lock = this.#wakeLock;
    this.#wakeLock = null;
    lock?.release().catch(() => {});
  }
}

if (!customElements.get('glyph-aquarium')) customElements.define('glyph-aquarium', GlyphAquarium);
