// The flight display's page subscribed to the tests' own broker over its
// WebSocket listener, in headless Chromium:
//   node page_mqtt_tests.mjs PAGES PANEL_SNAPSHOT PANEL_FEED FLIGHT_MODULE BROKER_TEMPLATE OUTPUT
// Opened before its broker runs, the page says it is connecting; once the
// broker and a panel-feed publishing an instant of flight run, it shows what
// panel-snapshot renders for those values replayed; the broker stopped,
// every instrument raises its flag; started again, the page recovers. Then
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
    await broker.stop();
    console.log(`flags raised after ${await expectFrame(page, 'stale', refs.stale, 10000)} ms`);
    await expectState(page, 'without the broker', /^6 stale/, 5000);
    await broker.start();
    console.log(`recovered after ${await expectFrame(page, 'recovered', refs.live, 10000)} ms`);
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
