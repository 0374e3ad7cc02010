// Drives the built page in headless Chromium as a player would, over four
// visits: the first looks at the picture and the sound and walks, pauses and
// resumes; the second plays the walkthrough's keys through the first door;
// the third must continue the journey on the second plane; the fourth edits
// that plane and shares it, and the link, opened in a fresh profile, must
// play the edited plane there. Each check prints
// one line; the last line counts them ("N passed, M failed") and the exit
// status is non-zero on any failure. A check that cannot run fails.
//   node tests/web/page-check.mjs URL OUT_DIR PREVIEW_DIR ROUTE_FILE
// OUT_DIR receives the screenshots; PREVIEW_DIR holds the desktop preview's
// planeP-screenS.png (drawn without a route); ROUTE_FILE is the walkthrough.
// puppeteer-core is looked up from PUPPETEER_DIR (tests/web/run.sh installs it).
import fs from 'node:fs';
import path from 'node:path';
import { launchChromium, openPage } from './chromium.mjs';

const [url, outDir, previewDir, routeFile] = process.argv.slice(2);
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
// The fade-in takes 200 frames; past it a screen stands as the preview paints it.
const framesPastFadeIn = 230;
// The vignette and the blocks change every few frames and the title shakes
// at random: among this many frames some match the preview's phase.
const framesCompared = 120;
// DrawingReferenceTest's tolerance at full HD.
const tolerance = { mean: 0.5, shareWithin32: 0.999 };
const home = '/home/web_user';
const settingsFile = `${home}/.config/PlayScaffold/PlayScaffold.conf`;
const stateFile = `${home}/.local/state/PlayScaffold/state`;
const planesFile = `${home}/.local/share/PlayScaffold/planes.xml`;

const results = [];
function check(name, ok, detail) {
  results.push(ok);
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}

// Runs in the page before its own scripts. Counts frames (drawing with
// WebGL up to the glFinish that ends each, two of them when the page plays
// two in one animation frame) and runs the hooks due after the last frame of
// a task, while it is still in the drawing buffer; keeps the audio contexts and the sound buffers made;
// with ?route in the address, presses the route's keys, each frame's before
// the game's update of that frame.
function probePage(route) {
  const probe = window.bvProbe = { firstFrame: null, frames: 0, contexts: [], buffers: [], afterFrame: [] };
  const arrows = { left: 37, up: 38, right: 39, down: 40 };
  const press = (type, key) => {
    const event = new KeyboardEvent(type, { bubbles: true, cancelable: true });
    Object.defineProperty(event, 'keyCode', { get: () => arrows[key] });
    document.dispatchEvent(event);
  };
  const keysFor = location.search.includes('route') ? route : {};
  let inFrame = false;
  // The longest wait between the browser's animation frames since it was
  // last set to 0: a page held up by a busy machine.
  probe.longestGap = 0;
  const requestFrame = window.requestAnimationFrame.bind(window);
  let lastTick = null;
  window.requestAnimationFrame = callback => requestFrame(time => {
    if (lastTick !== null) probe.longestGap = Math.max(probe.longestGap, time - lastTick);
    lastTick = time;
    callback(time);
  });
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    const gl = getContext.call(this, type, attributes);
    if (!gl || !/webgl/.test(type) || gl.bvProbed) return gl;
    gl.bvProbed = true;
    const finish = gl.finish.bind(gl);
    gl.finish = () => {
      inFrame = false;
      return finish();
    };
    for (const name of ['drawArrays', 'drawElements']) {
      const draw = gl[name].bind(gl);
      gl[name] = (...args) => {
        if (!inFrame) {
          inFrame = true;
          if (probe.firstFrame === null) probe.firstFrame = performance.now();
          // This is the game's frame probe.frames (from 0): the keys of the
          // next one reach SDL's queue before that frame's update.
          for (const [type, key] of keysFor[probe.frames + 1] || []) press(type, key);
          probe.frames++;
          queueMicrotask(() => {
            inFrame = false;
            const hooks = probe.afterFrame;
            probe.afterFrame = [];
            for (const hook of hooks) hook(gl);
          });
        }
        return draw(...args);
      };
    }
    return gl;
  };
  const AudioContext = window.AudioContext;
  window.AudioContext = function (options) {
    const context = options === undefined ? new AudioContext() : new AudioContext(options);
    probe.contexts.push(context);
    return context;
  };
  window.AudioContext.prototype = AudioContext.prototype;
  // The last 64 sound buffers made, and how many were made in all.
  probe.made = 0;
  const createBuffer = BaseAudioContext.prototype.createBuffer;
  BaseAudioContext.prototype.createBuffer = function (...args) {
    const buffer = createBuffer.apply(this, args);
    probe.made++;
    probe.buffers.push(buffer);
    if (probe.buffers.length > 64) probe.buffers.shift();
    return buffer;
  };
  // The next frame's pixels, RGBA with the bottom row first.
  probe.nextFrame = () => new Promise(resolve => probe.afterFrame.push(gl => {
    const pixels = new Uint8Array(gl.drawingBufferWidth * gl.drawingBufferHeight * 4);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    gl.readPixels(0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    resolve({ pixels, width: gl.drawingBufferWidth, height: gl.drawingBufferHeight });
  }));
  // The loudest of the sound buffers made since `since` of them were made,
  // as the root of the mean square of its samples.
  probe.loudness = since => {
    const fresh = probe.buffers.slice(Math.max(0, probe.buffers.length - (probe.made - since)));
    let loudest = 0;
    for (const buffer of fresh) {
      let sum = 0, count = 0;
      for (let c = 0; c < buffer.numberOfChannels; c++)
        for (const v of buffer.getChannelData(c)) { sum += v * v; count++; }
      loudest = Math.max(loudest, Math.sqrt(sum / Math.max(1, count)));
    }
    return { loudest, buffers: fresh.length };
  };
}

// In the page: compares each of `count` frames with the PNG (base64) and
// answers with the best one's figures and the frame itself as a PNG data URL.
async function bestMatch(base64, count) {
  const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + base64)).blob());
  const reference = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
  reference.drawImage(bitmap, 0, 0);
  const expected = reference.getImageData(0, 0, bitmap.width, bitmap.height).data;
  let best = null;
  for (let n = 0; n < count; n++) {
    const { pixels, width, height } = await window.bvProbe.nextFrame();
    if (width !== bitmap.width || height !== bitmap.height) return { size: `${width} x ${height}` };
    let total = 0, within = 0, worst = 0;
    for (let y = 0; y < height; y++) {
      const row = (height - 1 - y) * width * 4, expectedRow = y * width * 4;
      for (let i = 0; i < width * 4; i++) {
        if ((i & 3) === 3) continue;
        const difference = Math.abs(pixels[row + i] - expected[expectedRow + i]);
        total += difference;
        within += difference <= 32;
        if (difference > worst) worst = difference;
      }
    }
    const values = width * height * 3;
    if (!best || total / values < best.mean)
      best = { mean: total / values, share: within / values, worst, frame: n, pixels, width, height };
  }
  const canvas = new OffscreenCanvas(best.width, best.height);
  const picture = new ImageData(best.width, best.height);
  for (let y = 0; y < best.height; y++)
    picture.data.set(best.pixels.subarray((best.height - 1 - y) * best.width * 4, (best.height - y) * best.width * 4), y * best.width * 4);
  canvas.getContext('2d').putImageData(picture, 0, 0);
  const blob = await canvas.convertToBlob({ type: 'image/png' });
  const png = await new Promise(resolve => { const r = new FileReader(); r.onload = () => resolve(r.result); r.readAsDataURL(blob); });
  return { mean: best.mean, share: best.share, worst: best.worst, frame: best.frame, png };
}

// In the page: where the figure stands, as the mean column of the dark
// pixels below the title (the figure is the only dark thing there).
async function figureColumn() {
  const { pixels, width, height } = await window.bvProbe.nextFrame();
  let sum = 0, count = 0;
  for (let y = 300; y < height; y++)
    for (let x = 0; x < width; x++) {
      const i = ((height - 1 - y) * width + x) * 4;
      if (pixels[i] < 60 && pixels[i + 1] < 60 && pixels[i + 2] < 60) { sum += x; count++; }
    }
  return count ? sum / count : null;
}

// In the page: the mean row of the figure's dark pixels in the next frame,
// counted from the top, in a band about its column and away from the
// vignette's dark top and bottom; null when none shows.
async function figureRow() {
  const { pixels, width, height } = await window.bvProbe.nextFrame();
  let across = 0, dark = 0;
  for (let y = 300; y < height; y++)
    for (let x = 0; x < width; x++) {
      const i = ((height - 1 - y) * width + x) * 4;
      if (pixels[i] < 60 && pixels[i + 1] < 60 && pixels[i + 2] < 60) { across += x; dark++; }
    }
  if (!dark) return null;
  const column = across / dark;
  let sum = 0, count = 0;
  for (let y = 100; y < height - 100; y++)
    for (let x = Math.max(0, Math.round(column) - 20); x < Math.min(width, Math.round(column) + 20); x++) {
      const i = ((height - 1 - y) * width + x) * 4;
      if (pixels[i] < 60 && pixels[i + 1] < 60 && pixels[i + 2] < 60) { sum += y; count++; }
    }
  return count ? sum / count : null;
}

// In the page: a file as the page keeps it in IndexedDB, as text; null when absent.
function storedFile(file) {
  return new Promise(resolve => {
    const request = indexedDB.open(file.split('/').slice(0, 3).join('/'));
    request.onerror = () => resolve(null);
    request.onsuccess = () => {
      const db = request.result;
      if (!db.objectStoreNames.contains('FILE_DATA')) { db.close(); resolve(null); return; }
      const get = db.transaction('FILE_DATA', 'readonly').objectStore('FILE_DATA').get(file);
      get.onsuccess = () => {
        db.close();
        resolve(get.result && get.result.contents ? new TextDecoder().decode(get.result.contents) : null);
      };
      get.onerror = () => { db.close(); resolve(null); };
    };
  });
}

// In the page: the colour of the next frame at (x, y) of the 1024 x 768
// drawing, y counted from the top.
async function pixelAt(x, y) {
  const { pixels, width, height } = await window.bvProbe.nextFrame();
  const i = ((height - 1 - y) * width + x) * 4;
  return Array.from(pixels.slice(i, i + 3));
}

// The planes of a planes file without their notes, each as its text.
function planesOf(text) {
  return (text || '').match(/<Plane[\s\S]*?<\/Plane>/g)?.map(plane => plane.replace(/^<Plane[^>]*>/, '')) || [];
}

// The walkthrough's key events up to the last frame wanted, by frame, and
// every arrow still held let go after it.
function routeKeys(file, lastFrame) {
  const keys = {};
  const held = new Set();
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const words = line.replace(/#.*/, '').trim().split(/\s+/).filter(Boolean);
    if (words.length < 2 || Number(words[0]) > lastFrame) continue;
    keys[words[0]] = words.slice(1).map(word => {
      const key = word.slice(1);
      word[0] === '+' ? held.add(key) : held.delete(key);
      return [word[0] === '+' ? 'keydown' : 'keyup', key];
    });
  }
  keys[lastFrame + 1] = [...held].map(key => ['keyup', key]);
  return keys;
}

// The CPU seconds of the browser and every process under it, from /proc.
function browserCpuSeconds(rootPid) {
  const children = new Map();
  const times = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const fields = fs.readFileSync(`/proc/${entry}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
      const parent = Number(fields[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(entry));
      times.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch (e) { /* the process ended meanwhile */ }
  }
  let ticks = 0;
  for (const pending = [rootPid]; pending.length;) {
    const pid = pending.pop();
    ticks += times.get(pid) || 0;
    pending.push(...(children.get(pid) || []));
  }
  return ticks / 100;
}

fs.mkdirSync(outDir, { recursive: true });
const preview = name => fs.readFileSync(path.join(previewDir, name)).toString('base64');
const browser = await launchChromium();
try {
  const { page, errors } = await openPage(browser);
  await page.evaluateOnNewDocument(probePage, routeKeys(routeFile, 460));
  // Puppeteer's own evaluation counts as a user gesture, which would let the
  // sound run: until the first key press the page is read without one.
  const cdp = await page.createCDPSession();
  const read = async expression =>
    (await cdp.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true, userGesture: false })).result.value;
  const waitFor = async (expression, milliseconds) => {
    for (const end = Date.now() + milliseconds; Date.now() < end; await sleep(50)) {
      const value = await read(expression);
      if (value) return value;
    }
    return null;
  };
  // The colour at the middle of a screenshot.
  const centreOf = png => read(`(async () => {
    const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,${png.toString('base64')}')).blob());
    const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
    context.drawImage(bitmap, 0, 0);
    return Array.from(context.getImageData(bitmap.width >> 1, bitmap.height >> 1, 1, 1).data.slice(0, 3));
  })()`);
  const fadedIn = () => waitFor(`window.bvProbe.frames >= ${framesPastFadeIn}`, 60000);
  // Until no frame has come for a fifth of a second (a pause has taken).
  const framesStopped = () => waitFor(`new Promise(done => {
    const frames = window.bvProbe.frames;
    setTimeout(() => done(window.bvProbe.frames === frames), 200);
  })`, 10000);
  // Holds an arrow, or pushes the gamepad's stick right, until the figure
  // stands more than 20 pixels right of `from` (for at most 10 s); where it stands then.
  const walkRightFrom = async (from, start, stop) => {
    await start();
    let at = null;
    for (const end = Date.now() + 10000; Date.now() < end && !(at > from + 20); await sleep(100))
      at = await read(`(${figureColumn})()`);
    await stop();
    return at;
  };
  const matchPreview = async (name, screenshot) => {
    const match = await read(`(${bestMatch})(${JSON.stringify(preview(name))}, ${framesCompared})`);
    if (!match || match.size) return { ok: false, detail: match ? `canvas ${match.size}` : 'no frames' };
    fs.writeFileSync(path.join(outDir, screenshot), Buffer.from(match.png.split(',')[1], 'base64'));
    return {
      ok: match.mean <= tolerance.mean && match.share >= tolerance.shareWithin32,
      detail: `best of ${framesCompared} frames (${match.frame}): mean difference ${match.mean.toFixed(3)}, ` +
        `${(100 * match.share).toFixed(3)} % within 32 levels, worst ${match.worst}; ${path.join(outDir, screenshot)}`,
    };
  };

  // The first visit: a new player.
  await page.goto(url, { waitUntil: 'load' });
  const firstFrame = await waitFor('window.bvProbe.firstFrame', 20000);
  // About a second on a quiet machine; the bound is for a page that stalls
  // at its start, not for a busy machine's slower one.
  check('the game draws a first frame within 10 s of loading', firstFrame !== null && firstFrame < 10000,
    firstFrame === null ? 'none in 20 s' : `${Math.round(firstFrame)} ms`);

  const noteShown = await read("!document.getElementById('sound-note').hidden");
  const suspended = await read("window.bvProbe.contexts.every(c => c.state !== 'running')");
  check('before a key press the sound waits and the page says so', noteShown && suspended,
    `note ${noteShown ? 'shown' : 'hidden'}, audio ${suspended ? 'held back' : 'running'}`);

  const settings = await waitFor(`(${storedFile})(${JSON.stringify(settingsFile)})`, 10000);
  check('the first start leaves the settings file in the browser\'s storage', settings !== null,
    settings === null ? `no ${settingsFile} in IndexedDB` : JSON.stringify(settings.split('\n')[0]));

  const pastFadeIn = await fadedIn();
  const pageShot = await page.screenshot({ path: path.join(outDir, 'page.png') });
  const [r, g, b] = await centreOf(pageShot);
  check('once faded in, the centre of the page is the green ground of the first screen',
    pastFadeIn && g > r + 20 && g > b + 20, `rgb(${r}, ${g}, ${b}), ${path.join(outDir, 'page.png')}`);

  // What a frame costs the browser (the page, its compositor and the GPU
  // process's software rendering), over ten seconds of the standing game,
  // and the game's pace then, on the page's own clock: one frame every
  // 30 ms at whatever rate the browser's display runs (60 Hz here). A page
  // that a busy machine held up for longer than the game catches up on
  // (three frames) loses frames by design: ten seconds off the pace are
  // measured again, five times at most. No rule that depends on the
  // display's rate (30 or 60 a second at 60 Hz) comes near it, held up or not.
  let pace = null;
  for (let tries = 0; tries < 5 && !(pace && pace.onPace); tries++) {
    const cpuBefore = browserCpuSeconds(browser.process().pid);
    const [framesBefore, timeBefore] = await read('[window.bvProbe.frames, performance.now(), window.bvProbe.longestGap = 0]');
    await sleep(10000);
    const [framesAfter, timeAfter, longestGap] = await read('[window.bvProbe.frames, performance.now(), window.bvProbe.longestGap]');
    const frames = framesAfter - framesBefore, seconds = (timeAfter - timeBefore) / 1000;
    const cpu = browserCpuSeconds(browser.process().pid) - cpuBefore;
    console.log(`measured: ${frames} frames in ${seconds.toFixed(1)} s, ` +
      `${(1000 * cpu / Math.max(1, frames)).toFixed(1)} ms of the browser's CPU a frame, ` +
      `animation frames at most ${longestGap.toFixed(1)} ms apart`);
    pace = { rate: frames / seconds, seconds, longestGap, onPace: Math.abs(frames / seconds - 1000 / 30) < 0.6 };
  }
  check('the game plays a frame every 30 ms at the display\'s own rate', pace.onPace,
    `${pace.rate.toFixed(2)} frames a second over ${pace.seconds.toFixed(1)} s, ` +
    `animation frames at most ${pace.longestGap.toFixed(0)} ms apart`);

  const first = await matchPreview('plane0-screen0.png', 'first-screen.png');
  check('the first screen matches the desktop preview', first.ok, first.detail);

  const standing = await read(`(${figureColumn})()`);
  const made = await read('window.bvProbe.made');
  const walked = await walkRightFrom(standing, () => page.keyboard.down('ArrowRight'), () => page.keyboard.up('ArrowRight'));
  check('a held right arrow walks the figure to the right', standing !== null && walked !== null && walked > standing + 20,
    `figure at x ${Math.round(standing)}, then ${Math.round(walked)}`);

  await waitFor(`window.bvProbe.contexts.some(c => c.state === 'running') && document.getElementById('sound-note').hidden &&
    window.bvProbe.loudness(${made}).loudest > 1e-4`, 10000);
  const running = await read("window.bvProbe.contexts.some(c => c.state === 'running')");
  const noteGone = await read("document.getElementById('sound-note').hidden");
  const sound = await read(`window.bvProbe.loudness(${made})`);
  check('after a key press the sound runs, carries the music and the note is gone',
    running && noteGone && sound.buffers > 0 && sound.loudest > 1e-4,
    `audio ${running ? 'running' : 'held back'}, note ${noteGone ? 'hidden' : 'shown'}, ` +
    `${sound.buffers} blocks since the key, loudest at ${(20 * Math.log10(sound.loudest || 1e-12)).toFixed(1)} dBFS`);

  await page.keyboard.press('KeyP');
  await framesStopped();
  const pausedFrames = await read('window.bvProbe.frames');
  const pausedShot = await page.screenshot({ path: path.join(outDir, 'paused.png') });
  await sleep(1200);
  const stillShot = await page.screenshot();
  const stillFrames = await read('window.bvProbe.frames');
  // Under the pause's dark veil the green ground still shows.
  const [pr, pg, pb] = await centreOf(pausedShot);
  check('P pauses: the last picture, veiled, stands still for over a second',
    stillFrames === pausedFrames && pausedShot.equals(stillShot) && pg > pr + 10 && pg > pb + 10,
    `${stillFrames - pausedFrames} frames drawn, pictures ${pausedShot.equals(stillShot) ? 'equal' : 'differ'}, ` +
    `centre rgb(${pr}, ${pg}, ${pb}), ${path.join(outDir, 'paused.png')}`);
  await page.keyboard.press('KeyP');
  const resumedFrames = await waitFor(`window.bvProbe.frames > ${stillFrames + 5} && window.bvProbe.frames`, 10000);
  check('P again resumes the game', resumedFrames > stillFrames + 5, `${resumedFrames - stillFrames} frames after P`);

  // The page losing the focus (a click elsewhere, another window) pauses
  // as on the desktop; an arrow resumes.
  await read("window.dispatchEvent(new FocusEvent('blur')), true");
  await framesStopped();
  const blurredFrames = await read('window.bvProbe.frames');
  await sleep(1000);
  const blurredStill = (await read('window.bvProbe.frames')) === blurredFrames;
  await page.keyboard.press('ArrowLeft');
  const backFrames = await waitFor(`window.bvProbe.frames > ${blurredFrames + 5} && window.bvProbe.frames`, 10000);
  check('losing the focus pauses, and an arrow resumes', blurredStill && backFrames > blurredFrames + 5,
    `${blurredStill ? 'no frame' : 'frames'} for a second, then ${backFrames - blurredFrames} frames after the arrow`);

  // F11: the browser's full screen for the canvas, the game going on at its
  // size; F11 again leaves it.
  await page.keyboard.press('F11');
  const full = await waitFor("document.fullscreenElement === document.getElementById('canvas')", 10000);
  const fullFrames = await read('window.bvProbe.frames');
  const fullPlays = await waitFor(`window.bvProbe.frames > ${fullFrames + 5}`, 10000);
  const fullSize = await read("(c => c.width + ' x ' + c.height)(document.getElementById('canvas'))");
  await page.screenshot({ path: path.join(outDir, 'full-screen.png') });
  await page.keyboard.press('F11');
  const left = await waitFor('document.fullscreenElement === null', 10000);
  check('F11 asks the browser for full screen and the game plays on; F11 again leaves it',
    full && fullPlays && fullSize === '1024 x 768' && left,
    `${full ? 'full screen' : 'not full screen'}, ${fullPlays ? 'playing' : 'stopped'}, canvas ${fullSize}, ` +
    `${left ? 'left again' : 'still full screen'}, ${path.join(outDir, 'full-screen.png')}`);

  // The tab hidden behind another pauses too: a hidden page draws nothing
  // anyway, so the game must still be paused once it shows again.
  const other = await browser.newPage();
  await other.bringToFront();
  await waitFor("document.visibilityState === 'hidden'", 10000);
  const hidden = await read('document.visibilityState');
  await page.bringToFront();
  await framesStopped();
  const shownFrames = await read('window.bvProbe.frames');
  await sleep(1000);
  const shownStill = (await read('window.bvProbe.frames')) === shownFrames;
  await other.close();
  await page.keyboard.press('ArrowLeft');
  const againFrames = await waitFor(`window.bvProbe.frames > ${shownFrames + 5} && window.bvProbe.frames`, 10000);
  check('hiding the tab pauses, and an arrow resumes', hidden === 'hidden' && shownStill && againFrames > shownFrames + 5,
    `tab ${hidden}, ${shownStill ? 'no frame' : 'frames'} for a second once shown, then ${againFrames - shownFrames} frames after the arrow`);

  // A gamepad, as the browser shows one to the page once a button has been
  // pressed on it: here a stand-in for the browser's gamepad list, its stick
  // pushed right for a second.
  await read(`(() => {
    const pad = window.bvPad = { id: 'stand-in pad', index: 0, connected: true, mapping: 'standard',
      timestamp: 1, axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    navigator.getGamepads = () => [pad];
    return true;
  })()`);
  // Time for the game, which looks for a pad once a frame, to open it.
  await sleep(1000);
  // Holds a control for this many of the game's frames; how far right the figure walked meanwhile.
  const heldFrames = 30;
  const walkedWhileHeld = async press => {
    const from = await read(`(${figureColumn})()`);
    const first = await read('window.bvProbe.frames');
    await press();
    await waitFor(`window.bvProbe.frames >= ${first + heldFrames}`, 20000);
    const to = await read(`(${figureColumn})()`);
    return from === null || to === null ? null : to - from;
  };
  const stickWalk = await walkedWhileHeld(() => read('(bvPad.axes[0] = 1, bvPad.timestamp++, true)'));
  check('a gamepad that appears while playing walks the figure with its stick',
    stickWalk !== null && stickWalk > 20, `${Math.round(stickWalk)} px in ${heldFrames} frames`);

  // The pad follows the browser's standard layout: the D-pad is buttons 12
  // to 15, button 0 (A) jumps and button 9 (Start) pauses and resumes. The
  // page reads the pad once a frame, so a press is held past a frame.
  const padButton = (number, down) => read(`(bvPad.buttons[${number}] = { pressed: ${down}, value: ${down ? 1 : 0} }, bvPad.timestamp++, true)`);
  // The thumb goes from the stick to the D-pad between two of the page's
  // reads of the pad, and the stick then rests a little off centre: the
  // D-pad held walks on as the stick did.
  const dpadWalk = await walkedWhileHeld(async () => {
    await read('(bvPad.axes[0] = 0, bvPad.buttons[15] = { pressed: true, value: 1 }, bvPad.timestamp++, true)');
    await sleep(300);
    await read('(bvPad.axes[0] = 0.02, bvPad.timestamp++, true)');
  });
  await read('(bvPad.axes[0] = 0, bvPad.buttons[15] = { pressed: false, value: 0 }, bvPad.timestamp++, true)');
  await sleep(200);
  check('the standard gamepad\'s D-pad (button 15) held walks the figure as far as the stick',
    stickWalk !== null && dpadWalk !== null && dpadWalk > 0.75 * stickWalk,
    `${Math.round(dpadWalk)} px in ${heldFrames} frames, the stick ${Math.round(stickWalk)} px`);
  const standingRow = await read(`(${figureRow})()`);
  await padButton(0, true);
  await sleep(250);
  const jumpingRow = await read(`(${figureRow})()`);
  await padButton(0, false);
  check('its A button (button 0) jumps', standingRow !== null && jumpingRow !== null && jumpingRow < standingRow - 10,
    `figure at y ${Math.round(standingRow)}, then ${Math.round(jumpingRow)}`);
  await sleep(1500);
  await padButton(9, true);
  await sleep(150);
  await padButton(9, false);
  await sleep(300);
  const padPaused = await read('window.bvProbe.frames');
  await sleep(1000);
  const padStill = (await read('window.bvProbe.frames')) === padPaused;
  await padButton(9, true);
  await sleep(150);
  await padButton(9, false);
  await sleep(500);
  const padResumed = await read('window.bvProbe.frames');
  check('its Start button (button 9) pauses and resumes', padStill && padResumed > padPaused + 5,
    `${padStill ? 'no frame' : 'frames'} for a second, then ${padResumed - padPaused} frames in 0.5 s`);

  // The second visit: the walkthrough's keys through the first door.
  await page.goto(url + '?route', { waitUntil: 'load' });
  const throughDoor = await waitFor(`(${storedFile})(${JSON.stringify(stateFile)})`, 60000);
  await page.screenshot({ path: path.join(outDir, 'through-the-door.png') });
  check('passing the first door keeps the journey in the browser\'s storage', throughDoor !== null && /^plane 1$/m.test(throughDoor),
    throughDoor === null ? `no ${stateFile} in IndexedDB after ${await read('window.bvProbe.frames')} frames`
      : JSON.stringify(throughDoor.replace(/\n/g, ' ')));

  // The third visit: the journey goes on.
  await page.goto(url, { waitUntil: 'load' });
  await fadedIn();
  const second = await matchPreview('plane1-screen0.png', 'journey-continued.png');
  check('loaded again, the journey continues on the second plane', second.ok, second.detail);

  // The fourth visit: E opens the editor on the plane in play, N puts a
  // block at the pointer (the middle of the screen, ground on this plane)
  // and the tab is hidden at once, well before the planes file's wait for
  // more changes is over: the page keeps the planes all the same. Shown
  // again, L shows the link to the plane; E goes back to the game.
  const groundMiddle = await read(`(${pixelAt})(512, 384)`);
  await page.keyboard.press('KeyE');
  await sleep(500);
  await page.keyboard.press('KeyN');
  await sleep(100);
  const cover = await browser.newPage();
  await cover.bringToFront();
  const hiddenFrames = await read('window.bvProbe.frames');
  const kept = await waitFor(`(${storedFile})(${JSON.stringify(planesFile)})`, 5000);
  const stillHidden = (await read('window.bvProbe.frames')) === hiddenFrames;
  await cover.close();
  await page.bringToFront();
  // An arrow resumes the paused game; in the editor it moves the new block
  // 8 pixels left, which the link must carry too.
  await page.keyboard.press('ArrowLeft');
  await sleep(300);
  check('an edit is kept in the browser\'s storage as soon as the tab is hidden', planesOf(kept).length === 1 && stillHidden,
    kept === null ? `no ${planesFile} in IndexedDB` : `${planesOf(kept).length} plane(s), ${kept.length} bytes, ` +
      `${stillHidden ? 'no frame drawn meanwhile' : 'frames drawn meanwhile'}`);
  await page.keyboard.press('KeyL');
  const link = await waitFor("document.getElementById('share-link').value", 5000);
  await page.screenshot({ path: path.join(outDir, 'editor-shared.png') });
  const linkNote = await read("document.getElementById('share-note').textContent");
  check('in the editor, L shows a link to the plane beside the game', /#plane=[A-Za-z0-9_-]+$/.test(link || '') && link.length < 2000,
    `${link ? link.length + ' characters' : 'no link'} ("${linkNote}"), ${path.join(outDir, 'editor-shared.png')}`);
  await page.keyboard.press('KeyE');
  await sleep(1000);
  const shared = await read(`(${storedFile})(${JSON.stringify(planesFile)})`);

  // The link in a fresh profile: the page offers the plane; taken, it joins
  // that player's planes (after a copy of the plane in play there) and is
  // played, its new block in the middle of the screen.
  const guestContext = await browser.createBrowserContext();
  const guest = await guestContext.newPage();
  await guest.setViewport({ width: 1280, height: 1000 });
  guest.on('pageerror', error => errors.push(error.message));
  guest.on('console', message => { if (message.type() === 'error') errors.push(message.text()); });
  await guest.evaluateOnNewDocument(probePage, {});
  await guest.goto(link || url, { waitUntil: 'load' });
  const offered = await guest.waitForSelector('#offer:not([hidden])', { timeout: 10000 }).then(() => true, () => false);
  await guest.screenshot({ path: path.join(outDir, 'share-offered.png') });
  if (offered) await guest.click('#offer-play');
  let guestPlanes = null;
  for (const end = Date.now() + 30000; Date.now() < end && planesOf(guestPlanes).length < 2; await sleep(200))
    guestPlanes = await guest.evaluate(`(${storedFile})(${JSON.stringify(planesFile)})`);
  const playedFrom = await guest.evaluate('window.bvProbe.frames');
  await guest.waitForFunction(`window.bvProbe.frames >= ${playedFrom + framesPastFadeIn}`, { timeout: 60000 }).catch(() => {});
  const sharedMiddle = await guest.evaluate(`(${pixelAt})(512, 384)`);
  await guest.screenshot({ path: path.join(outDir, 'share-played.png') });
  const address = await guest.evaluate('window.location.href');
  fs.writeFileSync(path.join(outDir, 'planes-shared.xml'), shared || '');
  fs.writeFileSync(path.join(outDir, 'planes-taken-in.xml'), guestPlanes || '');
  const [gr, gg, gb] = sharedMiddle;
  check('the link, opened in a fresh profile, offers the plane, adds it to the planes there and plays it',
    offered && planesOf(shared).length === 1 && planesOf(guestPlanes).at(-1) === planesOf(shared)[0] &&
      planesOf(shared)[0] !== planesOf(kept)[0] && !address.includes('#') &&
      gr > 200 && gb > 200 && Math.abs(gg - gr) < 30 && String(sharedMiddle) !== String(groundMiddle),
    `${offered ? 'offered' : 'no offer'}, ${planesOf(guestPlanes).length} plane(s) kept there, the last ` +
      `${planesOf(guestPlanes).at(-1) === planesOf(shared)[0] ? 'the edited one' : 'not the edited one'}; the middle ` +
      `rgb(${sharedMiddle}) where the shipped plane has rgb(${groundMiddle}); ${path.join(outDir, 'share-played.png')}`);
  await guestContext.close();

  check('no error reaches the console', errors.length === 0, errors.slice(0, 3).join(' | '));
} finally {
  await browser.closeAndForget();
}
const failed = results.filter(ok => !ok).length;
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exitCode = failed ? 1 : 0;
