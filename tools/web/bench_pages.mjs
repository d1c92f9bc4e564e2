// Page benchmark: time to the first frame and the time per frame of each
// display's page in headless Chromium, in exact and batched mode.
//   node bench_pages.mjs PAGES [FRAMES]
// A page draws the frames of its address at once, each finished before the
// next; the time per frame is the difference between opening FRAMES + 1
// frames and opening one, divided by FRAMES (default 200).
// (Run from build-web/node, where ./build.sh test puts the scripts.)
import { resolve } from 'node:path';
import { launchChromium, openPage, serveFolder } from './browser.mjs';

const [pagesArg, framesArg] = process.argv.slice(2);
if (!pagesArg) {
  console.error('usage: node bench_pages.mjs PAGES [FRAMES]');
  process.exit(2);
}
const frames = Number(framesArg || 200);
const { server, origin } = await serveFolder(resolve(pagesArg));
const browser = await launchChromium();

async function openingMs(display, count, batched) {
  const { page, state } = await openPage(browser,
    `${origin}/${display}/?frames=${count}&samples=0&paused=1${batched ? '&batched=1' : ''}`);
  await page.close();
  if (!state.ready) throw new Error(`${display}: ${state.errors}`);
  return state;
}

try {
  for (const display of ['instrument-panel', 'flight-display']) {
    const first = await openingMs(display, 1, false);
    console.log(`${display}: first frame ${first.readyMs.toFixed(0)} ms after opening the page`);
    for (const batched of [false, true]) {
      const one = await openingMs(display, 1, batched);
      const many = await openingMs(display, frames + 1, batched);
      const perFrame = (many.openingMs - one.openingMs) / frames;
      console.log(`${display}: ${batched ? 'batched' : 'exact'} ${perFrame.toFixed(2)} ms a frame`);
    }
  }
} finally {
  await browser.close();
  server.close();
}
