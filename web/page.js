// The page around the emulator: loads the module, hands it the keys, the files and the
// toolbar's requests, downloads its screenshots, and keeps the user's ROM images in this
// browser's storage. The module paints the canvas itself. Nothing is sent anywhere.
"use strict";

(function () {
  const canvas = document.getElementById("screen");
  const screenArea = document.getElementById("screen-area");
  const toolbar = document.getElementById("toolbar");
  const statusText = document.getElementById("status");
  const driveFolder = "/drive8";
  const romFolder = "/roms";
  const screenshotFolder = "/screenshots";
  const romItemPrefix = "Varnok ROM ";
  const romSlots = [
    ["Rom0L", "BASIC"], ["Rom0H", "KERNAL"],
    ["Rom1L", "Function ROM, low"], ["Rom1H", "Function ROM, high"],
    ["Rom2L", "Cartridge 1, low"], ["Rom2H", "Cartridge 1, high"],
    ["Rom3L", "Cartridge 2, low"], ["Rom3H", "Cartridge 2, high"],
  ];
  const openRom = { Rom0L: "/rom/open-basic.bin", Rom0H: "/rom/open-kernal.bin" };
  const largestRom = 65536;

  const state = { ready: false, running: false, warp: false, paused: false };
  let screenWidth = canvas.width;
  let screenHeight = canvas.height;

  const Module = (window.Module = {
    canvas: canvas,
    preRun: [restoreRomImages],
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    setScreenSize(width, height) {
      screenWidth = canvas.width = width;
      screenHeight = canvas.height = height;
      fitScreen();
    },
    showMessage(text, title) {
      document.getElementById("message-text").textContent = title ? title + ": " + text : text;
      document.getElementById("message").hidden = false;
    },
    onRunning(on) {
      state.running = on;
      if (on) state.warp = state.paused = false;
      showState();
    },
    onRuntimeInitialized() {
      state.ready = true;
      showState();
    },
  });

  // ---- calls into the module ----
  function withText(text, call) {
    const bytes = Module.lengthBytesUTF8(text) + 1;
    const pointer = Module._malloc(bytes);
    Module.stringToUTF8(text, pointer, bytes);
    try {
      return call(pointer);
    } finally {
      Module._free(pointer);
    }
  }

  function showState() {
    for (const [id, on] of [["warp", state.warp], ["pause", state.paused]])
      document.getElementById(id).setAttribute("aria-pressed", on ? "true" : "false");
    statusText.textContent = !state.ready ? "Starting…"
      : !state.running ? "Stopped: Reset starts the machine again"
      : state.paused ? "Paused" : state.warp ? "Warp" : "Running";
  }

  // ---- the screen: the whole canvas in view, the mode's aspect kept, pixels crisp ----
  function fitScreen() {
    const full = document.fullscreenElement === screenArea;
    const width = full ? window.innerWidth : screenArea.clientWidth;
    const height = full ? window.innerHeight : Math.max(200, window.innerHeight - toolbar.offsetHeight - 24);
    let scale = Math.min(width / screenWidth, height / screenHeight);
    // Whole multiples keep every machine pixel the same size, when they fill most of the room.
    if (scale >= 2 && Math.floor(scale) / scale >= 0.85) scale = Math.floor(scale);
    canvas.style.width = Math.floor(screenWidth * scale) + "px";
    canvas.style.height = Math.floor(screenHeight * scale) + "px";
  }
  window.addEventListener("resize", fitScreen);
  document.addEventListener("fullscreenchange", fitScreen);

  // ---- keys by position; the page keeps the ones the machine uses ----
  function keyEvent(event, down) {
    if (!state.ready || !state.running) return;
    if (event.target.closest && event.target.closest("dialog, input")) return;
    // The machine repeats keys itself; the browser's repeats change nothing.
    if (withText(event.code, (code) => Module._varnokKey(code, down ? 1 : 0))) event.preventDefault();
  }
  window.addEventListener("keydown", (event) => keyEvent(event, true));
  window.addEventListener("keyup", (event) => keyEvent(event, false));

  // The machine waits while the page is in the background, as it does behind other
  // windows; its voices stay quiet meanwhile.
  function setFocus(focused) {
    if (!state.ready) return;
    Module._varnokFocus(focused ? 1 : 0);
    const audio = Module.audio && Module.audio.context;
    if (audio && !focused) audio.suspend();
    if (audio && focused && !state.paused && audio.state === "suspended") audio.resume();
  }
  window.addEventListener("blur", () => setFocus(false));
  window.addEventListener("focus", () => setFocus(true));
  document.addEventListener("visibilitychange", () => setFocus(document.visibilityState === "visible"));

  // ---- files: every one goes to drive 8's folder, the first is started ----
  function safeName(name) {
    const base = String(name).split(/[\\/]/).pop().replace(/[\u0000-\u001f]/g, "");
    return base && base !== "." && base !== ".." ? base : "file.prg";
  }

  async function openFiles(files) {
    if (!state.ready || !files || files.length === 0) return;
    let first = null;
    for (const file of files) {
      const path = driveFolder + "/" + safeName(file.name);
      try {
        Module.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
      } catch (error) {
        Module.showMessage("Cannot read " + file.name + ".");
        continue;
      }
      if (!first) first = path;
    }
    if (!first) return;
    if (!state.running) Module.showMessage("The machine has stopped: Reset starts it, then open the file again.");
    else if (!withText(first, (path) => Module._varnokOpenFile(path)))
      Module.showMessage("Cannot start " + first.slice(driveFolder.length + 1) + ".");
  }

  const fileInput = document.getElementById("file");
  document.getElementById("open").addEventListener("click", () => fileInput.click());
  fileInput.addEventListener("change", () => {
    openFiles(Array.from(fileInput.files));
    fileInput.value = "";
  });

  const dropHint = document.getElementById("drop-hint");
  document.addEventListener("dragover", (event) => {
    event.preventDefault();
    dropHint.hidden = false;
  });
  document.addEventListener("dragleave", (event) => {
    if (!event.relatedTarget) dropHint.hidden = true;
  });
  document.addEventListener("drop", (event) => {
    event.preventDefault();
    dropHint.hidden = true;
    openFiles(Array.from(event.dataTransfer.files));
  });

  // ---- the toolbar ----
  function pressHostKey(code) {
    if (!state.running) return;
    withText(code, (key) => Module._varnokKey(key, 1));
    withText(code, (key) => Module._varnokKey(key, 0));
  }

  function setPaused(on) {
    state.paused = on;
    Module._varnokSetPaused(on ? 1 : 0);
    const audio = Module.audio && Module.audio.context;
    Module.audioHeld = on;
    if (audio) on ? audio.suspend() : audio.resume();
    showState();
  }

  function button(id, action) {
    document.getElementById(id).addEventListener("click", (event) => {
      event.currentTarget.blur();  // Space and Return belong to the machine, not to the button
      if (state.ready) action();
    });
  }
  button("reset", () => {
    if (state.paused) setPaused(false);
    Module._varnokReset();
  });
  button("warp", () => {
    if (!state.running) return;
    state.warp = !state.warp;
    Module._varnokSetWarp(state.warp ? 1 : 0);
    showState();
  });
  button("pause", () => {
    if (state.running) setPaused(!state.paused);
  });
  button("fullscreen", () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (screenArea.requestFullscreen) screenArea.requestFullscreen();
  });
  button("screenshot", () => pressHostKey("F6"));
  document.getElementById("message-ok").addEventListener("click", () => {
    document.getElementById("message").hidden = true;
  });

  // ---- screenshots: the module writes them into its folder; each new one is downloaded ----
  const offered = new Set();
  function offerScreenshots() {
    if (!state.ready) return;
    let names = [];
    try {
      names = Module.FS.readdir(screenshotFolder);
    } catch (error) {
      return;
    }
    for (const name of names) {
      if (!/\.bmp$/i.test(name) || offered.has(name)) continue;
      offered.add(name);
      const bytes = Module.FS.readFile(screenshotFolder + "/" + name);
      const link = document.createElement("a");
      link.href = URL.createObjectURL(new Blob([bytes], { type: "image/bmp" }));
      link.download = name;
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }
  }
  setInterval(offerScreenshots, 300);

  // ---- ROM images the user chose: kept in local storage, written to the module's files ----
  function romPath(slot) {
    return romFolder + "/" + slot + ".bin";
  }

  function storedRom(slot) {
    try {
      return JSON.parse(window.localStorage.getItem(romItemPrefix + slot));
    } catch (error) {
      return null;
    }
  }

  function restoreRomImages() {
    try {
      Module.FS.mkdir(romFolder);
    } catch (error) {
      // already there
    }
    for (const [slot] of romSlots) {
      const stored = storedRom(slot);
      if (!stored || typeof stored.data !== "string") continue;
      Module.FS.writeFile(romPath(slot), bytesOf(stored.data));
    }
  }

  function base64(bytes) {
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }

  // The bytes of base64 text, as base64 above writes it.
  function bytesOf(text) {
    const binary = atob(text);
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  function setSetting(name, value) {
    withText(name, (n) => withText(value, (v) => Module._varnokSetSetting(n, v)));
  }

  function restartMachine() {
    Module._varnokRestart();
    showRomSlots();
  }

  async function chooseRom(slot, file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (bytes.length === 0 || bytes.length > largestRom) {
      Module.showMessage(file.name + " is not a ROM image (" + bytes.length + " bytes).");
      return;
    }
    try {
      window.localStorage.setItem(romItemPrefix + slot, JSON.stringify({ name: file.name, data: base64(bytes) }));
    } catch (error) {
      Module.showMessage("This browser cannot keep " + file.name + "; it is used until the page closes.");
    }
    Module.FS.writeFile(romPath(slot), bytes);
    setSetting(slot, romPath(slot));
    restartMachine();
  }

  function removeRom(slot) {
    window.localStorage.removeItem(romItemPrefix + slot);
    setSetting(slot, openRom[slot] || "");
    restartMachine();
  }

  function showRomSlots() {
    const table = document.getElementById("rom-slots");
    table.textContent = "";
    for (const [slot, label] of romSlots) {
      const stored = storedRom(slot);
      const row = table.insertRow();
      row.insertCell().textContent = label;
      const name = row.insertCell();
      name.className = "rom-name";
      name.textContent = stored ? stored.name : openRom[slot] ? "open ROM" : "none";
      const input = document.createElement("input");
      input.type = "file";
      input.dataset.slot = slot;
      input.addEventListener("change", () => input.files[0] && chooseRom(slot, input.files[0]));
      row.insertCell().appendChild(input);
      if (stored) {
        const remove = document.createElement("button");
        remove.type = "button";
        remove.textContent = "Remove";
        remove.addEventListener("click", () => removeRom(slot));
        row.insertCell().appendChild(remove);
      }
    }
  }

  const romDialog = document.getElementById("rom-dialog");
  button("roms", () => {
    showRomSlots();
    romDialog.showModal();
  });
  document.getElementById("rom-open-rom").addEventListener("click", () => {
    for (const slot of Object.keys(openRom)) window.localStorage.removeItem(romItemPrefix + slot);
    for (const [slot, path] of Object.entries(openRom)) setSetting(slot, path);
    restartMachine();
  });

  // ---- what the page's tests read ----
  window.varnok = {
    state: state,
    frames: () => (state.ready ? Module._varnokFrames() : 0),
    memory(address, length) {
      const base = state.ready ? Module._varnokMemory() : 0;
      return base ? Array.from(Module.HEAPU8.subarray(base + address, base + address + length)) : [];
    },
    // The 40 x 25 text screen at $0C00 as ASCII: screen codes 1-26 are the letters.
    screenText() {
      return this.memory(0x0c00, 1000)
        .map((code) => {
          const c = code & 0x7f;
          return String.fromCharCode(c === 0 ? 64 : c < 27 ? c + 64 : c < 64 ? c : 32);
        })
        .join("");
    },
    openFiles: openFiles,
  };

  // ---- loading: a page from file:// may run scripts but not fetch the module ----
  function loadScript(source) {
    return new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = source;
      script.onload = resolve;
      script.onerror = () => reject(new Error("cannot load " + source));
      document.body.appendChild(script);
    });
  }

  async function start() {
    fitScreen();
    if (location.protocol === "file:") {
      await loadScript("varnok-wasm.js");
      Module.wasmBinary = bytesOf(window.varnokWasmBase64);
      delete window.varnokWasmBase64;
    }
    await loadScript("varnok.js");
  }
  start().catch((error) => Module.showMessage(String(error.message || error)));
})();
