// Page benchmark: the time from a wheel step on the flight display's compass
// rose to the composited frame that shows the heading bug turned, in headless
// Chromium, on WebGL 2 and on the CPU backend.
//   node bench_page_events.mjs PAGES [EVENTS]
// Each round Chromium's input pipeline delivers one wheel step (DevTools'
// mouse wheel, as a mouse does); the time counts from the event's own time
// stamp to the second animation frame after it: the first runs the page's
// paint (the module's frame callback is queued before the one the event
// handler asks for), the second starts once that frame is composited. The
// first 10 rounds, which build glyphs and buffers, are left out.
// (Run from build-web/node, where ./build.sh test puts the scripts.)
import { resolve } from 'node:path';
import { launchChromium, openPage, serveFolder } from './browser.mjs';

const [pagesArg, eventsArg] = process.argv.slice(2);
if (!pagesArg) {
  console.error('usage: node bench_page_events.mjs PAGES [EVENTS]');
  process.exit(2);
}
const events = Number(eventsArg || 200);
const kWarmUp = 10;
// The rose's centre in display units (y up), and the page's margin.
const kRose = { x: 250, y: 185 };
const kMargin = 10;

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.ceil(p / 100 * sorted.length) - 1)];
}

async function measure(browser, origin, renderer) {
  const { page, state } = await openPage(browser,
    `${origin}/flight-display/?frames=1&paused=1&samples=0&renderer=${renderer}`);
  if (!state.ready) throw new Error(`flight-display (${renderer}): ${state.errors}`);
  const at = await page.evaluate((rose, margin) => {
    const canvas = document.getElementById('canvas');
    const box = canvas.getBoundingClientRect();
    const scale = box.width / canvas.width;
    window.benchShown = [];
    window.addEventListener('wheel', (event) => {
      const stamp = event.timeStamp;
      requestAnimationFrame(() => requestAnimationFrame((shown) => window.benchShown.push(shown - stamp)));
    }, { capture: true });
    return { x: box.left + (rose.x + margin) * scale, y: box.top + (canvas.height - rose.y - margin) * scale };
  }, kRose, kMargin);
  await page.mouse.move(at.x, at.y);
  for (let round = 0; round < kWarmUp + events; ++round) {
    await page.mouse.wheel({ deltaY: round % 2 ? 100 : -100 });
    await page.waitForFunction((count) => window.benchShown.length >= count, {}, round + 1);
  }
  const times = (await page.evaluate(() => window.benchShown)).slice(kWarmUp).sort((a, b) => a - b);
  await page.close();
  console.log(`flight-display, ${renderer}: ${times.length} wheel steps, event to composited frame ` +
    `p50 ${percentile(times, 50).toFixed(1)} ms, p99 ${percentile(times, 99).toFixed(1)} ms, ` +
    `max ${times[times.length - 1].toFixed(1)} ms`);
}

const { server, origin } = await serveFolder(resolve(pagesArg));
const browser = await launchChromium();
try {
  for (const renderer of ['webgl', 'cpu']) await measure(browser, origin, renderer);
} finally {
  await browser.close();
  server.close();
}
