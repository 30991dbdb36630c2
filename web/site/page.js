// Starts the page's program (body data-program) on the canvas: its standard
// output goes to the page and the browser console, and a browser without
// WebGL gets a message instead of a blank canvas. window.firstFrameMs is the
// time from navigation to the end of the first drawn frame.
(function () {
  var name = document.body.dataset.program;
  var canvas = document.getElementById('canvas');
  var output = document.getElementById('output');

  function webglWorks() {
    try {
      var gl = document.createElement('canvas').getContext('webgl');
      if (!gl) return false;
      var lose = gl.getExtension('WEBGL_lose_context');
      if (lose) lose.loseContext();
      return true;
    } catch (e) {
      return false;
    }
  }

  function showNoWebgl() {
    canvas.hidden = true;
    document.getElementById('no-webgl').hidden = false;
  }

  if (!webglWorks()) {
    showNoWebgl();
    return;
  }

  function show(text) {
    output.textContent += text + '\n';
    console.log(text);
  }

  // Right drags turn the drawing: no context menu on the canvas.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('webglcontextlost', showNoWebgl);

  window.Module = {
    canvas: canvas,
    print: show,
    printErr: function (text) { console.error(text); },
    onAbort: function () { show('The program stopped with an error (see the browser console).'); },
    postRun: [function () {
      // Frame callbacks run in order: this one follows the first display.
      requestAnimationFrame(function () { window.firstFrameMs = performance.now(); });
    }],
  };
  var script = document.createElement('script');
  script.src = name + '.js';
  document.body.appendChild(script);
})();
