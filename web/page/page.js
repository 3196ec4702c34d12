// The page's side of the module: answer lines in, text out, pictures on the
// canvas, the working folder /work kept in IndexedDB. Answers given as
// ?answers=line1|line2|... in the address are typed automatically (for tests).
'use strict';

function startTambri() {
  const screen = document.getElementById('screen');
  const answer = document.getElementById('answer');
  const canvas = document.getElementById('picture');
  const queued = (new URLSearchParams(location.search).get('answers') || '').split('|').filter((a, i, all) => all.length > 1 || a !== '');
  const scripted = queued.length > 0;
  let pending = null;
  let module = null;

  function write(text) {
    // "\r" starts the current line again (records that overwrite it).
    for (const part of text.split(/(\r)/)) {
      if (part === '\r') {
        const cut = screen.textContent.lastIndexOf('\n');
        screen.textContent = screen.textContent.slice(0, cut + 1);
      } else {
        screen.textContent += part;
      }
    }
  }
  function persist() {
    return new Promise((resolve) => module.FS.syncfs(false, () => resolve()));
  }
  answer.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || !pending) return;
    const line = answer.value;
    answer.value = '';
    write(line + '\n');
    const resolve = pending;
    pending = null;
    resolve(line);
  });

  createTambri({
    tambriEcho: scripted,
    tambriWrite: write,
    tambriNextLine: async () => {
      await persist();  // nothing is written while the program waits
      if (scripted) {
        if (queued.length === 0) {
          document.title = 'TAMBRI done';
          return null;
        }
        return queued.shift();
      }
      return new Promise((resolve) => { pending = resolve; });
    },
    tambriShow: (pixels, palette, width, height) => {
      const context = canvas.getContext('2d');
      const image = context.createImageData(width, height);
      for (let i = 0; i < width * height; ++i) {
        const c = palette[pixels[i]];
        image.data[4 * i] = (c & 0xff) * 4;
        image.data[4 * i + 1] = ((c >> 8) & 0xff) * 4;
        image.data[4 * i + 2] = ((c >> 16) & 0xff) * 4;
        image.data[4 * i + 3] = 255;
      }
      context.putImageData(image, 0, 0);
    },
    preRun: [(m) => {
      module = m;
      m.FS.mkdir('/work');
      m.FS.mount(m.IDBFS, {}, '/work');
      m.FS.chdir('/work');
      m.addRunDependency('idbfs');
      // The example structure on first use, as `make run` seeds its folder.
      m.FS.syncfs(true, async () => {
        if (!m.FS.analyzePath('/work/kondensa.dat').exists) {
          const response = await fetch('kondensa.dat');
          m.FS.writeFile('/work/kondensa.dat', new Uint8Array(await response.arrayBuffer()));
          document.body.dataset.seeded = 'yes';
        } else {
          document.body.dataset.seeded = 'no';
        }
        m.removeRunDependency('idbfs');
      });
    }],
    // Every answer line already stored the folder; what the last answer wrote
    // is stored here (the runtime is gone, the file system is not).
    onExit: () => {
      document.title = 'TAMBRI exited';
      persist().then(() => { document.body.dataset.stored = 'yes'; });
    },
  });
}
