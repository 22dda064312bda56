// Draws an aquarium's cells on its canvas: the size of a cell and where text
// sits in it, and the repainting of the stretches that the core found changed.
export const fontFamily = '"DejaVu Sans Mono", monospace';

const cellBytes = 8; // pinned by the C interface: the character, then the colour at byte 4
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

let artCharacters = null;
function artCharactersOf(core) {
  if (artCharacters === null) {
    const bytes = core.HEAPU8;
    artCharacters = '';
    for (let at = core._glyph_art_characters(); bytes[at] !== 0; ++at) artCharacters += String.fromCharCode(bytes[at]);
  }
  return artCharacters;
}

const cells = new Map(); // font size in pixels -> its cell, for every aquarium on the page
let measuring = null;

// A cell is as tall as the art's highest glyph above the baseline and its
// deepest below it: a glyph reaching into the next row would be wiped there
// when that row is repainted. The font's own ascent and descent can be
// smaller, as they are for '_' at 10 px.
export function cellFor(core, pixels) {
  let cell = cells.get(pixels);
  if (!cell) {
    measuring ??= document.createElement('canvas').getContext('2d');
    measuring.font = `${pixels}px ${fontFamily}`;
    let ascent = 0;
    let descent = 0;
    for (const character of artCharactersOf(core)) {
      const metrics = measuring.measureText(character);
      ascent = Math.max(ascent, metrics.actualBoundingBoxAscent);
      descent = Math.max(descent, metrics.actualBoundingBoxDescent);
    }
    const top = Math.ceil(ascent);
    cell = { width: Math.max(1, measuring.measureText('W').width), height: Math.max(1, top + Math.ceil(descent)), ascent: top };
    cells.set(pixels, cell);
  }
  return cell;
}

export class Painter {
  #canvas;
  #context;
  #cell = null;
  #ratio = 0;
  #width = 0;
  #columns = 0;

  constructor(canvas) {
    this.#canvas = canvas;
    this.#context = canvas.getContext('2d', { alpha: false });
  }

  // Fits the canvas to a box of CSS pixels and the cells to a font size.
  // Returns the grid that fits, and whether the picture was wiped and must
  // be drawn whole again.
  layout(core, width, height, ratio, pixels) {
    const cell = cellFor(core, pixels);
    const canvas = this.#canvas;
    const across = Math.max(1, Math.round(width * ratio));
    const down = Math.max(1, Math.round(height * ratio));
    const wiped = cell !== this.#cell || ratio !== this.#ratio || across !== canvas.width || down !== canvas.height;
    if (wiped) {
      canvas.width = across;
      canvas.height = down;
      canvas.style.width = `${width}px`;
      canvas.style.height = `${height}px`;
      this.#context.setTransform(ratio, 0, 0, ratio, 0, 0);
      this.#context.font = `${pixels}px ${fontFamily}`;
      this.#context.textBaseline = 'alphabetic';
      this.clear();
    }
    this.#cell = cell;
    this.#ratio = ratio;
    this.#width = width;
    this.#columns = Math.floor(width / cell.width);
    return { columns: this.#columns, rows: Math.floor(height / cell.height), wiped };
  }

  clear() {
    this.#context.fillStyle = '#000';
    this.#context.fillRect(0, 0, this.#canvas.width, this.#canvas.height);
  }

  // Draws the stretches of cells that changed, a row at a time: they are
  // cleared to black and the runs of one colour over them drawn again, a cell
  // further each side and clipped to them, as a glyph may reach a pixel into
  // its neighbour's cell.
  paint(core, aquarium, stretches) {
    const columns = this.#columns;
    if (columns <= 0) return;
    const at = core._glyph_spans(aquarium) >>> 2;
    const words = core.HEAP32;
    const { width, height } = this.#cell;
    const context = this.#context;
    for (let i = 0; i < stretches;) {
      const row = words[at + i * 3];
      let next = i;
      context.save();
      context.beginPath();
      for (; next < stretches && words[at + next * 3] === row; ++next) {
        const first = words[at + next * 3 + 1];
        const end = words[at + next * 3 + 2];
        const left = Math.floor(first * width);
        context.rect(left, row * height, (end === columns ? this.#width : Math.ceil(end * width)) - left, height);
      }
      context.clip();
      context.fillStyle = '#000';
      context.fill();
      for (; i < next; ++i) this.#drawRuns(core, aquarium, row, words[at + i * 3 + 1], words[at + i * 3 + 2]);
      context.restore();
    }
  }

  #drawRuns(core, aquarium, row, first, end) {
    const columns = this.#columns;
    const bytes = core.HEAPU8;
    const words = core.HEAPU32;
    const { width, height, ascent } = this.#cell;
    const base = core._glyph_cells(aquarium) + row * columns * cellBytes;
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
}
