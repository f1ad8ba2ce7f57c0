// The tone in the browser: Web Audio plays the sum the program hands over.
// An AudioWorklet sums the harmonics itself on the audio thread, and a
// change ramps their amplitudes from the old ones to the new: the page's
// own thread, which runs the program, only posts each change. Where there
// is no AudioWorklet (a page served over plain HTTP from another host is
// not a secure context), a PeriodicWave, the browser's own band-limited
// Fourier oscillator, plays it: a change crossfades from the sounding
// oscillator to a new one started in phase with it, each built on the
// page's thread.
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
  missingClick: -3, // and for an output that never started
  suspending: false,
  node: null,      // the AudioWorkletNode, once its module is loaded
  nodePending: false,

  contextClass: function () { return window.AudioContext || window.webkitAudioContext; },
  available: function () { return typeof Sound.contextClass() === 'function'; },

  unlock: function () {
    if (!Sound.available()) return;
    // A closed context (its output lost) plays no more: a new one.
    if (Sound.context && Sound.context.state === 'closed') {
      Sound.context = null;
      Sound.voice = null;
      Sound.node = null;
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
      Sound.addSummer(Sound.context);
    }
    Sound.resume();
    Sound.watchStart(Sound.context);
  },
  // A context that has not started within three seconds of the tap has
  // no output to start (Firefox keeps it suspended where no sound server
  // runs): the program is told through its queue. Firefox takes some 1.5 s
  // to start a context on a sound server that does run.
  watchStart: function (c) {
    setTimeout(function () {
      if (Sound.on && Sound.context === c && c.state === 'suspended' && document.visibilityState === 'visible') {
        Sound.on = false;
        Sound.change(null);
        Page.queueClick(Sound.missingClick);
      }
    }, 3000);
  },

  // The summer on the audio thread, from this script's own source: the
  // page is one file, also offline.
  summerSource: function () {
    registerProcessor('sum-tone', class extends AudioWorkletProcessor {
      constructor(options) {
        super();
        var o = options.processorOptions;
        this.step = o.fundamental / sampleRate;
        this.fadeSamples = Math.max(1, Math.round(o.fade * sampleRate));
        // The amplitudes, index = order: where the ramp began, where it
        // goes, and where it is.
        this.from = this.to = this.now = new Float64Array(1);
        this.left = 0;   // samples of the ramp still to go
        this.top = 0;    // the highest order that sounds
        this.phase = 0;  // in periods of the fundamental
        this.port.onmessage = (e) => {
          var length = Math.max(this.now.length, e.data ? e.data.length : 0);
          this.from = new Float64Array(length);
          this.from.set(this.now);
          this.now = this.from.slice();
          this.to = new Float64Array(length);
          if (e.data) this.to.set(e.data);
          this.left = this.fadeSamples;
          this.top = length - 1;
        };
      }
      process(inputs, outputs) {
        var out = outputs[0][0], a = this.now, top = this.top;
        for (var i = 0; i < out.length; i++) {
          if (this.left > 0) {
            var g = 1 - --this.left / this.fadeSamples;
            for (var k = 1; k <= top; k++) a[k] = this.from[k] + g * (this.to[k] - this.from[k]);
          }
          // sin(k x) for each order k by the recurrence
          // sin(k x) = 2 cos(x) sin((k - 1) x) - sin((k - 2) x).
          var x = 2 * Math.PI * this.phase, c = 2 * Math.cos(x), before = 0, sine = Math.sin(x), sum = 0;
          for (var k = 1; k <= top; k++) {
            sum += a[k] * sine;
            var next = c * sine - before;
            before = sine;
            sine = next;
          }
          out[i] = sum;
          this.phase += this.step;
          if (this.phase >= 1) this.phase -= 1;
        }
        if (this.left === 0) while (this.top > 0 && a[this.top] === 0) this.top--;
        for (var channel = 1; channel < outputs[0].length; channel++) outputs[0][channel].set(out);
        return true;
      }
    });
  },
  addSummer: function (c) {
    if (!c.audioWorklet || typeof AudioWorkletNode !== 'function') return;
    // A data URL: a page opened from a file may load no blob into a
    // worklet.
    var url = 'data:text/javascript,' + encodeURIComponent('(' + Sound.summerSource.toString() + ')()');
    Sound.nodePending = true;
    c.audioWorklet.addModule(url).then(function () {
      if (Sound.context !== c) return;
      var node = new AudioWorkletNode(c, 'sum-tone', { numberOfInputs: 0, outputChannelCount: [1],
        processorOptions: { fundamental: Sound.fundamental, fade: Sound.fade } });
      node.connect(Sound.master);
      Sound.fadeVoice(c);
      Sound.node = node;
      Sound.nodePending = false;
      Sound.change(Sound.coefficients);
    }).catch(function () {
      Sound.nodePending = false;
      Sound.change(Sound.coefficients);
    });
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
  // Without the summer, each change builds a PeriodicWave.
  change: function (coefficients) {
    Sound.coefficients = coefficients;
    var c = Sound.context;
    if (!c || c.state === 'closed') return;
    var sounding = coefficients && coefficients.length > 1 && Sound.on ? coefficients : null;
    if (Sound.node) {
      Sound.node.port.postMessage(sounding);
      return;
    }
    Sound.fadeVoice(c);
    // While the summer's module loads, silence: it takes them then.
    if (!sounding || Sound.nodePending) return;
    var now = c.currentTime, imag = new Float32Array(sounding.length);
    imag.set(sounding);
    var wave = c.createPeriodicWave(new Float32Array(sounding.length), imag, { disableNormalization: true });
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
  fadeVoice: function (c) {
    var now = c.currentTime, old = Sound.voice;
    Sound.voice = null;
    if (!old) return;
    old.gain.gain.setValueAtTime(old.gain.gain.value, now);
    old.gain.gain.linearRampToValueAtTime(0, now + Sound.fade);
    old.oscillator.stop(now + 2 * Sound.fade);
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
