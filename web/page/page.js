// The page around an EASEL program built for the browser: it checks that the page can run it
// (served over HTTP, WebAssembly present), starts the program's module, and offers the script
// buttons: "Download script" saves the in-memory EASEL.SCR that the Run menu records,
// "Open script..." makes a chosen file EASEL.SCR and plays it back as Ctrl+P does. A page opened
// as NAME.html?script=URL plays that script from the program's first wait, as easel-run does.
(function () {
  'use strict';

  const SCRIPT = '/EASEL.SCR';
  // The largest script the page takes: the file lives in the tab's memory while it plays. A
  // recording writes a line per click or key and one for a run of timer steps, so a script
  // of this size (about two and a half million lines) is far beyond any made by hand.
  const MAX_SCRIPT_BYTES = 64 * 1024 * 1024;
  const TOO_LARGE = 'larger than ' + MAX_SCRIPT_BYTES / (1024 * 1024) + ' MB';
  const program = document.body.dataset.program;
  const status = document.getElementById('status');

  function say(text, problem) {
    status.textContent = text;
    status.className = problem ? 'problem' : '';
  }

  if (location.protocol === 'file:') {
    say('This page must be served over HTTP, not opened as a file: run "make web-serve" in the ' +
        'source tree and open the address it prints.', true);
    return;
  }
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    say('This browser cannot run WebAssembly, which this page needs: open it in a current ' +
        'browser.', true);
    return;
  }

  const downloadButton = document.getElementById('download-script');
  const openButton = document.getElementById('open-script');
  const fileInput = document.getElementById('script-file');

  // The keyboard goes back to the graphics window after a page button was used.
  function refocus() {
    const canvas = document.querySelector('#easel-screen canvas');
    if (canvas) canvas.focus({preventScroll: true});
  }

  // Ctrl+P, as the user would press it in the graphics window.
  function startPlayback() {
    // Virtual-key codes and USB scan codes of the keys (Ctrl, P).
    const VK_CONTROL = 0x11, VK_P = 0x50, SCAN_CONTROL = 224, SCAN_P = 19;
    Module.easelHost.sendKeys([
      {kind: 'KEY_DOWN', vk: VK_CONTROL, scan: SCAN_CONTROL, mods: 'CTRL'},
      {kind: 'KEY_DOWN', vk: VK_P, scan: SCAN_P, mods: 'CTRL', ch: 'p'.charCodeAt(0)},
      {kind: 'KEY_UP', vk: VK_P, scan: SCAN_P, mods: 'CTRL'},
      {kind: 'KEY_UP', vk: VK_CONTROL, scan: SCAN_CONTROL},
    ]);
  }

  downloadButton.addEventListener('click', function () {
    let bytes = null;
    try {
      bytes = FS.readFile(SCRIPT);
    } catch (error) {
      say('There is no script yet: choose Record in the Run menu (Ctrl+R) first.', true);
      refocus();
      return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
    link.download = 'EASEL.SCR';
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 1000);
    say('Downloaded EASEL.SCR (' + bytes.length + ' bytes).');
    refocus();
  });

  openButton.addEventListener('click', function () {
    fileInput.value = '';
    fileInput.click();
  });

  // The script's bytes become EASEL.SCR as they are: the file system keeps the buffer itself,
  // so the page holds the script once.
  function writeScript(buffer) {
    if (buffer.byteLength > MAX_SCRIPT_BYTES) throw new Error(TOO_LARGE);
    FS.writeFile(SCRIPT, new Uint8Array(buffer), {canOwn: true});
  }

  // No script then: the package says in its log window that it cannot read one.
  function dropScript() {
    try { FS.unlink(SCRIPT); } catch (error) { /* there was none */ }
  }

  fileInput.addEventListener('change', function () {
    const file = fileInput.files[0];
    if (!file) return;
    // The size is known before anything is read.
    const read = file.size > MAX_SCRIPT_BYTES ? Promise.reject(new Error(TOO_LARGE))
                                              : file.arrayBuffer();
    read.then(function (buffer) {
      writeScript(buffer);
      say('Playing ' + file.name + ' as EASEL.SCR.');
    }).catch(function (error) {
      dropScript();
      say('Cannot read ' + file.name + (error.message === TOO_LARGE ? ': ' + TOO_LARGE : '') + '.',
          true);
    }).then(function () {
      startPlayback();
      refocus();
    });
  });

  // The script named in the address, fetched before the program starts; Ctrl+P waits in the
  // queue for the program's first wait. A script that cannot be fetched is no EASEL.SCR, and
  // the package says so in its log window.
  const scriptAddress = new URLSearchParams(location.search).get('script');
  function fetchScript() {
    if (!scriptAddress) return;
    Module.addRunDependency('script');
    fetch(scriptAddress).then(function (response) {
      if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
      // A length given beforehand spares the download; the bytes received are checked too.
      if (Number(response.headers.get('Content-Length')) > MAX_SCRIPT_BYTES) {
        if (response.body) response.body.cancel();
        throw new Error(TOO_LARGE);
      }
      return response.arrayBuffer();
    }).then(writeScript).catch(function (error) {
      dropScript();
      say('Cannot fetch the script ' + scriptAddress + ': ' + error.message, true);
    }).then(function () {
      startPlayback();
      Module.removeRunDependency('script');
    });
  }

  // The program's code, compiling since the page's head asked for it.
  const code = window.easelCode;
  function instantiate(imports, done) {
    code.then(function (module) {
      return WebAssembly.instantiate(module, imports).then(function (instance) {
        done(instance, module);
      });
    }).catch(function (error) {
      say('Cannot load ' + program + '.wasm (' + error.message + '): build the pages with ' +
          '"make web".', true);
    });
    return {};  // the exports come through done()
  }

  // ?EASEL_LOG=stderr in the address sets the program's EASEL_LOG, which copies every line of
  // the log window to the browser's console (as to standard error on the desktop).
  const logSetting = new URLSearchParams(location.search).get('EASEL_LOG');
  function setEnvironment() {
    if (logSetting !== null) ENV.EASEL_LOG = logSetting;  // eslint-disable-line no-undef
  }

  window.Module = {
    preRun: [setEnvironment, fetchScript],
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    onRuntimeInitialized: function () {
      downloadButton.disabled = false;
      openButton.disabled = false;
      if (status.className !== 'problem') say('');
    },
    onExit: function (code) {
      say('The program has ended' + (code ? ' (status ' + code + ')' : '') +
          '. Reload the page to run it again.');
    },
    onAbort: function (what) {
      say('The program stopped: ' + what, true);
    },
    instantiateWasm: instantiate,
  };

  const script = document.createElement('script');
  script.src = program + '.js';
  script.onerror = function () {
    say('Cannot load ' + program + '.js: build the pages with "make web".', true);
  };
  document.body.append(script);
})();
