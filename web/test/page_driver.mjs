// What the browser test and the speed measurement share: a static server for
// the site, Debian's headless Chromium, typing answers on the page and reading
// its terminal, and the same screen made from a native transcript.
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.txt': 'text/plain; charset=utf-8',
};

// The coax reference problem of BENCHMARKS.md built through the dialogue at
// the first prompt: a new structure file, problem E; extents and a
// homogeneous grid of 201 x 201 nodes; the potentials; the border and the
// circle; GENERATE left without saving and without solving, at " TAMBRI>".
export const coaxReference = ['koax201.dat', 'E', 'DS', '0 0 0.1 0.1', 'HP', '201', 'X', 'P', '1 0', 'P', '2 100',
                              'S', 'N', 'G', 'P', '1', 'K', '0.05 0.05 0.01', 'P', '2', 'X', 'X', 'N', 'N'];

// The folder on a free port of 127.0.0.1; resolves once it listens.
export function serveFolder(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

export function startBrowser(profile) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium-headless-shell',
    headless: 'shell',
    userDataDir: profile,
    // Room for the terminal and the canvas side by side, so the pointer can reach the picture.
    defaultViewport: { width: 1800, height: 1000 },
    args: ['--no-sandbox'],
  });
}

// The site served, a browser on a new profile and the page at its first
// question; close() takes all three away again.
export async function openPage(site, query = '') {
  const server = await serveFolder(site);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tambri-profile-'));
  const browser = await startBrowser(profile);
  const page = await browser.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html${query}`);
  await waitForQuestion(page);
  return {
    page,
    async close() {
      await browser.close();
      server.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// One named check: "ok" or "FAIL" with what was found; failedChecks() counts
// the failures, for the exit status.
let failures = 0;
export function check(name, ok, detail = '') {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${ok || !detail ? '' : `\n     ${detail}`}`);
  if (!ok) failures += 1;
}
export const failedChecks = () => failures;

// Until the program asks for a line or has ended; the state it reached.
export async function waitForQuestion(page, timeout = 120000) {
  await page.waitForFunction(() => ['waiting', 'ended', 'failed'].includes(document.body.dataset.state),
                             { timeout, polling: 10 });
  return page.$eval('body', (b) => b.dataset.state);
}

// Types a line through the keyboard and Return, in the terminal or, with
// `target`, with the focus on that element (the canvas during a picture).
// The line may be a list of steps: text to type, or { press: 'Home' } keys.
export async function answer(page, line, target = null) {
  await page.focus(target || '.xterm-helper-textarea');
  for (const step of Array.isArray(line) ? line : [line]) {
    if (typeof step === 'string') {
      if (step !== '') await page.keyboard.type(step);
    } else {
      await page.keyboard.press(step.press);
    }
  }
  await page.keyboard.press('Enter');
}

// The terminal's lines from the first to the cursor's, wrapped rows joined,
// blanks at the end cut off.
export function terminalLines(page) {
  return page.evaluate(() => {
    const buffer = window.tambri.terminal.buffer.active;
    const lines = [];
    for (let y = 0; y <= buffer.baseY + buffer.cursorY; ++y) {
      const row = buffer.getLine(y);
      const text = row.translateToString(false);
      if (row.isWrapped && lines.length > 0) lines[lines.length - 1] += text;
      else lines.push(text);
    }
    return lines.map((l) => l.replace(/ +$/, ''));
  });
}

// A file of the page's working folder: { bytes } or, when it cannot be read,
// { problem } (the file system's error).
export async function readWorkFile(page, name) {
  const read = await page.evaluate((file) => {
    const fs = window.tambri.module.FS;
    try {
      const data = fs.readFile(file);
      let binary = '';
      for (let at = 0; at < data.length; at += 0x8000) binary += String.fromCharCode(...data.subarray(at, at + 0x8000));
      return { text: btoa(binary) };
    } catch (error) {
      return { problem: `${file}: errno ${error.errno}` };
    }
  }, `/work/${name}`);
  return read.problem ? { problem: read.problem } : { bytes: Buffer.from(read.text, 'base64') };
}

// A transcript as a terminal shows it: "\r" returns to the start of the line,
// whose characters the following text overwrites; blanks at the end cut off.
export function screenOf(transcript) {
  const lines = [];
  let line = [];
  let column = 0;
  for (const character of transcript) {
    if (character === '\n') {
      lines.push(line.join('').replace(/ +$/, ''));
      line = [];
      column = 0;
    } else if (character === '\r') {
      column = 0;
    } else {
      line[column] = character;
      column += 1;
    }
  }
  lines.push(line.join('').replace(/ +$/, ''));
  return lines;
}
