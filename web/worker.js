'use strict';
// The worker that runs the engine, so that the page never freezes. Above it
// stand the engine's script (createTowngenEngine) and its WebAssembly in
// base64 (TOWNGEN_WASM). It makes towns and reads town files into exports;
// every output leaves as a Blob, built a chunk at a time.
(() => {
  const FOLD_BYTES = 32 << 20;  // chunks are folded into one Blob past this
  // The browser compiles a function's optimised code only after it has run
  // a while, and the town's loop runs in one call: a small town made first
  // lets the real one run at full speed.
  const wasmBinary = Uint8Array.from(atob(TOWNGEN_WASM), (c) => c.charCodeAt(0));
  const engineReady = createTowngenEngine({ wasmBinary }).then((engine) => {
    engine.townWrite = () => {};
    engine.townProgress = () => {};
    engine._towngen_make_town(20000, 0, 60, 1, 0, 0);
    return engine;
  });

  // Chunks gathered into a Blob; the browser may keep a large one on disk.
  class BlobCollector {
    constructor() { this.parts = []; this.pending = 0; this.size = 0; }
    add(bytes) {
      this.parts.push(bytes.slice());
      this.pending += bytes.length;
      this.size += bytes.length;
      if (this.pending >= FOLD_BYTES) {
        this.parts = [new Blob(this.parts)];
        this.pending = 0;
      }
    }
    blob(type) { return new Blob(this.parts, { type }); }
  }

  const withText = (engine, text, use) => {
    const bytes = new TextEncoder().encode(text + '\0');
    const at = engine._malloc(bytes.length);
    engine.HEAPU8.set(bytes, at);
    try { return use(at); } finally { engine._free(at); }
  };
  const lastMessage = (engine) => engine.UTF8ToString(engine._towngen_message());

  const handOverData = (engine, files) => {
    engine._towngen_use_built_in_data();
    for (const [name, buffer] of files) {
      const bytes = new Uint8Array(buffer);
      const at = engine._malloc(Math.max(bytes.length, 1));
      engine.HEAPU8.set(bytes, at);
      withText(engine, name, (nameAt) => engine._towngen_add_data_file(nameAt, at, bytes.length));
      engine._free(at);
    }
  };

  // A town this large (in bytes, by the engine's estimate for its modes) is
  // kept in the module, whose memory stops at 2 GiB; a larger one streams out
  // as made.
  const MOST_HELD_BYTES = 2 ** 30;

  const heldTown = (engine) => {
    const parts = [];
    for (let i = 0; i < engine._towngen_held_pieces(); i++) {
      const at = engine._towngen_held_piece(i);
      parts.push(engine.HEAPU8.slice(at, at + engine._towngen_held_piece_size(i)));
    }
    return new Blob(parts, { type: 'text/plain' });
  };

  // The town made last, once handed to the page as a Blob; exports asked of
  // the held town after that, queued before the page knew, read it instead.
  let handedOver = null;

  // `modes`: the engine's bits of the modes, as the page's vocabulary names them.
  const make = (engine, { population, minAge, maxAge, seed, modes, files }) => {
    handedOver = null;
    handOverData(engine, files);
    const hold = population * engine._towngen_bytes_each(modes) <= MOST_HELD_BYTES;
    const town = new BlobCollector();
    engine.townWrite = (bytes) => town.add(bytes);
    let told = 0;
    engine.townProgress = (made) => {
      const now = performance.now();
      if (now - told < 50) return;
      told = now;
      postMessage({ type: 'progress', made });
    };
    const status = engine._towngen_make_town(population, minAge, maxAge, seed, hold ? 1 : 0, modes);
    if (status !== 0) return { type: 'failed', message: lastMessage(engine) };
    let size = 0;
    for (let i = 0; i < engine._towngen_held_pieces(); i++) size += engine._towngen_held_piece_size(i);
    return { type: 'made', town: hold ? null : town.blob('text/plain'), size: hold ? size : town.size,
      warning: lastMessage(engine) };
  };

  // The notes as the engine streams them (each file as its path's length,
  // 4 bytes little-endian, its path, its text's length and its text) zipped
  // by fflate, each file as the native folder holds it.
  const zipped = (stream, type) => {
    const bytes = new Uint8Array(new FileReaderSync().readAsArrayBuffer(stream));
    const view = new DataView(bytes.buffer);
    const decoder = new TextDecoder();
    const chunks = [];
    const zip = new fflate.Zip((error, chunk) => {
      if (error) throw error;
      chunks.push(chunk);
    });
    for (let at = 0; at < bytes.length;) {
      const pathLength = view.getUint32(at, true);
      const path = decoder.decode(bytes.subarray(at + 4, at + 4 + pathLength));
      at += 4 + pathLength;
      const textLength = view.getUint32(at, true);
      const file = new fflate.ZipDeflate(path, { level: 6 });
      zip.add(file);
      file.push(bytes.subarray(at + 4, at + 4 + textLength), true);
      at += 4 + textLength;
    }
    zip.end();
    return new Blob(chunks, { type });
  };

  // `town` is a Blob, or null for the town made last; `kind` an export's name
  // in the engine's vocabulary, or 'town'; a `folder` export is zipped.
  const exportTown = (engine, { kind, mediaType, folder, name, town }) => {
    if (kind === 'town') {
      // Once a Blob, the town leaves the module: it is never held twice.
      if (!handedOver) handedOver = heldTown(engine);
      engine._towngen_forget_town();
      return { type: 'exported', blob: handedOver };
    }
    if (town) {
      engine._towngen_forget_town();
      handedOver = null;
    }
    town = town || handedOver;
    const reader = new FileReaderSync();
    let at = 0;
    engine.townRead = (most) => {
      const chunk = new Uint8Array(reader.readAsArrayBuffer(town.slice(at, at + most)));
      at += chunk.length;
      return chunk;
    };
    const output = new BlobCollector();
    engine.townWrite = (bytes) => output.add(bytes);
    const status = withText(engine, kind, (kindAt) =>
      withText(engine, name, (nameAt) => engine._towngen_export(kindAt, nameAt, town ? 0 : 1)));
    if (status !== 0) return { type: 'failed', message: lastMessage(engine) };
    const blob = folder ? zipped(output.blob(), mediaType) : output.blob(mediaType);
    return { type: 'exported', blob, warning: lastMessage(engine) };
  };

  // What towngen would say of a data file: refused, or used with a warning.
  const check = (engine, { name, buffer }) => {
    const bytes = new Uint8Array(buffer);
    const at = engine._malloc(Math.max(bytes.length, 1));
    engine.HEAPU8.set(bytes, at);
    const status = withText(engine, name, (nameAt) => engine._towngen_check_data_file(nameAt, at, bytes.length));
    engine._free(at);
    return { type: 'checked', refused: status !== 0, message: lastMessage(engine) };
  };

  const handlers = { make, export: exportTown, check };
  self.onmessage = async ({ data: request }) => {
    const engine = await engineReady;
    try {
      postMessage(handlers[request.type](engine, request));
    } catch (error) {
      postMessage({ type: 'failed', message: String((error && error.message) || error) });
    }
  };
})();
