// Where the form's controls stand on the page. With a mouse (a fine
// pointer) the form is the window as designed, at as many twips to the
// CSS pixel as make it fit the viewport, as on the desktop. On a touch
// screen (a coarse pointer: phones, tablets, whiteboards) the picture
// takes the screen and the buttons, large enough for fingers, stand in
// the design's left-to-right order in rows under it, or in a column
// beside it on a phone held sideways.
//
// Every change of the viewport (a tablet turned, a window resized, a
// keyboard cover attached, the page zoomed or moved to another screen)
// lays the form out again as if the page had opened at the new size. A
// picture whose pixels change with it is drawn again by the program at
// its new size; the program itself sees nothing of it.
var Layout = {
  coarse: window.matchMedia('(pointer: coarse)'),
  // Touch targets: at least 44 by 44 CSS pixels (Apple's guidelines), text
  // at least 16 pixels (below that Safari zooms into a control).
  touchTarget: 44,
  touchFontPx: 16,
  margin: 4,
  // Room beside a caption in a button, on each side: the padding the
  // page's style gives touch buttons, narrow ones 2 px, and for those the
  // button's border too.
  padding: 8,
  narrowPadding: 4,
  gap: 6,
  pictureBorder: 2,

  place: function (element, left, top, width, height) {
    element.style.left = left + 'px';
    element.style.top = top + 'px';
    element.style.width = width + 'px';
    element.style.height = height + 'px';
  },
  buttons: function () {
    return Object.keys(Page.buttons).map(function (id) { return Page.buttons[id]; });
  },
  pictures: function () {
    return Object.keys(Page.pictures).map(function (id) { return Page.pictures[id]; });
  },
  // The twips to the CSS pixel that fit the form into this viewport: the
  // desktop's rule, from the program. In the viewport the program started
  // in, the designed part must fit, as on the desktop; in any other the
  // whole form, which the program made as wide as the first one.
  loadedIn: null,
  twipsPerPixel: function (width, height) {
    var d = Page.design;
    if (!Layout.loadedIn) Layout.loadedIn = { width: width, height: height };
    var same = Layout.loadedIn.width === width && Layout.loadedIn.height === height;
    return _plot_page_fit_twips_per_pixel(width, height, same ? d.fitWidth : Math.max(d.fitWidth, d.width),
                                          d.fitHeight);
  },
  fontPixels: function (font, twipsPerPixel) {
    return Math.max(1, Math.round(font.points * 20 / twipsPerPixel));
  },

  apply: function () {
    if (!Page.design) return;
    var width = Page.viewportWidth(), height = Page.viewportHeight();
    var touch = Layout.coarse.matches;
    Page.formElement.classList.toggle('touch', touch);
    (touch ? Layout.forFingers : Layout.asDesigned)(width, height, Layout.twipsPerPixel(width, height));
    Layout.sizePictures();
  },

  asDesigned: function (width, height, tpp) {
    var px = function (twips) { return Math.round(twips / tpp); };
    var d = Page.design;
    Page.formElement.style.width = px(d.width) + 'px';
    Page.formElement.style.height = px(d.height) + 'px';
    Page.formElement.style.font = Page.font(d.font, Layout.fontPixels(d.font, tpp));
    Layout.buttons().forEach(function (b) {
      Layout.place(b, px(b.design.left), px(b.design.top), px(b.design.width), px(b.design.height));
      b.style.font = Page.font(b.design.font, Layout.fontPixels(b.design.font, tpp));
    });
    Layout.pictures().forEach(function (p) {
      Layout.place(p.box, px(p.design.left), px(p.design.top), px(p.design.width), px(p.design.height));
    });
  },

  forFingers: function (width, height, tpp) {
    var m = Layout.margin, gap = Layout.gap;
    var buttons = Layout.buttons().sort(function (a, b) {
      return a.design.left - b.design.left || a.design.top - b.design.top;
    });
    var fonts = buttons.map(function (b) {
      return Page.font(b.design.font, Math.max(Layout.touchFontPx, Layout.fontPixels(b.design.font, tpp)));
    });
    var fontPx = Math.max(Layout.touchFontPx, Layout.fontPixels(Page.design.font, tpp));
    var lineHeight = Math.max(Layout.touchTarget, Math.round(fontPx * 2.75)), rowHeight = lineHeight;
    var widths = buttons.map(function (b, i) { return Layout.naturalWidth(b, fonts[i]); });
    var widest = Math.max.apply(null, widths.concat([Layout.touchTarget]));
    var n = buttons.length, room = width - 2 * m;

    // In rows under the picture: one row where all fit; else rows of
    // equal buttons, as few as the longest word of a caption allows, a
    // caption taking two lines where it must, and the buttons narrowly
    // padded where that saves a row (a small phone).
    var total = widths.reduce(function (s, w) { return s + w; }, 0) + gap * (n - 1);
    var rows = 1, cols = n, narrow = false;
    if (total > room) {
      var columnsFor = function (padding) {
        var longestWord = Math.max.apply(null, buttons.map(function (b, i) {
          return Layout.longestWord(b, fonts[i], padding);
        }));
        return Math.max(1, Math.floor((room + gap) / (longestWord + gap)));
      };
      cols = columnsFor(Layout.padding);
      var narrowCols = columnsFor(Layout.narrowPadding);
      narrow = Math.ceil(n / narrowCols) < Math.ceil(n / cols);
      if (narrow) cols = narrowCols;
      rows = Math.ceil(n / cols);
      cols = Math.ceil(n / rows);
      if ((room - (cols - 1) * gap) / cols < widest)
        rowHeight = Math.max(rowHeight, 2 * Math.round(fontPx * 1.2) + 6);
    }
    var below = { width: room, height: height - 2 * m - rows * (rowHeight + gap) };
    // In a column beside it, where the screen is wider than high and the
    // column fits.
    var beside = width > height && n * lineHeight + (n - 1) * gap <= height - 2 * m
      ? { width: room - widest - gap, height: height - 2 * m } : null;
    var column = beside && beside.width * beside.height > below.width * below.height;
    var picture = column ? beside : below;

    Page.formElement.style.width = width + 'px';
    Page.formElement.style.height = height + 'px';
    Page.formElement.style.font = Page.font(Page.design.font, fontPx);
    Page.formElement.classList.toggle('narrow', narrow && !column);
    Layout.pictures().forEach(function (p) {
      Layout.place(p.box, m, m, Math.max(0, picture.width), Math.max(0, picture.height));
    });
    buttons.forEach(function (b, i) {
      b.style.font = fonts[i];
      if (column) {
        Layout.place(b, width - m - widest, m + i * (lineHeight + gap), widest, lineHeight);
        return;
      }
      var row = Math.floor(i / cols), top = height - m - (rows - row) * rowHeight - (rows - row - 1) * gap;
      if (rows === 1) {
        // One row, filled: each button its caption's width and an equal
        // share of what is left.
        var extra = (room - total) / n, left = m;
        for (var k = 0; k < i; k++) left += widths[k] + extra + gap;
        Layout.place(b, Math.round(left), top, Math.round(left + widths[i] + extra) - Math.round(left), rowHeight);
      } else {
        var w = (room - (cols - 1) * gap) / cols, x = m + (i % cols) * (w + gap);
        Layout.place(b, Math.round(x), top, Math.round(x + w) - Math.round(x), rowHeight);
      }
    });
  },

  // A button's width for its caption: the widest caption it has shown, so
  // that "unterbrechen" turning into "weiter" does not move the others.
  measure: null,
  naturalWidth: function (b, font) {
    if (!Layout.measure) Layout.measure = document.createElement('canvas').getContext('2d');
    Layout.measure.font = font;
    var w = Math.ceil(Layout.measure.measureText(b.textContent).width) + 2 * Layout.padding;
    b.widest = b.widestFont === font ? Math.max(b.widest, w) : w;
    b.widestFont = font;
    return Math.max(Layout.touchTarget, b.widest);
  },
  longestWord: function (b, font, padding) {
    Layout.measure.font = font;
    return Math.max.apply(null, b.textContent.split(/\s+/).map(function (word) {
      return Math.ceil(Layout.measure.measureText(word).width) + 2 * padding;
    }));
  },
  captionChanged: function (b) {
    if (!Layout.coarse.matches || !b.widestFont) return;
    var before = b.widest;
    Layout.naturalWidth(b, b.widestFont);
    if (b.widest > before) Layout.apply();
  },

  // Each picture's canvas covers its interior with a pixel for every
  // device pixel; a new number of pixels is a new layout for the program.
  sizePictures: function () {
    var ratio = Page.devicePixelRatio(), changed = false, border = 2 * Layout.pictureBorder;
    Layout.pictures().forEach(function (p) {
      var w = Math.max(0, parseFloat(p.box.style.width) - border);
      var h = Math.max(0, parseFloat(p.box.style.height) - border);
      var dw = Math.round(w * ratio), dh = Math.round(h * ratio);
      p.canvas.style.width = dw / ratio + 'px';
      p.canvas.style.height = dh / ratio + 'px';
      if (dw !== p.deviceWidth || dh !== p.deviceHeight) changed = true;
      p.deviceWidth = dw;
      p.deviceHeight = dh;
    });
    if (changed) Page.newLayout();
  },

  // From the form's showing on: a new viewport, a new device pixel ratio,
  // a pointer that changes (a keyboard cover attached to a tablet).
  follow: function () {
    // A long press on a touch screen opens no menu over the form.
    Page.formElement.addEventListener('contextmenu', function (e) {
      if (Layout.coarse.matches) e.preventDefault();
    });
    window.addEventListener('resize', Layout.apply);
    Layout.coarse.addEventListener('change', Layout.apply);
    var watchRatio = function () {
      var query = window.matchMedia('(resolution: ' + Page.devicePixelRatio() + 'dppx)');
      query.addEventListener('change', function () { Layout.apply(); watchRatio(); }, { once: true });
    };
    watchRatio();
    Layout.apply();
  }
};
