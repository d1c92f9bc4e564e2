// The canvas's pointer, wheel and key events into the display: each pointer
// event's place in the canvas's own pixels (whatever the fit's scale and the
// device's pixel ratio make of its size on screen) goes to the module, which
// takes off the margin and turns y upwards (webPointer in app/web/main.cpp).
// The mouse is pointer 0; each finger or pen has an id from 1 while it
// touches. Keys go to the display while the canvas has the focus, which a
// click gives it.
'use strict';

var panelPointer = {
  GR_EVENT_POINTER_DOWN: 1, GR_EVENT_POINTER_MOVE: 2, GR_EVENT_POINTER_UP: 3, GR_EVENT_WHEEL: 4,
  GR_EVENT_KEY_DOWN: 5, GR_EVENT_KEY_UP: 6,
  // Pixels of scrolling that make one wheel step: a notch of a mouse wheel.
  wheelStepPixels: 100,
  ids: new Map(),  // the browser's pointerId -> the display's pointer
  wheelRest: 0,

  pointerOf(event, starting) {
    if (event.pointerType === 'mouse') return 0;
    if (!this.ids.has(event.pointerId)) {
      if (!starting) return -1;
      const used = new Set(this.ids.values());
      let id = 1;
      while (used.has(id)) ++id;
      this.ids.set(event.pointerId, id);
    }
    return this.ids.get(event.pointerId);
  },
  modifiersOf(event) {
    return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
  },
  // The browser's button (0 main, 1 middle, 2 secondary) as GR_BUTTON_*.
  buttonOf(event) {
    return [1, 2, 3][event.button] || 0;
  },
  send(canvas, type, pointer, event, button, steps) {
    const box = canvas.getBoundingClientRect();
    if (!(box.width > 0 && box.height > 0)) return;
    const x = (event.clientX - box.left) * canvas.width / box.width;
    const y = (event.clientY - box.top) * canvas.height / box.height;
    Module._webPointer(type, pointer, x, y, button, steps, this.modifiersOf(event));
  },

  onDown(canvas, event) {
    const pointer = this.pointerOf(event, true);
    canvas.focus({ preventScroll: true });
    // A drag that leaves the canvas still ends on it; a pointer the browser
    // no longer tracks is not captured.
    try {
      canvas.setPointerCapture(event.pointerId);
    } catch {}
    this.send(canvas, this.GR_EVENT_POINTER_DOWN, pointer, event, this.buttonOf(event), 0);
    event.preventDefault();
  },
  onMove(canvas, event) {
    const pointer = this.pointerOf(event, false);
    if (pointer < 0) return;
    // A fast pointer's moves come merged into one event per frame.
    this.send(canvas, this.GR_EVENT_POINTER_MOVE, pointer, event, 0, 0);
  },
  onUp(canvas, event) {
    const pointer = this.pointerOf(event, false);
    if (pointer < 0) return;
    if (event.pointerType !== 'mouse') this.ids.delete(event.pointerId);
    this.send(canvas, this.GR_EVENT_POINTER_UP, pointer, event, this.buttonOf(event), 0);
  },
  // Steps away from the user are positive; a fine-grained wheel adds up.
  onWheel(canvas, event) {
    event.preventDefault();
    const lines = event.deltaMode === WheelEvent.DOM_DELTA_LINE ? 3 : event.deltaMode === WheelEvent.DOM_DELTA_PAGE ? 0.1 : 0;
    const pixels = lines ? event.deltaY / lines * this.wheelStepPixels : event.deltaY;
    this.wheelRest -= pixels;
    const steps = Math.trunc(this.wheelRest / this.wheelStepPixels);
    if (steps === 0) return;
    this.wheelRest -= steps * this.wheelStepPixels;
    this.send(canvas, this.GR_EVENT_WHEEL, 0, event, 0, steps);
  },

  // GR_KEY_* of gr_display.h, or 0 for a key the display does not take.
  keyOf(event) {
    const code = event.code;
    let match = /^Key([A-Z])$/.exec(code) || /^(?:Digit|Numpad)([0-9])$/.exec(code);
    if (match) return match[1].charCodeAt(0);
    match = /^F([0-9]+)$/.exec(code);
    if (match && +match[1] >= 1 && +match[1] <= 12) return 0x111 + (+match[1] - 1);
    const named = {
      Space: 0x20, Equal: 0x2B, NumpadAdd: 0x2B, Minus: 0x2D, NumpadSubtract: 0x2D, Enter: 0x100,
      NumpadEnter: 0x100, Escape: 0x101, Tab: 0x102, Backspace: 0x103, Delete: 0x104,
      ArrowLeft: 0x105, ArrowRight: 0x106, ArrowUp: 0x107, ArrowDown: 0x108, Home: 0x109, End: 0x10A,
      PageUp: 0x10B, PageDown: 0x10C,
    };
    return named[code] || 0;
  },
  onKey(event, type) {
    const key = this.keyOf(event);
    // The browser's own shortcuts stay the browser's.
    if (key === 0 || event.ctrlKey || event.altKey || event.metaKey) return;
    Module._webKey(type, key, this.modifiersOf(event));
    // Tab still moves the focus on, out of the canvas.
    if (key !== 0x102) event.preventDefault();
  },

  bind(canvas) {
    canvas.tabIndex = 0;
    canvas.style.touchAction = 'none';
    canvas.addEventListener('pointerdown', (event) => this.onDown(canvas, event));
    canvas.addEventListener('pointermove', (event) => this.onMove(canvas, event));
    canvas.addEventListener('pointerup', (event) => this.onUp(canvas, event));
    canvas.addEventListener('pointercancel', (event) => this.onUp(canvas, event));
    canvas.addEventListener('wheel', (event) => this.onWheel(canvas, event), { passive: false });
    canvas.addEventListener('keydown', (event) => this.onKey(event, this.GR_EVENT_KEY_DOWN));
    canvas.addEventListener('keyup', (event) => this.onKey(event, this.GR_EVENT_KEY_UP));
  },
};

// Each new canvas (a new sample count makes one) takes the events; the
// fingers down on the old one are forgotten.
(function () {
  const makeCanvas = panelPage.makeCanvas;
  panelPage.makeCanvas = function (width, height) {
    makeCanvas.call(this, width, height);
    panelPointer.ids.clear();
    panelPointer.bind(document.getElementById('canvas'));
  };
})();
