// Opens the page in Debian's headless Chromium twice with one profile: the
// first run answers a whole dialogue (solvers on the example structure) and
// must end with the program's last menu; the second must find the example
// structure already in the working folder (IndexedDB kept it) and must not
// fetch it again. Usage: node page_test.mjs URL ANSWER_FILE
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [url, answerFile] = process.argv.slice(2);
const answers = fs.readFileSync(answerFile, 'utf8').split('\n').filter((l) => l !== '');
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tambri-profile-'));
let failed = 0;
function check(what, ok) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failed += 1;
}

async function run(answerLines) {
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium-headless-shell',
    userDataDir: profile,
    args: ['--no-sandbox'],
  });
  const page = await browser.newPage();
  const messages = [];
  page.on('console', (m) => messages.push(m.text()));
  page.on('pageerror', (e) => messages.push(String(e)));
  const started = Date.now();
  await page.goto(`${url}?answers=${answerLines.map(encodeURIComponent).join('|')}`);
  try {
    await page.waitForFunction(() => document.title === 'TAMBRI exited' || document.title === 'TAMBRI done',
                               { timeout: 60000 });
  } catch (error) {
    console.log(`no end after 60 s; title "${await page.title()}"; page messages:\n${messages.join('\n')}`);
    console.log((await page.$eval('#screen', (e) => e.textContent)).slice(-600));
    await browser.close();
    process.exit(1);
  }
  const result = {
    seconds: (Date.now() - started) / 1000,
    screen: await page.$eval('#screen', (e) => e.textContent),
    seeded: await page.$eval('body', (e) => e.dataset.seeded),
    canvasInk: await page.$eval('#picture', (c) => {
      const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let n = 0;
      for (let i = 0; i < d.length; i += 4) if (d[i] || d[i + 1] || d[i + 2]) n += 1;
      return n;
    }),
  };
  await browser.close();
  return result;
}

const first = await run(answers);
console.log(`first run: ${first.seconds} s, ${first.screen.split('\n').length} screen lines, ${first.canvasInk} non-black canvas pixels`);
check('first run fetched the example structure', first.seeded === 'yes');
check('first run shows the structure read', first.screen.includes('*** Input ready ***'));
check('first run solved', first.screen.includes('*** Matrix ready ***'));
fs.writeFileSync(path.join(os.tmpdir(), 'tambri-page-screen.txt'), first.screen);
const second = await run(['kondensa.dat', 'X', 'N', 'X']);
check('second run found the structure kept in IndexedDB', second.seeded === 'no');
check('second run read it', second.screen.includes('*** Input ready ***'));
fs.rmSync(profile, { recursive: true, force: true });
process.exit(failed ? 1 : 0);
