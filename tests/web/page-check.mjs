// Drives the built page in headless Chromium as a player would: loads it,
// waits for the game's first frame, looks at the picture once the fade-in is
// over and presses a key for the music. Each check prints one line; the last
// line counts them ("N passed, M failed") and the exit status is non-zero on
// any failure. A check that cannot run (no frame at all) fails, never skips.
//   node tests/web/page-check.mjs URL SCREENSHOT.png
// puppeteer-core is looked up from PUPPETEER_DIR (tests/web/run.sh installs it).
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const require = createRequire(path.join(process.env.PUPPETEER_DIR || process.cwd(), 'x.js'));
const puppeteer = require('puppeteer-core');
const [url, screenshot] = process.argv.slice(2);
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
// The fade-in takes about 200 frames; past it the first screen stands as the
// desktop preview paints it.
const framesPastFadeIn = 260;

const results = [];
function check(name, ok, detail) {
  results.push(ok);
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}

// Runs in the page before its own scripts: notes the first frame and counts
// frames (a task that draws with WebGL), and keeps the audio contexts made.
function probePage() {
  const probe = window.bvProbe = { firstFrame: null, frames: 0, contexts: [] };
  let inFrame = false;
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    const context = getContext.call(this, type, attributes);
    if (context && /webgl/.test(type) && !context.bvProbed) {
      context.bvProbed = true;
      for (const name of ['drawArrays', 'drawElements']) {
        const draw = context[name].bind(context);
        context[name] = (...args) => {
          if (!inFrame) {
            inFrame = true;
            if (probe.firstFrame === null) probe.firstFrame = performance.now();
            probe.frames++;
            queueMicrotask(() => { inFrame = false; });
          }
          return draw(...args);
        };
      }
    }
    return context;
  };
  const AudioContext = window.AudioContext;
  window.AudioContext = function (options) {
    const context = options === undefined ? new AudioContext() : new AudioContext(options);
    probe.contexts.push(context);
    return context;
  };
  window.AudioContext.prototype = AudioContext.prototype;
}

async function centreColour(page, png) {
  return page.evaluate(async base64 => {
    const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + base64)).blob());
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    return Array.from(context.getImageData(bitmap.width >> 1, bitmap.height >> 1, 1, 1).data.slice(0, 3));
  }, png.toString('base64'));
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'bv-chromium-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  // This machine's network is closed: whatever Chromium would fetch on its
  // own is turned off, or it waits on refused connections.
  args: ['--no-sandbox', '--disable-gpu', '--enable-unsafe-swiftshader', '--disable-quic',
    '--no-first-run', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', `--user-data-dir=${profile}`],
});
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 1000 });
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  page.on('console', message => { if (message.type() === 'error') errors.push(message.text()); });
  await page.evaluateOnNewDocument(probePage);
  // Puppeteer's own evaluation counts as a user gesture, which would let the
  // sound run: until the key press the page is read without one.
  const cdp = await page.createCDPSession();
  const read = async expression =>
    (await cdp.send('Runtime.evaluate', { expression, returnByValue: true, userGesture: false })).result.value;
  const waitFor = async (expression, milliseconds) => {
    for (const end = Date.now() + milliseconds; Date.now() < end; await sleep(50)) {
      const value = await read(expression);
      if (value) return value;
    }
    return null;
  };
  await page.goto(url, { waitUntil: 'load' });

  const firstFrame = await waitFor('window.bvProbe.firstFrame', 20000);
  check('the game draws a first frame within 3 s of loading', firstFrame !== null && firstFrame < 3000,
    firstFrame === null ? 'none in 20 s' : `${Math.round(firstFrame)} ms`);

  const noteShown = await read("!document.getElementById('sound-note').hidden");
  const suspended = await read("window.bvProbe.contexts.every(c => c.state !== 'running')");
  check('before a key press the sound waits and the page says so', noteShown && suspended,
    `note ${noteShown ? 'shown' : 'hidden'}, audio ${suspended ? 'held back' : 'running'}`);

  const pastFadeIn = await waitFor(`window.bvProbe.frames >= ${framesPastFadeIn}`, 60000);
  const png = await (await page.$('#canvas')).screenshot({ path: screenshot });
  const [r, g, b] = await centreColour(page, png);
  check('once faded in, the picture\'s centre is the green of the first screen',
    pastFadeIn && g > r + 20 && g > b + 20, `rgb(${r}, ${g}, ${b}), ${screenshot}`);

  await page.keyboard.press('ArrowLeft');
  await sleep(500);
  const running = await page.evaluate(() => window.bvProbe.contexts.some(c => c.state === 'running'));
  const noteGone = await page.evaluate(() => document.getElementById('sound-note').hidden);
  check('a key press lets the sound run and takes the note away', running && noteGone,
    `audio ${running ? 'running' : 'held back'}, note ${noteGone ? 'hidden' : 'shown'}`);

  check('no error reaches the console', errors.length === 0, errors.slice(0, 3).join(' | '));
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
const failed = results.filter(ok => !ok).length;
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exitCode = failed ? 1 : 0;
