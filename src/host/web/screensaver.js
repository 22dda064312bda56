// The screensaver mode of a <glyph-aquarium>: it waits for a key or a click
// meant for the element, runs full screen until the user's next input, and
// waits again. Keys typed elsewhere on the page are left alone.
const promptText = 'Click or press a key: the aquarium fills the screen until you move';

export class Screensaver {
  #element;
  #canvas;
  #control;
  #core = null;
  #aquarium = 0;
  #listening = null; // aborts the listeners of one run of the mode
  #active = false;   // between entering and leaving full screen
  #kiosk = false;
  #wakeLock = null;
  #askingForLock = false;

  constructor(element, canvas, control) {
    this.#element = element;
    this.#canvas = canvas;
    this.#control = control;
  }

  get active() { return this.#active; }

  // The mode starts afresh each time: on a new connection, or when the
  // attribute is set.
  begin(core, aquarium) {
    this.finish();
    this.#core = core;
    this.#aquarium = aquarium;
    const element = this.#element;
    const signal = (this.#listening = new AbortController()).signal;
    window.addEventListener('keydown', (event) => this.#onInput(event, true), { signal });
    element.addEventListener('pointerdown', (event) => this.#onInput(event, event.button === 0 || event.button === 2), { signal });
    element.addEventListener('pointermove', (event) => this.#onPointerMove(event), { signal });
    element.addEventListener('contextmenu', (event) => { if (this.#active) event.preventDefault(); }, { signal });
    document.addEventListener('fullscreenchange', () => {
      if (this.#active && !this.#kiosk && document.fullscreenElement !== element) this.#leave();
    }, { signal });
    // The browser drops the wake lock while the tab is hidden; it is taken again on return.
    document.addEventListener('visibilitychange', () => { if (this.#active) this.#takeWakeLock(); }, { signal });
    // A kiosk browser fills the screen without the Fullscreen API: there the
    // aquarium runs at once, and no prompt covers it while it waits.
    this.#kiosk = !document.fullscreenElement && window.innerWidth >= screen.width && window.innerHeight >= screen.height;
    if (this.#kiosk) this.#enter();
    else this.#wait();
  }

  // Ends the mode without an `ended` event: the page ended it, not the user.
  finish() {
    this.#listening?.abort();
    this.#listening = null;
    this.#stop();
    this.#control.hidden = true;
  }

  #onInput(event, counts) {
    if (this.#active) {
      if (counts) this.#leave();
    } else if (event.composedPath().includes(this.#element)) {
      this.#enter();
    }
  }

  #onPointerMove(event) {
    if (!this.#active) return;
    const closes = this.#core._glyph_mouse_closes(this.#aquarium, Math.round(event.screenX), Math.round(event.screenY),
                                                  performance.now() >>> 0);
    if (closes) this.#leave();
  }

  #wait() {
    this.#control.textContent = promptText;
    this.#control.hidden = this.#kiosk;
  }

  async #enter() {
    if (this.#active) return;
    this.#active = true;
    this.#control.hidden = true;
    this.#element.classList.add('running-screensaver');
    this.#core._glyph_watch_mouse(this.#aquarium, performance.now() >>> 0);
    this.#element.start();
    this.#takeWakeLock();
    if (this.#kiosk) return;
    try {
      await this.#element.requestFullscreen();
      // An input that came while the browser was granting it ended the run already.
      if (!this.#active) document.exitFullscreen().catch(() => {});
    } catch {
      // Refused (no user gesture, or a frame without allowfullscreen): the aquarium runs in its box.
    }
  }

  #leave() {
    if (!this.#active) return;
    this.#stop();
    this.#wait();
    // So that the next key reaches the aquarium, unless the user's focus is elsewhere.
    if (!document.activeElement || document.activeElement === document.body) {
      (this.#kiosk ? this.#canvas : this.#control).focus({ preventScroll: true });
    }
    this.#element.dispatchEvent(new Event('ended'));
  }

  #stop() {
    this.#active = false;
    this.#element.classList.remove('running-screensaver');
    if (document.fullscreenElement === this.#element) document.exitFullscreen().catch(() => {});
    const lock = this.#wakeLock;
    this.#wakeLock = null;
    lock?.release().catch(() => {});
  }

  async #takeWakeLock() {
    if (!navigator.wakeLock || this.#wakeLock || this.#askingForLock || document.hidden) return;
    this.#askingForLock = true;
    try {
      const lock = await navigator.wakeLock.request('screen');
      if (this.#active && !this.#wakeLock) {
        this.#wakeLock = lock;
        lock.addEventListener('release', () => { if (this.#wakeLock === lock) this.#wakeLock = null; });
      } else {
        lock.release().catch(() => {});
      }
    } catch {
      // Not offered here (an insecure page, a low battery): the screen may blank on its own.
    } finally {
      this.#askingForLock = false;
    }
  }
}
