// The page side of the display host: the controls, the canvas and the
// messages the module asks for (app/web/page_bridge.cpp), and the address's
// parameters handed to the module as its command line.
'use strict';

// ?frames=N&samples=S&renderer=R&paused=1&batched=0|1&data=SOURCE become
// --frames N --samples S --renderer R --paused --exact|--batched --data SOURCE.
function pageArguments(search) {
  const params = new URLSearchParams(search);
  const args = [];
  for (const name of ['frames', 'samples', 'renderer', 'data']) {
    if (params.has(name)) args.push('--' + name, params.get(name));
  }
  if (params.get('paused') === '1') args.push('--paused');
  if (params.has('batched')) args.push(params.get('batched') === '0' ? '--exact' : '--batched');
  return args;
}

var panelPage = {
  ready: false,
  failed: false,
  controls: new Map(),

  makeCanvas(width, height) {
    const old = document.getElementById('canvas');
    const canvas = document.createElement('canvas');
    canvas.id = 'canvas';
    canvas.width = width;
    canvas.height = height;
    old.replaceWith(canvas);
    canvas.addEventListener('webglcontextlost', (event) => event.preventDefault());
  },
  setTitle(name) {
    document.title = name;
    document.getElementById('title').textContent = name;
  },
  addGroup(label) {
    const group = document.createElement('span');
    group.className = 'group';
    if (label) {
      const heading = document.createElement('span');
      heading.textContent = label + ':';
      group.appendChild(heading);
    }
    document.getElementById('controls').appendChild(group);
  },
  addCommand(id, label) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = label;
    button.dataset.command = id;
    button.addEventListener('click', () => Module._webCommand(id));
    document.getElementById('controls').lastChild.appendChild(button);
    this.controls.set(id, button);
  },
  setCommandState(id, enabled, checked) {
    const button = this.controls.get(id);
    if (!button) return;
    button.disabled = !enabled;
    button.setAttribute('aria-pressed', checked ? 'true' : 'false');
  },
  showError(caption, text) {
    this.failed = true;
    const message = document.createElement('p');
    message.textContent = caption + ': ' + text;
    document.getElementById('errors').appendChild(message);
  },
  showFrame(frame, running) {
    document.getElementById('frame').textContent = '#' + frame + (running ? '' : ' ‖');
  },
  // openingMs: how long the opening frames took to draw. The times below
  // count from the page's navigation: readyMs when they are drawn, shownMs
  // once the browser has composited a frame after them.
  setReady(openingMs) {
    this.ready = true;
    this.openingMs = openingMs;
    this.readyMs = performance.now();
    requestAnimationFrame(() => requestAnimationFrame(() => { this.shownMs = performance.now(); }));
  },
  // The frame on the canvas: { width, height, rgba } top row first.
  readFrame() {
    const width = Module._webWidth(), height = Module._webHeight();
    const pointer = Module._webReadFrame();
    if (!pointer) return null;
    return { width, height, rgba: Module.HEAPU8.slice(pointer, pointer + width * height * 4) };
  },
  frame() { return Module._webFrame(); },
};

// Opened as a file, the page may not read its own .wasm and .data: the
// browser refuses, and all the module could say is "Script error.". The
// page says instead how to serve it, with its own folder in the command.
function fileOpeningMessage(path) {
  const folders = decodeURIComponent(path).split('/').slice(0, -1);
  const page = folders.pop() || '';
  const served = folders.join('/') || '/';
  return 'Страница открыта как файл (file://), а браузер не даёт ей загрузить свои файлы. ' +
    'Откройте её через веб-сервер, например:\n' +
    'python3 -m http.server --bind 127.0.0.1 -d \'' + served + '/' + page + '\' 8000\n' +
    'и затем адрес http://127.0.0.1:8000/';
}
const openedAsFile = location.protocol === 'file:';
if (openedAsFile) panelPage.showError('Ошибка', fileOpeningMessage(location.pathname));

// A failure of the module shows on the page like the host's own; opened as
// a file, the one message above says it all.
function showModuleError(text) {
  if (!openedAsFile) panelPage.showError('Ошибка', text);
}
window.addEventListener('error', (event) => showModuleError(String(event.message)));
window.addEventListener('unhandledrejection', (event) => showModuleError(String(event.reason)));

// The page's module comes in two builds: NAME.js with WebAssembly SIMD in
// NAME-simd.js. A browser that has SIMD validates this module of one SIMD
// instruction (v128 i8x16.popcnt(i8x16.splat(0))) and gets the faster one.
const kSimdProbe = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0,
  65, 0, 253, 15, 253, 98, 11]);
function loadPageModule(name) {
  panelPage.wasmSimd = WebAssembly.validate(kSimdProbe);
  const script = document.createElement('script');
  script.src = name + (panelPage.wasmSimd ? '-simd' : '') + '.js';
  document.body.appendChild(script);
}

var Module = {
  arguments: pageArguments(location.search),
  print: (text) => console.log(text),
  printErr: (text) => console.error(text),
  onAbort: (what) => showModuleError(String(what)),
  // When the module is compiled, instantiated and its files are loaded:
  // what the start-up spends before the display's first frame.
  onRuntimeInitialized: () => { panelPage.runtimeMs = performance.now(); },
};
