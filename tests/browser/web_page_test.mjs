// Opens towngen.html from disk in a real browser (Debian's chromium, driven by
// playwright-core) and checks that every town it makes and every download
// equals what the native programs write for the same answers and seed.
//
//   node web_page_test.mjs --page towngen.html --native DIR --work DIR
//
// DIR holds the native towngen and towncensus. Exits 0 when every check
// passes, 1 when one fails, 77 (skipped) without a browser, playwright-core
// or the native programs.
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { unzipSync } from 'fflate';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import {
  browserPath, browserTools, check, options, report, same, seriousFindings, smallTexts, watch,
} from './browser_checks.mjs';

const native = (program) => join(resolve(options.native), program);
const { chromium, axePath } = await browserTools([native('towngen'), native('towncensus')]);

const work = resolve(options.work);
rmSync(work, { recursive: true, force: true });
mkdirSync(join(work, 'notes'), { recursive: true });
const run = (program, ...args) => execFileSync(native(program), args, { cwd: work, stdio: ['ignore', 'ignore', 'pipe'] });
const stem = (name) => name.replace(/\.[^.]*$/, '');
// The files of a folder of notes, by their path from `top`.
const folderFiles = (top, folder) => new Map(readdirSync(join(top, folder))
  .map((name) => [`${folder}/${name}`, readFileSync(join(top, folder, name))]));
// A zip's files, by path.
const zipFiles = (bytes) => new Map(Object.entries(unzipSync(bytes)).map(([path, data]) => [path, Buffer.from(data)]));
const sameFiles = (a, b) => a.size === b.size && [...a].every(([path, bytes]) => b.has(path) && Buffer.compare(bytes, b.get(path)) === 0);
// The native programs' bytes for a town: the town file and every export.
const nativeFiles = (town) => {
  run('towngen', '--town', town.name, '--population', String(town.population), '--min-age', String(town.minAge),
    '--max-age', String(town.maxAge), '--seed', String(town.seed), '--quiet', ...(town.households ? ['--households'] : []),
    ...(town.traits ? ['--traits'] : []), ...(town.ties ? ['--ties'] : []));
  const base = stem(town.name);
  run('towncensus', '--csv', `${base}.csv`, '--json', `${base}.json`, '--jsonl', `${base}.jsonl`,
    '--html', `${base}.html`, '--foundry', `${base}.foundry.json`, '--notes', 'notes', town.name);
  return {
    town: readFileSync(join(work, town.name)), csv: readFileSync(join(work, `${base}.csv`)),
    json: readFileSync(join(work, `${base}.json`)), jsonl: readFileSync(join(work, `${base}.jsonl`)),
    page: readFileSync(join(work, `${base}.html`)), foundry: readFileSync(join(work, `${base}.foundry.json`)),
    notes: folderFiles(join(work, 'notes'), base),
  };
};

const pageUrl = pathToFileURL(resolve(options.page)).href;
const browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
const context = await browser.newContext({ viewport: { width: 1280, height: 900 }, acceptDownloads: true });
const open = async (hash = '', within = context) => {
  const page = await within.newPage();
  watch(page, pageUrl, true);  // the worker and the town page are Blobs the page makes
  await page.goto(pageUrl + hash);
  return page;
};
const townShown = (page) => page.waitForFunction(() => performance.getEntriesByName('town-shown').length > 0,
  null, { timeout: 120000 });
const townPage = (page) => page.frame({ url: /^blob:/ });
// The town page's frame, once it has come to its Blob.
const townPageOf = async (page) => {
  for (let tries = 0; tries < 200 && !townPage(page); tries++) await page.waitForTimeout(50);
  return townPage(page);
};
const downloaded = async (page, label) => {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(`button:text-is("${label}")`)]);
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
};

const DOWNLOADS = [['Download town file', 'town', ''], ['Download CSV', 'csv', '.csv'], ['Download JSON', 'json', '.json'],
  ['Download JSON Lines', 'jsonl', '.jsonl'], ['Download page', 'page', '.html'],
  ['Download for Foundry', 'foundry', '.foundry.json'], ['Download notes', 'notes', '.notes.zip']];

try {
  // Towns at the edges, each made from its address and downloaded seven ways.
  const towns = [
    { name: 'Lone.txt', population: 1, minAge: 16, maxAge: 60, seed: 1 },
    { name: 'Hamlet.txt', population: 21, minAge: 16, maxAge: 60, seed: 4294967295 },
    { name: 'Nursery.txt', population: 30, minAge: 0, maxAge: 0, seed: 7 },
    { name: 'Twins.txt', population: 50, minAge: 0, maxAge: 1, seed: 0 },
    { name: 'Ashford.txt', population: 100000, minAge: 16, maxAge: 60, seed: 7 },
    { name: 'Families.txt', population: 3000, minAge: 0, maxAge: 60, seed: 11, households: true },
    { name: 'Tales.txt', population: 500, minAge: 0, maxAge: 60, seed: 12, traits: true },
    { name: 'Sagas.txt', population: 700, minAge: 10, maxAge: 70, seed: 13, households: true, traits: true,
      ties: true },
    { name: 'Webs.txt', population: 400, minAge: 0, maxAge: 60, seed: 14, ties: true },
  ];
  for (const town of towns) {
    const expected = nativeFiles(town);
    const page = await open(`#town=${town.name}&population=${town.population}&min-age=${town.minAge}` +
      `&max-age=${town.maxAge}&seed=${town.seed}${town.households ? '&households=1' : ''}` +
      `${town.traits ? '&traits=1' : ''}${town.ties ? '&ties=1' : ''}`);
    await townShown(page);
    // All pressed at once: each still gets its own bytes.
    const downloads = new Map();
    page.on('download', async (download) => downloads.set(download.suggestedFilename(), await download.path()));
    const buttons = await Promise.all(DOWNLOADS.map(([label]) =>
      page.getByRole('button', { name: label, exact: true }).elementHandle()));
    same(`${town.name}: the downloads being written are named`, await page.evaluate((all) => {
      for (const button of all) button.click();
      return document.getElementById('download-status').textContent;
    }, buttons), `Writing ${town.name}, ${DOWNLOADS.filter(([, kind]) => kind !== 'town' && kind !== 'page')
      .map(([, , e]) => stem(town.name) + e).join(', ')}\u2026`);
    for (let waited = 0; downloads.size < DOWNLOADS.length && waited < 60000; waited += 100) {
      await page.waitForTimeout(100);
    }
    same(`${town.name}: nothing is left being written`, await page.textContent('#download-status'), '');
    for (const [label, kind, extension] of DOWNLOADS) {
      const name = kind === 'town' ? town.name : stem(town.name) + extension;
      const bytes = downloads.has(name) ? readFileSync(downloads.get(name)) : Buffer.alloc(0);
      if (kind === 'notes') {
        const files = bytes.length ? zipFiles(bytes) : new Map();
        check(`${town.name}: "${label}" holds the native folder's files`, sameFiles(files, expected.notes),
          `${files.size} files, native ${expected.notes.size}`);
        continue;
      }
      check(`${town.name}: "${label}" equals the native bytes`, Buffer.compare(bytes, expected[kind]) === 0,
        `${bytes.length} bytes, native ${expected[kind].length}`);
    }
    const frame = townPage(page);
    await frame.waitForSelector('#roster tbody tr[data-position]');
    const rows = expected.csv.toString().trimEnd().split('\r\n').length - 1;
    same(`${town.name}: the page's population is the CSV's`,
      await frame.textContent('.figures div:first-child dd'), rows.toLocaleString('en'));
    // A card opens and closes with Escape in the frame without an error (the
    // page's watcher fails the test on any).
    await frame.click('#roster tbody tr[data-position="0"] td.name');
    await frame.waitForSelector('#block-dialog[open]');
    await page.keyboard.press('Escape');
    await frame.waitForFunction(() => !document.getElementById('block-dialog').open);
    for (const mode of ['households', 'traits', 'ties']) {
      if (!town[mode]) continue;
      same(`${town.name}: the ${mode} box is ticked from the address`, await page.isChecked(`#${mode}`), true);
      same(`${town.name}: the address keeps the ${mode}`,
        new URLSearchParams((await page.evaluate(() => location.hash)).slice(1)).get(mode), '1');
    }
    await page.close();
  }

  // The town page stands in the page's flow: its frame grows to it, and on a
  // phone the page is the one scroll area. An opened card's address joins the
  // page's, and that address opens the town at that card.
  const hamletAddress = '#town=Hamlet.txt&population=21&min-age=16&max-age=60&seed=4294967295';
  const flowing = await open(hamletAddress);
  await townShown(flowing);
  const hamletFrame = await townPageOf(flowing);
  await hamletFrame.waitForSelector('#roster tbody tr[data-position]');
  await flowing.waitForFunction(() => Math.abs(document.getElementById('town-page').getBoundingClientRect().height -
    document.getElementById('town-page').contentDocument?.documentElement.scrollHeight) < 2 ||
    document.getElementById('town-page').style.height !== '', null, { timeout: 10000 });
  same('the frame grows to the town page, which does not scroll in it', await hamletFrame.evaluate(() =>
    document.documentElement.scrollHeight <= window.innerHeight + 1), true);
  await hamletFrame.click('#roster tbody tr[data-position="4"] td.name');
  const cardNumber = Number((await hamletFrame.textContent('#card-line')).match(/No\. (\d+)/)[1]);
  await flowing.waitForFunction(() => location.hash.includes('view='));
  const shared = await flowing.evaluate(() => location.hash);
  same('the card\'s address joins the page\'s', new URLSearchParams(shared.slice(1)).get('view'), `person=${cardNumber}`);
  await flowing.close();
  const reopened = await open(shared);
  await townShown(reopened);
  const reopenedFrame = await townPageOf(reopened);
  await reopenedFrame.waitForSelector('#block-dialog[open]', { timeout: 10000 }).catch(() => {});
  same('that address opens the town at that card', await reopenedFrame.evaluate(() =>
    document.getElementById('block-dialog').open && document.getElementById('card-line').textContent.match(/No\. (\d+)/)[1]),
  String(cardNumber));
  await reopened.close();

  // A card opened from an address, a notable or Next shows its top in the
  // window, on a desktop and on a phone, in a town whose frame is many
  // screens tall; at 1280 pixels the roster in the frame shows names and
  // headings whole.
  const familiesAddress = '#town=Families.txt&population=3000&min-age=0&max-age=60&seed=11&households=1';
  for (const viewport of [{ width: 1280, height: 900 }, { width: 390, height: 844 }]) {
    const viewContext = await browser.newContext({ viewport, isMobile: viewport.width < 700 });
    const viewed = await open(`${familiesAddress}&view=person%3D2500`, viewContext);
    await townShown(viewed);
    const viewedFrame = await townPageOf(viewed);
    const cardTop = async (how) => {
      await viewedFrame.waitForSelector('#block-dialog[open]', { timeout: 10000 });
      await viewed.waitForTimeout(400);  // the page around scrolls to it
      const inFrame = await viewedFrame.$eval('#block-dialog', (dialog) => dialog.getBoundingClientRect().top);
      const frameTop = await viewed.$eval('#town-page', (frame) => frame.getBoundingClientRect().top + frame.clientTop);
      const top = Math.round(frameTop + inFrame);
      check(`${viewport.width} pixels: a card opened ${how} shows its top in the window`,
        top >= 0 && top <= viewport.height - 200, `at ${top} of ${viewport.height}`);
    };
    await cardTop('from its address');
    await viewed.keyboard.press('Escape');
    await viewed.evaluate(() => window.scrollTo(0, 0));
    await viewedFrame.click('#notables a[data-person]');
    await cardTop('from a notable');
    await viewed.evaluate(() => window.scrollBy(0, 600));  // read further down the card
    await viewedFrame.click('#card-next');
    await cardTop('by Next');
    await viewed.keyboard.press('Escape');
    if (viewport.width === 1280) {
      same('at 1280 pixels the frame\'s roster cuts no name, household or heading', await viewedFrame.$$eval(
        '#roster tbody td.name, #roster tbody td.household, #roster thead button',
        (cells) => cells.filter((c) => c.scrollWidth > c.clientWidth + 1).map((c) => c.textContent).slice(0, 3)), []);
    }
    await viewContext.close();
  }
  const phoneContext = await browser.newContext({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true });
  const phonePage = await open('#town=Crowd.txt&population=2000&min-age=16&max-age=60&seed=3', phoneContext);
  await townShown(phonePage);
  const phoneFrame = await townPageOf(phonePage);
  await phoneFrame.waitForSelector('#roster tbody tr[data-position]');
  await phonePage.waitForTimeout(500);  // the frame's height follows the page it shows
  same('on a phone the page is the one scroll area', await phoneFrame.evaluate(() => [
    document.documentElement.scrollHeight <= window.innerHeight + 1,
    getComputedStyle(document.getElementById('roster-scroll')).overflowY]), [true, 'visible']);
  // Scrolled to the roster's end, the page draws its last rows, and only the
  // rows in sight are in the document.
  await phonePage.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
  await phoneFrame.waitForSelector('#roster tbody tr[data-position="1999"]', { state: 'attached', timeout: 5000 })
    .catch(() => {});
  same('scrolled to the end, the roster draws its last rows, and only those in sight', await phoneFrame.evaluate(() => {
    const rows = document.querySelectorAll('#roster tbody tr[data-position]');
    return [rows.length < 100, rows[rows.length - 1]?.dataset.position];
  }), [true, '1999']);
  await phoneContext.close();

  // A blank seed draws a fresh one, shown in the address once the town is made.
  const fresh = await open();
  await fresh.fill('#population', '40');
  await fresh.click('#make');
  await townShown(fresh);
  const seed = new URLSearchParams((await fresh.evaluate(() => location.hash)).slice(1)).get('seed');
  same('the town shown takes the focus', await fresh.evaluate(() => document.activeElement.id), 'result-heading');
  check('a fresh seed is shown', /^\d+$/.test(seed) && (await fresh.textContent('#result-line')).includes(`seed ${seed}`), seed);

  // The form's checks, beside their fields; nothing is made.
  const checks = [
    ['population', '0', "'0' is not a whole number from 1 to 2,147,483,647"],
    ['population', '12x', "'12x' is not a whole number from 1 to 2,147,483,647"],
    ['seed', '4294967296', "'4294967296' is not a whole number from 0 to 4,294,967,295"],
    ['min-age', '70', '70 is above the oldest age, 60: the youngest age cannot be above the oldest'],
    ['town', 'data.txt', 'data.txt is a data file of this program and cannot be a town'],
  ];
  for (const [field, value, problem] of checks) {
    const before = await fresh.inputValue(field === 'town' ? '#town' : `#${field}`);
    await fresh.fill(`#${field}`, value);
    await fresh.click('#make');
    same(`"${value}" as ${field}`, await fresh.textContent(`#${field}-problem`), problem);
    same(`"${value}" as ${field} is marked`, await fresh.getAttribute(`#${field}`, 'aria-invalid'), 'true');
    await fresh.fill(`#${field}`, before);
  }

  // Cancel stops a town of 20,000,000 at once, and the next town is made.
  await fresh.fill('#population', '20000000');
  await fresh.fill('#seed', '3');
  await fresh.click('#make');
  await fresh.waitForFunction(() => document.getElementById('progress').value > 0, null, { timeout: 30000 });
  await fresh.setInputFiles('#files', [join(work, 'Lone.txt')]);
  same('no town file opens while a town is made', await fresh.textContent('#messages'),
    'towncensus: Lone.txt is not opened while a town is on its way');
  const cancelled = Date.now();
  await fresh.click('#cancel');
  await fresh.waitForSelector('#progress-box', { state: 'hidden', timeout: 1000 });
  check('Cancel stops within a second', Date.now() - cancelled < 1000, `${Date.now() - cancelled} ms`);
  same('Cancel says so', await fresh.textContent('#messages'), 'towngen: stopped: the town was not made');
  // Cancel while the page is drawn says that, not that the town was not made.
  await fresh.fill('#population', '300000');
  await fresh.click('#make');
  await fresh.waitForFunction(() => document.getElementById('progress-text').textContent.startsWith('Drawing'),
    null, { timeout: 30000 });
  await fresh.click('#cancel');
  await fresh.waitForSelector('#progress-box', { state: 'hidden', timeout: 1000 });
  same('Cancel while drawing says so', await fresh.textContent('#messages'),
    'towngen: stopped: the page of Millbrook.txt was not drawn');
  await fresh.fill('#population', '21');
  await fresh.evaluate(() => performance.clearMarks('town-shown'));
  await fresh.click('#make');
  await townShown(fresh);
  check('after Cancel a town is made', (await fresh.textContent('#result-line')).startsWith('21 townspeople'));
  await fresh.close();

  // The user's own name lists, hostile names included, are used and shown as text.
  const hostile = { male: '<script>alert(1)</script>', female: '"><img/src=x/onerror=alert(1)>' };
  const mine = join(work, 'mine');
  mkdirSync(mine);
  writeFileSync(join(mine, 'male.txt'), `${hostile.male}\n`);
  writeFileSync(join(mine, 'female.txt'), `${hostile.female}\n`);
  const ownTown = { name: 'Own.txt', population: 30, minAge: 16, maxAge: 60, seed: 9 };
  const own = await open();
  await own.click('#files-box summary');
  await own.setInputFiles('#files', [join(mine, 'male.txt'), join(mine, 'female.txt')]);
  await own.waitForFunction(() => document.querySelectorAll('#file-list li').length === 2);
  for (const [field, value] of [['town', ownTown.name], ['population', '30'], ['min-age', '16'], ['seed', '9']]) {
    await own.fill(`#${field}`, value);
  }
  await own.click('#make');
  await townShown(own);
  run('towngen', '--init', 'owndata');
  for (const list of ['male.txt', 'female.txt']) writeFileSync(join(work, 'owndata', list), readFileSync(join(mine, list)));
  run('towngen', '--town', ownTown.name, '--population', '30', '--min-age', '16', '--max-age', '60', '--seed', '9',
    '--data-dir', 'owndata', '--quiet');
  const ownFile = await downloaded(own, 'Download town file');
  check('the user\'s lists make the native town', Buffer.compare(ownFile.bytes, readFileSync(join(work, ownTown.name))) === 0);
  const frame = townPage(own);
  await frame.waitForSelector('#roster tbody tr[data-position]');
  const names = await frame.$$eval('#roster tbody td.name', (cells) => cells.map((c) => c.textContent));
  check('hostile names show as text', names.some((n) => n.startsWith(hostile.male)) && names.some((n) => n.startsWith(hostile.female)),
    names.slice(0, 3).join(' | '));
  same('hostile names ran nothing', await frame.evaluate(() => document.images.length), 0);

  // An empty male.txt is refused when dropped, with the native report; a
  // catalogue with a misspelt tag is used, with the native warning: its line
  // and the nearest tags.
  writeFileSync(join(mine, 'male.txt'), '');
  writeFileSync(join(mine, 'data.txt'), '<note> </note>\nRing_of_Warmth tccRings\nWand tccWandz\n');
  writeFileSync(join(mine, 'traits.txt'), '<note> </note>\nfreckles looks\n');
  await own.setInputFiles('#files', [join(mine, 'male.txt'), join(mine, 'data.txt'), join(mine, 'traits.txt')]);
  await own.waitForFunction(() => document.querySelectorAll('#file-list li').length === 4);
  writeFileSync(join(work, 'owndata', 'male.txt'), '');
  writeFileSync(join(work, 'owndata', 'data.txt'), readFileSync(join(mine, 'data.txt')));
  const refused = spawnSync(native('towngen'), ['--town', 'Refused.txt', '--population', '5', '--data-dir', 'owndata'],
    { cwd: work, encoding: 'utf8' });
  const [warning, refusal] = refused.stderr.trim().replaceAll('owndata/', '').split('\n');
  writeFileSync(join(work, 'owndata', 'traits.txt'), readFileSync(join(mine, 'traits.txt')));
  writeFileSync(join(work, 'owndata', 'male.txt'), readFileSync(join(mine, 'female.txt')));
  const traitsRefused = spawnSync(native('towngen'), ['--town', 'Refused.txt', '--population', '5', '--data-dir', 'owndata',
    '--traits'], { cwd: work, encoding: 'utf8' });
  const traitsRefusal = traitsRefused.stderr.trim().replaceAll('owndata/', '').split('\n').pop();
  same('dropped data files are read at once, with the native words',
    await own.$$eval('#file-list li', (items) => items.map((item) => item.textContent)),
    [`male.txt: not used. ${refusal}`, 'female.txt: yours, in place of the built-in one',
      `data.txt: yours, in place of the built-in one. ${warning}`, `traits.txt: not used. ${traitsRefusal}`]);

  // Town files opened from disk give towncensus's words: a damaged one its
  // line, one with a byte that is not UTF-8 the JSON export's warning.
  const hamlet = readFileSync(join(work, 'Hamlet.txt'), 'latin1');
  const openedFiles = [
    ['Damaged.txt', hamlet.replace('Age: ', 'Aeg: '), null],
    ['Accented.txt', hamlet.replace('Name: ', 'Name: \xe9'), ['Download JSON', '--json', 'Accented.json']],
    ['Foreign.txt', hamlet.replace('Name: ', 'Name: \xe9'),
      ['Download for Foundry', '--foundry', 'Foreign.foundry.json']],
  ];
  for (const [name, text, download] of openedFiles) {
    writeFileSync(join(mine, name), text, 'latin1');
    await own.evaluate(() => performance.clearMarks('town-shown'));
    await own.setInputFiles('#files', [join(mine, name)]);
    const args = download ? download.slice(1) : [];
    const nativeReading = spawnSync(native('towncensus'), [...args, name], { cwd: mine, encoding: 'utf8' });
    if (download) {
      await townShown(own);
      const { bytes } = await downloaded(own, download[0]);
      check(`${name}: "${download[0]}" equals the native bytes`,
        Buffer.compare(bytes, readFileSync(join(mine, download[2]))) === 0);
    } else {
      await own.waitForFunction(() => document.getElementById('messages').textContent.startsWith('towncensus'));
    }
    same(`${name} gives towncensus's words`, await own.textContent('#messages'), nativeReading.stderr.trim());
  }
  // An opened town's notes: the zip holds the native folder's files.
  writeFileSync(join(mine, 'Opened.txt'), hamlet, 'latin1');
  mkdirSync(join(mine, 'vault'));
  run('towncensus', '--notes', join(mine, 'vault'), join(mine, 'Opened.txt'));
  await own.evaluate(() => performance.clearMarks('town-shown'));
  await own.setInputFiles('#files', [join(mine, 'Opened.txt')]);
  await townShown(own);
  const openedNotes = zipFiles((await downloaded(own, 'Download notes')).bytes);
  check('an opened town\'s notes hold the native folder\'s files',
    sameFiles(openedNotes, folderFiles(join(mine, 'vault'), 'Opened')), `${openedNotes.size} files`);
  await own.close();

  // A phone and accessibility, light and dark, with a town on show; the town
  // page in its frame has a test of its own.
  for (const colorScheme of ['light', 'dark']) {
    for (const viewport of [{ width: 1280, height: 900 }, { width: 390, height: 844 }]) {
      const checkedContext = await browser.newContext({ viewport, colorScheme, bypassCSP: true });
      const checked = await open('#town=Axe.txt&population=30&min-age=16&max-age=60&seed=5', checkedContext);
      await townShown(checked);
      const where = `${viewport.width} pixels, ${colorScheme}`;
      same(`at ${where} the page is no wider than the window`,
        await checked.evaluate(() => document.documentElement.scrollWidth), viewport.width);
      same(`at ${where} no text is smaller than 12 pixels`, await smallTexts(checked), []);
      same(`axe-core finds nothing serious at ${where}`, await seriousFindings(checked, axePath), []);
      await checkedContext.close();
    }
  }
} catch (error) {
  check('the test ran to its end', false, error.stack);
} finally {
  await browser.close();
}

report(`towngen.html: every check passed (browser ${browserPath})`);
