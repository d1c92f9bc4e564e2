// The display pages in headless Chromium, served from 127.0.0.1: frames 1
// and 200 of both displays at 0 and 4 samples, on two of Chromium's GLs, against panel-snapshot's of
// the same frame on the shader backend, and without WebGL (or asked) on the
// CPU backend against panel-snapshot's on it (the module built with
// WebAssembly SIMD and the one without); Start and Pause deciding whether
// the frame advances; a display with a missing image showing the refusal.
//   node page_tests.mjs PAGES PANEL_SNAPSHOT FLIGHT_MODULE OUTPUT
// On a failed comparison the page's frame and a difference image (differing
// pixels red over the dimmed reference) are written to OUTPUT.
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { PNG } from 'pngjs';
import { launchChromium, openPage, readFrame, serveFolder } from './browser.mjs';

const [pagesArg, snapshot, flightModule, outputArg] = process.argv.slice(2);
if (!outputArg) {
  console.error('usage: node page_tests.mjs PAGES PANEL_SNAPSHOT FLIGHT_MODULE OUTPUT');
  process.exit(2);
}
const pages = resolve(pagesArg);
const output = resolve(outputArg);
mkdirSync(output, { recursive: true });

// The frames are compared on two of Chromium's GLs. SwiftShader rounds
// corners to 1/16 pixel, Mesa to 1/256: a few aliased edge pixels land on
// the other side, so without multisampling at most 0.1 % of the pixels may
// differ by more than 2 levels. ANGLE over the system's OpenGL ES draws with
// Mesa here, the rasteriser panel-snapshot draws with: there at most the
// goldens' 0.01 %, and the same with multisampling at the goldens' 24
// levels, the page drawing upside down as panel-snapshot does. SwiftShader's
// multisampled edges still differ on up to 0.7 % of the pixels: 1 % may
// differ by more than 24 levels there, which still fails on a missing text,
// needle or image.
const kBrowserGls = [
  { angle: 'swiftshader', tolerances: { 0: { channel: 2, share: 0.001 }, 4: { channel: 24, share: 0.01 } } },
  { angle: 'gl-egl', tolerances: { 0: { channel: 2, share: 0.0001 }, 4: { channel: 24, share: 0.0001 } } },
];

const kCommandStart = 3005;
const kCommandPause = 3006;

const displays = [
  { page: 'instrument-panel', module: null },
  { page: 'flight-display', module: flightModule },
];

// panel-snapshot's frame on the shader backend, when it has one.
const snapshotHelp = execFileSync(snapshot, ['--help']).toString();
const shaderBackend = snapshotHelp.includes('--gl') ? ['--gl', 'es3'] : [];

function snapshotFrame(display, frames, samples, backend = shaderBackend) {
  const file = join(output, `${display.page}-frame${frames}-s${samples}${backend.join('')}-snapshot.png`);
  const args = [...backend, '--frames', String(frames), '--samples', String(samples), '-o', file];
  if (display.module) args.unshift('--display', display.module);
  execFileSync(snapshot, args);
  return PNG.sync.read(readFileSync(file));
}

function writePng(file, width, height, rgba) {
  const png = new PNG({ width, height });
  png.data = Buffer.from(rgba);
  writeFileSync(file, PNG.sync.write(png));
}

// Counts pixels with a channel off by more than tolerance; on too many,
// writes the frame and the difference image and says where.
function compareFrames(name, frame, reference, tolerance) {
  if (frame.width !== reference.width || frame.height !== reference.height)
    return `${name}: the page's frame is ${frame.width} x ${frame.height}, panel-snapshot's ${reference.width} x ${reference.height}`;
  const total = frame.width * frame.height;
  const diff = Buffer.alloc(total * 4);
  let differing = 0;
  for (let i = 0; i < total * 4; i += 4) {
    let worst = 0;
    for (let c = 0; c < 3; ++c) worst = Math.max(worst, Math.abs(frame.rgba[i + c] - reference.data[i + c]));
    const differs = worst > tolerance.channel;
    differing += differs ? 1 : 0;
    for (let c = 0; c < 3; ++c) diff[i + c] = differs ? (c === 0 ? 255 : 0) : reference.data[i + c] >> 2;
    diff[i + 3] = 255;
  }
  const allowed = Math.floor(total * tolerance.share);
  console.log(`  ${name}: ${differing} of ${total} pixels differ by more than ${tolerance.channel} (at most ${allowed} may)`);
  if (differing <= allowed) return null;
  writePng(join(output, `${name}-page.png`), frame.width, frame.height, frame.rgba);
  writePng(join(output, `${name}-diff.png`), frame.width, frame.height, diff);
  return `${name}: ${differing} pixels differ (at most ${allowed} may); see ${output}/${name}-page.png and -diff.png`;
}

const failures = [];
function check(condition, message) {
  if (!condition) failures.push(message);
  return condition;
}

async function framesMatchSnapshotsOn(gl, origin) {
  const browser = await launchChromium(gl.angle);
  try {
    await framesMatchSnapshots(browser, origin, gl);
  } finally {
    await browser.close();
  }
}

async function framesMatchSnapshots(browser, origin, gl) {
  for (const display of displays) {
    for (const frames of [1, 200]) {
      for (const samples of [0, 4]) {
        const name = `${gl.angle}-${display.page}-frame${frames}-s${samples}`;
        const { page, state } = await openPage(browser, `${origin}/${display.page}/?frames=${frames}&samples=${samples}&paused=1`);
        if (check(state.ready, `${name}: the page did not start: ${state.errors} ${state.console.join(' | ')}`)) {
          check(state.frame === frames, `${name}: the page shows frame ${state.frame}`);
          check(state.renderer === 'Отрисовка: WebGL 2', `${name}: the page says "${state.renderer}"`);
          const failure = compareFrames(name, await readFrame(page), snapshotFrame(display, frames, samples),
            gl.tolerances[samples]);
          check(!failure, failure);
        }
        await page.close();
      }
    }
  }
}

// Without WebGL the page draws through the CPU backend compiled with it onto
// a 2-D canvas, and so it does where WebGL is there when its address asks:
// either way it must say so, and its frames must be panel-snapshot's on the
// CPU backend within the goldens' tolerance. So in a browser with
// WebAssembly SIMD, where the page runs its module built with SIMD
// (NAME-simd.wasm), and in one without, where it runs the other (NAME.wasm).
const kCpuPages = [
  { name: 'no-webgl', chromium: ['--disable-webgl'], address: '', says: 'процессор, так как WebGL 2 недоступен' },
  { name: 'asked', chromium: [], address: '&renderer=cpu', says: 'процессор (задано адресом: renderer=cpu)' },
];
const kWasmBuilds = [
  { name: 'simd', withoutWasmSimd: false, module: (page) => `${page}-simd.wasm`, says: '; WebAssembly SIMD' },
  { name: 'plain', withoutWasmSimd: true, module: (page) => `${page}.wasm`,
    says: '; WebAssembly без SIMD (его нет в браузере)' },
];
const kCpuTolerances = { 0: { channel: 2, share: 0.0001 }, 4: { channel: 24, share: 0.0001 } };

// SIMD instructions in a module's text (binaryen's wasm-dis): the SIMD
// build must have them, the other none, or a browser without SIMD refuses it.
function simdInstructions(file) {
  const text = execFileSync('wasm-dis', [file], { maxBuffer: 1 << 30 }).toString();
  return (text.match(/\b(v128|i8x16|i16x8|i32x4|i64x2|f32x4|f64x2)\./g) || []).length;
}

function wasmBuildsDiffer() {
  for (const display of displays) {
    const simd = simdInstructions(join(pages, display.page, `${display.page}-simd.wasm`));
    const plain = simdInstructions(join(pages, display.page, `${display.page}.wasm`));
    console.log(`  ${display.page}: ${simd} SIMD instructions with SIMD, ${plain} without`);
    check(simd > 0 && plain === 0, `${display.page}: ${simd} SIMD instructions in the SIMD build, ${plain} in the other`);
  }
}

async function cpuPagesMatchSnapshots(origin) {
  for (const cpu of kCpuPages) {
    const browser = await launchChromium('swiftshader', cpu.chromium);
    try {
      for (const build of kWasmBuilds) {
        await cpuPagesOfBuildMatchSnapshots(browser, origin, cpu, build);
      }
    } finally {
      await browser.close();
    }
  }
}

async function cpuPagesOfBuildMatchSnapshots(browser, origin, cpu, build) {
  for (const display of displays) {
    for (const frames of [1, 200]) {
      for (const samples of [0, 4]) {
        const name = `cpu-${cpu.name}-${build.name}-${display.page}-frame${frames}-s${samples}`;
        const { page, state } = await openPage(browser,
          `${origin}/${display.page}/?frames=${frames}&samples=${samples}&paused=1${cpu.address}`, build);
        if (check(state.ready, `${name}: the page did not start: ${state.errors} ${state.console.join(' | ')}`)) {
          check(state.frame === frames, `${name}: the page shows frame ${state.frame}`);
          check(state.renderer.includes(cpu.says) && state.renderer.endsWith(build.says),
            `${name}: the page says "${state.renderer}"`);
          check(state.wasm.join() === build.module(display.page), `${name}: the page ran ${state.wasm.join()}`);
          const failure = compareFrames(name, await readFrame(page),
            snapshotFrame(display, frames, samples, ['--gl', 'cpu']), kCpuTolerances[samples]);
          check(!failure, failure);
        }
        await page.close();
      }
    }
  }
}

// Waits a few of the 40 ms cycles and returns the frame the page shows.
async function frameAfterCycles(page, cycles) {
  await new Promise((done) => setTimeout(done, cycles * 40));
  return page.evaluate(() => panelPage.frame());
}

async function startAndPauseDecideWhetherFramesAdvance(browser, origin) {
  const { page, state } = await openPage(browser, `${origin}/instrument-panel/?paused=1`);
  if (!check(state.ready, `paused page did not start: ${state.errors}`)) return;
  check(state.title === 'Приборы двигателя', `the page's title is "${state.title}", not the display's name`);
  check(await frameAfterCycles(page, 10) === 1, 'a paused page advanced');
  const start = `button[data-command="${kCommandStart}"]`, pause = `button[data-command="${kCommandPause}"]`;
  check(await page.$eval(start, (b) => b.textContent) === 'Старт', 'the start button is not "Старт"');
  await page.click(start);
  const running = await frameAfterCycles(page, 10);
  check(running > 1, `after Start the frame stayed at ${running}`);
  check(await page.$eval(start, (b) => b.disabled) && !(await page.$eval(pause, (b) => b.disabled)),
    'while running Start is enabled or Pause disabled');
  await page.click(pause);
  const paused = await page.evaluate(() => panelPage.frame());
  check(await frameAfterCycles(page, 10) === paused, 'after Pause the frame still advanced');
  // A new sample count makes a new context and keeps the display's values.
  await page.click('button[data-command="3000"]');
  check(await page.evaluate(() => panelPage.frame()) === paused, 'changing the sample count changed the frame');
  check(await page.$eval('button[data-command="3000"]', (b) => b.getAttribute('aria-pressed')) === 'true',
    '"Отключен" is not checked after choosing it');
  await page.close();
}

// On an 800 x 480 tablet the whole display shows, scaled down with its
// aspect kept and nothing to scroll; ?scale=1 shows it pixel for pixel.
async function aSmallViewportSeesTheWholeDisplay(browser, origin) {
  for (const oneToOne of [false, true]) {
    const page = await browser.newPage();
    await page.setViewport({ width: 800, height: 480 });
    await page.goto(`${origin}/instrument-panel/?paused=1${oneToOne ? '&scale=1' : ''}`);
    await page.waitForFunction(() => window.panelPage && (panelPage.ready || panelPage.failed), { timeout: 60000 });
    const shown = await page.evaluate(() => {
      const canvas = document.getElementById('canvas');
      const box = canvas.getBoundingClientRect();
      return { width: canvas.width, height: canvas.height, box: { left: box.left, right: box.right,
        bottom: box.bottom, w: box.width, h: box.height }, scrolls: document.documentElement.scrollHeight > innerHeight };
    });
    const name = oneToOne ? 'scale=1' : 'fitted';
    if (oneToOne) {
      check(shown.box.w === shown.width && shown.box.h === shown.height,
        `${name}: the canvas shows at ${shown.box.w}x${shown.box.h}, not its ${shown.width}x${shown.height}`);
    } else {
      check(shown.box.right <= 800 && shown.box.bottom <= 480 && !shown.scrolls,
        `${name}: the display reaches past the 800x480 viewport: ${JSON.stringify(shown.box)}`);
      check(Math.abs(shown.box.w / shown.box.h - shown.width / shown.height) < 0.01,
        `${name}: the aspect is not kept: ${shown.box.w}x${shown.box.h} for ${shown.width}x${shown.height}`);
      check(Math.abs(shown.box.left - (800 - shown.box.right)) <= 13,
        `${name}: the display is not centred: ${JSON.stringify(shown.box)}`);
    }
    await page.close();
  }
}

async function aMissingImageShowsTheRefusal(browser, origin) {
  const { page, state } = await openPage(browser, `${origin}/missing-image/`);
  check(!state.ready, 'the page without its image started');
  check(state.errors.includes('Ошибка загрузки символов.') && state.errors.includes('lamp_fuel.png'),
    `the refusal on the page does not name the image: "${state.errors}"`);
  await page.close();
}

const { server, origin } = await serveFolder(pages);
const browser = await launchChromium();
try {
  for (const gl of kBrowserGls) {
    console.log(`framesMatchSnapshots on ${gl.angle}`);
    await framesMatchSnapshotsOn(gl, origin);
  }
  console.log('wasmBuildsDiffer');
  wasmBuildsDiffer();
  console.log('cpuPagesMatchSnapshots');
  await cpuPagesMatchSnapshots(origin);
  for (const test of [startAndPauseDecideWhetherFramesAdvance, aSmallViewportSeesTheWholeDisplay,
    aMissingImageShowsTheRefusal]) {
    console.log(test.name);
    await test(browser, origin);
  }
} catch (error) {
  failures.push(String(error.stack || error));
} finally {
  await browser.close();
  server.close();
}
for (const failure of failures) console.error('FAILED ' + failure);
console.log(failures.length ? `page tests: ${failures.length} failures` : 'page tests: all passed');
process.exit(failures.length ? 1 : 0);
