// Headless Chromium as the page's checks and the soak drive it, through
// puppeteer-core (looked up from PUPPETEER_DIR, where tests/web/run.sh and
// scripts/soak.sh install it), with a profile of its own that closing
// removes. Throws when the browser cannot start.
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const require = createRequire(path.join(process.env.PUPPETEER_DIR || process.cwd(), 'x.js'));
const puppeteer = require('puppeteer-core');

export async function launchChromium() {
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
  browser.closeAndForget = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A page of the browser at the size the checks look at, and the list its
// errors and the errors on its console go to.
export async function openPage(browser) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 1000 });
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  page.on('console', message => { if (message.type() === 'error') errors.push(message.text()); });
  return { page, errors };
}
