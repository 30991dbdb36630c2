// Shortens the explorer's JavaScript in place: Emscripten's glue (the GL
// emulation, the main loop, the GLUT shim) leaves its local names whole and
// its code uncompressed without the closure compiler, which Debian's
// emscripten does not run. Terser (Debian's node-terser) renames what is
// local and folds what is constant; the names the page and the glue share
// (Module, GLUT, Browser, ...) are global and stay.
//
//   node web/minify.cjs FILE.js     (NODE_PATH=/usr/share/nodejs on Debian)
const { readFileSync, writeFileSync } = require('node:fs');
const { minify } = require('terser');

const file = process.argv[2];
minify(readFileSync(file, 'utf8'), { compress: { passes: 2 }, mangle: true, ecma: 2020 })
  .then((result) => writeFileSync(file, result.code))
  .catch((error) => {
    console.error(`${file}: ${error.message}`);
    process.exit(1);
  });
