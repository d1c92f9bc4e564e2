// Fitting the display into the browser's window: the canvas, drawn at the
// display's own size, is shown scaled down to the room below the controls,
// aspect kept and centred, so that a small tablet sees the whole display
// without scrolling; never scaled up, which would only blur it. ?scale=1
// shows it pixel for pixel.
'use strict';

var panelFit = {
  oneToOne: new URLSearchParams(location.search).get('scale') === '1',

  apply() {
    const canvas = document.getElementById('canvas');
    if (!canvas || canvas.width <= 1 || this.oneToOne) return;
    const main = document.querySelector('main');
    const style = getComputedStyle(main);
    const roomWidth = main.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    const above = canvas.getBoundingClientRect().top + window.scrollY;
    const roomHeight = window.innerHeight - above - parseFloat(style.paddingBottom);
    const scale = Math.min(1, roomWidth / canvas.width, roomHeight / canvas.height);
    if (!(scale > 0)) return;
    canvas.style.width = canvas.width * scale + 'px';
    canvas.style.height = canvas.height * scale + 'px';
    canvas.style.margin = '0 auto';
  },
};

// Each new canvas is fitted, and again whenever the window or the controls
// above it change size.
(function () {
  const makeCanvas = panelPage.makeCanvas;
  panelPage.makeCanvas = function (width, height) {
    makeCanvas.call(this, width, height);
    panelFit.apply();
  };
  window.addEventListener('resize', () => panelFit.apply());
  new ResizeObserver(() => panelFit.apply()).observe(document.querySelector('header'));
})();
