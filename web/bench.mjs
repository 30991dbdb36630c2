// Benchmark of the web pages (not a test): for each program's page, what
// the browser transfers (the program's .wasm and .js and the shared page.js,
// each gzip-compressed at level 9) and the time from navigation to the end of
// the first frame in headless chromium (median of RUNS fresh loads with the
// cache off), beside the native time to first frame from
// scripts/startup-cost (exec to the first frame swapped on a private Xvfb).
// Then the explorer's page: its transfer (explore.wasm, explore.js and
// explore-page.js, GEOS inside the wasm), the time to its first frame with
// the status shown for each tiling (median of RUNS loads), and drag steps
// measured in the page (the handling of one mouse motion on a handle plus
// the frame it asks for): a handle of each tiling moved by a few pixels at a
// time, the shape still close to its own, and pentatile1's moved far, where
// the tiling breaks and the analysis has crossings to find.
//
//   node web/bench.mjs [--runs N] [--site DIR] [--build DIR] [--no-native]
//
// DIR defaults: out/web (./tilings web) and build (the native build, with the
// targets scripts/startup-cost names).
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import { gzipSync } from 'node:zlib';
import { serveSite } from './serve.mjs';
import { frames, openProgram, withBrowser } from './test/browser.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const { values: options } = parseArgs({
  options: {
    runs: { type: 'string', default: '5' },
    site: { type: 'string', default: join(root, 'out/web') },
    build: { type: 'string', default: join(root, 'build') },
    'no-native': { type: 'boolean', default: false },
  },
});
const runs = Number(options.runs);
const programs = execFileSync(join(root, 'tilings'), ['list'], { encoding: 'utf8' }).trim().split('\n');

const gzipKB = (file) => gzipSync(readFileSync(join(options.site, file)), { level: 9 }).length / 1024;
const median = (values) => {
  const v = [...values].sort((a, b) => a - b);
  return v.length % 2 ? v[(v.length - 1) / 2] : (v[v.length / 2 - 1] + v[v.length / 2]) / 2;
};

// Native first frames by program name, in milliseconds.
function nativeFirstFrames() {
  if (options['no-native']) return {};
  const table = execFileSync(join(root, 'scripts/startup-cost'), ['-n', String(runs), '-b', options.build],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'inherit'] });
  const times = {};
  for (const line of table.split('\n')) {
    const m = line.match(/^(\S+)\s+([\d.]+) ms/);
    if (m) times[m[1]] = Number(m[2]);
  }
  return times;
}

async function browserFirstFrames() {
  const { server, url } = await serveSite(options.site);
  try {
    return await withBrowser([], async (browser) => {
      const times = {};
      for (const name of programs) times[name] = [];
      // Round-robin, one unmeasured load of each first.
      for (let r = -1; r < runs; r++) {
        for (const name of programs) {
          const page = await browser.newPage();
          await page.setCacheEnabled(false);
          const ms = await openProgram(page, `${url}${name}.html`);
          if (r >= 0) times[name].push(ms);
          await page.close();
        }
      }
      return Object.fromEntries(programs.map((n) => [n, median(times[n])]));
    });
  } finally {
    server.close();
  }
}

const browser = await browserFirstFrames();
const native = nativeFirstFrames();
const pageJs = gzipKB('page.js');
console.log(`Web pages: transfer (gzip -9) and first frame, medians of ${runs} loads in headless chromium`);
const header = ['page', 'wasm KB', 'js KB', 'total KB', 'browser 1st frame', 'native 1st frame'];
console.log(`| ${header.join(' | ')} |`);
console.log(`|${header.map((h, i) => (i ? '-'.repeat(h.length + 1) + ':' : '-'.repeat(h.length + 2))).join('|')}|`);
for (const name of programs) {
  const wasm = gzipKB(`${name}.wasm`);
  const js = gzipKB(`${name}.js`) + pageJs;
  const nativeMs = native[name] === undefined ? '' : `${native[name].toFixed(1)} ms`;
  console.log(`| ${[name, wasm.toFixed(1), js.toFixed(1), (wasm + js).toFixed(1),
    `${browser[name].toFixed(0)} ms`, nativeMs].join(' | ')} |`);
}

// The explorer: first frames, then drag steps.
async function explorerFigures() {
  const { server, url } = await serveSite(options.site);
  try {
    return await withBrowser([], async (browser) => {
      const first = {};
      for (const name of programs) first[name] = [];
      for (let r = -1; r < runs; r++) {
        for (const name of programs) {
          const page = await browser.newPage();
          await page.setCacheEnabled(false);
          const ms = await openProgram(page, `${url}explore.html?tiling=${name}`);
          if (r >= 0) first[name].push(ms);
          await page.close();
        }
      }
      const near = {};
      for (const name of programs) near[name] = await dragSteps(browser, url, name, 4, 20);
      const far = await dragSteps(browser, url, 'pentatile1', 6, 20);
      return { first: Object.fromEntries(programs.map((n) => [n, median(first[n])])), near, far };
    });
  } finally {
    server.close();
  }
}

// Steps of `pixels` each, right and down, on the handle under the first
// label (each label carries its handle's place).
async function dragSteps(browser, url, name, pixels, count) {
  const page = await browser.newPage();
  await openProgram(page, `${url}explore.html?tiling=${name}`);
  const box = await (await page.$('#canvas')).boundingBox();
  const label = await page.evaluate(() => {
    const s = [...document.querySelectorAll('#labels span')].find((l) => !l.textContent.includes('fixed'));
    return s && { x: parseFloat(s.dataset.x), y: parseFloat(s.dataset.y) };
  });
  if (!label) return [];
  await page.evaluate(() => { window.dragParts = []; });
  await page.mouse.move(box.x + label.x, box.y + label.y);
  await page.mouse.down();
  for (let k = 1; k <= count; k++) {
    await page.mouse.move(box.x + label.x + k * pixels, box.y + label.y + (k * pixels) / 2);
    await frames(page, 1);
  }
  await page.mouse.up();
  const steps = await page.evaluate(() => window.dragParts);
  await page.close();
  return steps;
}

const explorer = await explorerFigures();
const wasm = gzipKB('explore.wasm');
const js = gzipKB('explore.js') + gzipKB('explore-page.js');
const firsts = Object.values(explorer.first);
const quantile = (v, q) => [...v].sort((a, b) => a - b)[Math.min(v.length - 1, Math.floor(q * v.length))];
console.log(`\nExplorer page: ${wasm.toFixed(1)} KB wasm + ${js.toFixed(1)} KB js = ${(wasm + js).toFixed(1)} KB (gzip -9)`);
console.log(`first frame with its status: ${Math.min(...firsts).toFixed(0)} to ${Math.max(...firsts).toFixed(0)} ms ` +
  `(median of ${runs} loads per tiling; ${programs.map((n) => `${n} ${explorer.first[n].toFixed(0)}`).join(', ')})`);
const describe = (parts) => {
  const total = parts.map(([m, f]) => m + f);
  return `median ${median(total).toFixed(1)} ms (motion ${median(parts.map((p) => p[0])).toFixed(1)} + ` +
    `frame ${median(parts.map((p) => p[1])).toFixed(1)}), 90 % under ${quantile(total, 0.9).toFixed(1)} ms, ` +
    `slowest ${Math.max(...total).toFixed(1)} ms (${total.length} steps)`;
};
console.log(`drag steps near the own shape, all seventeen: ${describe(Object.values(explorer.near).flat())}`);
for (const name of programs) console.log(`  ${name}: ${describe(explorer.near[name])}`);
console.log(`drag steps, pentatile1 dragged far: ${describe(explorer.far)}`);
