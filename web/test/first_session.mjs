// The README's first session on the page in headless Chromium against the
// native program given the same answers through a pipe:
//   a. the terminal shows the native screen line for line (the native program
//      echoes piped answers, the page's terminal echoes typed ones);
//   b. the canvas during the picture's wait shows the native bitmap's pixels,
//      apart from the " <Return>" drawn on the surface after the bitmap;
//   c. the PostScript file, the bitmap and the PNG's pixels written in the
//      browser equal the native ones;
//   d. a new start on the same browser profile finds the files again;
//   e. the files panel uploads and downloads;
//   f. the pointer over the waiting picture reads it back beside the canvas;
// and prints the time from navigation to the first prompt.
// Usage: node first_session.mjs SITE_FOLDER NATIVE_PROGRAM
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { spawnSync } from 'node:child_process';
import { inflateSync } from 'node:zlib';
import { serveFolder, startBrowser, check, failedChecks, answer, waitForQuestion, terminalLines, readWorkFile,
  screenOf } from './page_driver.mjs';

const [site, native] = process.argv.slice(2);
if (!site || !native) {
  console.error('usage: node first_session.mjs SITE_FOLDER NATIVE_PROGRAM');
  process.exit(2);
}
const repository = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// Load the remembered kondensa.dat, leave GENERATE, solve; in CALCUL switch
// the solver's progress line on and solve again (records that overwrite the
// current line); enter RESULTS, switch PostScript and bitmap output on, the
// equicolour picture of |E| without logarithm, Return to end its wait, and out.
const answers = ['', 'X', 'Y', 'C', 'S', 'A', 'Y', 'X', 'R', 'X',
                 'R', 'A', 'P', 'B', 'X', 'CE', 'N', '', 'X', 'X', 'X'];
const pictureWait = answers.indexOf('CE') + 2;  // the answer that ends the picture's wait
// A few answers typed with the line editing: the line handed over must be the
// answer, and the screen must look as if it had been typed straight.
const Left = { press: 'ArrowLeft' };
const edited = {
  2: ['NY', Left, { press: 'Backspace' }],  // Y
  12: ['Px', Left, { press: 'Delete' }],  // P
  15: ['E', { press: 'Home' }, 'C', { press: 'End' }],  // CE
  20: [{ press: 'ArrowUp' }, { press: 'ArrowUp' }, { press: 'ArrowDown' }],  // X, the answer before
};
const stem = 'konden_c';  // the structure file's name, cut to six characters, and the picture's letter


// ---- The native reference, in a folder seeded as `make run` seeds work/.
const nativeFolder = fs.mkdtempSync(path.join(os.tmpdir(), 'tambri-native-'));
for (const name of fs.readdirSync(path.join(repository, 'examples')).filter((n) => n.endsWith('.dat'))) {
  fs.copyFileSync(path.join(repository, 'examples', name), path.join(nativeFolder, name));
}
fs.writeFileSync(path.join(nativeFolder, 'history.inp'), 'kondensa.dat\r\n');
const reference = spawnSync(path.resolve(native), ['--headless', '--png'],
                            { cwd: nativeFolder, input: answers.map((a) => `${a}\n`).join('') });
check('the native program ran the session', reference.status === 0, `status ${reference.status}`);
check('the session has records that overwrite the current line', reference.stdout.includes('\r'));
const nativeScreen = screenOf(reference.stdout.toString('utf8'));
const nativeFile = (name) => fs.readFileSync(path.join(nativeFolder, name));

// ---- The same answers typed on the page.
const server = await serveFolder(site);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tambri-profile-'));
const url = `http://127.0.0.1:${server.address().port}/index.html?args=--png`;
let browser = await startBrowser(profile);
let page = await browser.newPage();
const problems = [];
page.on('pageerror', (e) => problems.push(String(e)));
const navigated = Date.now();
await page.goto(url);
await waitForQuestion(page);
const firstPrompt = Date.now() - navigated;
let canvasPixels = null;
let canvasSize = null;
for (const [i, line] of answers.entries()) {
  if (i === pictureWait) {
    canvasPixels = await page.$eval('#picture', (c) => {
      const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let text = '';
      for (let at = 0; at < data.length; at += 0x8000) text += String.fromCharCode(...data.subarray(at, at + 0x8000));
      return btoa(text);
    });
    canvasSize = await page.$eval('#picture', (c) => [c.width, c.height, c.clientWidth, c.clientHeight]);
    await probePicture(page, url);
  }
  if (i === answers.length - 1) {
    await page.evaluate(() => window.tambri.module.FS.writeFile('/work/written-late.txt', 'after the last store\n'));
  }
  await answer(page, edited[i] || line, i === pictureWait ? '#picture' : null);
  await waitForQuestion(page);
}
check('the reading goes when the picture\'s wait ends', (await page.$eval('#reading', (r) => r.textContent)) === '');
const state = await page.$eval('body', (b) => b.dataset.state);
check('the program ended on the page', state === 'ended', `state "${state}"`);
check('the end is told beside the terminal',
      /beendet/.test(await page.$eval('#status', (s) => s.textContent)));

// a. The screen.
const pageScreen = await terminalLines(page);
const differing = nativeScreen.findIndex((l, i) => l !== pageScreen[i]);
check(`the terminal shows the native screen (${nativeScreen.length} lines)`,
      differing < 0 && pageScreen.length === nativeScreen.length,
      differing < 0 ? `${pageScreen.length} lines on the page, ${nativeScreen.length} native`
                    : `line ${differing + 1}: native ${JSON.stringify(nativeScreen[differing]).slice(0, 160)},`
                      + ` page ${JSON.stringify(pageScreen[differing]).slice(0, 160)}`);

// b. The canvas against the native bitmap.
const cell = cellSize();
// The equicolour picture writes its " <Return>" at row 27, column 5 of the
// text window beside its legend, which starts at row 3, column 80: text row
// 29, columns 84-92 of the surface (counted from 1).
const prompt = { text: ' <Return>', row: 3 + 27 - 1, column: 80 + 5 - 1 };
const inPrompt = (x, y) => y >= (prompt.row - 1) * cell.height && y < prompt.row * cell.height
  && x >= (prompt.column - 1) * cell.width && x < (prompt.column - 1 + prompt.text.length) * cell.width;
const bitmap = decodeBitmap(nativeFile(`${stem}.bmp`));
const rgba = Buffer.from(canvasPixels || '', 'base64');
check('the canvas has the surface\'s size and is not scaled',
      JSON.stringify(canvasSize) === JSON.stringify([bitmap.width, bitmap.height, bitmap.width, bitmap.height]),
      `canvas ${canvasSize}, bitmap ${bitmap.width} x ${bitmap.height}`);
let outside = 0;
let inside = 0;
let firstOutside = null;
for (let y = 0; y < bitmap.height; ++y) {
  for (let x = 0; x < bitmap.width; ++x) {
    const [r, g, b] = bitmap.colour(x, y);
    const at = 4 * (y * bitmap.width + x);
    if (rgba.length === 4 * bitmap.width * bitmap.height && rgba[at] === r && rgba[at + 1] === g && rgba[at + 2] === b
        && rgba[at + 3] === 255) continue;
    if (inPrompt(x, y)) {
      inside += 1;
    } else {
      outside += 1;
      firstOutside ??= `(${x}, ${y}) native ${[r, g, b]}, canvas ${[...rgba.subarray(at, at + 4)]}`;
    }
  }
}
check('the canvas shows the native bitmap\'s pixels outside the " <Return>"', outside === 0,
      `${outside} pixels differ, the first at ${firstOutside}`);
check('the canvas shows the " <Return>" the bitmap lacks', inside > 0);

// c. The files written in the browser.
for (const name of [`${stem}.ps`, `${stem}.bmp`]) {
  const written = await readWorkFile(page, name);
  check(`${name} written in the browser equals the native one`,
        written.bytes !== undefined && written.bytes.equals(nativeFile(name)),
        written.problem || `${written.bytes.length} bytes, native ${nativeFile(name).length}`);
}
const pagePng = await readWorkFile(page, `${stem}.png`);
let pngSame = false;
let pngDetail = pagePng.problem;
if (pagePng.bytes) {
  try {
    const mine = decodePng(pagePng.bytes);
    const theirs = decodePng(nativeFile(`${stem}.png`));
    pngSame = mine.header.equals(theirs.header) && mine.palette.equals(theirs.palette) && mine.rows.equals(theirs.rows);
    pngDetail = `header ${mine.header.equals(theirs.header)}, palette ${mine.palette.equals(theirs.palette)},`
      + ` rows ${mine.rows.equals(theirs.rows)}`;
  } catch (error) {
    pngDetail = String(error);
  }
}
check(`${stem}.png written in the browser has the native PNG's palette and rows`, pngSame, pngDetail);
check('no errors on the page', problems.length === 0, problems.join('; '));

// d. A new start on the same profile. A file put into the folder while the
// program waited for its last answer is there only if the page stored the
// folder at the end of the program.
await browser.close();
browser = await startBrowser(profile);
page = await browser.newPage();
const renavigated = Date.now();
await page.goto(url);
await waitForQuestion(page);
const secondPrompt = Date.now() - renavigated;
const kept = await readWorkFile(page, `${stem}.ps`);
check(`after a new start ${stem}.ps is still in the working folder`,
      kept.bytes !== undefined && kept.bytes.equals(nativeFile(`${stem}.ps`)), kept.problem);
check(`after a new start ${stem}.ps is listed`,
      (await page.$$eval('#file-list tr', (rows) => rows.map((r) => r.dataset.name))).includes(`${stem}.ps`));
check('after a new start the file put in before the last answer is there (stored at the end)',
      (await readWorkFile(page, 'written-late.txt')).bytes?.toString() === 'after the last store\n');
const restarted = await terminalLines(page);
check('after a new start the first prompt offers kondensa.dat again',
      restarted.length > 1 && restarted.every((l, i) => l === nativeScreen[i])
      && /\(kondensa\.dat\):$/.test(restarted[restarted.length - 1]),
      JSON.stringify(restarted.slice(-2)));

// Up at the first prompt brings back the last answer of the run before;
// Ctrl-C drops it again.
const promptLine = async () => (await terminalLines(page)).pop();
await page.focus('.xterm-helper-textarea');
await page.keyboard.press('ArrowUp');
const recalled = await promptLine();
await page.keyboard.down('Control');
await page.keyboard.press('c');
await page.keyboard.up('Control');
check('after a new start Up recalls the last answer of the run before, Ctrl-C drops it',
      recalled.endsWith('(kondensa.dat):X') && (await promptLine()).endsWith('(kondensa.dat):'), recalled);

// e. The files panel: an uploaded structure file lands in the folder and the
// program reads it; a download hands over the file's bytes.
const uploadName = 'hoch.dat';  // the program takes names of up to twelve characters
const uploadSource = path.join(nativeFolder, uploadName);
fs.copyFileSync(path.join(repository, 'examples', 'platte.dat'), uploadSource);
await (await page.$('#upload')).uploadFile(uploadSource);
await page.waitForFunction((name) => [...document.querySelectorAll('#file-list tr')].some((r) => r.dataset.name === name),
                           { timeout: 10000 }, uploadName).catch(() => {});
const uploaded = await readWorkFile(page, uploadName);
check('an uploaded file is in the working folder with its bytes',
      uploaded.bytes?.equals(fs.readFileSync(uploadSource)) === true, uploaded.problem);
const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'tambri-downloads-'));
const cdp = await page.createCDPSession();
await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
const button = await page.$(`#file-list tr[data-name="${stem}.ps"] button`);
if (button) await button.evaluate((b) => b.click());
const downloaded = path.join(downloads, `${stem}.ps`);
for (let waited = 0; waited < 10000 && !fs.existsSync(downloaded); waited += 100) await new Promise((r) => setTimeout(r, 100));
check(`${stem}.ps downloaded from the files panel equals the native one`,
      fs.existsSync(downloaded) && fs.readFileSync(downloaded).equals(nativeFile(`${stem}.ps`)),
      button ? fs.readdirSync(downloads).join(', ') || 'nothing downloaded' : 'no download button in its row');
await answer(page, uploadName);
await waitForQuestion(page);
const loaded = await terminalLines(page);
check('the program reads the uploaded structure file', loaded.includes('*** Input ready ***'),
      JSON.stringify(loaded.slice(-4)));
await browser.close();
server.close();
fs.rmSync(downloads, { recursive: true, force: true });

console.log(`time from navigation to the first prompt: ${firstPrompt} ms (new profile),`
            + ` ${secondPrompt} ms (the same profile again)`);
fs.rmSync(profile, { recursive: true, force: true });
fs.rmSync(nativeFolder, { recursive: true, force: true });
console.log(failedChecks() ? `${failedChecks()} check(s) failed` : 'all checks passed');
process.exit(failedChecks() ? 1 : 0);

// f. The pointer during the picture's wait. The picture is drawn with the
// model's y to the right and its x downwards, so a move to the right must
// change the reading's y only, a move down its x only; outside the field
// there is no reading; a click copies the nearest node's "x y"; the reading
// goes when the wait ends (checked after the next answer).
async function probePicture(page, address) {
  await page.browserContext().overridePermissions(new URL(address).origin, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const box = await (await page.$('#picture')).boxModel();
  const [left, top] = box.content[0] ? [box.content[0].x, box.content[0].y] : [0, 0];
  const readingAt = async (x, y) => {
    await page.evaluate(() => { document.getElementById('reading').textContent = '(alt)'; });
    await page.mouse.move(left + x, top + y);
    await page.waitForFunction(() => document.getElementById('reading').textContent !== '(alt)',
                               { timeout: 10000, polling: 10 }).catch(() => {});
    return page.$eval('#reading', (r) => r.textContent);
  };
  const pattern = /^x= ?(\S+)  y= ?(\S+)  \((\d+), (\d+)\)  Feldst\S* (E|\|E\|)\s.*= ?(\S+)$/;
  const parse = (text) => {
    const m = pattern.exec(text);
    return m && { x: Number(m[1]), y: Number(m[2]), i: Number(m[3]), j: Number(m[4]) };
  };
  const at = { x: 200, y: 300 };
  const here = await readingAt(at.x, at.y);
  const right = await readingAt(at.x + 60, at.y);
  const down = await readingAt(at.x, at.y + 60);
  const [a, b, c] = [here, right, down].map(parse);
  check('the pointer over the field reads position, node and |E| beside the canvas', a && b && c,
        JSON.stringify([here, right, down]));
  if (a && b && c) {
    check('a move to the right changes the reading\'s y only, a move down its x only',
          b.y > a.y && b.x === a.x && c.x !== a.x && c.y === a.y, JSON.stringify([a, b, c]));
  }
  check('the pointer beside the field reads nothing', (await readingAt(790, 620)) === '');
  await readingAt(at.x, at.y);
  await page.mouse.down();
  await page.mouse.up();
  await page.waitForFunction(() => document.getElementById('reading').textContent.endsWith('  kopiert'),
                             { timeout: 10000, polling: 10 }).catch(() => {});
  const copied = await page.evaluate(() => navigator.clipboard.readText()).catch((e) => `(${e})`);
  const [cx, cy] = copied.split(/\s+/).map(Number);
  const tenPixels = a && b ? ((b.y - a.y) / 60) * 10 : 0;  // the nearest node lies closer than that here
  check('a click copies the nearest node\'s x and y', (await page.$eval('#reading', (r) => r.textContent))
        .endsWith('  kopiert') && a && Math.abs(cx - a.x) < tenPixels && Math.abs(cy - a.y) < tenPixels, copied);
  // The pointer stays on the picture: its reading must go with the wait.
}

// The text cell's size, from the program's font.
function cellSize() {
  const header = fs.readFileSync(path.join(repository, 'src/draw/font.h'), 'utf8');
  const constant = (name) => Number(new RegExp(`${name}\\s*=\\s*(\\d+)`).exec(header)[1]);
  return { width: constant('kCellWidth'), height: constant('kCellHeight') };
}

// An 8-bit bitmap: palette of B, G, R, 0 entries, rows bottom-up, each padded
// to four bytes.
function decodeBitmap(bytes) {
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  if (bytes.toString('latin1', 0, 2) !== 'BM' || bytes.readUInt16LE(28) !== 8) throw new Error('not an 8-bit bitmap');
  const pixels = bytes.readUInt32LE(10);
  const palette = 14 + bytes.readUInt32LE(14);
  const stride = Math.ceil(width / 4) * 4;
  return {
    width,
    height,
    colour(x, y) {
      const index = bytes[pixels + (height - 1 - y) * stride + x];
      return [bytes[palette + 4 * index + 2], bytes[palette + 4 * index + 1], bytes[palette + 4 * index]];
    },
  };
}

// A PNG's header, palette and unfiltered rows (one filter byte per row, the
// five filter types), whatever the compression.
function decodePng(bytes) {
  let header = null;
  let palette = Buffer.alloc(0);
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') header = Buffer.from(body);
    if (type === 'PLTE') palette = Buffer.from(body);
    if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const width = header.readUInt32BE(0);
  const height = header.readUInt32BE(4);
  const channels = { 0: 1, 2: 3, 3: 1, 4: 2, 6: 4 }[header[9]];
  const pixelBytes = Math.max(1, (channels * header[8]) >> 3);
  const stride = Math.ceil((width * channels * header[8]) / 8);
  const raw = inflateSync(Buffer.concat(data));
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; ++x) {
      const value = raw[y * (stride + 1) + 1 + x];
      const a = x >= pixelBytes ? rows[y * stride + x - pixelBytes] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const c = x >= pixelBytes && y > 0 ? rows[(y - 1) * stride + x - pixelBytes] : 0;
      const p = a + b - c;
      const paeth = Math.abs(p - a) <= Math.abs(p - b) && Math.abs(p - a) <= Math.abs(p - c) ? a
        : Math.abs(p - b) <= Math.abs(p - c) ? b : c;
      const predictor = [0, a, b, (a + b) >> 1, paeth][filter];
      if (predictor === undefined) throw new Error(`row ${y}: filter ${filter}`);
      rows[y * stride + x] = (value + predictor) & 0xff;
    }
  }
  return { header, palette, rows };
}
