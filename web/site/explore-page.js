// Starts the explorer (explore.js) on the canvas with the page's address as
// its link, and shows what it hands over (explore/overlay_web.cpp): the
// status lines and the problems of the link as page text, the handles' names
// over the canvas, the help, the title; each new link goes into the address
// without reloading, and a saved SVG is downloaded.
//
// The page fits any screen: the canvas as wide as the page allows, its
// drawing buffer at the screen's pixel ratio; fingers drag handles, pan,
// pinch and twist; buttons type the keys. What the GLUT window cannot see
// goes to the module through explore/page_controls_web.cpp.
//
// For tests and benchmarks: window.firstFrameMs (navigation to the first
// frame with its status), window.explorerStatus (the status lines),
// window.dragSteps (per drag step, the time of handling the mouse motion
// plus the frame it asked for, in milliseconds) and window.dragParts (the
// two apart).
(function () {
  var canvas = document.getElementById('canvas');
  var view = document.getElementById('view');
  var statusBox = document.getElementById('status');
  var labelsBox = document.getElementById('labels');
  var problemsBox = document.getElementById('problems');
  var helpBox = document.getElementById('help');
  var linkBox = document.getElementById('link');
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
    document.getElementById('explorer').hidden = true;
    document.getElementById('no-webgl').hidden = false;
  }

  if (!webglWorks()) {
    showNoWebgl();
    return;
  }

  function element(tag, text, className) {
    var e = document.createElement(tag);
    e.textContent = text;
    if (className) e.className = className;
    return e;
  }

  var shown = {
    status: function (s) {
      window.explorerStatus = s.lines;
      statusBox.replaceChildren.apply(statusBox, s.lines.map(function (line, k) {
        return element('p', line, k === 0 ? (s.clean ? 'verdict' : 'verdict broken') : '');
      }));
    },
    // Each name in the box the explorer placed it in, apart from the other
    // names and the handles (explore/labels.h), as in the window; a name
    // with no room is there but hidden. Its handle's place goes with it
    // (data-x, data-y). All come in window pixels, the buffer's.
    labels: function (labels) {
      var scale = 1 / bufferScale();
      labelsBox.replaceChildren.apply(labelsBox, labels.map(function (l) {
        var e = element('span', l.text);
        e.dataset.x = String(l.x * scale);
        e.dataset.y = String(l.y * scale);
        if (l.left === undefined) {
          e.hidden = true;
        } else {
          e.style.left = (l.left * scale) + 'px';
          e.style.top = (l.top * scale) + 'px';
        }
        return e;
      }));
    },
    help: function (lines) {
      // A page is left by closing it: no key quits.
      helpBox.textContent = lines.join('\n').replace(/ +q, Esc: quit/, '');
      helpBox.hidden = lines.length === 0;
      helpButton.setAttribute('aria-expanded', String(!helpBox.hidden));
    },
    title: function (title) { document.title = title; },
    link: function (link) {
      history.replaceState(null, '', link);
      linkBox.textContent = location.href;
      linkBox.href = location.href;
      document.getElementById('share').hidden = false;
    },
    problems: function (problems) {
      problemsBox.replaceChildren.apply(problemsBox, problems.map(function (p) {
        return element('li', 'The link was not all usable: ' + p + '.');
      }));
      problemsBox.hidden = problems.length === 0;
    },
  };

  function download(name, bytes) {
    var url = URL.createObjectURL(new Blob([bytes], { type: 'image/svg+xml' }));
    var a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 1000);
  }

  // Each line its own text node: a drag prints a status line a step, and
  // rewriting the whole log each time would cost more the longer it grows.
  function print(text) {
    output.append(text + '\n');
    console.log(text);
  }

  // Right drags turn the drawing: no context menu on the canvas; keys reach
  // the explorer once the canvas is clicked.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('mousedown', function () { canvas.focus({ preventScroll: true }); });
  canvas.addEventListener('webglcontextlost', showNoWebgl);

  var started = false;  // the module's main has run: its functions can be called

  // --- The canvas's size in CSS pixels: the window's 1024 x 700 where the
  // page has room; on a narrower screen as wide as the page, square when
  // upright, and never so tall that no page is left beside it to scroll by
  // (a finger on the canvas moves the drawing, not the page). The drawing
  // buffer, GLUT's window, is that times the pixel ratio; GLUT's reshape
  // keeps the view across the change.
  var cssWidth = 1024;  // the canvas's width in CSS pixels, as fit() last set it
  function fit() {
    var width = Math.min(1024, document.getElementById('explorer').clientWidth);
    var height = Math.round(width * 700 / 1024);
    if (width < 1024) {
      if (innerHeight > innerWidth) height = width;
      height = Math.max(160, Math.min(height, Math.round(innerHeight * 0.8)));
    }
    view.style.width = width + 'px';
    view.style.height = height + 'px';
    cssWidth = width;
    var ratio = window.devicePixelRatio || 1;
    var w = Math.round(width * ratio), h = Math.round(height * ratio);
    if (started && (w !== canvas.width || h !== canvas.height)) Module._explorerResize(w, h);
    // Handles as large on the screen whatever its pixel ratio.
    if (started) Module._explorerHandleScale(w / width);
  }
  fit();
  window.addEventListener('resize', fit);
  // The ratio alone changes when the window moves to another screen.
  (function watchRatio() {
    matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)')
      .addEventListener('change', function () { fit(); watchRatio(); }, { once: true });
  })();

  // Window (buffer) pixels per CSS pixel. From the width fit() set, not the
  // canvas's box: reading the box in a drag step would lay the page out
  // there and then, after the status and before the labels changed it again.
  function bufferScale() { return canvas.width / cssWidth; }

  // How near a press must come to a handle: a pointer's 12 pixels, a
  // fingertip's 34 (about 9 mm), both in CSS pixels.
  window.addEventListener('mousedown', function (e) {
    if (started && e.isTrusted) Module._explorerGrabRadius(12 * bufferScale());
  }, true);

  // --- Fingers on the canvas. GLUT's own touch handler (Emscripten 3.1.6)
  // makes a left-button mouse event of the first changed touch of every
  // touch event, so a second finger would make a drag jump to it: the page
  // takes the canvas's touches before GLUT sees them. One finger is the
  // left button, a handle or a pan exactly as the mouse; when a second
  // comes down the first is let go, and two pan, zoom and turn the view
  // about their middle, both at once, until they are lifted.
  var finger = null;  // the identifier of the finger that is the left button
  var pair = null;    // the two fingers' last middle, spread and angle

  function mouse(type, t) {
    canvas.dispatchEvent(new MouseEvent(type, {
      bubbles: true, cancelable: true, view: window, button: 0, buttons: type === 'mouseup' ? 0 : 1,
      clientX: t.clientX, clientY: t.clientY, screenX: t.screenX, screenY: t.screenY,
    }));
  }

  function touchOf(list, id) {
    for (var k = 0; k < list.length; k++) if (list[k].identifier === id) return list[k];
    return null;
  }

  // The first two fingers in window pixels: their middle, how far apart
  // they are and the angle of their line (the screen's y runs down).
  function pairOf(touches) {
    var r = canvas.getBoundingClientRect(), s = bufferScale();
    var ax = (touches[0].clientX - r.left) * s, ay = (touches[0].clientY - r.top) * s;
    var bx = (touches[1].clientX - r.left) * s, by = (touches[1].clientY - r.top) * s;
    return { x: (ax + bx) / 2, y: (ay + by) / 2, spread: Math.hypot(bx - ax, by - ay),
             angle: Math.atan2(by - ay, bx - ax) };
  }

  function twoFingerStep(touches) {
    var now = pairOf(touches);
    var turn = now.angle - pair.angle;
    turn -= 2 * Math.PI * Math.round(turn / (2 * Math.PI));
    Module._explorerGesture(pair.x, pair.y, now.x - pair.x, now.y - pair.y,
                            pair.spread > 1 && now.spread > 1 ? now.spread / pair.spread : 1,
                            -turn * 180 / Math.PI);
    pair = now;
  }

  function touched(e) {
    if (e.target !== canvas) return;
    e.stopImmediatePropagation();
    e.preventDefault();
    if (!started) return;
    var mine = finger === null ? null : touchOf(e.changedTouches, finger);
    if (e.type === 'touchstart' && e.touches.length === 1) {
      finger = e.changedTouches[0].identifier;
      Module._explorerGrabRadius(34 * bufferScale());
      mouse('mousedown', e.changedTouches[0]);
    } else if (e.type === 'touchmove') {
      if (mine) mouse('mousemove', mine);
      else if (pair && e.touches.length >= 2) twoFingerStep(e.touches);
    } else if (mine || (finger !== null && e.touches.length >= 2)) {
      mouse('mouseup', mine || touchOf(e.touches, finger));
      finger = null;
    }
    // Each change of fingers starts the pair's steps afresh.
    if (e.type !== 'touchmove') pair = finger === null && e.touches.length >= 2 ? pairOf(e.touches) : null;
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    window.addEventListener(type, touched, { capture: true, passive: false });
  });

  // --- Buttons type the keys, for screens without a keyboard. Enter and
  // Space on a focused button or link press it: GLUT, listening to the
  // whole window, would take them as keys.
  var helpButton = document.querySelector('#buttons [data-key="h"]');
  document.querySelectorAll('#buttons button').forEach(function (b) { b.disabled = true; });
  document.querySelectorAll('#buttons button[data-key]').forEach(function (b) {
    b.addEventListener('click', function () { Module._explorerPressKey(b.dataset.key.charCodeAt(0)); });
  });

  // --- Open drawing: a segments file chosen on this machine, its name and
  // text handed to the module (explore/page_controls_web.cpp), which opens
  // it as a tiling and puts its link in the address, or says in the status
  // why it is no periodic tiling.
  var drawingFile = document.getElementById('drawing-file');
  document.getElementById('open-drawing').addEventListener('click', function () { drawingFile.click(); });
  drawingFile.addEventListener('change', function () {
    var file = drawingFile.files[0];
    if (!file) return;
    file.text().then(function (text) {
      var utf8 = new TextEncoder();
      Module.explorerDrawing = { name: utf8.encode(file.name), text: utf8.encode(text) };
      Module._explorerOpenDrawing();
      Module.explorerDrawing = null;
      drawingFile.value = '';
    });
  });
  window.addEventListener('keydown', function (e) {
    var control = e.target.tagName === 'BUTTON' || e.target.tagName === 'A';
    if (control && (e.key === 'Enter' || e.key === ' ')) e.stopImmediatePropagation();
  }, true);

  window.dragSteps = [];
  window.dragParts = [];

  window.Module = {
    canvas: canvas,
    arguments: [location.search || '?'],
    print: print,
    printErr: function (text) { console.error(text); },
    onAbort: function () { print('The explorer stopped with an error (see the browser console).'); },
    explorerPage: function (what, data) { shown[what](data); },
    explorerDownload: download,
    explorerDrawingRefused: function (words) {
      window.explorerStatus = [drawingFile.files[0].name + ': ' + words];
      statusBox.replaceChildren(element('p', window.explorerStatus[0], 'verdict broken'));
    },
    explorerDragStep: function (motion, frame) {
      window.dragSteps.push(motion + frame);
      window.dragParts.push([motion, frame]);
    },
    postRun: [function () {
      started = true;
      fit();
      document.querySelectorAll('#buttons button').forEach(function (b) { b.disabled = false; });
      // Frame callbacks run in order: this one follows the first display,
      // which handed over the status.
      requestAnimationFrame(function markFirstFrame() {
        if (window.explorerStatus) window.firstFrameMs = performance.now();
        else requestAnimationFrame(markFirstFrame);
      });
    }],
  };
  var script = document.createElement('script');
  script.src = 'explore.js';
  document.body.appendChild(script);
})();
