// The page around a program compiled for the browser: the form with its
// buttons and picture, the queue of clicks, the program's sleeps, the
// error dialog, the end of the program and the print page.
//
// The program runs on the page's one thread and gives the browser control
// only while it sleeps (Asyncify): for each of the display's frames while
// a handler runs, and until the next input while it is idle or paused. A click is queued
// here and run by the program when it wakes, nested inside the handler
// that slept, as on the desktop.
var Page = {
  clicks: [],
  inputWaiter: null,
  buttons: {},
  pictures: {},
  formElement: null,
  ended: false,

  element: function (id) { return document.getElementById(id); },

  viewportWidth: function () { return Math.max(1, Math.floor(document.documentElement.clientWidth || window.innerWidth)); },
  viewportHeight: function () { return Math.max(1, Math.floor(document.documentElement.clientHeight || window.innerHeight)); },
  devicePixelRatio: function () { return window.devicePixelRatio || 1; },

  // The form as designed, in twips (its client size, the part of it that
  // must fit on the screen, its font); Layout places it on the page.
  design: null,
  form: function (caption, width, height, fitWidth, fitHeight, fontPoints, fontFamily, bold) {
    document.title = caption;
    Page.formElement = Page.element('form');
    Page.design = { width: width, height: height, fitWidth: fitWidth, fitHeight: fitHeight,
                    font: { points: fontPoints, family: fontFamily, bold: bold } };
    // A live region must be in the page before what it announces.
    Page.announcer();
    Layout.apply();
  },
  formWidth: function (width) {
    Page.design.width = width;
    Layout.apply();
  },
  fontFamilies: function (family) {
    return '"' + family + '", "Microsoft Sans Serif", Arial, "Liberation Sans", Arimo, "DejaVu Sans", sans-serif';
  },
  font: function (font, px) {
    return (font.bold ? 'bold ' : '') + px + 'px ' + Page.fontFamilies(font.family);
  },

  // The controls stand where the design puts them, whatever their order in
  // the page; they come in the page in the design's tab order, so that Tab,
  // the browser's reading order and a screen reader's all follow it.
  addInTabOrder: function (element, tabIndex) {
    element.dataset.tabOrder = tabIndex;
    var form = Page.formElement, next = null;
    for (var i = 0; i < form.children.length && !next; i++) {
      if (Number(form.children[i].dataset.tabOrder) > tabIndex) next = form.children[i];
    }
    form.insertBefore(element, next);
  },

  button: function (id, caption, left, top, width, height, tabIndex, fontPoints, fontFamily, bold) {
    var b = document.createElement('button');
    b.type = 'button';
    b.className = 'control';
    b.textContent = caption;
    b.design = { left: left, top: top, width: width, height: height,
                 font: { points: fontPoints, family: fontFamily, bold: bold } };
    b.addEventListener('click', function () { Page.queueClick(id); });
    Page.buttons[id] = b;
    Page.addInTabOrder(b, tabIndex);
    Layout.apply();
  },
  buttonEnabled: function (id, enabled) { Page.buttons[id].disabled = !enabled; },
  buttonCaption: function (id, caption) {
    Page.buttons[id].textContent = caption;
    Layout.captionChanged(Page.buttons[id]);
  },

  picture: function (id, left, top, width, height, tabIndex) {
    // To a screen reader the picture is an image with the name and the
    // description the program gives it; the canvas inside is not read.
    var box = document.createElement('div');
    box.className = 'picture';
    box.tabIndex = 0;
    box.setAttribute('role', 'img');
    var description = document.createElement('div');
    description.id = 'picture-description-' + id;
    description.className = 'unseen';
    box.setAttribute('aria-describedby', description.id);
    var canvas = document.createElement('canvas');
    canvas.setAttribute('aria-hidden', 'true');
    box.appendChild(canvas);
    Page.addInTabOrder(box, tabIndex);
    Page.formElement.appendChild(description);
    Page.pictures[id] = { box: box, canvas: canvas, description: description,
                          context: canvas.getContext('2d', { alpha: false }),
                          design: { left: left, top: top, width: width, height: height },
                          deviceWidth: 0, deviceHeight: 0 };
    Layout.apply();
  },
  pictureGeometry: function (id, left, width) {
    var design = Page.pictures[id].design;
    design.left = left;
    design.width = width;
    Layout.apply();
  },
  // The picture's pixels as the layout last sized it: its interior at the
  // device pixel ratio.
  pictureDeviceWidth: function (id) { return Page.pictures[id].deviceWidth; },
  pictureDeviceHeight: function (id) { return Page.pictures[id].deviceHeight; },
  pictureName: function (id, name) { Page.pictures[id].box.setAttribute('aria-label', name); },
  // The description replaces the last; the announcement goes to the one
  // polite live region, which a screen reader reads when it is idle. The
  // same words again are made a change, so that they are read again.
  pictureDescription: function (id, description, announcement) {
    Page.pictures[id].description.textContent = description;
    if (!announcement) return;
    var region = Page.announcer();
    if (region.textContent === announcement) announcement += '\u00a0';
    region.textContent = announcement;
  },
  announcer: function () {
    var region = Page.element('announcer');
    if (!region) {
      region = document.createElement('div');
      region.id = 'announcer';
      region.className = 'unseen';
      region.setAttribute('aria-live', 'polite');
      region.setAttribute('aria-atomic', 'true');
      document.body.appendChild(region);
    }
    return region;
  },

  // The program's pixels are RGBA bytes in its memory; memory can grow,
  // so the view on it is taken anew each time.
  present: function (id, pointer, width, height, x1, y1, x2, y2) {
    var p = Page.pictures[id];
    if (!p || width === 0 || height === 0) return;
    // The program's pixels at a new size (a new layout): a new size clears
    // the canvas, so all of them.
    if (p.canvas.width !== width || p.canvas.height !== height) {
      p.canvas.width = width;
      p.canvas.height = height;
      x1 = y1 = 0;
      x2 = width - 1;
      y2 = height - 1;
      if (Page.layoutAt) Page.redrawnMs = performance.now() - Page.layoutAt;
    }
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4);
    p.context.putImageData(new ImageData(pixels, width, height), 0, 0, x1, y1, x2 - x1 + 1, y2 - y1 + 1);
  },

  // When the form was shown, and its first frame (for the benchmarks).
  shownAt: 0,
  firstFrameAt: 0,
  showForm: function () {
    Page.formElement.hidden = false;
    Page.shownAt = performance.now();
    requestAnimationFrame(function (t) { Page.firstFrameAt = t; });
    Layout.follow();
  },

  // While a handler runs the form is busy, also for assistive technology.
  // When that last changed is kept for the benchmarks.
  busy: true,
  busySince: 0,
  setBusy: function (busy) {
    if (Page.busy != !!busy) Page.busySince = performance.now();
    Page.busy = !!busy;
    if (Page.formElement) Page.formElement.setAttribute('aria-busy', Page.busy ? 'true' : 'false');
  },

  queueClick: function (id) {
    if (Page.ended) return;
    Page.clicks.push(id);
    Page.wake();
  },
  nextClick: function () { return Page.clicks.length ? Page.clicks.shift() : -1; },
  clicksWaiting: function () { return Page.clicks.length > 0; },
  // Each new layout that changes a picture's pixels is numbered; the
  // program, woken, draws the picture again at its new size. When the
  // last one began and how long until its picture was shown are kept for
  // the benchmarks.
  layoutSerial: 0,
  layoutAt: 0,
  redrawnMs: 0,
  newLayout: function () {
    Page.layoutSerial++;
    Page.layoutAt = performance.now();
    Page.wake();
  },
  wake: function () {
    var waiter = Page.inputWaiter;
    Page.inputWaiter = null;
    if (waiter) waiter();
  },

  // A running program works until the display's next frame is due, then
  // lets the browser paint it and goes on at once after it. The frames'
  // times tell when the next one is due: the last frame's time and the
  // display's interval between frames. That is measured while the program
  // sleeps, the median of a few frames in a row: while it runs, frames
  // come only as often as it lets them, which would only measure itself.
  frameAt: 0,
  frameInterval: 1000 / 60,
  frameMarginMs: 0,
  shortestSliceMs: 2,
  // Until when the program may work on, in performance.now()'s time.
  workUntil: function () {
    var now = performance.now(), interval = Page.frameInterval;
    if (now - Page.frameAt > 3 * interval) return now + interval / 2;
    var next = Page.frameAt + Math.max(1, Math.ceil((now - Page.frameAt) / interval)) * interval;
    return Math.max(next - Page.frameMarginMs, now + Page.shortestSliceMs);
  },
  frameSeen: function (t) { Page.frameAt = Math.max(Page.frameAt, t); },
  measuring: false,
  measureFrames: function () {
    if (Page.measuring) return;
    Page.measuring = true;
    var last = 0, count = 0, intervals = [];
    requestAnimationFrame(function frame(t) {
      if (last) intervals.push(t - last);
      last = t;
      Page.frameSeen(t);
      if (++count < 6 && Page.inputWaiter && document.visibilityState === 'visible') {
        requestAnimationFrame(frame);
        return;
      }
      Page.measuring = false;
      intervals.sort(function (a, b) { return a - b; });
      var median = intervals[intervals.length >> 1];
      if (median >= 4 && median <= 50) Page.frameInterval = median;
    });
  },
  frameWatched: false,
  watchFrames: function () {
    if (Page.frameWatched) return;
    Page.frameWatched = true;
    requestAnimationFrame(function (t) { Page.frameWatched = false; Page.frameSeen(t); });
  },
  // The next frame; where none comes while the page is shown (a frame the
  // browser throttles), at the latest in 100 ms. A page in the background
  // has no frames: the program sleeps until it is shown again.
  nextFrame: function () {
    Page.watchFrames();
    return new Promise(function (resolve) {
      var done = false, timer = 0;
      var go = function () {
        if (done) return;
        done = true;
        clearTimeout(timer);
        document.removeEventListener('visibilitychange', shown);
        resolve();
      };
      var shown = function () { if (document.visibilityState === 'visible') timer = setTimeout(go, 100); };
      requestAnimationFrame(go);
      document.addEventListener('visibilitychange', shown);
      shown();
    });
  },
  channel: null,
  channelWaiters: [],
  nextTask: function () {
    if (!Page.channel) {
      Page.channel = new MessageChannel();
      Page.channel.port1.onmessage = function () { Page.channelWaiters.shift()(); };
    }
    return new Promise(function (resolve) {
      Page.channelWaiters.push(resolve);
      Page.channel.port2.postMessage(0);
    });
  },
  // One task later, in which Chromium and WebKit paint the frame that is
  // due first. Where the browser has not painted it by then (Firefox lets
  // a stream of messages hold off its frames; any browser on a busy
  // machine may), the program waits for it, which is then already due.
  yieldToBrowser: function () {
    if (document.visibilityState !== 'visible') return Page.nextFrame().then(Page.nextTask);
    var now = performance.now(), interval = Page.frameInterval;
    var due = Page.frameAt + Math.floor((now - Page.frameAt) / interval) * interval;
    Page.watchFrames();
    return Page.nextTask().then(function () {
      if (now - Page.frameAt < interval || Page.frameAt > due - interval / 2) return;
      return Page.nextFrame().then(Page.nextTask);
    });
  },
  // Until there is input: no timer, nothing runs meanwhile.
  waitForInput: function () {
    if (Page.clicks.length) return Promise.resolve();
    Page.measureFrames();
    return new Promise(function (resolve) { Page.inputWaiter = resolve; });
  },

  errorDialog: function (title, message) {
    var dialog = Page.element('error');
    Page.element('error-title').textContent = title;
    Page.element('error-message').textContent = message;
    return new Promise(function (resolve) {
      dialog.addEventListener('close', function () { resolve(); }, { once: true });
      dialog.showModal();
      Page.element('error-ok').focus();
    });
  },

  programEnded: function (status) {
    if (Page.ended) return;
    Page.ended = true;
    Page.clicks = [];
    Page.formElement.hidden = true;
    Page.element('ended-status').textContent = status === 0 ? '' : ' (mit einem Laufzeitfehler)';
    Page.element('ended').hidden = false;
    Page.element('restart').focus();
    document.dispatchEvent(new Event('programended'));
  },
  // For a learning platform around the page (the site's platform.js).
  lessonCompleted: function () { document.dispatchEvent(new Event('lessoncompleted')); },

  // The print page replaces the last one, so a second printout is the
  // same page again.
  print: function (svg) {
    Page.element('print-page').innerHTML = svg;
    window.print();
  }
};

Module.print = function (text) { console.log(text); };
Module.printErr = function (text) { console.error(text); };
