// The page's side of the program: the dialogue in a terminal with a small line
// discipline (the program reads whole lines and never echoes them, so the page
// edits and echoes the line as a terminal would), the picture on a canvas of
// exactly the surface's pixels, and the working folder /work in the browser's
// IndexedDB with a list to download from and an upload control.
//
// For tests and the curious, two hooks:
//   window.tambri = { terminal, module }   the xterm Terminal and the module
//   document.body.dataset.state           'loading' until the first question,
//     'waiting' while the program asks for a line (the folder is stored then),
//     'running' while it works, 'ended' once it has ended and the folder is
//     stored, 'failed' when the module could not be started.
// Ctrl-C while the program works is noted in module.tambriInterrupted. While
// a picture waits, the program asks for the pointer over the canvas as well
// as for the line (tambriNextPointerOrLine) and shows its reading under it.
// Options from the address: ?args=--png (several separated by blanks or given
// as several args=) are handed to the program as its command line.
'use strict';

const WORK = '/work';

function startTambri() {
  const statusLine = document.getElementById('status');
  const canvas = document.getElementById('picture');
  const fileList = document.getElementById('file-list');
  const upload = document.getElementById('upload');
  const setState = (state) => { document.body.dataset.state = state; };
  const showStatus = (text) => { statusLine.textContent = text; };

  // 100 columns: the program's widest lines (tables) are 80 characters and
  // more; a line that does not fit wraps, it is never cut.
  const terminal = new Terminal({
    cols: 100, rows: 40, scrollback: 10000, convertEol: true, cursorBlink: true,
    fontFamily: '"DejaVu Sans Mono", monospace', fontSize: 14,
  });
  terminal.open(document.getElementById('terminal'));
  // Reverse wraparound: a backspace at the first column goes to the end of
  // the line above, so editing works inside an answer that wrapped.
  terminal.write('\x1b[?45h');
  terminal.focus();

  const module = {
    arguments: new URLSearchParams(location.search).getAll('args')
      .flatMap((a) => a.split(/\s+/)).filter((a) => a !== ''),
    tambriWrite: (text) => terminal.write(text),
    tambriNextLine: nextLine,
    tambriShow: showPicture,
    tambriNextPointerOrLine: nextPointerOrLine,
    tambriShowReading: showReading,
    preRun: [openFolder],
    onExit: ended,
    onAbort: (what) => failed(`Programm abgebrochen: ${what}`),
    print: (text) => terminal.write(`${text}\n`),
    printErr: (text) => console.warn(text),
  };
  window.tambri = { terminal, module };

  // ---- The line being typed, the lines typed ahead, the earlier answers
  // (of this run and earlier ones in this browser, the last 500, as the
  // native program keeps them at a terminal).
  const HISTORY_KEY = 'tambri.history';
  const HISTORY_KEPT = 500;
  const storedHistory = () => { try { return JSON.parse(localStorage.getItem(HISTORY_KEY)) || []; } catch { return []; } };
  const input = {
    text: '', cursor: 0, queued: [], history: storedHistory(), recalled: 0, over: false,
    waiting: null, pointerWaiting: null,  // the program's pending question, if any
  };
  input.recalled = input.history.length;

  // Redraws the line from its start: the cursor goes back to the first
  // character, the new text (blanked out to the old length) is written and
  // the cursor put where it belongs.
  function redraw(text, cursor) {
    const blanks = Math.max(0, input.text.length - text.length);
    terminal.write('\b'.repeat(input.cursor) + text + ' '.repeat(blanks) + '\b'.repeat(text.length + blanks - cursor));
    input.text = text;
    input.cursor = cursor;
  }
  function insert(chars) {
    const { text, cursor } = input;
    if (cursor === text.length) {
      terminal.write(chars);
      input.text += chars;
      input.cursor += chars.length;
    } else {
      redraw(text.slice(0, cursor) + chars + text.slice(cursor), cursor + chars.length);
    }
  }
  function recall(step) {
    const at = Math.min(input.history.length, Math.max(0, input.recalled + step));
    if (at === input.recalled) return;
    input.recalled = at;
    const text = at === input.history.length ? '' : input.history[at];
    redraw(text, text.length);
  }
  // Return: the rest of the line is written over, the terminal goes to a new
  // line and the line is handed to the program, or queued until it asks.
  function enter() {
    if (input.over) return;
    const line = input.text;
    terminal.write(`${line.slice(input.cursor)}\r\n`);
    if (line !== '' && line !== input.history[input.history.length - 1]) {
      input.history = [...input.history, line].slice(-HISTORY_KEPT);
      try { localStorage.setItem(HISTORY_KEY, JSON.stringify(input.history)); } catch { /* kept for this run only */ }
    }
    input.recalled = input.history.length;
    input.text = '';
    input.cursor = 0;
    handOver(line);
  }
  // Answers the program's pending question `which` ('waiting' for a line,
  // 'pointerWaiting' for a picture's pointer); false when it is not asking.
  function resume(which, value) {
    const resolve = input[which];
    if (!resolve) return false;
    input[which] = null;
    setState('running');
    resolve(value);
    return true;
  }
  function handOver(line) {
    if (resume('waiting', line)) return;
    input.queued.push(line);
    resume('pointerWaiting', { kind: 'line' });
  }
  const keys = {
    '\x1b[D': () => { if (input.cursor > 0) { terminal.write('\b'); input.cursor -= 1; } },
    '\x1b[C': () => { if (input.cursor < input.text.length) { terminal.write(input.text[input.cursor]); input.cursor += 1; } },
    '\x1b[H': () => redraw(input.text, 0),
    '\x1b[F': () => redraw(input.text, input.text.length),
    '\x1b[A': () => recall(-1),
    '\x1b[B': () => recall(1),
    '\x1b[3~': () => {
      const { text, cursor } = input;
      if (cursor < text.length) redraw(text.slice(0, cursor) + text.slice(cursor + 1), cursor);
    },
    '\x7f': () => {
      const { text, cursor } = input;
      if (cursor > 0) redraw(text.slice(0, cursor - 1) + text.slice(cursor), cursor - 1);
    },
    '\x01': () => redraw(input.text, 0),  // Ctrl-A, Ctrl-E as in the native line editor
    '\x05': () => redraw(input.text, input.text.length),
    // Ctrl-C while the program works stops a calculation after its current
    // iteration (the program looks at the note there); in a picture's wait it
    // counts as Return; at a prompt it drops the line typed so far.
    '\x03': () => {
      if (!input.waiting && !input.pointerWaiting) {
        module.tambriInterrupted = true;
      } else {
        redraw('', 0);
        if (module.tambriPictureWaits) enter();
      }
    },
    // Ctrl-D on an empty line ends the input, as at a terminal.
    '\x04': () => { if (input.text === '' && input.waiting && !input.over) handOver(null); },
  };
  keys['\b'] = keys['\x7f'];
  keys['\x1bOD'] = keys['\x1b[D'];
  keys['\x1bOC'] = keys['\x1b[C'];
  keys['\x1bOH'] = keys['\x1b[H'];
  keys['\x1bOF'] = keys['\x1b[F'];
  keys['\x1bOA'] = keys['\x1b[A'];
  keys['\x1bOB'] = keys['\x1b[B'];
  keys['\x1b[1~'] = keys['\x1b[H'];
  keys['\x1b[4~'] = keys['\x1b[F'];

  // Keys and pasted text alike: a pasted text of several lines is several
  // answers, each handed over in turn.
  terminal.onData((data) => {
    if (input.over) return;
    let printable = '';
    const flush = () => { if (printable) insert(printable); printable = ''; };
    for (let i = 0; i < data.length;) {
      const sequence = /^\x1b(\[[0-9;]*[~A-Za-z]|O[A-Za-z])?/.exec(data.slice(i));
      if (sequence) {
        flush();
        (keys[sequence[0]] || (() => {}))();
        i += sequence[0].length;
      } else if (data[i] === '\r' || data[i] === '\n') {
        flush();
        enter();
        i += data[i] === '\r' && data[i + 1] === '\n' ? 2 : 1;
      } else if (data[i] < ' ' || data[i] === '\x7f') {
        flush();
        (keys[data[i]] || (() => {}))();
        i += 1;
      } else {
        printable += data[i];
        i += 1;
      }
    }
    flush();
  });
  // Return over the picture ends its wait as Return in the terminal does.
  canvas.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    enter();
  });

  // ---- The program's side of the dialogue.
  async function nextLine() {
    // Nothing is written while the program waits: the moment to store the folder.
    await storeFolder();
    listFiles();
    // A Ctrl-C no calculation took is forgotten: there is no line to drop.
    module.tambriInterrupted = false;
    if (input.queued.length > 0) return input.queued.shift();
    setState('waiting');
    return new Promise((resolve) => { input.waiting = resolve; });
  }

  // ---- The pointer over a waiting picture: the program asks for the next
  // pointer event or to hear that a line has come, and answers with the
  // picture's reading under the pointer, shown beside the canvas.
  const reading = document.getElementById('reading');
  let pointer = null;  // the last position over the canvas, or null
  let pointerEvent = null;  // one not yet asked for; a later one replaces it
  function deliverPointer(event) {
    if (!resume('pointerWaiting', event)) pointerEvent = event;
  }
  function nextPointerOrLine() {
    if (input.queued.length > 0) return Promise.resolve({ kind: 'line' });
    if (pointerEvent) {
      const event = pointerEvent;
      pointerEvent = null;
      return Promise.resolve(event);
    }
    setState('waiting');
    return new Promise((resolve) => { input.pointerWaiting = resolve; });
  }
  const pixelOf = (event) => ({ x: Math.floor(event.offsetX), y: Math.floor(event.offsetY) });
  const onCanvas = ({ x, y }) => x >= 0 && y >= 0 && x < canvas.width && y < canvas.height;
  canvas.addEventListener('mousemove', (event) => {
    pointer = pixelOf(event);
    if (onCanvas(pointer)) deliverPointer({ kind: 'move', ...pointer });
  });
  canvas.addEventListener('mouseleave', () => {
    pointer = null;
    deliverPointer({ kind: 'gone', x: 0, y: 0 });
  });
  canvas.addEventListener('mousedown', (event) => {
    const at = pixelOf(event);
    if (event.button === 0 && onCanvas(at)) deliverPointer({ kind: 'click', ...at });
  });
  // A copy is noted only once the clipboard has taken it.
  function showReading(title, copy, copiedNote) {
    reading.textContent = title;
    if (copy === null) return;
    navigator.clipboard.writeText(copy).then(() => { if (reading.textContent === title) reading.textContent += copiedNote; },
                                              () => {});
  }

  let image = null;
  function showPicture(pixels, palette, width, height) {
    const context = canvas.getContext('2d');
    if (!image || image.width !== width || image.height !== height) image = context.createImageData(width, height);
    // Components 0-63 as in the bitmap files: times 4.
    const data = image.data;
    for (let i = 0; i < width * height; ++i) {
      const c = palette[pixels[i]];
      data[4 * i] = (c & 0xff) * 4;
      data[4 * i + 1] = ((c >> 8) & 0xff) * 4;
      data[4 * i + 2] = ((c >> 16) & 0xff) * 4;
      data[4 * i + 3] = 255;
    }
    context.putImageData(image, 0, 0);
    // A pointer already resting on the new picture is read without a move.
    pointerEvent = pointer ? { kind: 'move', ...pointer } : null;
  }

  function ended(status) {
    input.over = true;
    terminal.options.disableStdin = true;
    terminal.options.cursorBlink = false;
    showStatus(`Programm beendet (Status ${status}) — neu laden für einen neuen Lauf`);
    storeFolder().then(() => {
      listFiles();
      setState('ended');
    });
  }
  function failed(text) {
    input.over = true;
    showStatus(text);
    setState('failed');
  }

  // ---- The working folder.
  // The folder from IndexedDB before the program starts; on the first start
  // the examples and the remembered structure, as a new working folder gets
  // them from `make run`.
  function openFolder(m) {
    m.FS.mkdir(WORK);
    m.FS.mount(m.IDBFS, {}, WORK);
    m.FS.chdir(WORK);
    m.addRunDependency('work-folder');
    m.FS.syncfs(true, async (error) => {
      try {
        if (error) throw error;
        if (fileNames().length === 0) await seedFolder(m.FS);
      } catch (e) {
        showStatus(`Arbeitsordner nicht geladen: ${e}`);
      }
      m.removeRunDependency('work-folder');
    });
  }
  async function seedFolder(fs) {
    const fetched = async (name) => {
      const response = await fetch(name);
      if (!response.ok) throw new Error(`${name}: ${response.status}`);
      return new Uint8Array(await response.arrayBuffer());
    };
    const list = new TextDecoder().decode(await fetched('examples/list.txt'));
    for (const name of list.split('\n').map((n) => n.trim()).filter((n) => n !== '')) {
      fs.writeFile(`${WORK}/${name}`, await fetched(`examples/${encodeURIComponent(name)}`));
    }
    fs.writeFile(`${WORK}/history.inp`, 'kondensa.dat\r\n');
  }
  // Stores run one after another: IndexedDB takes one synchronisation at a time.
  let storing = Promise.resolve();
  function storeFolder() {
    storing = storing.then(() => new Promise((resolve) => {
      module.FS.syncfs(false, (error) => {
        if (error) showStatus(`Arbeitsordner nicht gespeichert: ${error}`);
        resolve();
      });
    }));
    return storing;
  }
  function fileNames() {
    const fs = module.FS;
    return fs.readdir(WORK).filter((name) => name !== '.' && name !== '..' && fs.isFile(fs.stat(`${WORK}/${name}`).mode))
      .sort();
  }
  function listFiles() {
    const rows = fileNames().map((name) => {
      const row = document.createElement('tr');
      const size = module.FS.stat(`${WORK}/${name}`).size;
      const button = document.createElement('button');
      button.className = 'download';
      button.textContent = 'herunterladen';
      button.addEventListener('click', () => download(name));
      row.append(cell(name), cell(String(size), 'size'), cell(button));
      row.dataset.name = name;
      return row;
    });
    fileList.replaceChildren(...rows);
  }
  function cell(content, className) {
    const td = document.createElement('td');
    td.append(content);
    if (className) td.className = className;
    return td;
  }
  function download(name) {
    let bytes;
    try {
      bytes = module.FS.readFile(`${WORK}/${name}`);
    } catch (error) {
      showStatus(`${name} kann nicht gelesen werden (Fehler ${error.errno})`);
      return;
    }
    const url = URL.createObjectURL(new Blob([bytes]));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }
  upload.addEventListener('change', async () => {
    const taken = [];
    const refused = [];
    for (const file of upload.files) {
      if (file.name === '' || file.name === '.' || file.name === '..' || file.name.includes('/')) {
        refused.push(file.name);
        continue;
      }
      try {
        module.FS.writeFile(`${WORK}/${file.name}`, new Uint8Array(await file.arrayBuffer()));
        taken.push(file.name);
      } catch (error) {
        refused.push(file.name);
      }
    }
    upload.value = '';
    await storeFolder();
    listFiles();
    // The program takes file names of up to 12 characters: a longer one is
    // kept, but the user must know to rename it (download, rename, upload).
    const tooLong = taken.filter((name) => name.length > 12);
    showStatus(`Hochgeladen: ${taken.join(', ') || 'nichts'}` + (refused.length ? `; abgelehnt: ${refused.join(', ')}` : '')
               + (tooLong.length ? `; länger als 12 Zeichen, für das Programm nicht lesbar: ${tooLong.join(', ')}` : ''));
  });

  // An error before the first question means the program did not start; later
  // ones are told, and the dialogue goes on.
  window.addEventListener('error', (event) => {
    if (document.body.dataset.state === 'loading') failed(`Fehler: ${event.message}`);
    else showStatus(`Fehler: ${event.message}`);
  });
  if (typeof createTambri !== 'function') {
    failed('Das Programm (tambri.js) konnte nicht geladen werden.');
    return;
  }
  const loading = statusLine.textContent;
  createTambri(module).then(() => { if (statusLine.textContent === loading) showStatus(''); }).catch((error) => failed(`Programm nicht gestartet: ${error}`));
}
