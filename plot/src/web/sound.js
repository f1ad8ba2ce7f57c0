// The tone in the browser: Web Audio plays the sum the program hands over
// as a PeriodicWave, the browser's own band-limited Fourier oscillator, on
// its audio thread. A change crossfades from the sounding oscillator to a
// new one started in phase with it.
//
// Browsers (iPad Safari most strictly) start audio only inside the user's
// own tap: the switch button's click makes or resumes the AudioContext
// there and then, before the program, which runs later from its queue,
// asks for sound.
var Sound = {
  context: null,
  master: null,
  voice: null,     // { oscillator, gain }
  origin: 0,       // when the first oscillator started: all start in phase with it
  fundamental: 110,
  fade: 0.015,     // seconds
  on: false,       // the program plays the tone
  coefficients: null,
  lostClick: -2,   // the id the page's queue carries for a lost output
  suspending: false,

  contextClass: function () { return window.AudioContext || window.webkitAudioContext; },
  available: function () { return typeof Sound.contextClass() === 'function'; },

  unlock: function () {
    if (!Sound.available()) return;
    // A closed context (its output lost) plays no more: a new one.
    if (Sound.context && Sound.context.state === 'closed') {
      Sound.context = null;
      Sound.voice = null;
      Sound.origin = 0;
    }
    if (!Sound.context) {
      try {
        Sound.context = new (Sound.contextClass())({ latencyHint: 'interactive' });
      } catch (e) {
        return;
      }
      // The phone's silent switch must not mute the lesson.
      if (navigator.audioSession) {
        try { navigator.audioSession.type = 'playback'; } catch (e) { }
      }
      Sound.master = Sound.context.createGain();
      Sound.master.connect(Sound.context.destination);
      Sound.context.onstatechange = Sound.stateChanged;
    }
    Sound.resume();
  },
  resume: function () {
    var c = Sound.context;
    if (!c || c.state === 'running' || c.state === 'closed' || document.visibilityState !== 'visible') return;
    Sound.suspending = false;
    c.resume().catch(function () { Sound.lose(); });
  },
  switchedBy: function (id) {
    Page.buttons[id].addEventListener('click', Sound.unlock);
  },

  // The program's side.
  play: function (coefficients) {
    Sound.unlock();
    if (!Sound.context) return false;
    Sound.on = true;
    Sound.resume();
    Sound.change(coefficients);
    return true;
  },
  stop: function () {
    Sound.on = false;
    Sound.change(null);
    var c = Sound.context;
    setTimeout(function () {
      if (Sound.on || !c || c.state !== 'running') return;
      Sound.suspending = true;
      c.suspend();
    }, 3 * Sound.fade * 1000);
  },
  // The harmonics' sine amplitudes, index = order; null for silence.
  change: function (coefficients) {
    Sound.coefficients = coefficients;
    var c = Sound.context;
    if (!c || c.state === 'closed') return;
    var now = c.currentTime, old = Sound.voice;
    Sound.voice = null;
    if (old) {
      old.gain.gain.setValueAtTime(old.gain.gain.value, now);
      old.gain.gain.linearRampToValueAtTime(0, now + Sound.fade);
      old.oscillator.stop(now + 2 * Sound.fade);
    }
    if (!coefficients || coefficients.length < 2 || !Sound.on) return;
    var imag = new Float32Array(coefficients.length);
    imag.set(coefficients);
    var wave = c.createPeriodicWave(new Float32Array(coefficients.length), imag, { disableNormalization: true });
    var oscillator = c.createOscillator(), gain = c.createGain();
    oscillator.frequency.value = Sound.fundamental;
    oscillator.setPeriodicWave(wave);
    oscillator.connect(gain);
    gain.connect(Sound.master);
    // In phase with the one before: started a whole number of periods
    // after the first.
    var start = now + 0.005;
    if (Sound.origin) {
      start = Sound.origin + Math.ceil((start - Sound.origin) * Sound.fundamental) / Sound.fundamental;
    } else {
      Sound.origin = start;
    }
    gain.gain.setValueAtTime(0, start);
    gain.gain.linearRampToValueAtTime(1, start + Sound.fade);
    oscillator.start(start);
    Sound.voice = { oscillator: oscillator, gain: gain };
  },

  // The output gone (an interruption, a closed context, a device that
  // refused to start): silence, and the program is told through its queue.
  lose: function () {
    if (!Sound.on) return;
    Sound.on = false;
    Sound.change(null);
    Page.queueClick(Sound.lostClick);
  },
  stateChanged: function () {
    var state = Sound.context.state;
    if (state === 'interrupted' || state === 'closed'
        || (state === 'suspended' && !Sound.suspending && document.visibilityState === 'visible')) Sound.lose();
  },
  // A page in the background falls silent, and sounds again when it comes
  // back if the tone is still on.
  visibilityChanged: function () {
    var c = Sound.context;
    if (!c || c.state === 'closed') return;
    if (document.visibilityState === 'hidden') {
      if (c.state === 'running') { Sound.suspending = true; c.suspend(); }
    } else if (Sound.on) {
      Sound.resume();
    }
  }
};
document.addEventListener('visibilitychange', Sound.visibilityChanged);
