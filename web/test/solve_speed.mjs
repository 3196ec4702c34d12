// How much slower the solver is in the browser: the coax reference problem
// (201 x 201 uniform nodes over 0..0.1 m, the whole border at potential 1 =
// 0 V, a circle at (0.05, 0.05) of radius 0.01 at potential 2 = 100 V) built
// through the dialogue, then solved five times with the default solver (R in
// CALCUL), natively through a pipe and on the page through the keyboard. Each
// time runs from handing over the R to the solver's " *** ... ready ***"
// line; the medians and their ratio are printed. A measurement, not a test.
// Usage: node solve_speed.mjs SITE_FOLDER NATIVE_PROGRAM
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { spawn } from 'node:child_process';
import { openPage, answer, waitForQuestion, coaxReference } from './page_driver.mjs';

const [site, native] = process.argv.slice(2);
if (!site || !native) {
  console.error('usage: node solve_speed.mjs SITE_FOLDER NATIVE_PROGRAM');
  process.exit(2);
}
const runs = 5;
const build = coaxReference;
const ready = /\*\*\* (ILU-BICG|ILU-CG|SLOR|SOR) ready \*\*\*/;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function nativeTimes() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tambri-speed-'));
  const program = spawn(path.resolve(native), ['--headless'], { cwd: folder });
  let output = '';
  program.stdout.on('data', (data) => { output += data.toString('utf8'); });
  const until = (test) => new Promise((resolve, reject) => {
    const started = Date.now();
    const poll = setInterval(() => {
      if (test()) { clearInterval(poll); resolve(); }
      if (Date.now() - started > 300000) { clearInterval(poll); reject(new Error(`no progress: ${output.slice(-300)}`)); }
    }, 1);
  });
  const asks = (prompt) => () => output.trimEnd().endsWith(prompt);
  program.stdin.write(build.map((a) => `${a}\n`).join(''));
  const times = [];
  for (let run = 0; run < runs; ++run) {
    await until(asks('TAMBRI>'));
    program.stdin.write('C\n');
    await until(asks('CALCUL>'));
    const mark = output.length;
    const started = performance.now();
    program.stdin.write('R\n');
    await until(() => ready.test(output.slice(mark)));
    times.push(performance.now() - started);
    await until(asks('CALCUL>'));
    program.stdin.write('X\n');
  }
  await until(asks('TAMBRI>'));
  program.stdin.end('X\n');
  await new Promise((resolve) => program.on('exit', resolve));
  fs.rmSync(folder, { recursive: true, force: true });
  return times;
}

const pauses = [];
async function browserTimes() {
  const { page, close } = await openPage(site);
  // The moment Return hands a line over and the moment the ready line is
  // written, both taken on the page.
  await page.evaluate((pattern) => {
    const { module, terminal } = window.tambri;
    const write = module.tambriWrite;
    let tail = '';
    module.tambriWrite = (text) => {
      write(text);
      // The ready line may come split over two writes, or in one long one.
      if (new RegExp(pattern).test(tail + text)) {
        window.solverReadyAt = performance.now();
        tail = '';
      } else {
        tail = (tail + text).slice(-100);
      }
    };
    terminal.onData((data) => { if (data.includes('\r')) window.handedOverAt = performance.now(); });
  }, ready.source);
  for (const line of build) {
    await answer(page, line);
    await waitForQuestion(page);
  }
  const times = [];
  for (let run = 0; run < runs; ++run) {
    await answer(page, 'C');
    await waitForQuestion(page);
    // The page's longest stretch without running a timer: how long it does
    // not respond while the solver works.
    await page.evaluate(() => {
      window.solverReadyAt = null;
      window.longestPause = 0;
      let last = performance.now();
      window.pauseTimer = setInterval(() => {
        const now = performance.now();
        window.longestPause = Math.max(window.longestPause, now - last);
        last = now;
      }, 5);
    });
    await answer(page, 'R');
    await waitForQuestion(page, 600000);
    pauses.push(await page.evaluate(() => { clearInterval(window.pauseTimer); return window.longestPause; }));
    const time = await page.evaluate(() => window.solverReadyAt && window.solverReadyAt - window.handedOverAt);
    if (!time) throw new Error('no ready line from the solver on the page');
    times.push(time);
    await answer(page, 'X');
    await waitForQuestion(page);
  }
  await answer(page, 'X');
  await waitForQuestion(page);
  await close();
  return times;
}

const nativeMs = await nativeTimes();
const browserMs = await browserTimes();
const show = (values) => values.map((v) => v.toFixed(0)).join(', ');
console.log(`coax 201 x 201, default solver, ${runs} runs, from handing over R to the ready line`);
console.log(`native : ${show(nativeMs)} ms, median ${median(nativeMs).toFixed(0)} ms`);
console.log(`browser: ${show(browserMs)} ms, median ${median(browserMs).toFixed(0)} ms`);
console.log(`longest pause of the page during each browser run: ${show(pauses)} ms`);
console.log(`ratio browser / native: ${(median(browserMs) / median(nativeMs)).toFixed(2)}`);
