// Benchmark of the web pages (not a test): for each program's page, what
// the browser transfers (the program's .wasm and .js and the shared page.js,
// each gzip-compressed at level 9) and the time from navigation to the end of
// the first frame in headless chromium (median of RUNS fresh loads with the
// cache off), beside the native time to first frame from
// scripts/startup-cost (exec to the first frame swapped on a private Xvfb).
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
import { openProgram, withBrowser } from './test/browser.mjs';

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
