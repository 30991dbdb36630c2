// Drives the site in headless chromium for the browser tests (tests/web):
//
//   node drive.mjs page SITE NAME OUT   NAME's page: OUT/start.png, then after
//       a left, a right and a middle drag OUT/pan.png, turn.png, zoom.png, and
//       after a left drag with a wheel click on its way OUT/wheel.png (the
//       canvas only), OUT/output.txt (the page's printed words) and
//       OUT/console.txt (the console's messages, one a line)
//   node drive.mjs index SITE           the index's entries, one a line:
//       link, picture loaded (1 or 0), text
//   node drive.mjs nowebgl SITE NAME    NAME's page in a browser without
//       WebGL: whether the canvas shows (1 or 0), then the message shown
//
// The drags are the ones the native tests make with xdotool, in canvas
// pixels: one motion each from press to release, or two with a click of the
// wheel (downwards) between them.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { serveSite } from '../serve.mjs';
import { frames, openProgram, withBrowser } from './browser.mjs';

export const drags = [
  { shot: 'pan', button: 'left', from: [100, 350], to: [1000, 330] },
  { shot: 'turn', button: 'right', from: [500, 300], to: [400, 300] },
  { shot: 'zoom', button: 'middle', from: [500, 300], to: [530, 510] },
  { shot: 'wheel', button: 'left', from: [100, 350], wheelAt: [150, 350], to: [1000, 350] },
];

async function canvasShot(page, canvas, file) {
  await frames(page);
  const box = await canvas.boundingBox();
  await page.screenshot({ path: file, clip: box });
}

async function drivePage(page, url, out) {
  const messages = [];
  page.on('console', (m) => messages.push(m.text()));
  await openProgram(page, url);
  const canvas = await page.$('#canvas');
  await canvasShot(page, canvas, join(out, 'start.png'));
  const { x, y } = await canvas.boundingBox();
  for (const d of drags) {
    await page.mouse.move(x + d.from[0], y + d.from[1]);
    await page.mouse.down({ button: d.button });
    if (d.wheelAt) {
      await page.mouse.move(x + d.wheelAt[0], y + d.wheelAt[1]);
      await page.mouse.wheel({ deltaY: 100 });
    }
    await page.mouse.move(x + d.to[0], y + d.to[1]);
    await page.mouse.up({ button: d.button });
    await canvasShot(page, canvas, join(out, `${d.shot}.png`));
  }
  writeFileSync(join(out, 'output.txt'), await page.$eval('#output', (e) => e.textContent));
  writeFileSync(join(out, 'console.txt'), messages.join('\n'));
}

async function listIndex(page, url) {
  await page.goto(url);
  await page.waitForNetworkIdle();
  const entries = await page.$$eval('#programs li', (items) => items.map((li) => {
    const img = li.querySelector('img');
    const loaded = img && img.complete && img.naturalWidth > 0 ? 1 : 0;
    return `${li.querySelector('a').getAttribute('href')}\t${loaded}\t${li.textContent.trim()}`;
  }));
  console.log(entries.join('\n'));
}

async function showWithoutWebgl(page, url) {
  await page.goto(url);
  await page.waitForNetworkIdle();
  const shown = await page.$eval('#canvas', (c) => (c.checkVisibility() ? 1 : 0));
  const message = await page.$eval('#no-webgl', (p) => (p.checkVisibility() ? p.innerText : ''));
  console.log(`${shown}\n${message}`);
}

const [mode, site, name, out] = process.argv.slice(2);
const { server, url } = await serveSite(site);
try {
  await withBrowser(mode === 'nowebgl' ? ['--disable-3d-apis'] : [], async (browser) => {
    const page = await browser.newPage();
    if (mode === 'page') await drivePage(page, `${url}${name}.html`, out);
    else if (mode === 'index') await listIndex(page, url);
    else if (mode === 'nowebgl') await showWithoutWebgl(page, `${url}${name}.html`);
    else throw new Error(`unknown mode ${mode}`);
  });
} finally {
  server.close();
}
