// What the page tests and the page benchmark share: a static server for the
// pages on 127.0.0.1, headless Chromium with WebGL 2 on SwiftShader, and
// opening a page until it has drawn the frames its address asks for.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

const kContentTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
};

// How long a page may take to draw its opening frames.
export const kPageTimeoutMs = 60000;

// Serves root on 127.0.0.1 at a free port; resolves to { server, origin }.
export function serveFolder(root) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(root, path.endsWith('/') ? path + 'index.html' : path);
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': kContentTypes[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => resolve({ server, origin: `http://127.0.0.1:${server.address().port}` }));
  });
}

// Chromium with WebGL drawn by angle: 'swiftshader' (Chromium's own
// rasteriser, what a machine without a GPU gets) or 'gl-egl' (ANGLE over the
// system's OpenGL ES, as on a machine with a GPU driver); more switches in
// extraArgs (such as --disable-webgl).
export function launchChromium(angle = 'swiftshader', extraArgs = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--enable-unsafe-swiftshader', `--use-angle=${angle}`, '--ignore-gpu-blocklist',
      '--window-size=1000,1200', ...extraArgs],
  });
}

// Opens url in a new tab of browser (or of one of its contexts) and waits
// until the page is ready or shows a failure; resolves to { page, state }
// with state from the page. With withoutWasmSimd the page meets a browser
// that validates no WebAssembly SIMD, as one without it does.
export async function openPage(browser, url, { withoutWasmSimd = false } = {}) {
  const page = await browser.newPage();
  if (withoutWasmSimd) await page.evaluateOnNewDocument(() => { WebAssembly.validate = () => false; });
  const console = [];
  page.on('console', (message) => console.push(message.text()));
  page.on('pageerror', (error) => console.push(String(error.stack || error)));
  await page.goto(url);
  try {
    await page.waitForFunction(() => window.panelPage && (panelPage.ready || panelPage.failed),
      { timeout: kPageTimeoutMs });
  } catch (error) {
    console.push(String(error));
  }
  const state = await page.evaluate(() => ({
    ready: Boolean(window.panelPage && panelPage.ready),
    errors: document.getElementById('errors').textContent,
    title: document.title,
    renderer: (document.getElementById('renderer') || {}).textContent || '',
    frame: panelPage.ready ? panelPage.frame() : 0,
    openingMs: panelPage.openingMs,
    readyMs: panelPage.readyMs,
    runtimeMs: panelPage.runtimeMs,
    // The module's files the page fetched, by name.
    wasm: performance.getEntriesByType('resource').map((entry) => new URL(entry.name).pathname.split('/').pop())
      .filter((name) => name.endsWith('.wasm')),
  }));
  state.console = console;
  return { page, state };
}

// The frame on the page's canvas: { width, height, rgba }.
export async function readFrame(page) {
  // Base64 across the protocol: a frame is a few megabytes.
  const frame = await page.evaluate(() => {
    const f = panelPage.readFrame();
    if (!f) return null;
    let binary = '';
    for (let i = 0; i < f.rgba.length; i += 0x8000)
      binary += String.fromCharCode.apply(null, f.rgba.subarray(i, i + 0x8000));
    return { width: f.width, height: f.height, rgba: btoa(binary) };
  });
  if (frame) frame.rgba = new Uint8Array(Buffer.from(frame.rgba, 'base64'));
  return frame;
}
