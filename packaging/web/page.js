// Starts the game on the page. Checks first what the browser offers and says
// in words what is missing (never a blank page); keeps the settings and the
// journey in a folder stored in IndexedDB, saved after each write; asks the
// browser for full screen on F11; tells the player that the music waits for
// a first key press while the browser holds the sound back; shows the link
// that shares a plane, and offers the plane a link brought.
(function () {
  'use strict';

  var canvas = document.getElementById('canvas');
  var statusLine = document.getElementById('status');
  var soundNote = document.getElementById('sound-note');
  // The game's settings and journey live under its home folder.
  var storageFolder = '/home/web_user';

  function showProblem(text) {
    statusLine.hidden = true;
    soundNote.hidden = true;
    canvas.hidden = true;
    document.getElementById('problem-text').textContent = text;
    document.getElementById('problem').hidden = false;
  }

  function missingFeature() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
      return 'This browser does not run WebAssembly, which the game is made of. ' +
        'A current Firefox, Chrome, Edge or Safari does.';
    }
    var gl = null;
    try {
      var probe = document.createElement('canvas');
      gl = probe.getContext('webgl') || probe.getContext('experimental-webgl');
    } catch (e) {
      gl = null;
    }
    if (!gl) {
      return 'This browser offers no WebGL, which the game draws with. It may be turned off ' +
        'in its settings or refused for this graphics driver: turn on hardware acceleration, ' +
        'or try another browser.';
    }
    var lose = gl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
    return '';
  }

  // The sound note: shown until an audio context of the page runs. The game
  // makes its context at the start; the browser lets it run only after a
  // gesture, and Emscripten resumes it on the first key press. Where the
  // game makes none (sound off), the first key press takes the note away.
  var audioContexts = [];
  var keyPressed = false;
  function updateSoundNote() {
    var running = audioContexts.some(function (context) { return context.state === 'running'; });
    soundNote.hidden = running || (keyPressed && audioContexts.length === 0);
  }
  function watchAudioContexts() {
    ['AudioContext', 'webkitAudioContext'].forEach(function (name) {
      var Original = window[name];
      if (typeof Original !== 'function') return;
      var Watched = function (options) {
        var context = options === undefined ? new Original() : new Original(options);
        audioContexts.push(context);
        context.addEventListener('statechange', updateSoundNote);
        updateSoundNote();
        return context;
      };
      Watched.prototype = Original.prototype;
      window[name] = Watched;
    });
  }

  // The pause shows the last frame under a veil, read back in a later
  // frame; a browser clears the canvas once it has shown it, unless asked
  // to keep it.
  function keepDrawingBuffer() {
    var getContext = canvas.getContext;
    canvas.getContext = function (type, attributes) {
      var kept = {};
      for (var name in attributes || {}) kept[name] = attributes[name];
      kept.preserveDrawingBuffer = true;
      return getContext.call(canvas, type, kept);
    };
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (canvas.requestFullscreen) {
      canvas.requestFullscreen().catch(function () {});
    }
  }

  window.addEventListener('keydown', function (event) {
    if (!keyPressed) {
      keyPressed = true;
      setTimeout(updateSoundNote, 0);
    }
    var switchKey = event.key === 'F11' || (event.key === 'Enter' && event.altKey);
    if (switchKey) {
      event.preventDefault();
      toggleFullScreen();
    }
  }, true);

  // Writes reach IndexedDB one sync at a time; a write during a sync asks
  // for one more after it.
  var syncing = false;
  var syncAgain = false;
  function saveStorage() {
    if (syncing) {
      syncAgain = true;
      return;
    }
    syncing = true;
    Module.FS.syncfs(false, function (error) {
      syncing = false;
      if (error) console.log('Page: could not keep the settings in the browser: ' + error);
      if (syncAgain) {
        syncAgain = false;
        saveStorage();
      }
    });
  }

  // Sharing: the button asks the game (which looks once a frame) for a link
  // to the plane in front of the player; the game, asked by the button or
  // by L in the editor, answers through bvShare with the plane's code.
  var sharePrefix = '#plane=';
  var shareLink = document.getElementById('share-link');
  var shareNote = document.getElementById('share-note');
  document.getElementById('share-button').addEventListener('click', function () {
    Module.bvShareAsked = true;
    canvas.focus();
  });

  function showShareLink(code) {
    var link = window.location.href.split('#')[0] + sharePrefix + code;
    shareLink.value = link;
    document.getElementById('share-box').hidden = false;
    // Selected without taking the keys away from the game.
    shareLink.setSelectionRange(0, link.length);
    shareNote.textContent = 'Copy this link to share the plane.';
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(link).then(function () {
        shareNote.textContent = 'The link is copied to the clipboard.';
      }, function () {
        shareNote.textContent = 'The browser keeps the clipboard to itself: copy the link by hand.';
      });
    }
  }

  // A link with a plane: the game waits until the player has said whether
  // to take it; taken, its code waits in a file the game reads at its
  // start. Either way the address loses its fragment, so that loading the
  // page again does not offer the plane twice.
  function offerSharedPlane() {
    var hash = window.location.hash;
    if (hash.indexOf(sharePrefix) !== 0) return;
    var code = hash.slice(sharePrefix.length);
    var offer = document.getElementById('offer');
    Module.addRunDependency('shared-plane');
    statusLine.hidden = true;
    offer.hidden = false;
    function answered(take) {
      if (take) Module.FS.writeFile('/shared-plane.code', code);
      offer.hidden = true;
      window.history.replaceState(null, '', window.location.pathname + window.location.search);
      Module.removeRunDependency('shared-plane');
      canvas.focus();
    }
    document.getElementById('offer-play').onclick = function () { answered(true); };
    document.getElementById('offer-skip').onclick = function () { answered(false); };
  }
  // A link pasted into the address of the page already open changes only
  // the fragment: the page starts again to offer its plane.
  window.addEventListener('hashchange', function () {
    if (window.location.hash.indexOf(sharePrefix) === 0) window.location.reload();
  });

  function mountStorage() {
    var FS = Module.FS;
    try {
      FS.mount(FS.filesystems.IDBFS, {}, storageFolder);
    } catch (e) {
      console.log('Page: this browser keeps no storage for the page; the settings and the ' +
        'journey last this visit only.');
      return;
    }
    Module.addRunDependency('storage');
    FS.syncfs(true, function (error) {
      if (error) console.log('Page: could not read the kept settings: ' + error);
      Module.removeRunDependency('storage');
    });
  }

  var Module = {
    canvas: canvas,
    arguments: [],
    preRun: [mountStorage, offerSharedPlane],
    // Called by the game after each file it writes.
    bvSaved: saveStorage,
    // Called by the game with the code of a plane to share.
    bvShare: showShareLink,
    // Set by the share button until the game takes the request.
    bvShareAsked: false,
    // Called by the game when the player has quit (Escape).
    bvEnded: function () {
      soundNote.hidden = true;
      statusLine.textContent = 'The game has ended. Load the page again to play on.';
      statusLine.hidden = false;
    },
    setStatus: function (text) {
      if (text) statusLine.textContent = text;
    },
    onRuntimeInitialized: function () {
      statusLine.hidden = true;
    },
    onAbort: function (what) {
      showProblem('The game stopped: ' + what);
    }
  };
  window.Module = Module;

  var problem = missingFeature();
  if (problem) {
    showProblem(problem);
    return;
  }
  watchAudioContexts();
  keepDrawingBuffer();
  updateSoundNote();
  var script = document.createElement('script');
  script.src = 'BrickVoyager.js';
  script.onerror = function () {
    showProblem('The game\'s files could not be loaded (BrickVoyager.js): ' +
      'check that the whole folder is served.');
  };
  document.body.appendChild(script);
})();
