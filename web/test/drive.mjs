// Drives the site in headless chromium for the browser tests (tests/web):
//
//   node drive.mjs page SITE NAME OUT   NAME's page: OUT/start.png, then after
//       a left, a right and a middle drag OUT/pan.png, turn.png, zoom.png, and
//       after a left drag with a wheel click on its way OUT/wheel.png (the
//       canvas only), OUT/output.txt (the page's printed words) and
//       OUT/console.txt (the console's messages, one a line)
//   node drive.mjs index SITE           the index's entries, one a line:
//       link, picture loaded (1 or 0), link to the explorer, text; each
//       entry's identity card on the line after it
//   node drive.mjs atlas SITE           the same for atlas.html, whose
//       pictures link to the explorer themselves (link to the explorer: -)
//   node drive.mjs nowebgl SITE NAME    NAME's page in a browser without
//       WebGL: whether the canvas shows (1 or 0), then the message shown
//   node drive.mjs explore SITE NAME... the explorer opened on each tiling
//       (explore.html?tiling=NAME): a line each, NAME and the status lines
//   node drive.mjs drawing SITE FILE... the explorer's Open drawing on
//       each segments file in turn, through the page's file chooser: lines
//       BASENAME.status, .problems, .address, .labels, .canvas, .title and
//       .ms (from the file chosen to its status shown), then errors
//   node drive.mjs link SITE QUERY      the explorer opened on
//       explore.html?QUERY: lines status, problems, address, labels,
//       canvas (1 shown, 0 not) and errors (uncaught in the page)
//   node drive.mjs drag SITE NAME DX DY the explorer on NAME (or on a
//       query, ?tiling=...): a real left
//       drag of the first movable handle, found by its colour in the
//       canvas, by (DX, DY) pixels: the lines of link for the page before
//       (before.*), after the drag (after.*) and for the address after the
//       drag opened in a new page (shared.*), and steps (each drag step's
//       time in milliseconds)
//   node drive.mjs keys SITE OUT        the explorer on pentatile1, keys
//       pressed: h (lines help), e (lines download: the file's name and
//       its first bytes, downloaded into OUT), n (lines next.*, as for link,
//       and title)
//   node drive.mjs phone SITE           the explorer on pentatile1 on a
//       phone (390 x 844 at pixel ratio 3, touch), real touches: lines fit
//       (page and window width), canvas (CSS and buffer sizes), turned.*
//       (the same in landscape, and the handles about the canvas's middle
//       in canvas heights before and after turning), pinch.* and twist.*
//       (a handle, the fingers' middle, the handle after, in CSS pixels),
//       finger.* (a handle and the address before and after a finger landed
//       20 pixels off it moved 40 right and 20 down), next.address (after a
//       tap on Next tiling)
//   node drive.mjs phonepage SITE NAME OUT  NAME's page on that phone: fit
//       and canvas; OUT/start.png, OUT/finger.png after a one-finger drag,
//       OUT/mouse.png after that drag by the left button in a fresh page
// Every line is tab-separated: its name first, then its values.
//
// The drags are the ones the native tests make with xdotool, in canvas
// pixels: one motion each from press to release, or two with a click of the
// wheel (downwards) between them.
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import { basename, join } from 'node:path';
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

async function listIndex(page, url, list = '#programs') {
  await page.goto(url);
  await page.waitForNetworkIdle();
  // Pictures the page loads lazily load when scrolled to.
  await page.$$eval(`${list} img`, (images) => images.forEach((img) => { img.loading = 'eager'; }));
  await page.waitForFunction((l) => [...document.querySelectorAll(`${l} img`)].every((img) => img.complete), {}, list);
  const entries = await page.$$eval(`${list} li`, (items) => items.map((li) => {
    const img = li.querySelector('img');
    const loaded = img && img.complete && img.naturalWidth > 0 ? 1 : 0;
    const explore = li.querySelector('.explore a');
    const text = [...li.childNodes].filter((n) => !n.classList?.contains('explore'))
      .map((n) => n.textContent).join('').trim();
    return `${li.querySelector('a').getAttribute('href')}\t${loaded}\t` +
      `${explore ? explore.getAttribute('href') : '-'}\t${text}`;
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

// The explorer's page at `query`, once its first frame shows the status.
async function openExplorer(page, url, query) {
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(`${url}explore.html${query}`);
  await page.waitForFunction('window.firstFrameMs !== undefined', { timeout: 60000 });
  await frames(page);
  return errors;
}

function printState(prefix, state) {
  for (const [key, value] of Object.entries(state)) {
    const values = Array.isArray(value) ? value : [typeof value === 'boolean' ? Number(value) : value];
    console.log([prefix + key, ...values].join('\t'));
  }
}

async function explorerState(page) {
  return page.evaluate(() => ({
    status: [...document.querySelectorAll('#status p')].map((p) => p.textContent),
    problems: [...document.querySelectorAll('#problems li')].map((li) => li.textContent),
    address: location.search,
    labels: [...document.querySelectorAll('#labels span')].map((s) => s.textContent),
    canvas: document.getElementById('canvas').checkVisibility(),
  }));
}

async function exploreEach(browser, url, names) {
  for (const name of names) {
    const page = await browser.newPage();
    await openExplorer(page, url, `?tiling=${name}`);
    console.log([name, ...(await explorerState(page)).status].join('\t'));
    await page.close();
  }
}

// The middles of the canvas's handles of colour rgb, in canvas pixels: the
// screenshot is read back through a 2D canvas of the page.
async function handlesOfColour(page, canvas, rgb) {
  const box = await canvas.boundingBox();
  const png = await page.screenshot({ clip: box, encoding: 'base64' });
  return page.evaluate(async (png, rgb) => {
    const image = new Image();
    image.src = `data:image/png;base64,${png}`;
    await image.decode();
    const c = document.createElement('canvas');
    c.width = image.width;
    c.height = image.height;
    const g = c.getContext('2d');
    g.drawImage(image, 0, 0);
    const data = g.getImageData(0, 0, c.width, c.height).data;
    const groups = [];
    for (let y = 0; y < c.height; y++) {
      for (let x = 0; x < c.width; x++) {
        const k = 4 * (y * c.width + x);
        if (Math.abs(data[k] - rgb[0]) + Math.abs(data[k + 1] - rgb[1]) + Math.abs(data[k + 2] - rgb[2]) > 12) continue;
        const near = groups.find((h) => Math.abs(h.x0 - x) < 12 && Math.abs(h.y0 - y) < 12);
        if (near) near.xs.push(x), near.ys.push(y);
        else groups.push({ x0: x, y0: y, xs: [x], ys: [y] });
      }
    }
    const mean = (v) => v.reduce((a, b) => a + b, 0) / v.length;
    return groups.map((h) => [mean(h.xs), mean(h.ys)]);
  }, png, rgb);
}

async function dragHandle(browser, url, name, dx, dy) {
  const page = await browser.newPage();
  await openExplorer(page, url, name.startsWith('?') ? name : `?tiling=${name}`);
  const canvas = await page.$('#canvas');
  const handles = await handlesOfColour(page, canvas, [0xff, 0x80, 0x00]);
  if (handles.length === 0) throw new Error('no handle found in the canvas');
  const before = await explorerState(page);
  const { x, y } = await canvas.boundingBox();
  const [hx, hy] = handles[0];
  await page.mouse.move(x + hx, y + hy);
  await page.mouse.down();
  for (let k = 1; k <= 10; k++) {
    await page.mouse.move(x + hx + (dx * k) / 10, y + hy + (dy * k) / 10);
    await frames(page, 1);
  }
  await page.mouse.up();
  await frames(page);
  const after = await explorerState(page);
  const steps = await page.evaluate(() => window.dragSteps);
  const again = await browser.newPage();
  await openExplorer(again, url, after.address);
  const shared = await explorerState(again);
  printState('before.', before);
  printState('after.', after);
  printState('shared.', shared);
  console.log(['steps', ...steps.map((ms) => ms.toFixed(2))].join('\t'));
}

// Waits until `file` exists and is not empty, for up to ten seconds.
async function awaitFile(file) {
  for (let k = 0; k < 100; k++) {
    if (existsSync(file) && readFileSync(file).length > 0) return true;
    await new Promise((done) => setTimeout(done, 100));
  }
  return false;
}

async function pressKeys(page, url, out) {
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: out });
  await openExplorer(page, url, '?tiling=pentatile1');
  await page.keyboard.press('h');
  await frames(page);
  console.log(['help', await page.$eval('#help', (e) => (e.checkVisibility() ? e.textContent : ''))]
    .join('\t').replaceAll('\n', '\t'));
  await page.keyboard.press('e');
  const file = join(out, 'pentatile1-explored.svg');
  const saved = await awaitFile(file);
  console.log(['download', saved ? 'pentatile1-explored.svg' : '-',
    saved ? readFileSync(file, 'utf8').slice(0, 5) : ''].join('\t'));
  await page.keyboard.press('n');
  await frames(page);
  printState('next.', await explorerState(page));
  console.log(['title', await page.title()].join('\t'));
}

// --- A phone: its viewport, touch events through the DevTools protocol,
// handles by their labels, which carry their handle's place.

const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

async function openPhone(browser, url) {
  const page = await browser.newPage();
  await page.setViewport(phone);
  await page.goto(url);
  await page.waitForFunction('window.firstFrameMs !== undefined', { timeout: 60000 });
  await frames(page);
  const box = await (await page.$('#canvas')).boundingBox();
  return { page, box, cdp: await page.createCDPSession() };
}

const fits = (page) => page.evaluate(() => {
  const canvas = document.getElementById('canvas'), c = canvas.getBoundingClientRect();
  return { fit: [document.documentElement.scrollWidth, innerWidth],
           canvas: [c.width, c.height, canvas.width, canvas.height] };
});

const handles = (page) => page.$$eval('#labels span', (spans) => Object.fromEntries(spans
  .filter((s) => !s.textContent.includes('fixed'))
  .map((s) => [s.textContent, [parseFloat(s.dataset.x), parseFloat(s.dataset.y)]])));

// Fingers down one by one, `steps` moves, all lifted: path(t) gives the
// fingers' points in the canvas for t from 0 to 1.
async function touchPath({ page, box, cdp }, path, steps) {
  const points = (t) => path(t).map(([x, y], id) => ({ x: box.x + x, y: box.y + y, id }));
  for (let k = 1; k <= path(0).length; k++)
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: points(0).slice(0, k) });
  for (let k = 1; k <= steps; k++) {
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: points(k / steps) });
    await frames(page, 1);
  }
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await frames(page);
}

// Two fingers about the canvas's middle, from `spread` pixels apart at
// `degrees` (clockwise as seen) to `spread2` at `degrees2`.
async function twoFingers(phone, prefix, [spread, degrees], [spread2, degrees2]) {
  const m = [phone.box.width / 2, phone.box.height / 2];
  const [name, before] = Object.entries(await handles(phone.page))[0];
  await touchPath(phone, (t) => {
    const r = (spread + (spread2 - spread) * t) / 2, a = ((degrees + (degrees2 - degrees) * t) * Math.PI) / 180;
    return [-1, 1].map((side) => [m[0] + side * r * Math.cos(a), m[1] + side * r * Math.sin(a)]);
  }, 6);
  printState(prefix, { before, middle: m, after: (await handles(phone.page))[name] });
}

async function drivePhone(browser, url) {
  const p = await openPhone(browser, `${url}explore.html?tiling=pentatile1`);
  const { page } = p;
  const address = () => page.evaluate(() => location.search);
  const relative = async () => {
    const [w, h] = (await fits(page)).canvas;
    return Object.values(await handles(page)).flatMap(([x, y]) => [(x - w / 2) / h, (y - h / 2) / h]);
  };
  printState('', await fits(page));
  const upright = await relative();
  await page.setViewport({ ...phone, width: phone.height, height: phone.width });
  await frames(page, 5);
  printState('turned.', { ...(await fits(page)), before: upright, after: await relative() });
  await page.setViewport(phone);
  await frames(page, 5);

  await twoFingers(p, 'pinch.', [100, 0], [150, 0]);
  await twoFingers(p, 'twist.', [120, 0], [120, 30]);

  // A handle with no other within 45 pixels, so that the finger lands
  // nearer it than any other.
  const shown = await handles(page), before = await address();
  const name = Object.keys(shown).find((n) => Object.values(shown).every(([x, y]) =>
    (x === shown[n][0] && y === shown[n][1]) || Math.hypot(x - shown[n][0], y - shown[n][1]) > 45));
  const [hx, hy] = shown[name];
  await touchPath(p, (t) => [[hx - 20 + 40 * t, hy + 20 * t]], 10);
  printState('finger.', { before: shown[name], after: (await handles(page))[name],
                          'address.before': before, 'address.after': await address() });

  const next = await (await page.$('xpath/.//button[text()="Next tiling"]')).boundingBox();
  await touchPath({ ...p, box: next }, () => [[next.width / 2, next.height / 2]], 0);
  printState('next.', { address: await address() });
}

// A program's page on the phone: a drag by one finger, and the same drag by
// the left button in a fresh page.
async function drivePhonePage(browser, url, out) {
  const from = [40, 120], to = [300, 100];
  const finger = await openPhone(browser, url);
  printState('', await fits(finger.page));
  await canvasShot(finger.page, await finger.page.$('#canvas'), join(out, 'start.png'));
  await touchPath(finger, (t) => [[from[0] + (to[0] - from[0]) * t, from[1] + (to[1] - from[1]) * t]], 1);
  await canvasShot(finger.page, await finger.page.$('#canvas'), join(out, 'finger.png'));
  const { page, box } = await openPhone(browser, url);
  await page.mouse.move(box.x + from[0], box.y + from[1]);
  await page.mouse.down();
  await page.mouse.move(box.x + to[0], box.y + to[1]);
  await page.mouse.up();
  await canvasShot(page, await page.$('#canvas'), join(out, 'mouse.png'));
}

// The explorer's "Open drawing" on each file in turn, through the page's
// own file chooser: after each, its state as `BASENAME.KEY` lines.
async function openDrawings(page, url, files) {
  const errors = await openExplorer(page, url, '');
  for (const file of files) {
    const before = await page.evaluate(() => location.search + '|' + JSON.stringify(window.explorerStatus));
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#open-drawing')]);
    const start = Date.now();
    await chooser.accept([file]);
    await page.waitForFunction((b) => location.search + '|' + JSON.stringify(window.explorerStatus) !== b,
                               { timeout: 60000 }, before);
    const ms = Date.now() - start;
    await frames(page);
    printState(`${basename(file)}.`, { ...(await explorerState(page)), title: await page.title(), ms });
  }
  printState('', { errors });
}

const [mode, site, name, out] = process.argv.slice(2);
const { server, url } = await serveSite(site);
try {
  await withBrowser(mode === 'nowebgl' ? ['--disable-3d-apis'] : [], async (browser) => {
    const page = await browser.newPage();
    if (mode === 'page') await drivePage(page, `${url}${name}.html`, out);
    else if (mode === 'index') await listIndex(page, url);
    else if (mode === 'atlas') await listIndex(page, `${url}atlas.html`, '#atlas');
    else if (mode === 'nowebgl') await showWithoutWebgl(page, `${url}${name}.html`);
    else if (mode === 'explore') await exploreEach(browser, url, process.argv.slice(4));
    else if (mode === 'link') {
      const errors = await openExplorer(page, url, `?${name}`);
      printState('', { ...(await explorerState(page)), errors });
    } else if (mode === 'keys') await pressKeys(page, url, name);
    else if (mode === 'drag') await dragHandle(browser, url, name, Number(out), Number(process.argv[6]));
    else if (mode === 'drawing') await openDrawings(page, url, process.argv.slice(4));
    else if (mode === 'phone') await drivePhone(browser, url);
    else if (mode === 'phonepage') await drivePhonePage(browser, `${url}${name}.html`, out);
    else throw new Error(`unknown mode ${mode}`);
  });
} finally {
  server.close();
}
