// Draws an aquarium's cells on its canvas: the size of a cell and where text
// sits in it, and the core's plan of what to repaint.
export const fontFamily = '"DejaVu Sans Mono", monospace';

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

  // Draws the core's paint plan from the picture last drawn to the grid now:
  // each span of changed cells is cleared to black and its colour runs drawn
  // over it, clipped to it, as the interface lays them out (exports.cpp).
  paint(core, aquarium) {
    if (this.#columns <= 0) return;
    const at = core._glyph_plan(aquarium) >>> 2;
    const words = core.HEAP32;
    const bytes = core.HEAPU8;
    const [spans, runs] = [words[at], words[at + 1]];
    const runsAt = at + 3 + spans * 5;
    const textAt = (runsAt + runs * 4) * 4;
    const { width, height, ascent } = this.#cell;
    const context = this.#context;
    for (let span = at + 3; span < runsAt; span += 5) {
      const [row, first, end, firstRun, runCount] = words.subarray(span, span + 5);
      const left = Math.floor(first * width);
      context.save();
      context.beginPath();
      context.rect(left, row * height, (end === this.#columns ? this.#width : Math.ceil(end * width)) - left, height);
      context.clip();
      context.fillStyle = '#000';
      context.fill();
      for (let run = runsAt + firstRun * 4; run < runsAt + (firstRun + runCount) * 4; run += 4) {
        const [column, length, colour, offset] = words.subarray(run, run + 4);
        let text = '';
        for (let i = textAt + offset; i < textAt + offset + length; ++i) text += String.fromCharCode(bytes[i]);
        context.fillStyle = cssColour(colour);
        context.fillText(text, column * width, row * height + ascent);
      }
      context.restore();
    }
  }
}
