// The <glyph-aquarium> element: an aquarium drawn in coloured characters on
// black, filling the element's box.

/** The events a <glyph-aquarium> fires, beside those of every element. */
export interface GlyphAquariumEventMap extends HTMLElementEventMap {
  /** The WebAssembly core is loaded and the first frame drawn. */
  ready: Event;
  /** In screensaver mode, the user's input ended a run. */
  ended: Event;
  /** The WebAssembly core could not be loaded; the element says so in one line. */
  error: ErrorEvent;
}

/** The element's attributes, as text; a value out of range is refused with a warning and the default applies. */
export interface GlyphAquariumAttributes {
  /** 0 to 4294967295: the same seed and size give the same aquarium. Default: a seed of its own. */
  seed?: string;
  /** Frames a second, 1 to 60. Default 10. */
  fps?: string;
  /** The character height in pixels, 4 to 512. Default: a ninety-sixth of the element's height, at least 8. */
  'font-size'?: string;
  /** Present (and not "false"): a key or click on the element fills the screen until the user's next input. */
  screensaver?: string;
}

export declare class GlyphAquarium extends HTMLElement {
  static readonly observedAttributes: string[];
  /** The seed in use; setting it starts a new aquarium. */
  seed: number | null;
  /** Whether the screensaver attribute is set. */
  readonly screensaver: boolean;
  /** Ticks since the aquarium last started. */
  readonly ticks: number;
  /** The grid's size in characters. */
  readonly columns: number;
  readonly rows: number;
  /** Whether it animates (start() until stop()). */
  readonly running: boolean;
  start(): void;
  stop(): void;
  addEventListener<K extends keyof GlyphAquariumEventMap>(
    type: K, listener: (this: GlyphAquarium, event: GlyphAquariumEventMap[K]) => unknown,
    options?: boolean | AddEventListenerOptions): void;
  addEventListener(type: string, listener: EventListenerOrEventListenerObject,
                   options?: boolean | AddEventListenerOptions): void;
  removeEventListener<K extends keyof GlyphAquariumEventMap>(
    type: K, listener: (this: GlyphAquarium, event: GlyphAquariumEventMap[K]) => unknown,
    options?: boolean | EventListenerOptions): void;
  removeEventListener(type: string, listener: EventListenerOrEventListenerObject,
                      options?: boolean | EventListenerOptions): void;
}

declare global {
  interface HTMLElementTagNameMap {
    'glyph-aquarium': GlyphAquarium;
  }
}
