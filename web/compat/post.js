// Runs inside each program's generated JavaScript before main: repairs the
// GLUT emulation and the runtime (Emscripten 3.1.6) where they differ from
// a desktop GLUT. Each piece names the fault it covers; drop it once fixed.

// Fault: a drag step hands the motion callback the cursor position of the
// step before (Browser.mouseX/Y read before they are updated), so every drag
// loses its last step. The same handler, with the position just reached.
GLUT.onMousemove = function (event) {
  var lastX = Browser.mouseX;
  var lastY = Browser.mouseY;
  Browser.calculateMouseEvent(event);
  var x = Browser.mouseX;
  var y = Browser.mouseY;
  if (x == lastX && y == lastY) return;
  if (GLUT.buttons == 0 && event.target == Module['canvas'] && GLUT.passiveMotionFunc) {
    event.preventDefault();
    GLUT.saveModifiers(event);
    getWasmTableEntry(GLUT.passiveMotionFunc)(x, y);
  } else if (GLUT.buttons != 0 && GLUT.motionFunc) {
    event.preventDefault();
    GLUT.saveModifiers(event);
    getWasmTableEntry(GLUT.motionFunc)(x, y);
  }
};

// Fault: a wheel click arrives only as a press of button 3 or 4, where a
// desktop GLUT reports a press and then a release (which ends any drag).
GLUT.onMouseWheel = (function (pressOnly) {
  return function (event) {
    pressOnly(event);
    if (!GLUT.mouseFunc) return;
    var button = Browser.getMouseWheelDelta(event) > 0 ? 4 : 3;
    getWasmTableEntry(GLUT.mouseFunc)(button, 1 /* GLUT_UP */, Browser.mouseX, Browser.mouseY);
  };
})(GLUT.onMouseWheel);

// Fault: standard output is held back until a newline or the program's exit,
// and these programs print words without a newline and never exit. Whatever
// a task printed is passed on when the task ends.
SYSCALLS.printChar = (function (printChar) {
  var pending = false;
  function passOn() {
    pending = false;
    [1, 2].forEach(function (stream) {
      if (SYSCALLS.buffers[stream].length) printChar(stream, 10);
    });
  }
  return function (stream, c) {
    printChar(stream, c);
    if (!pending && SYSCALLS.buffers[stream].length) {
      pending = true;
      Promise.resolve().then(passOn);
    }
  };
})(SYSCALLS.printChar);
