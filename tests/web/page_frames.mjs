// Keeps a page's frame on disk while it runs, for a shell test to compare:
//   node page_frames.mjs PAGES ADDRESS OUT.png SECONDS
// Serves PAGES on 127.0.0.1, opens ADDRESS (a path and query under it) in
// headless Chromium and writes the frame on its canvas to OUT.png every half
// second (whole files only: written aside, then renamed) for SECONDS or
// until it is stopped. Exits 1 when the page does not open.
import { renameSync, writeFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { PNG } from 'pngjs';
import { launchChromium, openPage, readFrame, serveFolder } from './browser.mjs';

const [pagesArg, address, out, secondsArg] = process.argv.slice(2);
if (!secondsArg) {
  console.error('usage: node page_frames.mjs PAGES ADDRESS OUT.png SECONDS');
  process.exit(2);
}
const { server, origin } = await serveFolder(resolve(pagesArg));
const browser = await launchChromium();
let status = 0;
const stop = async () => {
  await browser.close();
  server.close();
  process.exit(status);
};
process.on('SIGTERM', stop);
const { page, state } = await openPage(browser, `${origin}/${address}`);
if (!state.ready) {
  console.error(`${address}: ${state.errors} ${state.console.join(' ')}`);
  status = 1;
  await stop();
}
const until = Date.now() + Number(secondsArg) * 1000;
while (Date.now() < until) {
  const frame = await readFrame(page);
  if (frame) {
    const png = new PNG({ width: frame.width, height: frame.height });
    png.data = Buffer.from(frame.rgba);
    writeFileSync(out + '.part', PNG.sync.write(png));
    renameSync(out + '.part', out);
  }
  await new Promise((done) => setTimeout(done, 500));
}
await stop();
