// A page built from the installed package, as a user builds one of their
// own display, opened in headless Chromium from 127.0.0.1: it starts, names
// its display, draws the dial with its needle; opened from file:// it says
// that it must be served over HTTP, and how.
//   node installed_page.mjs PAGES PAGE
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium, openPage, readFrame, serveFolder } from './browser.mjs';

const [pagesArg, pageName] = process.argv.slice(2);
if (!pageName) {
  console.error('usage: node installed_page.mjs PAGES PAGE');
  process.exit(2);
}
const pages = resolve(pagesArg);
const failures = [];
const check = (ok, message) => {
  if (!ok) failures.push(message);
  return ok;
};

const { server, origin } = await serveFolder(pages);
const browser = await launchChromium();
try {
  const { page, state } = await openPage(browser, `${origin}/${pageName}/?frames=20&paused=1`);
  if (check(state.ready, `the page did not start: ${state.errors} ${state.console.join(' | ')}`)) {
    check(state.title === 'Minimal dial', `the page's title is "${state.title}", not the display's name`);
    check(state.errors === '', `the page shows an error: ${state.errors}`);
    const frame = await readFrame(page);
    // The needle is the dial's only yellow (255, 200, 0); the plate is dark.
    let needle = 0;
    for (let i = 0; i < frame.rgba.length; i += 4) {
      const [r, g, b] = [frame.rgba[i], frame.rgba[i + 1], frame.rgba[i + 2]];
      if (r > 230 && g > 170 && g < 230 && b < 60) needle++;
    }
    check(needle > 50, `the dial's needle is not drawn (${needle} yellow pixels)`);
  }
  await page.close();

  const file = pathToFileURL(`${pages}/${pageName}/index.html`).href;
  const opened = await browser.newPage();
  await opened.goto(file);
  const errors = await opened.evaluate(() => document.getElementById('errors').textContent);
  check(errors.includes('file://') && errors.includes('python3 -m http.server --bind 127.0.0.1'),
    `opened from file:// the page does not say how to serve it: "${errors}"`);
  check(!errors.includes('Script error'), `opened from file:// the page shows "Script error.": "${errors}"`);
  await opened.close();
} finally {
  await browser.close();
  server.close();
}
for (const failure of failures) console.error(`FAIL: ${failure}`);
if (failures.length === 0) console.log(`PASS: ${pageName} built from the installed package runs in Chromium`);
process.exit(failures.length === 0 ? 0 : 1);
