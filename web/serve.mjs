// A static file server for the site, on 127.0.0.1 only:
//   node web/serve.mjs DIR [PORT]     (PORT 0 or absent: any free port)
// Prints the site's address once it listens. Also imported by the browser
// tests and the benchmark (serveSite).
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
};

// Serves dir; resolves to { server, url } once listening.
export function serveSite(dir, port = 0) {
  const root = resolve(dir);
  const server = createServer(async (request, response) => {
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    } catch {
      response.writeHead(400).end();  // a malformed escape must not stop the server
      return;
    }
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    // Inside the site only: not its parent, nor a sibling whose name starts alike.
    if (!file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': types[extname(file)] ?? 'application/octet-stream',
        'Cache-Control': 'no-cache',
      });
      response.end(body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () =>
      done({ server, url: `http://127.0.0.1:${server.address().port}/` }));
  });
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [dir, port] = process.argv.slice(2);
  if (!dir) {
    console.error('usage: node serve.mjs DIR [PORT]');
    process.exit(2);
  }
  const { url } = await serveSite(dir, Number(port ?? 8000));
  console.log(`Serving ${resolve(dir)} at ${url} (Ctrl-C stops)`);
}
