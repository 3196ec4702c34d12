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
let frames = 0;
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
  // With TAMBRI_FRAMES=folder every picture shown is kept there as a PPM
  // (palette components times 4, as in the bitmap files).
  tambriShow: (pixels, palette, width, height) => {
    if (!process.env.TAMBRI_FRAMES) return;
    const rgb = Buffer.alloc(width * height * 3);
    for (let i = 0; i < width * height; ++i) {
      const c = palette[pixels[i]];
      rgb[3 * i] = (c & 0xff) * 4;
      rgb[3 * i + 1] = ((c >> 8) & 0xff) * 4;
      rgb[3 * i + 2] = ((c >> 16) & 0xff) * 4;
    }
    frames += 1;
    const name = path.join(process.env.TAMBRI_FRAMES, `frame${String(frames).padStart(3, '0')}.ppm`);
    fs.writeFileSync(name, Buffer.concat([Buffer.from(`P6\n${width} ${height}\n255\n`), rgb]));
  },
  quit: (status) => { process.exitCode = status; },
});
