'use strict';
// towngen in the browser: the form, the worker that makes the town, the town
// page, the downloads and the address that remakes the same town.
(() => {
  const $ = (id) => document.getElementById(id);
  // The engine's own words and limits, written into the page by the build.
  const VOCABULARY = JSON.parse($('vocabulary').textContent);
  const DATA_FILES = VOCABULARY.dataFiles;
  const NUMBERS = VOCABULARY.numbers;  // population, age, seed: { low, high, problem }
  const EXPORTS = new Map(VOCABULARY.exports.map((format) => [format.name, format]));
  // The engine's bits of the modes asked for: bit i for VOCABULARY.modes[i].
  const modeBits = (answers) => VOCABULARY.modes.reduce((bits, mode, i) => bits | (answers[mode] ? 1 << i : 0), 0);
  // What a town costs the browser: its file as a Blob (by the engine's
  // estimate of the bytes a townsperson takes in a town of those modes) and,
  // while its page is drawn, 8 bytes each in the module, whose memory stops
  // at 2 GiB.
  const MODULE_BYTES = 2 ** 31 - 2 ** 26;
  const deviceBytes = (navigator.deviceMemory || 4) * 2 ** 30;
  const largestTown = (bits) => Math.min(NUMBERS.population.high, Math.floor(MODULE_BYTES / 8),
    Math.floor(deviceBytes / VOCABULARY.townBytesEach[bits]));

  const grouped = (n) => n.toLocaleString('en');
  const workerUrl = URL.createObjectURL(new Blob([$('worker-source').textContent], { type: 'text/javascript' }));
  const userFiles = new Map();  // data file name -> ArrayBuffer
  const fileNotes = new Map();  // data file name -> what towngen said of it, refused or warned
  let worker = null;
  // The replies the page waits for, in the order asked, which is the order the
  // worker answers in: { resolve, reject, progress }.
  const waiting = [];
  let shown = null;    // { name, town: Blob, page: Blob, exports: Map }
  let pageUrl = null;
  let stopped = '';    // what Cancel says it stopped: making a town or drawing its page
  // The town page's view (#person=23, filters) is kept in this page's address
  // as "view"; the one the address held at the start opens with the first town.
  let addressView = new URLSearchParams(location.hash.slice(1)).get('view') || '';

  const startWorker = () => {
    worker = new Worker(workerUrl);
    worker.onmessage = ({ data: reply }) => {
      if (!waiting.length) return;
      if (reply.type === 'progress') { waiting[0].progress(reply.made); return; }
      const { resolve, reject } = waiting.shift();
      if (reply.type === 'failed') reject(new Error(reply.message)); else resolve(reply);
    };
    worker.onerror = (event) => {
      if (waiting.length) waiting.shift().reject(new Error(event.message || 'the worker stopped'));
    };
  };
  const ask = (request, progress = () => {}) => new Promise((resolve, reject) => {
    waiting.push({ resolve, reject, progress });
    worker.postMessage(request);
  });

  // --- The form: the checks and limits of towngen --town ----------------------

  const wholeNumber = (text, { low, high, problem }) => {
    const trimmed = text.trim();
    if (/^\d+$/.test(trimmed) && Number(trimmed) >= low && Number(trimmed) <= high) return { value: Number(trimmed) };
    return { problem: problem.replace('%s', () => text) };
  };
  const fields = ['town', 'population', 'min-age', 'max-age', 'seed'];
  const showProblem = (field, problem) => {
    $(`${field}-problem`).textContent = problem || '';
    $(field).setAttribute('aria-invalid', problem ? 'true' : 'false');
  };
  // The answers as numbers, or null with each problem beside its field.
  const readForm = () => {
    const problems = {};
    const answers = { town: $('town').value.trim() };
    if (!answers.town) problems.town = 'needs a file name';
    else if (/[/\\]/.test(answers.town)) problems.town = 'a file name, without / or \\';
    else if (DATA_FILES.includes(answers.town.toLowerCase())) {
      problems.town = VOCABULARY.dataFileRefusal.replace('%s', answers.town);
    }
    const number = (field, key, limits) => {
      const { value, problem } = wholeNumber($(field).value, limits);
      if (problem) problems[field] = problem; else answers[key] = value;
    };
    number('population', 'population', NUMBERS.population);
    for (const mode of VOCABULARY.modes) answers[mode] = $(mode).checked;
    const largest = largestTown(modeBits(answers));
    if (answers.population > largest) {
      problems.population = `A town of ${grouped(answers.population)} is more than this browser can hold ` +
        `(${grouped(largest)}); the towngen program makes it.`;
    }
    number('min-age', 'minAge', NUMBERS.age);
    number('max-age', 'maxAge', NUMBERS.age);
    if (answers.minAge > answers.maxAge) {
      problems['min-age'] = `${grouped(answers.minAge)} is above the oldest age, ${grouped(answers.maxAge)}: ` +
        'the youngest age cannot be above the oldest';
    }
    if ($('seed').value.trim() === '') {
      answers.seed = crypto.getRandomValues(new Uint32Array(1))[0];
    } else {
      number('seed', 'seed', NUMBERS.seed);
    }
    for (const field of fields) showProblem(field, problems[field]);
    const first = fields.find((field) => problems[field]);
    if (first) {
      $(first).focus();
      return null;
    }
    return answers;
  };

  // #town=Ashford.txt&population=500&min-age=16&max-age=60&seed=7&households=1&traits=1&ties=1
  // &view=person%3D23
  const writeAddress = (answers) => {
    const params = new URLSearchParams({
      town: answers.town, population: answers.population, 'min-age': answers.minAge,
      'max-age': answers.maxAge, seed: answers.seed,
    });
    for (const mode of VOCABULARY.modes) if (answers[mode]) params.set(mode, '1');
    history.replaceState(null, '', '#' + params.toString());
  };
  const writeView = (view) => {
    const params = new URLSearchParams(location.hash.slice(1));
    if (view) params.set('view', view); else params.delete('view');
    const hash = params.toString();
    history.replaceState(null, '', hash ? '#' + hash : location.pathname + location.search);
  };
  // The town page is told which part of it is in sight, so that on a phone,
  // where its roster scrolls with this page, it draws the rows there.
  const tellFrameItsSight = () => {
    const frame = $('town-page');
    if (!shown || !frame.contentWindow) return;
    frame.contentWindow.postMessage({
      townPageWindow: { top: -frame.getBoundingClientRect().top - frame.clientTop, height: window.innerHeight },
    }, '*');
  };
  window.addEventListener('scroll', tellFrameItsSight, { passive: true });
  window.addEventListener('resize', tellFrameItsSight);
  // What the town page in the frame tells: its height, its view, and where
  // a card it opened stands, whose top this page brings into the window
  // when it is not in the window's upper half.
  window.addEventListener('message', (event) => {
    if (event.source !== $('town-page').contentWindow || !event.data || !event.data.townPage) return;
    const { height, view, cardTop } = event.data.townPage;
    const frame = $('town-page');
    if (Number.isFinite(height)) {
      frame.style.height = `${Math.ceil(height) + frame.offsetHeight - frame.clientHeight}px`;
      tellFrameItsSight();
    }
    if (typeof view === 'string') writeView(view);
    if (Number.isFinite(cardTop)) {
      const top = frame.getBoundingClientRect().top + frame.clientTop + cardTop;
      if (top < 0 || top > window.innerHeight / 2) window.scrollBy(0, top - 12);
    }
  });
  const readAddress = () => {
    const params = new URLSearchParams(location.hash.slice(1));
    if (!params.has('town') && !params.has('population')) return false;
    for (const field of fields) if (params.has(field)) $(field).value = params.get(field);
    for (const mode of VOCABULARY.modes) $(mode).checked = params.get(mode) === '1';
    return true;
  };

  // --- Making, showing and downloading --------------------------------------

  const say = (text) => { $('messages').textContent = text; };
  const stem = (name) => name.replace(/\.[^.]*$/, '') || name;
  const busy = (on) => {
    $('make').disabled = on;
    $('cancel').hidden = !on;
    $('progress-box').hidden = !on;
  };

  const showProgress = (made, population, started) => {
    const seconds = (performance.now() - started) / 1000;
    $('progress').value = made / population;
    const rate = seconds > 0 ? Math.round(made / seconds) : 0;
    $('progress-text').textContent = `${grouped(made)} of ${grouped(population)} townspeople made` +
      (rate ? ` \u00b7 ${grouped(rate)} a second` : '');
  };

  const show = async (name, town, line) => {
    $('progress-text').textContent = 'Drawing the town page\u2026';
    stopped = `stopped: the page of ${name} was not drawn`;
    const { blob: page } = await ask({ type: 'export', kind: 'page', mediaType: EXPORTS.get('page').mediaType, name, town });
    // A town made here may be held by the worker (town null) until downloaded.
    shown = { name, town, page, exports: new Map([['page', page]]) };
    if (town) shown.exports.set('town', town);
    if (pageUrl) URL.revokeObjectURL(pageUrl);
    pageUrl = URL.createObjectURL(page);
    $('town-page').src = pageUrl + (addressView ? '#' + addressView : '');
    addressView = '';
    $('result-heading').textContent = stem(name);
    $('result-line').textContent = line;
    $('result').hidden = false;
    // The town comes into sight, and a screen reader hears its name.
    $('result-heading').focus({ preventScroll: true });
    $('result').scrollIntoView({ block: 'start' });
    performance.mark('town-shown');
  };

  // Lets the browser free the town on show before the next is made or opened.
  const forgetShown = () => {
    shown = null;
    $('result').hidden = true;
    $('town-page').removeAttribute('src');
    if (pageUrl) URL.revokeObjectURL(pageUrl);
    pageUrl = null;
  };

  const makeTown = async () => {
    const answers = readForm();
    if (!answers) return;
    forgetShown();
    say('');
    busy(true);
    stopped = 'stopped: the town was not made';
    const started = performance.now();
    showProgress(0, answers.population, started);
    try {
      const reply = await ask({
        type: 'make', population: answers.population, minAge: answers.minAge, maxAge: answers.maxAge,
        seed: answers.seed, modes: modeBits(answers), files: [...userFiles],
      }, (made) => showProgress(made, answers.population, started));
      performance.mark('town-made');
      if (reply.warning) say(`towngen: ${reply.warning}`);
      writeAddress(answers);
      await show(answers.town, reply.town,
        `${grouped(answers.population)} townspeople, ages ${grouped(answers.minAge)} to ` +
        `${grouped(answers.maxAge)}, seed ${answers.seed}${answers.households ? ', in households' : ''}` +
        `${answers.traits ? ', with traits' : ''}${answers.ties ? ', with ties' : ''}: ` +
        `${grouped(reply.size)} bytes`);
    } catch (error) {
      say(`towngen: ${error.message}`);
    } finally {
      busy(false);
    }
  };

  const cancel = () => {
    worker.terminate();
    for (const { reject } of waiting.splice(0)) reject(new Error(stopped));
    startWorker();
  };

  // The downloads being written, named, for a big town's few seconds.
  const writing = new Set();
  const showWriting = () => {
    $('download-status').textContent = writing.size ? `Writing ${[...writing].join(', ')}\u2026` : '';
  };

  const download = async (kind) => {
    // The town asked for, even when another is shown by the time it is written.
    const town = shown;
    if (!town) return;
    const name = kind === 'town' ? town.name : stem(town.name) + EXPORTS.get(kind).extension;
    let blob = town.exports.get(kind);
    if (!blob) {
      say('');
      writing.add(name);
      showWriting();
      try {
        let warning;
        const mediaType = kind === 'town' ? 'text/plain' : EXPORTS.get(kind).mediaType;
        const folder = kind !== 'town' && EXPORTS.get(kind).folder;
        ({ blob, warning } = await ask({ type: 'export', kind, mediaType, folder, name: town.name, town: town.town }));
        if (warning) say(`towncensus: ${warning}`);
      } catch (error) {
        say(`towncensus: ${error.message}`);
        return;
      } finally {
        writing.delete(name);
        showWriting();
      }
      town.exports.set(kind, blob);
      if (kind === 'town') town.town = blob;  // the worker let go of its copy
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  };

  // --- The user's own files -------------------------------------------------

  const listFiles = () => {
    const names = DATA_FILES.filter((name) => userFiles.has(name) || fileNotes.has(name));
    $('file-list').replaceChildren(...names.map((name) => {
      const item = document.createElement('li');
      const note = fileNotes.get(name);
      if (note && note.refused) {
        item.className = 'refused';
        item.textContent = `${name}: not used. towngen: ${note.message}`;
      } else {
        item.textContent = `${name}: yours, in place of the built-in one` + (note ? `. towngen: ${note.message}` : '');
      }
      return item;
    }));
    $('forget-files').hidden = names.length === 0;
  };
  // A data file is read as towngen would read it when it is dropped: one it
  // would refuse is not used, and says why beside its name.
  const takeDataFile = async (name, buffer) => {
    let refused = true;
    let message;
    try {
      ({ refused, message } = await ask({ type: 'check', name, buffer }));
    } catch (error) {
      message = `${name} was not read: ${error.message}`;
    }
    fileNotes.delete(name);
    if (message) fileNotes.set(name, { refused, message });
    if (refused) userFiles.delete(name); else userFiles.set(name, buffer);
  };
  const openTownFile = async (file) => {
    forgetShown();
    say('');
    busy(true);
    $('progress-text').textContent = `Reading ${file.name}\u2026`;
    try {
      await show(file.name, file, `${file.name}: ${grouped(file.size)} bytes, opened from disk`);
    } catch (error) {
      $('result').hidden = true;
      say(`towncensus: ${error.message}`);
    } finally {
      busy(false);
    }
  };
  const takeFiles = async (files) => {
    let townFile = null;
    for (const file of files) {
      const name = file.name.toLowerCase();
      if (DATA_FILES.includes(name)) await takeDataFile(name, await file.arrayBuffer());
      else townFile = file;
    }
    listFiles();
    if (!townFile) return;
    // One town at a time: the one on its way is shown first, or cancelled.
    if ($('make').disabled) say(`towncensus: ${townFile.name} is not opened while a town is on its way`);
    else await openTownFile(townFile);
  };

  startWorker();
  // The largest town says what the boxes ticked allow: traits take more room.
  const showLargestTown = () => {
    const bits = modeBits(Object.fromEntries(VOCABULARY.modes.map((mode) => [mode, $(mode).checked])));
    $('population-hint').textContent = `This browser can hold a town of up to ${grouped(largestTown(bits))} ` +
      'townspeople; the towngen program makes larger ones.';
  };
  showLargestTown();
  for (const box of VOCABULARY.modes) $(box).addEventListener('change', showLargestTown);
  $('town-form').addEventListener('submit', (event) => {
    event.preventDefault();
    makeTown();
  });
  $('cancel').addEventListener('click', cancel);
  // A download button for each export the engine writes, after the town file's.
  document.querySelector('.downloads').append(...VOCABULARY.exports.map((format) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.dataset.download = format.name;
    button.textContent = `Download ${format.label}`;
    return button;
  }));
  for (const button of document.querySelectorAll('[data-download]')) {
    button.addEventListener('click', () => download(button.dataset.download));
  }
  $('files').addEventListener('change', () => {
    takeFiles([...$('files').files]);
    $('files').value = '';
  });
  $('forget-files').addEventListener('click', () => {
    userFiles.clear();
    fileNotes.clear();
    listFiles();
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dropping');
    takeFiles([...event.dataTransfer.files]);
  });
  // An address that names a town makes it at once.
  if (readAddress()) {
    showLargestTown();
    makeTown();
  }
})();
