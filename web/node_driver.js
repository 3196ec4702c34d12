// Runs the browser module under node with the page's side played by this
// script: answer lines from standard input, text to standard output, and the
// current folder mounted as the program's working folder.
// Usage: node web/node_driver.js build-web/tambri_web.js [program arguments]
'use strict';
const path = require('path');
const readline = require('readline');

const fs = require('fs');

const modulePath = path.resolve(process.argv[2]);
const createTambri = require(modulePath);
const lines = [];
const waiting = [];
let ended = false;
readline.createInterface({ input: process.stdin, crlfDelay: Infinity })
  .on('line', (line) => { if (waiting.length) waiting.shift()(line); else lines.push(line); })
  .on('close', () => { ended = true; while (waiting.length) waiting.shift()(null); });

createTambri({
  // Handed over as bytes: this Emscripten fetches the file by URL when node
  // has fetch(), which fails for a local path.
  wasmBinary: fs.readFileSync(modulePath.replace(/\.js$/, '.wasm')),
  arguments: process.argv.slice(3),
  tambriEcho: !process.stdin.isTTY,
  tambriWrite: (text) => process.stdout.write(text),
  tambriNextLine: () => {
    if (lines.length) return Promise.resolve(lines.shift());
    if (ended) return Promise.resolve(null);
    return new Promise((resolve) => waiting.push(resolve));
  },
  preRun: [(module) => {
    module.FS.mkdir('/work');
    module.FS.mount(module.NODEFS, { root: process.cwd() }, '/work');
    module.FS.chdir('/work');
  }],
  quit: (status) => { process.exitCode = status; },
});
