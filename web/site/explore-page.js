// Starts the explorer (explore.js) on the canvas with the page's address as
// its link, and shows what it hands over (explore/overlay_web.cpp): the
// status lines and the problems of the link as page text, the handles' names
// over the canvas, the help, the title; each new link goes into the address
// without reloading, and a saved SVG is downloaded.
//
// For tests and benchmarks: window.firstFrameMs (navigation to the first
// frame with its status), window.explorerStatus (the status lines),
// window.dragSteps (per drag step, the time of handling the mouse motion
// plus the frame it asked for, in milliseconds) and window.dragParts (the
// two apart).
(function () {
  var canvas = document.getElementById('canvas');
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
    // Each name just up and to the right of its handle, as in the window.
    labels: function (labels) {
      labelsBox.replaceChildren.apply(labelsBox, labels.map(function (l) {
        var e = element('span', l.text);
        e.style.left = (l.x + 9) + 'px';
        e.style.top = (l.y - 6) + 'px';
        return e;
      }));
    },
    help: function (lines) {
      // A page is left by closing it: no key quits.
      helpBox.textContent = lines.join('\n').replace(/ +q, Esc: quit/, '');
      helpBox.hidden = lines.length === 0;
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

  function print(text) {
    output.textContent += text + '\n';
    console.log(text);
  }

  // Right drags turn the drawing: no context menu on the canvas; keys reach
  // the explorer once the canvas is clicked.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });
  canvas.addEventListener('webglcontextlost', showNoWebgl);

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
    explorerDragStep: function (motion, frame) {
      window.dragSteps.push(motion + frame);
      window.dragParts.push([motion, frame]);
    },
    postRun: [function () {
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
