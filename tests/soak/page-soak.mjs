// The page's soak: plays the built page in headless Chromium for MINUTES
// with every key of KEYS_FILE (their browser names) once, then at random
// with held arrows, bursts, mouse moves, clicks and drags on the canvas and
// a stand-in gamepad's stick and buttons; Escape only at the end, until the page says
// the game has ended. Reports the page's errors, the frames it played, the
// WebAssembly memory, the game's heap in use and the JavaScript heap (after
// a garbage collection) after SETTLE seconds and at the end, and writes the
// game's files from the browser's storage under OUT_DIR for scripts/soak.sh
// to check. Exits 1 on a crash, an error, or growth above ALLOWED_KB in the
// game's heap or the JavaScript heap: the least of each in the WINDOW
// seconds after SETTLE against the least in the last WINDOW seconds (a
// proof holds tens of MB while it runs). The WebAssembly memory is the
// heap's highest mark, which never shrinks: a proof larger than those
// before raises it once, so it is reported, not judged.
//   node tests/soak/page-soak.mjs URL MINUTES KEYS_FILE OUT_DIR SETTLE ALLOWED_KB WINDOW
// puppeteer-core is looked up from PUPPETEER_DIR, as tests/web/ does.
import fs from 'node:fs';
import path from 'node:path';
import { launchChromium, openPage } from '../web/chromium.mjs';

const [url, minutesText, keysFile, outDir, settleText, allowedText, windowText] = process.argv.slice(2);
const minutes = Number(minutesText), settleSeconds = Number(settleText), allowedKb = Number(allowedText);
const windowSeconds = Number(windowText);
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const pick = list => list[Math.floor(Math.random() * list.length)];
const failures = [];
const fail = what => { failures.push(what); console.log(`soak: FAILED: ${what}`); };

// The table's browser names in its order, and each as often as its weight says.
const tour = [], keys = [];
for (const line of fs.readFileSync(keysFile, 'utf8').split('\n')) {
  const [weight, , browserName] = line.replace(/#.*/, '').trim().split(/\s+/);
  if (!/^\d+$/.test(weight) || !browserName || browserName === '-') continue;
  tour.push(browserName);
  for (let i = 0; i < Number(weight); i++) keys.push(browserName);
}
const arrows = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown'];

// Runs in the page before its own scripts: counts the game's frames (each
// ends with a glFinish) and puts a stand-in gamepad in the browser's list.
function probePage() {
  const probe = window.bvSoak = { frames: 0 };
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    const gl = getContext.call(this, type, attributes);
    if (gl && /webgl/.test(type) && !gl.bvSoaked) {
      gl.bvSoaked = true;
      const finish = gl.finish.bind(gl);
      gl.finish = () => {
        probe.frames++;
        return finish();
      };
    }
    return gl;
  };
  probe.pad = { id: 'stand-in pad', index: 0, connected: true, mapping: 'standard', timestamp: 1,
    axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
  navigator.getGamepads = () => [probe.pad];
}

// In the page: every file the page keeps in IndexedDB, as [path, base64].
function keptFiles() {
  return new Promise(resolve => {
    const request = indexedDB.open('/home/web_user');
    request.onerror = () => resolve([]);
    request.onsuccess = () => {
      const db = request.result;
      if (!db.objectStoreNames.contains('FILE_DATA')) { db.close(); resolve([]); return; }
      const files = [];
      const cursor = db.transaction('FILE_DATA', 'readonly').objectStore('FILE_DATA').openCursor();
      cursor.onsuccess = () => {
        const at = cursor.result;
        if (!at) { db.close(); resolve(files); return; }
        if (at.value && at.value.contents) {
          let text = '';
          for (const byte of new Uint8Array(at.value.contents)) text += String.fromCharCode(byte);
          files.push([String(at.key), btoa(text)]);
        }
        at.continue();
      };
      cursor.onerror = () => { db.close(); resolve(files); };
    };
  });
}

const browser = await launchChromium();
let began = 0;
let exitCode = 0;
try {
  const { page, errors } = await openPage(browser);
  await page.evaluateOnNewDocument(probePage);
  const cdp = await page.createCDPSession();
  // The WebAssembly memory, the game's heap in use and the JavaScript heap
  // in kB, the last after a collection so that garbage not yet collected
  // does not count.
  const gameHeap = async () => Math.round(await page.evaluate(() => Module._bvHeapInUse()) / 1024);
  const memory = async () => {
    await cdp.send('HeapProfiler.collectGarbage');
    const heap = await cdp.send('Runtime.getHeapUsage');
    const wasm = await page.evaluate(() => (window.wasmMemory ? wasmMemory.buffer.byteLength
      : window.HEAP8 ? HEAP8.length : window.Module && Module.HEAP8 ? Module.HEAP8.length : 0));
    return { wasm: Math.round(wasm / 1024), live: await gameHeap(), heap: Math.round(heap.usedSize / 1024) };
  };
  // The least of the game's heap in use in the window after the settling
  // and in the last window before the end.
  let settledLive = 0, lastLive = 0, peakLive = 0;
  const sampleLive = async (now, ends) => {
    const live = await gameHeap();
    peakLive = Math.max(peakLive, live);
    if (now >= began + settleSeconds * 1000 && now < began + (settleSeconds + windowSeconds) * 1000)
      settledLive = settledLive && Math.min(settledLive, live) || live;
    if (now >= ends - windowSeconds * 1000) lastLive = lastLive && Math.min(lastLive, live) || live;
  };
  const state = () => page.evaluate(() => ({
    frames: window.bvSoak.frames,
    ended: /has ended/.test(document.getElementById('status').textContent) && !document.getElementById('status').hidden,
    problem: document.getElementById('problem').hidden ? '' : document.getElementById('problem-text').textContent,
  }));
  const press = async name => {
    const parts = name.split('+');
    for (const modifier of parts.slice(0, -1)) await page.keyboard.down(modifier);
    await page.keyboard.press(parts[parts.length - 1], { delay: 20 });
    for (const modifier of parts.slice(0, -1).reverse()) await page.keyboard.up(modifier);
  };
  const padButton = async (button, pressed) => page.evaluate((b, p) => {
    const pad = window.bvSoak.pad;
    pad.buttons[b] = { pressed: p, value: p ? 1 : 0 };
    pad.timestamp++;
  }, button, pressed);
  const padAxes = async (x, y) => page.evaluate((ax, ay) => {
    const pad = window.bvSoak.pad;
    pad.axes[0] = ax;
    pad.axes[1] = ay;
    pad.timestamp++;
  }, x, y);

  await page.goto(url, { waitUntil: 'load' });
  began = Date.now();
  for (let waited = 0; (await state()).frames === 0 && waited < 30000; waited += 200) await sleep(200);
  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await sleep(10000);
  const early = await memory();
  const perMinute = [];
  let presses = 0, settled = null, nextSample = began + 60000;
  // Every key once, in the table's order, before the memory settles: what
  // each keeps for good (the editor, a route's search) is then made.
  for (const key of tour) {
    await press(key);
    presses++;
    await sleep(400);
  }
  const ends = began + minutes * 60000 - 15000;
  while (Date.now() < ends) {
    const { ended, problem } = await state();
    if (ended || problem) break;
    switch (Math.floor(Math.random() * 7)) {
      case 0: case 1:
        await press(pick(keys));
        presses++;
        break;
      case 2: { // an arrow held for up to a second and a half
        const key = pick(arrows);
        await page.keyboard.down(key);
        await sleep(100 + Math.random() * 1400);
        await page.keyboard.up(key);
        presses++;
        break;
      }
      case 3: // a burst of keys
        for (let n = 3 + Math.floor(Math.random() * 12); n > 0; n--, presses++) await press(pick(keys));
        break;
      case 4: // right and up together: the usual jump onwards
        await page.keyboard.down('ArrowRight');
        await page.keyboard.down('ArrowUp');
        await sleep(400);
        await page.keyboard.up('ArrowUp');
        await page.keyboard.up('ArrowRight');
        presses += 2;
        break;
      case 5: { // the mouse on the canvas: a move, a click or a drag
        const x = box.x + 8 + Math.random() * (box.width - 16), y = box.y + 8 + Math.random() * (box.height - 16);
        await page.mouse.move(x, y);
        const what = Math.floor(Math.random() * 3);
        if (what === 0) await page.mouse.click(x, y);
        if (what === 1) {
          await page.mouse.down();
          await page.mouse.move(x + Math.random() * 80 - 40, y + Math.random() * 80 - 40, { steps: 4 });
          await page.mouse.up();
        }
        break;
      }
      case 6: // the gamepad: the stick pushed a while, or a button (9 is Start)
        if (Math.random() < 0.5) {
          await padAxes(pick([-1, 0, 1]), pick([-1, 0, 0, 1]));
          await sleep(100 + Math.random() * 900);
          await padAxes(0, 0);
        } else {
          const button = pick([0, 1, 2, 3, 9]);
          await padButton(button, true);
          await sleep(60 + Math.random() * 200);
          await padButton(button, false);
        }
        presses++;
        break;
    }
    await sleep(Math.random() * 100);
    await sampleLive(Date.now(), ends);
    if (settled === null && Date.now() >= began + settleSeconds * 1000) settled = await memory();
    if (Date.now() >= nextSample) {
      const now = await memory();
      perMinute.push(`${(now.wasm / 1024).toFixed(0)}/${(now.live / 1024).toFixed(0)}`);
      nextSample += 60000;
    }
  }
  if (settled === null) settled = await memory();
  const last = await state();
  const end = await memory();
  const seconds = (Date.now() - began) / 1000;
  if (last.ended || last.problem)
    fail(`CRASH: the game ended by itself during play${last.problem ? ': ' + last.problem : ''}`);
  else {
    for (let tries = 0; tries < 8 && !(await state()).ended; tries++) {
      await page.keyboard.press('Escape');
      await sleep(1500);
    }
    if ((await state()).ended) console.log('soak: no crash; Escape ended the game and the page says so');
    else fail('HANG: the game did not end on Escape');
  }
  console.log(`soak: ${presses} key presses and pad moves in ${minutes} minute(s), ` +
    `${(last.frames / seconds).toFixed(1)} frames a second`);
  console.log(`soak: WebAssembly memory (the heap's highest mark) ${early.wasm} kB 10 s after the start, ` +
    `${settled.wasm} kB after ${settleSeconds} s, ${end.wasm} kB at the end`);
  console.log(`soak: the game's heap in use ${early.live} kB 10 s after the start; at least ${settledLive} kB in ` +
    `the ${windowSeconds} s after ${settleSeconds} s, at least ${lastLive} kB in the last ${windowSeconds} s; ` +
    `${end.live} kB at the end, ${peakLive} kB at its peak (per minute, MB, memory/in use: ${perMinute.join(' ')})`);
  console.log(`soak: JavaScript heap ${early.heap} kB 10 s after the start, ${settled.heap} kB after ` +
    `${settleSeconds} s, ${end.heap} kB at the end`);
  if (lastLive - settledLive > allowedKb)
    fail(`MEMORY: the game's heap in use grew by ${lastLive - settledLive} kB after ${settleSeconds} s, ` +
      `above ${allowedKb} kB`);
  if (end.heap - settled.heap > allowedKb)
    fail(`MEMORY: the JavaScript heap grew by ${end.heap - settled.heap} kB after ${settleSeconds} s, ` +
      `above ${allowedKb} kB`);
  if (errors.length === 0) console.log('soak: no page error and no error on the console');
  else fail(`${errors.length} page or console error(s), the first: ${errors.slice(0, 5).join(' | ')}`);

  for (const [file, base64] of await page.evaluate(keptFiles)) {
    fs.mkdirSync(path.join(outDir, path.dirname(file)), { recursive: true });
    fs.writeFileSync(path.join(outDir, file), Buffer.from(base64, 'base64'));
  }
} catch (error) {
  fail(`the soak could not go on: ${error.message}`);
} finally {
  await browser.closeAndForget();
}
exitCode = failures.length ? 1 : 0;
process.exitCode = exitCode;
