// Starts the page's program (body data-program) on the canvas: its standard
// output goes to the page and the browser console, a browser without WebGL
// gets a message instead of a blank canvas, and one finger drags as the
// left button. window.firstFrameMs is the time from navigation to the end of
// the first drawn frame.
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

  // One finger on the canvas is the left button. GLUT's own touch handler
  // makes a mouse event of the first changed touch of every touch event,
  // whichever finger that is: the page makes them of the finger that came
  // down first, lets it go when a second comes down and ignores the rest
  // until all are lifted. GLUT scales the mouse's place from the canvas's
  // CSS size to its drawing buffer, so a canvas shown smaller still pans
  // by the pixels the finger moved.
  var finger = null;
  function mouse(type, t) {
    canvas.dispatchEvent(new MouseEvent(type, {
      bubbles: true, cancelable: true, view: window, button: 0, buttons: type === 'mouseup' ? 0 : 1,
      clientX: t.clientX, clientY: t.clientY, screenX: t.screenX, screenY: t.screenY,
    }));
  }
  function touched(e) {
    if (e.target !== canvas) return;
    e.stopImmediatePropagation();
    e.preventDefault();
    var mine = null;
    for (var k = 0; k < e.changedTouches.length; k++)
      if (e.changedTouches[k].identifier === finger) mine = e.changedTouches[k];
    if (e.type === 'touchstart' && e.touches.length === 1) {
      finger = e.changedTouches[0].identifier;
      mouse('mousedown', e.changedTouches[0]);
    } else if (e.type === 'touchmove') {
      if (mine) mouse('mousemove', mine);
    } else if (mine || (finger !== null && e.type === 'touchstart')) {
      mouse('mouseup', mine || [].find.call(e.touches, function (t) { return t.identifier === finger; }));
      finger = null;
    }
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    window.addEventListener(type, touched, { capture: true, passive: false });
  });

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
