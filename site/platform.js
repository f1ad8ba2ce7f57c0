// A learning platform (Moodle, ILIAS, itslearning, ...) that shows the
// page as a SCORM package offers its API in a window above the page's
// frame or in the window that opened it: API_1484_11 (SCORM 2004) or API
// (SCORM 1.2). Where one is found, the page reports to it: the attempt
// incomplete at load, completed once the program has done its lesson (a
// complete run, the strips drawn), and the session's time when the
// program ends or the page is left. Nothing is assessed. Where none is
// found, nothing is called and nothing is said.
//
// A platform's calls may be slow: they are made from tasks of their own,
// never inside a run of the program, and commits come only with a new
// status. An API that throws or answers "false" is let go with one line
// on the console; the program runs on as without a platform.
var Platform = (function () {
  var api = null, standard = 0, startedAt = 0, finished = false, completed = false;

  // The standard's search: up the parents of a window, then those of its
  // opener. A window of another origin on the way cannot be read.
  function lookIn(start, name) {
    for (var w = start, steps = 0; w && steps < 500; steps++) {
      try {
        if (w[name]) return w[name];
      } catch (e) {}
      var parent;
      try {
        parent = w.parent;
      } catch (e) {
        return null;
      }
      if (!parent || parent === w) return null;
      w = parent;
    }
    return null;
  }
  function find(name) {
    var found = lookIn(window, name);
    if (!found) {
      try {
        found = window.opener ? lookIn(window.opener, name) : null;
      } catch (e) {}
    }
    return found;
  }
  var found2004 = find('API_1484_11');
  var found12 = found2004 ? null : find('API');
  if (found2004) { api = found2004; standard = 2004; }
  else if (found12) { api = found12; standard = 12; }

  var names = standard === 2004
    ? { initialize: 'Initialize', get: 'GetValue', set: 'SetValue', commit: 'Commit', finish: 'Terminate',
        status: 'cmi.completion_status', time: 'cmi.session_time' }
    : { initialize: 'LMSInitialize', get: 'LMSGetValue', set: 'LMSSetValue', commit: 'LMSCommit', finish: 'LMSFinish',
        status: 'cmi.core.lesson_status', time: 'cmi.core.session_time' };

  // One call; false (and the platform let go) where it throws or fails.
  function call(method) {
    if (!api) return false;
    var args = Array.prototype.slice.call(arguments, 1), result;
    try {
      result = api[method].apply(api, args);
    } catch (e) {
      return giveUp(method + ' (' + e + ')');
    }
    if (method !== names.get && String(result) !== 'true') return giveUp(method + ' answered ' + result);
    return method === names.get ? String(result) : true;
  }
  function giveUp(what) {
    api = null;
    console.warn('Lernplattform: ' + what + '; das Programm läuft ohne sie weiter.');
    return false;
  }

  // SCORM 1.2: HHHH:MM:SS.SS; SCORM 2004: an ISO 8601 duration.
  function sessionTime() {
    var cs = Math.round((performance.now() - startedAt) / 10);
    var h = Math.floor(cs / 360000), m = Math.floor(cs / 6000) % 60, s = (cs % 6000) / 100;
    if (standard === 2004) return 'PT' + h + 'H' + m + 'M' + s.toFixed(2) + 'S';
    function two(n) { return (n < 10 ? '0' : '') + n; }
    return (h < 1000 ? ('000' + h).slice(-4) : String(h)) + ':' + two(m) + ':' + (s < 10 ? '0' : '') + s.toFixed(2);
  }
  function setStatus(status) {
    return call(names.set, names.status, status) && call(names.commit, '');
  }
  function complete() {
    if (completed || finished) return;
    completed = true;
    setTimeout(function () { setStatus('completed'); }, 0);
  }
  function finish() {
    if (finished) return;
    finished = true;
    if (call(names.set, names.time, sessionTime())) call(names.finish, '');
  }

  if (api) {
    startedAt = performance.now();
    if (call(names.initialize, '')) {
      var status = call(names.get, names.status);
      completed = status === 'completed' || status === 'passed';
      if (!completed) setStatus('incomplete');
    }
    document.addEventListener('lessoncompleted', complete);
    // "Ende" (or a run-time error) ends the program: a task later, out of
    // the program's own code.
    document.addEventListener('programended', function () { setTimeout(finish, 0); });
    window.addEventListener('pagehide', finish);
  }
  return { found: standard !== 0 };
})();
