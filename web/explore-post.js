// Runs inside the explorer's generated JavaScript, after compat/post.js:
// times each drag step for the page (Module.explorerDragStep(motion, frame),
// in milliseconds): the handling of the mouse motions with a button held
// since the last frame (GLUT's motion callback, where a moved handle
// rebuilds and analyses the tiling), and the frame drawn after them. The
// wait for the frame is not counted.
(function () {
  var pending = null;
  GLUT.onMousemove = (function (handle) {
    return function (event) {
      var start = performance.now();
      handle(event);
      if (GLUT.buttons != 0) pending = (pending || 0) + performance.now() - start;
    };
  })(GLUT.onMousemove);
  Browser.mainLoop.runIter = (function (runIter) {
    return function (func) {
      var start = performance.now();
      runIter(func);
      if (pending !== null && Module['explorerDragStep']) {
        Module['explorerDragStep'](pending, performance.now() - start);
      }
      pending = null;
    };
  })(Browser.mainLoop.runIter);
})();
