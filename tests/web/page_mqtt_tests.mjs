// The flight display's page subscribed to the tests' own broker over its
// WebSocket listener, in headless Chromium:
//   node page_mqtt_tests.mjs PAGES PANEL_SNAPSHOT PANEL_FEED FLIGHT_MODULE BROKER_TEMPLATE OUTPUT
// Opened before its broker runs, the page says it is connecting; once the
// broker and a panel-feed publishing an instant of flight run, it shows what
// panel-snapshot renders for those values replayed; the broker stopped,
// every instrument raises its flag within the inputs' freshness limit and a
// frame; started again, the page recovers within 2 s. Then
// a mouse click, a drag and wheel steps on the compass rose, and a finger
// (touch through the DevTools protocol), move the heading bug: each value
// reaches a subscriber of PREFIX/out/heading_bug through the broker and the
// frame shows the bug where panel-snapshot draws it. A mapping the server
// does not have is refused by name.
import { execFileSync, spawn } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import mqtt from 'mqtt';
import { PNG } from 'pngjs';
import { launchChromium, openPage, readFrame, serveFolder } from './browser.mjs';
import { TestBroker } from './test_broker.mjs';

const [pagesArg, snapshot, feed, flightModule, template, outputArg] = process.argv.slice(2);
if (!outputArg) {
  console.error('usage: node page_mqtt_tests.mjs PAGES PANEL_SNAPSHOT PANEL_FEED FLIGHT_MODULE BROKER_TEMPLATE OUTPUT');
  process.exit(2);
}
const pages = resolve(pagesArg);
const output = resolve(outputArg);
mkdirSync(output, { recursive: true });

const failures = [];
function check(condition, message) {
  if (!condition) failures.push(message);
  return condition;
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// An instant of flight, and the heading bug where the events below leave it.
const kValues = { pitch: 6, roll: 20, heading: 90, altitude: 3400, fuel: 80, fuel_flow: 30 };
function recording(name, extra = {}) {
  const rows = Object.entries({ ...kValues, ...extra }).map(([input, value]) => `0.000,${input},${value}`);
  const file = join(output, name + '.csv');
  writeFileSync(file, ['time,input,value', ...rows].join('\n') + '\n');
  return file;
}
// panel-snapshot on the shader backend, as the page draws, where it has
// one; both without multisampling, whose default differs between them.
const shaderBackend = execFileSync(snapshot, ['--help']).toString().includes('--gl') ? ['--gl', 'es3'] : [];
function reference(name, data) {
  const file = join(output, name + '.png');
  execFileSync(snapshot, [...shaderBackend, '--display', flightModule, '--frames', '100', '--samples', '0',
    '--data', data, '-o', file]);
  return PNG.sync.read(readFileSync(file));
}

// Pixels off by more than antialiasing (9 %, the native MQTT test's
// measure), outside the compass's deviation bar, which moves with the frame
// count whatever is fed.
const kMask = { left: 180, top: 502, right: 340, bottom: 662 };
function differing(frame, ref) {
  if (frame.width !== ref.width || frame.height !== ref.height) return Infinity;
  let count = 0;
  for (let y = 0; y < frame.height; ++y) {
    for (let x = 0; x < frame.width; ++x) {
      if (x >= kMask.left && x <= kMask.right && y >= kMask.top && y <= kMask.bottom) continue;
      const i = (y * frame.width + x) * 4;
      let worst = 0;
      for (let c = 0; c < 3; ++c) worst = Math.max(worst, Math.abs(frame.rgba[i + c] - ref.data[i + c]));
      count += worst > 23 ? 1 : 0;
    }
  }
  return count;
}
// Waits up to limitMs for the page's frame to agree with ref; the last
// frame is written to OUTPUT when it does not.
async function expectFrame(page, name, ref, limitMs) {
  const started = Date.now();
  let frame = null, count = Infinity;
  while (Date.now() - started <= limitMs) {
    frame = await readFrame(page);
    count = frame ? differing(frame, ref) : Infinity;
    if (count <= ref.width * ref.height / 1000) return Date.now() - started;
    await sleep(200);
  }
  if (frame) {
    const png = new PNG({ width: frame.width, height: frame.height });
    png.data = Buffer.from(frame.rgba);
    writeFileSync(join(output, name + '-page.png'), PNG.sync.write(png));
  }
  check(false, `${name}: the page's frame differs from panel-snapshot's in ${count} pixels after ${limitMs} ms`);
  return -1;
}
const dataState = (page) => page.$eval('#data', (element) => element.textContent);
async function expectState(page, name, pattern, limitMs) {
  const started = Date.now();
  let text = '';
  while (Date.now() - started <= limitMs) {
    text = await dataState(page);
    if (pattern.test(text)) return;
    await sleep(100);
  }
  check(false, `${name}: the data state reads "${text}", not ${pattern}`);
}

// The page's data state as it changes and its frames as they are shown,
// stamped in the page (performance.now()) by observers of the header: the
// bounds below are measured where the page applies values, not by reading
// frames back.
async function recordHeader(page) {
  await page.evaluate(() => {
    window.headerLog = { frames: [], states: [] };
    const watch = (id, record) => new MutationObserver(record).observe(document.getElementById(id),
      { childList: true, characterData: true, subtree: true });
    watch('frame', () => headerLog.frames.push(performance.now()));
    watch('data', () => headerLog.states.push({ at: performance.now(), text: document.getElementById('data').textContent }));
  });
}
// A time of Node's clock (Date.now()) on the page's clock.
const pageTime = (page, ms) => page.evaluate((ms) => ms - performance.timeOrigin, ms);
// The first data state from sinceMs (page's clock) on that matches pattern,
// as { at, text }, or null after limitMs.
async function stateFrom(page, sinceMs, pattern, limitMs) {
  const found = await page.waitForFunction((since, source) => headerLog.states.find((state) => state.at >= since &&
    new RegExp(source).test(state.text)), { timeout: limitMs, polling: 20 }, sinceMs, pattern.source).catch(() => null);
  return found ? found.jsonValue() : null;
}
// The times between the frames shown from fromMs to toMs and the frame
// after it: { longest, median }.
const frameTimes = (page, fromMs, toMs) => page.evaluate((from, to) => {
  const frames = headerLog.frames, times = [];
  for (let i = 1; i < frames.length && frames[i - 1] <= to; ++i) {
    if (frames[i] >= from) times.push(frames[i] - frames[i - 1]);
  }
  times.sort((a, b) => a - b);
  return { longest: times.length ? times[times.length - 1] : 0, median: times[times.length >> 1] || 0 };
}, fromMs, toMs);

// The flight display's inputs keep GR_DEFAULT_FRESHNESS_MS.
const kFreshnessMs = 500;
// The broker stops: the fed inputs turn stale once the limit has passed
// since the frame that applied the last value, by the next frame at the
// latest.
async function expectStaleInTime(page) {
  const stopping = await pageTime(page, Date.now());
  const stoppedAt = await pageTime(page, await broker.stop());
  const stale = await stateFrom(page, stopping, /^6 stale/, 10000);
  if (!check(stale, 'the inputs did not turn stale without the broker')) return;
  const appliedMs = await page.evaluate(() => panelMqtt.valuesAppliedMs);
  const frames = await frameTimes(page, appliedMs, stale.at);
  const frameMs = frames.longest;
  const afterValue = stale.at - appliedMs;
  console.log(`flags raised ${afterValue.toFixed(0)} ms after the last value applied, ` +
    `${(stale.at - stoppedAt).toFixed(0)} ms after the broker stopped (limit ${kFreshnessMs} ms; frames ` +
    `${frames.median.toFixed(0)} ms apart, at most ${frameMs.toFixed(0)} ms)`);
  check(afterValue >= kFreshnessMs && afterValue <= kFreshnessMs + frameMs,
    `the flags rose ${afterValue.toFixed(0)} ms after the last value, not within ${kFreshnessMs} ms plus a frame ` +
    `(${frameMs.toFixed(0)} ms)`);
}
// The broker returns: from when it accepts connections to the first frame
// that applies a value and to every fed input fresh, within 2 s.
const kRecoveryMs = 2000;
async function expectRecoveryInTime(page) {
  const backAt = await pageTime(page, await broker.start());
  const connected = await stateFrom(page, backAt, /^(?!.*(connecting|broker lost))/, 10000);
  const first = await stateFrom(page, backAt, /^[0-5] stale/, 10000);
  const all = await stateFrom(page, backAt, /^0 stale, 6 of/, 10000);
  if (!check(connected && first && all, `the page did not recover: ${JSON.stringify({ connected, first, all })}`)) return;
  const since = (state) => (state.at - backAt).toFixed(0);
  console.log(`after the broker accepted connections: connected ${since(connected)} ms, first value applied ` +
    `${since(first)} ms, every input fresh ${since(all)} ms`);
  check(all.at - backAt <= kRecoveryMs,
    `every input fresh ${since(all)} ms after the broker accepted connections, not within ${kRecoveryMs} ms`);
}

// A subscriber of the display's outputs: the latest payload of each topic.
function subscribe(port) {
  const latest = new Map();
  const client = mqtt.connect(`mqtt://127.0.0.1:${port}`, { reconnectPeriod: 250 });
  client.on('connect', () => client.subscribe('cockpit/out/#'));
  client.on('message', (topic, payload) => latest.set(topic, payload.toString()));
  return { client, latest };
}
async function expectOutput(subscriber, name, value) {
  const topic = 'cockpit/out/heading_bug';
  for (let i = 0; i < 50 && Number(subscriber.latest.get(topic)) !== value; ++i) await sleep(100);
  check(Number(subscriber.latest.get(topic)) === value,
    `${name}: ${topic} carries ${subscriber.latest.get(topic)}, not ${value}`);
}

// Where a point of the display (its own units, y up) is on the screen.
async function screenPoint(page, x, y) {
  return page.evaluate((x, y) => {
    const canvas = document.getElementById('canvas');
    const box = canvas.getBoundingClientRect();
    return { x: box.left + (x + 10) * box.width / canvas.width, y: box.top + (canvas.height - 10 - y) * box.height / canvas.height };
  }, x, y);
}
// The compass rose's centre and a point on it at angle degrees clockwise
// from the top: the bug goes to the heading plus that angle.
const kRose = { x: 250, y: 185 };
const onRose = (page, degrees) => screenPoint(page, kRose.x + 90 * Math.sin(degrees * Math.PI / 180),
  kRose.y + 90 * Math.cos(degrees * Math.PI / 180));

async function pointerEventsMoveTheBug(page, subscriber) {
  const right = await onRose(page, 90), bottom = await onRose(page, 180);
  await page.mouse.click(right.x, right.y);
  await expectOutput(subscriber, 'a click on the rose', 180);
  await page.mouse.move(right.x - 3, right.y);
  await page.mouse.down();
  await page.mouse.move(bottom.x, bottom.y, { steps: 8 });
  await page.mouse.up();
  await expectOutput(subscriber, 'a drag around the rose', 270);
  // Three notches away from the user.
  await page.mouse.wheel({ deltaY: -300 });
  await expectOutput(subscriber, 'wheel steps on the rose', 273);
  const session = await page.createCDPSession();
  const finger = await onRose(page, -45);
  await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x: finger.x, y: finger.y, id: 7 }] });
  await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await expectOutput(subscriber, 'a finger on the rose', 45);
  check(await page.$eval('#canvas', (canvas) => getComputedStyle(canvas).touchAction) === 'none',
    'the canvas lets a touch scroll the page');
}

const refs = {
  live: reference('ref', `replay:${recording('flight')}:loop`),
  stale: reference('ref-stale', `replay:${recording('flight')}`),
  bug: reference('ref-bug', `replay:${recording('flight-bug', { heading_bug: 45 })}:loop`),
};
const broker = new TestBroker(template, output);
await broker.choosePorts();
const { server, origin } = await serveFolder(pages);
const browser = await launchChromium();
let publisher = null, subscriber = null;
try {
  const source = `mqtt://127.0.0.1:${broker.webSocketPort}/cockpit`;
  const { page, state } = await openPage(browser, `${origin}/flight-display/?samples=0&data=${encodeURIComponent(source)}`);
  if (check(state.ready, `the page did not start: ${state.errors} ${state.console.join(' | ')}`)) {
    await expectState(page, 'before the broker', /connecting/, 5000);
    await broker.start();
    publisher = spawn(feed, ['--to', `mqtt://127.0.0.1:${broker.port}/cockpit`, '--loop', '--seconds', '600',
      recording('flight')], { stdio: 'ignore' });
    console.log(`values shown after ${await expectFrame(page, 'values', refs.live, 30000)} ms`);
    await expectState(page, 'with values', /^0 stale, 6 of \d+ inputs fed/, 5000);
    await recordHeader(page);
    await expectStaleInTime(page);
    await expectFrame(page, 'stale', refs.stale, 10000);
    await expectState(page, 'without the broker', /^6 stale.*broker lost/, 5000);
    await expectRecoveryInTime(page);
    await expectFrame(page, 'recovered', refs.live, 10000);
    subscriber = subscribe(broker.port);
    await new Promise((done) => subscriber.client.once('connect', done));
    await sleep(200);
    await pointerEventsMoveTheBug(page, subscriber);
    await expectFrame(page, 'bug', refs.bug, 10000);
  }
  await page.close();

  const missing = await openPage(browser, `${origin}/flight-display/?data=${encodeURIComponent(source + ':missing.map')}`);
  await missing.page.waitForFunction(() => document.getElementById('errors').textContent !== '', { timeout: 10000 })
    .catch(() => {});
  const errors = await missing.page.$eval('#errors', (element) => element.textContent);
  check(errors.includes('missing.map') && errors.includes('404'), `a missing mapping is not refused by name: "${errors}"`);
  await missing.page.close();
} catch (error) {
  failures.push(String(error.stack || error));
} finally {
  if (publisher) publisher.kill();
  if (subscriber) subscriber.client.end(true);
  await browser.close();
  server.close();
  await broker.stop();
}
for (const failure of failures) console.error('FAILED ' + failure);
console.log(failures.length ? `page MQTT tests: ${failures.length} failures` : 'page MQTT tests: all passed');
process.exit(failures.length ? 1 : 0);
