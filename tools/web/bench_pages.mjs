// Page benchmark: time to the first frame and the time per frame of each
// display's page in headless Chromium, in exact and batched mode, on WebGL 2
// and on the CPU backend (?renderer=cpu), the CPU in the module built with
// WebAssembly SIMD and in the one without (as a browser without SIMD runs
// it), without multisampling and for the CPU also with 4 samples.
//   node bench_pages.mjs PAGES [FRAMES] [RUNS] [ROUNDS] [MODES]
// The first frame is timed from the page's navigation, RUNS times (default
// 5) in a fresh browser context each (nothing cached, as on a first visit):
// when the module is ready (compiled, instantiated, its files loaded), when
// the frame is drawn, and when the browser has composited it.
// A page draws the frames of its address at once, each finished before the
// next; the time per frame is the difference between opening FRAMES + 1
// frames and opening one, divided by FRAMES (default 200). The modes take
// turns, ROUNDS times (default 3), so that a machine's changing load falls
// on all of them alike; printed: the median of the rounds and their range.
// MODES, when given, times only the modes whose names contain it ("CPU").
// (Run from build-web/node, where ./build.sh test puts the scripts.)
import { resolve } from 'node:path';
import { launchChromium, openPage, serveFolder } from './browser.mjs';

const [pagesArg, framesArg, runsArg, roundsArg, modesArg] = process.argv.slice(2);
if (!pagesArg) {
  console.error('usage: node bench_pages.mjs PAGES [FRAMES] [RUNS] [ROUNDS] [MODES]');
  process.exit(2);
}
const frames = Number(framesArg || 200);
const runs = Number(runsArg || 5);
const rounds = Number(roundsArg || 3);
const { server, origin } = await serveFolder(resolve(pagesArg));
const browser = await launchChromium();

// The modes timed per frame, as the address asks for them.
const kAllModes = [
  { name: 'WebGL exact', address: '&samples=0&batched=0' },
  { name: 'WebGL batched', address: '&samples=0&batched=1' },
  { name: 'CPU exact', address: '&samples=0&batched=0&renderer=cpu' },
  { name: 'CPU exact, no SIMD', address: '&samples=0&batched=0&renderer=cpu', withoutWasmSimd: true },
  { name: 'CPU batched', address: '&samples=0&batched=1&renderer=cpu' },
  { name: 'CPU batched, no SIMD', address: '&samples=0&batched=1&renderer=cpu', withoutWasmSimd: true },
  { name: 'CPU batched, 4 samples', address: '&samples=4&batched=1&renderer=cpu' },
  { name: 'CPU batched, 4 samples, no SIMD', address: '&samples=4&batched=1&renderer=cpu', withoutWasmSimd: true },
];
const kModes = kAllModes.filter((mode) => mode.name.includes(modesArg || ''));

async function open(context, display, count, address, options = {}) {
  const { page, state } = await openPage(context, `${origin}/${display}/?frames=${count}&paused=1${address}`, options);
  if (state.ready) await page.waitForFunction(() => panelPage.shownMs !== undefined);
  state.shownMs = await page.evaluate(() => panelPage.shownMs);
  await page.close();
  if (!state.ready) throw new Error(`${display}: ${state.errors}`);
  return state;
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function summary(values) {
  return `${median(values).toFixed(0)} ms (${Math.min(...values).toFixed(0)}-${Math.max(...values).toFixed(0)})`;
}

async function firstFrame(display) {
  const times = { runtimeMs: [], readyMs: [], shownMs: [] };
  for (let run = 0; run < runs; ++run) {
    const context = await browser.createBrowserContext();
    const state = await open(context, display, 1, '&samples=0');
    await context.close();
    for (const key of Object.keys(times)) times[key].push(state[key]);
  }
  console.log(`${display}: first frame on screen ${summary(times.shownMs)}, drawn ${summary(times.readyMs)}, ` +
    `module ready ${summary(times.runtimeMs)} after navigation (median of ${runs}, range)`);
}

try {
  for (const display of ['instrument-panel', 'flight-display']) {
    await firstFrame(display);
    const perFrame = new Map(kModes.map((mode) => [mode, []]));
    for (let round = 0; round < rounds; ++round) {
      for (const mode of kModes) {
        const one = await open(browser, display, 1, mode.address, mode);
        const many = await open(browser, display, frames + 1, mode.address, mode);
        perFrame.get(mode).push((many.openingMs - one.openingMs) / frames);
      }
    }
    for (const [mode, times] of perFrame) {
      const range = `${Math.min(...times).toFixed(1)}-${Math.max(...times).toFixed(1)}`;
      console.log(`${display}: ${mode.name} ${median(times).toFixed(1)} ms a frame (${range}, ${rounds} rounds)`);
    }
  }
} finally {
  await browser.close();
  server.close();
}
