// The core of every <glyph-aquarium> on a page: one WebAssembly instance,
// loaded when the first aquarium is connected, in which each aquarium has a
// scene of its own.
import createGlyphCore from './glyphmarinae-core.mjs';

let corePromise = null;

// Rejects, for every aquarium alike, when the core cannot be fetched or compiled.
export const loadCore = () => (corePromise ??= createGlyphCore());
