// Debian's chromium, headless, with WebGL drawn by SwiftShader, started by
// puppeteer-core for the browser tests and the benchmark. Never downloads a
// browser; the profile is a fresh temporary folder each time.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

export const chromiumPath = process.env.CHROMIUM ?? '/usr/bin/chromium';

// Runs use(browser) in a browser started with extraArgs (e.g.
// ['--disable-3d-apis']), then closes it and removes its profile.
export async function withBrowser(extraArgs, use) {
  const profile = mkdtempSync(join(tmpdir(), 'tilings-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    userDataDir: profile,
    defaultViewport: { width: 1200, height: 1000, deviceScaleFactor: 1 },
    args: [
      '--no-sandbox', '--enable-unsafe-swiftshader', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      ...extraArgs,
    ],
  });
  try {
    return await use(browser);
  } finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
  }
}

// Resolves after n more animation frames of the page (the programs redraw
// on every frame, so by then the picture shows every event handled).
export function frames(page, n = 3) {
  return page.evaluate((n) => new Promise((done) => {
    const next = (left) => (left ? requestAnimationFrame(() => next(left - 1)) : done());
    next(n);
  }), n);
}

// Opens a program's page and waits for its first frame; returns the time
// from navigation to that frame in milliseconds (page.js records it).
export async function openProgram(page, url) {
  await page.goto(url);
  await page.waitForFunction('window.firstFrameMs !== undefined', { timeout: 30000 });
  return page.evaluate(() => window.firstFrameMs);
}
