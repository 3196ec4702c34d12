// Ctrl-C on the page during a calculation: SOR on the coax reference problem
// with an error bound it cannot reach and 9999 iterations (seconds in the
// browser), the progress line on; Ctrl-C once the first progress line is on
// the screen must stop the run after its current iteration, as at a terminal:
// " ### Abbruch SOR ..." long before the 9999th iteration, and the program
// goes on at " CALCUL>". Ctrl-C at a prompt drops the line typed so far, in
// a picture's wait it counts as Return.
// Usage: node interrupt.mjs SITE_FOLDER
import { openPage, check, failedChecks, answer, waitForQuestion, terminalLines, coaxReference }
  from './page_driver.mjs';

const [site] = process.argv.slice(2);
const { page, close } = await openPage(site);
// SOR, 9999 iterations, error bound 1e-30, progress line on, back to CALCUL.
for (const line of [...coaxReference, 'C', 'L', '4', 'S', 'I', '9999', 'R', '1e-30', 'A', 'Y', 'X']) {
  await answer(page, line);
  await waitForQuestion(page);
}
const ctrlC = async () => {
  await page.keyboard.down('Control');
  await page.keyboard.press('c');
  await page.keyboard.up('Control');
};
// At the prompt: a line typed and dropped by Ctrl-C is not handed over.
await page.keyboard.type('XYZ');
await ctrlC();
await answer(page, 'R');
// The iteration of the progress line on the screen's line, or NaN.
const iterationOf = (line) => Number((/\*\*\* Iteration: *(\d+) /.exec(line) || [])[1]);
const cursorLine = () => page.evaluate(() => {
  const buffer = window.tambri.terminal.buffer.active;
  return buffer.getLine(buffer.baseY + buffer.cursorY).translateToString(true);
});
let before = NaN;
for (const started = Date.now(); Number.isNaN(before) && Date.now() - started < 60000;) {
  before = iterationOf(await cursorLine());
}
await ctrlC();
const state = await waitForQuestion(page);
const screen = await terminalLines(page);
const stopped = screen.findIndex((l) => l.startsWith('### Abbruch SOR:'));
const reached = iterationOf(screen.slice(0, stopped).reverse().find((l) => !Number.isNaN(iterationOf(l))) || '');
check('Ctrl-C during the calculation stops it: " ### Abbruch SOR ..."', state === 'waiting' && stopped > 0,
      JSON.stringify(screen.slice(-6)));
check('after the iteration it was in, not at the limit', reached >= before && reached < 9999,
      `progress seen at ${before}, the last at ${reached}`);
check('the dialogue goes on at CALCUL> with the typed line dropped',
      screen[screen.length - 1] === 'CALCUL>' && screen.some((l) => l === 'CALCUL>R') && !screen.some((l) => l.includes('XYZ')),
      JSON.stringify(screen.slice(-3)));
// In a picture's wait Ctrl-C counts as Return: the picture's menu follows.
for (const line of ['X', 'R', 'CE', 'N']) {
  await answer(page, line);
  await waitForQuestion(page);
}
const waiting = (await terminalLines(page)).slice(-2).join('|');
await ctrlC();
await waitForQuestion(page);
check('Ctrl-C in a picture\'s wait ends it as Return does',
      waiting === 'Logarithmus bilden [Y/N]:N|' && (await terminalLines(page)).pop() === 'RESULTS\\COLOR>',
      JSON.stringify([waiting, ...(await terminalLines(page)).slice(-2)]));
await close();
console.log(failedChecks() ? `${failedChecks()} check(s) failed` : 'all checks passed');
process.exit(failedChecks() ? 1 : 0);
