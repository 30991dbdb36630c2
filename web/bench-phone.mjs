// Benchmark of the explorer's page on a phone (not a test): headless
// chromium as a phone, 390 x 844 CSS pixels at pixel ratio 3 with touch, so
// that the canvas's drawing buffer is 1170 x 1170. For each tiling, the time
// from navigation to the first frame with its status (median of RUNS fresh
// loads with the cache off), and the steps of a real one-finger drag on a
// handle (touch events through the DevTools protocol): the handling of the
// finger's motion, where the tiling is rebuilt and analysed, plus the frame
// it asks for, as the page times them (web/explore-post.js).
//
//   node web/bench-phone.mjs [--runs N, 0: no first frames] [--site DIR] [--mode symmetry|construction]
//                            [--against DIR2] [--drags K] [--tilings NAME,NAME...]
//
// DIR defaults to out/web (./tilings web). The drags are made in symmetry
// mode, on a vertex handle (the link keeps a group: "&keep=", the one the
// explorer opens in), or with --mode construction on one of the program's
// given points (a link with the tiling alone): tilings with none (the
// atlas's) have nothing to drag there and are left out. Each tiling is
// dragged K times (default 1); with --against, on DIR and DIR2 in turn, so
// that two builds meet the same load on a shared machine.
import { execFileSync } from 'node:child_process';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import { serveSite } from './serve.mjs';
import { frames, withBrowser } from './test/browser.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const { values: options } = parseArgs({
  options: {
    runs: { type: 'string', default: '5' },
    site: { type: 'string', default: join(root, 'out/web') },
    mode: { type: 'string', default: 'symmetry' },
    against: { type: 'string' },
    drags: { type: 'string', default: '1' },
    tilings: { type: 'string' },
  },
});
if (!['symmetry', 'construction'].includes(options.mode)) throw new Error(`no mode ${options.mode}`);
const runs = Number(options.runs);
const programs = options.tilings?.split(',') ??
  execFileSync(join(root, 'tilings'), ['list'], { encoding: 'utf8' }).trim().split('\n');
const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

const median = (values) => {
  const v = [...values].sort((a, b) => a - b);
  return v.length % 2 ? v[(v.length - 1) / 2] : (v[v.length / 2 - 1] + v[v.length / 2]) / 2;
};
const quantile = (v, q) => [...v].sort((a, b) => a - b)[Math.min(v.length - 1, Math.floor(q * v.length))];

async function openOnPhone(browser, url, cache) {
  const page = await browser.newPage();
  await page.setViewport(phone);
  await page.setCacheEnabled(cache);
  await page.goto(url);
  await page.waitForFunction('window.firstFrameMs !== undefined', { timeout: 60000 });
  return page;
}

// The page in the mode asked for: symmetry mode's link keeps a group.
const modeQuery = options.mode === 'symmetry' ? '&keep=' : '';
async function inMode(page) {
  const symmetry = await page.evaluate(() => location.search.includes('keep='));
  return symmetry === (options.mode === 'symmetry');
}

// A finger on the first movable handle (its label carries its place),
// moved `pixels` right and half that down per step.
async function touchDragSteps(browser, url, name, pixels, count) {
  const page = await openOnPhone(browser, `${url}explore.html?tiling=${name}${modeQuery}`, true);
  await frames(page);
  if (!(await inMode(page))) {
    await page.close();
    return [];
  }
  const box = await (await page.$('#canvas')).boundingBox();
  const label = await page.evaluate(() => {
    const s = [...document.querySelectorAll('#labels span')].find((l) => !l.textContent.includes('fixed'));
    return s && { x: parseFloat(s.dataset.x), y: parseFloat(s.dataset.y) };
  });
  if (!label) return [];
  const cdp = await page.createCDPSession();
  const at = (k) => [{ x: box.x + label.x + k * pixels, y: box.y + label.y + (k * pixels) / 2, id: 0 }];
  await page.evaluate(() => { window.dragParts = []; });
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(0) });
  for (let k = 1; k <= count; k++) {
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(k) });
    await frames(page, 1);
  }
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  const steps = await page.evaluate(() => window.dragParts);
  await page.close();
  return steps;
}

const sites = [options.site, ...(options.against ? [options.against] : [])];
const servers = await Promise.all(sites.map((site) => serveSite(site)));
const { url } = servers[0];
const figures = await withBrowser([], async (browser) => {
  const first = Object.fromEntries(programs.map((n) => [n, []]));
  // Round-robin, one unmeasured load of each first; none with --runs 0.
  for (let r = runs > 0 ? -1 : 0; r < runs; r++) {
    for (const name of programs) {
      const page = await openOnPhone(browser, `${url}explore.html?tiling=${name}${modeQuery}`, false);
      if (r >= 0) first[name].push(await page.evaluate(() => window.firstFrameMs));
      await page.close();
    }
  }
  const steps = sites.map(() => Object.fromEntries(programs.map((n) => [n, []])));
  for (let d = 0; d < Number(options.drags); d++)
    for (const name of programs)
      for (let s = 0; s < sites.length; s++)
        steps[s][name].push(...(await touchDragSteps(browser, servers[s].url, name, 4, 20)));
  return { first: Object.fromEntries(programs.map((n) => [n, median(first[n])])), steps };
}).finally(() => servers.forEach((s) => s.server.close()));

const describe = (parts) => {
  const total = parts.map(([m, f]) => m + f);
  return `median ${median(total).toFixed(1)} ms (motion ${median(parts.map((p) => p[0])).toFixed(1)} + ` +
    `frame ${median(parts.map((p) => p[1])).toFixed(1)}), 90 % under ${quantile(total, 0.9).toFixed(1)} ms, ` +
    `slowest ${Math.max(...total).toFixed(1)} ms (${total.length} steps)`;
};
const firsts = Object.values(figures.first);
console.log('Explorer page on a phone: 390 x 844 CSS pixels at pixel ratio 3, touch, headless chromium');
if (runs > 0) console.log(`first frame with its status: median ${median(firsts).toFixed(0)} ms, ${Math.min(...firsts).toFixed(0)} to ` +
  `${Math.max(...firsts).toFixed(0)} ms (median of ${runs} loads per tiling; ` +
  `${programs.map((n) => `${n} ${figures.first[n].toFixed(0)}`).join(', ')})`);
sites.forEach((site, s) => {
  const steps = figures.steps[s];
  const dragged = programs.filter((n) => steps[n].length > 0);
  const medians = dragged.map((n) => median(steps[n].map(([m, f]) => m + f)));
  if (sites.length > 1) console.log(`${site}:`);
  console.log(`one-finger drag steps on a handle in ${options.mode} mode: median over the ${dragged.length} ` +
    `tilings' medians ${median(medians).toFixed(1)} ms; all steps: ${describe(Object.values(steps).flat())}`);
  for (const name of programs)
    console.log(`  ${name}: ${dragged.includes(name) ? describe(steps[name]) : `no handle to drag in ${options.mode} mode`}`);
});
